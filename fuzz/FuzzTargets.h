#pragma once

#include <cstddef>
#include <cstdint>

// The bodies of the fuzz targets, shared by the libFuzzer executables and the regression
// test that replays the inputs the fuzzers once crashed on.
namespace corvale::db::fuzz {

void fuzzDbf(const uint8_t *data, size_t size);
void fuzzDbt(const uint8_t *data, size_t size);
void fuzzMdx(const uint8_t *data, size_t size);
void fuzzFilter(const uint8_t *data, size_t size);

} // namespace corvale::db::fuzz

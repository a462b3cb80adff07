#pragma once

#include <cstddef>
#include <cstdint>

// The body of the archive fuzz target, shared by the libFuzzer executable and
// the test that replays its corpus: the directory read and the extraction of
// a restore on arbitrary bytes.
namespace corvale::fuzz {

void fuzzArchive(const uint8_t *data, size_t size);

} // namespace corvale::fuzz

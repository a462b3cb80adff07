#pragma once

#include <cstddef>
#include <cstdint>

namespace corvale::fuzz {

// The answers of a telematic register come from the shop's network: the
// HTTP frame and the XML inside it must be read, or refused, whatever they
// hold. The first byte chooses how the rest is fed.
void fuzzRtAnswer(const uint8_t *data, size_t size);

} // namespace corvale::fuzz

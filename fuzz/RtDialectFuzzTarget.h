#pragma once

#include <cstddef>
#include <cstdint>

namespace corvale::fuzz {

// The answers of the Custom and RCH telematic registers: the Custom XML, the
// RCH frames as they come off the socket, and the data inside them. The first
// byte chooses which.
void fuzzRtDialect(const uint8_t *data, size_t size);

} // namespace corvale::fuzz

#pragma once

#include <cstddef>
#include <cstdint>

namespace corvale::fuzz {

// The answers of the Custom and RCH telematic registers: the Custom XML, the
// RCH frames as they come off the socket or the serial line (read alone, and
// through the exchange of a request, in pieces), the data inside them and the
// service.cgi answer. The first byte chooses which.
void fuzzRtDialect(const uint8_t *data, size_t size);

} // namespace corvale::fuzz

#pragma once

#include <cstdint>

namespace corvale::db {

// Every multi-byte integer of the DBF, DBT and MDX files is little-endian;
// these read and write them byte by byte, whatever the machine's own order
// and alignment.
inline uint32_t readU32(const char *p) {
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return uint32_t(u[0]) | (uint32_t(u[1]) << 8) | (uint32_t(u[2]) << 16) | (uint32_t(u[3]) << 24);
}

inline uint16_t readU16(const char *p) {
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return uint16_t(u[0] | (u[1] << 8));
}

inline void putU32(char *p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline void putU16(char *p, uint16_t v) {
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>(v >> 8);
}

} // namespace corvale::db

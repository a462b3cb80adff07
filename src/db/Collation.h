#pragma once

#include <cstdint>

namespace corvale::db {

// Order of text keys for a table's language driver.
//
// Binary drivers (0x57 and every driver we do not know) order by the Windows-1252 bytes.
// The dictionary driver 0x58 orders case-insensitively with accents folded (à = A),
// ties broken by the bytes so that the order is total and "Rossi" and "ROSSI" stay
// distinct keys. Text is compared as if padded with blanks to the longer length, which
// is what fixed-width dBASE columns mean.
class Collation {
public:
    explicit Collation(uint8_t languageDriver = 0x57);

    bool isDictionary() const { return m_dictionary; }

    // Bytes of the memcmp-comparable key of a text of `length` bytes.
    int sortKeyLength(int length) const { return m_dictionary ? 2 * length : length; }
    // Writes sortKeyLength(length) bytes.
    void sortKey(const char *text, int length, char *key) const;

    // <0, 0, >0 comparing two texts padded with blanks.
    int compare(const char *a, int aLength, const char *b, int bLength) const;

    static unsigned char fold(unsigned char byte);

private:
    bool m_dictionary = false;
};

} // namespace corvale::db

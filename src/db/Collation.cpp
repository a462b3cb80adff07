#include "db/Collation.h"

#include "db/DbfFormat.h"
#include "platform/Cp1252.h"

#include <array>
#include <cstring>

namespace corvale::db {

namespace {

std::array<unsigned char, 256> buildFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        table[b] = static_cast<unsigned char>(b);
        QChar ch = Cp1252::decodeByte(static_cast<unsigned char>(b));
        const QString decomposed = ch.decomposition();
        if (!decomposed.isEmpty())
            ch = decomposed.at(0);
        const int upper = Cp1252::encodeChar(ch.toUpper().unicode());
        if (upper >= 0)
            table[b] = static_cast<unsigned char>(upper);
    }
    return table;
}

const std::array<unsigned char, 256> &foldTable() {
    static const std::array<unsigned char, 256> table = buildFoldTable();
    return table;
}

int comparePadded(const unsigned char *a, int aLength, const unsigned char *b, int bLength,
                  const std::array<unsigned char, 256> *map) {
    const int n = aLength > bLength ? aLength : bLength;
    for (int i = 0; i < n; ++i) {
        unsigned char x = i < aLength ? a[i] : ' ';
        unsigned char y = i < bLength ? b[i] : ' ';
        if (map) {
            x = (*map)[x];
            y = (*map)[y];
        }
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

} // namespace

Collation::Collation(uint8_t languageDriver)
    : m_dictionary(languageDriver == dbf::driverDictionary) {}

unsigned char Collation::fold(unsigned char byte) {
    return foldTable()[byte];
}

void Collation::sortKey(const char *text, int length, char *key) const {
    if (!m_dictionary) {
        std::memcpy(key, text, static_cast<size_t>(length));
        return;
    }
    const auto &table = foldTable();
    for (int i = 0; i < length; ++i)
        key[i] = static_cast<char>(table[static_cast<unsigned char>(text[i])]);
    std::memcpy(key + length, text, static_cast<size_t>(length));
}

int Collation::compare(const char *a, int aLength, const char *b, int bLength) const {
    const auto *ua = reinterpret_cast<const unsigned char *>(a);
    const auto *ub = reinterpret_cast<const unsigned char *>(b);
    if (m_dictionary) {
        const int primary = comparePadded(ua, aLength, ub, bLength, &foldTable());
        if (primary != 0)
            return primary;
    }
    return comparePadded(ua, aLength, ub, bLength, nullptr);
}

} // namespace corvale::db

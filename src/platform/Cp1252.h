#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace corvale {

// Windows-1252, the code page of every text the program stores or prints.
// Decoding is total: the five bytes that code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as Windows does,
// so any byte string round-trips.
class Cp1252 {
public:
    static QString decode(QByteArrayView bytes);
    static QChar decodeByte(unsigned char byte);

    // Characters the code page cannot hold become '?'; *lossy tells whether
    // that happened.
    static QByteArray encode(QStringView text, bool *lossy = nullptr);
    // -1 when the character has no Windows-1252 byte.
    static int encodeChar(char16_t ch);

    static constexpr unsigned char euroByte = 0x80;
};

} // namespace corvale

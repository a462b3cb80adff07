#include "platform/Cp1252.h"

#include <array>

namespace corvale {

namespace {

// Unicode code points of bytes 0x80..0x9F; the rest of the page is Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QChar Cp1252::decodeByte(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHigh[byte - 0x80]);
    return QChar(char16_t(byte));
}

QString Cp1252::decode(QByteArrayView bytes) {
    QString out;
    out.resize(bytes.size());
    QChar *dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = decodeByte(static_cast<unsigned char>(bytes[i]));
    return out;
}

int Cp1252::encodeChar(char16_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < int(kHigh.size()); ++i) {
        if (kHigh[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

QByteArray Cp1252::encode(QStringView text, bool *lossy) {
    QByteArray out;
    out.reserve(text.size());
    bool lost = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        int b = encodeChar(ch);
        if (b < 0) {
            lost = true;
            b = '?';
            // A surrogate pair is one character: one '?' for both halves.
            if (QChar::isHighSurrogate(ch) && i + 1 < text.size() &&
                QChar::isLowSurrogate(text[i + 1].unicode()))
                ++i;
        }
        out.append(char(b));
    }
    if (lossy)
        *lossy = lost;
    return out;
}

} // namespace corvale

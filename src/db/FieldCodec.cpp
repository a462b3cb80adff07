#include "db/FieldCodec.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace corvale::db {

bool FieldCodec::isBlank(const char *data, int length) {
    for (int i = 0; i < length; ++i)
        if (data[i] != ' ' && data[i] != '\0')
            return false;
    return true;
}

bool FieldCodec::parseNumber(const char *data, int length, double *value, bool *blank) {
    int i = 0;
    while (i < length && (data[i] == ' ' || data[i] == '\0'))
        ++i;
    int end = length;
    while (end > i && (data[end - 1] == ' ' || data[end - 1] == '\0'))
        --end;
    if (blank)
        *blank = (i == end);
    if (i == end) {
        *value = 0.0;
        return true;
    }
    const int start = i;
    bool negative = false;
    if (data[i] == '-' || data[i] == '+') {
        negative = data[i] == '-';
        ++i;
    }
    uint64_t mantissa = 0;
    int digits = 0;
    int scale = 0;
    bool point = false;
    bool any = false;
    int j = i;
    for (; j < end; ++j) {
        const char c = data[j];
        if (c >= '0' && c <= '9') {
            any = true;
            if (digits < 18) {
                mantissa = mantissa * 10 + uint64_t(c - '0');
                if (mantissa != 0)
                    ++digits;
                if (point)
                    ++scale;
            } else if (!point) {
                break; // too many digits for the fast path
            }
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (j == end) {
        if (!any)
            return false;
        static const double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                        1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
        double v = double(mantissa);
        if (scale > 0)
            v /= powers[scale < 19 ? scale : 19];
        *value = negative ? -v : v;
        return true;
    }
    // Exponents, very long numbers: the slow and careful way.
    std::string text(data + start, data + end);
    for (char &c : text)
        if (c == ',')
            c = '.';
    for (char c : text)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return false;
    char *stop = nullptr;
    const double v = std::strtod(text.c_str(), &stop);
    if (stop == text.c_str() || *stop != '\0' || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

namespace {

// The value as a person reads it (15 significant digits, what a double holds faithfully)
// rounded to `decimals` places with halves away from zero, as money is rounded: 2.675 and
// 0.125 stored with two decimals give 2.68 and 0.13, not the binary value's 2.67 and 0.12.
// Writes "-ddd.ddd" to `out` (at most 50 bytes) and returns its end.
char *roundedFixed(double value, int decimals, char *out) {
    char sci[32];
    const auto [sciEnd, error] =
        std::to_chars(sci, sci + sizeof sci, std::fabs(value), std::chars_format::scientific, 14);
    (void)error; // 15 digits of a finite double always fit
    // sci: d.dddddddddddddde[+-]xx
    char digits[20];
    int count = 0;
    digits[count++] = sci[0];
    const char *p = sci + 2;
    while (p < sciEnd && *p != 'e')
        digits[count++] = *p++;
    // to_chars writes no terminator: read the exponent within the text it wrote.
    int exponent = 0;
    if (p < sciEnd) {
        const char *e = p + 1;
        if (e < sciEnd && *e == '+')
            ++e;
        std::from_chars(e, sciEnd, exponent);
    }
    if (digits[0] == '0')
        exponent = 0; // zero
    // Digits before the point: exponent + 1; kept: those and `decimals` more.
    const int keep = exponent + 1 + decimals;
    const bool roundUp = keep >= 0 && keep < count && digits[keep] >= '5';
    const int kept = std::clamp(keep, 0, count);
    // Kept digits, rounded; a carry out of the first digit adds one in front.
    char rounded[24];
    int n = kept;
    std::memcpy(rounded + 1, digits, size_t(kept));
    rounded[0] = '0';
    if (roundUp) {
        int i = kept;
        while (i >= 1 && rounded[i] == '9')
            rounded[i--] = '0';
        if (i >= 1)
            ++rounded[i];
        else
            rounded[0] = '1';
    }
    int first = 1;
    int integerDigits = exponent + 1;
    if (rounded[0] == '1') {
        first = 0;
        ++n;
        ++integerDigits;
    }
    // Digit k of the number (0 = the first integer digit); beyond the kept ones, zeros.
    auto digitAt = [&](int k) { return k >= 0 && k < n ? rounded[first + k] : '0'; };
    char *o = out;
    bool nonZero = false;
    for (int k = 0; k < n; ++k)
        nonZero = nonZero || rounded[first + k] != '0';
    if (value < 0 && nonZero)
        *o++ = '-';
    if (integerDigits <= 0) {
        *o++ = '0';
    } else {
        for (int k = 0; k < integerDigits; ++k)
            *o++ = digitAt(k);
    }
    if (decimals > 0) {
        *o++ = '.';
        for (int k = 0; k < decimals; ++k)
            *o++ = digitAt(integerDigits + k);
    }
    return o;
}

} // namespace

bool FieldCodec::writeNumber(double value, int length, int decimals, char *cell) {
    if (!std::isfinite(value) || length <= 0 || length > 64)
        return false;
    char text[80];
    char *end = text;
    if (std::fabs(value) < 1e15 && decimals >= 0 && decimals <= 30) {
        end = roundedFixed(value, decimals, text);
    } else {
        const auto [last, error] =
            std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
        if (error != std::errc())
            return false;
        end = last;
    }
    const char *begin = text;
    if (*begin == '-') {
        // "-0.00" is a zero: store it without the sign.
        bool zero = true;
        for (const char *p = begin + 1; p < end; ++p)
            if (*p != '0' && *p != '.')
                zero = false;
        if (zero)
            ++begin;
    }
    const int n = int(end - begin);
    if (n > length)
        return false;
    std::memset(cell, ' ', size_t(length - n));
    std::memcpy(cell + (length - n), begin, size_t(n));
    return true;
}

bool FieldCodec::writeInteger(qint64 value, int length, int decimals, char *cell) {
    char text[48];
    int n = 0;
    uint64_t magnitude = value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value);
    char digits[24];
    int d = 0;
    do {
        digits[d++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (value < 0)
        text[n++] = '-';
    while (d > 0)
        text[n++] = digits[--d];
    if (decimals > 0) {
        if (decimals > 20)
            return false;
        text[n++] = '.';
        for (int i = 0; i < decimals; ++i)
            text[n++] = '0';
    }
    if (n > length)
        return false;
    std::memset(cell, ' ', size_t(length - n));
    std::memcpy(cell + (length - n), text, size_t(n));
    return true;
}

QByteArray FieldCodec::formatNumber(double value, int length, int decimals) {
    QByteArray cell(length, ' ');
    if (!writeNumber(value, length, decimals, cell.data()))
        return {};
    return cell;
}

QByteArray FieldCodec::formatInteger(qint64 value, int length, int decimals) {
    QByteArray cell(length, ' ');
    if (!writeInteger(value, length, decimals, cell.data()))
        return {};
    return cell;
}

bool FieldCodec::parseBlock(const char *data, int length, uint32_t *block) {
    uint64_t value = 0;
    bool digits = false;
    for (int i = 0; i < length; ++i) {
        const char c = data[i];
        if (c >= '0' && c <= '9') {
            value = value * 10 + uint64_t(c - '0');
            digits = true;
            if (value > 0xFFFFFFFFull)
                return false;
        } else if (c == ' ' || c == '\0') {
            if (digits && i + 1 < length && data[i + 1] >= '0' && data[i + 1] <= '9')
                return false; // blanks inside the number
        } else {
            return false;
        }
    }
    *block = static_cast<uint32_t>(value);
    return true;
}

QDate FieldCodec::parseDate(const char *data, int length) {
    if (length < 8)
        return {};
    int parts[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    int pos = 0;
    for (int p = 0; p < 3; ++p) {
        for (int k = 0; k < widths[p]; ++k, ++pos) {
            const char c = data[pos];
            if (c < '0' || c > '9')
                return {};
            parts[p] = parts[p] * 10 + (c - '0');
        }
    }
    return QDate(parts[0], parts[1], parts[2]);
}

qint32 FieldCodec::decodeLong(const char *data) {
    const auto *u = reinterpret_cast<const unsigned char *>(data);
    const uint32_t raw =
        (uint32_t(u[0]) << 24) | (uint32_t(u[1]) << 16) | (uint32_t(u[2]) << 8) | uint32_t(u[3]);
    return static_cast<qint32>(raw ^ 0x80000000u);
}

void FieldCodec::encodeLong(qint32 value, char *data) {
    const uint32_t raw = static_cast<uint32_t>(value) ^ 0x80000000u;
    for (int i = 0; i < 4; ++i)
        data[i] = static_cast<char>((raw >> (24 - 8 * i)) & 0xFF);
}

double FieldCodec::decodeDouble(const char *data) {
    uint64_t raw = 0;
    for (int i = 0; i < 8; ++i)
        raw = (raw << 8) | uint64_t(static_cast<unsigned char>(data[i]));
    if (raw & 0x8000000000000000ull)
        raw &= ~0x8000000000000000ull;
    else
        raw = ~raw;
    double value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

void FieldCodec::encodeDouble(double value, char *data) {
    orderedDouble(value, data);
}

void FieldCodec::orderedDouble(double value, char *key) {
    if (value == 0.0)
        value = 0.0; // folds -0 into +0
    uint64_t raw;
    std::memcpy(&raw, &value, sizeof raw);
    if (raw & 0x8000000000000000ull)
        raw = ~raw;
    else
        raw |= 0x8000000000000000ull;
    for (int i = 0; i < 8; ++i)
        key[i] = static_cast<char>((raw >> (56 - 8 * i)) & 0xFF);
}

double FieldCodec::fromOrderedDouble(const char *key) {
    return decodeDouble(key);
}

void FieldCodec::packDecimal(double value, char *key) {
    std::memset(key, 0, packedLength);
    if (!std::isfinite(value) || value == 0.0) {
        key[0] = 52;
        key[1] = 0x01;
        return;
    }
    const bool negative = value < 0;
    char digits[24];
    int count = 0;
    int exponent = 0;
    const double magnitude = std::fabs(value);
    if (magnitude < 1e15 && magnitude == std::floor(magnitude)) {
        // Whole numbers (record numbers, quantities): exact digits without printf.
        char reversed[24];
        int n = 0;
        for (uint64_t v = uint64_t(magnitude); v > 0; v /= 10)
            reversed[n++] = char('0' + v % 10);
        for (int i = n - 1; i >= 0; --i)
            digits[count++] = reversed[i];
        exponent = n - 1;
    } else {
        // The binary double's digits as other engines write them: 17 significant digits,
        // of which 16 are kept, rounded below 10 and cut off from 10 up (1998.12 as
        // 1998.119999999999, 9.06 as 9.060000000000001, 0.05 as 0.05). They build their
        // search keys the same way and compare those digits byte for byte, so a key
        // holding the decimal value instead would be missed by their seeks, and their
        // updates would take out another record's entry in place of the one they could
        // not find.
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.16e", magnitude);
        // buffer: d.dddddddddddddddde[+-]xx
        char all[17];
        int n = 0;
        all[n++] = buffer[0];
        const char *p = buffer + 2;
        while (*p && *p != 'e' && n < 17)
            all[n++] = *p++;
        while (*p && *p != 'e')
            ++p;
        exponent = std::atoi(p + 1);
        count = std::min(n, 16);
        std::memcpy(digits, all, size_t(count));
        if (exponent < 1 && n == 17 && all[16] >= '5') {
            int at = count - 1;
            while (at >= 0 && digits[at] == '9')
                digits[at--] = '0';
            if (at >= 0) {
                ++digits[at];
            } else {
                digits[0] = '1'; // 9.9999999999999999 became 10
                std::fill(digits + 1, digits + count, '0');
                ++exponent;
            }
        }
    }
    while (count > 1 && digits[count - 1] == '0')
        --count;
    count = std::min(count, 20);
    key[0] = static_cast<char>(52 + exponent + 1);
    key[1] = static_cast<char>((negative ? 0x80 : 0) | ((count & 0x1F) << 2) | 0x01);
    for (int i = 0; i < count; ++i) {
        const int nibble = digits[i] - '0';
        if (i % 2 == 0)
            key[2 + i / 2] = static_cast<char>(nibble << 4);
        else
            key[2 + i / 2] = static_cast<char>(key[2 + i / 2] | nibble);
    }
}

double FieldCodec::unpackDecimal(const char *key) {
    return unpackDecimal(key, -1);
}

double FieldCodec::unpackDecimal(const char *key, int decimals) {
    const auto *u = reinterpret_cast<const unsigned char *>(key);
    int exponent = int(u[0]) - 52; // digits before the point
    const int count = std::min((u[1] >> 2) & 0x1F, 20);
    const bool negative = (u[1] & 0x80) != 0;
    // One leading slot for a carry out of the first digit.
    int digits[21] = {};
    for (int i = 0; i < count; ++i) {
        const int nibble = (i % 2 == 0) ? (u[2 + i / 2] >> 4) : (u[2 + i / 2] & 0x0F);
        digits[i + 1] = nibble > 9 ? 9 : nibble;
    }
    int first = 1;
    int used = count;
    if (decimals >= 0 && used - exponent > decimals) {
        const int keep = exponent + decimals; // digits left after rounding
        if (keep < 0)
            return 0.0;
        const bool up = digits[first + keep] >= 5;
        used = keep;
        if (up) {
            int at = first + keep - 1;
            while (at >= first && digits[at] == 9)
                digits[at--] = 0;
            if (at >= first) {
                ++digits[at];
            } else {
                digits[--first] = 1; // 9.99 became 10.0
                ++used;
                ++exponent;
            }
        }
        if (used == 0)
            return 0.0;
    }
    const int power = exponent - used;
    if (used > 15) {
        // More digits than a double holds exactly (another engine's binary value): let
        // the library round them once.
        char text[40];
        int n = 0;
        for (int i = 0; i < used; ++i)
            text[n++] = char('0' + digits[first + i]);
        n += std::snprintf(text + n, sizeof text - size_t(n), "e%d", power);
        double value = 0.0;
        std::from_chars(text, text + n, value);
        return negative ? -value : value;
    }
    double mantissa = 0.0;
    for (int i = 0; i < used; ++i)
        mantissa = mantissa * 10 + digits[first + i];
    // Exact powers of ten and one rounding, as parseNumber does, so that a key read
    // from an index equals the key computed from the record's text.
    static const double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    auto ten = [](int n) { return n <= 22 ? powers[n] : std::pow(10.0, n); };
    const double value = power >= 0 ? mantissa * ten(power) : mantissa / ten(-power);
    return negative ? -value : value;
}

} // namespace corvale::db

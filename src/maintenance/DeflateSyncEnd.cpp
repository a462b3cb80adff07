#include "maintenance/DeflateSyncEnd.h"

#include <QtEndian>

#include <array>
#include <cstring>

namespace corvale {

namespace {

constexpr int kMaxBits = 15;
constexpr int kFastBits = 12;
constexpr int kLiteralCodes = 288;
constexpr int kDistanceCodes = 32;
constexpr std::array<quint8, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<quint8, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                   4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                   9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr std::array<quint8, 19> kCodeLengthOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                     11, 4,  12, 3, 13, 2, 14, 1, 15};

// Reads bits least significant first; reading past the end yields zeros and
// is caught by comparing the position with the stream's length.
class BitReader {
public:
    BitReader(const uchar *data, qint64 size)
        : m_data(data)
        , m_size(size) {}

    quint64 peek() const {
        const qint64 byte = m_pos >> 3;
        quint64 value = 0;
        if (byte + 8 <= m_size) {
            value = qFromLittleEndian<quint64>(m_data + byte);
        } else {
            for (qint64 i = 0; i < 8 && byte + i < m_size; ++i)
                value |= quint64(m_data[byte + i]) << (8 * i);
        }
        return value >> (m_pos & 7);
    }
    quint32 take(int count) {
        const quint32 value = quint32(peek() & ((quint64(1) << count) - 1));
        m_pos += count;
        return value;
    }
    void skip(qint64 count) { m_pos += count; }
    void alignToByte() { m_pos = (m_pos + 7) & ~qint64(7); }
    qint64 position() const { return m_pos; }
    bool overrun() const { return m_pos > m_size * 8; }
    // True while peek() holds at least 57 bits of the stream itself.
    bool roomyAhead() const { return (m_pos >> 3) + 8 <= m_size; }

private:
    const uchar *m_data;
    qint64 m_size;
    qint64 m_pos = 0;
};

// A canonical Huffman code: codes up to kFastBits long are looked up in one
// step, longer ones are decoded a bit at a time.
class Huffman {
public:
    bool build(const quint8 *lengths, int n) {
        m_count.fill(0);
        for (int i = 0; i < n; ++i)
            ++m_count[lengths[i]];
        m_count[0] = 0;
        int left = 1;
        for (int len = 1; len <= kMaxBits; ++len) {
            left = (left << 1) - m_count[len];
            if (left < 0)
                return false; // over-subscribed: no encoder writes that
        }
        std::array<quint16, kMaxBits + 2> offset{};
        for (int len = 1; len <= kMaxBits; ++len)
            offset[len + 1] = quint16(offset[len] + m_count[len]);
        for (int s = 0; s < n; ++s)
            if (lengths[s])
                m_symbol[offset[lengths[s]]++] = quint16(s);

        m_fast.fill(0);
        std::array<quint32, kMaxBits + 1> next{};
        quint32 code = 0;
        for (int len = 1; len <= kMaxBits; ++len) {
            code = (code + m_count[len - 1]) << 1;
            next[len] = code;
        }
        for (int s = 0; s < n; ++s) {
            const int len = lengths[s];
            if (len == 0 || len > kFastBits)
                continue;
            const quint32 c = next[len]++;
            quint32 reversed = 0;
            for (int b = 0; b < len; ++b)
                reversed |= ((c >> b) & 1) << (len - 1 - b);
            for (quint32 i = reversed; i < (1u << kFastBits); i += 1u << len)
                m_fast[i] = quint16((s << 4) | len);
        }
        return true;
    }

    // The table entry for the code at the low end of bits: the symbol shifted
    // left by 4 and the code's length, or 0 for a code longer than the table.
    quint16 fastEntry(quint64 bits) const { return m_fast[bits & ((1u << kFastBits) - 1)]; }

    // The next symbol, or -1 for a code the tree does not have.
    int decode(BitReader &in) const {
        const quint64 bits = in.peek();
        const quint16 hit = m_fast[bits & ((1u << kFastBits) - 1)];
        if (hit) {
            in.skip(hit & 15);
            return hit >> 4;
        }
        int code = 0, first = 0, index = 0;
        for (int len = 1; len <= kMaxBits; ++len) {
            code |= int((bits >> (len - 1)) & 1);
            const int count = m_count[len];
            if (code - count < first) {
                in.skip(len);
                return m_symbol[index + (code - first)];
            }
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return -1;
    }

private:
    std::array<quint16, kMaxBits + 1> m_count{};
    std::array<quint16, kLiteralCodes> m_symbol{};
    std::array<quint16, 1u << kFastBits> m_fast{};
};

struct FixedCodes {
    Huffman literals;
    Huffman distances;
    FixedCodes() {
        std::array<quint8, kLiteralCodes> lengths{};
        for (int s = 0; s < kLiteralCodes; ++s)
            lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
        literals.build(lengths.data(), kLiteralCodes);
        std::array<quint8, kDistanceCodes> distance;
        distance.fill(5);
        distances.build(distance.data(), kDistanceCodes);
    }
};

bool readDynamicCodes(BitReader &in, Huffman &literals, Huffman &distances) {
    const int nLiterals = int(in.take(5)) + 257;
    const int nDistances = int(in.take(5)) + 1;
    const int nCodeLengths = int(in.take(4)) + 4;
    if (nLiterals > 286 || nDistances > 30)
        return false;
    std::array<quint8, 19> codeLengthLengths{};
    for (int i = 0; i < nCodeLengths; ++i)
        codeLengthLengths[kCodeLengthOrder[i]] = quint8(in.take(3));
    Huffman codeLengths;
    if (!codeLengths.build(codeLengthLengths.data(), 19))
        return false;
    std::array<quint8, kLiteralCodes + kDistanceCodes> lengths{};
    int i = 0;
    while (i < nLiterals + nDistances) {
        const int symbol = codeLengths.decode(in);
        if (symbol < 0 || in.overrun())
            return false;
        if (symbol < 16) {
            lengths[i++] = quint8(symbol);
            continue;
        }
        int repeat = 0;
        quint8 value = 0;
        if (symbol == 16) {
            if (i == 0)
                return false;
            value = lengths[i - 1];
            repeat = 3 + int(in.take(2));
        } else if (symbol == 17) {
            repeat = 3 + int(in.take(3));
        } else {
            repeat = 11 + int(in.take(7));
        }
        if (i + repeat > nLiterals + nDistances)
            return false;
        while (repeat--)
            lengths[i++] = value;
    }
    if (lengths[256] == 0)
        return false; // a block that cannot end
    return literals.build(lengths.data(), nLiterals) &&
           distances.build(lengths.data() + nLiterals, nDistances);
}

// The bulk of a block is passed over several codes to one read of the
// stream: a literal, or a length and its distance with their extra bits
// (at most 40 bits when both codes are in the tables), while 57 bits are sure.
void skipFast(BitReader &in, const Huffman &literals, const Huffman &distances) {
    constexpr int kSure = 57;
    constexpr int kLongest = 2 * kFastBits + 5 + 13;
    while (in.roomyAhead()) {
        const quint64 bits = in.peek();
        int used = 0;
        while (used + kLongest <= kSure) {
            const quint16 hit = literals.fastEntry(bits >> used);
            const int symbol = hit >> 4;
            if (hit == 0 || symbol == 256 || symbol > 285)
                break;
            if (symbol < 256) {
                used += hit & 15;
                continue;
            }
            const int afterLength = used + (hit & 15) + kLengthExtra[symbol - 257];
            const quint16 far = distances.fastEntry(bits >> afterLength);
            const int distance = far >> 4;
            if (far == 0 || distance > 29)
                break;
            used = afterLength + (far & 15) + kDistanceExtra[distance];
        }
        in.skip(used);
        if (used + kLongest <= kSure)
            return; // the end of the block or a long code is next
    }
}

bool skipCodes(BitReader &in, const Huffman &literals, const Huffman &distances) {
    for (;;) {
        skipFast(in, literals, distances);
        const int symbol = literals.decode(in);
        if (symbol < 256) {
            if (symbol < 0 || in.overrun())
                return false;
            continue;
        }
        if (symbol == 256)
            return !in.overrun();
        if (symbol > 285)
            return false;
        in.skip(kLengthExtra[symbol - 257]);
        const int distance = distances.decode(in);
        if (distance < 0 || distance > 29)
            return false;
        in.skip(kDistanceExtra[distance]);
        if (in.overrun())
            return false;
    }
}

} // namespace

DeflateSyncEnd::FinalBlock DeflateSyncEnd::find(const QByteArray &stream) {
    static const FixedCodes fixed;
    BitReader in(reinterpret_cast<const uchar *>(stream.constData()), stream.size());
    Huffman literals, distances;
    for (;;) {
        const qint64 header = in.position();
        const bool final = in.take(1) != 0;
        const quint32 type = in.take(2);
        if (type == 0) {
            in.alignToByte();
            const quint32 length = in.take(16);
            const quint32 complement = in.take(16);
            if (length != (~complement & 0xFFFF))
                return {};
            in.skip(qint64(length) * 8);
        } else if (type == 1) {
            if (!skipCodes(in, fixed.literals, fixed.distances))
                return {};
        } else if (type == 2) {
            if (!readDynamicCodes(in, literals, distances) || !skipCodes(in, literals, distances))
                return {};
        } else {
            return {};
        }
        if (in.overrun())
            return {};
        if (final)
            return {header, in.position()};
    }
}

bool DeflateSyncEnd::apply(QByteArray &stream) {
    const FinalBlock block = find(stream);
    if (block.headerBit < 0 || (block.endBit + 7) / 8 != stream.size())
        return false;
    char *bytes = stream.data();
    bytes[block.headerBit >> 3] = char(bytes[block.headerBit >> 3] & ~(1 << (block.headerBit & 7)));
    // Whatever padding follows the end-of-block code becomes zeros: the three
    // header bits of an empty stored block (not final, type 00) and then the
    // filler up to the byte where its lengths start.
    if (block.endBit & 7)
        bytes[stream.size() - 1] = char(bytes[stream.size() - 1] & ((1 << (block.endBit & 7)) - 1));
    const qint64 storedHeaderEnd = block.endBit + 3;
    while (stream.size() * 8 < storedHeaderEnd)
        stream.append('\0');
    stream.append("\x00\x00\xFF\xFF", 4);
    return true;
}

} // namespace corvale

#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>

namespace corvale {

// Compresses one piece of a raw deflate stream. Pieces compressed on their own
// and laid end to end form one valid stream: every piece but the last ends on
// a byte boundary inside a block that is not the final one, as a sync flush
// leaves it. One compressor serves one thread at a time.
class DeflateCompressor {
public:
    // libdeflate where the build has it (several times faster than zlib at the
    // same ratio); zlib stands in everywhere else.
    enum class Kind { Fastest, Zlib };

    struct Piece {
        QByteArray deflated;
        quint32 crc = 0; // CRC-32 of the piece's own bytes
    };

    virtual ~DeflateCompressor() = default;
    virtual Piece compress(const QByteArray &bytes, bool last) = 0;

    static std::unique_ptr<DeflateCompressor> make(Kind kind, int level);
    // The CRC-32 of a whole entry from those of its consecutive pieces.
    static quint32 combineCrc(quint32 first, quint32 second, qint64 secondLength);
};

} // namespace corvale

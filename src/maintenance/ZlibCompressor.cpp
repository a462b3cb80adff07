#include "maintenance/ZlibCompressor.h"

#include <new>
#include <stdexcept>

namespace corvale {

ZlibCompressor::ZlibCompressor(int level) {
    // Raw deflate (negative window bits): the ZIP entry carries no zlib header.
    if (deflateInit2(&m_stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::bad_alloc();
}

ZlibCompressor::~ZlibCompressor() {
    deflateEnd(&m_stream);
}

DeflateCompressor::Piece ZlibCompressor::compress(const QByteArray &bytes, bool last) {
    Piece piece;
    piece.crc =
        quint32(crc32(0, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(bytes.size())));
    deflateReset(&m_stream);
    // A sync flush adds an empty stored block (five bytes) to the bound.
    piece.deflated.resize(qsizetype(deflateBound(&m_stream, uLong(bytes.size()))) + 16);
    m_stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    m_stream.avail_in = uInt(bytes.size());
    m_stream.next_out = reinterpret_cast<Bytef *>(piece.deflated.data());
    m_stream.avail_out = uInt(piece.deflated.size());
    const int result = deflate(&m_stream, last ? Z_FINISH : Z_SYNC_FLUSH);
    if ((last && result != Z_STREAM_END) || (!last && result != Z_OK) || m_stream.avail_in != 0)
        throw std::runtime_error("deflate"); // zlib's own bound is always enough
    piece.deflated.resize(qsizetype(m_stream.total_out));
    return piece;
}

} // namespace corvale

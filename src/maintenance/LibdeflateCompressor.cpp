#include "maintenance/LibdeflateCompressor.h"

#include "maintenance/DeflateSyncEnd.h"
#include "maintenance/ZlibCompressor.h"

#include <libdeflate.h>

#include <new>
#include <stdexcept>

namespace corvale {

LibdeflateCompressor::LibdeflateCompressor(int level)
    : m_level(level)
    , m_compressor(libdeflate_alloc_compressor(level)) {
    if (!m_compressor)
        throw std::bad_alloc();
}

LibdeflateCompressor::~LibdeflateCompressor() {
    libdeflate_free_compressor(m_compressor);
}

DeflateCompressor::Piece LibdeflateCompressor::compress(const QByteArray &bytes, bool last) {
    Piece piece;
    piece.crc = libdeflate_crc32(0, bytes.constData(), size_t(bytes.size()));
    // Room for the empty stored block that reopens the end.
    const size_t bound = libdeflate_deflate_compress_bound(m_compressor, size_t(bytes.size())) + 8;
    piece.deflated.resize(qsizetype(bound));
    const size_t written = libdeflate_deflate_compress(
        m_compressor, bytes.constData(), size_t(bytes.size()), piece.deflated.data(), bound);
    if (written == 0)
        throw std::runtime_error("libdeflate"); // the bound is a guarantee
    piece.deflated.resize(qsizetype(written));
    if (last || DeflateSyncEnd::apply(piece.deflated))
        return piece;
    if (!m_fallback)
        m_fallback = std::make_unique<ZlibCompressor>(m_level);
    return m_fallback->compress(bytes, last);
}

} // namespace corvale

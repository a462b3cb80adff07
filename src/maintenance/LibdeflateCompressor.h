#pragma once

#include "maintenance/DeflateCompressor.h"

#include <memory>

struct libdeflate_compressor;

namespace corvale {

class ZlibCompressor;

// libdeflate compresses a whole buffer into a finished stream; a piece that
// is not the last has its end reopened (DeflateSyncEnd). Should that ever
// fail, zlib compresses the piece instead: the archive is never at stake.
class LibdeflateCompressor : public DeflateCompressor {
public:
    explicit LibdeflateCompressor(int level);
    ~LibdeflateCompressor() override;
    LibdeflateCompressor(const LibdeflateCompressor &) = delete;
    LibdeflateCompressor &operator=(const LibdeflateCompressor &) = delete;

    Piece compress(const QByteArray &bytes, bool last) override;

private:
    int m_level;
    libdeflate_compressor *m_compressor;
    std::unique_ptr<ZlibCompressor> m_fallback;
};

} // namespace corvale

#pragma once

#include "maintenance/DeflateCompressor.h"

#include <zlib.h>

namespace corvale {

// The stand-in compressor: zlib, a sync flush ending every piece but the last.
class ZlibCompressor : public DeflateCompressor {
public:
    explicit ZlibCompressor(int level);
    ~ZlibCompressor() override;
    ZlibCompressor(const ZlibCompressor &) = delete;
    ZlibCompressor &operator=(const ZlibCompressor &) = delete;

    Piece compress(const QByteArray &bytes, bool last) override;

private:
    z_stream m_stream{};
};

} // namespace corvale

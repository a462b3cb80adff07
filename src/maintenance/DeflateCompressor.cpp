#include "maintenance/DeflateCompressor.h"

#include "maintenance/ZlibCompressor.h"
#ifdef CORVALE_HAVE_LIBDEFLATE
#include "maintenance/LibdeflateCompressor.h"
#endif

#include <zlib.h>

namespace corvale {

std::unique_ptr<DeflateCompressor> DeflateCompressor::make(Kind kind, int level) {
#ifdef CORVALE_HAVE_LIBDEFLATE
    if (kind == Kind::Fastest)
        return std::make_unique<LibdeflateCompressor>(level);
#else
    Q_UNUSED(kind);
#endif
    return std::make_unique<ZlibCompressor>(level);
}

quint32 DeflateCompressor::combineCrc(quint32 first, quint32 second, qint64 secondLength) {
    return quint32(crc32_combine(uLong(first), uLong(second), z_off_t(secondLength)));
}

} // namespace corvale

#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace corvale {

// JPEG article photos through libjpeg-turbo. Decoding can scale in the DCT
// (1/2, 1/4, 1/8), which makes thumbnails of large photos cheap.
class Jpeg {
public:
    // Decodes a JPEG held in memory. With a valid `target`, the picture is
    // decoded at the smallest DCT scale that still covers the target size
    // (the caller scales the rest). A null image and *error on failure.
    static QImage decode(const QByteArray &bytes, QSize target = {}, QString *error = nullptr);
    // Encodes at the given quality (1..100); empty on failure.
    static QByteArray encode(const QImage &image, int quality = 85, QString *error = nullptr);
    // True when the bytes start like a JPEG stream (SOI marker).
    static bool looksLikeJpeg(const QByteArray &bytes);
};

} // namespace corvale

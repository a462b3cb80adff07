#include "platform/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace corvale {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info) {
    auto *err = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr, int) {} // warnings of damaged streams are not errors here

void setError(QString *error, const char *text) {
    if (error)
        *error = QStringLiteral("JPEG non valido: %1").arg(QString::fromLocal8Bit(text));
}

} // namespace

bool Jpeg::looksLikeJpeg(const QByteArray &bytes) {
    return bytes.size() >= 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 &&
           uchar(bytes[2]) == 0xFF;
}

QImage Jpeg::decode(const QByteArray &bytes, QSize target, QString *error) {
    if (!looksLikeJpeg(bytes)) {
        setError(error, "il file non è una foto JPEG");
        return {};
    }
    jpeg_decompress_struct info{};
    ErrorManager err{};
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    // Everything that must survive a longjmp lives outside this frame's
    // registers: the image is volatile-free because it is only assigned
    // after the last libjpeg call that may fail.
    QImage *result = new QImage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        delete result;
        setError(error, err.message);
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    if (target.isValid() && target.width() > 0 && target.height() > 0) {
        unsigned denom = 8;
        while (denom > 1 && (info.image_width / denom < unsigned(target.width()) ||
                             info.image_height / denom < unsigned(target.height())))
            denom /= 2;
        info.scale_num = 1;
        info.scale_denom = denom;
    }
    jpeg_start_decompress(&info);
    *result = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = result->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    QImage out = std::move(*result);
    delete result;
    return out;
}

QByteArray Jpeg::encode(const QImage &image, int quality, QString *error) {
    if (image.isNull()) {
        setError(error, "immagine vuota");
        return {};
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    ErrorManager err{};
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        setError(error, err.message);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uchar *>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray out(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}

} // namespace corvale

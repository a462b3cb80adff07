#include "catalogue/TFFoto.h"

#include "platform/Jpeg.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace corvale {

TFFoto::TFFoto(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TFFoto"));
    setWindowTitle(QStringLiteral("Foto"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("FOTO"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFixedSize(photoWidth, photoHeight);
    layout->addWidget(m_picture);
    adjustSize();
}

void TFFoto::showPhoto(const QByteArray &bytes) {
    const QImage image =
        bytes.isEmpty() ? QImage() : Jpeg::decode(bytes, QSize(photoWidth, photoHeight));
    if (image.isNull()) {
        m_picture->clear();
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(
        image.scaled(m_picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

bool TFFoto::hasPicture() const {
    return !m_picture->pixmap().isNull();
}

} // namespace corvale

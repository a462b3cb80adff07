#include "widgets/CaptionBox.h"

#include <QPainter>

namespace corvale {

CaptionBox::CaptionBox(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent) {
    if (!caption.isEmpty())
        setObjectName(caption);
}

void CaptionBox::setBackground(const QString &path) {
    setBackground(QImage(path));
}

void CaptionBox::setBackground(const QImage &picture) {
    m_background = picture;
    update();
}

void CaptionBox::paintEvent(QPaintEvent *event) {
    if (!m_background.isNull()) {
        QPainter p(this);
        p.drawTiledPixmap(rect(), QPixmap::fromImage(m_background));
    }
    QGroupBox::paintEvent(event);
}

} // namespace corvale

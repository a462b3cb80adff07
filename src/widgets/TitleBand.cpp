#include "widgets/TitleBand.h"

#include <QPainter>

namespace corvale {

TitleBand::TitleBand(const QString &heading, QWidget *parent)
    : QWidget(parent)
    , m_heading(heading) {
    setObjectName(QStringLiteral("TitleBand"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumHeight(28);
}

void TitleBand::setHeading(const QString &heading) {
    m_heading = heading;
    update();
}

void TitleBand::setPicture(const QString &path) {
    setPicture(QImage(path));
}

void TitleBand::setPicture(const QImage &picture) {
    m_picture = picture;
    update();
}

void TitleBand::setHeadingPixelSize(int pixels) {
    m_pixelSize = pixels;
    update();
}

QSize TitleBand::sizeHint() const {
    return {400, std::max(28, m_pixelSize + 7)};
}

void TitleBand::paintEvent(QPaintEvent *) {
    QPainter p(this);
    if (m_picture.isNull())
        p.fillRect(rect(), palette().window());
    else
        p.drawImage(rect(), m_picture);
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(m_pixelSize);
    p.setFont(f);
    p.setPen(Qt::red);
    p.drawText(rect(), Qt::AlignCenter, m_heading);
}

} // namespace corvale

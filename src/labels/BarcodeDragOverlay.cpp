#include "labels/BarcodeDragOverlay.h"

#include <QPainter>

namespace corvale {

BarcodeDragOverlay::BarcodeDragOverlay(QWidget *parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(parent->rect());
    raise();
    show();
}

void BarcodeDragOverlay::setFrame(const QRect &frame) {
    if (frame == frame_)
        return;
    frame_ = frame;
    update();
}

void BarcodeDragOverlay::paintEvent(QPaintEvent *) {
    if (frame_.isEmpty())
        return;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::WindowText));
    pen.setWidth(2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame_.adjusted(1, 1, -1, -1));
}

} // namespace corvale

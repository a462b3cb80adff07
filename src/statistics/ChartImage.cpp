#include "statistics/ChartImage.h"

#include "printing/QPainterCanvas.h"

#include <QPainter>

namespace corvale {

QImage ChartImage::paint(int width, int height, const std::function<void(PageCanvas &)> &draw) {
    QImage image(width, height, QImage::Format_RGB32);
    constexpr int dotsPerMeter = 3780; // 96 dpi
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    draw(canvas);
    painter.end();
    return image;
}

} // namespace corvale

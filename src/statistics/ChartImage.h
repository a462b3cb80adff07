#pragma once

#include <QImage>

#include <functional>

namespace corvale {

class PageCanvas;

// An image of the given size at screen resolution (96 dpi, so that a font of
// 8 points is 11 pixels high), painted through a page canvas.
class ChartImage {
public:
    static QImage paint(int width, int height, const std::function<void(PageCanvas &)> &draw);
};

} // namespace corvale

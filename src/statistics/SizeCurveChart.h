#pragma once

#include "catalogue/SizeCurve.h"

#include <QImage>

namespace corvale {

class PageCanvas;

// The bar chart of a size curve, drawn in pixels on any page canvas like the
// sales charts: for each size a bar of the share sold beside one of the share
// received, on a scale of whole tens of percent.
class SizeCurveChart {
public:
    static constexpr int width = 600;
    static constexpr int height = 300;

    // The top of the scale in percent: the largest share rounded up to a
    // multiple of 10, at least 10.
    static int scaleTop(const SizeCurve &curve);

    static void draw(PageCanvas &canvas, int width, int height, const SizeCurve &curve,
                     const QString &period);
    static QImage render(const SizeCurve &curve, const QString &period);

    // The chart on the page at its full printable width, the table under it.
    static void print(PageCanvas &canvas, const QImage &chart, const QStringList &tableLines);
};

} // namespace corvale

#pragma once

#include "statistics/ChartPeriod.h"
#include "statistics/TakingsValues.h"

#include <QColor>
#include <QImage>
#include <QString>

namespace corvale {

class PageCanvas;

// The bar chart of the takings, drawn in pixels on any page canvas: the
// screen's image and, through that image, the printed page.
class TakingsChart {
public:
    // The chart area's height and the width it takes for `columns` columns.
    static constexpr int height = 490;
    static int width(int columns);

    // The bar colour of column `column` (1..31).
    static QColor barColour(int column);

    // Draws the whole chart on (0, 0) .. (width, height) of `canvas`.
    static void draw(PageCanvas &canvas, int width, int height, const Takings &takings,
                     const ChartPeriod &period, const QString &subtitle);

    // The chart as an image at screen resolution (96 dpi).
    static QImage render(const Takings &takings, const ChartPeriod &period,
                         const QString &subtitle);
};

} // namespace corvale

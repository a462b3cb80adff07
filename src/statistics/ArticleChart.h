#pragma once

#include "statistics/ArticleValues.h"
#include "statistics/ChartPeriod.h"

#include <QImage>

namespace corvale {

class PageCanvas;

// The line chart of the pieces of one article sold: a red dot on every
// column with sales, joined to the previous one, under a scale that starts
// at 10 and grows by the leading digit.
class ArticleChart {
public:
    // The chart area's height and the width it takes for `columns` columns.
    static constexpr int height = 470;
    static int width(int columns);

    // Draws the whole chart on (0, 0) .. (width, height) of `canvas`.
    static void draw(PageCanvas &canvas, int width, int height, const ArticleSales &sales,
                     const ChartPeriod &period);

    // The chart as an image at screen resolution (96 dpi).
    static QImage render(const ArticleSales &sales, const ChartPeriod &period);
};

} // namespace corvale

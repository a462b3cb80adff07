#include "statistics/ArticleChart.h"

#include "platform/Formats.h"
#include "printing/PageCanvas.h"
#include "statistics/ChartGrid.h"
#include "statistics/ChartImage.h"
#include "statistics/ChartScale.h"
#include "statistics/ChartTexts.h"

#include <QPoint>

#include <optional>

namespace corvale {

namespace {

const QColor grey(128, 128, 128);
const QColor red(255, 0, 0);

} // namespace

int ArticleChart::width(int columns) {
    return (434 / columns) * columns + 80;
}

void ArticleChart::draw(PageCanvas &canvas, int w, int h, const ArticleSales &sales,
                        const ChartPeriod &period) {
    const int k = period.columns();
    const qint64 top = ChartScale::articleTop(sales.maximum);
    const ChartGrid grid{40, 41, 40, 40};
    const int step =
        grid.draw(canvas, w, h, [&](int n) { return QString::number(top - n * (top / 10)); });

    const int c = (w - 80) / k;
    std::optional<QPoint> previous;
    for (int i = 1; i <= k; ++i) {
        const int x = 40 + i * c;
        canvas.setPen(grey, 1);
        canvas.moveTo(x, 40);
        canvas.lineTo(x, h - 35);
        const QString caption =
            period.mode == ChartMode::Yearly ? chartTexts::monthCaption(i) : QString::number(i);
        canvas.setBrushClear();
        canvas.textOutCentred(x, h - 33, caption);
    }
    // The dots and their line come over the grid, so that no grid line
    // crosses them.
    for (int i = 1; i <= k; ++i) {
        const qint64 value = i <= int(sales.values.size()) ? sales.values[size_t(i - 1)] : 0;
        if (value <= 0)
            continue;
        const int x = 40 + i * c;
        const int y = h - 40 - int(Formats::roundHalfEven(double(value) * 10 * step / double(top)));
        canvas.setPen(red, 1);
        canvas.setBrush(red);
        canvas.roundRect(x - 3, y - 3, x + 4, y + 4, 7, 7);
        if (previous) {
            canvas.moveTo(previous->x(), previous->y());
            canvas.lineTo(x, y);
        }
        previous = QPoint(x, y);
    }
}

QImage ArticleChart::render(const ArticleSales &sales, const ChartPeriod &period) {
    const int w = width(period.columns());
    return ChartImage::paint(w, height,
                             [&](PageCanvas &canvas) { draw(canvas, w, height, sales, period); });
}

} // namespace corvale

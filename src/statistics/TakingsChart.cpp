#include "statistics/TakingsChart.h"

#include "platform/Formats.h"
#include "printing/PageCanvas.h"
#include "printing/QPainterCanvas.h"
#include "statistics/ChartGrid.h"
#include "statistics/ChartImage.h"
#include "statistics/ChartScale.h"
#include "statistics/ChartTexts.h"

#include <array>

namespace corvale {

namespace {

const QColor grey(128, 128, 128);

} // namespace

int TakingsChart::width(int columns) {
    return (500 / columns) * columns + 100;
}

QColor TakingsChart::barColour(int column) {
    static const std::array<QColor, 12> colours = {
        QColor(0, 255, 255),   // aqua
        QColor(255, 0, 255),   // fuchsia
        QColor(0, 128, 0),     // green
        QColor(0, 255, 0),     // lime
        QColor(192, 192, 192), // silver
        QColor(128, 0, 0),     // maroon
        QColor(128, 128, 0),   // olive
        QColor(128, 0, 128),   // purple
        QColor(255, 0, 0),     // red
        QColor(192, 192, 192), // silver
        QColor(0, 128, 128),   // teal
        QColor(255, 255, 0),   // yellow
    };
    return colours[size_t(((column % 12) + 12) % 12)];
}

void TakingsChart::draw(PageCanvas &canvas, int w, int h, const Takings &takings,
                        const ChartPeriod &period, const QString &subtitle) {
    const int k = period.columns();
    // Ten grid lines under the top value; the bars are measured on the same
    // top, so that a bar meets the line that carries its value.
    const qint64 top = ChartScale::takingsTop(takings.maximum);
    const int step =
        ChartGrid().draw(canvas, w, h, [&](int n) { return ChartScale::takingsLabel(top, n); });

    const QString axis = QStringLiteral("Venduto (€)");
    canvas.textOutCentred(50, 10, axis);
    canvas.textOutRight(w - 20, 5, subtitle);
    const QString when =
        period.mode == ChartMode::Yearly
            ? QStringLiteral("ANNO %1").arg(period.year)
            : chartTexts::monthName(period.month) + u' ' + QString::number(period.year);
    canvas.textOutRight(w - 20, canvas.textHeight(when) + 5, when);

    const int c = (w - 100) / k;
    for (int i = 1; i <= k; ++i) {
        const int x = 50 + i * c;
        canvas.setPen(grey, 1);
        canvas.moveTo(x, 50);
        canvas.lineTo(x, h - 45);
        const QString caption =
            period.mode == ChartMode::Yearly ? chartTexts::monthCaption(i) : QString::number(i);
        canvas.setBrushClear();
        canvas.textOutCentred(x, h - 43, caption);
        const double value = i <= int(takings.values.size()) ? takings.values[size_t(i - 1)] : 0;
        if (value > 0 && top > 0) {
            const qint64 barHeight = Formats::roundHalfEven(value * 10 * step / double(top));
            canvas.setPen(Qt::black, 1);
            canvas.setBrush(barColour(i));
            canvas.rectangle(x - c / 2, h - 50 - int(barHeight), x + c / 2 + 1, h - 50);
        }
    }
}

QImage TakingsChart::render(const Takings &takings, const ChartPeriod &period,
                            const QString &subtitle) {
    const int w = width(period.columns());
    return ChartImage::paint(
        w, height, [&](PageCanvas &canvas) { draw(canvas, w, height, takings, period, subtitle); });
}

} // namespace corvale

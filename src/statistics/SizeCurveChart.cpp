#include "statistics/SizeCurveChart.h"

#include "printing/PageCanvas.h"
#include "statistics/ChartGrid.h"
#include "statistics/ChartImage.h"

namespace corvale {

namespace {

const QColor grey(128, 128, 128);
const QColor soldColour(0, 0, 128);         // navy
const QColor receivedColour(192, 192, 192); // silver

} // namespace

int SizeCurveChart::scaleTop(const SizeCurve &curve) {
    qint64 largest = 0;
    for (const auto &shares : {curve.soldShares(), curve.receivedShares()})
        for (qint64 s : shares)
            largest = std::max(largest, s);
    // Tenths of a percent up to whole tens of percent.
    const int top = int((largest + 99) / 100) * 10;
    return std::clamp(top, 10, 100);
}

void SizeCurveChart::draw(PageCanvas &canvas, int w, int h, const SizeCurve &curve,
                          const QString &period) {
    const int top = scaleTop(curve);
    const int step = ChartGrid().draw(
        canvas, w, h, [&](int n) { return QString::number(top - n * top / 10) + u'%'; });
    const QString title = QStringLiteral("CURVA TAGLIE - ") + curve.type.name;
    canvas.textOut(50, 10, title);
    canvas.textOutRight(w - 20, 5, period);

    // The legend under the period.
    int lx = w - 20 - canvas.textWidth(QStringLiteral("Venduti   Ricevuti")) - 30;
    const int ly = canvas.textHeight(period) + 8;
    for (const auto &[caption, colour] : {std::pair{QStringLiteral("Venduti"), soldColour},
                                          std::pair{QStringLiteral("Ricevuti"), receivedColour}}) {
        canvas.setPen(Qt::black, 1);
        canvas.setBrush(colour);
        canvas.rectangle(lx, ly + 2, lx + 10, ly + 10);
        canvas.setBrushClear();
        canvas.textOut(lx + 13, ly, caption);
        lx += 13 + canvas.textWidth(caption) + 12;
    }

    const QList<int> positions = curve.positions();
    if (positions.isEmpty())
        return;
    const SizeCurve::Counts sold = curve.soldShares();
    const SizeCurve::Counts received = curve.receivedShares();
    const int k = int(positions.size());
    const int c = (w - 100) / k;
    const int bar = std::max(c / 3, 2);
    for (int i = 0; i < k; ++i) {
        const int p = positions[i];
        const int x = 50 + i * c + c / 2;
        const QString caption =
            curve.type.isUsed(p) ? curve.type.label(p) : QStringLiteral("Tg %1").arg(p);
        canvas.setBrushClear();
        canvas.setPen(grey, 1);
        canvas.textOutCentred(x, h - 43, caption);
        auto drawBar = [&](qint64 tenths, int left, const QColor &colour) {
            if (tenths <= 0)
                return;
            // The share on the scale: top percent = 10 steps.
            const int barHeight = int((tenths * 10 * step + top * 5) / (top * 10));
            canvas.setPen(Qt::black, 1);
            canvas.setBrush(colour);
            canvas.rectangle(left, h - 50 - barHeight, left + bar, h - 50);
        };
        drawBar(sold[size_t(p - 1)], x - bar, soldColour);
        drawBar(received[size_t(p - 1)], x, receivedColour);
    }
}

QImage SizeCurveChart::render(const SizeCurve &curve, const QString &period) {
    return ChartImage::paint(
        width, height, [&](PageCanvas &canvas) { draw(canvas, width, height, curve, period); });
}

void SizeCurveChart::print(PageCanvas &canvas, const QImage &chart, const QStringList &tableLines) {
    if (chart.isNull())
        return;
    const int w = canvas.pageWidth();
    const int h = int(qint64(w) * chart.height() / chart.width());
    canvas.stretchDraw(QRect(0, 0, w, h), chart);
    CanvasFont font;
    font.name = QStringLiteral("Arial");
    font.size = 10;
    canvas.setFont(font);
    canvas.setBrushClear();
    const int lineHeight = canvas.textHeight(QStringLiteral("X")) * 3 / 2;
    int y = h + lineHeight;
    const int column = (w - 200) / 5;
    for (const QString &line : tableLines) {
        const QStringList cells = line.split(u'\t');
        for (int i = 0; i < cells.size() && i < 5; ++i)
            canvas.textOut(100 + i * column, y, cells[i]);
        y += lineHeight;
    }
}

} // namespace corvale

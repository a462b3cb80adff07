#include "statistics/TakingsPrintout.h"

#include "platform/Formats.h"
#include "printing/PageCanvas.h"

namespace corvale {

QString TakingsPrintout::totalLine(double total, int year) {
    return QStringLiteral("Totale Venduto € ") +
           Formats::trimLeading(Formats::format(u"%10.2n", total)) + QStringLiteral(" - Anno ") +
           QString::number(year);
}

void TakingsPrintout::print(PageCanvas &canvas, const QImage &chart, double total, int year) {
    if (chart.isNull())
        return;
    const int width = canvas.pageWidth();
    const int height = int(qint64(width) * chart.height() / chart.width());
    canvas.stretchDraw(QRect(0, 0, width, height), chart);
    CanvasFont font;
    font.name = QStringLiteral("Arial");
    font.size = 12;
    canvas.setFont(font);
    canvas.setBrushClear();
    canvas.textOut(100, height + canvas.textHeight(QStringLiteral("X")), totalLine(total, year));
}

} // namespace corvale

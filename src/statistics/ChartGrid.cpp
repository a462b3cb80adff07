#include "statistics/ChartGrid.h"

#include "printing/PageCanvas.h"

namespace corvale {

int ChartGrid::draw(PageCanvas &canvas, int w, int h,
                    const std::function<QString(int)> &label) const {
    CanvasFont font;
    font.name = QStringLiteral("Arial");
    font.size = 8;
    canvas.setFont(font);

    canvas.setBrush(Qt::white);
    canvas.setPen(Qt::black, 2);
    canvas.rectangle(0, 0, w, h);
    canvas.moveTo(left, axisTop);
    canvas.lineTo(left, h - left);
    canvas.lineTo(w - axisRight, h - left);

    const int step = (h - 2 * left) / 10;
    canvas.setBrushClear();
    canvas.setPen(QColor(128, 128, 128), 1);
    for (int n = 9; n >= 0; --n) {
        const int y = lineY(n, step);
        canvas.moveTo(left - 5, y);
        canvas.lineTo(w - gridRight, y);
        const QString text = label(n);
        canvas.textOutRight(left - 7, y - canvas.textHeight(text) / 2, text);
    }
    return step;
}

} // namespace corvale

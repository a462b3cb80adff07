#include "documents/DocumentPrintout.h"

#include "platform/Formats.h"
#include "printing/PageCanvas.h"
#include "printing/PrintService.h"
#include "shell/CommonRoutines.h"

#include <cmath>

namespace corvale::documentprint {

int useFont(PageCanvas &canvas, double points, bool bold) {
    CanvasFont font;
    font.name = QStringLiteral("Arial");
    font.size = points;
    font.bold = bold;
    canvas.setFont(font);
    return canvas.textHeight(QStringLiteral("X"));
}

void rightText(PageCanvas &canvas, int right, int y, const QString &text, int margin) {
    if (text.isEmpty())
        return;
    canvas.textOut(right - margin - canvas.textWidth(text), y, text);
}

void captionedBoxes(PageCanvas &canvas, int y, int h, const QList<Span> &spans,
                    const QStringList &captions) {
    canvas.setBrushClear();
    canvas.setPen(Qt::black, 1);
    for (const Span &s : spans)
        canvas.roundRect(s.left, y - 5, s.right, y + 2 * h, 30, 30);
    useFont(canvas, 6);
    for (qsizetype i = 0; i < spans.size() && i < captions.size(); ++i)
        canvas.textOut(spans[i].left + 10, y, captions[i]);
    useFont(canvas, 10);
}

void boxValues(PageCanvas &canvas, int y, const QList<Span> &spans, const QStringList &values,
               bool boldLast) {
    for (qsizetype i = 0; i < spans.size() && i < values.size(); ++i) {
        const bool bold = boldLast && i == values.size() - 1;
        useFont(canvas, 10, bold);
        rightText(canvas, spans[i].right, y, values[i]);
    }
    useFont(canvas, 10);
}

QList<int> columnLefts(const QList<Column> &columns) {
    QList<int> out;
    int x = 50;
    for (const Column &c : columns) {
        out << x;
        x += c.width;
    }
    out << x;
    return out;
}

void rule(PageCanvas &canvas, int y, int right, int thickness) {
    canvas.setPen(Qt::black, 1);
    for (int i = 1; i <= thickness; ++i) {
        canvas.moveTo(50, y + i);
        canvas.lineTo(right, y + i);
    }
}

int columnHeader(PageCanvas &canvas, int y, const QList<Column> &columns) {
    const int h6 = useFont(canvas, 6);
    const QList<int> lefts = columnLefts(columns);
    canvas.setBrushClear();
    canvas.setPen(Qt::black, 1);
    for (qsizetype i = 0; i < columns.size(); ++i) {
        canvas.roundRect(lefts[i], y - 10, lefts[i + 1], y + h6 + 5, 20, 20);
        canvas.textOut(lefts[i] + 5, y, columns[i].caption);
    }
    y += h6 + 2;
    rule(canvas, y, lefts.last(), 5);
    y += h6 / 2;
    useFont(canvas, 10);
    return y + 10;
}

QString quantityText(double quantity) {
    const bool fractional = quantity != std::trunc(quantity);
    return Formats::format(u"%8.*n", quantity, fractional ? 2 : 0);
}

bool printCopies(CommonRoutines &routines, PrintService &service, const QString &title,
                 const PrintDocument &document) {
    const int copies = routines.AskCopies();
    if (copies <= 0)
        return false;
    return service.print(title, document, copies);
}

} // namespace corvale::documentprint

#include "documents/DocumentPrintout.h"

#include "platform/Formats.h"
#include "printing/PageCanvas.h"
#include "printing/PrintService.h"
#include "shell/CommonRoutines.h"

#include <algorithm>
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

int useItalic(PageCanvas &canvas, double points) {
    CanvasFont font;
    font.name = QStringLiteral("Arial");
    font.size = points;
    font.italic = true;
    canvas.setFont(font);
    return canvas.textHeight(QStringLiteral("X"));
}

int nameLines(PageCanvas &canvas, int centre, int y, const QString &line1, const QString &line2) {
    const int h = useFont(canvas, 12, true);
    canvas.textOutCentred(centre, y, line1);
    useFont(canvas, 10, true);
    canvas.textOutCentred(centre, y + h, line2);
    return h;
}

void rightText(PageCanvas &canvas, int right, int y, const QString &text, int margin) {
    if (text.isEmpty())
        return;
    canvas.textOutRight(right - margin, y, text);
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

int addresseeBox(PageCanvas &canvas, int y0, int right, const QString &name, const QString &address,
                 const QString &townLine, int headingBottom) {
    const int W = canvas.pageWidth();
    const int h = useFont(canvas, 10);
    const int left = (W / 3) * 2 - W / 6;
    canvas.setBrushClear();
    canvas.setPen(Qt::black, 1);
    canvas.roundRect(left, y0 - 5, right, y0 + 7 * h, 30, 30);
    useFont(canvas, 6);
    canvas.textOut(left + 10, y0, QStringLiteral("SPETT.LE"));
    useFont(canvas, 10);
    int y = y0 + h;
    canvas.textOut(left + 20, y, name);
    y += 20 + h;
    canvas.textOut(left + 20, y, address);
    y += h;
    canvas.textOut(left + 20, y, townLine);
    return std::max(headingBottom, y0 + 7 * h + h / 2);
}

QString townLine(const QString &postcode, const QString &town) {
    const QString code = postcode.trimmed();
    if (code.isEmpty())
        return town;
    // The padded code ends with its own blank.
    return CommonRoutines::PadCode5(code) + town;
}

void notesBox(PageCanvas &canvas, int y, int h, int right, const QString &noteText,
              const QString &privacyText) {
    canvas.setBrushClear();
    canvas.setPen(Qt::black, 1);
    canvas.roundRect(50, y - 5, right, y + 2 * h, 30, 30);
    useFont(canvas, 6);
    canvas.textOut(60, y, QStringLiteral("ANNOTAZIONI E VARIAZIONI"));
    useFont(canvas, 10);
    y += h - 5;
    rightText(canvas, right, y, noteText);
    y += h + 10;
    useFont(canvas, 8);
    rightText(canvas, right, y, privacyText);
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

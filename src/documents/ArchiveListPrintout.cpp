#include "documents/ArchiveListPrintout.h"

#include "documents/DocumentPrintout.h"
#include "platform/Formats.h"
#include "printing/PageCanvas.h"

namespace corvale {

using documentprint::useFont;

void ArchiveListPrintout::draw(PageCanvas &canvas) const {
    const int W = canvas.pageWidth();
    const int H = canvas.pageHeight();
    const int P = W - 200;
    const int x0 = 100;
    const int B = H * 97 / 100;
    const int k = P / 12;
    canvas.setBrushClear();
    canvas.setPen(Qt::black, 1);
    auto centred = [&](int y, const QString &text) { canvas.textOutCentred(P / 2, y, text); };

    int y = 70;
    const int h12 = documentprint::nameLines(canvas, P / 2, y, nameLine1, nameLine2);
    y += 2 * h12;
    useFont(canvas, 10);
    y += h12;
    centred(y, title);
    y += 2 * h12;

    int page = 1;
    auto pageHeader = [&] {
        const int h8 = documentprint::useItalic(canvas, 8);
        canvas.textOut(x0 + 10, y, QStringLiteral("Fornitore"));
        canvas.textOut(x0 + 7 * k + 10, y, QStringLiteral("Numero"));
        canvas.textOut(x0 + 8 * k + 10, y, QStringLiteral("Data"));
        documentprint::rightText(canvas, x0 + 12 * k, y, QStringLiteral("Totale"));
        y += h8 + 5;
        canvas.moveTo(x0, y);
        canvas.lineTo(x0 + 12 * k, y);
        y += 10;
        useFont(canvas, 9);
        centred(B + h8, QStringLiteral("- %1 -").arg(page));
    };
    pageHeader();
    const int h9 = useFont(canvas, 9);
    for (const Row &row : rows) {
        if (y + h9 + 7 >= B) {
            canvas.newPage();
            ++page;
            y = 70;
            pageHeader();
            useFont(canvas, 9);
        }
        canvas.textOut(x0 + 10, y, row.party);
        canvas.textOut(x0 + 7 * k + 10, y, row.number);
        canvas.textOut(x0 + 8 * k + 10, y, row.date);
        documentprint::rightText(canvas, x0 + 12 * k, y, Formats::format(u"%10.2n", row.total));
        y += h9;
        canvas.moveTo(x0, y);
        canvas.lineTo(x0 + 12 * k, y);
        y += 7;
    }
    y += h9 + h9 / 2;
    useFont(canvas, 10, true);
    canvas.textOut(x0 + 10, y, QStringLiteral("TOTALE"));
    documentprint::rightText(canvas, x0 + 12 * k, y, Formats::format(u"%10.2n", sum));
}

} // namespace corvale

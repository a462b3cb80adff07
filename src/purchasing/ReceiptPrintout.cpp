#include "purchasing/ReceiptPrintout.h"

#include "documents/DocumentPrintout.h"
#include "documents/SheetColumns.h"
#include "platform/Formats.h"
#include "printing/PageCanvas.h"

namespace corvale {

using namespace documentprint;

void ReceiptPrintout::draw(PageCanvas &canvas) const {
    const int W = canvas.pageWidth();
    const int H = canvas.pageHeight();
    const int B = int(0.92 * H);
    const int k = (W - 100) / 21;
    const QList<Column> columns = {
        {QStringLiteral("CODICE"), 3 * k},        {QStringLiteral("ARTICOLO/MARCHIO"), 7 * k},
        {QStringLiteral("COLORE/TAGLIA"), 4 * k}, {QStringLiteral("QUANTITA'"), 2 * k},
        {QStringLiteral("PREZZO"), 2 * k},        {QStringLiteral("SCO.%"), k},
        {QStringLiteral("IMPORTO "), 2 * k}};
    const QList<int> lefts = columnLefts(columns);

    qsizetype next = 0;
    for (;;) {
        canvas.setBrushClear();
        int y = H / 18;
        const int h12 = useFont(canvas, 12, true);
        canvas.textOut((W - canvas.textWidth(nameLine1)) / 2, y - h12, nameLine1);
        y += h12;
        useFont(canvas, 10, true);
        canvas.textOut((W - canvas.textWidth(nameLine2)) / 2, y - h12, nameLine2);
        y += h12;
        int h10 = useFont(canvas, 10);
        const int u = (W - 100) / 10;

        const QList<Span> docBoxes = {{50, 50 + 3 * u},
                                      {50 + 3 * u, 50 + 4 * u},
                                      {50 + 4 * u, 50 + 6 * u},
                                      {50 + 6 * u, 50 + 10 * u}};
        captionedBoxes(canvas, y, h10, docBoxes,
                       {QStringLiteral("FORNITORE"), QStringLiteral("NUM. DOC."),
                        QStringLiteral("DATA"), QStringLiteral("TIPO DOCUMENTO")});
        y += h10 - 5;
        boxValues(canvas, y, docBoxes, {supplier, supplierDocument, dateText, heading});
        y += 3 * h10;

        y = columnHeader(canvas, y, columns);
        h10 = useFont(canvas, 10);
        while (next < rows.size()) {
            const SheetRow &row = rows[next++];
            const auto join = [](const QString &a, const QString &b) {
                return a + QStringLiteral(" / ") + b;
            };
            canvas.textOut(50 + 5, y, row.text(sheet::BARCODE));
            canvas.textOut(lefts[1] + 5, y,
                           join(row.text(sheet::DESCRIZION), row.text(sheet::MARCHIO)));
            canvas.textOut(lefts[2] + 5, y,
                           join(row.text(sheet::COLORE), row.text(sheet::CTAGLIA)));
            rightText(canvas, lefts[4], y, quantityText(row.number(sheet::QUANTITA)));
            rightText(canvas, lefts[5], y,
                      Formats::format(u"%10.2n", row.number(sheet::PREZZO)).trimmed());
            if (!row.amount.isNull())
                rightText(canvas, lefts[7], y,
                          Formats::format(u"%10.2n", row.amount.toDouble()).trimmed());
            y += h10;
            if (y + 2 * h10 > B && next < rows.size())
                break;
        }
        const bool last = next >= rows.size();

        y = B;
        rule(canvas, y, lefts.last(), 7);
        y += h10 + h10 / 2;
        const QList<Span> totalBoxes = {{50 + 3 * u, 50 + 4 * u},
                                        {50 + 4 * u, 50 + 6 * u},
                                        {50 + 6 * u, 50 + 8 * u},
                                        {50 + 8 * u, 50 + 10 * u}};
        captionedBoxes(canvas, y, h10, totalBoxes,
                       {QStringLiteral("SCONTO"), QStringLiteral("IMPONIBILE"),
                        QStringLiteral("IMPOSTA"), QStringLiteral("TOTALE (€)")});
        y += h10 - 5;
        if (last)
            boxValues(canvas, y, totalBoxes,
                      {Formats::format(u"%10.2f", discount).trimmed(),
                       Formats::format(u"%10.2f", taxable).trimmed(),
                       Formats::format(u"%10.2f", tax).trimmed(),
                       Formats::format(u"%10.2n", total).trimmed()},
                      true);
        else
            boxValues(canvas, y, totalBoxes, {{}, {}, {}, QStringLiteral("SEGUE")}, true);
        if (last)
            break;
        canvas.newPage();
    }
}

} // namespace corvale

#include "purchasing/ReturnPrintout.h"

#include "documents/DocumentPrintout.h"
#include "documents/SheetColumns.h"
#include "platform/Formats.h"
#include "printing/PageCanvas.h"
#include "shell/CommonRoutines.h"

namespace corvale {

using namespace documentprint;

QString ReturnPrintout::townLine() const {
    return documentprint::townLine(postcode, town);
}

void ReturnPrintout::draw(PageCanvas &canvas, CommonRoutines &routines) const {
    const int W = canvas.pageWidth();
    const int H = canvas.pageHeight();
    const int u = (W - 100) / 10;
    const int L = (W - 100) / 22;
    QList<Column> columns = {{QStringLiteral("CODICE"), 3 * L},
                             {QStringLiteral("DESCRIZIONE ARTICOLO"), withPrices ? 8 * L : 11 * L},
                             {QStringLiteral("COLORE"), 3 * L},
                             {QStringLiteral("TAGLIA"), L},
                             {QStringLiteral("Q.TA'"), L}};
    if (withPrices)
        columns << Column{QStringLiteral("PREZZO"), 2 * L} << Column{QStringLiteral("SC.%"), L}
                << Column{QStringLiteral("IMPORTO"), 2 * L} << Column{QStringLiteral("IVA"), L};
    const QList<int> lefts = columnLefts(columns);
    const int B = withPrices ? int(0.88 * H) : int(0.9 * H);
    const auto money = [](double v) { return Formats::format(u"%10.2n", v).trimmed(); };

    qsizetype next = 0;
    for (;;) {
        canvas.setBrushClear();
        int h = useFont(canvas, 10);
        const int y0 = H / 18;
        const int below = routines.PrintCompanyHeader(canvas, y0);

        // The supplier's box.
        h = useFont(canvas, 10);
        const int E = addresseeBox(canvas, y0, 50 + 10 * u, supplier, address, townLine(), below);

        // The document's boxes.
        int y = E + 5;
        const QList<Span> docBoxes = {{50, 50 + 3 * u},
                                      {50 + 3 * u, 50 + 4 * u},
                                      {50 + 4 * u, 50 + 6 * u},
                                      {50 + 6 * u, 50 + 10 * u}};
        captionedBoxes(canvas, y, h, docBoxes,
                       {QStringLiteral("TIPO DOCUMENTO"), QStringLiteral("NUMERO"),
                        QStringLiteral("DATA"), QStringLiteral("PARTITA IVA o COD. FISCALE")});
        y += h - 5;
        boxValues(
            canvas, y, docBoxes,
            {isOrder ? QStringLiteral("ORDINE ACQUISTO") : QStringLiteral("DOCUMENTO DI TRASPORTO"),
             numberText, dateText, vatNumber});

        // The lines.
        y = columnHeader(canvas, E + 3 * h, columns);
        h = useFont(canvas, 10);
        while (next < rows.size()) {
            const SheetRow &row = rows[next++];
            canvas.textOut(lefts[0] + 5, y, row.text(sheet::BARCODE));
            canvas.textOut(lefts[1] + 5, y,
                           row.text(sheet::DESCRIZION) + QStringLiteral(" / ") +
                               row.text(sheet::MARCHIO));
            canvas.textOut(lefts[2] + 5, y, row.text(sheet::COLORE));
            canvas.textOut(lefts[3] + 5, y, row.text(sheet::CTAGLIA));
            rightText(canvas, lefts[5], y, quantityText(row.number(sheet::QUANTITA)).trimmed());
            if (withPrices) {
                rightText(canvas, lefts[6], y, money(row.number(sheet::PREZZO)));
                if (row.number(sheet::SCONTO) != 0)
                    rightText(canvas, lefts[7], y, row.text(sheet::SCONTO));
                if (!row.amount.isNull())
                    rightText(canvas, lefts[8], y, money(row.amount.toDouble()));
                if (row.number(sheet::IVA) != 0)
                    rightText(canvas, lefts[9], y, row.text(sheet::IVA));
            }
            y += h;
            if (B < y + h && next < rows.size())
                break;
        }
        const bool last = next >= rows.size();

        y = B;
        rule(canvas, y, lefts.last(), 7);
        y += h + h / 2;
        if (withPrices) {
            QList<Span> spans;
            QStringList captions;
            if (!isOrder) {
                spans << Span{50, 50 + 4 * u};
                captions << QStringLiteral("CAUSALE");
            }
            spans << Span{50 + 4 * u, 50 + 6 * u} << Span{50 + 6 * u, 50 + 8 * u}
                  << Span{50 + 8 * u, 50 + 10 * u};
            captions << QStringLiteral("IMPONIBILE") << QStringLiteral("IMPOSTA")
                     << QStringLiteral("TOTALE DOCUMENTO (€)");
            captionedBoxes(canvas, y, h, spans, captions);
            y += h - 5;
            QStringList values;
            if (!isOrder)
                values << (last ? QStringLiteral("RESO MERCE") : QString());
            if (last)
                values << money(taxable) << money(tax) << money(total);
            else
                values << QString() << QString() << QStringLiteral("SEGUE");
            boxValues(canvas, y, spans, values, true);
        }

        // The annotations, on every page.
        notesBox(canvas, y + h + 10, h, 50 + 10 * u, noteText, privacyText);
        if (last)
            break;
        canvas.newPage();
    }
}

} // namespace corvale

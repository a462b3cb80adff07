#include "sales/InvoicePrintout.h"

#include "documents/DocumentPrintout.h"
#include "documents/SheetColumns.h"
#include "platform/Formats.h"
#include "printing/PageCanvas.h"
#include "shell/CommonRoutines.h"

namespace corvale {

using namespace documentprint;

namespace {

QString money(double value) {
    return Formats::format(u"%10.2n", value).trimmed();
}

// The line discount as the field reads: nothing for none.
QString discountText(const SheetRow &row) {
    const double discount = row.number(sheet::SCONTO);
    if (discount == 0)
        return {};
    return QString::number(discount, 'g', 15).replace(u'.', Formats::decimalSeparator);
}

QString rateText(const VatSummary &s) {
    if (!s.nature.isEmpty())
        return QStringLiteral("NATURA ") + s.nature;
    return QStringLiteral("IVA ") + Formats::format(u"%6.2n", s.rate / 100.0).trimmed() +
           QStringLiteral(" %");
}

} // namespace

void InvoicePrintout::draw(PageCanvas &canvas, CommonRoutines &routines) const {
    const int W = canvas.pageWidth();
    const int H = canvas.pageHeight();
    const int e = (W - 100) / 10;
    const int R = e * 10 + 50;
    const int n = (W - 100) / 18;
    const QList<Column> columns = {{QStringLiteral("CODICE"), 3 * n},
                                   {QStringLiteral("DESCRIZIONE ARTICOLO"), 8 * n - n / 2},
                                   {QStringLiteral("QUANTITA'"), 2 * n},
                                   {QStringLiteral("PREZZO"), 2 * n},
                                   {QStringLiteral("SCONTO %"), n + n / 2},
                                   {QStringLiteral("IMPORTO "), 2 * n}};
    const QList<int> lefts = columnLefts(columns);
    const int foot = int(0.88 * H);
    const QString town = townLine(postcode, this->town);

    qint64 taxableCents = 0;
    qint64 taxCents = 0;
    bool withoutVat = false;
    for (const VatSummary &s : summaries) {
        taxableCents += s.taxable;
        taxCents += s.tax;
        withoutVat = withoutVat || !s.nature.isEmpty();
    }
    const bool listSummary = summaries.size() > 1 || withoutVat;
    const double taxable = summaries.isEmpty() ? amounts.taxable : taxableCents / 100.0;
    const double tax = summaries.isEmpty() ? amounts.tax : taxCents / 100.0;
    bool summaryDone = !listSummary;

    qsizetype next = 0;
    for (;;) {
        canvas.setBrushClear();
        useFont(canvas, 10);
        const int y0 = H / 18;
        const int heading = routines.PrintCompanyHeader(canvas, y0);
        int h = useFont(canvas, 10);
        const int B = addresseeBox(canvas, y0, R, customer, address, town, heading);

        int y = B + 5;
        const QList<Span> docBoxes = {
            {50, 3 * e + 50}, {3 * e + 50, 4 * e + 50}, {4 * e + 50, 6 * e + 50}, {6 * e + 50, R}};
        captionedBoxes(canvas, y, h, docBoxes,
                       {QStringLiteral("TIPO DOCUMENTO"), QStringLiteral("NUMERO"),
                        QStringLiteral("DATA"), QStringLiteral("PARTITA IVA o COD. FISCALE")});
        y += h - 5;
        boxValues(canvas, y, docBoxes,
                  {QStringLiteral("FATTURA"), numberText, dateText, vatNumber});

        y = columnHeader(canvas, B + 3 * h, columns);
        h = useFont(canvas, 10);
        // Only lines are printed, so a page never ends on nothing but blank rows.
        while (next < rows.size()) {
            const SheetRow &row = rows[next++];
            canvas.textOut(lefts[0] + 5, y, row.text(sheet::BARCODE));
            canvas.textOut(lefts[1] + 5, y,
                           row.text(sheet::DESCRIZION) + QStringLiteral(" / ") +
                               row.text(sheet::MARCHIO));
            rightText(canvas, lefts[3], y, quantityText(row.number(sheet::QUANTITA)).trimmed());
            rightText(canvas, lefts[4], y, money(row.number(sheet::PREZZO)));
            rightText(canvas, lefts[5], y, discountText(row));
            if (!row.amount.isNull())
                rightText(canvas, lefts[6], y, money(row.amount.toDouble()));
            y += h;
            if (y + 2 * h > 0.88 * H && next < rows.size())
                break;
        }
        // The VAT by rate under the lines, on a page of its own when the
        // last one has no room for it.
        if (next >= rows.size() && !summaryDone &&
            y + qsizetype(summaries.size() + 2) * h + 2 * h <= 0.88 * H) {
            y += h / 2;
            canvas.textOut(lefts[1] + 5, y, QStringLiteral("RIEPILOGO IVA"));
            rightText(canvas, lefts[4], y, QStringLiteral("IMPONIBILE"));
            rightText(canvas, lefts[6], y, QStringLiteral("IMPOSTA"));
            y += h;
            for (const VatSummary &s : summaries) {
                canvas.textOut(lefts[1] + 5, y, rateText(s));
                rightText(canvas, lefts[4], y, money(s.taxable / 100.0));
                rightText(canvas, lefts[6], y, money(s.tax / 100.0));
                y += h;
            }
            summaryDone = true;
        }
        const bool last = next >= rows.size() && summaryDone;

        y = foot;
        rule(canvas, y, lefts.last(), 7);
        y += h + h / 2;
        h = useFont(canvas, 10);
        const int Z = (W - 100) / 10;
        const QList<Span> totalBoxes = {{50, 4 * Z + 50},
                                        {4 * Z + 50, 6 * Z + 50},
                                        {6 * Z + 50, 8 * Z + 50},
                                        {8 * Z + 50, 10 * Z + 50}};
        captionedBoxes(canvas, y, h, totalBoxes,
                       {QStringLiteral("CAUSALE"), QStringLiteral("IMPONIBILE"),
                        QStringLiteral("IMPOSTA"), QStringLiteral("TOTALE FATTURA (€)")});
        y += h - 5;
        if (last)
            boxValues(canvas, y, totalBoxes,
                      {QStringLiteral("VENDITA"), Formats::format(u"%10.2f", taxable).trimmed(),
                       money(tax), money(amounts.total)},
                      true);
        else
            boxValues(canvas, y, totalBoxes, {{}, {}, {}, QStringLiteral("SEGUE")}, true);

        notesBox(canvas, y + h + 10, h, 10 * Z + 50, noteText, privacyText);
        if (last)
            break;
        canvas.newPage();
    }
}

} // namespace corvale

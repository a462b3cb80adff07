#include "sales/SalesArchivePrintout.h"

#include "documents/DocumentPrintout.h"
#include "platform/Formats.h"
#include "printing/PageCanvas.h"

namespace corvale {

using documentprint::rightText;
using documentprint::useFont;

namespace {

// Left edges of the columns and their right end, in printer units.
struct Columns {
    int x0 = 0;
    int customer = -1; // invoices only
    int number = 0;
    int date = 0;
    int end = 0; // right edge of "Totale"
};

} // namespace

QString SalesArchivePrintout::titleFor(Layout layout, Period period, const QString &year,
                                       const QString &month, const QString &fromText,
                                       const QString &toText) {
    const bool sales = layout == Layout::Sales;
    const QString lead = sales ? QStringLiteral("ELENCO VENDITE ESEGUITE ")
                               : QStringLiteral("ELENCO FATTURE EMESSE ");
    switch (period) {
    case Period::Any:
        return sales ? QStringLiteral("ELENCO COMPLETO VENDITE")
                     : QStringLiteral("ELENCO COMPLETO FATTURE");
    case Period::Year:
        return lead + QStringLiteral("NELL'ANNO ") + year;
    case Period::Month:
        return lead + QStringLiteral("NEL MESE ") + month + QLatin1Char('/') + year;
    case Period::Range:
        break;
    }
    return lead + QStringLiteral("DAL ") + fromText + QStringLiteral(" AL ") + toText;
}

void SalesArchivePrintout::draw(PageCanvas &canvas) const {
    const int PW = canvas.pageWidth();
    const int bottom = canvas.pageHeight() * 97 / 100;
    const bool sales = layout == Layout::Sales;
    const int W = sales ? (PW - 100) / 2 : PW - 200;
    Columns c;
    if (sales) {
        const int u = W / 8;
        c.x0 = 50;
        c.number = c.x0;
        c.date = c.x0 + 2 * u;
        c.end = c.x0 + 8 * u;
    } else {
        const int d = W / 12;
        c.x0 = 100;
        c.customer = c.x0;
        c.number = c.x0 + 7 * d;
        c.date = c.x0 + 8 * d;
        c.end = c.x0 + 12 * d;
    }
    const int rowPoints = sales ? 10 : 9;
    canvas.setBrushClear();
    canvas.setPen(Qt::black, 1);
    auto centred = [&](int y, const QString &text) { canvas.textOutCentred(W / 2, y, text); };

    int y = 70;
    const int h = documentprint::nameLines(canvas, W / 2, y, nameLine1, nameLine2);
    y += 2 * h;
    useFont(canvas, sales ? 9 : 10);
    y += h;
    centred(y, title);
    y += 2 * h;

    int page = 1;
    auto columnHeader = [&] {
        const int h8 = documentprint::useItalic(canvas, 8);
        if (!sales)
            canvas.textOut(c.customer + 10, y, QStringLiteral("Cliente"));
        canvas.textOut(c.number + 10, y, QStringLiteral("Numero"));
        canvas.textOut(c.date + 10, y, QStringLiteral("Data"));
        rightText(canvas, c.end, y, QStringLiteral("Totale"));
        y += h8 + 5;
        canvas.moveTo(c.x0, y);
        canvas.lineTo(c.end, y);
        y += 10;
        centred(bottom + h8, QStringLiteral("- %1 -").arg(page));
        useFont(canvas, rowPoints);
    };
    columnHeader();
    const int hRow = canvas.textHeight(QStringLiteral("X"));
    for (const Row &row : rows) {
        // A row that would reach the bottom limit goes to a new page; the
        // last page never ends up without rows.
        if (y + hRow >= bottom) {
            canvas.newPage();
            ++page;
            y = 70;
            columnHeader();
        }
        if (!sales)
            canvas.textOut(c.customer + 10, y, row.customer);
        canvas.textOut(c.number + 10, y, row.number);
        canvas.textOut(c.date + 10, y, row.date);
        rightText(canvas, c.end, y, Formats::format(u"%10.2n", row.total));
        y += hRow;
        canvas.moveTo(c.x0, y);
        canvas.lineTo(c.end, y);
        y += 7;
    }
    y += hRow + hRow / 2;
    useFont(canvas, 10, true);
    canvas.textOut(c.x0 + 10, y, QStringLiteral("TOTALE"));
    rightText(canvas, c.end, y, Formats::format(u"%10.2n", sum));
}

} // namespace corvale

#include "sales/GiftReceiptPrintout.h"

#include "db/Table.h"
#include "documents/DocumentKind.h"
#include "documents/DocumentPrintout.h"
#include "documents/SheetColumns.h"
#include "platform/Formats.h"
#include "printing/PageCanvas.h"
#include "sales/SaleColumns.h"
#include "sales/SalePrintout.h"

namespace corvale {

using namespace documentprint;
namespace s = saleColumns;

bool GiftReceiptPrintout::read(db::Database &database, qint64 key) {
    db::Table header(database);
    header.setTableName(s::headerTable);
    header.setIndexName(doc::NUMREG);
    header.open();
    if (!header.findKey(key))
        return false;
    SalePrintout heading;
    heading.readShop(database);
    name = heading.name;
    name2 = heading.name2;
    address = heading.address.trimmed();
    vatLine = heading.vatLine.trimmed() == QStringLiteral("P.IVA") ? QString() : heading.vatLine;
    phoneLine = heading.phoneLine;
    saleNumber = header.asString(doc::NUMDOC).trimmed();
    saleDate = header.asDate(doc::DATADOC);
    isReturn = header.asFloat(doc::TOTALE) < 0;
    documentLine.clear();
    if (header.hasField(s::rtNumber) && header.asInteger(s::rtNumber) > 0) {
        documentLine = QStringLiteral("Documento commerciale n. %1 chiusura n. %2")
                           .arg(header.asInteger(s::rtNumber))
                           .arg(header.asInteger(s::rtClosure));
        const QString serial = header.asString(s::rtSerial).trimmed();
        if (!serial.isEmpty())
            documentLine += QStringLiteral(" matricola ") + serial;
    }
    const DocumentKind kind = DocumentKind::counterSale();
    db::Table lines(database);
    lines.setTableName(kind.lineTable);
    lines.setIndexName(kind.lineKey);
    lines.open();
    lines.setRange(key, key);
    pieces.clear();
    for (lines.first(); !lines.eof(); lines.next()) {
        const QString description = lines.asString(sheet::DESCRIZION).trimmed();
        if (description.isEmpty())
            continue;
        pieces << Piece{lines.asString(sheet::BARCODE).trimmed(), description,
                        lines.asString(sheet::COLORE).trimmed(),
                        lines.asString(sheet::CTAGLIA).trimmed(), lines.asFloat(sheet::QUANTITA)};
    }
    return true;
}

void GiftReceiptPrintout::draw(PageCanvas &canvas) const {
    const int W = canvas.pageWidth();
    const int H = canvas.pageHeight();
    int y = 70;
    int h = useFont(canvas, 10, true);
    const int cx = W * 2 / 6;
    auto centred = [&](const QString &text) {
        if (!text.trimmed().isEmpty())
            canvas.textOutCentred(cx, y, text);
        y += h;
    };
    centred(name);
    h = useFont(canvas, 10);
    centred(name2);
    centred(address);
    centred(vatLine);
    centred(phoneLine);
    y += h;
    h = useFont(canvas, 12, true);
    centred(title);
    h = useFont(canvas, 10);
    centred(QStringLiteral("Vendita n. %1 del %2").arg(saleNumber, Formats::formatDate(saleDate)));
    if (!documentLine.isEmpty())
        centred(documentLine);
    y += h;

    const int x0 = 50;
    const int t = (W * 2 / 3) / 16;
    const QList<int> widths = {3 * t, 7 * t, 3 * t, 2 * t, t + t / 2};
    QList<int> lefts;
    int x = x0;
    for (int w : widths) {
        lefts << x;
        x += w;
    }
    const QStringList titles = {QStringLiteral("ARTICOLO"), QStringLiteral("DESCRIZIONE"),
                                QStringLiteral("COLORE"), QStringLiteral("TAGLIA"),
                                QStringLiteral("Q.TA'")};
    auto header = [&] {
        h = useFont(canvas, 7, true);
        for (int c = 0; c < titles.size(); ++c)
            canvas.textOut(lefts[c] + 5, y, titles[c]);
        y += h + 10;
        canvas.moveTo(x0, y);
        canvas.lineTo(x, y);
        y += 10;
        h = useFont(canvas, 9);
    };
    header();
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const Piece &p = pieces[i];
        canvas.textOut(lefts[0] + 5, y, p.article);
        canvas.textOut(lefts[1] + 5, y, p.description);
        canvas.textOut(lefts[2] + 5, y, p.colour);
        canvas.textOut(lefts[3] + 5, y, p.size);
        rightText(canvas, lefts[4] + widths[4], y, quantityText(p.quantity).trimmed());
        y += h;
        if (i + 1 < pieces.size() && y + 2 * h > 0.85 * H) {
            canvas.newPage();
            y = 100;
            header();
        }
    }
    y += h;
    useFont(canvas, 8);
    canvas.textOut(x0, y, exchangeNote);
}

} // namespace corvale

#pragma once

#include "common/RecordingOpener.h"
#include "documents/DocumentData.h"

#include "catalogue/StockRoutines.h"
#include "db/Table.h"
#include "documents/DocumentSaver.h"
#include "documents/LineBarcode.h"
#include "documents/SheetColumns.h"
#include "widgets/OpenerWindow.h"

// One line of a stored sale or invoice: `quantity` pieces of article
// `article` in `colour` and size position `position`, at `price`.
struct StoredLine {
    int article = 1;
    QString colour = QStringLiteral("ROSSO");
    int position = 1;
    double quantity = 1;
    double price = 10;
};

// The line code the sale writes: the article's code, colour and size.
inline QString lineCode(int article, int colourNumber, int position) {
    return *corvale::lineBarcode(QString::number(800000 + article), colourNumber, position);
}

// Stores a sale or an invoice as the document windows do, stock included;
// returns its key. `customer` goes to RAGSOC of invoices.
inline qint64 storeDocument(ShopFixture &f, const corvale::DocumentKind &kind, const QDate &date,
                            int number, const QList<StoredLine> &lines,
                            const QString &customer = {}) {
    using namespace corvale;
    QList<SheetRow> rows;
    double total = 0;
    for (const StoredLine &l : lines) {
        SheetRow row;
        const int colourNumber = l.colour == QStringLiteral("BLU") ? 2 : 1;
        row.values = {{sheet::CODICE, l.article},
                      {sheet::BARCODE, lineCode(l.article, colourNumber, l.position)},
                      {sheet::DESCRIZION, QStringLiteral("ARTICOLO %1").arg(l.article)},
                      {sheet::COLORE, l.colour},
                      {sheet::TAGLIA, l.position},
                      {sheet::CTAGLIA, QString::number(37 + l.position)},
                      {sheet::TIPOTAGLIA, 1},
                      {sheet::QUANTITA, l.quantity},
                      {sheet::PREZZO, l.price},
                      {sheet::SCONTO, 0.0}};
        row.amount = l.quantity * l.price;
        total += l.quantity * l.price;
        rows << row;
    }
    StockRoutines stock(f.db());
    DocumentSaver saver(f.db(), stock, f.shop->routines(), kind);
    db::Table header(f.db());
    header.setTableName(kind.headerTable);
    header.setIndexName(doc::NUMREG);
    header.open();
    header.append();
    const bool invoice = kind.headerTable == QStringLiteral("FATTURE");
    return saver.save(header, 0, rows, date, [&](db::Table &h) {
        h.setInteger(doc::NUMDOC, number);
        h.setDate(doc::DATADOC, date);
        h.setString(doc::MYDATA, date.toString(QStringLiteral("yyyyMMdd")));
        h.setFloat(doc::TOTALE, total);
        if (invoice)
            h.setString(doc::RAGSOC, customer);
        else
            h.setBool(doc::TIPO, true);
    });
}

inline qint64 storeSale(ShopFixture &f, const QDate &date, int number,
                        const QList<StoredLine> &lines) {
    return storeDocument(f, corvale::DocumentKind::counterSale(), date, number, lines);
}

inline qint64 storeInvoice(ShopFixture &f, const QDate &date, int number, const QString &customer,
                           const QList<StoredLine> &lines) {
    return storeDocument(f, corvale::DocumentKind::invoice(), date, number, lines, customer);
}

// The FINDV marks of the sales by key.
inline QMap<qint64, bool> saleMarks(ShopFixture &f) {
    corvale::db::Table t(f.db());
    t.setTableName(QStringLiteral("VENDITE"));
    t.open();
    QMap<qint64, bool> marks;
    for (t.first(); !t.eof(); t.next())
        marks.insert(t.asInteger(corvale::doc::NUMREG), t.asBool(corvale::doc::FINDV));
    return marks;
}

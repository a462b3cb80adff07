#pragma once

#include "purchasing/ReceiptEntry.h"

#include "catalogue/StockRoutines.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"

// The headers, lines and non-empty stock cells of the purchase tables, one
// text per record, sorted, to compare the tables before and after an
// operation (a line put back may take another place in its table).
inline QStringList purchaseState(ShopFixture &f) {
    using namespace corvale;
    QStringList out;
    for (const char *name : {"CARICHI", "RESI", "ORDINI"}) {
        db::Table t(f.db());
        t.setTableName(QString::fromLatin1(name));
        t.open();
        for (t.first(); !t.eof(); t.next())
            out << QStringLiteral("%1 %2 %3 %4 %5 %6")
                       .arg(QString::fromLatin1(name), t.asString(doc::NUMREG),
                            t.asString(doc::NUMDOC), t.asString(doc::NUMPEZZI),
                            t.asString(doc::TOTALE), t.asString(doc::NUMCAR));
    }
    for (const char *name : {"ARCART_A", "ARCART_R", "ARCART_O"}) {
        db::Table t(f.db());
        t.setTableName(QString::fromLatin1(name));
        t.open();
        for (t.first(); !t.eof(); t.next())
            out << QStringLiteral("%1 %2 %3 %4 %5 %6")
                       .arg(QString::fromLatin1(name), t.asString(doc::NUMCAR),
                            t.asString(doc::NUMART), t.asString(sheet::COLORE),
                            t.asString(sheet::TAGLIA), t.asString(sheet::QUANTITA));
    }
    out << stockCells(f);
    out.sort();
    return out;
}

inline void putInStock(ShopFixture &f, int article, const QString &colour, int position,
                       double quantity) {
    corvale::StockRoutines stock(f.db());
    stock.AdjustStock(article, colour, quantity, QString::number(position), false);
}

// A window opened on `key`, a document no longer stored, says `message` and
// closes at once: no "Salva" can write over what is stored.
template <typename Window>
void checkMissingDocumentCloses(ShopFixture &f, Window &w, qint64 key, const QString &message) {
    const QStringList before = purchaseState(f);
    RecordingOpener opener;
    w.DocumentKey = key;
    w.setOpener(&opener);
    f.prompter.expectError(message);
    w.show();
    QVERIFY(!w.isVisible());
    QCOMPARE(opener.codes, QList<int>{1});
    QCOMPARE(purchaseState(f), before);
    QVERIFY(f.prompter.done());
}

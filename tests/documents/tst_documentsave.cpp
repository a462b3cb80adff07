#include "documents/DocumentData.h"

#include "catalogue/StockRoutines.h"
#include "db/Error.h"
#include "db/FaultyFileSystem.h"
#include "db/Table.h"
#include "documents/DocumentSaver.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"
#include "shell/CommonRoutines.h"

#include <QTest>

#include <functional>

using namespace corvale;

namespace {

struct Line {
    int article;
    const char *colour;
    int size;
    double quantity;
    double price;
};

// A sheet holding `lines` and a few blank rows.
void fill(LineSheet &sheet, const QList<Line> &lines) {
    for (const Line &l : lines) {
        db::Table &t = sheet.table();
        t.append();
        t.setString(sheet::DESCRIZION, QStringLiteral("ARTICOLO %1").arg(l.article));
        t.setString(sheet::BARCODE, QString::number(800000 + l.article));
        t.setInteger(sheet::CODICE, l.article);
        t.setString(sheet::COLORE, QString::fromLatin1(l.colour));
        t.setInteger(sheet::TAGLIA, l.size);
        t.setString(sheet::CTAGLIA, QString::number(37 + l.size));
        t.setFloat(sheet::QUANTITA, l.quantity);
        t.setFloat(sheet::PREZZO, l.price);
        t.setFloat(sheet::IVA, 20);
        t.setFloat(sheet::SCONTO, 5);
        t.post();
    }
    sheet.appendBlankRows(5);
}

struct Saving {
    ShopFixture &f;
    DocumentKind kind;
    StockRoutines stock{f.db()};
    DocumentSaver saver{f.db(), stock, f.shop->routines(), kind};
    LineSheet sheet{f.db(), kind};
    db::Table header{f.db()};

    Saving(ShopFixture &fixture, DocumentKind k)
        : f(fixture)
        , kind(k) {
        header.setTableName(kind.headerTable);
        header.setIndexName(doc::NUMREG);
        header.open();
        sheet.open();
    }
    // Opens the stored document `key` as the document windows do.
    void reopen(qint64 key) {
        sheet.open();
        sheet.loadLines(key);
        sheet.appendBlankRows(5);
        QVERIFY(header.findKey(key));
        header.edit();
    }
    // Changes the quantity of the sheet's `row`-th row (from 0).
    void setQuantity(int row, double quantity) { setSheetQuantity(sheet.table(), row, quantity); }
    // Writes `line` on the sheet's `row`-th row (from 0) as `description`; a
    // line without a price leaves it blank.
    void putLine(int row, const QString &description, const Line &line) {
        db::Table &t = sheet.table();
        t.first();
        for (int i = 0; i < row; ++i)
            t.next();
        t.edit();
        t.setString(sheet::DESCRIZION, description);
        t.setInteger(sheet::CODICE, line.article);
        t.setString(sheet::COLORE, QString::fromLatin1(line.colour));
        t.setInteger(sheet::TAGLIA, line.size);
        t.setFloat(sheet::QUANTITA, line.quantity);
        if (line.price != 0)
            t.setFloat(sheet::PREZZO, line.price);
        t.post();
    }
    qint64 save(qint64 key, QDate date = QDate(2026, 3, 15)) {
        if (key == 0 && header.state() == db::Table::State::Browse)
            header.append();
        const QList<SheetRow> lines = sheet.allLines();
        const SheetTotals totals = LineSheet::totalsOf(lines, 0);
        return saver.save(header, key, lines, date, [&](db::Table &h) {
            if (h.hasField(doc::NUMPEZZI)) {
                h.setFloat(doc::NUMPEZZI, double(totals.pieces));
                h.setString(doc::RAGSOC, QStringLiteral("ALFA"));
            }
        });
    }
};

// What a save may change: the headers, the lines and the stock cells, in a
// form that ignores the physical order of the records.
QStringList tablesAndStock(ShopFixture &f) {
    QStringList out;
    db::Table t(f.db());
    t.setTableName(QStringLiteral("CARICHI"));
    t.open();
    for (t.first(); !t.eof(); t.next())
        out << QStringLiteral("C %1 %2 %3")
                   .arg(t.asString(doc::NUMREG), t.asString(doc::NUMPEZZI),
                        t.asString(doc::NUMCAR));
    t.close();
    t.setTableName(QStringLiteral("ARCART_A"));
    t.open();
    for (t.first(); !t.eof(); t.next())
        out << QStringLiteral("L %1 %2 %3 %4 %5")
                   .arg(t.asString(doc::NUMCAR), t.asString(doc::NUMART), t.asString(sheet::COLORE),
                        t.asString(sheet::TAGLIA), t.asString(sheet::QUANTITA));
    t.close();
    out << stockCells(f);
    out.sort();
    return out;
}

// Every field of every record of the kind's header and line tables and of the
// stock, in record order: a refused save changes none of it.
QStringList everything(ShopFixture &f, const DocumentKind &kind) {
    QStringList out;
    for (const QString &name : {kind.headerTable, kind.lineTable, QStringLiteral("ARCARTTG")}) {
        db::Table t(f.db());
        t.setTableName(name);
        t.open();
        for (t.first(); !t.eof(); t.next()) {
            QStringList values{name};
            for (const QString &field : t.fieldNames())
                values << t.asString(field);
            out << values.join(u'|');
        }
    }
    return out;
}

// Runs `step` with an I/O error planted at its `at`-th write; true when the
// step failed.
bool failsWithErrorAt(db::test::FaultyFileSystem &files, int at,
                      const std::function<void()> &step) {
    files.arm(db::test::FaultyFileSystem::Fault::IoError, files.operations() + at);
    bool failed = false;
    try {
        step();
    } catch (const db::Error &) {
        failed = true;
    }
    files.arm(db::test::FaultyFileSystem::Fault::None, 0);
    return failed;
}

DocumentKind kindNamed(const QString &name) {
    if (name == u"receipt")
        return DocumentKind::receipt();
    if (name == u"return")
        return DocumentKind::supplierReturn();
    if (name == u"order")
        return DocumentKind::supplierOrder();
    if (name == u"sale")
        return DocumentKind::counterSale();
    return DocumentKind::invoice();
}

} // namespace

class TestDocumentSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aStoredKeyTheHeaderIsNotOnIsRefused_data() {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"receipt", "return", "order", "sale", "invoice"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void aStoredKeyTheHeaderIsNotOnIsRefused() {
        QFETCH(QString, kind);
        ShopFixture f;
        Saving s(f, kindNamed(kind));
        fill(s.sheet, {{1, "ROSSO", 1, 2, 20}});
        const qint64 first = s.save(0);
        s.sheet.open();
        fill(s.sheet, {{2, "BLU", 3, 1, 10}});
        const qint64 second = s.save(0);
        const QStringList before = everything(f, s.kind);

        // On the first document, as a failed search leaves the handle: neither
        // a document that is not there nor another stored one is saved over it.
        for (const qint64 key : {second + 10, second}) {
            s.reopen(first);
            QVERIFY_THROWS_EXCEPTION(db::Error, s.save(key));
            QCOMPARE(everything(f, s.kind), before);
            QCOMPARE(s.header.state(), db::Table::State::Edit);
            s.header.cancel();
        }
        try {
            s.save(second + 10);
            QFAIL("saved a document that is not there");
        } catch (const db::Error &e) {
            QVERIFY(e.message().contains(QString::number(second + 10)));
            QVERIFY(e.message().contains(s.kind.headerTable));
        }
        // A handle appending a new record is no stored document either.
        s.header.append();
        QVERIFY_THROWS_EXCEPTION(db::Error, s.save(first));
        s.header.cancel();
        QCOMPARE(everything(f, s.kind), before);

        // On its own header the save goes through.
        s.reopen(second);
        QCOMPARE(s.save(second), second);
    }

    void theDateKeyFollowsTheDateOnEverySave_data() {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"receipt", "return", "order", "sale", "invoice"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void theDateKeyFollowsTheDateOnEverySave() {
        QFETCH(QString, kind);
        ShopFixture f;
        Saving s(f, kindNamed(kind));
        fill(s.sheet, {{1, "ROSSO", 1, 2, 20}});
        const qint64 key = s.save(0);
        QCOMPARE(f.column(s.kind.headerTable, doc::MYDATA), QStringList{"20260315"});
        // Re-dated, into another year too: the key, the date and the lines'
        // date move together, the key as the shared routine makes it.
        for (const QDate date : {QDate(2026, 4, 2), QDate(2025, 12, 31)}) {
            s.reopen(key);
            QCOMPARE(s.save(key, date), key);
            const QString text = date.toString(QStringLiteral("dd/MM/yyyy"));
            QCOMPARE(f.column(s.kind.headerTable, doc::DATADOC), QStringList{text});
            QCOMPARE(f.column(s.kind.headerTable, doc::MYDATA),
                     QStringList{CommonRoutines::DateKey(text)});
            QCOMPARE(f.column(s.kind.lineTable, doc::DATAREG), QStringList{text});
        }
        QCOMPARE(f.column(s.kind.headerTable, doc::MYDATA), QStringList{"20251231"});
    }

    void receiptSavedAgainAndDeleted() {
        ShopFixture f;
        Saving s(f, DocumentKind::receipt());
        fill(s.sheet, {{1, "ROSSO", 1, 2, 20}, {1, "ROSSO", 3, 3, 20}, {2, "BLU", 5, 1, 10}});
        const qint64 key = s.save(0);
        QCOMPARE(key, f.counter(QStringLiteral("ACQUISTI")));
        QCOMPARE(f.column(QStringLiteral("CARICHI"), doc::NUMPEZZI), QStringList{"6"});
        QCOMPARE(f.column(QStringLiteral("ARCART_A"), doc::NUMCAR),
                 (QStringList{QString::number(key), QString::number(key), QString::number(key)}));
        QCOMPARE(f.column(QStringLiteral("ARCART_A"), doc::IMPORTO),
                 (QStringList{"40", "60", "10"}));
        QCOMPARE(f.column(QStringLiteral("ARCART_A"), doc::SCOVND), (QStringList{"5", "5", "5"}));
        QCOMPARE(f.column(QStringLiteral("ARCART_A"), doc::DATAREG).first(),
                 QStringLiteral("15/03/2026"));
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), 3.0);
        QCOMPARE(stockCell(f, 2, QStringLiteral("BLU"), 5), 1.0);

        // Stored again without changes: the same stock and the same lines.
        s.reopen(key);
        QCOMPARE(s.save(key), key);
        QCOMPARE(recordCount(f, QStringLiteral("ARCART_A")), 3);
        QCOMPARE(recordCount(f, QStringLiteral("CARICHI")), 1);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 2.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), 3.0);
        QCOMPARE(stockCell(f, 2, QStringLiteral("BLU"), 5), 1.0);

        // A quantity changed from 3 to 5 moves the cell by 2 more, not by 5.
        s.reopen(key);
        s.setQuantity(1, 5);
        s.save(key);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), 5.0);

        s.header.first();
        s.saver.remove(s.header, key);
        QCOMPARE(recordCount(f, QStringLiteral("CARICHI")), 0);
        QCOMPARE(recordCount(f, QStringLiteral("ARCART_A")), 0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), 0.0);
    }

    void newDocumentFailingHalfWayLeavesNothing() {
        ShopFixture f;
        Saving s(f, DocumentKind::receipt());
        // The second line's amount is too wide for its column: the engine refuses it.
        fill(s.sheet, {{1, "ROSSO", 1, 2, 20}, {1, "ROSSO", 2, 100000, 100000}});
        s.header.append();
        s.header.setInteger(doc::NUMDOC, 7);
        QVERIFY_THROWS_EXCEPTION(db::Error, s.save(0));
        QCOMPARE(recordCount(f, QStringLiteral("CARICHI")), 0);
        QCOMPARE(recordCount(f, QStringLiteral("ARCART_A")), 0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 0.0);
        // The header is back as the user left it, ready for another "Salva".
        QCOMPARE(s.header.state(), db::Table::State::Insert);
        QCOMPARE(s.header.asInteger(doc::NUMDOC), 7);
        QVERIFY(s.header.isNull(doc::NUMREG));

        // With the line put right, the next save goes through.
        s.setQuantity(1, 1);
        const qint64 key = s.save(0);
        QCOMPARE(recordCount(f, QStringLiteral("CARICHI")), 1);
        QCOMPARE(f.column(QStringLiteral("CARICHI"), doc::NUMREG),
                 QStringList{QString::number(key)});
        QCOMPARE(recordCount(f, QStringLiteral("ARCART_A")), 2);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 2), 1.0);
    }

    void storedDocumentFailingHalfWayKeepsItsOldLines() {
        ShopFixture f;
        Saving s(f, DocumentKind::receipt());
        fill(s.sheet, {{1, "ROSSO", 1, 2, 20}, {2, "BLU", 4, 4, 10}});
        const qint64 key = s.save(0);
        QCOMPARE(f.column(QStringLiteral("CARICHI"), doc::NUMPEZZI), QStringList{"6"});

        s.reopen(key);
        s.header.setInteger(doc::NUMCAR, 99);
        s.setQuantity(0, 3);
        s.putLine(2, QStringLiteral("TROPPO"), {1, "ROSSO", 5, 100000, 100000});
        QVERIFY_THROWS_EXCEPTION(db::Error, s.save(key));

        // Tables and stock as before the second "Salva".
        QCOMPARE(recordCount(f, QStringLiteral("ARCART_A")), 2);
        QCOMPARE(f.column(QStringLiteral("ARCART_A"), sheet::QUANTITA), (QStringList{"2", "4"}));
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 2.0);
        QCOMPARE(stockCell(f, 2, QStringLiteral("BLU"), 4), 4.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 0.0);
        QCOMPARE(f.column(QStringLiteral("CARICHI"), doc::NUMPEZZI), QStringList{"6"});
        QCOMPARE(f.column(QStringLiteral("CARICHI"), doc::NUMCAR), QStringList{""});
        // The user's changes wait in the header for another try.
        QCOMPARE(s.header.state(), db::Table::State::Edit);
        QCOMPARE(s.header.asInteger(doc::NUMCAR), 99);

        // The undo restored every line; saving again without the bad line works.
        s.sheet.table().last();
        while (s.sheet.table().asString(sheet::DESCRIZION) != QStringLiteral("TROPPO"))
            s.sheet.table().prior();
        QVERIFY(s.sheet.deleteCurrentRow());
        s.save(key);
        QCOMPARE(f.column(QStringLiteral("ARCART_A"), sheet::QUANTITA), (QStringList{"3", "4"}));
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 3.0);
        QCOMPARE(f.column(QStringLiteral("CARICHI"), doc::NUMCAR), QStringList{"99"});
    }

    // An I/O error at every write of a second "Salva", one at a time: each
    // failed save leaves the tables and the stock as before it, and the first
    // one the error does not reach stores everything.
    void aFaultAtAnyWriteOfASaveIsTakenBack() {
        db::test::FaultyFileSystem files;
        ShopFixture f(files);
        Saving s(f, DocumentKind::receipt());
        fill(s.sheet, {{1, "ROSSO", 1, 2, 20}, {2, "BLU", 4, 4, 10}});
        const qint64 key = s.save(0);
        s.reopen(key);
        s.setQuantity(0, 3);
        s.putLine(2, QStringLiteral("NUOVO"), {3, "NERO", 2, 5, 0});
        s.header.setInteger(doc::NUMCAR, 99);
        const QStringList before = tablesAndStock(f);

        int failures = 0;
        for (int at = 1; at < 400; ++at) {
            if (!failsWithErrorAt(files, at, [&] { s.save(key); }))
                break;
            ++failures;
            if (tablesAndStock(f) != before)
                qWarning() << "at" << at << tablesAndStock(f) << before;
            QCOMPARE(tablesAndStock(f), before);
            QCOMPARE(s.header.state(), db::Table::State::Edit);
        }
        QVERIFY(failures > 10);
        const QStringList after = tablesAndStock(f);
        QVERIFY(after.contains(QStringLiteral("L %1 3 NERO 2 5").arg(key)));
        QVERIFY(after.contains(QStringLiteral("L %1 1 ROSSO 1 3").arg(key)));
        QVERIFY(after.contains(QStringLiteral("S 1 ROSSO 1=3")));
        QVERIFY(after.contains(QStringLiteral("S 3 NERO 2=5")));
        QVERIFY(after.contains(QStringLiteral("C %1 12 99").arg(key)));
        QCOMPARE(after.filter(QStringLiteral("L ")).size(), 3);

        // The same walk over a new receipt and over deleting one.
        Saving fresh(f, DocumentKind::receipt());
        fill(fresh.sheet, {{4, "ROSSO", 1, 1, 10}, {5, "BLU", 2, 2, 10}});
        fresh.header.append();
        int newFailures = 0;
        qint64 newKey = 0;
        for (int at = 1; at < 400 && newKey == 0; ++at) {
            if (failsWithErrorAt(files, at, [&] { newKey = fresh.save(0); })) {
                ++newFailures;
                QCOMPARE(tablesAndStock(f), after);
                QCOMPARE(fresh.header.state(), db::Table::State::Insert);
            }
        }
        QVERIFY2(newFailures > 3, qPrintable(QString::number(newFailures)));
        QVERIFY(newKey != 0);
        const QStringList withNew = tablesAndStock(f);
        QVERIFY(withNew.contains(QStringLiteral("S 5 BLU 2=2")));
        int deleteFailures = 0;
        for (int at = 1; at < 400; ++at) {
            QVERIFY(fresh.header.findKey(newKey));
            if (!failsWithErrorAt(files, at, [&] { fresh.saver.remove(fresh.header, newKey); }))
                break;
            ++deleteFailures;
            QCOMPARE(tablesAndStock(f), withNew);
        }
        QVERIFY(deleteFailures > 2);
        QCOMPARE(tablesAndStock(f), after);
    }

    void returnsOrdersAndSalesMoveStockTheirWay() {
        ShopFixture f;
        {
            Saving s(f, DocumentKind::supplierReturn());
            fill(s.sheet, {{1, "ROSSO", 1, 2, 20}});
            const qint64 key = s.save(0);
            QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), -2.0);
            QVERIFY(f.column(QStringLiteral("ARCART_R"), doc::SCOVND).first().isEmpty());
            s.header.first();
            s.saver.remove(s.header, key);
            QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 0.0);
        }
        {
            Saving s(f, DocumentKind::supplierOrder());
            fill(s.sheet, {{1, "ROSSO", 1, 2, 20}});
            const qint64 key = s.save(0);
            QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 0.0);
            s.reopen(key);
            s.save(key);
            QCOMPARE(recordCount(f, QStringLiteral("ARCART_O")), 1);
        }
        {
            Saving s(f, DocumentKind::counterSale());
            fill(s.sheet, {{1, "ROSSO", 1, 2, 20}});
            s.sheet.table().first();
            s.sheet.table().edit();
            s.sheet.table().setString(sheet::DESCRIZION, QString(40, u'D'));
            s.sheet.table().post();
            const qint64 key = s.save(0);
            QCOMPARE(key, f.counter(QStringLiteral("VENDITE")));
            QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), -2.0);
            QCOMPARE(f.column(QStringLiteral("ARCART_V"), sheet::DESCRIZION).first().size(), 30);
            QCOMPARE(f.column(QStringLiteral("ARCART_V"), doc::TIPO), QStringList{"True"});
            // 2 x 20 less the line's 5 %.
            QCOMPARE(f.column(QStringLiteral("ARCART_V"), doc::IMPORTO), QStringList{"38"});
        }
        // Receipts, returns and orders draw from one counter.
        QCOMPARE(f.counter(QStringLiteral("ACQUISTI")), 2);
    }
};

QTEST_MAIN(TestDocumentSave)
#include "tst_documentsave.moc"

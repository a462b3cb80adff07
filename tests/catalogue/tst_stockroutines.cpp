#include "catalogue/StockRoutines.h"
#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"
#include "schema/DataFolderSchema.h"
#include "shell/DataFolderSetup.h"

#include <QTemporaryDir>
#include <QTest>

using namespace corvale;

namespace {

struct Line {
    qint64 document;
    qint64 article;
    QString colour;
    int size;
    double quantity;
};

} // namespace

class TestStockRoutines : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<db::Database> m_db;

    // The cell (article, colour, size); nullopt-like -999999 when there is no record.
    static constexpr double noRecord = -999999;

    double cell(qint64 article, const QString &colour, int size) {
        db::Table t(*m_db);
        t.setTableName(QStringLiteral("ARCARTTG"));
        t.open();
        for (t.first(); !t.eof(); t.next()) {
            if (t.asInteger(QStringLiteral("ARTCODE")) == article &&
                t.asString(QStringLiteral("COLORE")) == colour)
                return t.asFloat(QStringLiteral("TG%1").arg(size));
        }
        return noRecord;
    }
    bool cellIsEmpty(qint64 article, const QString &colour, int size) {
        db::Table t(*m_db);
        t.setTableName(QStringLiteral("ARCARTTG"));
        t.open();
        for (t.first(); !t.eof(); t.next()) {
            if (t.asInteger(QStringLiteral("ARTCODE")) == article &&
                t.asString(QStringLiteral("COLORE")) == colour)
                return t.isNull(QStringLiteral("TG%1").arg(size));
        }
        return false;
    }
    int stockRecords() {
        db::Table t(*m_db);
        t.setTableName(QStringLiteral("ARCARTTG"));
        t.open();
        return t.recordCount();
    }
    void addLines(const QString &table, const QString &key, const QList<Line> &lines) {
        db::Table t(*m_db);
        t.setTableName(table);
        t.open();
        for (const Line &l : lines) {
            t.append();
            t.setInteger(key, l.document);
            t.setInteger(QStringLiteral("NUMART"), l.article);
            t.setString(QStringLiteral("COLORE"), l.colour);
            t.setInteger(QStringLiteral("TAGLIA"), l.size);
            t.setFloat(QStringLiteral("QUANTITA"), l.quantity);
            t.post();
        }
    }
    int lineCount(const QString &table) {
        db::Table t(*m_db);
        t.setTableName(table);
        t.open();
        return t.recordCount();
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        const QString data = m_dir->path() + QStringLiteral("/dati");
        QVERIFY(DataFolderSetup::createIfMissing(data, allTableLayouts()));
        m_db = std::make_unique<db::Database>();
        m_db->open(data);
    }
    void cleanup() {
        m_db.reset();
        m_dir.reset();
    }

    void receiveThenSellKeepsTheEmptiedRecord() {
        StockRoutines r(*m_db);
        r.AdjustStock(7, QStringLiteral("ROSSO"), 3, QStringLiteral("4"), false);
        QCOMPARE(cell(7, QStringLiteral("ROSSO"), 4), 3.0);
        r.AdjustStock(7, QStringLiteral("ROSSO"), 3, QStringLiteral("4"), true);
        QCOMPARE(stockRecords(), 1);
        QVERIFY(cellIsEmpty(7, QStringLiteral("ROSSO"), 4));
        // Another colour of the same article and another article get their own records.
        r.AdjustStock(7, QStringLiteral("rosso"), 1, QStringLiteral("4"), false);
        r.AdjustStock(8, QStringLiteral("ROSSO"), 1, QStringLiteral(" 20 "), false);
        QCOMPARE(stockRecords(), 3);
        QCOMPARE(cell(7, QStringLiteral("rosso"), 4), 1.0);
        QCOMPARE(cell(8, QStringLiteral("ROSSO"), 20), 1.0);
        QVERIFY(cellIsEmpty(7, QStringLiteral("ROSSO"), 4));
    }

    void fractionalQuantitiesUndoExactly() {
        StockRoutines r(*m_db);
        r.AdjustStock(6, QStringLiteral("ROSA"), 1.5, QStringLiteral("2"), false);
        QCOMPARE(cell(6, QStringLiteral("ROSA"), 2), 2.0);
        r.AdjustStock(6, QStringLiteral("ROSA"), 1.5, QStringLiteral("2"), true);
        QVERIFY(cellIsEmpty(6, QStringLiteral("ROSA"), 2));
        r.AdjustStock(6, QStringLiteral("ROSA"), 0.4, QStringLiteral("2"), false);
        QVERIFY(cellIsEmpty(6, QStringLiteral("ROSA"), 2));
    }

    void sellingWhatWasNeverReceivedGoesNegative() {
        StockRoutines r(*m_db);
        r.AdjustStock(3, QStringLiteral("NERO"), 1, QStringLiteral("2"), true);
        QCOMPARE(cell(3, QStringLiteral("NERO"), 2), -1.0);
        r.AdjustStock(3, QStringLiteral("NERO"), 2, QStringLiteral("2"), true);
        QCOMPARE(cell(3, QStringLiteral("NERO"), 2), -3.0);
    }

    void positionsOutsideTheMatrixChangeNothing() {
        StockRoutines r(*m_db);
        r.AdjustStock(5, QStringLiteral("BLU"), 2, QStringLiteral("1"), false);
        for (const char *bad : {"21", "0", "", "  ", "x", "-1"})
            r.AdjustStock(5, QStringLiteral("BLU"), 9, QString::fromLatin1(bad), false);
        // ...and create no record for a colour that has none.
        r.AdjustStock(5, QStringLiteral("VERDE"), 9, QStringLiteral("21"), false);
        QCOMPARE(stockRecords(), 1);
        QCOMPARE(cell(5, QStringLiteral("BLU"), 1), 2.0);
        for (int p = 2; p <= 20; ++p)
            QVERIFY(cellIsEmpty(5, QStringLiteral("BLU"), p));
    }

    void longColourNamesFindTheirCutRecord() {
        StockRoutines r(*m_db);
        const QString longName = QStringLiteral("BLU NOTTE CON RIGHINE BIANCHE"); // 29 characters
        r.AdjustStock(9, longName, 2, QStringLiteral("3"), false);
        r.AdjustStock(9, longName, 1, QStringLiteral("3"), true);
        QCOMPARE(stockRecords(), 1);
        QCOMPARE(cell(9, longName.left(20), 3), 1.0);
    }

    void articleNumbersBeyondSixteenBits() {
        StockRoutines r(*m_db);
        addLines(
            QStringLiteral("ARCART_A"), QStringLiteral("NUMCAR"),
            {{1, 70000, QStringLiteral("ROSSO"), 1, 4}, {1, 4464, QStringLiteral("ROSSO"), 1, 1}});
        r.RebuildStock();
        // 70000 - 65536 = 4464: a 16-bit article would mix the two.
        QCOMPARE(cell(70000, QStringLiteral("ROSSO"), 1), 4.0);
        QCOMPARE(cell(4464, QStringLiteral("ROSSO"), 1), 1.0);
    }

    void undoingAReceiptWhoseStockWasSold() {
        StockRoutines r(*m_db);
        addLines(QStringLiteral("ARCART_A"), QStringLiteral("NUMCAR"),
                 {{10, 1, QStringLiteral("ROSSO"), 1, 2},
                  {10, 1, QStringLiteral("ROSSO"), 2, 3},
                  {11, 1, QStringLiteral("ROSSO"), 1, 5}});
        r.AdjustStock(1, QStringLiteral("ROSSO"), 2, QStringLiteral("1"), false);
        r.AdjustStock(1, QStringLiteral("ROSSO"), 3, QStringLiteral("2"), false);
        r.AdjustStock(1, QStringLiteral("ROSSO"), 3, QStringLiteral("2"), true); // sold
        r.AdjustStock(1, QStringLiteral("ROSSO"), 1, QStringLiteral("2"), true); // and one more
        r.UndoReceiptLines(10);
        QVERIFY(cellIsEmpty(1, QStringLiteral("ROSSO"), 1));
        QCOMPARE(cell(1, QStringLiteral("ROSSO"), 2), -4.0);
        // Only receipt 10's lines are gone.
        QCOMPARE(lineCount(QStringLiteral("ARCART_A")), 1);
    }

    void saleOfMinusTwoAndItsUndo() {
        StockRoutines r(*m_db);
        r.AdjustStock(4, QStringLiteral("NERO"), 5, QStringLiteral("6"), false);
        // Written as a sale (subtract) a line of -2 puts two pieces back...
        r.AdjustStock(4, QStringLiteral("NERO"), -2, QStringLiteral("6"), true);
        QCOMPARE(cell(4, QStringLiteral("NERO"), 6), 7.0);
        addLines(QStringLiteral("ARCART_V"), QStringLiteral("NUMVEN"),
                 {{20, 4, QStringLiteral("NERO"), 6, -2}, {21, 4, QStringLiteral("NERO"), 6, 1}});
        // ...and undoing the sale takes them out again.
        r.UndoSaleLines(20, QStringLiteral("ARCART_V"));
        QCOMPARE(cell(4, QStringLiteral("NERO"), 6), 5.0);
        QCOMPARE(lineCount(QStringLiteral("ARCART_V")), 1);
    }

    void undoReturnAndDeleteOrder() {
        StockRoutines r(*m_db);
        addLines(
            QStringLiteral("ARCART_R"), QStringLiteral("NUMCAR"),
            {{30, 2, QStringLiteral("BIANCO"), 3, 2}, {31, 2, QStringLiteral("BIANCO"), 3, 1}});
        addLines(QStringLiteral("ARCART_O"), QStringLiteral("NUMCAR"),
                 {{30, 2, QStringLiteral("BIANCO"), 3, 4},
                  {30, 2, QStringLiteral("BIANCO"), 4, 4},
                  {32, 2, QStringLiteral("BIANCO"), 3, 4}});
        r.UndoReturnLines(30);
        QCOMPARE(cell(2, QStringLiteral("BIANCO"), 3), 2.0);
        QCOMPARE(lineCount(QStringLiteral("ARCART_R")), 1);
        r.DeleteOrderLines(30);
        QCOMPARE(lineCount(QStringLiteral("ARCART_O")), 1);
        QCOMPARE(cell(2, QStringLiteral("BIANCO"), 3), 2.0);
        // An unknown document has nothing to undo.
        r.UndoReceiptLines(999);
        QCOMPARE(cell(2, QStringLiteral("BIANCO"), 3), 2.0);
    }

    void rebuildFromAllLines() {
        StockRoutines r(*m_db);
        // Stale content the rebuild must throw away.
        r.AdjustStock(1, QStringLiteral("VIOLA"), 9, QStringLiteral("9"), false);
        addLines(QStringLiteral("ARCART_A"), QStringLiteral("NUMCAR"),
                 {{1, 1, QStringLiteral("ROSSO"), 1, 5},
                  {2, 2, QStringLiteral("NERO"), 2, 3},
                  {1, 1, QStringLiteral("BLU"), 1, 2},
                  {3, 2, QStringLiteral("NERO"), 2, 1.6}, // rounds to 2
                  {3, 2, QStringLiteral("NERO"), 25, 7},  // outside the matrix
                  {3, 2, QStringLiteral("NERO"), 0, 7},
                  {3, 2, QString(), 1, 7}}); // no colour: not stock
        addLines(QStringLiteral("ARCART_V"), QStringLiteral("NUMVEN"),
                 {{1, 1, QStringLiteral("ROSSO"), 1, 5},
                  {2, 2, QStringLiteral("NERO"), 2, 1},
                  {3, 2, QStringLiteral("NERO"), 3, 1},
                  {4, 1, QStringLiteral("BLU"), 1, -1}}); // a customer return
        addLines(QStringLiteral("ARCART_R"), QStringLiteral("NUMCAR"),
                 {{1, 2, QStringLiteral("NERO"), 2, 1}});
        r.RebuildStock();
        // ROSSO received 5 and sold 5: no record at all; VIOLA had no lines.
        QCOMPARE(cell(1, QStringLiteral("ROSSO"), 1), noRecord);
        QCOMPARE(cell(1, QStringLiteral("VIOLA"), 9), noRecord);
        QCOMPARE(cell(2, QStringLiteral("NERO"), 2), 3.0);
        QCOMPARE(cell(2, QStringLiteral("NERO"), 3), -1.0);
        QVERIFY(cellIsEmpty(2, QStringLiteral("NERO"), 1));
        QCOMPARE(cell(1, QStringLiteral("BLU"), 1), 3.0);
        QCOMPARE(stockRecords(), 2);
        // The rebuild agrees with moving the same lines one by one, and running it
        // twice changes nothing.
        r.RebuildStock();
        QCOMPARE(stockRecords(), 2);
        QCOMPARE(cell(2, QStringLiteral("NERO"), 2), 3.0);
    }

    void engineErrorsReachTheCaller() {
        StockRoutines r(*m_db);
        QVERIFY_THROWS_EXCEPTION(db::Error, r.UndoSaleLines(1, QStringLiteral("NOSUCH")));
        // A quantity too wide for the six-digit cell is refused, never stored as asterisks.
        QVERIFY_THROWS_EXCEPTION(
            db::Error, r.AdjustStock(1, QStringLiteral("ROSSO"), 1e7, QStringLiteral("1"), false));
    }
};

QTEST_GUILESS_MAIN(TestStockRoutines)
#include "tst_stockroutines.moc"

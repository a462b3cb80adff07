#include "DemoShop.h"

#include "db/Database.h"
#include "db/Table.h"
#include "schema/DataFolderSchema.h"
#include "shell/DataFolderSetup.h"

#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace corvale;

namespace {

using Cell = std::tuple<qint64, QString, qint64>; // article, colour, size position

QMap<Cell, double> movements(db::Database &database, const QString &table, double sign) {
    QMap<Cell, double> out;
    db::Table t(database);
    t.setTableName(table);
    t.open();
    for (t.first(); !t.eof(); t.next()) {
        out[{t.asInteger(QStringLiteral("NUMART")), t.asString(QStringLiteral("COLORE")),
             t.asInteger(QStringLiteral("TAGLIA"))}] +=
            sign * t.asFloat(QStringLiteral("QUANTITA"));
    }
    return out;
}

qint64 highest(db::Database &database, const QString &table, const QString &field) {
    db::Table t(database);
    t.setTableName(table);
    t.open();
    qint64 best = 0;
    for (t.first(); !t.eof(); t.next())
        best = std::max(best, t.asInteger(field));
    return best;
}

} // namespace

class TestDemoShop : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void demoShopIsConsistent() {
        QTemporaryDir tmp;
        db::Database database;
        database.open(tmp.path());
        DataFolderSetup::createTables(database, allTableLayouts());
        DemoShop::fill(database, QByteArray("\xff\xd8\xff", 3), QDate(2026, 12, 9));

        // The stock matrix is what the receipts added and the sales took away.
        QMap<Cell, double> expected = movements(database, QStringLiteral("ARCART_A"), 1);
        const QMap<Cell, double> sold = movements(database, QStringLiteral("ARCART_V"), -1);
        for (auto it = sold.begin(); it != sold.end(); ++it)
            expected[it.key()] += it.value();
        QMap<Cell, double> matrix;
        db::Table stock(database);
        stock.setTableName(QStringLiteral("ARCARTTG"));
        stock.open();
        for (stock.first(); !stock.eof(); stock.next()) {
            for (int p = 1; p <= 20; ++p) {
                const double q = stock.asFloat(QStringLiteral("TG%1").arg(p));
                if (q != 0)
                    matrix[{stock.asInteger(QStringLiteral("ARTCODE")),
                            stock.asString(QStringLiteral("COLORE")), p}] = q;
            }
        }
        expected.removeIf([](const auto &it) { return it.value() == 0; });
        QCOMPARE(matrix, expected);
        QVERIFY(!matrix.isEmpty());

        // Counters hold the last numbers handed out, so new records follow on.
        db::Table counters(database);
        counters.setTableName(QStringLiteral("COUNTERS"));
        counters.open();
        QCOMPARE(counters.asInteger(QStringLiteral("ARTICOLI")),
                 highest(database, QStringLiteral("ARTICOLI"), QStringLiteral("NUMREG")));
        QCOMPARE(counters.asInteger(QStringLiteral("VENDITE")),
                 highest(database, QStringLiteral("VENDITE"), QStringLiteral("NUMREG")));
        QCOMPARE(counters.asInteger(QStringLiteral("ACQUISTI")),
                 highest(database, QStringLiteral("CARICHI"), QStringLiteral("NUMREG")));
        QCOMPARE(counters.asInteger(QStringLiteral("CLIENTI")),
                 highest(database, QStringLiteral("CLIENTI"), QStringLiteral("CODICE")));
        QCOMPARE(counters.asInteger(QStringLiteral("TAGLIE")),
                 highest(database, QStringLiteral("TAGLIE"), QStringLiteral("NUMREG")));
        QCOMPARE(counters.asInteger(QStringLiteral("COUNTER")),
                 highest(database, QStringLiteral("TIPOLOGI"), QStringLiteral("NUMREG")));

        // Every line barcode carries a valid EAN-13 check digit.
        db::Table lines(database);
        lines.setTableName(QStringLiteral("ARCART_A"));
        lines.open();
        for (lines.first(); !lines.eof(); lines.next()) {
            const QString code = lines.asString(QStringLiteral("BARCODE"));
            QCOMPARE(code.size(), 13);
            int sum = 0;
            for (int i = 0; i < 13; ++i)
                sum += (code[i].unicode() - '0') * (i % 2 ? 3 : 1);
            QCOMPARE(sum % 10, 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestDemoShop)
#include "tst_demoshop.moc"

#include "common/ShopFixture.h"

#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "platform/Money.h"
#include "printing/RecordingCanvas.h"
#include "purchasing/StatementPrintout.h"
#include "purchasing/SupplierStatement.h"

#include <QTest>

using namespace corvale;

namespace {

struct Row {
    QString kind;
    QString number;
    QString date;
    double total;
};

// The statement rows of one supplier, in their order.
QList<Row> rowsOf(ShopFixture &f, qint64 supplier) {
    QList<Row> out;
    db::Table t(f.db());
    t.setTableName(QStringLiteral("TABLE3"));
    t.open();
    for (t.first(); !t.eof(); t.next())
        if (t.asInteger(doc::NUMRAG) == supplier)
            out << Row{t.asString(QStringLiteral("TIPODOC")), t.asString(QStringLiteral("NUMERO")),
                       t.asString(QStringLiteral("DATA")), t.asFloat(doc::TOTALE)};
    return out;
}

void addDocument(ShopFixture &f, const char *table, qint64 key, qint64 supplier, QDate date,
                 double total) {
    f.add(QString::fromLatin1(table), {{doc::NUMREG, key},
                                       {doc::NUMDOC, int(key % 1000)},
                                       {doc::NUMRAG, supplier},
                                       {doc::DATADOC, date},
                                       {doc::MYDATA, date.toString(QStringLiteral("yyyyMMdd"))},
                                       {doc::TOTALE, total}});
}

void addPayment(ShopFixture &f, qint64 supplier, QDate date, double amount, bool customer = false) {
    f.add(QStringLiteral("ACCONTI"), {{QStringLiteral("NUMCLI"), QString::number(supplier)},
                                      {QStringLiteral("ISCLIENTE"), customer},
                                      {QStringLiteral("COMMENTO"), QStringLiteral("Contanti")},
                                      {QStringLiteral("DATA"), date.toString("dd/MM/yyyy")},
                                      {QStringLiteral("MYDATA"), date.toString("yyyyMMdd")},
                                      {QStringLiteral("ACCONTO"), amount}});
}

bool sameCents(double a, double b) {
    return Money::of(a) == Money::of(b);
}

} // namespace

class TestSupplierStatement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Three years of receipts, returns and payments of suppliers with small
    // and large codes: the balance is the sum of them all, whatever year the
    // statement starts from; earlier documents are summed in "Dare Iniziale".
    void aStatementOverThreeYearsBalances() {
        ShopFixture f;
        const QList<qint64> suppliers = {1, 7, 12000};
        for (qint64 code : suppliers)
            f.add(QStringLiteral("FORNITOR"),
                  {{QStringLiteral("CODICE"), code},
                   {QStringLiteral("NOME"), QStringLiteral("F%1").arg(code)}});
        f.add(QStringLiteral("FORNITOR"),
              {{QStringLiteral("CODICE"), 8}, {QStringLiteral("NOME"), QStringLiteral("VUOTO")}});

        QHash<qint64, double> owed;       // every document less every payment
        QHash<qint64, double> before2025; // documents before 2025
        qint64 key = 1;
        for (int i = 0; i < 120; ++i) {
            const qint64 code = suppliers[i % 3];
            const QDate date = QDate(2024, 1, 1).addDays(i * 9);
            const bool isReturn = i % 5 == 4;
            const double total = 10.01 * (i + 1) + 0.37;
            addDocument(f, isReturn ? "RESI" : "CARICHI", key++, code, date, total);
            const double signedTotal = isReturn ? -total : total;
            owed[code] += signedTotal;
            if (date.year() < 2025)
                before2025[code] += signedTotal;
            if (i % 4 == 0) {
                addPayment(f, code, date.addDays(3), 100.1);
                owed[code] -= 100.1;
            }
        }
        // A customer's deposit under a supplier's code is no payment to it.
        addPayment(f, 7, QDate(2025, 5, 5), 999, true);

        SupplierStatement s(f.db());
        for (int year : {2023, 2024, 2025, 2026, 2027}) {
            s.build(year);
            for (qint64 code : suppliers)
                QVERIFY2(sameCents(s.balance(code), owed[code]),
                         qPrintable(QStringLiteral("%1 %2: %3 %4")
                                        .arg(year)
                                        .arg(code)
                                        .arg(s.balance(code))
                                        .arg(owed[code])));
            QCOMPARE(rowsOf(f, 8).size(), 1);
            QCOMPARE(s.balance(8), 0.0);
        }
        s.build(2025);
        for (qint64 code : suppliers) {
            const QList<Row> rows = rowsOf(f, code);
            QCOMPARE(rows.first().kind, QStringLiteral("Dare Iniziale"));
            QCOMPARE(rows.first().date, QStringLiteral("01/01/2025"));
            QVERIFY(sameCents(rows.first().total, before2025[code]));
            // Receipts then returns, returns negative, none before 2025.
            bool inReturns = false;
            for (qsizetype i = 1; i < rows.size(); ++i) {
                QVERIFY(rows[i].date.endsWith(QStringLiteral("2025")) ||
                        rows[i].date.endsWith(QStringLiteral("2026")));
                if (rows[i].kind == QStringLiteral("Reso Merce")) {
                    inReturns = true;
                    QVERIFY(rows[i].total < 0);
                } else {
                    QCOMPARE(rows[i].kind, QStringLiteral("Fattura"));
                    QVERIFY(!inReturns);
                }
            }
        }
    }

    // The year's bounds, by what the statement shows: a document of 1 January
    // has its own row, one of 31 December before it is in "Dare Iniziale".
    void documentsOnTheYearsBounds_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("ownRow");
        QTest::newRow("31 December before") << QDate(2024, 12, 31) << false;
        QTest::newRow("1 January") << QDate(2025, 1, 1) << true;
        QTest::newRow("31 December") << QDate(2025, 12, 31) << true;
        QTest::newRow("1 January after") << QDate(2026, 1, 1) << true;
    }
    void documentsOnTheYearsBounds() {
        QFETCH(QDate, date);
        QFETCH(bool, ownRow);
        for (const char *table : {"CARICHI", "RESI"}) {
            ShopFixture f;
            f.add(QStringLiteral("FORNITOR"),
                  {{QStringLiteral("CODICE"), 3}, {QStringLiteral("NOME"), QStringLiteral("F3")}});
            addDocument(f, table, 1, 3, date, 250.5);
            SupplierStatement s(f.db());
            s.build(2025);
            const QList<Row> rows = rowsOf(f, 3);
            const double signedTotal = QByteArray(table) == "RESI" ? -250.5 : 250.5;
            QCOMPARE(rows.first().kind, QStringLiteral("Dare Iniziale"));
            QCOMPARE(rows.first().total, ownRow ? 0.0 : signedTotal);
            QCOMPARE(rows.size(), ownRow ? 2 : 1);
            if (ownRow) {
                QCOMPARE(rows[1].date, date.toString(QStringLiteral("dd/MM/yyyy")));
                QCOMPARE(rows[1].total, signedTotal);
            }
            QVERIFY(sameCents(s.balance(3), signedTotal));
        }
    }

    // Three documents of 19,90 paid with 59,70: the running balance comes to
    // nothing at the cent and prints nothing on that row.
    void aSettledBalancePrintsNothing() {
        StatementPrintout p;
        p.supplier = QStringLiteral("FORNITORE");
        for (int i = 1; i <= 3; ++i)
            p.movements << StatementPrintout::Movement{QStringLiteral("2026010%1").arg(i),
                                                       QStringLiteral("0%1/01/2026").arg(i),
                                                       QString::number(i),
                                                       QStringLiteral("FATTURA"),
                                                       19.90,
                                                       0};
        p.movements << StatementPrintout::Movement{QStringLiteral("20260105"),
                                                   QStringLiteral("05/01/2026"),
                                                   QString(),
                                                   QStringLiteral("PAGAMENTO"),
                                                   0,
                                                   59.70};
        RecordingCanvas canvas;
        p.draw(canvas);
        // The three figures before the period and the final balance: nothing in between.
        QCOMPARE(canvas.textsContaining(QStringLiteral("0,00")).size(), 4);
        QCOMPARE(canvas.textsContaining(QStringLiteral("59,70")).size(), 2); // row and balance
    }
};

QTEST_MAIN(TestSupplierStatement)
#include "tst_supplierstatement.moc"

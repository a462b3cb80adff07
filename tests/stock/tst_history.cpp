#include "StockData.h"
#include "common/Widgets.h"

#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "stock/ArticleHistory.h"
#include "stock/TFStorico.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace corvale;
using namespace stockdata;
using testing::child;

namespace {

void header(ShopFixture &f, const QString &table, qint64 key, qint64 number, QDate date,
            const QString &partner = {}) {
    QVariantMap values{{QStringLiteral("NUMREG"), key},
                       {QStringLiteral("NUMDOC"), number},
                       {QStringLiteral("DATADOC"), date},
                       {QStringLiteral("MYDATA"), date.toString(QStringLiteral("yyyyMMdd"))}};
    if (!partner.isEmpty())
        values.insert(QStringLiteral("RAGSOC"), partner);
    f.add(table, values);
}

void purchaseLine(ShopFixture &f, const QString &table, qint64 document, qint64 article, double q,
                  double price) {
    f.add(table, {{QStringLiteral("NUMCAR"), document},
                  {QStringLiteral("NUMART"), article},
                  {QStringLiteral("QUANTITA"), q},
                  {QStringLiteral("PREZZO"), price},
                  {QStringLiteral("IMPORTO"), q * price},
                  {QStringLiteral("COLORE"), QStringLiteral("NERO")},
                  {QStringLiteral("CTAGLIA"), QStringLiteral("42")}});
}

void saleLine(ShopFixture &f, qint64 document, qint64 article, double q, double price,
              double discount) {
    f.add(QStringLiteral("ARCART_V"),
          {{QStringLiteral("NUMVEN"), document},
           {QStringLiteral("NUMART"), article},
           {QStringLiteral("QUANTITA"), q},
           {QStringLiteral("PREZZO"), price},
           {QStringLiteral("SCONTO"), discount},
           {QStringLiteral("IMPORTO"), q * price * (1 - discount / 100)},
           {QStringLiteral("TIPO"), true}});
}

// Article 1: received twice (3 at 10, 2 at 12.50), returned once (1 at 10), sold at
// the counter (2 at 100 less 10%) and on an invoice (1 at 50) — in February 2026.
void plant(ShopFixture &f) {
    addArticle(f, {1, QStringLiteral("GIACCA")});
    addArticle(f, {2, QStringLiteral("ALTRO")});
    header(f, QStringLiteral("CARICHI"), 10, 1, QDate(2026, 2, 2), QStringLiteral("ROSSI"));
    header(f, QStringLiteral("CARICHI"), 11, 2, QDate(2026, 2, 28), QStringLiteral("BIANCHI"));
    header(f, QStringLiteral("RESI"), 12, 1, QDate(2026, 2, 5), QStringLiteral("ROSSI"));
    purchaseLine(f, QStringLiteral("ARCART_A"), 10, 1, 3, 10);
    purchaseLine(f, QStringLiteral("ARCART_A"), 11, 1, 2, 12.5);
    purchaseLine(f, QStringLiteral("ARCART_A"), 11, 2, 7, 1);
    purchaseLine(f, QStringLiteral("ARCART_R"), 12, 1, 1, 10);
    header(f, QStringLiteral("VENDITE"), 20, 1, QDate(2026, 2, 3));
    header(f, QStringLiteral("FATTURE"), 21, 2, QDate(2025, 12, 3), QStringLiteral("CLIENTE SPA"));
    saleLine(f, 20, 1, 2, 100, 10);
    saleLine(f, 21, 1, 1, 50, 0);
}

struct Entry {
    QString partner, side, type, number;
    double quantity, price;
};

QList<Entry> listed(ArticleHistory &h) {
    QList<Entry> out;
    db::Table &t = h.list();
    for (t.first(); !t.eof(); t.next())
        out << Entry{t.asString(QStringLiteral("CLIENTE")),
                     t.asString(QStringLiteral("TD")),
                     t.asString(QStringLiteral("TIPO")),
                     t.asString(QStringLiteral("NUMERO")),
                     t.asFloat(QStringLiteral("QUANTITA")),
                     t.asString(QStringLiteral("TD")) == QLatin1String("A")
                         ? t.asFloat(QStringLiteral("PREZZOA"))
                         : t.asFloat(QStringLiteral("PREZZOV"))};
    t.first();
    return out;
}

MovementPeriod periodOf(MovementPeriod::Kind kind) {
    MovementPeriod p;
    p.kind = kind;
    return p;
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void movementsAndAverages() {
        ShopFixture f;
        plant(f);
        ArticleHistory h(*f.shop);
        h.load(1);
        QCOMPARE(h.averagePurchasePrice(), 11.25);
        QCOMPARE(h.averageSalePrice(), (180.0 + 50.0) / 3);

        QCOMPARE(h.applyView(ArticleHistory::Side::Purchases, periodOf(MovementPeriod::Kind::Any)),
                 4.0);
        const QList<Entry> purchases = listed(h);
        QCOMPARE(purchases.size(), 3);
        // By partner, then date.
        QCOMPARE(purchases[0].partner, QStringLiteral("BIANCHI"));
        QCOMPARE(purchases[0].price, 12.5);
        QCOMPARE(purchases[1].partner, QStringLiteral("ROSSI"));
        QCOMPARE(purchases[1].type, QStringLiteral("A"));
        QCOMPARE(purchases[2].type, QStringLiteral("R"));
        QCOMPARE(purchases[2].quantity, -1.0);

        QCOMPARE(h.applyView(ArticleHistory::Side::Sales, periodOf(MovementPeriod::Kind::Any)),
                 3.0);
        const QList<Entry> sales = listed(h);
        QCOMPARE(sales.size(), 2);
        QCOMPARE(sales[0].partner, QStringLiteral("CLIENTE SPA"));
        QCOMPARE(sales[0].type, QStringLiteral("F"));
        QCOMPARE(sales[0].side, QStringLiteral("V"));
        QCOMPARE(sales[1].partner, QStringLiteral("VENDITA AL BANCO"));
        QCOMPARE(sales[1].type, QStringLiteral("V"));
        QCOMPARE(sales[1].price, 90.0);

        // The invoice of December falls outside the current year.
        QCOMPARE(
            h.applyView(ArticleHistory::Side::Sales, periodOf(MovementPeriod::Kind::CurrentYear)),
            2.0);
    }

    void currentMonthOfFebruary() {
        ShopFixture f;
        f.clock.setFixedDate(QDate(2026, 2, 10));
        plant(f);
        ArticleHistory h(*f.shop);
        h.load(1);
        // The receipt of 28 February is in the month.
        QCOMPARE(h.applyView(ArticleHistory::Side::Purchases,
                             periodOf(MovementPeriod::Kind::CurrentMonth)),
                 4.0);
        QCOMPARE(ArticleHistory::viewFilter(ArticleHistory::Side::Purchases,
                                            periodOf(MovementPeriod::Kind::CurrentMonth),
                                            f.clock.today()),
                 QStringLiteral("(TD='A') AND (MYDATA >= '20260201') AND (MYDATA <= '20260228')"));
    }

    // A period's bounds by what the list shows: movements on the day before
    // its first day, on its first and last day and on the day after, each a
    // different power of two, so the total tells which are in.
    void periodBoundsByStoredMovements_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<double>("expected");
        // Today is 10 February 2026.
        QTest::newRow("current month") << int(MovementPeriod::Kind::CurrentMonth)
                                       << QDate(2026, 2, 1) << QDate(2026, 2, 28) << 6.0;
        QTest::newRow("current year") << int(MovementPeriod::Kind::CurrentYear) << QDate(2026, 1, 1)
                                      << QDate(2026, 12, 31) << 6.0;
        QTest::newRow("range") << int(MovementPeriod::Kind::Range) << QDate(2025, 11, 3)
                               << QDate(2026, 1, 15) << 6.0;
        QTest::newRow("one day") << int(MovementPeriod::Kind::Range) << QDate(2025, 12, 31)
                                 << QDate(2025, 12, 31) << 2.0;
        QTest::newRow("any") << int(MovementPeriod::Kind::Any) << QDate(2026, 1, 1)
                             << QDate(2026, 12, 31) << 15.0;
    }
    void periodBoundsByStoredMovements() {
        QFETCH(int, kind);
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QFETCH(double, expected);
        ShopFixture f;
        f.clock.setFixedDate(QDate(2026, 2, 10));
        addArticle(f, {1, QStringLiteral("GIACCA")});
        // The one-day range has its first and last day on the same date.
        const QList<QPair<QDate, double>> days = {{first.addDays(-1), 1},
                                                  {first, 2},
                                                  {last, first == last ? 0 : 4},
                                                  {last.addDays(1), 8}};
        qint64 key = 1;
        for (const auto &[date, quantity] : days) {
            if (quantity == 0)
                continue;
            header(f, QStringLiteral("CARICHI"), key, key, date, QStringLiteral("ROSSI"));
            purchaseLine(f, QStringLiteral("ARCART_A"), key, 1, quantity, 10);
            header(f, QStringLiteral("VENDITE"), key + 100, key, date);
            saleLine(f, key + 100, 1, quantity, 20, 0);
            ++key;
        }
        MovementPeriod period;
        period.kind = MovementPeriod::Kind(kind);
        period.from = first;
        period.to = last;
        ArticleHistory h(*f.shop);
        h.load(1);
        QCOMPARE(h.applyView(ArticleHistory::Side::Purchases, period), expected);
        QCOMPARE(h.applyView(ArticleHistory::Side::Sales, period), expected);
    }

    void noMovements() {
        ShopFixture f;
        plant(f);
        ArticleHistory h(*f.shop);
        h.load(99);
        QCOMPARE(h.averagePurchasePrice(), 0.0);
        QCOMPARE(h.applyView(ArticleHistory::Side::Sales, periodOf(MovementPeriod::Kind::Any)),
                 0.0);
        QVERIFY(listed(h).isEmpty());
        QCOMPARE(ArticleHistory::totalText(0), QStringLiteral("0"));
        QCOMPARE(ArticleHistory::totalText(2.5), QStringLiteral("2,50"));
        QCOMPARE(ArticleHistory::totalText(1234), QStringLiteral("1.234"));
    }

    void window() {
        ShopFixture f;
        plant(f);
        TFStorico w(*f.shop);
        w.setArticle(1, QStringLiteral("800001"), QStringLiteral("GIACCA"));
        w.show();
        QCOMPARE(child<QComboBox>(w, "Visualizza")->currentText(), QStringLiteral("Vendite"));
        QCOMPARE(child<QComboBox>(w, "Periodo")->currentText(), QStringLiteral("Anno Corrente"));
        QCOMPARE(child<QLineEdit>(w, "Prezzo medio")->text(), QStringLiteral("76,67"));
        QCOMPARE(w.grid().rowCount(), 1);
        QCOMPARE(child<QLabel>(w, "TOTALE")->text(), QStringLiteral("2"));
        QCOMPARE(w.grid().model().headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Cliente"));
        child<QComboBox>(w, "Visualizza")->setCurrentIndex(0);
        QCOMPARE(child<QLineEdit>(w, "Prezzo medio")->text(), QStringLiteral("11,25"));
        QCOMPARE(w.grid().model().headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Fornitore"));
        QCOMPARE(w.grid().model().headerData(7, Qt::Horizontal).toString(),
                 QStringLiteral("Prezzo Acq."));
        QCOMPARE(child<QLabel>(w, "TOTALE")->text(), QStringLiteral("4"));
        testing::click(w, "Uscita");
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"

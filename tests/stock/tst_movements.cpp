#include "StockData.h"

#include "db/Table.h"
#include "printing/RecordingCanvas.h"
#include "stock/Movements.h"
#include "stock/MovementsPrintout.h"
#include "stock/StockFilter.h"

#include <QRandomGenerator>
#include <QTest>

#include <map>

using namespace corvale;
using namespace stockdata;

namespace {

MovementPeriod periodOf(MovementPeriod::Kind kind, QDate from = {}, QDate to = {}) {
    MovementPeriod p;
    p.kind = kind;
    p.from = from;
    p.to = to;
    return p;
}

MovementFigures figuresOf(Movements &m, qint64 article) {
    return MovementFigures::of(m.sums(article));
}

} // namespace

class TestMovements : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void receiptsLessReturnsAndSalesLessGivenBack() {
        ShopFixture f;
        addArticle(f, {1, QStringLiteral("A")});
        receipt(f, 1, QDate(2026, 1, 5), 5, 100.00);
        giveBack(f, 1, QDate(2026, 1, 9), 2, 40.00);
        sale(f, 1, QDate(2026, 2, 1), 3, 90.00);
        sale(f, 1, QDate(2026, 2, 2), 1, 30.00, false); // TIPO false gives back
        Movements m(*f.shop);
        m.compute(periodOf(MovementPeriod::Kind::CurrentYear));
        const MovementFigures fig = figuresOf(m, 1);
        QCOMPARE(fig.loads, 3);
        QCOMPARE(fig.purchases.value(), 60.00);
        QCOMPARE(fig.unloads, 2);
        QCOMPARE(fig.sales.value(), 60.00);
        QVERIFY(!fig.margin); // 60 − 60: left empty
        QCOMPARE(m.totals().texts(), (QStringList{"3", "2", "60,00", "60,00", "0,00"}));
        // The list handle carries them for the grid.
        QCOMPARE(m.articles().asFloat(QStringLiteral("cCARICHI")), 3.0);
        QVERIFY(m.articles().isNull(QStringLiteral("cRICAVO")));
    }

    // Each period kind by the movements it sums: on the day before its first
    // day, on its first and last day and on the day after (1, 2, 4 and 8).
    void periodBoundsByStoredMovements_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<int>("expected");
        // Today is 10 February 2026.
        QTest::newRow("current month") << int(MovementPeriod::Kind::CurrentMonth)
                                       << QDate(2026, 2, 1) << QDate(2026, 2, 28) << 6;
        QTest::newRow("current year") << int(MovementPeriod::Kind::CurrentYear) << QDate(2026, 1, 1)
                                      << QDate(2026, 12, 31) << 6;
        QTest::newRow("range") << int(MovementPeriod::Kind::Range) << QDate(2025, 11, 3)
                               << QDate(2026, 1, 15) << 6;
        QTest::newRow("any") << int(MovementPeriod::Kind::Any) << QDate(2026, 1, 1)
                             << QDate(2026, 12, 31) << 15;
    }
    void periodBoundsByStoredMovements() {
        QFETCH(int, kind);
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QFETCH(int, expected);
        ShopFixture f;
        f.clock.setFixedDate(QDate(2026, 2, 10));
        addArticle(f, {1, QStringLiteral("A")});
        const QList<QPair<QDate, int>> days = {
            {first.addDays(-1), 1}, {first, 2}, {last, 4}, {last.addDays(1), 8}};
        for (const auto &[date, quantity] : days) {
            receipt(f, 1, date, quantity, 10.0 * quantity);
            sale(f, 1, date, quantity, 20.0 * quantity);
        }
        Movements m(*f.shop);
        m.compute(periodOf(MovementPeriod::Kind(kind), first, last));
        const MovementFigures fig = figuresOf(m, 1);
        QCOMPARE(fig.loads, qint64(expected));
        QCOMPARE(fig.unloads, qint64(expected));
    }

    // Sums of amounts carry binary noise; the summary takes them to the cent
    // before it shows, keeps or exports them.
    void amountsTakenToTheCent() {
        ShopFixture f;
        addArticle(f, {1, QStringLiteral("A")});
        addArticle(f, {2, QStringLiteral("B")});
        for (int i = 0; i < 3; ++i)
            receipt(f, 1, QDate(2026, 1, 5 + i), 1, 19.90);
        giveBack(f, 1, QDate(2026, 1, 9), 3, 59.70);
        receipt(f, 2, QDate(2026, 1, 5), 2, 0.30);
        sale(f, 2, QDate(2026, 1, 6), 1, 0.10);
        sale(f, 2, QDate(2026, 1, 7), 1, 0.20);
        Movements m(*f.shop);
        m.compute(periodOf(MovementPeriod::Kind::CurrentYear));

        const MovementFigures returned = figuresOf(m, 1);
        QVERIFY(!returned.purchases);
        QVERIFY(!returned.margin);
        QVERIFY(!returned.hasMovements()); // left out under "Solo articoli con movimenti?"
        const MovementFigures even = figuresOf(m, 2);
        QCOMPARE(even.sales.value(), 0.30);
        QVERIFY(!even.margin); // 0,10 + 0,20 sold for 0,30 bought
        m.articles().first();  // "A" comes first in description order
        QCOMPARE(m.articles().asInteger(QStringLiteral("NUMREG")), 1);
        QVERIFY(m.articles().isNull(QStringLiteral("cACQUISTI")));

        const QStringList lines = m.exportLines();
        QCOMPARE(lines[3], QStringLiteral("'800001\tA\t\t\t0\t\t0\t\t\t"));
        QCOMPARE(lines[4], QStringLiteral("'800002\tB\t\t\t2\t0,3\t2\t0,3\t\t"));
        QCOMPARE(m.totals().texts(), (QStringList{"2", "2", "0,30", "0,30", "0,00"}));
    }

    void periods() {
        const QDate feb(2026, 2, 10);
        const MovementPeriod month = periodOf(MovementPeriod::Kind::CurrentMonth);
        QCOMPARE(month.last(feb), QDate(2026, 2, 28));
        QVERIFY(month.contains(QDate(2026, 2, 28), feb));
        QVERIFY(!month.contains(QDate(2026, 3, 1), feb));
        QVERIFY(!month.contains(QDate(2026, 1, 31), feb));
        QCOMPARE(month.last(QDate(2024, 2, 3)), QDate(2024, 2, 29));
        QCOMPARE(month.last(QDate(2026, 4, 30)), QDate(2026, 4, 30));
        QCOMPARE(month.title(feb), QStringLiteral("ELENCO MOVIMENTI NEL MESE 02/2026"));

        const MovementPeriod year = periodOf(MovementPeriod::Kind::CurrentYear);
        QVERIFY(year.contains(QDate(2026, 1, 1), feb));
        QVERIFY(year.contains(QDate(2026, 12, 31), feb));
        QVERIFY(!year.contains(QDate(2025, 12, 31), feb));
        QCOMPARE(year.title(feb), QStringLiteral("ELENCO MOVIMENTI NELL'ANNO 2026"));

        const MovementPeriod any = periodOf(MovementPeriod::Kind::Any);
        QVERIFY(any.contains(QDate(1999, 1, 1), feb));
        QVERIFY(!any.contains(QDate(), feb)); // a line without a date is in no period
        QCOMPARE(any.title(feb), QStringLiteral("ELENCO MOVIMENTI COMPLETO"));

        const MovementPeriod range =
            periodOf(MovementPeriod::Kind::Range, QDate(2025, 11, 1), QDate(2025, 11, 30));
        QVERIFY(range.contains(QDate(2025, 11, 30), feb));
        QVERIFY(!range.contains(QDate(2025, 12, 1), feb));
        QCOMPARE(range.title(feb), QStringLiteral("ELENCO MOVIMENTI DAL 01/11/2025 AL 30/11/2025"));
    }

    void everyArticleNumberAndNoArticle() {
        ShopFixture f;
        addArticle(f, {20000, QStringLiteral("ALTO")});
        receipt(f, 20000, QDate(2026, 3, 1), 4, 10);
        receipt(f, 0, QDate(2026, 3, 1), 50, 500);
        sale(f, -3, QDate(2026, 3, 1), 50, 500);
        giveBack(f, -20000, QDate(2026, 3, 1), 50, 500);
        Movements m(*f.shop);
        m.compute(periodOf(MovementPeriod::Kind::Any));
        QCOMPARE(figuresOf(m, 20000).loads, 4);
        QCOMPARE(m.sums(0).loads, 0);
        QCOMPARE(m.sums(-3).unloads, 0);
        QCOMPARE(m.totals().purchases, 10.0);
    }

    void exportLines() {
        ShopFixture f;
        Movements empty(*f.shop);
        empty.compute(periodOf(MovementPeriod::Kind::CurrentYear));
        const QStringList heading{QStringLiteral("VENDITE - 15/03/2026"), QStringLiteral(" "),
                                  QStringLiteral("CODICE\tARTICOLO\tFORNITORE\tMARCHIO\tCARICHI\t"
                                                 "ACQUISTI\tSCARICHI\tVENDITE\tRICAVO\t")};
        QCOMPARE(empty.exportLines(), heading);

        addArticle(f, {1, QStringLiteral("A"), 0, QStringLiteral("M"), 0, QStringLiteral("F")});
        addArticle(f, {2, QStringLiteral("B")});
        receipt(f, 1, QDate(2026, 1, 5), 2, 20.5);
        sale(f, 1, QDate(2026, 1, 6), 1, 1234.25);
        Movements m(*f.shop);
        m.compute(periodOf(MovementPeriod::Kind::CurrentYear));
        const QStringList lines = m.exportLines();
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[3], QStringLiteral("'800001\tA\tF\tM\t2\t20,5\t1\t1234,25\t1213,75\t"));
        QCOMPARE(lines[4], QStringLiteral("'800002\tB\t\t\t0\t\t0\t\t\t"));
    }

    void printout() {
        QList<MovementRow> rows;
        for (int i = 0; i < 130; ++i) {
            MovementRow r;
            r.code = codeOf(i + 1);
            r.description = QStringLiteral("ART%1").arg(i, 3, 10, QChar(u'0'));
            r.brand = QStringLiteral("M");
            if (i == 0)
                r.figures = MovementFigures::of({100, 5, 250, 2});
            rows << r;
        }
        RecordingCanvas c;
        MovementsPrintout::draw(c, QStringLiteral("NEGOZIO"), {}, QStringLiteral("TITOLO"), rows,
                                MovementTotals::of(rows));
        QVERIFY(c.pageCount() >= 2);
        QVERIFY(c.findText(QStringLiteral("TITOLO"), 1));
        for (int page = 1; page <= c.pageCount(); ++page) {
            QVERIFY(c.findText(QStringLiteral("Ricavo"), page));
            QVERIFY(c.findText(QStringLiteral("- %1 -").arg(page), page));
        }
        const int d = (c.pageWidth() - 100) / 19;
        const CanvasItem *margin = c.findText(QStringLiteral("150,00"), 1);
        QVERIFY(margin);
        QCOMPARE(margin->position.x() + margin->rect.width(), 50 + 19 * d - 10);
        // An article without movements prints 0 and 0,00.
        QVERIFY(c.findText(QStringLiteral("0,00"), 1));
        const CanvasItem *total = c.findText(QStringLiteral("TOTALI"), c.pageCount());
        QVERIFY(total);
        QVERIFY(c.findText(QStringLiteral("250,00"), c.pageCount()));
    }

    // Random documents of three years: the year's summary agrees with sums made here.
    void generatedYearAgreesWithTheLines() {
        ShopFixture f;
        QRandomGenerator random(55);
        for (int a = 1; a <= 40; ++a)
            addArticle(f, {a * 31, QStringLiteral("ART%1").arg(a, 2, 10, QChar(u'0'))});
        struct Sums {
            qint64 loads = 0, unloads = 0;
            double purchases = 0, sales = 0;
        };
        std::map<qint64, Sums> expected;
        for (const char *name : {"ARCART_A", "ARCART_R", "ARCART_V"}) {
            db::Table t(f.db());
            t.setTableName(QString::fromLatin1(name));
            t.open();
            for (int i = 0; i < 500; ++i) {
                const qint64 article = random.bounded(0, 41) * 31;
                const int q = random.bounded(1, 6);
                const double amount = random.bounded(1, 2000) / 4.0;
                const QDate date = QDate(2025, 1, 1).addDays(random.bounded(800));
                const bool tipo = random.bounded(8) != 0;
                t.append();
                t.setInteger(QStringLiteral("NUMART"), article);
                t.setFloat(QStringLiteral("QUANTITA"), q);
                t.setFloat(QStringLiteral("IMPORTO"), amount);
                t.setDate(QStringLiteral("DATAREG"), date);
                if (QByteArray(name) == "ARCART_V")
                    t.setBool(QStringLiteral("TIPO"), tipo);
                t.post();
                if (article == 0 || date.year() != 2026)
                    continue;
                Sums &s = expected[article];
                if (QByteArray(name) == "ARCART_V") {
                    s.unloads += tipo ? q : -q;
                    s.sales += tipo ? amount : -amount;
                } else {
                    const int sign = QByteArray(name) == "ARCART_A" ? 1 : -1;
                    s.loads += sign * q;
                    s.purchases += sign * amount;
                }
            }
        }
        Movements m(*f.shop);
        m.compute(periodOf(MovementPeriod::Kind::CurrentYear));
        for (const auto &[article, s] : expected) {
            const MovementSums got = m.sums(article);
            QCOMPARE(got.loads, s.loads);
            QCOMPARE(got.unloads, s.unloads);
            QVERIFY(qAbs(got.purchases - s.purchases) < 1e-6);
            QVERIFY(qAbs(got.sales - s.sales) < 1e-6);
        }
        QCOMPARE(m.rows().size(), 40);
    }
};

QTEST_MAIN(TestMovements)
#include "tst_movements.moc"

#include "../stock/SizeRunData.h"

#include "catalogue/SizeCurve.h"
#include "printing/RecordingCanvas.h"
#include "statistics/SizeCurveChart.h"
#include "statistics/TFCurvaTaglie.h"

#include <QLabel>
#include <QRandomGenerator>
#include <QStandardItemModel>
#include <QTest>

using namespace corvale;
using namespace sizerun;

namespace {

SizeCurve::Counts counts(const QList<qint64> &values) {
    SizeCurve::Counts out{};
    for (int i = 0; i < values.size(); ++i)
        out[size_t(i)] = values[i];
    return out;
}

QList<qint64> first(const SizeCurve::Counts &c, int n) {
    return QList<qint64>(c.begin(), c.begin() + n);
}

void line(ShopFixture &f, const QString &table, qint64 article, int position, int quantity,
          QDate date, bool sale = true) {
    QVariantMap v{{QStringLiteral("NUMART"), article},
                  {QStringLiteral("COLORE"), QStringLiteral("NERO")},
                  {QStringLiteral("TAGLIA"), position},
                  {QStringLiteral("QUANTITA"), quantity},
                  {QStringLiteral("DATAREG"), date}};
    if (table == QLatin1String("ARCART_V"))
        v.insert(QStringLiteral("TIPO"), sale);
    f.add(table, v);
}

} // namespace

class TestSizeCurve : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void largestRemainder_data() {
        QTest::addColumn<QList<qint64>>("weights");
        QTest::addColumn<int>("total");
        QTest::addColumn<QList<qint64>>("expected");
        QTest::newRow("equal thirds: the first takes the piece left")
            << QList<qint64>{1, 1, 1} << 10 << QList<qint64>{4, 3, 3};
        QTest::newRow("largest remainder wins")
            << QList<qint64>{0, 5, 3, 2} << 7 << QList<qint64>{0, 4, 2, 1};
        QTest::newRow("equal remainders: the larger weight")
            << QList<qint64>{1, 3, 0, 0} << 2 << QList<qint64>{0, 2, 0, 0};
        QTest::newRow("negative weighs nothing")
            << QList<qint64>{-4, 2, 2} << 5 << QList<qint64>{0, 3, 2};
        QTest::newRow("nothing to give") << QList<qint64>{2, 5} << 0 << QList<qint64>{0, 0};
        QTest::newRow("exact") << QList<qint64>{2, 6, 2} << 5 << QList<qint64>{1, 3, 1};
        QTest::newRow("tenths of a percent")
            << QList<qint64>{1, 1, 1} << 1000 << QList<qint64>{334, 333, 333};
    }
    void largestRemainder() {
        QFETCH(QList<qint64>, weights);
        QFETCH(int, total);
        QFETCH(QList<qint64>, expected);
        const auto got = distributeByLargestRemainder(counts(weights), total);
        QVERIFY(got);
        QCOMPARE(first(*got, int(expected.size())), expected);
    }

    void largestRemainderRefusesAnEmptyCurve() {
        QVERIFY(!distributeByLargestRemainder(counts({0, 0, 0}), 5));
        QVERIFY(!distributeByLargestRemainder(counts({-1, -2}), 5));
        QVERIFY(!distributeByLargestRemainder(counts({1}), -1));
    }

    // Whatever the weights, the pieces add up to N exactly and no size gets
    // more than one piece above its quota.
    void largestRemainderSumsExactly() {
        QRandomGenerator random(29);
        for (int run = 0; run < 500; ++run) {
            SizeCurve::Counts w{};
            for (qint64 &x : w)
                x = random.bounded(5) == 0 ? 0 : random.bounded(-3, 400);
            const qint64 n = random.bounded(0, 2000);
            const auto got = distributeByLargestRemainder(w, n);
            qint64 whole = 0;
            for (qint64 x : w)
                whole += std::max<qint64>(x, 0);
            if (whole == 0) {
                QVERIFY(!got);
                continue;
            }
            QVERIFY(got);
            qint64 sum = 0;
            for (size_t i = 0; i < w.size(); ++i) {
                const qint64 weight = std::max<qint64>(w[i], 0);
                QVERIFY((*got)[i] * whole >= n * weight - whole + 1 || weight == 0);
                QVERIFY((*got)[i] * whole < n * weight + whole);
                if (weight == 0)
                    QCOMPARE((*got)[i], 0);
                sum += (*got)[i];
            }
            QCOMPARE(sum, n);
        }
    }

    // A generated shop: the counts against sums made here from the planted lines.
    void curveOfAGeneratedShop() {
        ShopFixture f;
        addGarments(f, 1);
        addSizeType(f, 2, QStringLiteral("SCARPE"), {{1, QStringLiteral("38")}});
        const QDate from(2025, 6, 1), to(2026, 2, 28);
        QRandomGenerator random(7);
        SizeCurve::Counts sold{}, received{};
        for (qint64 a = 1; a <= 30; ++a) {
            const qint64 type = a % 5 == 0 ? 2 : 1;
            auto art = article(a, QStringLiteral("ART %1").arg(a), type);
            art.brandKey = a % 3 == 0 ? 9 : 4;
            stockdata::addArticle(f, art);
            for (int k = random.bounded(12); k > 0; --k) {
                const int p = random.bounded(1, 7); // 6 is a position without a label
                const int q = random.bounded(1, 4);
                const QDate d = from.addDays(random.bounded(-30, 300));
                const bool receipt = random.bounded(3) == 0;
                const bool isSale = random.bounded(8) > 0;
                line(f, receipt ? QStringLiteral("ARCART_A") : QStringLiteral("ARCART_V"), a, p, q,
                     d, isSale);
                if (type != 1 || art.brandKey != 4 || d < from || d > to)
                    continue;
                if (receipt)
                    received[size_t(p - 1)] += q;
                else
                    sold[size_t(p - 1)] += isSale ? q : -q;
            }
        }
        SizeRunSelection s;
        s.sizeType = 1;
        s.brand = 4;
        const SizeCurve curve = SizeCurve::compute(f.db(), s, from, to);
        QCOMPARE(curve.sold, sold);
        QCOMPARE(curve.received, received);
        QCOMPARE(curve.type.name, QStringLiteral("CONFEZIONI"));
        qint64 soldPositive = 0;
        for (qint64 x : sold)
            soldPositive += std::max<qint64>(x, 0);
        QCOMPARE(curve.soldTotal(), soldPositive);
        // The shares shown add up to 100 % exactly; the counts stay whole.
        for (const SizeCurve::Counts &shares : {curve.soldShares(), curve.receivedShares()}) {
            qint64 sum = 0;
            for (qint64 x : shares)
                sum += x;
            QCOMPARE(sum, 1000);
        }
        QVERIFY(curve.positions().contains(6) == (sold[5] != 0 || received[5] != 0));
        const QStringList lines = curve.exportLines(QDate(2026, 3, 15), from, to);
        QCOMPARE(lines[1], QStringLiteral("TAGLIA CONFEZIONI - dal 01/06/2025 al 28/02/2026"));
        QVERIFY(
            lines.last().startsWith(QStringLiteral("TOTALI\t%1\t100,0\t").arg(curve.soldTotal())));

        // No size type: no curve.
        QCOMPARE(SizeCurve::compute(f.db(), {}, from, to).soldTotal(), 0);
    }

    void chart() {
        SizeCurve curve;
        curve.type.name = QStringLiteral("CONFEZIONI");
        curve.type.labels[0] = QStringLiteral("S");
        curve.type.labels[1] = QStringLiteral("M");
        curve.type.labels[2] = QStringLiteral("L");
        curve.sold = counts({1, 3, 0});     // 25 %, 75 %
        curve.received = counts({2, 1, 1}); // 50 %, 25 %, 25 %
        QCOMPARE(SizeCurveChart::scaleTop(curve), 80);
        RecordingCanvas canvas(SizeCurveChart::width, SizeCurveChart::height, 96);
        SizeCurveChart::draw(canvas, SizeCurveChart::width, SizeCurveChart::height, curve,
                             QStringLiteral("dal 01/01/2026 al 15/03/2026"));
        QList<CanvasItem> rects;
        for (const CanvasItem &i : canvas.items())
            if (i.kind == CanvasItem::Kind::Rectangle)
                rects << i;
        // The frame, two legend boxes and five bars (L sold nothing).
        QCOMPARE(rects.size(), 8);
        const int step = (SizeCurveChart::height - 100) / 10;
        // 75 % on a scale of 80 %: 75 / 80 of ten steps.
        const int tallest = (750 * 10 * step + 400) / 800;
        int highest = 0;
        for (int i = 3; i < rects.size(); ++i)
            highest = std::max(highest, rects[i].rect.height());
        QVERIFY(qAbs(highest - tallest) <= 1);
        QVERIFY(!canvas.textsContaining(QStringLiteral("80%")).isEmpty());
        QVERIFY(!canvas.textsContaining(QStringLiteral("CURVA TAGLIE - CONFEZIONI")).isEmpty());
    }

    void window() {
        ShopFixture f;
        addGarments(f, 1);
        stockdata::addArticle(f, article(1, QStringLiteral("MAGLIA"), 1));
        line(f, QStringLiteral("ARCART_V"), 1, 2, 3, QDate(2026, 3, 1));
        line(f, QStringLiteral("ARCART_V"), 1, 3, 1, QDate(2026, 3, 2));
        line(f, QStringLiteral("ARCART_A"), 1, 3, 4, QDate(2026, 1, 2));
        TFCurvaTaglie w(*f.shop);
        w.show();
        QCOMPARE(w.from(), QDate(2025, 3, 16));
        QCOMPARE(w.model().rowCount(), 5);
        QCOMPARE(w.model().item(1, 2)->text(), QStringLiteral("75,0"));
        QCOMPARE(w.model().item(2, 4)->text(), QStringLiteral("100,0"));
        QCOMPARE(w.totals().text(), QStringLiteral("Venduti 4   Ricevuti 4"));
        QCOMPARE(w.chart().size(), QSize(SizeCurveChart::width, SizeCurveChart::height));
    }
};

QTEST_MAIN(TestSizeCurve)
#include "tst_sizecurve.moc"

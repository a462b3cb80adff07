#include "SizeRunData.h"
#include "common/Widgets.h"

#include "printing/RecordingCanvas.h"
#include "stock/BrokenSizes.h"
#include "stock/ReportTablePrintout.h"
#include "stock/TFTaglieRotte.h"

#include <QLabel>
#include <QRandomGenerator>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

using namespace corvale;
using namespace sizerun;

namespace {

QStringList describe(const QList<BrokenSizeRow> &rows) {
    QStringList out;
    for (const BrokenSizeRow &r : rows)
        out << QStringLiteral("%1/%2 [%3] %4 %5")
                   .arg(r.article)
                   .arg(r.colour, r.missingLabels.join(u' '))
                   .arg(r.pieces)
                   .arg(r.value.cents());
    return out;
}

} // namespace

class TestBrokenSizes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One article of the garments (S M L XL XXL, core M..XL) at 12,34 and one
    // colour with the cells given; what the report says of it.
    void oneColour_data() {
        QTest::addColumn<QMap<int, int>>("cells");
        QTest::addColumn<QStringList>("expected");
        auto row = [](const QString &missing, int pieces) {
            return QStringList{
                QStringLiteral("1/NERO [%1] %2 %3").arg(missing).arg(pieces).arg(pieces * 1234)};
        };
        QTest::newRow("full run") << QMap<int, int>{{2, 1}, {3, 1}, {4, 1}} << QStringList{};
        QTest::newRow("middle sold out")
            << QMap<int, int>{{1, 1}, {2, 2}, {4, 1}} << row(QStringLiteral("L"), 4);
        QTest::newRow("edges outside the core sold out")
            << QMap<int, int>{{2, 1}, {3, 1}, {4, 1}} << QStringList{};
        QTest::newRow("edge of the core sold out")
            << QMap<int, int>{{1, 3}, {3, 1}, {4, 1}, {5, 2}} << row(QStringLiteral("M"), 7);
        QTest::newRow("negative counts as missing, not as pieces")
            << QMap<int, int>{{2, -1}, {3, 2}} << row(QStringLiteral("M XL"), 2);
        QTest::newRow("whole core gone, stock outside it")
            << QMap<int, int>{{5, 3}} << row(QStringLiteral("M L XL"), 3);
        QTest::newRow("nothing left") << QMap<int, int>{} << QStringList{};
        QTest::newRow("only negative cells") << QMap<int, int>{{3, -2}} << QStringList{};
        QTest::newRow("stock on a position without a label")
            << QMap<int, int>{{9, 2}, {2, 1}, {3, 1}} << row(QStringLiteral("XL"), 4);
    }
    void oneColour() {
        using Cells = QMap<int, int>;
        QFETCH(Cells, cells);
        QFETCH(QStringList, expected);
        ShopFixture f;
        addGarments(f);
        stockdata::addArticle(f, article(1, QStringLiteral("MAGLIA"), 1, 12.34));
        stockRow(f, 1, QStringLiteral("NERO"), cells);
        QCOMPARE(describe(BrokenSizes::compute(f.db(), {})), expected);
    }

    // Which articles have a core at all.
    void coreOfTheSizeType() {
        ShopFixture f;
        addGarments(f, 1);
        // No core chosen: every labelled size is core; position 3 has no label.
        addSizeType(
            f, 2, QStringLiteral("SCARPE"),
            {{1, QStringLiteral("38")}, {2, QStringLiteral("39")}, {4, QStringLiteral("41")}});
        // A core whose range holds an unlabelled position.
        addSizeType(
            f, 3, QStringLiteral("BAMBINO"),
            {{1, QStringLiteral("2A")}, {3, QStringLiteral("4A")}, {4, QStringLiteral("6A")}}, 1,
            4);
        stockdata::addArticle(f, article(1, QStringLiteral("SENZA TIPO"), 0));
        stockdata::addArticle(f, article(2, QStringLiteral("TIPO SPARITO"), 42));
        stockdata::addArticle(f, article(3, QStringLiteral("SCARPA"), 2));
        stockdata::addArticle(f, article(4, QStringLiteral("BIMBO"), 3));
        stockdata::addArticle(f, article(5, QStringLiteral("MAI ARRIVATO"), 1));
        for (qint64 a : {1, 2})
            stockRow(f, a, QStringLiteral("NERO"), {{5, 4}});
        stockRow(f, 3, QStringLiteral("NERO"), {{1, 1}, {2, 1}, {4, 1}});
        stockRow(f, 3, QStringLiteral("BLU"), {{1, 1}, {4, 1}, {3, 5}});
        stockRow(f, 4, QStringLiteral("ROSSO"), {{1, 1}, {3, 1}, {4, 1}}); // 2 is no size
        stockRow(f, 4, QStringLiteral("VERDE"), {{1, 1}, {3, 0}, {4, 1}});
        QCOMPARE(describe(BrokenSizes::compute(f.db(), {})),
                 (QStringList{QStringLiteral("3/BLU [39] 7 7000"),
                              QStringLiteral("4/VERDE [4A] 2 2000")}));
    }

    // A generated shop against the rule worked out here on the planted cells.
    void generatedShop() {
        ShopFixture f;
        addGarments(f, 1);
        addSizeType(f, 2, QStringLiteral("SCARPE"),
                    {{3, QStringLiteral("36")},
                     {4, QStringLiteral("37")},
                     {5, QStringLiteral("38")},
                     {7, QStringLiteral("40")},
                     {8, QStringLiteral("41")}});
        const QMap<qint64, QList<int>> core{{1, {2, 3, 4}}, {2, {3, 4, 5, 7, 8}}};
        const QMap<qint64, QStringList> labels{{1, {"", "S", "M", "L", "XL"}},
                                               {2, {"", "", "", "36", "37", "38", "", "40", "41"}}};
        QRandomGenerator random(29);
        struct Expected {
            qint64 value;
            QString text;
        };
        QList<Expected> expected;
        for (qint64 a = 1; a <= 80; ++a) {
            const qint64 type = QList<qint64>{0, 1, 2, 2, 1, 9}[random.bounded(6)];
            const int cents = 100 + random.bounded(9000);
            stockdata::addArticle(f, article(a, QStringLiteral("ART %1").arg(a, 3, 10, QChar(u'0')),
                                             type, cents / 100.0));
            const int colours = random.bounded(4); // some articles were never received
            for (int c = 0; c < colours; ++c) {
                QMap<int, int> cells;
                for (int p = 1; p <= 9; ++p)
                    if (random.bounded(3) > 0)
                        cells.insert(p, random.bounded(-2, 4));
                const QString colour = QStringLiteral("COL%1").arg(c);
                stockRow(f, a, colour, cells);
                if (!core.contains(type))
                    continue;
                qint64 pieces = 0;
                for (int q : cells)
                    pieces += q > 0 ? q : 0;
                QStringList missing;
                for (int p : core[type])
                    if (cells.value(p) <= 0)
                        missing << labels[type].value(p);
                if (pieces > 0 && !missing.isEmpty())
                    expected << Expected{pieces * cents, QStringLiteral("%1/%2 [%3] %4 %5")
                                                             .arg(a)
                                                             .arg(colour, missing.join(u' '))
                                                             .arg(pieces)
                                                             .arg(pieces * cents)};
            }
        }
        std::stable_sort(expected.begin(), expected.end(),
                         [](const Expected &x, const Expected &y) { return x.value > y.value; });
        const QList<BrokenSizeRow> rows = BrokenSizes::compute(f.db(), {});
        QVERIFY(rows.size() > 10);
        QCOMPARE(rows.size(), expected.size());
        // Equal values keep article and colour order, as the planted loop made them.
        QStringList want;
        for (const Expected &e : expected)
            want << e.text;
        QCOMPARE(describe(rows), want);
        qint64 cents = 0;
        for (const Expected &e : expected)
            cents += e.value;
        QCOMPARE(BrokenSizes::totals(rows).value.cents(), cents);
    }

    void selection_data() {
        QTest::addColumn<SizeRunSelection>("selection");
        QTest::addColumn<QList<qint64>>("articles");
        auto sel = [](auto set) {
            SizeRunSelection s;
            set(s);
            return s;
        };
        QTest::newRow("all") << SizeRunSelection{} << QList<qint64>{1, 2, 3, 4};
        QTest::newRow("supplier") << sel([](auto &s) { s.supplier = 70; }) << QList<qint64>{1, 3};
        QTest::newRow("brand") << sel([](auto &s) { s.brand = 5; }) << QList<qint64>{2};
        QTest::newRow("category") << sel([](auto &s) { s.category = 8; }) << QList<qint64>{3, 4};
        QTest::newRow("season") << sel([](auto &s) {
            s.season = QStringLiteral("Autunno/Inverno");
        }) << QList<qint64>{1, 4};
        QTest::newRow("season and year") << sel([](auto &s) {
            s.season = QStringLiteral("Autunno/Inverno");
            s.year = 2025;
        }) << QList<qint64>{4};
        QTest::newRow("supplier and category") << sel([](auto &s) {
            s.supplier = 70;
            s.category = 8;
        }) << QList<qint64>{3};
    }
    void selection() {
        QFETCH(SizeRunSelection, selection);
        QFETCH(QList<qint64>, articles);
        ShopFixture f;
        addGarments(f);
        const QList<std::tuple<qint64, qint64, qint64, QString, int>> planted{
            {70, 4, 0, QStringLiteral("Autunno/Inverno"), 2026},
            {71, 5, 0, QStringLiteral("Primavera/Estate"), 2026},
            {70, 4, 8, QStringLiteral("Quattro Stagioni"), 2025},
            {72, 4, 8, QStringLiteral("Autunno/Inverno"), 2025}};
        qint64 key = 0;
        for (const auto &[supplier, brand, category, season, year] : planted) {
            ++key;
            auto a = article(key, QStringLiteral("ART %1").arg(key), 1, 100 - key);
            a.supplierKey = supplier;
            a.brandKey = brand;
            a.category = category;
            a.season = season;
            stockdata::addArticle(f, a);
            setArticle(f, key, QStringLiteral("ANNO"), year);
            stockRow(f, key, QStringLiteral("NERO"), {{1, 1}});
        }
        QList<qint64> got;
        for (const BrokenSizeRow &r : BrokenSizes::compute(f.db(), selection))
            got << r.article;
        QCOMPARE(got, articles);
    }

    void exportAndPrintout() {
        ShopFixture f;
        addGarments(f);
        auto a = article(1, QStringLiteral("MAGLIA"), 1, 19.9);
        a.supplier = QStringLiteral("ROSSI SPA");
        a.brand = QStringLiteral("ACME");
        a.season = QStringLiteral("Primavera/Estate");
        stockdata::addArticle(f, a);
        setArticle(f, 1, QStringLiteral("ANNO"), 2026);
        stockRow(f, 1, QStringLiteral("NERO"), {{1, 2}, {3, 1}});
        const QList<BrokenSizeRow> rows = BrokenSizes::compute(f.db(), {});
        const QStringList lines = BrokenSizes::exportLines(rows, QDate(2026, 3, 15));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("TAGLIE ROTTE - 15/03/2026"));
        QCOMPARE(lines[3], QStringLiteral("'800001\tMAGLIA\tNERO\tROSSI SPA\tACME\t"
                                          "Primavera/Estate 2026\tM XL\t3\t59,70\t"));

        TFTaglieRotte window(*f.shop);
        window.show();
        QCOMPARE(window.model().rowCount(), 1);
        QCOMPARE(window.model().item(0, 6)->text(), QStringLiteral("M XL"));
        QCOMPARE(window.totals().text(), QStringLiteral("Righe 1   Pezzi 3   Valore 59,70"));
        // The selected row's article shows its colours and sizes under the list.
        window.list().setCurrentIndex(window.model().index(0, 0));
        QCOMPARE(window.stockRows().rowCount(), 1);
        QCOMPARE(window.stockRows().item(0, 0)->text(), QStringLiteral("NERO"));
        QCOMPARE(window.stockRows().item(0, 1)->text(), QStringLiteral("2"));
        QCOMPARE(window.stockGrid().model()->headerData(3, Qt::Horizontal).toString(),
                 QStringLiteral("L"));
        qint64 opened = 0;
        window.setArticleCard([&](qint64 key) { opened = key; });
        const QModelIndex cell = window.model().index(0, 1);
        emit window.list().doubleClicked(cell);
        QCOMPARE(opened, 1);

        ReportTablePrintout::Document d;
        d.title = QStringLiteral("TAGLIE ROTTE");
        d.columns = {{QStringLiteral("Articolo"), 3, false}, {QStringLiteral("Pezzi"), 1, true}};
        for (int i = 0; i < 300; ++i)
            d.rows << QStringList{QStringLiteral("RIGA %1").arg(i), QString::number(i)};
        d.closing = {QStringLiteral("TOTALI"), QStringLiteral("44850")};
        RecordingCanvas canvas;
        ReportTablePrintout::draw(canvas, d);
        const int pages = canvas.items().last().page;
        QVERIFY(pages > 1);
        // The column titles head every page; every row is printed once.
        for (int p = 1; p <= pages; ++p)
            QCOMPARE(canvas.textsContaining(QStringLiteral("Pezzi"), p).size(), 1);
        QCOMPARE(canvas.textsContaining(QStringLiteral("RIGA ")).size(), 300);
        QCOMPARE(canvas.textsContaining(QStringLiteral("44850")).size(), 1);
    }
};

QTEST_MAIN(TestBrokenSizes)
#include "tst_brokensizes.moc"

#include "SizeRunData.h"
#include "common/Widgets.h"

#include "db/Table.h"
#include "purchasing/OrderLoader.h"
#include "shell/CommonRoutines.h"
#include "stock/ReorderOrders.h"
#include "stock/ReorderSuggestions.h"
#include "stock/TFRiordino.h"

#include <QLabel>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTest>

using namespace corvale;
using namespace sizerun;

namespace {

const QDate today(2026, 3, 15);

void saleLine(ShopFixture &f, qint64 article, const QString &colour, int position, int quantity,
              QDate date, bool sale = true) {
    f.add(QStringLiteral("ARCART_V"), {{QStringLiteral("NUMVEN"), 1},
                                       {QStringLiteral("NUMART"), article},
                                       {QStringLiteral("COLORE"), colour},
                                       {QStringLiteral("TAGLIA"), position},
                                       {QStringLiteral("QUANTITA"), quantity},
                                       {QStringLiteral("DATAREG"), date},
                                       {QStringLiteral("TIPO"), sale}});
}

void order(ShopFixture &f, qint64 key, qint64 supplier) {
    f.add(QStringLiteral("ORDINI"), {{QStringLiteral("NUMREG"), key},
                                     {QStringLiteral("NUMDOC"), key},
                                     {QStringLiteral("NUMRAG"), supplier},
                                     {QStringLiteral("DATADOC"), today.addDays(-3)},
                                     {QStringLiteral("MYDATA"), QStringLiteral("20260312")}});
}

void orderLine(ShopFixture &f, qint64 orderKey, qint64 article, const QString &colour, int position,
               int quantity) {
    f.add(QStringLiteral("ARCART_O"), {{QStringLiteral("NUMCAR"), orderKey},
                                       {QStringLiteral("NUMART"), article},
                                       {QStringLiteral("DESCRIZION"), QStringLiteral("ORDINATO")},
                                       {QStringLiteral("COLORE"), colour},
                                       {QStringLiteral("TAGLIA"), position},
                                       {QStringLiteral("QUANTITA"), quantity}});
}

QString key(qint64 article, const QString &colour, int position) {
    return QStringLiteral("%1/%2/%3").arg(article).arg(colour).arg(position);
}

// article/colour/position -> "sold stock onOrder suggested"
QMap<QString, QString> figures(const QList<ReorderRow> &rows) {
    QMap<QString, QString> out;
    for (const ReorderRow &r : rows)
        out.insert(
            key(r.article, r.colour, r.position),
            QStringLiteral("%1 %2 %3 %4").arg(r.sold).arg(r.stock).arg(r.onOrder).arg(r.suggested));
    return out;
}

} // namespace

class TestReorder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void suggestion_data() {
        QTest::addColumn<int>("sold");
        QTest::addColumn<int>("stock");
        QTest::addColumn<int>("onOrder");
        QTest::addColumn<int>("salesWeeks");
        QTest::addColumn<int>("coverWeeks");
        QTest::addColumn<int>("expected");
        QTest::newRow("half the sales") << 8 << 0 << 0 << 8 << 4 << 4;
        QTest::newRow("rounded up to a whole piece") << 9 << 0 << 0 << 8 << 4 << 5;
        QTest::newRow("stock covers it: never below zero") << 8 << 10 << 0 << 8 << 4 << 0;
        QTest::newRow("negative stock is no debt") << 8 << -3 << 0 << 8 << 4 << 4;
        QTest::newRow("on order counts") << 8 << 1 << 2 << 8 << 4 << 1;
        QTest::newRow("more on order than needed") << 8 << 0 << 9 << 8 << 4 << 0;
        QTest::newRow("nothing sold") << 0 << 0 << 0 << 8 << 4 << 0;
        QTest::newRow("more returned than sold") << -2 << 0 << 0 << 8 << 4 << 0;
        QTest::newRow("no cover wanted") << 8 << 0 << 0 << 8 << 0 << 0;
        QTest::newRow("longer cover than sales") << 3 << 1 << 0 << 2 << 5 << 7;
        QTest::newRow("one piece in a year") << 1 << 0 << 0 << 52 << 1 << 1;
    }
    void suggestion() {
        QFETCH(int, sold);
        QFETCH(int, stock);
        QFETCH(int, onOrder);
        QFETCH(int, salesWeeks);
        QFETCH(int, coverWeeks);
        QFETCH(int, expected);
        QCOMPARE(ReorderSuggestions::suggestion(sold, stock, onOrder, {salesWeeks, coverWeeks}),
                 qint64(expected));
    }

    // What the grid says of one article: sales in and out of the weeks,
    // returns, open and loaded orders.
    void figuresOfAShop() {
        ShopFixture f;
        addGarments(f);
        auto a = article(1, QStringLiteral("MAGLIA"), 1);
        a.supplierKey = 70;
        stockdata::addArticle(f, a);
        stockdata::addArticle(f, article(2, QStringLiteral("ALTRO"), 0)); // no size type
        const QDate first = today.addDays(1 - 7 * 8);
        saleLine(f, 1, QStringLiteral("NERO"), 2, 3, today);
        saleLine(f, 1, QStringLiteral("NERO"), 2, 2, first);
        saleLine(f, 1, QStringLiteral("NERO"), 2, 5, first.addDays(-1)); // before the weeks
        saleLine(f, 1, QStringLiteral("NERO"), 2, 4, today.addDays(1));  // after today
        saleLine(f, 1, QStringLiteral("NERO"), 2, 1, today, false);      // a return
        saleLine(f, 1, QStringLiteral("NERO"), 3, 6, today);
        saleLine(f, 2, QStringLiteral("BLU"), 7, 8, today);
        stockRow(f, 1, QStringLiteral("NERO"), {{2, 1}, {3, -2}, {5, 4}});
        order(f, 500, 70); // open
        orderLine(f, 500, 1, QStringLiteral("NERO"), 3, 2);
        order(f, 501, 70); // loaded below: its goods are in the stock
        orderLine(f, 501, 1, QStringLiteral("NERO"), 3, 5);
        OrderLoader loader(f.db(), f.shop->routines(), today);
        QCOMPARE(loader.load(501).outcome, OrderLoader::Outcome::Loaded);
        // An order whose receipt was deleted is open again.
        order(f, 502, 70);
        orderLine(f, 502, 1, QStringLiteral("NERO"), 2, 1);
        {
            db::Table t(f.db());
            t.setTableName(QStringLiteral("ORDINI"));
            t.open();
            for (t.first(); !t.eof(); t.next())
                if (t.asInteger(QStringLiteral("NUMREG")) == 502) {
                    t.edit();
                    t.setInteger(QStringLiteral("NUMCAR"), 9999);
                    t.post();
                }
        }

        const QList<ReorderRow> rows = ReorderSuggestions::compute(f.db(), {}, {8, 4}, today);
        // size 2: sold 3 + 2 - 1 = 4, stock 1, on order 1: ceil(4 x 4 / 8) = 2 - 1 - 1 = 0
        // size 3: sold 6, stock -2 + 5 = 3 (the load), on order 2 (only the open order): 3 - 3 - 2
        // < 0 size 5: nothing sold, 4 in stock
        const QMap<QString, QString> expected{
            {key(1, QStringLiteral("NERO"), 2), QStringLiteral("4 1 1 0")},
            {key(1, QStringLiteral("NERO"), 3), QStringLiteral("6 3 2 0")},
            {key(1, QStringLiteral("NERO"), 5), QStringLiteral("0 4 0 0")},
            {key(2, QStringLiteral("BLU"), 7), QStringLiteral("8 0 0 4")}};
        QCOMPARE(figures(rows), expected);
        for (const ReorderRow &r : rows)
            if (r.article == 2)
                QCOMPARE(r.label, QStringLiteral("Tg 7")); // no size type: the position
            else if (r.position == 3)
                QCOMPARE(r.label, QStringLiteral("L"));

        // A selection by supplier keeps article 1 only.
        SizeRunSelection bySupplier;
        bySupplier.supplier = 70;
        QCOMPARE(ReorderSuggestions::compute(f.db(), bySupplier, {8, 4}, today).size(), 3);
    }

    // A generated shop against figures summed here from the planted lines.
    void generatedShop() {
        ShopFixture f;
        addGarments(f);
        QRandomGenerator random(2929);
        const ReorderSettings settings{6, 3};
        const QDate first = ReorderSuggestions::firstSalesDay(today, settings);
        QMap<QString, std::array<qint64, 3>> planted; // sold, stock, on order
        const QStringList colours{QStringLiteral("NERO"), QStringLiteral("BLU")};
        qint64 orderKey = 100;
        for (qint64 a = 1; a <= 25; ++a) {
            auto art = article(a, QStringLiteral("ART %1").arg(a), random.bounded(3) ? 1 : 0);
            art.supplierKey = 70 + random.bounded(3);
            stockdata::addArticle(f, art);
            for (const QString &colour : colours) {
                if (random.bounded(4) == 0)
                    continue; // a colour never received nor sold
                QMap<int, int> cells;
                for (int p = 1; p <= 5; ++p) {
                    const int q = random.bounded(-1, 4);
                    cells.insert(p, q);
                    planted[key(a, colour, p)][1] += q;
                    for (int s = random.bounded(4); s > 0; --s) {
                        const QDate date = today.addDays(-random.bounded(70));
                        const int sold = random.bounded(1, 3);
                        const bool isSale = random.bounded(6) > 0;
                        saleLine(f, a, colour, p, sold, date, isSale);
                        if (date >= first)
                            planted[key(a, colour, p)][0] += isSale ? sold : -sold;
                    }
                }
                stockRow(f, a, colour, cells);
                if (random.bounded(3) == 0) {
                    order(f, ++orderKey, art.supplierKey);
                    const int p = random.bounded(1, 6);
                    const int q = random.bounded(1, 5);
                    orderLine(f, orderKey, a, colour, p, q);
                    planted[key(a, colour, p)][2] += q;
                }
            }
        }
        QMap<QString, QString> expected;
        for (auto it = planted.begin(); it != planted.end(); ++it) {
            const auto &[sold, stock, onOrder] = it.value();
            if (sold == 0 && stock == 0 && onOrder == 0)
                continue;
            // ceil(sold x 3 / 6) with sold > 0, written out apart from the code.
            const qint64 wanted = sold > 0 ? (sold + 1) / 2 : 0;
            const qint64 s = std::max<qint64>(0, wanted - std::max<qint64>(stock, 0) - onOrder);
            expected.insert(it.key(),
                            QStringLiteral("%1 %2 %3 %4").arg(sold).arg(stock).arg(onOrder).arg(s));
        }
        const QList<ReorderRow> rows = ReorderSuggestions::compute(f.db(), {}, settings, today);
        QCOMPARE(figures(rows), expected);
        qint64 suggested = 0;
        for (const ReorderRow &r : rows) {
            QVERIFY(r.suggested >= 0);
            QCOMPARE(r.quantity, r.suggested);
            suggested += r.suggested;
        }
        QVERIFY(suggested > 0);
    }

    // "Crea ordine": one order per supplier holding exactly the edited grid.
    void ordersFromTheEditedGrid() {
        ShopFixture f;
        addGarments(f);
        f.add(QStringLiteral("FORNITOR"),
              {{QStringLiteral("CODICE"), 70}, {QStringLiteral("NOME"), QStringLiteral("ROSSI")}});
        f.add(QStringLiteral("FORNITOR"), {{QStringLiteral("CODICE"), 71},
                                           {QStringLiteral("NOME"), QStringLiteral("BIANCHI")}});
        f.add(QStringLiteral("COLORI"),
              {{QStringLiteral("NUMREG"), 4}, {QStringLiteral("COLORE"), QStringLiteral("NERO")}});
        for (qint64 a = 1; a <= 3; ++a) {
            auto art = article(a, QStringLiteral("ART %1").arg(a), 1, 10 * a);
            art.supplierKey = a == 2 ? 71 : 70;
            stockdata::addArticle(f, art);
            for (int p = 1; p <= 4; ++p)
                saleLine(f, a, QStringLiteral("NERO"), p, 2 * p, today);
        }
        stockdata::addArticle(f, article(4, QStringLiteral("SENZA FORNITORE"), 1));
        saleLine(f, 4, QStringLiteral("NERO"), 1, 4, today);

        QList<ReorderRow> rows = ReorderSuggestions::compute(f.db(), {}, {8, 4}, today);
        QCOMPARE(rows.size(), 13);
        // The user's edits: one row up, one down to 0.
        QMap<QString, qint64> wanted;
        for (ReorderRow &r : rows) {
            if (r.article == 1 && r.position == 2)
                r.quantity = 7;
            if (r.article == 3 && r.position == 4)
                r.quantity = 0;
            if (r.quantity > 0 && r.article != 4)
                wanted.insert(key(r.article, r.colour, r.position), r.quantity);
        }
        const QStringList before = f.column(QStringLiteral("ARCARTTG"), QStringLiteral("TG1"));
        const ReorderOrders::Outcome outcome =
            ReorderOrders::create(f.db(), f.shop->routines(), rows, today);
        QCOMPARE(outcome.orders.size(), 2);
        QCOMPARE(outcome.withoutSupplier, 1);
        QCOMPARE(outcome.orders[0].supplierName, QStringLiteral("ROSSI"));
        QCOMPARE(outcome.orders[1].supplierName, QStringLiteral("BIANCHI"));
        QCOMPARE(outcome.orders[0].number, 1);
        QCOMPARE(outcome.orders[1].number, 2);

        // The stored lines are the grid, order by order.
        QMap<QString, qint64> stored;
        QMap<qint64, qint64> piecesOf;
        db::Table lines(f.db());
        lines.setTableName(QStringLiteral("ARCART_O"));
        lines.open();
        for (lines.first(); !lines.eof(); lines.next()) {
            const qint64 article = lines.asInteger(QStringLiteral("NUMART"));
            const qint64 orderKey = lines.asInteger(QStringLiteral("NUMCAR"));
            const qint64 supplier = article == 2 ? 71 : 70;
            const auto made = std::find_if(outcome.orders.begin(), outcome.orders.end(),
                                           [&](const auto &o) { return o.key == orderKey; });
            QVERIFY(made != outcome.orders.end());
            QCOMPARE(made->supplier, supplier);
            stored.insert(key(article, lines.asString(QStringLiteral("COLORE")),
                              int(lines.asInteger(QStringLiteral("TAGLIA")))),
                          lines.asInteger(QStringLiteral("QUANTITA")));
            piecesOf[orderKey] += lines.asInteger(QStringLiteral("QUANTITA"));
            QCOMPARE(lines.asFloat(QStringLiteral("IMPORTO")),
                     lines.asFloat(QStringLiteral("QUANTITA")) * 10 * article);
            // The line barcode as the size panel makes it: colour 4, size + 100.
            QCOMPARE(lines.asString(QStringLiteral("BARCODE")).mid(6, 6),
                     QStringLiteral("104%1").arg(100 + lines.asInteger(QStringLiteral("TAGLIA"))));
        }
        QCOMPARE(stored, wanted);
        db::Table headers(f.db());
        headers.setTableName(QStringLiteral("ORDINI"));
        headers.open();
        for (headers.first(); !headers.eof(); headers.next()) {
            const qint64 k = headers.asInteger(QStringLiteral("NUMREG"));
            QCOMPARE(headers.asInteger(QStringLiteral("NUMPEZZI")), piecesOf[k]);
            QCOMPARE(headers.asString(QStringLiteral("MYDATA")), QStringLiteral("20260315"));
        }
        // Orders leave the stock alone, and their pieces are on order now.
        QCOMPARE(f.column(QStringLiteral("ARCARTTG"), QStringLiteral("TG1")), before);
        for (const ReorderRow &r : ReorderSuggestions::compute(f.db(), {}, {8, 4}, today))
            if (r.article != 4)
                QCOMPARE(r.onOrder, wanted.value(key(r.article, r.colour, r.position)));
    }

    void windowEditsAndCreates() {
        ShopFixture f;
        addGarments(f);
        f.add(QStringLiteral("FORNITOR"),
              {{QStringLiteral("CODICE"), 70}, {QStringLiteral("NOME"), QStringLiteral("ROSSI")}});
        auto art = article(1, QStringLiteral("MAGLIA"), 1, 5);
        art.supplierKey = 70;
        stockdata::addArticle(f, art);
        saleLine(f, 1, QStringLiteral("NERO"), 2, 8, today);
        TFRiordino window(*f.shop);
        qint64 opened = 0;
        window.setOrderWindow([&](qint64 order) { opened = order; });
        window.show();
        QCOMPARE(window.model().rowCount(), 1);
        QCOMPARE(window.rows()[0].suggested, 4);
        QStandardItem *cell = window.model().item(0, TFRiordino::quantityColumn);
        f.prompter.expectError(
            QStringLiteral("Quantità non valida: indicare un numero intero di pezzi, zero o più."));
        cell->setText(QStringLiteral("-2"));
        QCOMPARE(window.rows()[0].quantity, 4);
        QCOMPARE(cell->text(), QStringLiteral("4"));
        cell->setText(QStringLiteral("6"));
        QCOMPARE(window.rows()[0].quantity, 6);
        QCOMPARE(window.totals().text(), QStringLiteral("Righe 1   Proposta 4   Da ordinare 6"));

        // The settings are kept in Dati.ini and change the suggestion.
        testing::child<QSpinBox>(window, "SettimaneCopertura")->setValue(8);
        QCOMPARE(window.rows()[0].suggested, 8);
        QCOMPARE(ReorderSettings::read(f.shop->ini()).coverWeeks, 8);

        f.prompter.expectConfirm(QStringLiteral("Creare gli ordini ai fornitori?"), true)
            .expectInformation(QStringLiteral("Ordini creati:\rN. 1 - ROSSI - 8 pezzi"));
        testing::click(window, "Crea ordine");
        QVERIFY2(f.prompter.done(), qPrintable(f.prompter.failures().join(u'\n')));
        QVERIFY(opened > 0);
        QCOMPARE(window.rows()[0].onOrder, 8);
        QCOMPARE(window.rows()[0].suggested, 0);
    }
};

QTEST_MAIN(TestReorder)
#include "tst_reorder.moc"

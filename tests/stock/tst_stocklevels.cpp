#include "StockData.h"
#include "common/Widgets.h"

#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "printing/PrintService.h"
#include "printing/RecordingCanvas.h"
#include "stock/StockLevels.h"
#include "stock/StockLevelsPrintout.h"
#include "stock/TFGiacenze.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace corvale;
using namespace stockdata;
using testing::child;

namespace {

void stockRow(ShopFixture &f, qint64 article, const QString &colour, QMap<int, int> cells) {
    QVariantMap values{{QStringLiteral("ARTCODE"), article}, {QStringLiteral("COLORE"), colour}};
    for (auto it = cells.begin(); it != cells.end(); ++it)
        values.insert(QStringLiteral("TG%1").arg(it.key()), it.value());
    f.add(QStringLiteral("ARCARTTG"), values);
}

Article ofType(qint64 key, const QString &description, qint64 sizeType,
               const QString &season = {}) {
    Article a{key, description};
    a.sizeType = sizeType;
    a.season = season;
    return a;
}

// The shop of most cases: three articles of size type 7, one of type 8.
void plant(ShopFixture &f) {
    addArticle(f, ofType(1, QStringLiteral("SCARPA"), 7, QStringLiteral("Quattro Stagioni")));
    addArticle(f, ofType(2, QStringLiteral("L'ANFIBIO"), 7, QStringLiteral("Autunno/Inverno")));
    addArticle(f, ofType(3, QStringLiteral("SANDALO"), 7, QStringLiteral("Quattro stagioni")));
    addArticle(f, ofType(4, QStringLiteral("ALTRA"), 8));
    stockRow(f, 1, QStringLiteral("NERO"), {{4, 2}, {1, 1}});
    stockRow(f, 1, QStringLiteral("ROSSO"), {{4, 3}});
    stockRow(f, 2, QStringLiteral("NERO"), {{2, 6}});
    stockRow(f, 4, QStringLiteral("NERO"), {{3, 9}});
}

QStringList listed(StockLevels &levels, const StockLevelsBoxes &boxes) {
    levels.setFilter(StockLevels::filterText(boxes));
    QStringList out;
    for (const StockLevels::Row &r : levels.rows())
        out << r.description;
    return out;
}

} // namespace

class TestStockLevels : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void colourRowsSummedPerArticle() {
        ShopFixture f;
        plant(f);
        StockLevels levels(*f.shop);
        levels.rebuild(7);
        const QList<StockLevels::Row> rows = levels.rows();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].description, QStringLiteral("SCARPA"));
        QCOMPARE(rows[0].code, QStringLiteral("800001"));
        QCOMPARE(rows[0].cells[3], 5);
        QCOMPARE(rows[0].cells[0], 1);
        QCOMPARE(rows[1].cells[1], 6);
        // An article without stock rows has a row of zeros.
        QCOMPARE(rows[2].description, QStringLiteral("SANDALO"));
        QCOMPARE(StockLevels::totals({rows[2]}), StockLevels::Cells{});
        const StockLevels::Cells totals = StockLevels::totals(rows);
        QCOMPARE(totals[3], 5);
        QCOMPARE(totals[2], 0); // article 4 is of another size type

        // Rebuilding for another size type replaces the rows.
        levels.rebuild(8);
        QCOMPARE(levels.rows().size(), 1);
        QCOMPARE(f.column(QStringLiteral("TABLE1"), QStringLiteral("N_STAGIONI")),
                 QStringList{QStringLiteral("0")});
    }

    void filters() {
        StockLevelsBoxes b;
        QCOMPARE(StockLevels::filterText(b), QString());
        b.code = QStringLiteral("800");
        QCOMPARE(StockLevels::filterText(b),
                 QStringLiteral("((BARCODE >= '800') AND (BARCODE <= '800z'))"));
        b.code = QStringLiteral("8000011051034");
        QCOMPARE(StockLevels::filterText(b), QStringLiteral("(BARCODE = '800001')"));
        b = {};
        b.description = QStringLiteral("L'A");
        b.brand = QStringLiteral("2");
        b.category = QStringLiteral("5");
        b.season = 3;
        QCOMPARE(StockLevels::filterText(b),
                 QStringLiteral("((ARTICOLO >= 'L''A') AND (ARTICOLO <= 'L''Az')) AND "
                                "(N_MARCHI = '2') AND (N_CAT = '5') AND (N_STAGIONI = '3')"));

        ShopFixture f;
        plant(f);
        StockLevels levels(*f.shop);
        levels.rebuild(7);
        b = {};
        b.code = QStringLiteral("8000021051034"); // a scanned line barcode
        QCOMPARE(listed(levels, b), QStringList{QStringLiteral("L'ANFIBIO")});
        b.code = QStringLiteral("800");
        QCOMPARE(listed(levels, b).size(), 3);
        b = {};
        b.description = QStringLiteral("L'");
        QCOMPARE(listed(levels, b), QStringList{QStringLiteral("L'ANFIBIO")});
        b = {};
        b.season = 3; // "Quattro Stagioni" exactly
        QCOMPARE(listed(levels, b), QStringList{QStringLiteral("SCARPA")});
    }

    void exportWithoutAWindow() {
        ShopFixture f;
        plant(f);
        f.add(QStringLiteral("TAGLIE"), {{QStringLiteral("NUMREG"), 7},
                                         {QStringLiteral("DESCRIZION"), QStringLiteral("SCARPE")},
                                         {QStringLiteral("TG1"), QStringLiteral("35")},
                                         {QStringLiteral("TG2"), QStringLiteral("36")}});
        const QStringList lines = StockLevels::exportFor(*f.shop, 7);
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[0], QStringLiteral("GIACENZE - 15/03/2026"));
        QCOMPARE(lines[2], QStringLiteral("TAGLIA SCARPE"));
        QVERIFY(lines[3].startsWith(QStringLiteral("CODICE\tARTICOLO\t35\t36\t\t")));
        QVERIFY(lines[4].startsWith(QStringLiteral("'800001\tSCARPA\t1\t0\t0\t5\t0\t")));
        QCOMPARE(StockLevels::exportFor(*f.shop, 99).size(), 4); // no such size type: headings only
    }

    void printoutRepeatsTheHeader() {
        QList<StockLevels::Row> rows;
        for (int i = 0; i < 90; ++i) {
            StockLevels::Row r;
            r.description = QStringLiteral("ART%1").arg(i);
            r.cells[4] = 1;
            rows << r;
        }
        QStringList titles;
        for (int i = 1; i <= 20; ++i)
            titles << QString::number(34 + i);
        RecordingCanvas c;
        StockLevelsPrintout::draw(c,
                                  {QStringLiteral("NEGOZIO"),
                                   {},
                                   QDate(2026, 3, 15),
                                   QStringLiteral("TAGLIA SCARPE"),
                                   titles},
                                  rows, StockLevels::totals(rows));
        QVERIFY(c.pageCount() >= 2);
        QVERIFY(c.findText(QStringLiteral("ELENCO GIACENZE - 15/03/2026 - TAGLIA SCARPE"), 1));
        for (int page = 1; page <= c.pageCount(); ++page) {
            QVERIFY(c.findText(QStringLiteral("Articolo"), page));
            QVERIFY(c.findText(QStringLiteral("39"), page));
        }
        const int k = (c.pageWidth() - 100) / 23;
        const CanvasItem *total = c.findText(QStringLiteral("90"), c.pageCount());
        QVERIFY(total);
        QCOMPARE(total->position.x(), 50 + 3 * k + 4 * k + 10);
        // Empty cells print nothing.
        QVERIFY(!c.findText(QStringLiteral("0")));
    }

    void window() {
        ShopFixture f;
        auto *service = new RecordingPrintService;
        f.shop->setPrintService(std::unique_ptr<PrintService>(service));
        plant(f);
        f.add(QStringLiteral("MARCHI"),
              {{QStringLiteral("NUMREG"), 2}, {QStringLiteral("NOME"), QStringLiteral("MARCA")}});
        QStringList titles;
        for (int i = 1; i <= 20; ++i)
            titles << (i <= 5 ? QString::number(35 + i) : QStringLiteral(" "));
        TFGiacenze w(*f.shop);
        w.setSizeType(7, QStringLiteral("TAGLIA SCARPE"), titles);
        w.resize(1100, 600);
        w.show();
        QCOMPARE(w.grid().rowCount(), 3);
        QCOMPARE(w.grid().model().headerData(5, Qt::Horizontal).toString(), QStringLiteral("39"));
        QCOMPARE(child<QLabel>(w, "Tot4")->text(), QStringLiteral("5"));
        QCOMPARE(child<QLabel>(w, "Tot3")->text(), QString());

        auto *brand = child<QComboBox>(w, "FMarchio");
        auto *clear = child<QPushButton>(w, "CancMarchio");
        QVERIFY(!clear->isEnabled());
        brand->setCurrentIndex(0);
        QVERIFY(clear->isEnabled());
        QCOMPARE(w.grid().rowCount(), 0);
        QCOMPARE(child<QLabel>(w, "Tot4")->text(), QString());
        clear->click();
        QCOMPARE(brand->currentIndex(), -1);
        QVERIFY(!clear->isEnabled());
        QCOMPARE(w.grid().rowCount(), 3);

        child<QComboBox>(w, "FStagione")->setCurrentIndex(1);
        QCOMPARE(w.grid().rowCount(), 1);
        QCOMPARE(child<QLabel>(w, "Tot2")->text(), QStringLiteral("6"));
        child<QComboBox>(w, "FStagione")->setCurrentIndex(0);

        testing::click(w, "Stampa");
        QCOMPARE(service->jobs().size(), 1);
        QVERIFY(service->jobs()[0].canvas->findText(QStringLiteral("SCARPA")));
        testing::click(w, "Uscita");
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TestStockLevels)
#include "tst_stocklevels.moc"

#include "StockData.h"

#include "db/Table.h"
#include "platform/Cp1252.h"
#include "printing/RecordingCanvas.h"
#include "printing/SpreadsheetFile.h"
#include "shell/ShopExport.h"
#include "stock/Inventory.h"
#include "stock/InventoryPrintout.h"
#include "stock/StockFilter.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <map>

using namespace corvale;
using namespace stockdata;

namespace {

const QDate lastYear(2025, 6, 1);
const QDate thisYear(2026, 2, 1);

InventoryRow rowOf(Inventory &inventory, const QString &description) {
    for (const InventoryRow &r : inventory.rows())
        if (r.description == description)
            return r;
    qFatal("no row %s", qPrintable(description));
}

} // namespace

class TestInventory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void figuresOfTheYearAndBefore() {
        ShopFixture f;
        addArticle(f, {1, QStringLiteral("GIACCA"), 12.50});
        receipt(f, 1, lastYear, 10);
        sale(f, 1, lastYear, 4);
        receipt(f, 1, thisYear, 5);
        giveBack(f, 1, thisYear, 1);
        sale(f, 1, thisYear, 3);

        Inventory inventory(*f.shop);
        inventory.refresh();
        QCOMPARE(inventory.year(), 2026);
        InventoryFigures fig = rowOf(inventory, QStringLiteral("GIACCA")).figures;
        QCOMPARE(fig.previous, 6);
        QCOMPARE(fig.loads, 4);
        QCOMPARE(fig.sales, 3);
        QCOMPARE(fig.stock, 7);
        QCOMPARE(fig.value.value(), 87.50);
        // The list handle carries the same figures for the grid.
        db::Table &t = inventory.articles();
        QCOMPARE(t.asFloat(QStringLiteral("cDeposito")), 7.0);
        QCOMPARE(t.asFloat(QStringLiteral("cVALORE")), 87.50);

        inventory.setExclude(true);
        fig = rowOf(inventory, QStringLiteral("GIACCA")).figures;
        QCOMPARE(fig.previous, 6);
        QCOMPARE(fig.stock, 1);
        QCOMPARE(fig.value.value(), 12.50);
        QCOMPARE(t.asFloat(QStringLiteral("cDeposito")), 1.0);
        const InventoryTotals totals = inventory.totals();
        QCOMPARE(totals.texts(), (QStringList{"6", "4", "3", "1", "12,50"}));
    }

    void theYearsEdgesAndUndatedLines() {
        ShopFixture f;
        addArticle(f, {1, QStringLiteral("A")});
        receipt(f, 1, QDate(2025, 12, 31), 2); // before the year
        receipt(f, 1, QDate(2026, 1, 1), 3);   // first day of the year
        receipt(f, 1, QDate(2026, 12, 31), 5); // last day
        receipt(f, 1, QDate(2027, 1, 1), 7);   // a later year counts as before
        receipt(f, 1, QDate(), 11);            // no date: before as well
        sale(f, 1, QDate(), 1);
        Inventory inventory(*f.shop);
        inventory.refresh();
        const InventoryFigures fig = rowOf(inventory, QStringLiteral("A")).figures;
        QCOMPARE(fig.previous, 2 + 7 + 11 - 1);
        QCOMPARE(fig.loads, 3 + 5);
        QCOMPARE(fig.sales, 0);
    }

    // The inventory of a past year is what stood then: lines of the years
    // after it are left out instead of counting as previous stock.
    void aPastYearLeavesLaterLinesOut() {
        ShopFixture f; // today is 15/03/2026
        addArticle(f, {1, QStringLiteral("A"), 2});
        receipt(f, 1, QDate(2024, 5, 1), 10);
        receipt(f, 1, QDate(2025, 12, 31), 5);
        sale(f, 1, QDate(2025, 1, 1), 2);
        receipt(f, 1, QDate(2026, 1, 1), 99);
        sale(f, 1, QDate(2026, 3, 1), 4);
        giveBack(f, 1, QDate(2027, 1, 1), 7);
        receipt(f, 1, QDate(), 11); // no date: with the earlier lines, whatever the year

        Inventory inventory(*f.shop);
        inventory.setYear(2025);
        inventory.refresh();
        QCOMPARE(inventory.year(), 2025);
        InventoryFigures fig = rowOf(inventory, QStringLiteral("A")).figures;
        QCOMPARE(fig.previous, 10 + 11);
        QCOMPARE(fig.loads, 5);
        QCOMPARE(fig.sales, 2);
        QCOMPARE(fig.stock, 24);
        QCOMPARE(fig.value.value(), 48.0);

        // The current year keeps the window's rule: a later line counts before.
        inventory.setYear(2026);
        inventory.refresh();
        fig = rowOf(inventory, QStringLiteral("A")).figures;
        QCOMPARE(fig.previous, 10 + 5 - 2 + 11 - 7);
        QCOMPARE(fig.loads, 99);
        QCOMPARE(fig.sales, 4);

        // The export of a past year is dated today.
        const QStringList lines = Inventory::exportFor(*f.shop, 2025);
        QCOMPARE(lines.value(0), QStringLiteral("VENDITE - 15/03/2026"));
        QCOMPARE(lines.value(3), QStringLiteral("'800001\tA\t\t\t21\t5\t2\t24\t2\t48\t"));
    }

    void everyArticleNumberAndNoArticle() {
        ShopFixture f;
        addArticle(f, {5, QStringLiteral("CINQUE"), 1});
        addArticle(f, {10001, QStringLiteral("DIECIMILAUNO"), 2});
        addArticle(f, {250000, QStringLiteral("GRANDE"), 3});
        receipt(f, 5, thisYear, 1);
        receipt(f, 10001, thisYear, 4);
        receipt(f, 250000, lastYear, 9);
        sale(f, 250000, thisYear, 2);
        // Lines of no article, article 0 or negative numbers touch nobody.
        receipt(f, 0, thisYear, 100);
        receipt(f, -5, thisYear, 100);
        sale(f, -10001, thisYear, 100);
        giveBack(f, 0, lastYear, 100);
        f.add(QStringLiteral("ARCART_A"), {{QStringLiteral("QUANTITA"), 100}});

        Inventory inventory(*f.shop);
        inventory.refresh();
        QCOMPARE(rowOf(inventory, QStringLiteral("CINQUE")).figures.loads, 1);
        QCOMPARE(rowOf(inventory, QStringLiteral("DIECIMILAUNO")).figures.loads, 4);
        const InventoryFigures big = rowOf(inventory, QStringLiteral("GRANDE")).figures;
        QCOMPARE(big.previous, 9);
        QCOMPARE(big.sales, 2);
        QCOMPARE(big.value.value(), 21.0);
        const InventoryTotals totals = inventory.totals();
        QCOMPARE(totals.loads, 5);
        QCOMPARE(totals.previous, 9);
        QCOMPARE(totals.sales, 2);
    }

    void valueOnlyForStockAbove0() {
        ShopFixture f;
        addArticle(f, {1, QStringLiteral("ZERO"), 10});
        addArticle(f, {2, QStringLiteral("NEGATIVO"), 10});
        addArticle(f, {3, QStringLiteral("UNO"), 10});
        receipt(f, 1, thisYear, 2);
        sale(f, 1, thisYear, 2);
        sale(f, 2, thisYear, 3);
        receipt(f, 3, thisYear, 1);
        Inventory inventory(*f.shop);
        inventory.refresh();
        QVERIFY(!rowOf(inventory, QStringLiteral("ZERO")).figures.value);
        QVERIFY(!rowOf(inventory, QStringLiteral("NEGATIVO")).figures.value);
        QVERIFY(inventory.articles().findKey(QStringLiteral("NEGATIVO")));
        QVERIFY(inventory.articles().isNull(QStringLiteral("cVALORE")));
        const InventoryTotals t = inventory.totals();
        QCOMPARE(t.value, 10.0);
        QCOMPARE(t.stock, -2);
        // Printing only the articles with movements keeps one whose figures cancel out.
        QVERIFY(rowOf(inventory, QStringLiteral("ZERO")).figures.hasMovements());
        QVERIFY(!InventoryFigures::of({}, 10, false).hasMovements());
    }

    void filters() {
        StockFilterBoxes b;
        QCOMPARE(StockFilter::text(b), QString());
        b.code = QStringLiteral("80001");
        QCOMPARE(StockFilter::text(b),
                 QStringLiteral("((BARCODE >= '80001') AND (BARCODE <= '80001z'))"));
        b.code = QStringLiteral("80000110510349"); // 14 characters: the first 13 count
        QCOMPARE(StockFilter::text(b), QStringLiteral("(BARCODE = '8000011051034')"));
        b = {};
        b.code = QStringLiteral("8'0");
        b.description = QStringLiteral("L'ORO");
        b.brand = QStringLiteral("4");
        b.supplier = QStringLiteral("7");
        b.season = QStringLiteral("Quattro Stagioni");
        b.inUseOnly = true;
        QCOMPARE(StockFilter::text(b),
                 QStringLiteral("((BARCODE >= '8''0') AND (BARCODE <= '8''0z')) AND "
                                "((DESCRIZION >= 'L''ORO') AND (DESCRIZION <= 'L''OROz')) AND "
                                "(N_MARCHI = '4') AND (N_FOR = '7') AND "
                                "(STAGIONE = 'Quattro Stagioni') AND (INUSO)"));
        b = {};
        b.season = QStringLiteral(" ");
        QCOMPARE(StockFilter::text(b), QString());
    }

    void filteredListAndItsTotals() {
        ShopFixture f;
        addArticle(f, {1, QStringLiteral("L'ORO"), 1, QStringLiteral("AAA"), 4});
        addArticle(f, {2, QStringLiteral("LANA"), 1, QStringLiteral("BBB"), 5, {}, 0, {}, false});
        addArticle(f, {3,
                       QStringLiteral("MAGLIA"),
                       1,
                       {},
                       0,
                       QStringLiteral("ROSSI"),
                       7,
                       QStringLiteral("Quattro Stagioni")});
        receipt(f, 1, thisYear, 1);
        receipt(f, 2, thisYear, 2);
        receipt(f, 3, thisYear, 4);
        Inventory inventory(*f.shop);
        inventory.refresh();
        QCOMPARE(inventory.totals().loads, 7);
        auto listed = [&](const StockFilterBoxes &b) {
            inventory.setFilter(StockFilter::text(b));
            QStringList out;
            for (const InventoryRow &r : inventory.rows())
                out << r.description;
            return out;
        };
        StockFilterBoxes b;
        b.description = QStringLiteral("L'");
        QCOMPARE(listed(b), QStringList{QStringLiteral("L'ORO")});
        QCOMPARE(inventory.totals().loads, 1);
        // A code of 13 characters or more is a whole code: its first 13 must match.
        f.add(QStringLiteral("ARTICOLI"),
              {{QStringLiteral("NUMREG"), 9},
               {QStringLiteral("BARCODE"), QStringLiteral("8001234567890")},
               {QStringLiteral("DESCRIZION"), QStringLiteral("EAN")}});
        inventory.refresh();
        b = {};
        b.code = QStringLiteral("80012345678901");
        QCOMPARE(listed(b), QStringList{QStringLiteral("EAN")});
        b.code = QStringLiteral("800123");
        QCOMPARE(listed(b), QStringList{QStringLiteral("EAN")});
        b.code = codeOf(3) + QStringLiteral("1051034");
        QCOMPARE(listed(b), QStringList());
        b.code = QStringLiteral("8'");
        QCOMPARE(listed(b), QStringList());
        b = {};
        b.inUseOnly = true;
        QCOMPARE(listed(b), (QStringList{QStringLiteral("L'ORO"), QStringLiteral("MAGLIA")}));
        b = {};
        b.supplier = QStringLiteral("7");
        QCOMPARE(listed(b), QStringList{QStringLiteral("MAGLIA")});
        b = {};
        b.brand = QStringLiteral("5");
        QCOMPARE(listed(b), QStringList{QStringLiteral("LANA")});
        b = {};
        b.season = QStringLiteral("Quattro Stagioni");
        QCOMPARE(listed(b), QStringList{QStringLiteral("MAGLIA")});
        // A refresh keeps the filter.
        inventory.refresh();
        QCOMPARE(inventory.rows().size(), 1);
    }

    void export_() {
        ShopFixture f;
        Inventory empty(*f.shop);
        empty.refresh();
        const QStringList heading{
            QStringLiteral("VENDITE - 15/03/2026"), QStringLiteral(" "),
            QStringLiteral("CODICE\tARTICOLO\tFORNITORE\tMARCHIO\tGIAC.PREC.\tCARICHI\tSCARICHI\t"
                           "DEPOSITO\tPREZZO A.\tVALORE\t")};
        QCOMPARE(empty.exportLines(), heading);

        addArticle(
            f, {1, QStringLiteral("GIACCA È"), 12.50, QStringLiteral("M"), 0, QStringLiteral("F")});
        addArticle(f, {2, QStringLiteral("NULLA"), 3});
        receipt(f, 1, lastYear, 1234);
        sale(f, 1, thisYear, 1);
        Inventory inventory(*f.shop);
        inventory.refresh();
        const QStringList lines = inventory.exportLines();
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[3], QStringLiteral("'800001\tGIACCA È\tF\tM\t1234\t0\t1\t1233\t12,5\t"
                                          "15412,5\t"));
        QCOMPARE(lines[4], QStringLiteral("'800002\tNULLA\t\t\t0\t0\t0\t0\t3\t\t"));

        const QString path = f.dir.filePath(QStringLiteral("archivio/VN150326.XLS"));
        QCOMPARE(SpreadsheetFile::write(path, lines), SpreadsheetFile::Outcome::Written);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("VENDITE - 15/03/2026\r\n \r\nCODICE\t"));
        QVERIFY(bytes.contains("GIACCA \xC8\t"));
        QVERIFY(bytes.endsWith("\t\t\r\n"));
        QCOMPARE(SpreadsheetFile::write(f.dir.filePath(QStringLiteral("none/x.XLS")), lines),
                 SpreadsheetFile::Outcome::CannotCreate);
    }

    void exportThroughTheDialog() {
        ShopFixture f;
        const QString path = f.dir.filePath(QStringLiteral("archivio/INV.XLS"));
        f.prompter.expectSaveFile(std::nullopt);
        QVERIFY(!exportSpreadsheet(*f.shop, {QStringLiteral("x")}));
        QVERIFY(!QFile::exists(path));
        f.prompter.expectSaveFile(path).expectInformation(
            QStringLiteral("Esportazione dati eseguita con successo."));
        QVERIFY(exportSpreadsheet(*f.shop, {QStringLiteral("x")}));
        QVERIFY(QFile::exists(path));
        const QString bad = f.dir.filePath(QStringLiteral("missing/INV.XLS"));
        f.prompter.expectSaveFile(bad).expectError(QStringLiteral("ERRORE creazione file\r") + bad);
        QVERIFY(!exportSpreadsheet(*f.shop, {QStringLiteral("x")}));
        QVERIFY(f.prompter.done());
    }

    void printout() {
        QList<InventoryRow> rows;
        for (int i = 0; i < 120; ++i) {
            InventoryRow r;
            r.code = codeOf(i + 1);
            r.description = QStringLiteral("ART%1").arg(i, 3, 10, QChar(u'0'));
            r.brand = QStringLiteral("M");
            r.purchasePrice = 12.5;
            r.figures = InventoryFigures::of({5, 10, 3, 4}, 12.5, false);
            rows << r;
        }
        const InventoryTotals totals = InventoryTotals::of(rows, false);
        RecordingCanvas c;
        InventoryPrintout::draw(c, QStringLiteral("NEGOZIO"), QStringLiteral("SECONDA"), 2026, rows,
                                totals);
        QVERIFY(c.pageCount() >= 2);
        QVERIFY(c.findText(QStringLiteral("INVENTARIO NELL'ANNO 2026"), 1));
        for (int page = 1; page <= c.pageCount(); ++page) {
            QVERIFY2(c.findText(QStringLiteral("Giac.Prec."), page),
                     qPrintable(QString::number(page)));
            QVERIFY(c.findText(QStringLiteral("- %1 -").arg(page), page));
        }
        // Previous stock 6, loads 5, sales 3: stock 8 printed with two decimals, the
        // stock total without.
        const CanvasItem *first = c.findText(QStringLiteral("ART000/M"), 1);
        QVERIFY(first);
        const QStringList line = c.textsInReadingOrder(1, 5).filter(QStringLiteral("ART000/M"));
        QVERIFY(!line.isEmpty());
        QVERIFY(c.findText(QStringLiteral("8,00")));
        QVERIFY(c.findText(QStringLiteral("100,00")));
        QVERIFY(c.findText(QStringLiteral("960"), c.pageCount()));
        QVERIFY(c.findText(QStringLiteral("12.000,00"), c.pageCount()));
        const CanvasItem *total = c.findText(QStringLiteral("TOTALI"), c.pageCount());
        QVERIFY(total);
        QCOMPARE(total->font.size, 10.0);
        // Right edges: each number ends 10 units before its column's edge.
        const int e = (c.pageWidth() - 100) / 21;
        const CanvasItem *price = c.findText(QStringLiteral("12,50"), 1);
        QCOMPARE(price->position.x() + price->rect.width(), 50 + 19 * e - 10);
        const CanvasItem *title = c.findText(QStringLiteral("Valore"), 1);
        QCOMPARE(title->position.x() + title->rect.width(), 50 + 21 * e);
    }

    // A year of random documents: the inventory agrees with sums worked out here.
    void generatedYearAgreesWithTheLines() {
        ShopFixture f;
        QRandomGenerator random(20260315);
        const int articleCount = 60;
        for (int a = 1; a <= articleCount; ++a)
            addArticle(f, {a * 997, QStringLiteral("ART%1").arg(a, 3, 10, QChar(u'0')),
                           double(random.bounded(1, 50)) / 2});
        struct Expected {
            qint64 previous = 0, loads = 0, sales = 0;
        };
        std::map<qint64, Expected> expected;
        const char *tables[] = {"ARCART_A", "ARCART_R", "ARCART_V"};
        for (const char *name : tables) {
            db::Table t(f.db());
            t.setTableName(QString::fromLatin1(name));
            t.open();
            for (int i = 0; i < 700; ++i) {
                const qint64 article = random.bounded(0, articleCount + 1) * 997; // 0: none
                const int q = random.bounded(1, 9);
                const QDate date = random.bounded(10) == 0
                                       ? QDate()
                                       : QDate(2024, 1, 1).addDays(random.bounded(1100));
                t.append();
                t.setInteger(QStringLiteral("NUMART"), article);
                t.setFloat(QStringLiteral("QUANTITA"), q);
                if (date.isValid())
                    t.setDate(QStringLiteral("DATAREG"), date);
                t.post();
                if (article == 0)
                    continue;
                const bool inYear = date.isValid() && date.year() == 2026;
                const int sign = QByteArray(name) == "ARCART_R" ? -1 : 1;
                Expected &e = expected[article];
                if (QByteArray(name) == "ARCART_V")
                    (inYear ? e.sales : e.previous) += inYear ? q : -q;
                else
                    (inYear ? e.loads : e.previous) += sign * q;
            }
        }
        Inventory inventory(*f.shop);
        inventory.refresh();
        const QList<InventoryRow> rows = inventory.rows();
        QCOMPARE(rows.size(), articleCount);
        qint64 previous = 0, loads = 0, sales = 0;
        for (const InventoryRow &r : rows) {
            const Expected e = expected[r.code.toLongLong() - 800000];
            QCOMPARE(r.figures.previous, e.previous);
            QCOMPARE(r.figures.loads, e.loads);
            QCOMPARE(r.figures.sales, e.sales);
            QCOMPARE(r.figures.stock, e.previous + e.loads - e.sales);
            previous += e.previous;
            loads += e.loads;
            sales += e.sales;
        }
        const InventoryTotals totals = inventory.totals();
        QCOMPARE(totals.previous, previous);
        QCOMPARE(totals.loads, loads);
        QCOMPARE(totals.sales, sales);
    }
};

QTEST_MAIN(TestInventory)
#include "tst_inventory.moc"

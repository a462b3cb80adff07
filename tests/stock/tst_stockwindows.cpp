#include "StockData.h"
#include "common/RecordingOpener.h"
#include "common/Widgets.h"

#include "catalogue/TableGrid.h"
#include "printing/PrintService.h"
#include "stock/Inventory.h"
#include "stock/Movements.h"
#include "stock/TFVendite.h"
#include "stock/TFinventario.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QTest>

using namespace corvale;
using namespace stockdata;
using testing::child;

namespace {

using Opener = RecordingOpener;

QString label(const QWidget &w, const char *name) {
    return child<QLabel>(w, name)->text();
}

} // namespace

class TestStockWindows : public QObject {
    Q_OBJECT
private:
    // Two articles: the example of the year (6 / 4 / 3 / 7 at 12.50) and one
    // without movements, not in use.
    static void plantInventory(ShopFixture &f) {
        addArticle(f, {1, QStringLiteral("GIACCA"), 12.50, QStringLiteral("MARCA"), 3});
        addArticle(f, {2, QStringLiteral("L'ABITO"), 5, {}, 0, {}, 0, {}, false});
        f.add(QStringLiteral("MARCHI"),
              {{QStringLiteral("NUMREG"), 3}, {QStringLiteral("NOME"), QStringLiteral("MARCA")}});
        receipt(f, 1, QDate(2025, 5, 1), 10);
        sale(f, 1, QDate(2025, 6, 1), 4);
        receipt(f, 1, QDate(2026, 1, 10), 5);
        giveBack(f, 1, QDate(2026, 1, 11), 1);
        sale(f, 1, QDate(2026, 2, 1), 3);
    }

private Q_SLOTS:
    void inventoryWindow() {
        ShopFixture f;
        auto *service = new RecordingPrintService;
        f.shop->setPrintService(std::unique_ptr<PrintService>(service));
        plantInventory(f);
        Opener opener;
        TFinventario w(*f.shop);
        w.setOpener(&opener);
        w.resize(1200, 700);
        w.show();
        QCOMPARE(label(w, "Anno"), QStringLiteral("2026"));
        QCOMPARE(w.grid().rowCount(), 2);
        QCOMPARE(label(w, "TotGiacPrec"), QStringLiteral("6"));
        QCOMPARE(label(w, "TotCarichi"), QStringLiteral("4"));
        QCOMPARE(label(w, "TotScarichi"), QStringLiteral("3"));
        QCOMPARE(label(w, "TotGiacenza"), QStringLiteral("7"));
        QCOMPARE(label(w, "TotValore"), QStringLiteral("87,50"));

        child<QCheckBox>(w, "Escludi")->click();
        QCOMPARE(label(w, "TotGiacenza"), QStringLiteral("1"));
        QCOMPARE(label(w, "TotGiacPrec"), QStringLiteral("6"));
        QCOMPARE(label(w, "TotValore"), QStringLiteral("12,50"));
        child<QCheckBox>(w, "Escludi")->click();

        // An apostrophe in the description filters, and the totals follow.
        testing::type(w, "FArticolo", QStringLiteral("L'"));
        QCOMPARE(w.grid().rowCount(), 1);
        QCOMPARE(label(w, "TotCarichi"), QStringLiteral("0"));
        testing::type(w, "FArticolo", QString());
        child<QComboBox>(w, "Visualizza")->setCurrentIndex(1);
        QCOMPARE(w.grid().rowCount(), 1);
        child<QComboBox>(w, "Visualizza")->setCurrentIndex(0);
        auto *brand = child<QComboBox>(w, "FMarchio");
        brand->setCurrentIndex(0);
        QCOMPARE(w.grid().rowCount(), 1);
        brand->setFocus();
        QTest::keyClick(brand, Qt::Key_Backspace);
        QCOMPARE(brand->currentIndex(), -1);
        QCOMPARE(w.grid().rowCount(), 2);

        // Printing only the articles with movements leaves the other out.
        f.prompter.expectConfirmCancel(QStringLiteral("Solo articoli con movimenti?"),
                                       Prompter::Answer::Cancel);
        testing::click(w, "Stampa");
        QCOMPARE(service->jobs().size(), 0);
        f.prompter.expectConfirmCancel(QStringLiteral("Solo articoli con movimenti?"),
                                       Prompter::Answer::Yes);
        testing::click(w, "Stampa");
        QCOMPARE(service->jobs().size(), 1);
        RecordingCanvas &yes = *service->jobs()[0].canvas;
        QVERIFY(yes.findText(QStringLiteral("GIACCA/MARCA")));
        QVERIFY(!yes.findText(QStringLiteral("L'ABITO/")));
        QVERIFY(yes.findText(QStringLiteral("7,00")));
        // A print leaves the list on its first row.
        w.inventory().articles().last();
        f.prompter.expectConfirmCancel(QStringLiteral("Solo articoli con movimenti?"),
                                       Prompter::Answer::No);
        testing::click(w, "Stampa");
        QVERIFY(service->jobs()[1].canvas->findText(QStringLiteral("L'ABITO/")));
        QCOMPARE(w.inventory().articles().asString(QStringLiteral("DESCRIZION")),
                 QStringLiteral("GIACCA"));

        const QString path = f.dir.filePath(QStringLiteral("archivio/VN150326.XLS"));
        f.prompter.expectSaveFile(path).expectInformation(
            QStringLiteral("Esportazione dati eseguita con successo."));
        testing::click(w, "Esporta");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("\r\n"), 5);

        testing::click(w, "Uscita");
        QVERIFY(!w.isVisible());
        QVERIFY(!w.inventory().articles().isOpen());
        QCOMPARE(opener.codes, QList<int>{1});
        QVERIFY(f.prompter.done());
    }

    void loadUnloadWindow() {
        ShopFixture f;
        f.clock.setFixedDate(QDate(2026, 2, 10));
        auto *service = new RecordingPrintService;
        f.shop->setPrintService(std::unique_ptr<PrintService>(service));
        addArticle(f, {1, QStringLiteral("GIACCA")});
        addArticle(f, {2, QStringLiteral("NULLA")});
        receipt(f, 1, QDate(2026, 1, 5), 5, 100.00);
        giveBack(f, 1, QDate(2026, 2, 28), 2, 40.00);
        sale(f, 1, QDate(2026, 2, 3), 1, 50.00);
        receipt(f, 1, QDate(2025, 7, 1), 10, 200.00);
        Opener opener;
        TFVendite w(*f.shop);
        w.setOpener(&opener);
        w.resize(1200, 700);
        w.show();
        auto *period = child<QComboBox>(w, "Data");
        QCOMPARE(period->currentText(), QStringLiteral("Anno Corrente"));
        QVERIFY(!child<QDateEdit>(w, "DAL")->isVisible());
        QCOMPARE(label(w, "TotCarichi"), QStringLiteral("3"));
        QCOMPARE(label(w, "TotAcquisti"), QStringLiteral("60,00"));
        QCOMPARE(label(w, "TotScarichi"), QStringLiteral("1"));
        QCOMPARE(label(w, "TotVendite"), QStringLiteral("50,00"));
        QCOMPARE(label(w, "TotRicavo"), QStringLiteral("-10,00"));

        // February ends on the 28th: the return of that day is in the month.
        period->setCurrentIndex(2);
        QCOMPARE(label(w, "TotCarichi"), QStringLiteral("-2"));
        period->setCurrentIndex(0);
        QCOMPARE(label(w, "TotCarichi"), QStringLiteral("13"));
        period->setCurrentIndex(3);
        QVERIFY(child<QDateEdit>(w, "DAL")->isVisible());
        child<QDateEdit>(w, "DAL")->setDate(QDate(2025, 1, 1));
        child<QDateEdit>(w, "AL")->setDate(QDate(2025, 12, 31));
        QCOMPARE(label(w, "TotCarichi"), QStringLiteral("10"));
        QCOMPARE(label(w, "TotAcquisti"), QStringLiteral("200,00"));

        testing::type(w, "FCodice", QStringLiteral("800002"));
        QCOMPARE(w.grid().rowCount(), 1);
        QCOMPARE(label(w, "TotCarichi"), QStringLiteral("0"));
        testing::type(w, "FCodice", QString());

        f.prompter.expectConfirmCancel(QStringLiteral("Solo articoli con movimenti?"),
                                       Prompter::Answer::Yes);
        testing::click(w, "Stampa");
        QCOMPARE(service->jobs().size(), 1);
        const RecordingCanvas &page = *service->jobs()[0].canvas;
        QVERIFY(page.findText(QStringLiteral("ELENCO MOVIMENTI DAL 01/01/2025 AL 31/12/2025")));
        QVERIFY(page.findText(QStringLiteral("GIACCA/")));
        QVERIFY(!page.findText(QStringLiteral("NULLA/")));

        const QString path = f.dir.filePath(QStringLiteral("archivio/VN100226.XLS"));
        f.prompter.expectSaveFile(path).expectInformation(
            QStringLiteral("Esportazione dati eseguita con successo."));
        testing::click(w, "Esporta");
        QVERIFY(QFile::exists(path));

        testing::click(w, "Uscita");
        QVERIFY(!w.movements().articles().isOpen());
        QCOMPARE(opener.codes, QList<int>{1});
        // Showing again starts from the current year.
        w.show();
        QCOMPARE(period->currentText(), QStringLiteral("Anno Corrente"));
        QCOMPARE(label(w, "TotCarichi"), QStringLiteral("3"));
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestStockWindows)
#include "tst_stockwindows.moc"

#include "StockData.h"
#include "common/Widgets.h"

#include "catalogue/TFArcArt.h"
#include "catalogue/TFArcTag.h"
#include "catalogue/TableGrid.h"
#include "program/Program.h"
#include "shell/CentralPanel.h"
#include "shell/TFMain.h"
#include "stock/TFGiacenze.h"
#include "stock/TFStorico.h"
#include "stock/TFVendite.h"
#include "stock/TFinventario.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

using namespace corvale;
using namespace stockdata;
using testing::click;

// The article archive and the size-type archive open the stock reports.
class TestStockWiring : public QObject {
    Q_OBJECT
private:
    template <typename Window> static Window &inPanel(Program &program) {
        CentralPanel *panel = program.mainWindow().centralPanel();
        auto *w = panel->findChild<Window *>();
        if (!w)
            qFatal("window not in the panel");
        return *w;
    }
    static void start(Program &program) {
        QVERIFY(program.ready());
        program.mainWindow().resize(1100, 700);
        program.mainWindow().show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.mainWindow()));
    }

private Q_SLOTS:
    void articleArchiveOpensTheReports() {
        ShopFixture f;
        addArticle(f, {1, QStringLiteral("GIACCA"), 12.5});
        receipt(f, 1, QDate(2026, 1, 5), 4, 50);
        Program program(*f.shop);
        start(program);
        CentralPanel *panel = program.mainWindow().centralPanel();
        program.mainWindow().showInPanel(&program.articles());

        click(program.articles(), "Inventario");
        auto &inventory = inPanel<TFinventario>(program);
        QVERIFY(inventory.isVisible());
        QCOMPARE(inventory.geometry(), panel->rect());
        QCOMPARE(inventory.grid().rowCount(), 1);
        click(inventory, "Uscita");
        QVERIFY(!inventory.isVisible());

        click(program.articles(), "Movimenti");
        auto &movements = inPanel<TFVendite>(program);
        QVERIFY(movements.isVisible());
        QCOMPARE(movements.geometry(), panel->rect());
        click(movements, "Uscita");

        // "Storico": the modal history of the selected article.
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *history = qobject_cast<TFStorico *>(QApplication::activeModalWidget());
            QVERIFY(history);
            seen = true;
            QCOMPARE(testing::child<QLineEdit>(*history, "Articolo")->text(),
                     QStringLiteral("GIACCA"));
            history->reject();
        });
        click(program.articles(), "Storico");
        QVERIFY(seen);
        QVERIFY(f.prompter.done());
    }

    void sizeTypeArchiveOpensTheStockLevels() {
        ShopFixture f;
        f.add(QStringLiteral("TAGLIE"), {{QStringLiteral("NUMREG"), 7},
                                         {QStringLiteral("DESCRIZION"), QStringLiteral("SCARPE")},
                                         {QStringLiteral("TG1"), QStringLiteral("35")}});
        Article a{1, QStringLiteral("SCARPA")};
        a.sizeType = 7;
        addArticle(f, a);
        Program program(*f.shop);
        start(program);
        program.mainWindow().showInPanel(&program.sizeTypes());
        QVERIFY(testing::button(program.sizeTypes(), "Giacenze")->isEnabled());
        click(program.sizeTypes(), "Giacenze");
        auto &levels = inPanel<TFGiacenze>(program);
        QVERIFY(levels.isVisible());
        QCOMPARE(levels.SizeTypeKey, 7);
        QCOMPARE(levels.grid().rowCount(), 1);
        QCOMPARE(levels.grid().model().headerData(2, Qt::Horizontal).toString(),
                 QStringLiteral("35"));
    }
};

QTEST_MAIN(TestStockWiring)
#include "tst_stockwiring.moc"

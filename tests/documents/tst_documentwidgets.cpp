#include "documents/DocumentData.h"

#include "common/RecordingOpener.h"
#include "common/Widgets.h"
#include "db/Table.h"
#include "documents/ArticleList.h"
#include "documents/DocumentWindow.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"
#include "documents/SheetGrid.h"
#include "documents/SizePanel.h"
#include "shell/CentralPanel.h"
#include "widgets/LookupCombo.h"
#include "widgets/OpenerWindow.h"
#include "widgets/TableModel.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace corvale;

namespace {

using Opener = RecordingOpener;

// A document window that is done as soon as it is asked.
struct Document : DocumentWindow {
    using DocumentWindow::finish;
};

} // namespace

class TestDocumentWidgets : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gridSearchAndCodeBoxes() {
        ShopFixture f;
        LineSheet sheet(f.db(), DocumentKind::counterSale());
        sheet.open();
        sheet.appendBlankRows(3);
        sheet.table().first();
        sheet.table().edit();
        sheet.table().setString(sheet::DESCRIZION, QStringLiteral("STIVALE"));
        sheet.table().post();
        SheetGrid grid(sheet.table());
        grid.addColumn(sheet::BARCODE, QStringLiteral("Codice"));
        grid.setArticleColumn(grid.addColumn(sheet::DESCRIZION, QStringLiteral("Articolo")));
        grid.setCodeColumn(0);
        grid.setArticleDescriptions({QStringLiteral("SANDALO"), QStringLiteral("STIVALE")});
        grid.resize(600, 300);
        grid.show();
        grid.reload();
        QSignalSpy chosen(&grid, &SheetGrid::articleChosen);
        QSignalSpy codes(&grid, &SheetGrid::codeEntered);

        // A row with an article shows its text; the search lies over empty rows only.
        grid.setCurrentIndex(grid.model().index(0, 1));
        QVERIFY(!grid.searchBox()->isVisible());
        QTest::keyClicks(&grid, QStringLiteral("S"));
        QVERIFY(!grid.searchBox()->isVisible());
        grid.setCurrentIndex(grid.model().index(1, 1));
        QVERIFY(grid.searchBox()->isVisible());
        QCOMPARE(sheet.table().recordNumber(), 2u);
        // Tab passes over; another character starts the search with it.
        QTest::keyClick(&grid, Qt::Key_Tab);
        grid.setCurrentIndex(grid.model().index(1, 1));
        QTest::keyClicks(&grid, QStringLiteral("s"));
        QCOMPARE(grid.searchBox()->currentText(), QStringLiteral("s"));
        grid.searchBox()->setEditText(QStringLiteral("SANDALO"));
        QTest::keyClick(grid.searchBox()->lineEdit(), Qt::Key_Return);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen[0][0].toString(), QStringLiteral("SANDALO"));
        QVERIFY(!grid.searchBox()->isVisible());

        // The code box: typing in the code column of an empty row.
        grid.setCurrentIndex(grid.model().index(2, 0));
        QTest::keyClicks(&grid, QStringLiteral("8"));
        QVERIFY(grid.codeBox()->isVisible());
        QTest::keyClicks(grid.codeBox(), QStringLiteral("00001101103"));
        QTest::keyClick(grid.codeBox(), Qt::Key_Return);
        QCOMPARE(codes.size(), 1);
        QCOMPARE(codes[0][0].toString(), QStringLiteral("800001101103"));
        QVERIFY(!grid.codeBox()->isVisible());
    }

    void sizePanelShowsLabelsAndValuesApart() {
        ShopFixture f;
        addDocumentData(f);
        SizePanel panel(f.db());
        panel.openTables();
        const SizeType sizes = loadSizeType(f.db(), 1);
        panel.begin(sizes.name, sizes.labels, QStringLiteral("ROSSI"), QStringLiteral("STIVALE"),
                    QStringLiteral("PELLE"));
        panel.show();
        QCOMPARE(testing::child<QLabel>(panel, "L2")->text(), QStringLiteral("39"));
        QVERIFY(!panel.quantityBox(6)->isVisible());
        QVERIFY(!testing::child<QLabel>(panel, "V1")->isVisible());
        panel.setCellValues({QStringLiteral("4"), QStringLiteral("-1")});
        QVERIFY(testing::child<QLabel>(panel, "V1")->isVisible());
        QCOMPARE(testing::child<QLabel>(panel, "V2")->text(), QStringLiteral("-1"));
        QVERIFY(!testing::child<QLabel>(panel, "V6")->isVisible());
        // The values shown never count as quantities.
        QCOMPARE(panel.entry().sum(), 0.0);
        panel.quantityBox(2)->setText(QStringLiteral("3"));
        panel.quantityBox(6)->setText(QStringLiteral("9"));
        QCOMPARE(panel.entry().sum(), 3.0);
        QVERIFY(!testing::button(panel, "Carica")->isEnabled());
        panel.colourBox()->setCurrentIndex(panel.colourBox()->findText(QStringLiteral("BLU")));
        QVERIFY(testing::button(panel, "Carica")->isEnabled());
        QCOMPARE(panel.entry().colourNumber(), 2);
        // A new article starts from zero without a colour.
        panel.begin(sizes.name, sizes.labels, {}, {}, {});
        QCOMPARE(panel.entry().sum(), 0.0);
        QVERIFY(!testing::button(panel, "Carica")->isEnabled());
        QVERIFY(!testing::child<QLabel>(panel, "V1")->isVisible());
    }

    void placementAndNotification() {
        CentralPanel central;
        central.resize(800, 600);
        central.show();
        Opener opener;
        auto *window = new Document;
        window->setOpener(&opener);
        QSignalSpy notified(window, &DocumentWindow::notified);
        DocumentWindow::place(window, &central);
        QCOMPARE(window->parentWidget(), &central);
        QCOMPARE(window->geometry(), central.rect());
        QVERIFY(central.windows().contains(window));
        central.resize(900, 650);
        QCOMPARE(window->size(), QSize(900, 650));
        window->finish();
        QVERIFY(!window->isVisible());
        QCOMPARE(opener.codes, QList<int>{1});
        QCOMPARE(notified.size(), 1);

        // Any other parent is covered the same way.
        QWidget plain;
        plain.resize(300, 200);
        Document other;
        DocumentWindow::place(&other, &plain);
        QCOMPARE(other.geometry(), plain.rect());
        QVERIFY(other.testAttribute(Qt::WA_WState_Visible) || other.isVisibleTo(&plain));
    }
};

QTEST_MAIN(TestDocumentWidgets)
#include "tst_documentwidgets.moc"

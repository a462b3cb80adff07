#include "common/Widgets.h"
#include "db/Database.h"
#include "platform/ScriptedPrompter.h"
#include "schema/DataFolderSchema.h"
#include "shell/CentralPanel.h"
#include "shell/DataFolderSetup.h"
#include "shell/Shop.h"
#include "shell/TFMain.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace corvale;

class TestTFMain : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    Clock m_clock{QDate(2026, 3, 15)};

    static QPushButton *button(TFMain &w, const char *name) { return testing::button(w, name); }

    // Resizes so that the outer (frame) size is w x h, as the layout rule reads it.
    static void resizeOuter(QWidget &window, int w, int h) {
        const QSize extra = window.frameGeometry().size() - window.size();
        window.resize(QSize(w, h) - extra);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(ProgramFolder(m_dir.path()).prepare()); }

    void layoutRule() {
        ScriptedPrompter prompter;
        Shop shop(ProgramFolder(m_dir.path()), m_clock, prompter);
        shop.setTableLayouts(allTableLayouts());
        TFMain w(shop);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        resizeOuter(w, 800, 600);
        QCOMPARE(w.frameGeometry().width(), 800);
        for (const char *name : {"pa", "pv", "ps", "pp"})
            QCOMPARE(button(w, name)->width(), 240);
        QCOMPARE(button(w, "pa")->x(), 400 - 240 - 20);
        QCOMPARE(button(w, "pv")->x(), 400 - 240 - 20);
        QCOMPARE(button(w, "ps")->x(), 430);
        QCOMPARE(button(w, "pa")->height(), 600 / 7);
        QCOMPARE(button(w, "pv")->y(), button(w, "pa")->y() + 600 / 7 + 30);
        QCOMPARE(button(w, "pp")->y(), button(w, "pv")->y());
        QCOMPARE(button(w, "ps")->y(), button(w, "pa")->y());
        QPushButton *conf = button(w, "pconf");
        QCOMPARE(conf->size(), QSize(173, 48));
        QCOMPARE(conf->x(), 800 - 173 - 50);
        QCOMPARE(conf->y(), w.centralPanel()->height() - 80);
        auto *subtitle = w.findChild<QLabel *>(QStringLiteral("subtitle"));
        QCOMPARE(subtitle->text(), QStringLiteral(" GESTIONE NEGOZIO ABBIGLIAMENTO "));
        QCOMPARE(subtitle->x(), 400 - subtitle->width() / 2);

        resizeOuter(w, 1024, 768);
        QCOMPARE(button(w, "pa")->width(), 256 + 51);

        // Below 700 x 550 the window snaps back.
        resizeOuter(w, 600, 700);
        QCOMPARE(w.frameGeometry().size(), QSize(800, 700));
        resizeOuter(w, 900, 500);
        QCOMPARE(w.frameGeometry().size(), QSize(900, 600));
        resizeOuter(w, 300, 200);
        QCOMPARE(w.frameGeometry().size(), QSize(800, 600));
    }

    // A data folder that lost a table of records says so when it opens; the
    // work tables it lost are simply made anew, and the program still starts.
    void missingTablesAtOpening() {
        QTemporaryDir dir;
        const ProgramFolder folder(dir.path());
        QVERIFY(folder.prepare());
        {
            ScriptedPrompter quiet;
            Shop shop(folder, m_clock, quiet);
            shop.setTableLayouts(allTableLayouts());
            shop.openDatabase();
        }
        const QDir data(folder.dataPath());
        for (const char *gone : {"FORNITOR.DBF", "FORNITOR.MDX", "TABLE4.DBF"})
            QVERIFY(QFile::remove(data.filePath(QString::fromLatin1(gone))));
        ScriptedPrompter prompter;
        prompter.expectError(DataFolderSetup::missingTablesText(folder.dataPath(),
                                                                {QStringLiteral("FORNITOR.DBF")}));
        Shop shop(folder, m_clock, prompter);
        shop.setTableLayouts(allTableLayouts());
        TFMain w(shop);
        QVERIFY(prompter.done());
        QVERIFY(shop.database().isOpen());
        QVERIFY(QFileInfo::exists(data.filePath(QStringLiteral("TABLE4.DBF"))));
        QVERIFY(!QFileInfo::exists(data.filePath(QStringLiteral("FORNITOR.DBF"))));
    }

    void statusBarAndDisabledEntries() {
        ScriptedPrompter prompter;
        Shop shop(ProgramFolder(m_dir.path()), m_clock, prompter);
        shop.setTableLayouts(allTableLayouts());
        TFMain w(shop);
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("StatusPanel1"))->text(),
                 QStringLiteral("CORVALE QUIRA"));
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("StatusPanel2"))->text(),
                 QStringLiteral("VER. 02.31.01"));
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("StatusPanel4"))->text(),
                 QStringLiteral("FIDELITY"));
        QVERIFY(w.findChild<QLabel *>(QStringLiteral("StatusPanel0"))->text().isEmpty());
        // A window not part of this build: disabled and saying so.
        QVERIFY(!button(w, "pv")->isEnabled());
        QVERIFY(!button(w, "pv")->toolTip().isEmpty());
        int opened = 0;
        w.setEntryAction(TFMain::Entry::Sale, [&] { ++opened; });
        QVERIFY(button(w, "pv")->isEnabled());
        QVERIFY(button(w, "pv")->toolTip().isEmpty());
        button(w, "pv")->click();
        QCOMPARE(opened, 1);

        shop.texts().nameLine1 = QStringLiteral("BOUTIQUE ROSA");
        shop.texts().nameLine2 = QStringLiteral("di Rosa Bianchi");
        shop.texts().vatNumber = QStringLiteral("01234567890");
        int loads = 0;
        w.setShopTextsLoader([&] { ++loads; });
        w.setEntryAction(TFMain::Entry::Config, [] {});
        button(w, "pconf")->click();
        QCOMPARE(loads, 1);
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("StatusPanel3"))->text(),
                 QStringLiteral("BOUTIQUE ROSA di Rosa Bianchi - P.IVA 01234567890"));
    }

    // At 800 x 600 every panel of the status line shows its whole text, the
    // shop's line at its longest (every character its column holds) included.
    void statusLineShowsWholeTexts() {
        ScriptedPrompter prompter;
        Shop shop(ProgramFolder(m_dir.path()), m_clock, prompter);
        shop.setTableLayouts(allTableLayouts());
        TFMain w(shop);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        resizeOuter(w, 800, 600);
        auto words = [](int length) {
            QString text;
            while (text.size() < length)
                text += QStringLiteral("WMWMWMW ");
            return text.left(length);
        };
        shop.texts().nameLine1 = words(40);         // RAGIONE
        shop.texts().nameLine2 = words(50);         // RAGION2
        shop.texts().vatNumber = QString(40, u'W'); // PIVA, one word
        w.refreshStatusBar();
        // The status bar grows as the line asks, at the next layout pass.
        auto *shopLine = w.findChild<QLabel *>(QStringLiteral("StatusPanel3"));
        QTRY_VERIFY(testing::insideWindow(shopLine));
        QCOMPARE(w.frameGeometry().size(), QSize(800, 600));
        for (int i : {1, 2, 4}) {
            auto *panel = w.findChild<QLabel *>(QStringLiteral("StatusPanel%1").arg(i));
            QVERIFY2(testing::insideWindow(panel), qPrintable(panel->text()));
            QVERIFY2(panel->fontMetrics().horizontalAdvance(panel->text()) <=
                         panel->contentsRect().width(),
                     qPrintable(panel->text()));
        }
        // The shop's line goes onto as many lines as it needs.
        const QRect room = shopLine->contentsRect();
        const QRect needed = shopLine->fontMetrics().boundingRect(
            QRect(0, 0, room.width(), 10000), Qt::TextWordWrap, shopLine->text());
        QVERIFY2(needed.width() <= room.width(), qPrintable(shopLine->text()));
        QVERIFY(needed.height() <= room.height());
        QVERIFY(needed.height() > shopLine->fontMetrics().height()); // it did wrap
        // Back to a short name, one line is enough again.
        shop.texts().nameLine1 = QStringLiteral("BOUTIQUE ROSA");
        shop.texts().nameLine2.clear();
        shop.texts().vatNumber = QStringLiteral("01234567890");
        w.refreshStatusBar();
        QVERIFY(shopLine->height() < 2 * shopLine->fontMetrics().height());
    }

    void passwordGate() {
        ScriptedPrompter prompter;
        Shop shop(ProgramFolder(m_dir.path()), m_clock, prompter);
        shop.setTableLayouts(allTableLayouts());
        TFMain w(shop);
        int archive = 0, cashBook = 0;
        w.setEntryAction(TFMain::Entry::Archive, [&] { ++archive; });
        w.setEntryAction(TFMain::Entry::CashBook, [&] { ++cashBook; });

        // No password: both open at once, nothing asked.
        button(w, "pa")->click();
        button(w, "pp")->click();
        QCOMPARE(archive, 1);
        QCOMPARE(cashBook, 1);

        shop.setActivePassword(QStringLiteral("Segreta"));
        prompter
            .expectPassword({}, QStringLiteral("segreta")) // letter case matters
            .expectPassword({}, std::nullopt)              // cancel
            .expectPassword({}, QStringLiteral("Segreta"))
            .expectPassword({}, QStringLiteral("Segreta"));
        button(w, "pa")->click();
        button(w, "pa")->click();
        QCOMPARE(archive, 1);
        button(w, "pa")->click();
        QCOMPARE(archive, 2);
        button(w, "pp")->click(); // asked again at every click
        QCOMPARE(cashBook, 2);
        QVERIFY(prompter.done());

        // The telematic register's closure waits behind the same gate.
        int closure = 0;
        w.setEntryAction(TFMain::Entry::Register, [&] { ++closure; });
        prompter.expectPassword({}, QStringLiteral("sbagliata"))
            .expectPassword({}, QStringLiteral("Segreta"));
        button(w, "RxSpeedButton3")->click();
        QCOMPARE(closure, 0);
        button(w, "RxSpeedButton3")->click();
        QCOMPARE(closure, 1);
        QVERIFY(prompter.done());
    }

    void exitQuestionAndAutoArchive() {
        ScriptedPrompter prompter;
        Shop shop(ProgramFolder(m_dir.path()), m_clock, prompter);
        shop.setTableLayouts(allTableLayouts());
        TFMain w(shop);
        int archives = 0;
        w.setAutoArchive([&] {
            ++archives;
            return true;
        });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        prompter.expectConfirm(QStringLiteral("CHIUDERE IL PROGRAMMA ?"), false);
        button(w, "RxSpeedButton2")->click();
        QVERIFY(w.isVisible());
        QCOMPARE(archives, 0); // automatic saving is off

        shop.preferences().autoSave = true;
        prompter.expectConfirm(QStringLiteral("CHIUDERE IL PROGRAMMA ?"), false);
        button(w, "RxSpeedButton2")->click();
        QCOMPARE(archives, 1); // written even though the answer was No
        QVERIFY(w.isVisible());

        // The close box asks the same, and never writes the copy.
        prompter.expectConfirm(QStringLiteral("CHIUDERE IL PROGRAMMA ?"), true);
        QVERIFY(w.close());
        QCOMPARE(archives, 1);
        QVERIFY(!w.isVisible());
        QVERIFY(prompter.done());
    }

    void infoWindowShowsTheShop() {
        ScriptedPrompter prompter;
        Shop shop(ProgramFolder(m_dir.path()), m_clock, prompter);
        shop.setTableLayouts(allTableLayouts());
        TFMain w(shop);
        shop.texts().nameLine1 = QStringLiteral("BOUTIQUE ROSA");
        shop.texts().nameLine2 = QStringLiteral("di Rosa Bianchi");
        QString title, line1, line2;
        QTimer::singleShot(0, [&] {
            auto *about = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(about);
            title = about->windowTitle();
            line1 = about->findChild<QLabel *>(QStringLiteral("RAGIONE"))->text();
            line2 = about->findChild<QLabel *>(QStringLiteral("RAGION2"))->text();
            about->findChild<QPushButton *>(QStringLiteral("CHIUDI"))->click();
        });
        button(w, "RxSpeedButton1")->click();
        QCOMPARE(title, QStringLiteral("Info su CORVALE QUIRA"));
        QCOMPARE(line1, QStringLiteral("BOUTIQUE ROSA"));
        QCOMPARE(line2, QStringLiteral("di Rosa Bianchi"));
    }

    void firstActivationLoadsShopTexts() {
        ScriptedPrompter prompter;
        Shop shop(ProgramFolder(m_dir.path()), m_clock, prompter);
        shop.setTableLayouts(allTableLayouts());
        TFMain w(shop);
        int loads = 0;
        w.setShopTextsLoader([&] {
            ++loads;
            shop.texts().nameLine1 = QStringLiteral("NEGOZIO");
            shop.texts().vatNumber = QStringLiteral("123");
        });
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTRY_COMPARE(loads, 1);
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("StatusPanel3"))->text(),
                 QStringLiteral("NEGOZIO  - P.IVA 123"));
        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(loads, 1); // only the first activation
    }

    void panelWindowsFollowThePanel() {
        ScriptedPrompter prompter;
        Shop shop(ProgramFolder(m_dir.path()), m_clock, prompter);
        shop.setTableLayouts(allTableLayouts());
        TFMain w(shop);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.resize(900, 700);
        auto *work = new QWidget;
        w.showInPanel(work);
        QCOMPARE(work->parentWidget(), static_cast<QWidget *>(w.centralPanel()));
        QCOMPARE(work->geometry(), w.centralPanel()->rect());
        w.resize(1200, 900);
        QCOMPARE(work->geometry(), w.centralPanel()->rect());
        QVERIFY(work->geometry().width() > 1100);
    }
};

QTEST_MAIN(TestTFMain)
#include "tst_tfmain.moc"

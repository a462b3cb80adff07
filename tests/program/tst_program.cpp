#include "cashbook/TFPrimaNota.h"
#include "common/ShopFixture.h"
#include "common/Widgets.h"

#include "catalogue/ArticleData.h"
#include "catalogue/TFAltri.h"
#include "catalogue/TFArcArt.h"
#include "catalogue/TFArcTag.h"
#include "catalogue/TFScheda.h"
#include "labels/TFLabels.h"
#include "maintenance/TFArchivio.h"
#include "program/Program.h"
#include "purchasing/TFArcAcq.h"
#include "purchasing/TFArcOrdini.h"
#include "purchasing/TFArcResi.h"
#include "purchasing/TFCarico.h"
#include "purchasing/TFFornitori.h"
#include "purchasing/TFReso.h"
#include "sales/TFArcFat.h"
#include "sales/TFArcVen.h"
#include "sales/TFBanco.h"
#include "sales/TFFattura.h"
#include "sales/TFClienti.h"
#include "shell/CentralPanel.h"
#include "shell/TFMain.h"
#include "widgets/TableModel.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QToolButton>

using namespace corvale;
using testing::button;
using testing::click;

class TestProgram : public QObject {
    Q_OBJECT
private:
    static void start(Program &program) {
        QVERIFY(program.ready());
        TFMain &main = program.mainWindow();
        main.resize(1000, 700);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
    }
    static bool inPanel(Program &program, QWidget &window) {
        CentralPanel *panel = program.mainWindow().centralPanel();
        return window.isVisible() && window.parentWidget() == panel &&
               window.geometry() == panel->rect();
    }
    // Runs `check` on the modal window that `trigger` opens, then closes it with `close`.
    template <typename Check>
    static void onModal(Check check, const std::function<void()> &trigger) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            seen = true;
            check(*modal);
        });
        trigger();
        QVERIFY(seen);
    }

private Q_SLOTS:
    void archiveBehindThePasswordGate() {
        ShopFixture f;
        Program program(*f.shop);
        start(program);
        TFMain &main = program.mainWindow();
        QVERIFY(button(main, "pa")->isEnabled());
        QVERIFY(!program.archive().isVisible());

        f.shop->setActivePassword(QStringLiteral("Segreta"));
        f.prompter.expectPassword({}, QStringLiteral("segreta"));
        click(main, "pa");
        QVERIFY(!program.archive().isVisible());
        f.prompter.expectPassword({}, QStringLiteral("Segreta"));
        click(main, "pa");
        QVERIFY(inPanel(program, program.archive()));
        // Laid out for the panel it fills.
        const QSize area = main.centralPanel()->size();
        QCOMPARE(button(program.archive(), "ARTICOLI")->width(),
                 area.width() / 4 + (area.width() / 4) / 10 + 8);

        // The cash book opens in the panel, behind the same gate.
        f.prompter.expectPassword({}, QStringLiteral("sbagliata"));
        click(main, "pp");
        QVERIFY(!main.findChild<TFPrimaNota *>()->isVisible());
        f.prompter.expectPassword({}, QStringLiteral("Segreta"));
        click(main, "pp");
        QVERIFY(inPanel(program, *main.findChild<TFPrimaNota *>()));
        QVERIFY(f.prompter.done());
    }

    void hubOpensTheArchives() {
        ShopFixture f;
        Program program(*f.shop);
        start(program);
        click(program.mainWindow(), "pa");
        TFArchivio &hub = program.archive();

        click(hub, "ARTICOLI");
        QVERIFY(inPanel(program, program.articles()));
        QCOMPARE(program.articles().mode(), TFArcArt::Mode::Normal);
        click(program.articles(), "Uscita");
        QVERIFY(!program.articles().isVisible());
        QVERIFY(hub.isVisible());

        // "Carico" from the article archive: a new receipt over it, which reports back to it.
        click(hub, "ARTICOLI");
        click(program.articles(), "Carico");
        QPointer<TFCarico> receipt = program.articleReceipt();
        QVERIFY(receipt);
        QVERIFY(inPanel(program, *receipt));
        QCOMPARE(receipt->DocumentKey, qint64(0));
        click(program.articles(), "Carico"); // a new one each time
        QVERIFY(!receipt);                   // the previous one is gone
        QVERIFY(program.articleReceipt());
        receipt = program.articleReceipt();
        click(program.articles(), "Uscita");

        // One receipt window at a time, whoever opens it: the purchase archive's
        // "Nuovo" replaces the one opened from the article archive.
        click(hub, "ACQUISTI");
        QVERIFY(inPanel(program, program.purchases()));
        click(program.purchases(), "Nuovo");
        QVERIFY(!receipt);
        QCOMPARE(program.mainWindow().findChildren<TFCarico *>().size(), 1);
        delete program.purchases().receiptWindow();
        click(program.purchases(), "Uscita");
        QVERIFY(!program.purchases().isVisible());

        click(hub, "RESI FORNITORE");
        QVERIFY(inPanel(program, program.returns()));
        click(program.returns(), "Uscita");
        QVERIFY(!program.returns().isVisible());
        click(hub, "ORDINI FORNITORE");
        QVERIFY(inPanel(program, program.orders()));
        // "Nuovo" opens the order window over the archive, which reports back to it.
        click(program.orders(), "Nuovo");
        QPointer<TFReso> order = program.orders().documentWindow();
        QVERIFY(order);
        QVERIFY(inPanel(program, *order));
        QCOMPARE(order->DocumentMode, TFReso::Mode::Order);
        click(*order, "Annulla");
        QVERIFY(!order->isVisible());
        click(program.orders(), "Uscita");

        click(hub, "TAGLIE");
        QVERIFY(inPanel(program, program.sizeTypes()));
        click(program.sizeTypes(), "Uscita");

        // The suppliers are modal, over the work area, until their "Uscita".
        onModal(
            [&](QWidget &modal) {
                QVERIFY(modal.isAncestorOf(&program.suppliers()));
                QVERIFY(program.suppliers().isVisible());
                QCOMPARE(modal.size(), program.mainWindow().centralPanel()->size());
                click(program.suppliers(), "Uscita");
            },
            [&] { click(hub, "FORNITORI"); });
        QVERIFY(!program.suppliers().isVisible());
        QVERIFY(!QApplication::activeModalWidget());

        onModal(
            [&](QWidget &modal) {
                QCOMPARE(&modal, static_cast<QWidget *>(&program.lists()));
                program.lists().reject();
            },
            [&] { click(hub, "Varie"); });

        // The customers likewise.
        onModal(
            [&](QWidget &modal) {
                auto *customers = modal.findChild<TFClienti *>();
                QVERIFY(customers);
                QVERIFY(customers->isVisible());
                QCOMPARE(modal.size(), program.mainWindow().centralPanel()->size());
                click(*customers, "Uscita");
            },
            [&] { click(hub, "CLIENTI"); });
        QVERIFY(!QApplication::activeModalWidget());

        // The archive's own operations start with their dialog or question.
        f.prompter.expectSaveFile(std::nullopt);
        click(hub, "Salva");
        f.prompter.expectOpenFile(std::nullopt);
        click(hub, "Carica");
        f.prompter.expectConfirm({}, false);
        click(hub, "Verifica");
        QVERIFY(f.prompter.done());
    }

    // "VENDITA" and "FATTURA" open a new sale and a new invoice in the work
    // area, one window of each kind at a time; the hub shows their archives.
    void saleAndInvoiceEntriesAndArchives() {
        ShopFixture f;
        Program program(*f.shop);
        start(program);
        TFMain &main = program.mainWindow();
        click(main, "pv");
        QPointer<TFBanco> sale = program.sales().saleWindow();
        QVERIFY(sale);
        QVERIFY(inPanel(program, *sale));
        QCOMPARE(sale->DocumentKey, qint64(0));
        click(main, "pv");
        QVERIFY(!sale);
        QCOMPARE(main.findChildren<TFBanco *>().size(), 1);
        click(main, "ps");
        QPointer<TFFattura> invoice = program.invoices().invoiceWindow();
        QVERIFY(invoice);
        QVERIFY(inPanel(program, *invoice));
        QCOMPARE(invoice->DocumentKey, qint64(0));
        click(main, "ps");
        QVERIFY(!invoice);
        QCOMPARE(main.findChildren<TFFattura *>().size(), 1);
        delete program.sales().saleWindow();
        delete program.invoices().invoiceWindow();

        click(main, "pa");
        click(program.archive(), "VENDITE");
        QVERIFY(inPanel(program, program.sales()));
        click(program.sales(), "Nuova");
        QVERIFY(inPanel(program, *program.sales().saleWindow()));
        delete program.sales().saleWindow();
        click(program.sales(), "Uscita");
        QVERIFY(!program.sales().isVisible());
        click(program.archive(), "FATTURE");
        QVERIFY(inPanel(program, program.invoices()));
        click(program.invoices(), "Uscita");
        QVERIFY(!program.invoices().isVisible());
        QVERIFY(f.prompter.done());
    }

    void articleCardReachesTheSupplierCard() {
        ShopFixture f;
        Program program(*f.shop);
        QVERIFY(program.ready());
        auto *newSupplier = program.articles().card().findChild<QToolButton *>(
            QStringLiteral("Inserisci un nuovo Fornitore"));
        QVERIFY(newSupplier);
        QVERIFY(newSupplier->isEnabled());
    }

    // Both label buttons fill the label list and show the one label window on it.
    void labelButtonsOpenTheLabelWindow() {
        ShopFixture f;
        articledata::sizeType(f, 1, QStringLiteral("NUMERI"), {QStringLiteral("38")});
        articledata::article(f, 1, QStringLiteral("GIACCA"), {{QStringLiteral("TIPOTAGLIA"), 1}});
        articledata::stockRow(f, 1, QStringLiteral("ROSSO"), {2});
        Program program(*f.shop);
        start(program);
        click(program.mainWindow(), "pa");
        click(program.archive(), "ARTICOLI");
        f.prompter.expectConfirmCancel(
            QStringLiteral("Stampare solo le etichette relative agli articoli in giacenza?"),
            Prompter::Answer::Yes);
        TFLabels *shown = nullptr;
        onModal(
            [&](QWidget &modal) {
                shown = qobject_cast<TFLabels *>(&modal);
                QVERIFY(shown);
                QCOMPARE(shown->model().rowCount(), 1);
                click(modal, "Uscita");
            },
            [&] { click(program.articles(), "Etichette"); });
        click(program.articles(), "Uscita");

        click(program.archive(), "ACQUISTI");
        click(program.purchases(), "Nuovo");
        QPointer<TFCarico> receipt = program.purchases().receiptWindow();
        QVERIFY(receipt);
        f.prompter.expectConfirm(
            QStringLiteral("Stampare le etichette relative\ragli articoli presenti nel carico?"),
            true);
        onModal(
            [&](QWidget &modal) {
                QCOMPARE(&modal, static_cast<QWidget *>(shown));
                click(modal, "Uscita");
            },
            [&] { receipt->BEtichetteClick(); });
        QVERIFY(f.prompter.done());
        delete receipt;
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"

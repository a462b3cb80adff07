// The counter sale window: scanner, description and size panel, discounts,
// card and customer, printout, permanent mode, cancel and a stored sale.

#include "tst_banco_window.h"

#include "catalogue/TFArcArt.h"
#include "catalogue/TFFoto.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "platform/NotYetAvailable.h"
#include "printing/PrintService.h"
#include "printing/RecordingCanvas.h"
#include "purchasing/ReceiptEntry.h"
#include "widgets/LookupCombo.h"

#include <QCheckBox>
#include <QSignalSpy>

using namespace corvale;
using testing::click;

class TestBanco : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scannerTypesCodesIntoTheSheet() {
        ShopFixture f;
        addSaleData(f);
        TFBanco w(*f.shop);
        showSale(w);
        QCOMPARE(w.windowTitle(), QStringLiteral("Nuova Vendita"));
        QCOMPARE(testing::child<QLineEdit>(w, "Numero")->text(), QStringLiteral("1"));
        QCOMPARE(testing::child<QLineEdit>(w, "Data")->text(), QStringLiteral("15/03/2026"));
        QCOMPARE(w.grid().model().rowCount(), 200);

        scan(saleCode(1, 1));
        scan(saleCode(2, 2));
        scan(QStringLiteral("800002"));
        QCOMPARE(saleColumn(w, sheet::COLORE), (QStringList{"ROSSO", "BLU", ""}));
        QCOMPARE(saleColumn(w, sheet::CTAGLIA), (QStringList{"38", "39", "38"}));
        QCOMPARE(labelText(w, "NumeroPezzi"), QStringLiteral("3"));
        QCOMPARE(labelText(w, "Totale"), QStringLiteral("170,72"));
        // The next scan goes on the fourth row.
        QCOMPARE(w.grid().currentIndex().row(), 3);

        // An unknown code is reported and the code box waits, empty, for the next.
        f.prompter.expectError(QStringLiteral("12345\rArticolo inesistente!"));
        scan(QStringLiteral("12345"));
        QLineEdit *box = w.grid().codeBox();
        QVERIFY(box->isVisible());
        QVERIFY(box->hasFocus());
        QVERIFY(box->text().isEmpty());
        // A misread line barcode is asked for again, rather than sold as
        // whatever colour and size its digits happen to say.
        QString misread = saleCode(2, 2);
        misread[12] = misread[12] == u'9' ? u'8' : u'9';
        f.prompter.expectError(
            misread + QStringLiteral("\rCifra di controllo errata: controllare il codice!"));
        scan(misread);
        QVERIFY(box->hasFocus());
        // Typed in lower case, the code box takes capitals.
        scan(QStringLiteral("extra1"));
        QVERIFY(w.sizePanel().isVisible());
        click(w.sizePanel(), "AnnullaTaglie");
        QVERIFY(!w.sizePanel().isVisible());
        QCOMPARE(w.sale().lines().size(), 3);
        QVERIFY(f.prompter.done());
    }

    void sizePanelShowsStockAndSellsOnlyFromIt() {
        ShopFixture f;
        addSaleData(f);
        TFBanco w(*f.shop);
        showSale(w);
        typeArticle(w, QStringLiteral("STIVALE CUOIO"));
        SaleSizePanel &panel = w.sizePanel();
        QVERIFY(panel.isVisible());
        QVERIFY(!w.grid().isEnabled());
        QVERIFY(!testing::button(w, "Salva")->isEnabled());
        QCOMPARE(testing::child<QLabel>(panel, "ArticoloTaglie")->text(),
                 QStringLiteral("STIVALE CUOIO"));
        QTableWidget *grid = panel.grid();
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->horizontalHeaderItem(3)->text(), QStringLiteral("40"));
        QCOMPARE(grid->item(0, 5)->text(), QStringLiteral("3"));
        QCOMPARE(grid->item(0, 3)->background().color(), QColor(Qt::lightGray));

        // An empty cell, a zero cell and the colour column do nothing.
        clickStockCell(w, 0, 3);
        clickStockCell(w, 0, 2);
        clickStockCell(w, 1, 0);
        QVERIFY(panel.isVisible());
        // A cell with stock (negative included) sells that colour and size.
        clickStockCell(w, 0, 4);
        QVERIFY(!panel.isVisible());
        QVERIFY(w.grid().isEnabled());
        QCOMPARE(saleColumn(w, sheet::BARCODE), QStringList{saleCode(1, 4)});
        QCOMPARE(saleColumn(w, sheet::CTAGLIA), QStringList{"41"});
        QCOMPARE(labelText(w, "Totale"), QStringLiteral("56,91"));

        // The article's own code gives no colour: for an article stocked by
        // colour the panel opens as it does for a description...
        scan(QStringLiteral("800001"));
        QVERIFY(panel.isVisible());
        QCOMPARE(grid->rowCount(), 2);
        clickStockCell(w, 1, 2);
        QVERIFY(!panel.isVisible());
        QCOMPARE(saleColumn(w, sheet::COLORE), (QStringList{"ROSSO", "BLU"}));
        QCOMPARE(saleColumn(w, sheet::BARCODE), (QStringList{saleCode(1, 4), saleCode(2, 2)}));
        w.grid().setCurrentIndex(w.grid().model().index(1, 1));
        click(w, "Elimina");

        // The panel's "Annulla" leaves the row as it was.
        typeArticle(w, QStringLiteral("SANDALO"));
        QCOMPARE(panel.grid()->rowCount(), 0);
        click(panel, "AnnullaTaglie");
        QCOMPARE(w.sale().lines().size(), 1);

        // "Elimina" on the line takes it away, without a question.
        w.grid().setCurrentIndex(w.grid().model().index(0, 1));
        click(w, "Elimina");
        QVERIFY(w.sale().lines().isEmpty());
        QCOMPARE(labelText(w, "Totale"), QStringLiteral("0,00"));
        QVERIFY(f.prompter.done());
    }

    void photoFollowsTheArticleWhileTheShopWantsPhotos() {
        ShopFixture f;
        addSaleData(f);
        TFBanco w(*f.shop);
        showSale(w);
        TFFoto *photo = w.findChild<TFFoto *>();
        QVERIFY(photo);
        // Nothing to sell, nothing goes to the register.
        f.prompter.expectError(TFBanco::noArticlesText);
        click(w, "Scontrino");
        QVERIFY(w.grid().isEnabled());
        scan(saleCode(1, 1));
        QVERIFY(!photo->isVisible());
        f.shop->preferences().showPhotos = true;
        scan(saleCode(2, 2));
        QVERIFY(photo->isVisible());
        // The size panel's "Annulla" takes it away; so does leaving the sale.
        typeArticle(w, QStringLiteral("STIVALE CUOIO"));
        QVERIFY(photo->isVisible());
        click(w.sizePanel(), "AnnullaTaglie");
        QVERIFY(!photo->isVisible());
        scan(saleCode(1, 1));
        QVERIFY(photo->isVisible());
        click(w, "Annulla");
        QVERIFY(!photo->isVisible());
        QVERIFY(f.prompter.done());
    }

    void saleDiscountAndTargetPrice() {
        ShopFixture f;
        addSaleData(f);
        TFBanco w(*f.shop);
        showSale(w);
        scan(saleCode(1, 1));
        scan(QStringLiteral("800002"));
        QCOMPARE(labelText(w, "Totale"), QStringLiteral("113,81"));
        testing::type(w, "Sconto", QStringLiteral("10"));
        QCOMPARE(labelText(w, "Totale"), QStringLiteral("102,43"));

        const QString caption = QStringLiteral("CORVALE QUIRA");
        const QString prompt = QStringLiteral("Prezzo scontato");
        f.prompter.expectInput(caption, prompt, QStringLiteral("100"), QString());
        click(w, "PrezzoScontato");
        QCOMPARE(testing::child<QLineEdit>(w, "Sconto")->text(), QStringLiteral("12,13"));
        QCOMPARE(labelText(w, "Totale"), QStringLiteral("100,00"));
        // Above the gross amount: no discount. Not a number, cancelled: nothing.
        f.prompter.expectInput(caption, prompt, QStringLiteral("250"));
        click(w, "PrezzoScontato");
        QCOMPARE(testing::child<QLineEdit>(w, "Sconto")->text(), QStringLiteral("0"));
        f.prompter.expectInput(caption, prompt, QStringLiteral("poco"));
        click(w, "PrezzoScontato");
        f.prompter.expectInput(caption, prompt, std::nullopt);
        click(w, "PrezzoScontato");
        QCOMPARE(labelText(w, "Totale"), QStringLiteral("113,81"));

        testing::type(w, "Sconto", QStringLiteral("5"));
        testing::child<QCheckBox>(w, "VersamentoBanca")->setChecked(true);
        click(w, "Salva");
        QVERIFY(!w.isVisible());
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("TOTALE")),
                 QStringList{"108.12"});
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("SCONTO")), QStringList{"5"});
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("ISBANCA")),
                 QStringList{"True"});
        QVERIFY(f.prompter.done());
    }

    // The price typed is what the customer pays, also once the sale is stored
    // and reopened (22,20 % off 899,70 would be 699,97).
    void targetPriceSurvivesTheSave() {
        ShopFixture f;
        addSaleData(f);
        {
            db::Table articles(f.db());
            articles.setTableName(QStringLiteral("ARTICOLI"));
            articles.open();
            articles.first();
            articles.edit();
            articles.setFloat(QStringLiteral("PREZZOVND"), 899.70);
            articles.setFloat(QStringLiteral("SCONTO"), 0);
            articles.post();
        }
        TFBanco w(*f.shop);
        showSale(w);
        scan(saleCode(1, 1));
        QCOMPARE(labelText(w, "Totale"), QStringLiteral("899,70"));
        f.prompter.expectInput(QStringLiteral("CORVALE QUIRA"), QStringLiteral("Prezzo scontato"),
                               QStringLiteral("700"), QString());
        click(w, "PrezzoScontato");
        QCOMPARE(testing::child<QLineEdit>(w, "Sconto")->text(), QStringLiteral("22,2"));
        QCOMPARE(labelText(w, "Totale"), QStringLiteral("700,00"));
        click(w, "Salva");
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("TOTALE")), QStringList{"700"});

        TFBanco again(*f.shop);
        again.DocumentKey = 1;
        showSale(again);
        QCOMPARE(testing::child<QLineEdit>(again, "Sconto")->text(), QStringLiteral("22,2"));
        QCOMPARE(labelText(again, "Totale"), QStringLiteral("700,00"));
        click(again, "Annulla");
        QVERIFY(f.prompter.done());
    }

    // In the main window's central panel at 800 x 600 every text of the sale
    // shows whole: "Sconto %" its longest value, the check box its caption.
    void textsShowWholeAt800x600() {
        ShopFixture f;
        addSaleData(f);
        // The central panel of a main window of 800 x 600, less its title
        // band, button bar and status line; the sale fills it.
        QWidget panel;
        panel.resize(800, 600 - 28 - 51 - 24);
        panel.show();
        TFBanco w(*f.shop);
        DocumentWindow::place(&w, &panel);
        panel.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        QCOMPARE(w.width(), 800);
        w.grid().setFocus();
        scan(QStringLiteral("800001"));
        auto *discount = testing::child<QLineEdit>(w, "Sconto");
        testing::type(w, "Sconto", QStringLiteral("33,69"));
        QVERIFY(testing::showsWhole(discount, QStringLiteral("33,69")));
        // The box takes at most six characters: six of the widest digit.
        QCOMPARE(discount->maxLength(), 6);
        QVERIFY(testing::showsWhole(discount, QStringLiteral("000000")));
        QVERIFY(testing::showsWhole(testing::child<QLineEdit>(w, "Data"),
                                    QStringLiteral("00/00/0000")));
        QVERIFY(
            testing::showsWhole(testing::child<QLineEdit>(w, "Numero"), QStringLiteral("00000")));
        QVERIFY(testing::showsWhole(testing::child<QCheckBox>(w, "VersamentoBanca")));
        auto *total = testing::child<QLabel>(w, "Totale");
        QVERIFY(total->fontMetrics().horizontalAdvance(QStringLiteral("-999.999.999,99")) <=
                total->contentsRect().width());
        const QList<QWidget *> texts = w.findChildren<QWidget *>();
        for (QWidget *c : texts) {
            const bool captioned =
                (qobject_cast<QLabel *>(c) && !static_cast<QLabel *>(c)->text().isEmpty()) ||
                qobject_cast<QAbstractButton *>(c);
            if (captioned && c->isVisible() && !c->inherits("QTableCornerButton") &&
                c->parentWidget() == &w)
                QVERIFY2(testing::showsWhole(c),
                         qPrintable(c->objectName() + u' ' + c->property("text").toString()));
        }
        click(w, "Annulla");
    }

    void cardAndCustomerWithPoints() {
        ShopFixture f;
        addSaleData(f);
        // BIANCHI bought 100.50 and used 20 points.
        f.add(QStringLiteral("VENDITE"), {{QStringLiteral("NUMREG"), 1},
                                          {QStringLiteral("NUMDOC"), 1},
                                          {QStringLiteral("NUMCLI"), 1},
                                          {QStringLiteral("TOTALE"), 100.5},
                                          {QStringLiteral("MYDATA"), QStringLiteral("20250101")}});
        f.shop->routines().SetCounter(QStringLiteral("VENDITE"), 1);
        TFBanco w(*f.shop);
        showSale(w);
        QLineEdit *card = testing::child<QLineEdit>(w, "Carta");
        f.prompter.expectError(QStringLiteral("Carta inesistente!"));
        testing::type(w, "Carta", QStringLiteral("NESSUNA"));
        QTest::keyClick(card, Qt::Key_Return);
        QCOMPARE(labelText(w, "Punteggio"), QStringLiteral("0"));

        testing::type(w, "Carta", QStringLiteral("CARD100"));
        QTest::keyClick(card, Qt::Key_Return);
        QCOMPARE(labelText(w, "Punteggio"), QStringLiteral("80"));
        auto *customer = testing::child<LookupCombo>(w, "Cliente");
        QCOMPARE(customer->currentText(), QStringLiteral("BIANCHI"));

        // A quote in a card number is only a character of it; a code above
        // 5000 has its balance too.
        testing::type(w, "Carta", QStringLiteral("O'HARA"));
        QTest::keyClick(card, Qt::Key_Return);
        QCOMPARE(customer->currentText(), QStringLiteral("VERDI"));
        QCOMPARE(labelText(w, "Punteggio"), QStringLiteral("0"));

        // Choosing the customer by name brings the card along.
        customer->setCurrentIndex(customer->findText(QStringLiteral("BIANCHI")));
        Q_EMIT customer->activated(customer->currentIndex());
        QCOMPARE(card->text(), QStringLiteral("CARD100"));
        QCOMPARE(labelText(w, "Punteggio"), QStringLiteral("80"));

        scan(saleCode(1, 1));
        click(w, "Salva");
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("CLIENTE")),
                 (QStringList{"", "BIANCHI"}));
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("BARCODE")),
                 (QStringList{"", "CARD100"}));

        // Reopened, the stored sale shows its customer again; the points now
        // count it (100.50 + 56.91 at one point a euro, less 20 used).
        TFBanco again(*f.shop);
        again.DocumentKey = 2;
        showSale(again);
        QCOMPARE(again.windowTitle(), QStringLiteral("Modifica Vendita"));
        QCOMPARE(testing::child<QLineEdit>(again, "Carta")->text(), QStringLiteral("CARD100"));
        QCOMPARE(labelText(again, "Punteggio"), QStringLiteral("137"));
        QCOMPARE(again.sale().lines().size(), 1);
        click(again, "Annulla");
        QVERIFY(f.prompter.done());
    }

    void printoutOfTheSale() {
        ShopFixture f;
        addSaleData(f);
        f.setConfig({{QStringLiteral("RAGIONE"), QStringLiteral("BOTTEGA")},
                     {QStringLiteral("ADDRESS"), QStringLiteral("VIA ROMA 1")},
                     {QStringLiteral("CITTA"), QStringLiteral("ASTI")},
                     {QStringLiteral("TEL"), QStringLiteral("0141")},
                     {QStringLiteral("FAX"), QString()}});
        auto service = std::make_unique<RecordingPrintService>();
        RecordingPrintService &jobs = *service;
        f.shop->setPrintService(std::move(service));
        TFBanco w(*f.shop);
        showSale(w);
        scan(saleCode(1, 1));
        scan(QStringLiteral("800002"));
        testing::type(w, "Sconto", QStringLiteral("10"));
        click(w, "Stampa");
        QCOMPARE(jobs.jobs().size(), 1);
        const RecordingCanvas &page = *jobs.jobs()[0].canvas;
        QCOMPARE(page.pageCount(), 1);
        for (const char *text : {"BOTTEGA", "VIA ROMA 1 ASTI", "Tel 0141", "DESCRIZIONE ARTICOLO",
                                 "STIVALE CUOIO", "SANDALO", "SCONTO", "10%", "TOTALE", "102,43"})
            QVERIFY2(page.findText(QString::fromUtf8(text)), text);
        QCOMPARE(page.textsContaining(QStringLiteral("56,91")).size(), 2);
        QCOMPARE(page.textsContaining(QStringLiteral("Fax")).size(), 0);
        QVERIFY(f.prompter.done());
    }

    void permanentModeCancelAndOpener() {
        ShopFixture f;
        addSaleData(f);
        f.shop->ini().writeBool(QStringLiteral("GENERALI"), QStringLiteral("VENDBANCO"), true);
        SaleOpener opener;
        TFBanco w(*f.shop);
        w.setOpener(&opener);
        showSale(w);
        scan(saleCode(1, 1));
        click(w, "Salva");
        // The next sale is begun at once, in the same window.
        QVERIFY(w.isVisible());
        QCOMPARE(w.DocumentKey, 0);
        QCOMPARE(testing::child<QLineEdit>(w, "Numero")->text(), QStringLiteral("2"));
        QVERIFY(w.sale().lines().isEmpty());
        QCOMPARE(labelText(w, "Totale"), QStringLiteral("0,00"));
        QVERIFY(opener.codes.isEmpty());
        scan(QStringLiteral("800002"));
        // "Annulla" drops the pending sale: no record, no stock moved.
        click(w, "Annulla");
        QVERIFY(!w.isVisible());
        QCOMPARE(opener.codes, QList<int>{1});
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("NUMDOC")), QStringList{"1"});
        QCOMPARE(storedSaleLines(f).size(), 1);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 1.0);

        // A sale that is no longer stored closes at once: no "Salva" can
        // write over the stored one.
        const QStringList totals = f.column(QStringLiteral("VENDITE"), QStringLiteral("TOTALE"));
        TFBanco gone(*f.shop);
        gone.DocumentKey = 999;
        gone.setOpener(&opener);
        f.prompter.expectError(QStringLiteral("Vendita non trovata!"));
        gone.show();
        QVERIFY(!gone.isVisible());
        QCOMPARE(opener.codes, (QList<int>{1, 1}));
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("TOTALE")), totals);
        QCOMPARE(storedSaleLines(f).size(), 1);
        QVERIFY(f.prompter.done());
    }

    void aValueTheSaleCannotTakeStopsTheSave_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::newRow("number") << "Numero"
                                << "12x";
        QTest::newRow("discount") << "Sconto"
                                  << "5x";
    }
    void aValueTheSaleCannotTakeStopsTheSave() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        ShopFixture f;
        addSaleData(f);
        TFBanco w(*f.shop);
        showSale(w);
        scan(saleCode(1, 1));
        testing::type(w, box.toUtf8().constData(), text);
        f.prompter.expectError(QStringLiteral("Valore non valido"));
        click(w, "Salva");
        // Reported and not saved: the sale waits for a value it can take.
        QVERIFY(w.isVisible());
        QCOMPARE(recordCount(f, QStringLiteral("VENDITE")), 0);
        QCOMPARE(storedSaleLines(f).size(), 0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 2.0);
        QVERIFY(f.prompter.done());
    }

    void articlesPickedInTheArchive() {
        ShopFixture f;
        addSaleData(f);
        QWidget panel;
        panel.resize(1100, 700);
        TFBanco w(*f.shop, &panel);
        panel.show();
        showSale(w);
        f.prompter.expectInformation(notYetAvailableText());
        click(w, "Articoli");

        TFArcArt archive(*f.shop);
        w.setArticleArchive(&archive, &panel);
        click(w, "Articoli");
        QVERIFY(archive.isVisible());
        QCOMPARE(archive.mode(), TFArcArt::Mode::Picking);
        archive.grid().selectRow(1); // STIVALE CUOIO, after SANDALO
        click(archive, "Aggiungi");
        QVERIFY(!archive.isVisible());
        QVERIFY(w.sizePanel().isVisible());
        clickStockCell(w, 0, 5);
        QCOMPARE(saleColumn(w, sheet::BARCODE), QStringList{saleCode(1, 5)});
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestBanco)
#include "tst_banco.moc"

#include "purchasing/ReturnData.h"

#include "catalogue/TFScheda.h"
#include "db/Table.h"
#include "printing/PrintService.h"
#include "purchasing/TFFornitore.h"
#include "shell/Shop.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>

using namespace corvale;

namespace {

// Acts on the modal card of type T once it is shown; the card is closed
// afterwards whatever happened, so that a failed check cannot hang the test.
template <typename T, typename Action> void onCard(QObject *context, Action action) {
    QTimer::singleShot(0, context, [action] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *card = qobject_cast<T *>(w);
            if (!card || !card->isVisible())
                continue;
            action(*card);
            if (card->isVisible())
                card->reject();
            return;
        }
        qWarning("no card shown");
    });
}

} // namespace

class TestTFCarico : public QObject {
    Q_OBJECT
private:
    static QString label(QWidget &w, const char *name) {
        return testing::child<QLabel>(w, name)->text();
    }
    static QString box(QWidget &w, const char *name) {
        return testing::child<QLineEdit>(w, name)->text();
    }
    static RecordingPrintService &printer(ShopFixture &f) {
        auto service = std::make_unique<RecordingPrintService>();
        auto *out = service.get();
        f.shop->setPrintService(std::move(service));
        return *out;
    }

private Q_SLOTS:
    void numberingOnTheSecondOfJanuary() {
        ShopFixture f;
        f.clock.setFixedDate(QDate(2026, 1, 2));
        f.add(QStringLiteral("CARICHI"), {{QStringLiteral("NUMREG"), 1},
                                          {QStringLiteral("NUMDOC"), 57},
                                          {QStringLiteral("DATADOC"), QDate(2025, 12, 30)},
                                          {QStringLiteral("MYDATA"), QStringLiteral("20251230")}});
        {
            TFCarico w(*f.shop);
            w.show();
            QCOMPARE(w.windowTitle(), QStringLiteral("Nuovo Carico"));
            QVERIFY(w.IsNew);
            QCOMPARE(box(w, "NCarico"), QStringLiteral("1"));
            QCOMPARE(box(w, "Data"), QStringLiteral("02/01/2026"));
            // 200 blank rows to write in.
            QCOMPARE(w.grid().model().rowCount(), 200);
        }
        f.add(QStringLiteral("CARICHI"), {{QStringLiteral("NUMREG"), 2},
                                          {QStringLiteral("NUMDOC"), 3},
                                          {QStringLiteral("DATADOC"), QDate(2026, 1, 1)},
                                          {QStringLiteral("MYDATA"), QStringLiteral("20260101")}});
        f.add(QStringLiteral("CARICHI"), {{QStringLiteral("NUMREG"), 3},
                                          {QStringLiteral("NUMDOC"), 2},
                                          {QStringLiteral("DATADOC"), QDate(2026, 1, 2)},
                                          {QStringLiteral("MYDATA"), QStringLiteral("20260102")}});
        TFCarico w(*f.shop);
        w.show();
        QCOMPARE(box(w, "NCarico"), QStringLiteral("4"));
        QVERIFY(f.prompter.done());
    }

    void receiveTwoColoursSaveReopenAndSaveAgain() {
        ShopFixture f;
        addDocumentData(f);
        RecordingOpener opener;
        qint64 key = 0;
        {
            TFCarico w(*f.shop);
            w.setOpener(&opener);
            w.resize(1000, 700);
            w.show();
            chooseSupplier(w, QStringLiteral("ALFA"));
            testing::type(w, "NDoc", QStringLiteral("123"));
            typeArticle(w, QStringLiteral("STIVALE CUOIO"));
            // The panel shows the article and the labels of its size type only.
            SizePanel &panel = w.sizePanel();
            QCOMPARE(testing::child<QLabel>(panel, "TipoTaglia")->text(),
                     QStringLiteral("CALZATURE"));
            QCOMPARE(testing::child<QLabel>(panel, "L3")->text(), QStringLiteral("40"));
            QVERIFY(panel.quantityBox(5)->isVisibleTo(&panel));
            QVERIFY(!panel.quantityBox(6)->isVisibleTo(&panel));
            QVERIFY(!testing::button(panel, "Carica")->isEnabled());
            QVERIFY(!w.grid().isEnabled());
            QVERIFY(!own(w, "Salva")->isEnabled());
            loadSizes(w, QStringLiteral("ROSSO"), {2, 0, 3, 0, 1});
            QVERIFY(!panel.isVisible());
            QVERIFY(own(w, "Salva")->isEnabled());
            typeArticle(w, QStringLiteral("STIVALE CUOIO"));
            loadSizes(w, QStringLiteral("BLU"), {0, 1});

            QCOMPARE(sheetColumn(w, sheet::TAGLIA), (QStringList{"1", "3", "5", "2"}));
            QCOMPARE(sheetColumn(w, sheet::COLORE),
                     (QStringList{"ROSSO", "ROSSO", "ROSSO", "BLU"}));
            const QStringList codes = sheetColumn(w, sheet::BARCODE);
            QCOMPARE(codes[0].mid(6, 6), QStringLiteral("101101"));
            QCOMPARE(codes[1].mid(9, 3), QStringLiteral("103"));
            QCOMPARE(codes[2].mid(9, 3), QStringLiteral("105"));
            QCOMPARE(codes[3].mid(6, 6), QStringLiteral("102102"));
            QCOMPARE(label(w, "NumeroPezzi"), QStringLiteral("7"));
            QCOMPARE(label(w, "Totale"), QStringLiteral("168,00"));
            testing::type(w, "Sconto", QStringLiteral("10"));
            QCOMPARE(label(w, "Totale"), QStringLiteral("151,20"));

            own(w, "Salva")->click();
            QVERIFY(!w.isVisible());
            QCOMPARE(opener.codes, QList<int>{1});
            key = w.DocumentKey;
            QCOMPARE(key, f.counter(QStringLiteral("ACQUISTI")));
        }
        QCOMPARE(f.column(QStringLiteral("CARICHI"), QStringLiteral("NUMPEZZI")), QStringList{"7"});
        QCOMPARE(f.column(QStringLiteral("CARICHI"), QStringLiteral("RAGSOC")),
                 QStringList{"ALFA"});
        QCOMPARE(f.column(QStringLiteral("CARICHI"), QStringLiteral("NUMRAG")), QStringList{"1"});
        QCOMPARE(f.column(QStringLiteral("CARICHI"), QStringLiteral("NUMCAR")), QStringList{"123"});
        QCOMPARE(f.column(QStringLiteral("CARICHI"), QStringLiteral("MYDATA")),
                 QStringList{"20260315"});
        QCOMPARE(f.column(QStringLiteral("CARICHI"), QStringLiteral("SCONTO")), QStringList{"10"});
        QCOMPARE(f.column(QStringLiteral("CARICHI"), QStringLiteral("TOTALE")),
                 QStringList{"151.2"});
        QCOMPARE(recordCount(f, QStringLiteral("ARCART_A")), 4);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 2.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), 3.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 1.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("BLU"), 2), 1.0);

        // Opened again and saved without changes: the stock stays as it was.
        TFCarico w(*f.shop);
        w.DocumentKey = key;
        w.setOpener(&opener);
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Modifica Carico"));
        QVERIFY(!w.IsNew);
        QCOMPARE(testing::child<LookupCombo>(w, "Fornitore")->currentText(),
                 QStringLiteral("ALFA"));
        QCOMPARE(box(w, "Sconto"), QStringLiteral("10"));
        QCOMPARE(box(w, "NDoc"), QStringLiteral("123"));
        QCOMPARE(sheetColumn(w, sheet::QUANTITA), (QStringList{"2", "3", "1", "1"}));
        QCOMPARE(sheetColumn(w, sheet::SCONTO), (QStringList{"5", "5", "5", "5"}));
        QCOMPARE(label(w, "NumeroPezzi"), QStringLiteral("7"));
        QCOMPARE(w.grid().model().rowCount(), 204);
        own(w, "Salva")->click();
        QCOMPARE(recordCount(f, QStringLiteral("CARICHI")), 1);
        QCOMPARE(recordCount(f, QStringLiteral("ARCART_A")), 4);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), 3.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("BLU"), 2), 1.0);
        QCOMPARE(f.counter(QStringLiteral("ACQUISTI")), key);
        QVERIFY(f.prompter.done());
    }

    void receiptDiscountTotals() {
        ShopFixture f;
        addDocumentData(f);
        TFCarico w(*f.shop);
        w.show();
        enterRedBoots(w, {3});
        testing::type(w, "Sconto", QStringLiteral("10"));
        QCOMPARE(label(w, "Totale"), QStringLiteral("64,80"));
        QCOMPARE(testing::child<QLineEdit>(w, "Sconto")->maxLength(), 4);
        own(w, "Salva")->click();
        db::Table t(f.db());
        t.setTableName(QStringLiteral("CARICHI"));
        t.open();
        t.first();
        QVERIFY(qFuzzyCompare(t.asFloat(QStringLiteral("IMPONIBILE")), 54.0));
        QVERIFY(qFuzzyCompare(t.asFloat(QStringLiteral("IMPOSTA")), 10.8));
        QVERIFY(qFuzzyCompare(t.asFloat(QStringLiteral("TOTALE")), 64.8));
        // The line keeps its amount before the receipt's discount.
        QCOMPARE(f.column(QStringLiteral("ARCART_A"), QStringLiteral("IMPORTO")),
                 QStringList{"60"});
    }

    void refusalsAndThePanelButtons() {
        ShopFixture f;
        addDocumentData(f);
        RecordingOpener opener;
        TFCarico w(*f.shop);
        w.setOpener(&opener);
        w.show();
        f.prompter.expectError(QStringLiteral("Devi scegliere un Fornitore!"));
        own(w, "Salva")->click();
        f.prompter.expectError(QStringLiteral("Devi scegliere un Fornitore!"));
        own(w, "Stampa")->click();
        QVERIFY(w.isVisible());

        // All quantities 0: the panel stays open and nothing is written.
        typeArticle(w, QStringLiteral("STIVALE CUOIO"));
        loadSizes(w, QStringLiteral("ROSSO"), {0, 0, 0});
        QVERIFY(w.sizePanel().isVisible());
        // A new colour, typed in small letters, is stored in capitals and chosen.
        f.prompter.expectInput(QStringLiteral("Nuovo Colore"), QStringLiteral("Inserisci la voce"),
                               QStringLiteral("  "));
        testing::click(w.sizePanel(), "Nuovo");
        QCOMPARE(recordCount(f, QStringLiteral("COLORI")), 2);
        f.prompter.expectInput(QStringLiteral("Nuovo Colore"), QStringLiteral("Inserisci la voce"),
                               QStringLiteral("verde"));
        testing::click(w.sizePanel(), "Nuovo");
        QCOMPARE(w.sizePanel().colourBox()->currentText(), QStringLiteral("VERDE"));
        QVERIFY(testing::button(w.sizePanel(), "Carica")->isEnabled());
        QCOMPARE(f.column(QStringLiteral("COLORI"), QStringLiteral("NUMREG")).last(),
                 QStringLiteral("3"));
        // "Annulla" in the panel undoes the article's choice.
        testing::click(w.sizePanel(), "Annulla");
        QVERIFY(!w.sizePanel().isVisible());
        QVERIFY(sheetColumn(w, sheet::DESCRIZION).isEmpty());

        // "Solo articoli del Fornitore" narrows the search to the supplier's articles in use.
        chooseSupplier(w, QStringLiteral("BETA"));
        testing::child<QCheckBox>(w, "SoloFornitore")->setChecked(true);
        QComboBox *search = w.grid().searchBox();
        QCOMPARE(search->count(), 1);
        QCOMPARE(search->itemText(0), QStringLiteral("SANDALO"));
        testing::child<QCheckBox>(w, "SoloFornitore")->setChecked(false);
        QCOMPARE(search->count(), 2);

        // "Elimina" takes the current line away.
        typeArticle(w, QStringLiteral("SANDALO"));
        loadSizes(w, QStringLiteral("BLU"), {1, 1});
        w.grid().setCurrentIndex(w.grid().model().index(0, 0));
        own(w, "Elimina")->click();
        QCOMPARE(sheetColumn(w, sheet::TAGLIA), QStringList{"2"});

        // "Annulla" leaves without writing anything.
        own(w, "Annulla")->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(opener.codes, QList<int>{1});
        QCOMPARE(recordCount(f, QStringLiteral("CARICHI")), 0);
        QCOMPARE(recordCount(f, QStringLiteral("ARCART_A")), 0);
        QCOMPARE(f.counter(QStringLiteral("ACQUISTI")), 0);
        QVERIFY(f.prompter.done());
    }

    void linesBelowFiveEmptyRowsAreStoredToo() {
        ShopFixture f;
        addDocumentData(f);
        TFCarico w(*f.shop);
        checkLineBelowEmptyRows(f, w, QStringLiteral("ARCART_A"), QStringLiteral("CARICHI"), 4.0);
    }

    void aReceiptNoLongerStoredDoesNotOpen() {
        ShopFixture f;
        addDocumentData(f);
        {
            TFCarico stored(*f.shop);
            stored.show();
            enterRedBoots(stored, {2});
            own(stored, "Salva")->click();
            QVERIFY(!stored.isVisible());
        }
        TFCarico w(*f.shop);
        checkMissingDocumentCloses(f, w, 5, QStringLiteral("Carico non trovato!"));
    }

    void newSupplierAndNewArticleOnTheSpot() {
        ShopFixture f;
        addDocumentData(f);
        TFCarico w(*f.shop);
        w.resize(1000, 700);
        w.show();
        onCard<TFFornitore>(&w, [](TFFornitore &card) {
            QVERIFY(!card.CustomerMode);
            card.findChild<QLineEdit *>(QStringLiteral("RagSociale"))
                ->setText(QStringLiteral("GAMMA"));
            card.BSalvaClick();
        });
        own(w, "Nuovo Fornitore")->click();
        QCOMPARE(testing::child<LookupCombo>(w, "Fornitore")->currentText(),
                 QStringLiteral("GAMMA"));

        // A new article goes straight onto a free row with the size panel open.
        typeArticle(w, QStringLiteral("SANDALO"));
        loadSizes(w, QStringLiteral("BLU"), {1});
        QString saved;
        onCard<TFScheda>(&w, [&saved](TFScheda &card) {
            QVERIFY(card.NewArticle);
            testing::type(card, "Articolo", QStringLiteral("MOCASSINO"));
            auto *sizes = testing::child<QComboBox>(card, "TipoTaglia");
            const int index = sizes->findText(QStringLiteral("CALZATURE"));
            sizes->setCurrentIndex(index);
            Q_EMIT sizes->activated(index);
            testing::button(card, "BSalva")->click();
            saved = card.SavedDescription;
        });
        own(w, "Nuovo")->click();
        QVERIFY(!saved.isEmpty());
        QVERIFY(w.sizePanel().isVisible());
        loadSizes(w, QStringLiteral("ROSSO"), {0, 2});
        QCOMPARE(sheetColumn(w, sheet::DESCRIZION), (QStringList{"SANDALO", saved}));
        QCOMPARE(sheetColumn(w, sheet::QUANTITA), (QStringList{"1", "2"}));

        // A card left with "Annulla" adds nothing.
        onCard<TFScheda>(&w, [](TFScheda &card) { card.BAnnullaClick(); });
        own(w, "Nuovo")->click();
        QVERIFY(!w.sizePanel().isVisible());
        QCOMPARE(sheetColumn(w, sheet::DESCRIZION).size(), 2);
        QVERIFY(f.prompter.done());
    }

    void labelsAndPrinting() {
        ShopFixture f;
        addDocumentData(f);
        RecordingPrintService &jobs = printer(f);
        TFCarico w(*f.shop);
        w.show();
        enterRedBoots(w, {2, 0, 3});
        const QString question =
            QStringLiteral("Stampare le etichette relative\ragli articoli presenti nel carico?");
        f.prompter.expectConfirm(question, false);
        own(w, "Etichette")->click();
        QCOMPARE(sheetColumn(w, sheet::LABELS), (QStringList{"", ""}));
        f.prompter.expectConfirm(question, true)
            .expectInformation(QStringLiteral("Funzione non ancora disponibile"));
        own(w, "Etichette")->click();
        QCOMPARE(sheetColumn(w, sheet::LABELS), (QStringList{"2", "3"}));

        f.prompter.expectInput(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                               QStringLiteral("2"));
        own(w, "Stampa")->click();
        QCOMPARE(jobs.jobs().size(), 2);
        for (const auto &job : jobs.jobs()) {
            QCOMPARE(job.canvas->pageCount(), 1);
            QVERIFY(job.canvas->findText(QStringLiteral("ACQUISTO")));
            QVERIFY(job.canvas->findText(QStringLiteral("ALFA")));
            QVERIFY(job.canvas->findText(QStringLiteral("STIVALE CUOIO / ROSSI")));
            QVERIFY(job.canvas->findText(QStringLiteral("ROSSO / 40")));
            QCOMPARE(job.canvas->textsContaining(QStringLiteral("120,00")).size(), 1);
            QVERIFY(!job.canvas->findText(QStringLiteral("SEGUE")));
        }
        QCOMPARE(jobs.jobs()[0].canvas->textsInReadingOrder(),
                 jobs.jobs()[1].canvas->textsInReadingOrder());
        // No copies, no print.
        jobs.clear();
        f.prompter.expectInput(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                               std::nullopt);
        own(w, "Stampa")->click();
        QVERIFY(jobs.jobs().isEmpty());
        QVERIFY(f.prompter.done());
    }

    void sixtyLinesPrintWithSegue() {
        ShopFixture f;
        addDocumentData(f);
        RecordingPrintService &jobs = printer(f);
        TFCarico w(*f.shop);
        w.show();
        chooseSupplier(w, QStringLiteral("ALFA"));
        for (int i = 0; i < 12; ++i) {
            typeArticle(w, QStringLiteral("STIVALE CUOIO"));
            loadSizes(w, QStringLiteral("ROSSO"), {1, 1, 1, 1, 1});
        }
        QCOMPARE(sheetColumn(w, sheet::DESCRIZION).size(), 60);
        f.prompter.expectInput(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                               QStringLiteral("1"));
        own(w, "Stampa")->click();
        QCOMPARE(jobs.jobs().size(), 1);
        const RecordingCanvas &canvas = *jobs.jobs()[0].canvas;
        const int pages = canvas.pageCount();
        QVERIFY(pages >= 2);
        int printed = 0;
        for (int page = 1; page <= pages; ++page) {
            printed += canvas.textsContaining(QStringLiteral("STIVALE CUOIO"), page).size();
            QVERIFY(canvas.findText(QStringLiteral("ARTICOLO/MARCHIO"), page));
            QVERIFY(canvas.findText(QStringLiteral("TOTALE (€)"), page));
            const bool last = page == pages;
            QCOMPARE(canvas.findText(QStringLiteral("SEGUE"), page) != nullptr, !last);
            // Only the last page carries the amounts (60 pieces at 20,00, VAT 20 %).
            QCOMPARE(canvas.textsContaining(QStringLiteral("1.440,00"), page).size(), last ? 1 : 0);
            for (const CanvasItem &item : canvas.textsContaining(QStringLiteral("STIVALE"), page))
                QVERIFY(item.position.y() < int(0.92 * canvas.pageHeight()));
        }
        QCOMPARE(printed, 60);
    }
};

QTEST_MAIN(TestTFCarico)
#include "tst_tfcarico.moc"

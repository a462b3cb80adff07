#include "purchasing/ReturnData.h"

#include "catalogue/TableGrid.h"
#include "db/FaultyFileSystem.h"
#include "printing/PrintService.h"
#include "printing/RecordingCanvas.h"
#include "purchasing/ReturnPrintout.h"
#include "purchasing/TFArcOrdini.h"
#include "purchasing/TFArcResi.h"
#include "purchasing/TFReso.h"
#include "shell/Shop.h"
#include "widgets/TitleBand.h"

#include <QLabel>

using namespace corvale;

namespace {

QString label(QWidget &w, const char *name) {
    return testing::child<QLabel>(w, name)->text();
}

RecordingPrintService &printer(ShopFixture &f) {
    auto service = std::make_unique<RecordingPrintService>();
    auto *out = service.get();
    f.shop->setPrintService(std::move(service));
    return *out;
}

QStringList listed(ArchiveFrame &w, int column = 0) {
    QStringList out;
    TableModel &m = w.list().model();
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.data(m.index(r, column)).toString();
    return out;
}

// A new document of `quantities` of STIVALE CUOIO in red, for ALFA, saved.
qint64 saveNew(ShopFixture &f, TFReso::Mode mode, const QList<double> &quantities) {
    TFReso w(*f.shop, mode);
    w.resize(1000, 700);
    w.show();
    enterRedBoots(w, quantities);
    own(w, "Salva")->click();
    return w.DocumentKey;
}

} // namespace

class TestTFReso : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void returnTakesGoodsOutAndReSavingReplacesThem() {
        ShopFixture f; // 15 March 2026
        addDocumentData(f);
        putInStock(f, 1, QStringLiteral("ROSSO"), 1, 5);
        RecordingOpener opener;
        qint64 key = 0;
        {
            TFReso w(*f.shop, TFReso::Mode::Return);
            w.setOpener(&opener);
            w.resize(1000, 700);
            w.show();
            QCOMPARE(w.findChild<TitleBand *>()->heading(), QStringLiteral("RESO FORNITORE"));
            QCOMPARE(w.windowTitle(), QStringLiteral("Nuovo Reso"));
            QVERIFY(!own(w, "Nuovo")->isVisibleTo(&w));
            QCOMPARE(testing::child<QLineEdit>(w, "Numero")->text(), QStringLiteral("1"));
            chooseSupplier(w, QStringLiteral("ALFA"));
            typeArticle(w, QStringLiteral("STIVALE CUOIO"));
            QStringList captions;
            for (QLabel *l : w.sizePanel().findChildren<QLabel *>())
                captions << l->text();
            QVERIFY(captions.contains(QStringLiteral("TARGET")));
            loadSizes(w, QStringLiteral("ROSSO"), {2});
            // No discount is taken from the article; no discount on the total.
            QCOMPARE(sheetColumn(w, sheet::SCONTO), QStringList{""});
            QCOMPARE(label(w, "NumeroPezzi"), QStringLiteral("2"));
            QCOMPARE(label(w, "Totale"), QStringLiteral("48,00"));
            own(w, "Salva")->click();
            QVERIFY(!w.isVisible());
            QCOMPARE(opener.codes, QList<int>{1});
            key = w.DocumentKey;
        }
        QCOMPARE(key, f.counter(QStringLiteral("ACQUISTI")));
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 3.0);
        QCOMPARE(f.column(QStringLiteral("RESI"), doc::MYDATA), QStringList{"20260315"});
        QCOMPARE(f.column(QStringLiteral("RESI"), doc::TOTALE), QStringList{"48"});
        QCOMPARE(f.column(QStringLiteral("ARCART_R"), doc::SCOVND), QStringList{""});

        // 2 becomes 3: the cell ends 3 below where it was before the return;
        // saved again unchanged, it stays there.
        for (double quantity : {3.0, 3.0}) {
            TFReso w(*f.shop, TFReso::Mode::Return);
            w.DocumentKey = key;
            w.show();
            QCOMPARE(w.windowTitle(), QStringLiteral("Modifica Reso"));
            QCOMPARE(sheetColumn(w, sheet::QUANTITA),
                     f.column(QStringLiteral("ARCART_R"), sheet::QUANTITA));
            setSheetQuantity(w.sheet().table(), 0, quantity);
            own(w, "Salva")->click();
            QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 2.0);
            QCOMPARE(recordCount(f, QStringLiteral("ARCART_R")), 1);
            QCOMPARE(recordCount(f, QStringLiteral("RESI")), 1);
        }

        // Deleted from the archive: the goods are back.
        TFArcResi archive(*f.shop);
        archive.resize(1000, 700);
        archive.show();
        QCOMPARE(listed(archive), QStringList{"ALFA"});
        f.prompter.expectConfirm(QStringLiteral("Eliminare il Reso selezionato?"), false);
        testing::click(archive, "Elimina");
        QCOMPARE(recordCount(f, QStringLiteral("RESI")), 1);
        f.prompter.expectConfirm(QStringLiteral("Eliminare il Reso selezionato?"), true);
        testing::click(archive, "Elimina");
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 5.0);
        QCOMPARE(recordCount(f, QStringLiteral("RESI")), 0);
        QCOMPARE(recordCount(f, QStringLiteral("ARCART_R")), 0);
        QVERIFY(listed(archive).isEmpty());
        QVERIFY(f.prompter.done());
    }

    void anOrderMovesNoStock() {
        ShopFixture f;
        addDocumentData(f);
        putInStock(f, 1, QStringLiteral("ROSSO"), 1, 5);
        const QStringList stockBefore = purchaseState(f);
        {
            TFReso w(*f.shop, TFReso::Mode::Order);
            w.show();
            QCOMPARE(w.findChild<TitleBand *>()->heading(), QStringLiteral("ORDINE FORNITORE"));
            QVERIFY(own(w, "Nuovo")->isVisibleTo(&w));
        }
        const qint64 key = saveNew(f, TFReso::Mode::Order, {2, 0, 4});
        QCOMPARE(key, f.counter(QStringLiteral("ACQUISTI")));
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 5.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), 0.0);
        QCOMPARE(f.column(QStringLiteral("ORDINI"), doc::NUMPEZZI), QStringList{"6"});
        QCOMPARE(f.column(QStringLiteral("ARCART_O"), sheet::QUANTITA), (QStringList{"2", "4"}));

        // Saved again with a line less: still no stock movement, the lines replaced.
        {
            TFReso w(*f.shop, TFReso::Mode::Order);
            w.DocumentKey = key;
            w.show();
            QCOMPARE(w.windowTitle(), QStringLiteral("Modifica Ordine"));
            w.sheet().table().first();
            QVERIFY(w.sheet().deleteCurrentRow());
            own(w, "Salva")->click();
        }
        QCOMPARE(f.column(QStringLiteral("ARCART_O"), sheet::QUANTITA), QStringList{"4"});
        QCOMPARE(f.column(QStringLiteral("ORDINI"), doc::NUMPEZZI), QStringList{"4"});

        TFArcOrdini archive(*f.shop);
        archive.resize(1000, 700);
        archive.show();
        QCOMPARE(archive.list().model().headerData(2, Qt::Horizontal).toString(),
                 QStringLiteral("Numero"));
        QCOMPARE(archive.detail().model().headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Descrizione"));
        f.prompter.expectConfirm(QStringLiteral("Eliminare l'Ordine selezionato?"), true);
        testing::click(archive, "Elimina");
        QCOMPARE(purchaseState(f), stockBefore);
        QVERIFY(f.prompter.done());
    }

    void refusals() {
        ShopFixture f;
        addDocumentData(f);
        auto &service = printer(f);
        TFReso w(*f.shop, TFReso::Mode::Return);
        w.resize(1000, 700);
        w.show();
        f.prompter.expectError(QStringLiteral("Devi scegliere un Fornitore!"));
        own(w, "Salva")->click();
        f.prompter.expectError(QStringLiteral("Devi scegliere un Fornitore!"));
        own(w, "Stampa")->click();
        QVERIFY(w.isVisible());
        QCOMPARE(recordCount(f, QStringLiteral("RESI")), 0);

        // Nothing typed in the panel: it stays open, the totals as they were.
        chooseSupplier(w, QStringLiteral("ALFA"));
        typeArticle(w, QStringLiteral("STIVALE CUOIO"));
        w.sizePanel().colourBox()->setCurrentIndex(0);
        testing::click(w.sizePanel(), "Carica");
        QVERIFY(w.sizePanel().isVisible());
        testing::click(w.sizePanel(), "Annulla");
        QVERIFY(!w.sizePanel().isVisible());

        f.prompter.expectConfirmCancel(QStringLiteral("Stampare i prezzi?"),
                                       Prompter::Answer::Cancel);
        own(w, "Stampa")->click();
        QVERIFY(service.jobs().isEmpty());
        QVERIFY(f.prompter.done());
    }

    void linesBelowFiveEmptyRowsAreStoredToo_data() {
        QTest::addColumn<bool>("order");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("header");
        QTest::addColumn<double>("stock");
        QTest::newRow("return") << false << "ARCART_R"
                                << "RESI" << -4.0;
        QTest::newRow("order") << true << "ARCART_O"
                               << "ORDINI" << 0.0;
    }
    void linesBelowFiveEmptyRowsAreStoredToo() {
        QFETCH(bool, order);
        QFETCH(QString, lines);
        QFETCH(QString, header);
        QFETCH(double, stock);
        ShopFixture f;
        addDocumentData(f);
        TFReso w(*f.shop, order ? TFReso::Mode::Order : TFReso::Mode::Return);
        checkLineBelowEmptyRows(f, w, lines, header, stock);
    }

    void aDocumentNoLongerStoredDoesNotOpen_data() {
        QTest::addColumn<bool>("order");
        QTest::addColumn<QString>("message");
        QTest::newRow("return") << false << QStringLiteral("Reso non trovato!");
        QTest::newRow("order") << true << QStringLiteral("Ordine non trovato!");
    }
    void aDocumentNoLongerStoredDoesNotOpen() {
        QFETCH(bool, order);
        QFETCH(QString, message);
        const TFReso::Mode mode = order ? TFReso::Mode::Order : TFReso::Mode::Return;
        ShopFixture f;
        addDocumentData(f);
        const qint64 stored = saveNew(f, mode, {2});
        TFReso w(*f.shop, mode);
        checkMissingDocumentCloses(f, w, stored + 1, message);
    }

    void printedWithAndWithoutPrices() {
        ShopFixture f;
        addDocumentData(f);
        {
            db::Table t(f.db());
            t.setTableName(QStringLiteral("FORNITOR"));
            t.open();
            t.first();
            t.edit();
            t.setString(QStringLiteral("ADDRESS"), QStringLiteral("VIA ROMA 1"));
            t.setInteger(QStringLiteral("CAP"), 123);
            t.setString(QStringLiteral("CITTA"), QStringLiteral("AOSTA"));
            t.setString(QStringLiteral("PIVACF"), QStringLiteral("01234567890"));
            t.post();
        }
        auto &service = printer(f);
        TFReso w(*f.shop, TFReso::Mode::Return);
        w.resize(1000, 700);
        w.show();
        enterRedBoots(w, {2, 1});

        f.prompter.expectConfirmCancel(QStringLiteral("Stampare i prezzi?"), Prompter::Answer::No);
        f.prompter.expectInput(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                               QStringLiteral("1"));
        own(w, "Stampa")->click();
        QCOMPARE(service.jobs().size(), 1);
        const RecordingCanvas &plain = *service.jobs()[0].canvas;
        const QStringList texts = plain.textsInReadingOrder();
        QVERIFY(texts.contains(QStringLiteral("00123 AOSTA")));
        QVERIFY(texts.contains(QStringLiteral("VIA ROMA 1")));
        QVERIFY(texts.contains(QStringLiteral("01234567890")));
        QVERIFY(texts.contains(QStringLiteral("DOCUMENTO DI TRASPORTO")));
        for (const char *caption : {"CODICE", "DESCRIZIONE ARTICOLO", "COLORE", "TAGLIA", "Q.TA'"})
            QVERIFY2(texts.contains(QString::fromUtf8(caption)), caption);
        for (const char *absent :
             {"PREZZO", "IMPORTO", "IMPONIBILE", "TOTALE DOCUMENTO (€)", "CAUSALE", "48,00"})
            QVERIFY2(!texts.contains(QString::fromUtf8(absent)), absent);
        QVERIFY(texts.contains(QStringLiteral("ANNOTAZIONI E VARIAZIONI")));

        f.prompter.expectConfirmCancel(QStringLiteral("Stampare i prezzi?"), Prompter::Answer::Yes);
        f.prompter.expectInput(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                               QStringLiteral("1"));
        own(w, "Stampa")->click();
        QCOMPARE(service.jobs().size(), 2);
        const QStringList priced = service.jobs()[1].canvas->textsInReadingOrder();
        for (const char *present :
             {"PREZZO", "SC.%", "IMPORTO", "IVA", "RESO MERCE", "72,00", "60,00", "12,00"})
            QVERIFY2(priced.contains(QString::fromUtf8(present)), present);
        QVERIFY(f.prompter.done());
    }

    // Many lines: the annotations close every page, the totals only the last;
    // without prices there is no totals block on any page.
    void pagesOfALongDocument() {
        ShopFixture f;
        ReturnPrintout p;
        p.isOrder = true;
        p.supplier = QStringLiteral("ALFA");
        p.total = 1234.5;
        for (int i = 0; i < 90; ++i) {
            SheetRow row;
            row.values.insert(sheet::DESCRIZION, QStringLiteral("RIGA %1").arg(i));
            row.values.insert(sheet::QUANTITA, 1.5);
            row.values.insert(sheet::PREZZO, 10.0);
            row.amount = 15.0;
            p.rows << row;
        }
        for (bool prices : {true, false}) {
            p.withPrices = prices;
            RecordingCanvas canvas;
            p.draw(canvas, f.shop->routines());
            QVERIFY(canvas.pageCount() > 1);
            for (int page = 1; page <= canvas.pageCount(); ++page) {
                const QStringList texts = canvas.textsInReadingOrder(page);
                QVERIFY(texts.contains(QStringLiteral("ANNOTAZIONI E VARIAZIONI")));
                QVERIFY(texts.contains(QStringLiteral("ORDINE ACQUISTO")));
                QVERIFY(!texts.contains(QStringLiteral("CAUSALE")));
                const bool last = page == canvas.pageCount();
                QCOMPARE(texts.contains(QStringLiteral("SEGUE")), prices && !last);
                QCOMPARE(texts.contains(QStringLiteral("1.234,50")), prices && last);
                QCOMPARE(texts.contains(QStringLiteral("IMPONIBILE")), prices);
            }
            const QStringList all = canvas.textsInReadingOrder();
            QCOMPARE(all.filter(QStringLiteral("RIGA ")).size(), 90);
            QVERIFY(all.contains(QStringLiteral("1,50")));
        }
    }

    // An I/O error at any write of a re-save leaves the return, its lines and
    // the stock as they were; the first save it does not reach stores it all,
    // with the same stock as a single save.
    void aSaveFailingHalfWayLeavesNothingHalfDone() {
        db::test::FaultyFileSystem files;
        ShopFixture f(files);
        addDocumentData(f);
        putInStock(f, 1, QStringLiteral("ROSSO"), 1, 5);
        const qint64 key = saveNew(f, TFReso::Mode::Return, {2, 1});
        const QStringList before = purchaseState(f);
        QVERIFY(before.contains(QStringLiteral("S 1 ROSSO 1=3")));

        TFReso w(*f.shop, TFReso::Mode::Return);
        w.DocumentKey = key;
        w.resize(1000, 700);
        w.show();
        setSheetQuantity(w.sheet().table(), 0, 4);
        int failures = 0;
        for (int at = 1; at < 300 && w.isVisible(); ++at) {
            files.arm(db::test::FaultyFileSystem::Fault::IoError, files.operations() + at);
            f.prompter.expectError(QString());
            own(w, "Salva")->click();
            files.arm(db::test::FaultyFileSystem::Fault::None, 0);
            if (!w.isVisible())
                break;
            ++failures;
            QCOMPARE(f.prompter.pending(), 0);
            QCOMPARE(purchaseState(f), before);
        }
        QVERIFY(!w.isVisible());
        QVERIFY(failures > 5);
        // A fault after the document is stored (closing the work tables) is
        // reported too, but the document stands.
        QVERIFY(f.prompter.pending() <= 1);
        const QStringList after = purchaseState(f);
        QVERIFY(after.contains(QStringLiteral("S 1 ROSSO 1=1")));
        QVERIFY(after.contains(QStringLiteral("S 1 ROSSO 2=-1")));
        QCOMPARE(after.filter(QStringLiteral("ARCART_R ")).size(), 2);
        QCOMPARE(after.filter(QStringLiteral("RESI ")).size(), 1);
    }

    // "Curva" of an order's size panel: N pieces spread over the sizes as the
    // size type sold in the last year, adding up to N exactly.
    void anOrderTakesItsQuantitiesFromTheSizeCurve() {
        ShopFixture f;
        addDocumentData(f);
        const QDate today = f.clock.today();
        for (const auto &[position, quantity, date] :
             QList<std::tuple<int, int, QDate>>{{1, 1, today},
                                                {2, 3, today.addMonths(-3)},
                                                {3, 4, today.addDays(-364)},
                                                {4, 2, today},
                                                {5, 100, today.addYears(-1)}}) // a year back
            f.add(QStringLiteral("ARCART_V"), {{QStringLiteral("NUMART"), 2},
                                               {QStringLiteral("TAGLIA"), position},
                                               {QStringLiteral("QUANTITA"), quantity},
                                               {QStringLiteral("DATAREG"), date},
                                               {QStringLiteral("TIPO"), true}});
        {
            TFReso returns(*f.shop, TFReso::Mode::Return);
            QVERIFY(testing::child<QPushButton>(returns.sizePanel(), "Curva")->isHidden());
        }
        TFReso w(*f.shop, TFReso::Mode::Order);
        w.resize(1000, 700);
        w.show();
        chooseSupplier(w, QStringLiteral("ALFA"));
        typeArticle(w, QStringLiteral("STIVALE CUOIO"));
        const QString caption = QStringLiteral("Curva taglie");
        const QString prompt = QStringLiteral("Distribuisci N pezzi secondo la curva");
        f.prompter.expectInput(caption, prompt, QStringLiteral("0"))
            .expectError(QStringLiteral("Indicare un numero intero di pezzi maggiore di zero."));
        testing::click(w.sizePanel(), "Curva");
        // 15 pieces over 1, 3, 4, 2: quotas 1.5, 4.5, 6, 3; the half left goes to
        // the larger of the two equal remainders.
        f.prompter.expectInput(caption, prompt, QStringLiteral("15"));
        testing::click(w.sizePanel(), "Curva");
        QVERIFY2(f.prompter.done(), qPrintable(f.prompter.failures().join(u'\n')));
        QStringList boxes;
        for (int p = 1; p <= 5; ++p)
            boxes << w.sizePanel().quantityBox(p)->text();
        QCOMPARE(boxes, (QStringList{"1", "5", "6", "3", ""}));
        w.sizePanel().colourBox()->setCurrentIndex(w.sizePanel().colourBox()->findText("ROSSO"));
        testing::click(w.sizePanel(), "Carica");
        QCOMPARE(sheetColumn(w, sheet::QUANTITA), (QStringList{"1", "5", "6", "3"}));
    }
};

QTEST_MAIN(TestTFReso)
#include "tst_tfreso.moc"

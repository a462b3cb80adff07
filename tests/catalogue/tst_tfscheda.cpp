#include "common/ShopFixture.h"
#include "db/FaultyFileSystem.h"

#include "catalogue/TFScheda.h"
#include "catalogue/TFTipoTaglia.h"
#include "catalogue/TableGrid.h"
#include "catalogue/VoucherCode.h"
#include "common/Widgets.h"
#include "platform/Jpeg.h"
#include "shell/CommonRoutines.h"
#include "widgets/LookupCombo.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace corvale;

class TestTFScheda : public QObject {
    Q_OBJECT
private:
    template <typename T = QLineEdit> static T *control(QWidget &w, const QString &name) {
        return testing::child<T>(w, name);
    }
    static QPushButton *button(QWidget &w, const char *name) { return testing::button(w, name); }
    static void choose(TFScheda &w, const char *combo, const QString &text) {
        auto *c = control<LookupCombo>(w, QString::fromLatin1(combo));
        const int i = c->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        c->setCurrentIndex(i);
        Q_EMIT c->activated(i);
    }
    // Types into a box as the user does (every keystroke counts).
    static void type(TFScheda &w, const char *name, const QString &text) {
        QLineEdit *e = control(w, QString::fromLatin1(name));
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClicks(e, text);
    }
    // A new article of the size type SCARPE begun on the shown card.
    static void beginShoe(TFScheda &w, const QString &name) {
        w.NewArticle = true;
        w.show();
        type(w, "Articolo", name);
        choose(w, "TipoTaglia", QStringLiteral("SCARPE"));
    }
    static QString text(TFScheda &w, const char *name) {
        return control(w, QString::fromLatin1(name))->text();
    }
    static QVariant stored(ShopFixture &f, qint64 article, const QString &field) {
        db::Table t(f.db());
        t.setTableName(QStringLiteral("ARTICOLI"));
        t.setIndexName(QStringLiteral("NUMREG"));
        t.open();
        if (!t.findKey(article))
            return QStringLiteral("<none>");
        return t.value(field);
    }
    static void addSizeType(ShopFixture &f, qint64 n, const QString &name) {
        f.add(QStringLiteral("TAGLIE"), {{QStringLiteral("NUMREG"), n},
                                         {QStringLiteral("DESCRIZION"), name},
                                         {QStringLiteral("TG1"), QStringLiteral("S")}});
    }
    static QByteArray redJpeg() {
        QImage image(320, 240, QImage::Format_RGB32);
        image.fill(QColor(220, 20, 20));
        return Jpeg::encode(image, 90);
    }
    static QString writeFile(ShopFixture &f, const QString &name, const QByteArray &bytes) {
        const QString path = f.dir.path() + QLatin1Char('/') + name;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }

private Q_SLOTS:
    // Text that is no number must not sit in a box while the record keeps the
    // old value and the prices are worked out from it.
    void textThatIsNoNumberIsRefused() {
        ShopFixture f;
        f.shop->ini().writeString(QStringLiteral("DEFAULT"), QStringLiteral("IVA"),
                                  QStringLiteral("22"));
        addSizeType(f, 3, QStringLiteral("SCARPE"));
        TFScheda w(*f.shop);
        beginShoe(w, QStringLiteral("sandalo"));
        // Typed key by key: "1" and "10" are numbers and reach the record, "10%" not.
        type(w, "Iva", QStringLiteral("10%"));
        QCOMPARE(w.article().asFloat(QStringLiteral("IVA")), 10.0);
        f.prompter.expectError(QStringLiteral("Valore non valido"));
        button(w, "BSalva")->click();
        QVERIFY(w.isVisible());                             // nothing saved
        QCOMPARE(text(w, "Iva"), QStringLiteral("10"));     // box and record agree again
        QCOMPARE(f.counter(QStringLiteral("ARTICOLI")), 0); // no number taken

        // Leaving the box reports it as well.
        type(w, "Iva", QStringLiteral("iva"));
        f.prompter.expectError(QStringLiteral("Valore non valido"));
        Q_EMIT control(w, "Iva")->editingFinished();
        QVERIFY(text(w, "Iva") != QStringLiteral("iva"));

        type(w, "Iva", QStringLiteral("4"));
        button(w, "BSalva")->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(stored(f, w.ArticleKey, QStringLiteral("IVA")).toDouble(), 4.0);
        QCOMPARE(f.counter(QStringLiteral("ARTICOLI")), w.ArticleKey);
        QVERIFY(f.prompter.done());
    }

    // A save that fails uses up no article number: the next article gets it.
    void failedSaveTakesNoNumber() {
        db::test::FaultyFileSystem files;
        ShopFixture f(files);
        f.shop->routines().SetCounter(QStringLiteral("ARTICOLI"), 11);
        addSizeType(f, 3, QStringLiteral("SCARPE"));
        TFScheda w(*f.shop);
        beginShoe(w, QStringLiteral("sandalo"));
        // The disk fails at the second change from here: the record or the counter.
        files.arm(db::test::FaultyFileSystem::Fault::IoError, files.operations() + 2);
        f.prompter.expectError(QString()); // the engine's words
        button(w, "BSalva")->click();
        QVERIFY(f.prompter.transcript().last().contains(QStringLiteral("I/O simulato")));
        QVERIFY(w.isVisible());
        QCOMPARE(f.counter(QStringLiteral("ARTICOLI")), 11);
        files.arm(db::test::FaultyFileSystem::Fault::None, 0);
        button(w, "BSalva")->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.ArticleKey, 12);
        QCOMPARE(stored(f, 12, QStringLiteral("DESCRIZION")).toString(), QStringLiteral("SANDALO"));
        QCOMPARE(f.counter(QStringLiteral("ARTICOLI")), 12);
        QVERIFY(f.prompter.done());
    }

    void newArticleDefaultsAndSaving() {
        ShopFixture f;
        f.shop->routines().SetCounter(QStringLiteral("ARTICOLI"), 11);
        f.shop->ini().writeString(QStringLiteral("DEFAULT"), QStringLiteral("IVA"),
                                  QStringLiteral("22"));
        addSizeType(f, 3, QStringLiteral("SCARPE"));
        TFScheda w(*f.shop);
        w.NewArticle = true;
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Nuovo Articolo"));
        QCOMPARE(text(w, "Codice"), QStringLiteral("800012"));
        QVERIFY(control(w, "Codice")->isReadOnly());
        QCOMPARE(text(w, "Iva"), QStringLiteral("22"));
        QCOMPARE(text(w, "PrezzoAcquisto"), QStringLiteral("0,00"));
        QCOMPARE(control<QComboBox>(w, "Stagione")->currentText(),
                 QStringLiteral("Quattro Stagioni"));
        QCOMPARE(control<QComboBox>(w, "Anno")->currentText(), QStringLiteral("2026"));
        QCOMPARE(control<QComboBox>(w, "Anno")->itemText(0), QStringLiteral("2023"));
        QCOMPARE(control<QComboBox>(w, "Anno")->itemText(5), QStringLiteral("2028"));
        QVERIFY(control<QCheckBox>(w, "InUso")->isChecked());
        QCOMPARE(w.article().asString(QStringLiteral("UM")), QStringLiteral("PZ"));
        QFile blank(f.shop->folder().file(QStringLiteral("clear.jpg")));
        QVERIFY(blank.open(QIODevice::ReadOnly));
        QCOMPARE(w.article().asBlob(QStringLiteral("FOTO")), blank.readAll());
        QCOMPARE(control<QLabel>(w, "PrzFinale")->text(), QStringLiteral("0,00"));

        // "&Salva" needs both a description and a size type.
        QVERIFY(!button(w, "BSalva")->isEnabled());
        type(w, "Articolo", QStringLiteral("decollete vernice"));
        QCOMPARE(text(w, "Articolo"), QStringLiteral("DECOLLETE VERNICE"));
        QVERIFY(!button(w, "BSalva")->isEnabled());
        choose(w, "TipoTaglia", QStringLiteral("SCARPE"));
        QVERIFY(button(w, "BSalva")->isEnabled());
        type(w, "Articolo", QStringLiteral("  "));
        QVERIFY(!button(w, "BSalva")->isEnabled());
        type(w, "Articolo", QStringLiteral("sandalo"));
        QVERIFY(button(w, "BSalva")->isEnabled());

        button(w, "BSalva")->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.ArticleKey, 12);
        QCOMPARE(w.SavedDescription, QStringLiteral("SANDALO"));
        QCOMPARE(stored(f, 12, QStringLiteral("BARCODE")).toString(), QStringLiteral("800012"));
        QCOMPARE(stored(f, 12, QStringLiteral("MISURA")).toString(), QStringLiteral("SCARPE"));
        QCOMPARE(stored(f, 12, QStringLiteral("TIPOTAGLIA")).toInt(), 3);
        QCOMPARE(stored(f, 12, QStringLiteral("IVA")).toDouble(), 22.0);
        QCOMPARE(f.counter(QStringLiteral("ARTICOLI")), 12);

        // Cancelling a new card takes no number and writes nothing.
        w.show();
        QCOMPARE(text(w, "Codice"), QStringLiteral("800013"));
        type(w, "Articolo", QStringLiteral("MAI"));
        button(w, "BAnnulla")->click();
        QVERIFY(w.SavedDescription.isEmpty());
        QCOMPARE(f.counter(QStringLiteral("ARTICOLI")), 12);
        QCOMPARE(f.column(QStringLiteral("ARTICOLI"), QStringLiteral("NUMREG")),
                 QStringList{QStringLiteral("12")});

        // An article saved by someone else after the card foresaw its number: the code
        // follows the number really taken.
        w.show();
        QCOMPARE(text(w, "Codice"), QStringLiteral("800013"));
        f.shop->routines().NextCounter(QStringLiteral("ARTICOLI"), true);
        type(w, "Articolo", QStringLiteral("STIVALE"));
        choose(w, "TipoTaglia", QStringLiteral("SCARPE"));
        button(w, "BSalva")->click();
        QCOMPARE(w.ArticleKey, 14);
        QCOMPARE(stored(f, 14, QStringLiteral("BARCODE")).toString(), QStringLiteral("800014"));
        QVERIFY(f.prompter.done());
    }

    // Every save that changes the price the article sells at is kept with its
    // day and cause; a save that changes no price adds nothing.
    void savesKeepThePriceHistory() {
        ShopFixture f;
        addSizeType(f, 3, QStringLiteral("SCARPE"));
        TFScheda w(*f.shop);
        beginShoe(w, QStringLiteral("SANDALO"));
        type(w, "PrezzoVendita", QStringLiteral("79,90"));
        button(w, "BSalva")->click();
        const qint64 key = w.ArticleKey;
        w.NewArticle = false;
        for (const char *discount : {"10", "10"}) {
            w.ArticleKey = key;
            w.show();
            type(w, "Sconto", QString::fromLatin1(discount));
            button(w, "BSalva")->click();
        }
        QCOMPARE(f.column(QStringLiteral("PREZZI"), QStringLiteral("CAUSA")),
                 (QStringList{"Nuovo articolo", "Scheda articolo"}));
        QCOMPARE(f.column(QStringLiteral("PREZZI"), QStringLiteral("PREZZO")),
                 (QStringList{"79.9", "71.91"}));
        QCOMPARE(f.column(QStringLiteral("PREZZI"), QStringLiteral("DATA")),
                 (QStringList{"15/03/2026", "15/03/2026"}));
        QVERIFY(f.prompter.done());
    }

    // The boxes follow the card's price arithmetic; its cases are ArticleCard's.
    void priceArithmeticThroughTheBoxes() {
        ShopFixture f;
        TFScheda w(*f.shop);
        w.show();
        type(w, "Iva", QStringLiteral("20"));
        type(w, "PrezzoAcquisto", QStringLiteral("10"));
        type(w, "Ricarico", QStringLiteral("100"));
        QCOMPARE(text(w, "PrezzoVendita"), QStringLiteral("24,00"));
        QCOMPARE(control<QLabel>(w, "PrzFinale")->text(), QStringLiteral("24,00"));
        QCOMPARE(w.article().asFloat(QStringLiteral("PREZZOVND")), 24.0);

        // The mark-up back from the sale price; the computed value starts nothing more.
        type(w, "PrezzoVendita", QStringLiteral("36"));
        QCOMPARE(text(w, "Ricarico"), QStringLiteral("200,00"));
        QCOMPARE(text(w, "PrezzoVendita"), QStringLiteral("36"));
        QCOMPARE(control<QLabel>(w, "PrzFinale")->text(), QStringLiteral("36,00"));

        // The discount from a typed final price.
        type(w, "PrezzoVendita", QStringLiteral("50"));
        f.prompter.expectInput(QStringLiteral("CORVALE QUIRA"), QStringLiteral("Prezzo scontato"),
                               QStringLiteral("40"));
        button(w, "Calcolo dal prezzo scontato")->click();
        QCOMPARE(text(w, "Sconto"), QStringLiteral("20,00"));
        QCOMPARE(control<QLabel>(w, "PrzFinale")->text(), QStringLiteral("40,00"));
        type(w, "Sconto", QStringLiteral("10"));
        QCOMPARE(control<QLabel>(w, "PrzFinale")->text(), QStringLiteral("45,00"));
        // Text that is no number changes nothing.
        f.prompter.expectInput(QStringLiteral("CORVALE QUIRA"), QStringLiteral("Prezzo scontato"),
                               QStringLiteral("abc"));
        button(w, "Calcolo dal prezzo scontato")->click();
        QCOMPARE(w.article().asFloat(QStringLiteral("SCONTO")), 10.0);
        QCOMPARE(control<QLabel>(w, "PrzFinale")->text(), QStringLiteral("45,00"));
        QVERIFY(f.prompter.done());
        w.reject();
    }

    void listEntriesCreatedOnTheSpot() {
        ShopFixture f;
        f.add(QStringLiteral("MARCHI"),
              {{QStringLiteral("NUMREG"), 1}, {QStringLiteral("NOME"), QStringLiteral("ZETA")}});
        f.shop->routines().SetCounter(QStringLiteral("COUNTER"), 1);
        TFScheda w(*f.shop);
        w.show();
        choose(w, "Marchio", QStringLiteral("ZETA"));
        QCOMPARE(w.article().asString(QStringLiteral("MARCHIO")), QStringLiteral("ZETA"));
        QCOMPARE(w.article().asInteger(QStringLiteral("N_MARCHI")), 1);

        f.prompter.expectInput(QStringLiteral("Nuovo Materiale"),
                               QStringLiteral("Inserisci nominativo"), QStringLiteral("pelle"));
        control<QToolButton>(w, "Inserisci un nuovo Materiale")->click();
        QCOMPARE(w.article().asString(QStringLiteral("MATERIALE")), QStringLiteral("PELLE"));
        QCOMPARE(w.article().asInteger(QStringLiteral("NUMMATE")), 2);
        QCOMPARE(control<LookupCombo>(w, "Materiale")->currentText(), QStringLiteral("PELLE"));
        // A brand after the material takes the following number; an empty name is accepted.
        f.prompter.expectInput(QStringLiteral("Nuovo Marchio"),
                               QStringLiteral("Inserisci nominativo"), QString());
        control<QToolButton>(w, "Inserisci un nuovo Marchio")->click();
        QCOMPARE(w.article().asInteger(QStringLiteral("N_MARCHI")), 3);
        QCOMPARE(w.article().asString(QStringLiteral("MARCHIO")), QString());
        QCOMPARE(f.column(QStringLiteral("MARCHI"), QStringLiteral("NUMREG")),
                 (QStringList{QStringLiteral("1"), QStringLiteral("3")}));
        f.prompter.expectInput(QStringLiteral("Nuova Categoria"),
                               QStringLiteral("Inserisci nominativo"), QStringLiteral("Donna"));
        control<QToolButton>(w, "Crea una nuova Categoria")->click();
        QCOMPARE(w.article().asInteger(QStringLiteral("N_CAT")), 1);
        QCOMPARE(w.article().asString(QStringLiteral("CATEGORIA")), QStringLiteral("DONNA"));
        f.prompter.expectInput(QStringLiteral("Nuovo Fondo"),
                               QStringLiteral("Inserisci nominativo"), QStringLiteral("cuoio"));
        control<QToolButton>(w, "Inserisci un nuovo Fondo")->click();
        QCOMPARE(w.article().asString(QStringLiteral("FONDO")), QStringLiteral("CUOIO"));
        QCOMPARE(f.counter(QStringLiteral("COUNTER")), 4);
        // Cancel creates nothing.
        f.prompter.expectInput(QStringLiteral("Nuova Tipologia"),
                               QStringLiteral("Inserisci nominativo"), std::nullopt);
        control<QToolButton>(w, "Inserisci una nuova Tipologia")->click();
        QVERIFY(f.column(QStringLiteral("TIPOLOGI"), QStringLiteral("NOME")).isEmpty());

        // A size type from its card; cancelling the card leaves the article's as it was.
        QTimer::singleShot(0, &w, [&] {
            TFTipoTaglia &card = w.sizeTypeCard();
            card.findChild<QLineEdit *>(QStringLiteral("NomeTaglia"))
                ->setText(QStringLiteral("JEANS"));
            card.findChild<QLineEdit *>(QStringLiteral("Tg1"))->setText(QStringLiteral("42"));
            card.BSalvaClick();
        });
        control<QToolButton>(w, "Crea una nuovo tipo di Taglia")->click();
        QCOMPARE(w.article().asInteger(QStringLiteral("TIPOTAGLIA")), 1);
        QCOMPARE(w.article().asString(QStringLiteral("MISURA")), QStringLiteral("JEANS"));
        QCOMPARE(control<LookupCombo>(w, "TipoTaglia")->currentText(), QStringLiteral("JEANS"));
        QTimer::singleShot(0, &w, [&] { w.sizeTypeCard().BAnnullaClick(); });
        control<QToolButton>(w, "Crea una nuovo tipo di Taglia")->click();
        QCOMPARE(w.article().asInteger(QStringLiteral("TIPOTAGLIA")), 1);

        // A supplier through the card handed in by the opener.
        QVERIFY(!control<QToolButton>(w, "Inserisci un nuovo Fornitore")->isEnabled());
        w.setSupplierCard([&](QWidget *) -> std::optional<TFScheda::Supplier> {
            f.add(QStringLiteral("FORNITOR"),
                  {{QStringLiteral("CODICE"), 77},
                   {QStringLiteral("NOME"), QStringLiteral("ALFA SRL")}});
            return TFScheda::Supplier{77, QStringLiteral("ALFA SRL")};
        });
        control<QToolButton>(w, "Inserisci un nuovo Fornitore")->click();
        QCOMPARE(w.article().asInteger(QStringLiteral("N_FOR")), 77);
        QCOMPARE(w.article().asString(QStringLiteral("FORNITORE")), QStringLiteral("ALFA SRL"));
        QCOMPARE(control<LookupCombo>(w, "Fornitore")->currentText(), QStringLiteral("ALFA SRL"));

        // Entries created stay created when the article is cancelled.
        w.reject();
        QCOMPARE(f.column(QStringLiteral("MATERIAL"), QStringLiteral("NOME")),
                 QStringList{QStringLiteral("PELLE")});
        QVERIFY(f.column(QStringLiteral("ARTICOLI"), QStringLiteral("NUMREG")).isEmpty());
        QVERIFY(f.prompter.done());
    }

    void photoLimitAndBlankPicture() {
        ShopFixture f;
        TFScheda w(*f.shop);
        w.show();
        QByteArray exact = redJpeg();
        exact.append(QByteArray(640000 - exact.size(), '\0'));
        const QString ok = writeFile(f, QStringLiteral("ok.jpg"), exact);
        const QString big = writeFile(f, QStringLiteral("big.jpg"), exact + QByteArray(1, '\0'));
        f.prompter.expectOpenFile(ok);
        button(w, "Scegli")->click();
        QCOMPARE(w.article().asBlob(QStringLiteral("FOTO")).size(), 640000);
        QVERIFY(!control<QLabel>(w, "Foto")->pixmap().isNull());
        f.prompter.expectOpenFile(big).expectError(
            QStringLiteral("La foto è troppo grande!\rIl file non deve superare i 640 Kbytes.\r"
                           "Ridurre la dimesione o il numero di colori e riprovare."));
        button(w, "Scegli")->click();
        QCOMPARE(w.article().asBlob(QStringLiteral("FOTO")), exact);
        f.prompter.expectOpenFile(std::nullopt);
        button(w, "Scegli")->click();
        button(w, "EliminaFoto")->click();
        QFile blank(f.shop->folder().file(QStringLiteral("clear.jpg")));
        QVERIFY(blank.open(QIODevice::ReadOnly));
        QCOMPARE(w.article().asBlob(QStringLiteral("FOTO")), blank.readAll());
        QVERIFY(f.prompter.done());
        w.reject();
    }

    void editingRewritesTheBarcodes() {
        ShopFixture f;
        addSizeType(f, 1, QStringLiteral("UNICA"));
        f.add(QStringLiteral("ARTICOLI"), {{QStringLiteral("NUMREG"), 5},
                                           {QStringLiteral("DESCRIZION"), QStringLiteral("BORSA")},
                                           {QStringLiteral("TIPOTAGLIA"), 1},
                                           {QStringLiteral("PREZZOVND"), 80.0},
                                           {QStringLiteral("SCONTO"), 25.0}});
        for (const char *code : {"A1", "B2"})
            f.add(QStringLiteral("BARCODE"),
                  {{QStringLiteral("NUMREG"), 5},
                   {QStringLiteral("BARCODE"), QString::fromLatin1(code)}});
        f.add(QStringLiteral("BARCODE"),
              {{QStringLiteral("NUMREG"), 6}, {QStringLiteral("BARCODE"), QStringLiteral("Z9")}});
        TFScheda w(*f.shop);
        w.NewArticle = false;
        w.ArticleKey = 5;
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Modifica Articolo"));
        QVERIFY(button(w, "BSalva")->isEnabled());
        QCOMPARE(control<LookupCombo>(w, "TipoTaglia")->currentText(), QStringLiteral("UNICA"));
        QCOMPARE(control<QLabel>(w, "PrzFinale")->text(), QStringLiteral("60,00"));
        QCOMPARE(w.barcodeGrid().rowCount(), 2);

        w.barcodeGrid().selectRow(0);
        f.prompter.expectConfirm(QStringLiteral("Eliminare il Codice selezionato?"), true);
        button(w, "EliminaCodice")->click();
        f.prompter.expectInput(QStringLiteral("Codice a Barre"), QStringLiteral("Inserisci"),
                               QStringLiteral("  x9 "));
        button(w, "NuovoCodice")->click();
        f.prompter.expectInput(QStringLiteral("Codice a Barre"), QStringLiteral("Inserisci"),
                               QStringLiteral("   "));
        button(w, "NuovoCodice")->click();
        // The vouchers' range is no article's.
        f.prompter
            .expectInput(QStringLiteral("Codice a Barre"), QStringLiteral("Inserisci"),
                         QStringLiteral(" 2990000000017"))
            .expectError(voucherCode::reservedText);
        button(w, "NuovoCodice")->click();
        QCOMPARE(w.barcodeGrid().rowCount(), 2);
        button(w, "BSalva")->click();
        QVERIFY(w.SavedDescription.isEmpty());
        QCOMPARE(f.column(QStringLiteral("BARCODE"), QStringLiteral("BARCODE")),
                 (QStringList{QStringLiteral("Z9"), QStringLiteral("B2"), QStringLiteral("X9")}));
        QCOMPARE(f.column(QStringLiteral("BARCODE"), QStringLiteral("NUMREG")),
                 (QStringList{QStringLiteral("6"), QStringLiteral("5"), QStringLiteral("5")}));

        // An article whose size type is gone cannot be saved until one is chosen.
        f.add(QStringLiteral("ARTICOLI"), {{QStringLiteral("NUMREG"), 6},
                                           {QStringLiteral("DESCRIZION"), QStringLiteral("X")},
                                           {QStringLiteral("TIPOTAGLIA"), 9}});
        w.ArticleKey = 6;
        w.show();
        QVERIFY(!button(w, "BSalva")->isEnabled());
        w.reject();
        QVERIFY(f.prompter.done());
    }

    void screenshotWithPhotoAndBarcodes() {
        ShopFixture f;
        addSizeType(f, 1, QStringLiteral("UNICA"));
        f.add(QStringLiteral("ARTICOLI"), {{QStringLiteral("NUMREG"), 1},
                                           {QStringLiteral("BARCODE"), QStringLiteral("800001")},
                                           {QStringLiteral("DESCRIZION"), QStringLiteral("GIACCA")},
                                           {QStringLiteral("TIPOTAGLIA"), 1},
                                           {QStringLiteral("FOTO"), redJpeg()}});
        for (const char *code : {"8001234567890", "ABC-123", "GIACCA-ROSSA"})
            f.add(QStringLiteral("BARCODE"),
                  {{QStringLiteral("NUMREG"), 1},
                   {QStringLiteral("BARCODE"), QString::fromLatin1(code)}});
        TFScheda w(*f.shop);
        w.NewArticle = false;
        w.ArticleKey = 1;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QImage shot = w.grab().toImage();
        shot.save(QStringLiteral(CORVALE_BINARY_DIR "/tests/catalogue/tfscheda.png"));
        QLabel *photo = control<QLabel>(w, "Foto");
        const QPoint centre = photo->mapTo(&w, photo->rect().center());
        const QColor c = shot.pixelColor(centre * shot.devicePixelRatio());
        QVERIFY2(c.red() > 180 && c.green() < 80, qPrintable(c.name()));
        QCOMPARE(w.barcodeGrid().rowCount(), 3);
        const QRect row = w.barcodeGrid().visualRect(w.barcodeGrid().model().index(2, 0));
        QVERIFY(row.isValid() && w.barcodeGrid().viewport()->rect().contains(row));
        w.reject();
    }
};

QTEST_MAIN(TestTFScheda)
#include "tst_tfscheda.moc"

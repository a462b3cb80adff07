#include "ArticleData.h"
#include "common/RecordingOpener.h"
#include "common/Widgets.h"

#include "catalogue/ArticleBrowser.h"
#include "catalogue/SizeGridModel.h"
#include "catalogue/TFArcArt.h"
#include "catalogue/TFFoto.h"
#include "catalogue/TFScheda.h"
#include "catalogue/TableGrid.h"
#include "platform/Jpeg.h"
#include "printing/PrintService.h"
#include "widgets/LookupCombo.h"
#include "widgets/OpenerWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QPalette>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>

using namespace corvale;
using namespace articledata;
using testing::button;
using testing::click;

namespace {

using Caller = RecordingOpener;

} // namespace

class TestTFArcArt : public QObject {
    Q_OBJECT
private:
    static QStringList column(TFArcArt &w, int c) {
        QStringList out;
        TableModel &m = w.grid().model();
        for (int r = 0; r < m.rowCount(); ++r)
            out << m.data(m.index(r, c)).toString();
        return out;
    }
    static void fillShop(ShopFixture &f) {
        sizeType(f, 1, QStringLiteral("NUMERI"),
                 {QStringLiteral("38"), QString(), QStringLiteral("40")});
        f.add(QStringLiteral("MARCHI"),
              {{QStringLiteral("NUMREG"), 3}, {QStringLiteral("NOME"), QStringLiteral("ALFA")}});
        f.add(QStringLiteral("MARCHI"),
              {{QStringLiteral("NUMREG"), 4}, {QStringLiteral("NOME"), QStringLiteral("BETA")}});
        article(f, 1, QStringLiteral("L'ORO"),
                {{QStringLiteral("N_MARCHI"), 3},
                 {QStringLiteral("MARCHIO"), QStringLiteral("ALFA")},
                 {QStringLiteral("PREZZOVND"), 100.0},
                 {QStringLiteral("SCONTO"), 15.0},
                 {QStringLiteral("TIPOTAGLIA"), 1}});
        article(f, 2, QStringLiteral("BORSA"),
                {{QStringLiteral("N_MARCHI"), 4}, {QStringLiteral("TIPOTAGLIA"), 9}});
        article(f, 13, QStringLiteral("CAPPELLO"));
        stockRow(f, 1, QStringLiteral("ROSSO"), {2, QVariant(), 0});
    }
    static void show(TFArcArt &w) {
        w.resize(1000, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }

private Q_SLOTS:
    void pickingHandsTheArticleBack() {
        ShopFixture f;
        fillShop(f);
        TFArcArt w(*f.shop);
        QVERIFY(!button(w, "Aggiungi")->isVisibleTo(&w));
        Caller caller;
        w.setMode(TFArcArt::Mode::Picking, &caller);
        show(w);
        QVERIFY(button(w, "Aggiungi")->isVisible());
        for (const char *name : {"Grafico", "Carico", "Etichette", "Catalogo"})
            QVERIFY2(!button(w, name)->isVisible(), name);
        QVERIFY(button(w, "Stampa")->isVisible());
        QCOMPARE(column(w, 1), (QStringList{QStringLiteral("BORSA"), QStringLiteral("CAPPELLO"),
                                            QStringLiteral("L'ORO")}));
        QSignalSpy picked(&w, &TFArcArt::articlePicked);
        w.grid().selectRow(2);
        click(w, "Aggiungi");
        QCOMPARE(w.PickedDescription, QStringLiteral("L'ORO"));
        QCOMPARE(picked.size(), 1);
        QCOMPARE(picked.first().at(0).toLongLong(), 1LL);
        QCOMPARE(caller.codes, QList<int>{1});
        QVERIFY(!w.isVisible());
        QVERIFY(!w.browser().isOpen());

        // Back to the normal mode: the four buttons return, "Aggiungi" goes.
        w.setMode(TFArcArt::Mode::Normal);
        show(w);
        QVERIFY(!button(w, "Aggiungi")->isVisible());
        for (const char *name : {"Grafico", "Carico", "Etichette", "Catalogo"})
            QVERIFY2(button(w, name)->isVisible(), name);
        QVERIFY(f.prompter.done());
    }

    void filterBoxes() {
        ShopFixture f;
        fillShop(f);
        TFArcArt w(*f.shop);
        show(w);
        testing::type(w, "FCodice", QStringLiteral("80001"));
        QCOMPARE(column(w, 0), QStringList{QStringLiteral("800013")});
        testing::type(w, "FCodice", QStringLiteral("8000011031014"));
        QCOMPARE(column(w, 1), QStringList{QStringLiteral("L'ORO")});
        testing::type(w, "FCodice", QString());
        testing::type(w, "FArticolo", QStringLiteral("l'o")); // typed in capitals
        QCOMPARE(testing::child<QLineEdit>(w, "FArticolo")->text(), QStringLiteral("L'O"));
        QCOMPARE(column(w, 1), QStringList{QStringLiteral("L'ORO")});
        testing::type(w, "FArticolo", QString());

        auto *brand = testing::child<LookupCombo>(w, "FMarchio");
        QCOMPARE(brand->currentIndex(), -1);
        brand->setCurrentIndex(brand->findText(QStringLiteral("BETA")));
        QCOMPARE(column(w, 1), QStringList{QStringLiteral("BORSA")});
        // Backspace in a drop-down list clears it.
        brand->setFocus();
        QTest::keyClick(brand, Qt::Key_Backspace);
        QCOMPARE(brand->currentIndex(), -1);
        QCOMPARE(w.grid().rowCount(), 3);

        // Narrower than 900 pixels: no season and year, neither columns nor boxes.
        QVERIFY(testing::child(w, "FStagione")->isVisible());
        QVERIFY(!w.grid().isColumnHidden(8));
        w.resize(850, 600);
        QVERIFY(!testing::child(w, "FStagione")->isVisible());
        QVERIFY(!testing::child(w, "FAnno")->isVisible());
        QVERIFY(w.grid().isColumnHidden(8) && w.grid().isColumnHidden(9));
        // Sole, heel and wedge are never shown; each box sits over its column.
        QVERIFY(w.grid().isColumnHidden(10) && w.grid().isColumnHidden(12));
        QCOMPARE(brand->width(), w.grid().columnWidth(2));

        // "Scont." shows the discounted price.
        QCOMPARE(column(w, 6).last(), QStringLiteral("100,00"));
        testing::child<QCheckBox>(w, "Scont.")->setChecked(true);
        QCOMPARE(column(w, 6).last(), QStringLiteral("85,00"));
        QVERIFY(f.prompter.done());
    }

    void stockGridFollowsTheArticle() {
        ShopFixture f;
        fillShop(f);
        TFArcArt w(*f.shop);
        show(w);
        SizeGridModel &stock = w.stockModel();
        auto title = [&](int n) { return stock.headerData(n, Qt::Horizontal).toString(); };
        // BORSA: its size type is gone.
        QCOMPARE(w.grid().model().data(w.grid().model().index(0, 1)).toString(),
                 QStringLiteral("BORSA"));
        QCOMPARE(title(1), QStringLiteral("?"));
        QCOMPARE(title(20), QStringLiteral("?"));
        QCOMPARE(stock.rowCount(), 0);
        w.grid().selectRow(2); // L'ORO
        QCOMPARE(title(0), QStringLiteral("COLORE"));
        QCOMPARE(title(1), QStringLiteral("38"));
        QCOMPARE(title(2), QStringLiteral(" "));
        QCOMPARE(title(3), QStringLiteral("40"));
        QCOMPARE(stock.rowCount(), 1);
        QCOMPARE(stock.data(stock.index(0, 0)).toString(), QStringLiteral("ROSSO"));
        QCOMPARE(stock.data(stock.index(0, 1)).toString(), QStringLiteral("2"));
        const QBrush face = QApplication::palette().button();
        QVERIFY(stock.data(stock.index(0, 1), Qt::BackgroundRole).isNull());
        QCOMPARE(stock.data(stock.index(0, 2), Qt::BackgroundRole).value<QBrush>(), face);
        QCOMPARE(stock.data(stock.index(0, 3), Qt::BackgroundRole).value<QBrush>(), face);
    }

    void cardOnTheSelectedArticle() {
        ShopFixture f;
        fillShop(f);
        TFArcArt w(*f.shop);
        show(w);
        w.grid().selectRow(2); // L'ORO, size type 1
        QCOMPARE(w.stockModel().headerData(1, Qt::Horizontal).toString(), QStringLiteral("38"));
        qint64 key = -1;
        bool isNew = true;
        QTimer::singleShot(0, [&] {
            auto *card = qobject_cast<TFScheda *>(QApplication::activeModalWidget());
            QVERIFY(card);
            key = card->ArticleKey;
            isNew = card->NewArticle;
            // The size type changes meanwhile (through its own card, say).
            db::Table t(f.db());
            t.setTableName(QStringLiteral("TAGLIE"));
            t.open();
            t.first();
            t.edit();
            t.setString(QStringLiteral("TG1"), QStringLiteral("37"));
            t.post();
            card->reject();
        });
        click(w, "Modifica");
        QCOMPARE(key, qint64(1));
        QVERIFY(!isNew);
        // The list and the size titles are read again after the card.
        QCOMPARE(w.grid().model().data(w.grid().model().index(2, 1)).toString(),
                 QStringLiteral("L'ORO"));
        QCOMPARE(w.stockModel().headerData(1, Qt::Horizontal).toString(), QStringLiteral("37"));
        QVERIFY(f.prompter.done());
    }

    void buttonsOfWindowsNotThereYet() {
        ShopFixture f;
        fillShop(f);
        TFArcArt w(*f.shop);
        show(w);
        for (const char *name : {"Inventario", "Storico", "Movimenti", "Grafico", "Carico"}) {
            f.prompter.expectInformation(QStringLiteral("Funzione non ancora disponibile"));
            click(w, name);
        }
        QVERIFY(f.prompter.done());

        // Labels are prepared before the label window is asked for.
        f.prompter
            .expectConfirmCancel(
                QStringLiteral("Stampare solo le etichette relative agli articoli in giacenza?"),
                Prompter::Answer::Yes)
            .expectInformation(QStringLiteral("Funzione non ancora disponibile"));
        click(w, "Etichette");
        QCOMPARE(f.column(QStringLiteral("ELEMENTI"), QStringLiteral("CTAGLIA")),
                 QStringList{QStringLiteral("38")});
        f.prompter.expectConfirmCancel(
            QStringLiteral("Stampare solo le etichette relative agli articoli in giacenza?"),
            Prompter::Answer::Cancel);
        click(w, "Etichette");
        QVERIFY(f.prompter.done());

        // Handed-in windows open instead, with this window as their opener.
        OpenerWindow *opener = nullptr;
        TFArcArt::ArticleRef history;
        int labelWindow = 0;
        w.setReceiptWindow([&](OpenerWindow *o) { opener = o; });
        w.setHistoryWindow([&](const TFArcArt::ArticleRef &a) { history = a; });
        w.setLabelWindow([&] { ++labelWindow; });
        click(w, "Carico");
        QCOMPARE(opener, static_cast<OpenerWindow *>(&w));
        w.grid().selectRow(2);
        click(w, "Storico");
        QCOMPARE(history.key, qint64(1));
        QCOMPARE(history.code, QStringLiteral("800001"));
        QCOMPARE(history.description, QStringLiteral("L'ORO"));
        f.prompter.expectConfirmCancel(
            QStringLiteral("Stampare solo le etichette relative agli articoli in giacenza?"),
            Prompter::Answer::No);
        click(w, "Etichette");
        QCOMPARE(labelWindow, 1);
        QCOMPARE(f.column(QStringLiteral("ELEMENTI"), QStringLiteral("CTAGLIA")),
                 (QStringList{QStringLiteral("38"), QStringLiteral("40")}));

        // Labels whose barcode could not be read back are left out, and said so.
        f.add(QStringLiteral("ARTICOLI"),
              {{QStringLiteral("NUMREG"), 30},
               {QStringLiteral("BARCODE"), QStringLiteral("X1")},
               {QStringLiteral("DESCRIZION"), QStringLiteral("ZOCCOLO")},
               {QStringLiteral("TIPOTAGLIA"), 1}});
        stockRow(f, 30, QStringLiteral("ROSSO"), {1});
        f.prompter
            .expectConfirmCancel(
                QStringLiteral("Stampare solo le etichette relative agli articoli in giacenza?"),
                Prompter::Answer::Yes)
            .expectWarning(QStringLiteral("1 etichette non preparate: il codice a barre non "
                                          "sarebbe un EAN-13 valido (codice articolo non di sei "
                                          "cifre o numero del colore oltre 899)."));
        click(w, "Etichette");
        QCOMPARE(labelWindow, 2);
        QVERIFY(f.prompter.done());
    }

    void printoutsAndDeletion() {
        ShopFixture f;
        fillShop(f);
        auto *service = new RecordingPrintService;
        f.shop->setPrintService(std::unique_ptr<PrintService>(service));
        TFArcArt w(*f.shop);
        show(w);
        f.prompter.expectConfirmCancel(
            QStringLiteral("Stampa con dettaglio delle taglie e colori?"),
            Prompter::Answer::Cancel);
        click(w, "Stampa");
        QCOMPARE(service->jobs().size(), 0);
        testing::type(w, "FArticolo", QStringLiteral("L'"));
        f.prompter.expectConfirmCancel(
            QStringLiteral("Stampa con dettaglio delle taglie e colori?"), Prompter::Answer::No);
        click(w, "Stampa");
        QCOMPARE(service->jobs().size(), 1);
        const RecordingCanvas &list = *service->jobs().first().canvas;
        QVERIFY(list.findText(QStringLiteral("ELENCO ARTICOLI - 15/03/2026")));
        QVERIFY(list.findText(QStringLiteral("L'ORO/ALFA")));
        QVERIFY(!list.findText(QStringLiteral("BORSA/")));

        // A catalogue answer outside 4..8 prints nothing and says nothing.
        f.prompter.expectInput(QStringLiteral("CORVALE QUIRA"),
                               QStringLiteral("N° foto per pagina (4-8)"), QStringLiteral("9"),
                               QStringLiteral("4"));
        click(w, "Catalogo");
        QCOMPARE(service->jobs().size(), 1);
        f.prompter.expectInput(QStringLiteral("CORVALE QUIRA"),
                               QStringLiteral("N° foto per pagina (4-8)"), QStringLiteral("5"));
        click(w, "Catalogo");
        QCOMPARE(service->jobs().size(), 2);
        QVERIFY(service->jobs().last().canvas->findText(QStringLiteral("CATALOGO - ANNO 2026")));

        testing::type(w, "FArticolo", QString());
        f.prompter.expectConfirm(QStringLiteral("Eliminare l'articolo selezionato?"), false);
        click(w, "Elimina");
        QCOMPARE(w.grid().rowCount(), 3);
        f.prompter.expectConfirm(QStringLiteral("Eliminare l'articolo selezionato?"), true);
        click(w, "Elimina");
        QCOMPARE(column(w, 1), (QStringList{QStringLiteral("CAPPELLO"), QStringLiteral("L'ORO")}));

        // An empty list: the buttons that need an article do nothing.
        testing::type(w, "FArticolo", QStringLiteral("ZZZ"));
        QCOMPARE(w.grid().rowCount(), 0);
        for (const char *name : {"Modifica", "Elimina", "Storico", "Etichette", "Stampa"})
            click(w, name);
        QVERIFY(f.prompter.done());
    }

    void notificationAndPhotoWindow() {
        ShopFixture f;
        fillShop(f);
        QImage red(64, 48, QImage::Format_RGB32);
        red.fill(Qt::red);
        article(f, 20, QStringLiteral("ABITO"), {{QStringLiteral("FOTO"), Jpeg::encode(red)}});
        TFArcArt w(*f.shop);
        show(w);
        QVERIFY(!w.photoWindow().isVisible());
        QCOMPARE(w.grid().rowCount(), 4);
        article(f, 21, QStringLiteral("ZAINO"));
        f.shop->preferences().showPhotos = true;
        w.receiveNotification(1);
        QCOMPARE(w.grid().rowCount(), 5);
        QVERIFY(w.photoWindow().isVisible());
        w.grid().selectRow(0); // ABITO
        QVERIFY(w.photoWindow().hasPicture());
        w.grid().selectRow(1);
        QVERIFY(!w.photoWindow().hasPicture());
        click(w, "Uscita");
        QVERIFY(!w.photoWindow().isVisible());
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TestTFArcArt)
#include "tst_tfarcart.moc"

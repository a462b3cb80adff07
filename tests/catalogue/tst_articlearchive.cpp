#include "ArticleData.h"

#include "catalogue/ArticleBrowser.h"
#include "catalogue/ArticleFilter.h"
#include "catalogue/ArticleListPrintout.h"
#include "catalogue/LabelPreparation.h"
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/SizeTitles.h"
#include "db/Table.h"
#include "platform/Jpeg.h"
#include "printing/RecordingCanvas.h"
#include "shell/CommonRoutines.h"

#include <QTest>

using namespace corvale;
using namespace articledata;

class TestArticleArchive : public QObject {
    Q_OBJECT
private:
    // The descriptions the filter lets through, in list order.
    static QStringList listed(ShopFixture &f, const QString &filter) {
        ArticleBrowser browser(*f.shop);
        browser.setFilter(filter);
        browser.open();
        QStringList out;
        for (db::Table &t = browser.articles(); !t.eof(); t.next())
            out << t.asString(QStringLiteral("DESCRIZION"));
        return out;
    }
    struct Label {
        QString barcode, colour, size;
        qint64 labels;
    };
    static QList<Label> labels(ShopFixture &f) {
        db::Table t(f.db());
        t.setTableName(QStringLiteral("ELEMENTI"));
        t.open();
        QList<Label> out;
        for (t.first(); !t.eof(); t.next())
            out << Label{
                t.asString(QStringLiteral("BARCODE")), t.asString(QStringLiteral("COLORE")),
                t.asString(QStringLiteral("CTAGLIA")), t.asInteger(QStringLiteral("LABELS"))};
        return out;
    }

private Q_SLOTS:
    void filterTexts() {
        ArticleFilterBoxes b;
        QCOMPARE(ArticleFilter::text(b), QString());
        b.code = QStringLiteral("80001");
        QCOMPARE(ArticleFilter::text(b),
                 QStringLiteral("((BARCODE >= '80001') AND (BARCODE <= '80001z'))"));
        b.code = QStringLiteral("8000071051034"); // a scanned line barcode
        QCOMPARE(ArticleFilter::text(b), QStringLiteral("(BARCODE = '800007')"));

        b = {};
        b.description = QStringLiteral("L'ORO");
        QCOMPARE(ArticleFilter::text(b),
                 QStringLiteral("((DESCRIZION >= 'L''ORO') AND (DESCRIZION <= 'L''OROz'))"));
        b.code = QStringLiteral("A'B"); // typed codes are quoted too
        QVERIFY(ArticleFilter::text(b).startsWith(QStringLiteral("((BARCODE >= 'A''B')")));

        b = {};
        b.season = QStringLiteral("Autunno/Inverno");
        b.brand = QStringLiteral("3");
        QCOMPARE(ArticleFilter::text(b),
                 QStringLiteral("(N_MARCHI = '3') AND (STAGIONE = 'Autunno/Inverno')"));

        // Every box, in the order of the bar; the blank season and a blank year add nothing.
        b = {};
        b.code = QStringLiteral("8");
        b.description = QStringLiteral("G");
        b.brand = QStringLiteral("1");
        b.typology = QStringLiteral("2");
        b.material = QStringLiteral("3");
        b.category = QStringLiteral("4");
        b.sizeType = QStringLiteral("5");
        b.year = QStringLiteral("2026");
        b.season = QStringLiteral(" ");
        QCOMPARE(ArticleFilter::text(b),
                 QStringLiteral("((BARCODE >= '8') AND (BARCODE <= '8z')) AND ((DESCRIZION >= "
                                "'G') AND (DESCRIZION <= 'Gz')) AND (N_MARCHI = '1') AND (NUMTIPO "
                                "= '2') AND (NUMMATE = '3') AND (N_CAT = '4') AND (TIPOTAGLIA = "
                                "'5') AND (ANNO = '2026')"));
        b = {};
        b.year = QStringLiteral("   ");
        QCOMPARE(ArticleFilter::text(b), QString());
    }

    void filtersListTheRightArticles() {
        ShopFixture f;
        article(f, 1, QStringLiteral("L'ORO DI NAPOLI"),
                {{QStringLiteral("N_MARCHI"), 3},
                 {QStringLiteral("STAGIONE"), QStringLiteral("Autunno/Inverno")}});
        article(f, 2, QStringLiteral("LORENZO"),
                {{QStringLiteral("N_MARCHI"), 3},
                 {QStringLiteral("STAGIONE"), QStringLiteral("Primavera/Estate")}});
        article(f, 7, QStringLiteral("GIACCA"),
                {{QStringLiteral("N_MARCHI"), 4},
                 {QStringLiteral("STAGIONE"), QStringLiteral("Autunno/Inverno")},
                 {QStringLiteral("ANNO"), 2025}});
        article(f, 12, QStringLiteral("GONNA"));

        ArticleFilterBoxes b;
        b.description = QStringLiteral("L'ORO");
        QCOMPARE(listed(f, ArticleFilter::text(b)), QStringList{QStringLiteral("L'ORO DI NAPOLI")});
        b = {};
        b.code = QStringLiteral("80000");
        QCOMPARE(listed(f, ArticleFilter::text(b)),
                 (QStringList{QStringLiteral("GIACCA"), QStringLiteral("L'ORO DI NAPOLI"),
                              QStringLiteral("LORENZO")}));
        b.code = QStringLiteral("8000071051034");
        QCOMPARE(listed(f, ArticleFilter::text(b)), QStringList{QStringLiteral("GIACCA")});
        b = {};
        b.brand = QStringLiteral("3");
        b.season = QStringLiteral("Autunno/Inverno");
        QCOMPARE(listed(f, ArticleFilter::text(b)), QStringList{QStringLiteral("L'ORO DI NAPOLI")});
        b = {};
        b.year = QStringLiteral("2025");
        QCOMPARE(listed(f, ArticleFilter::text(b)), QStringList{QStringLiteral("GIACCA")});
        QCOMPARE(listed(f, QString()).size(), 4);
    }

    void discountedPrice() {
        ShopFixture f;
        article(f, 1, QStringLiteral("ABITO"),
                {{QStringLiteral("PREZZOVND"), 100.0}, {QStringLiteral("SCONTO"), 15.0}});
        ArticleBrowser browser(*f.shop);
        browser.open();
        QCOMPARE(browser.articles().asFloat(QStringLiteral("cPRZ")), 100.0);
        browser.setDiscounted(true);
        QCOMPARE(browser.articles().asFloat(QStringLiteral("cPRZ")), 85.0);
    }

    void sizeTitles() {
        ShopFixture f;
        sizeType(f, 4, QStringLiteral("CONFEZIONE"),
                 {QStringLiteral("S"), QString(), QStringLiteral("L")});
        SizeTitles titles(f.db());
        QVERIFY(titles.follow(4));
        QCOMPARE(titles.titles().size(), 20);
        QCOMPARE(titles.titles().mid(0, 4),
                 (QStringList{QStringLiteral("S"), QStringLiteral(" "), QStringLiteral("L"),
                              QStringLiteral(" ")}));
        // A size type that is not there (deleted): "?" in every title.
        QVERIFY(titles.follow(9));
        QCOMPARE(titles.titles(), QStringList(20, QStringLiteral("?")));
        QVERIFY(titles.follow(4));

        // The same size type is not read again, even when its labels changed.
        {
            db::Table t(f.db());
            t.setTableName(QStringLiteral("TAGLIE"));
            t.open();
            t.first();
            t.edit();
            t.setString(QStringLiteral("TG1"), QStringLiteral("XS"));
            t.post();
        }
        QVERIFY(!titles.follow(4));
        QCOMPARE(titles.titles().first(), QStringLiteral("S"));
        titles.forget();
        QVERIFY(titles.follow(4));
        QCOMPARE(titles.titles().first(), QStringLiteral("XS"));
    }

    void labelPreparation() {
        ShopFixture f;
        sizeType(f, 1, QStringLiteral("NUMERI"),
                 {QStringLiteral("38"), QStringLiteral("39"), QString(), QStringLiteral("41"),
                  QString()});
        colour(f, 5, QStringLiteral("ROSSO"));
        article(f, 1, QStringLiteral("SCARPA"),
                {{QStringLiteral("TIPOTAGLIA"), 1},
                 {QStringLiteral("MARCHIO"), QStringLiteral("ALFA")},
                 {QStringLiteral("PREZZOVND"), 59.9},
                 {QStringLiteral("SCONTO"), 10.0}});
        // 38: 2 in stock; 39: 0; third position unlabelled; 41: -1; fifth unlabelled; 6th empty.
        stockRow(f, 1, QStringLiteral("ROSSO"), {2, 0, 5, -1, 3});
        stockRow(f, 1, QStringLiteral("VERDE"), {QVariant(), 1}); // not a known colour
        // An old line sheet is replaced.
        f.add(QStringLiteral("ELEMENTI"), {{QStringLiteral("DESCRIZION"), QStringLiteral("OLD")}});

        LabelPreparation prep(f.db());
        QCOMPARE(prep.prepare({}, true).written, 2);
        QList<Label> rows = labels(f);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].barcode, CommonRoutines::EanCheckDigit(QStringLiteral("800001105101")));
        QCOMPARE(rows[0].barcode.size(), 13);
        QCOMPARE(rows[0].size, QStringLiteral("38"));
        QCOMPARE(rows[0].labels, qint64(2));
        QCOMPARE(rows[1].barcode, CommonRoutines::EanCheckDigit(QStringLiteral("800001000102")));
        QCOMPARE(rows[1].colour, QStringLiteral("VERDE"));
        QCOMPARE(rows[1].labels, qint64(1));
        {
            db::Table t(f.db());
            t.setTableName(QStringLiteral("ELEMENTI"));
            t.open();
            t.first();
            QCOMPARE(t.asString(QStringLiteral("MARCHIO")), QStringLiteral("ALFA"));
            QCOMPARE(t.asInteger(QStringLiteral("CODICE")), qint64(1));
            QCOMPARE(t.asString(QStringLiteral("DESCRIZION")), QStringLiteral("SCARPA"));
            QCOMPARE(t.asFloat(QStringLiteral("PRZVND")), 59.9);
            QCOMPARE(t.asFloat(QStringLiteral("SCONTO")), 10.0);
        }

        // All sizes: every labelled position of every colour, with its stock as it is.
        QCOMPARE(prep.prepare({}, false).written, 6);
        rows = labels(f);
        QStringList seen;
        for (const Label &l : rows)
            seen << l.colour + u' ' + l.size + u'=' + QString::number(l.labels);
        QCOMPARE(seen, (QStringList{QStringLiteral("ROSSO 38=2"), QStringLiteral("ROSSO 39=0"),
                                    QStringLiteral("ROSSO 41=-1"), QStringLiteral("VERDE 38=0"),
                                    QStringLiteral("VERDE 39=1"), QStringLiteral("VERDE 41=0")}));

        // Only the listed articles count.
        article(f, 2, QStringLiteral("BORSA"), {{QStringLiteral("TIPOTAGLIA"), 1}});
        stockRow(f, 2, QStringLiteral("ROSSO"), {4});
        QCOMPARE(prep.prepare(QStringLiteral("(DESCRIZION = 'BORSA')"), true).written, 1);
        QCOMPARE(labels(f).first().labels, qint64(4));

        // Rows whose barcode cannot be an EAN-13 are left out and counted: a
        // colour numbered from 900 on, an article code that is not six digits.
        colour(f, 950, QStringLiteral("ORO"));
        stockRow(f, 2, QStringLiteral("ORO"), {1});
        f.add(QStringLiteral("ARTICOLI"),
              {{QStringLiteral("NUMREG"), 3},
               {QStringLiteral("BARCODE"), QStringLiteral("AB12")},
               {QStringLiteral("DESCRIZION"), QStringLiteral("CINTURA")},
               {QStringLiteral("TIPOTAGLIA"), 1}});
        stockRow(f, 3, QStringLiteral("ROSSO"), {1, 1});
        const LabelPreparation::Result r = prep.prepare(QStringLiteral("(NUMREG >= 2)"), true);
        QCOMPARE(r.written, 1);
        QCOMPARE(r.skipped, 3);
        QCOMPARE(labels(f).first().colour, QStringLiteral("ROSSO"));

        // The line barcode takes the first six characters of longer codes, as documents do.
        QCOMPARE(LabelPreparation::lineBarcode(QStringLiteral("1000001"), QStringLiteral("105"), 3),
                 CommonRoutines::EanCheckDigit(QStringLiteral("100000105103")));
        QVERIFY(!LabelPreparation::lineBarcode(QStringLiteral("80001"), QStringLiteral("105"), 3));
    }

    void deletingKeepsStockButNotFurtherCodes() {
        ShopFixture f;
        article(f, 1, QStringLiteral("ABITO"));
        article(f, 2, QStringLiteral("BORSA"));
        stockRow(f, 1, QStringLiteral("NERO"), {1});
        f.add(QStringLiteral("BARCODE"),
              {{QStringLiteral("NUMREG"), 1}, {QStringLiteral("BARCODE"), QStringLiteral("111")}});
        f.add(QStringLiteral("BARCODE"),
              {{QStringLiteral("NUMREG"), 1}, {QStringLiteral("BARCODE"), QStringLiteral("112")}});
        f.add(QStringLiteral("BARCODE"),
              {{QStringLiteral("NUMREG"), 2}, {QStringLiteral("BARCODE"), QStringLiteral("221")}});
        ArticleBrowser browser(*f.shop);
        browser.open();
        QCOMPARE(browser.currentKey(), qint64(1));
        QCOMPARE(browser.stock().asString(QStringLiteral("COLORE")), QStringLiteral("NERO"));
        browser.removeCurrent();
        QCOMPARE(browser.currentKey(), qint64(2));
        QVERIFY(browser.stock().eof()); // the other article has no stock rows
        QCOMPARE(f.column(QStringLiteral("ARTICOLI"), QStringLiteral("DESCRIZION")),
                 QStringList{QStringLiteral("BORSA")});
        QCOMPARE(f.column(QStringLiteral("BARCODE"), QStringLiteral("BARCODE")),
                 QStringList{QStringLiteral("221")});
        QCOMPARE(f.column(QStringLiteral("ARCARTTG"), QStringLiteral("ARTCODE")),
                 QStringList{QStringLiteral("1")});
    }

    void listPrintout() {
        ShopFixture f;
        f.shop->texts().nameLine1 = QStringLiteral("BOUTIQUE ROSA");
        f.shop->texts().nameLine2 = QStringLiteral("di Rosa Bianchi");
        sizeType(f, 1, QStringLiteral("NUMERI"), {QStringLiteral("38"), QStringLiteral("39")});
        for (int i = 1; i <= 150; ++i)
            article(f, i, QStringLiteral("ART %1").arg(i, 3, 10, QLatin1Char('0')),
                    {{QStringLiteral("MARCHIO"), QStringLiteral("ALFA")},
                     {QStringLiteral("CATEGORIA"), QStringLiteral("SCARPE")},
                     {QStringLiteral("FORNITORE"), QStringLiteral("PELLI SRL")},
                     {QStringLiteral("PREZZOACQ"), 1234.5},
                     {QStringLiteral("PREZZOVND"), 100.0},
                     {QStringLiteral("SCONTO"), 15.0},
                     {QStringLiteral("TIPOTAGLIA"), 1}});
        stockRow(f, 1, QStringLiteral("ROSSO"), {3, QVariant(), 1});

        ArticleListPrintout list(*f.shop);
        list.load(QString(), true, false);
        QCOMPARE(list.articleCount(), 150);
        RecordingCanvas canvas;
        list.print(canvas);
        QVERIFY(canvas.pageCount() > 1);
        QVERIFY(canvas.findText(QStringLiteral("BOUTIQUE ROSA"), 1));
        QVERIFY(canvas.findText(QStringLiteral("ELENCO ARTICOLI - 15/03/2026"), 1));
        const CanvasItem *heading = canvas.findText(QStringLiteral("Descrizione"));
        QVERIFY(heading);
        QCOMPARE(canvas.textsContaining(QStringLiteral("Descrizione")).size(), 1); // once only
        const int W = canvas.pageWidth() - 100;
        const int d = W / 23;
        QCOMPARE(heading->position.x(), 50 + 3 * d + 10);
        const CanvasItem *first = canvas.findText(QStringLiteral("ART 001/ALFA"), 1);
        QVERIFY(first);
        // Prices end ten dots before their column's edge; "Scont." gives 85,00.
        const CanvasItem *sale = canvas.findText(QStringLiteral("     85,00"), 1);
        QVERIFY(sale);
        QCOMPARE(sale->rect.right() + 1, 50 + 17 * d - 10);
        QVERIFY(canvas.findText(QStringLiteral("  1.234,50"), 1));
        // Every page is numbered at its foot.
        const int bottom = canvas.pageHeight() * 97 / 100;
        for (int page = 1; page <= canvas.pageCount(); ++page) {
            const CanvasItem *number = canvas.findText(QStringLiteral("- %1 -").arg(page), page);
            QVERIFY2(number, qPrintable(QString::number(page)));
            QVERIFY(number->position.y() > bottom);
        }
        // Nothing but the page number is written under the bottom limit.
        for (const CanvasItem &item : canvas.items()) {
            if (item.kind == CanvasItem::Kind::Text && !item.text.startsWith(QStringLiteral("- ")))
                QVERIFY(item.position.y() < bottom);
        }

        // With the detail: the stock block under each article, titled with its sizes.
        ArticleListPrintout detail(*f.shop);
        detail.load(QStringLiteral("(NUMREG = 1)"), false, true);
        RecordingCanvas c2;
        detail.print(c2);
        QCOMPARE(c2.pageCount(), 1);
        QVERIFY(c2.findText(QStringLiteral("    100,00")));
        QVERIFY(c2.findText(QStringLiteral("Colore")));
        const int e = W / 22;
        const CanvasItem *title = c2.findText(QStringLiteral("39"));
        QVERIFY(title);
        QCOMPARE(title->position.x(), 50 + 10 + 2 * e + e);
        QCOMPARE(c2.textsInReadingOrder(0, 5).filter(QStringLiteral("ROSSO")).size(), 1);
        QVERIFY(c2.findText(QStringLiteral("3")));
        QVERIFY(!c2.findText(QStringLiteral("- 1 -")));
    }

    void photoCatalogue() {
        QCOMPARE(PhotoCatalogue::photosPerPage(QStringLiteral("4")), 4);
        QCOMPARE(PhotoCatalogue::photosPerPage(QStringLiteral(" 8 ")), 8);
        for (const char *bad : {"3", "9", "x", "", "5,5", "-4"})
            QVERIFY2(!PhotoCatalogue::photosPerPage(QString::fromLatin1(bad)), bad);

        ShopFixture f;
        f.shop->preferences().showPhotos = false; // the catalogue decodes its photos itself
        QImage red(64, 48, QImage::Format_RGB32);
        red.fill(Qt::red);
        article(f, 1, QStringLiteral("ABITO"),
                {{QStringLiteral("FOTO"), Jpeg::encode(red)},
                 {QStringLiteral("PREZZOVND"), 1500.0},
                 {QStringLiteral("MARCHIO"), QStringLiteral("ALFA")}});
        article(f, 2, QStringLiteral("BORSA"), {{QStringLiteral("INUSO"), false}});
        for (int i = 3; i <= 7; ++i)
            article(f, i, QStringLiteral("CAPPELLO %1").arg(i));
        PhotoCatalogue catalogue(*f.shop);
        catalogue.load({});
        QCOMPARE(catalogue.articleCount(), 6); // the article out of use is left out
        RecordingCanvas canvas;
        catalogue.print(canvas, 4);
        QCOMPARE(canvas.pageCount(), 2);
        QVERIFY(canvas.findText(QStringLiteral("CATALOGO - ANNO 2026"), 1));
        QVERIFY(canvas.findText(QStringLiteral("1.500,00"), 1));
        QVERIFY(!canvas.findText(QStringLiteral("BORSA")));
        int pictures = 0;
        for (const CanvasItem &item : canvas.items())
            pictures += item.kind == CanvasItem::Kind::Picture;
        QCOMPARE(pictures, 1);
    }
};

QTEST_MAIN(TestArticleArchive)
#include "tst_articlearchive.moc"

#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"
#include "platform/ScriptedPrompter.h"
#include "printing/RecordingCanvas.h"
#include "schema/DataFolderSchema.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

using namespace corvale;

namespace {

struct Fixture {
    QTemporaryDir dir;
    Clock clock{QDate(2026, 1, 2)};
    ScriptedPrompter prompter;
    Shop shop{ProgramFolder(dir.path()), clock, prompter};

    Fixture() {
        shop.setTableLayouts(allTableLayouts());
        shop.openDatabase();
    }

    void setConfig(const QMap<QString, QVariant> &values) {
        db::Table t(shop.database());
        t.setTableName(QStringLiteral("CONFIG"));
        t.open();
        t.first();
        t.edit();
        for (auto it = values.begin(); it != values.end(); ++it)
            t.setValue(it.key(), it.value());
        t.post();
    }

    void addDocument(const QString &table, int numdoc, const QString &mydata) {
        db::Table t(shop.database());
        t.setTableName(table);
        t.open();
        t.append();
        t.setInteger(QStringLiteral("NUMDOC"), numdoc);
        t.setString(QStringLiteral("MYDATA"), mydata);
        t.post();
    }
};

QList<CanvasItem> itemsOf(const RecordingCanvas &canvas, CanvasItem::Kind kind) {
    QList<CanvasItem> out;
    for (const CanvasItem &item : canvas.items()) {
        if (item.kind == kind)
            out << item;
    }
    return out;
}

QStringList textsOf(const RecordingCanvas &canvas) {
    QStringList out;
    for (const CanvasItem &item : itemsOf(canvas, CanvasItem::Kind::Text))
        out << item.text;
    return out;
}

} // namespace

class TestCommonRoutines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void counters() {
        Fixture f;
        CommonRoutines &r = f.shop.routines();
        QCOMPARE(r.NextCounter(QStringLiteral("COLORI"), true), 1); // creates the record
        QCOMPARE(r.NextCounter(QStringLiteral("COLORI"), true), 2);
        QCOMPARE(r.NextCounter(QStringLiteral("ARTICOLI"), false), 1);
        QCOMPARE(r.NextCounter(QStringLiteral("ARTICOLI"), false), 1); // only foreseen
        r.SetCounter(QStringLiteral("ARTICOLI"), 41);
        QCOMPARE(r.NextCounter(QStringLiteral("ARTICOLI"), true), 42);
        QCOMPARE(r.NextCounter(QStringLiteral("COLORI"), false), 3);
        // Brands, materials, soles and typologies share one counter.
        QCOMPARE(r.NextCounter(QStringLiteral("COUNTER"), true), 1);
        QCOMPARE(r.NextCounter(QStringLiteral("COUNTER"), true), 2);
        try {
            r.NextCounter(QStringLiteral("NOSUCH"), true);
            QFAIL("a missing counter column must throw");
        } catch (const db::Error &e) {
            QVERIFY(e.message().contains(QStringLiteral("NOSUCH")));
        }
        // The table was closed again even after the error.
        QCOMPARE(r.NextCounter(QStringLiteral("COLORI"), false), 3);
    }

    void counterOnEmptyTableWithoutStore() {
        Fixture f;
        f.shop.routines().SetCounter(QStringLiteral("VENDITE"), 9);
        Fixture g;
        QCOMPARE(g.shop.routines().NextCounter(QStringLiteral("TAGLIE"), false), 1);
        QCOMPARE(g.shop.routines().NextCounter(QStringLiteral("TAGLIE"), true), 1);
        QCOMPARE(g.shop.routines().NextCounter(QStringLiteral("TAGLIE"), true), 2);
    }

    void yearlyNumbers() {
        Fixture f; // today is 2 January 2026
        CommonRoutines &r = f.shop.routines();
        QCOMPARE(r.NextYearNumber(QStringLiteral("CARICHI")), 1);
        f.addDocument(QStringLiteral("CARICHI"), 339, QStringLiteral("20251230"));
        f.addDocument(QStringLiteral("CARICHI"), 340, QStringLiteral("20251231"));
        QCOMPARE(r.NextYearNumber(QStringLiteral("CARICHI")), 1);
        f.addDocument(QStringLiteral("CARICHI"), 1, QStringLiteral("20260102"));
        f.addDocument(QStringLiteral("CARICHI"), 7, QStringLiteral("20260102"));
        f.addDocument(QStringLiteral("CARICHI"), 3, QStringLiteral("20260102"));
        QCOMPARE(r.NextYearNumber(QStringLiteral("CARICHI")), 8);
        // Each table numbers on its own.
        QCOMPARE(r.NextYearNumber(QStringLiteral("VENDITE")), 1);
        f.addDocument(QStringLiteral("FATTURE"), 12, QStringLiteral("20261231"));
        QCOMPARE(r.NextYearNumber(QStringLiteral("FATTURE")), 13);
    }

    void textHelpers() {
        QCOMPARE(CommonRoutines::DateKey(QStringLiteral("05/03/1999")), QStringLiteral("20990305"));
        QCOMPARE(CommonRoutines::DateKey(QStringLiteral("05/03/05")), QStringLiteral("20050305"));
        QCOMPARE(CommonRoutines::DateKey(QStringLiteral("02/01/2026")), QStringLiteral("20260102"));
        QCOMPARE(CommonRoutines::DateKey(QStringLiteral("31/02/2005")), QStringLiteral("errore"));
        QCOMPARE(CommonRoutines::DateKey(QStringLiteral("")), QStringLiteral("errore"));
        QCOMPARE(CommonRoutines::DateKey(QStringLiteral("abc")), QStringLiteral("errore"));
        QCOMPARE(CommonRoutines::QuoteSql(QStringLiteral("D'ANGELO")), QStringLiteral("D''ANGELO"));
        QCOMPARE(CommonRoutines::QuoteSql(QStringLiteral("''")), QStringLiteral("''''"));
        QCOMPARE(CommonRoutines::TrimLeading(QStringLiteral("   12,50")), QStringLiteral("12,50"));
        QCOMPARE(CommonRoutines::TrimLeading(QStringLiteral("   ")), QString());
        QCOMPARE(CommonRoutines::PadCode5(QStringLiteral("7")), QStringLiteral("00007 "));
        QCOMPARE(CommonRoutines::PadCode5(QStringLiteral("0042")), QStringLiteral("00042 "));
        QCOMPARE(CommonRoutines::PadCode5(QStringLiteral("12345")), QStringLiteral("12345 "));
        QCOMPARE(CommonRoutines::PadCode5(QString()), QString());
        QCOMPARE(CommonRoutines::PadCode5(QStringLiteral("123456")), QString());
    }

    void eanCheckDigit() {
        QCOMPARE(CommonRoutines::EanCheckDigit(QStringLiteral("800012345678")),
                 QStringLiteral("8000123456786"));
        QCOMPARE(CommonRoutines::EanCheckDigit(QStringLiteral("871010169326")),
                 QStringLiteral("8710101693262"));
        QCOMPARE(CommonRoutines::EanCheckDigit(QStringLiteral("000000000000")),
                 QStringLiteral("0000000000000"));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 CommonRoutines::EanCheckDigit(QStringLiteral("80001234567X")));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 CommonRoutines::EanCheckDigit(QStringLiteral("12345")));
    }

    void askCopies() {
        Fixture f;
        CommonRoutines &r = f.shop.routines();
        f.prompter
            .expectInput(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                         QStringLiteral("9"), QStringLiteral("1"))
            .expectInput(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                         QStringLiteral("abc"), QStringLiteral("5"))
            .expectInput(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                         std::nullopt, QStringLiteral("1"));
        QCOMPARE(r.AskCopies(), 5);
        QCOMPARE(
            f.shop.ini().readInteger(QStringLiteral("GENERALI"), QStringLiteral("NUMCOPIE"), 0), 5);
        QCOMPARE(r.AskCopies(), 1);
        QCOMPARE(r.AskCopies(), 0); // cancelled: nothing written
        QCOMPARE(
            f.shop.ini().readInteger(QStringLiteral("GENERALI"), QStringLiteral("NUMCOPIE"), 0), 1);
        QVERIFY(f.prompter.done());
    }

    void shopTexts() {
        Fixture f;
        CommonRoutines &r = f.shop.routines();
        f.shop.texts().nameLine1 = QStringLiteral("prima");
        f.setConfig({{"RAGIONE", "ROSSI & FIGLI"},
                     {"RAGION2", "abbigliamento & calzature"},
                     {"CITTA", "20100 MILANO"},
                     {"PIVA", "01234567890"},
                     {"TEL", "02 123456"},
                     {"FAX", "02 654321"},
                     {"IMPOBOL", 22},
                     {"EURO", 2.5}});
        r.LoadShopTexts();
        const ShopTexts &t = f.shop.texts();
        QCOMPARE(t.shopLine,
                 QStringLiteral("ROSSI & FIGLI abbigliamento & calzature 20100 MILANO"));
        QCOMPARE(t.shopCaptionLine,
                 QStringLiteral("ROSSI && FIGLI abbigliamento & calzature 20100 MILANO"));
        QCOMPARE(t.nameLine1, QStringLiteral("ROSSI & FIGLI"));
        QCOMPARE(t.vatLine, QStringLiteral("P.IVA 01234567890"));
        QCOMPARE(t.phoneLine, QStringLiteral("Tel 02 123456 Fax 02 654321"));
        QCOMPARE(t.vatPercent, 22.0);
        QCOMPARE(t.pointsPerEuro, 2.5);

        // An empty CONFIG keeps the texts as they were.
        db::Table config(f.shop.database());
        config.setTableName(QStringLiteral("CONFIG"));
        config.open();
        config.emptyTable();
        config.close();
        r.LoadShopTexts();
        QCOMPARE(f.shop.texts().nameLine1, QStringLiteral("ROSSI & FIGLI"));
    }

    void printedHeadingWithNames() {
        Fixture f;
        f.setConfig({{"RAGIONE", "BOUTIQUE ROSA"},
                     {"RAGION2", "di Rosa Bianchi"},
                     {"ADDRESS", "Via Roma 1"},
                     {"CITTA", "20100 MILANO"},
                     {"PIVA", "01234567890"},
                     {"TEL", ""},
                     {"FAX", "02 654321"}});
        RecordingCanvas canvas;
        const int q = canvas.pageWidth() / 4;
        const int below = f.shop.routines().PrintCompanyHeader(canvas, 300);

        CanvasFont big{QStringLiteral("arial"), 14, true};
        canvas.setFont(big);
        const int l14 = canvas.textHeight(QStringLiteral("X"));
        CanvasFont normal{QStringLiteral("arial"), 10};
        canvas.setFont(normal);
        const int l10 = canvas.textHeight(QStringLiteral("X"));

        const QStringList texts = textsOf(canvas);
        QCOMPARE(texts, QStringList({"BOUTIQUE ROSA", "di Rosa Bianchi", "Via Roma 1",
                                     "20100 MILANO", "P.IVA 01234567890", " Fax 02 654321"}));
        const auto items = itemsOf(canvas, CanvasItem::Kind::Text);
        QCOMPARE(items[0].position.y(), 300);
        QVERIFY(items[0].font.bold && items[0].font.size == 14);
        QCOMPARE(items[1].position.y(), 300 + l14);
        QCOMPARE(items[2].position.y(), 300 + 2 * l14);
        QCOMPARE(items[5].position.y(), 300 + 2 * l14 + 3 * l10);
        QCOMPARE(below, 300 + 2 * l14 + 5 * l10);
        for (const auto &item : items) {
            canvas.setFont(item.font);
            QCOMPARE(item.position.x(), q - canvas.textWidth(item.text) / 2);
        }
        QVERIFY(!f.shop.routines().creditText().isEmpty());
    }

    void printedHeadingWithoutPhones() {
        Fixture f;
        f.setConfig({{"RAGIONE", "A"}, {"TEL", ""}, {"FAX", ""}});
        RecordingCanvas canvas;
        f.shop.routines().PrintCompanyHeader(canvas, 100);
        QCOMPARE(textsOf(canvas).size(), 5); // no phone line at all
    }

    void printedHeadingWithLogo() {
        Fixture f;
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(Qt::red);
        QByteArray bmp;
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        logo.save(&buffer, "BMP");
        f.setConfig({{"ISLOGO", true}, {"LOGO", bmp}, {"RAGIONE", "NON STAMPATA"}});
        RecordingCanvas canvas;
        const int w = canvas.pageWidth();
        canvas.setFont(CanvasFont{QStringLiteral("arial"), 10});
        const int d = canvas.textHeight(QStringLiteral("X"));
        const int h = w / 2 - (w / 2) / 6;
        const int e = h / 2;
        const int below = f.shop.routines().PrintCompanyHeader(canvas, 400);
        QCOMPARE(below, 400 - 2 * d + e);
        QVERIFY(textsOf(canvas).isEmpty());
        const auto pictures = itemsOf(canvas, CanvasItem::Kind::Picture);
        QCOMPARE(pictures.size(), 1);
        QCOMPARE(pictures[0].rect,
                 QRect(QPoint(w / 4 - e, 400 - 2 * d), QPoint(w / 4 + e, 400 - 2 * d + e)));
    }
};

QTEST_MAIN(TestCommonRoutines)
#include "tst_commonroutines.moc"

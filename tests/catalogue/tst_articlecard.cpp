#include "common/ShopFixture.h"
#include "db/FaultyFileSystem.h"

#include "catalogue/ArticleCard.h"
#include "catalogue/ArticleColumns.h"
#include "db/Error.h"
#include "shell/CommonRoutines.h"

#include <QFile>
#include <QTest>

using namespace corvale;
namespace a = articleColumns;
using Kind = ArticleCard::ChoiceKind;

class TestArticleCard : public QObject {
    Q_OBJECT
private:
    static void addSizeType(ShopFixture &f, qint64 n, const QString &name) {
        f.add(QStringLiteral("TAGLIE"), {{QStringLiteral("NUMREG"), n},
                                         {QStringLiteral("DESCRIZION"), name},
                                         {QStringLiteral("TG1"), QStringLiteral("S")}});
    }
    // A new article ready to be saved: described, with a size type and a price.
    static void fillIn(ArticleCard &card) {
        card.article().setString(a::description, QStringLiteral("SANDALO"));
        card.choose(Kind::SizeType, 3, QStringLiteral("SCARPE"));
        card.article().setFloat(a::salePrice, 79.9);
        QVERIFY(card.addCode(QStringLiteral(" sa-1 ")));
    }

private Q_SLOTS:
    // The sale price from purchase price, mark-up and VAT, and the mark-up back
    // from a typed sale price, with the mark-up reckoned with or without VAT.
    void salePriceAndMarkup_data() {
        QTest::addColumn<bool>("withoutVat");
        QTest::addColumn<double>("purchase");
        QTest::addColumn<double>("markup");
        QTest::addColumn<double>("vat");
        QTest::addColumn<double>("sale");
        QTest::addColumn<double>("typedSale");
        QTest::addColumn<double>("markupBack");
        QTest::newRow("with VAT") << false << 10.0 << 100.0 << 20.0 << 24.0 << 36.0 << 200.0;
        QTest::newRow("without VAT") << true << 10.0 << 100.0 << 20.0 << 20.0 << 30.0 << 200.0;
        QTest::newRow("net to the cent, then VAT")
            << false << 3.333 << 0.0 << 10.0 << 3.663 << 7.3326 << 100.0;
        QTest::newRow("no purchase price") << false << 0.0 << 50.0 << 22.0 << 0.0 << 24.0 << 0.0;
    }
    void salePriceAndMarkup() {
        QFETCH(bool, withoutVat);
        QFETCH(double, purchase);
        QFETCH(double, markup);
        QFETCH(double, vat);
        QFETCH(double, sale);
        QFETCH(double, typedSale);
        QFETCH(double, markupBack);
        ShopFixture f;
        f.shop->preferences().markupWithoutVat = withoutVat;
        ArticleCard card(*f.shop);
        QVERIFY(card.begin(true, 0));
        db::Table &t = card.article();
        t.setFloat(a::purchasePrice, purchase);
        t.setFloat(a::markup, markup);
        t.setFloat(a::vat, vat);
        card.computeSalePrice();
        QVERIFY(qFuzzyCompare(1 + t.asFloat(a::salePrice), 1 + sale));
        t.setFloat(a::salePrice, typedSale);
        card.computeMarkup();
        QVERIFY(qFuzzyCompare(1 + t.asFloat(a::markup), 1 + markupBack));
    }

    // "Calcolo dal prezzo scontato" and the final price it shows.
    void discountFromTheFinalPrice() {
        ShopFixture f;
        ArticleCard card(*f.shop);
        QVERIFY(card.begin(true, 0));
        db::Table &t = card.article();
        t.setFloat(a::salePrice, 50);
        QVERIFY(card.discountFromFinalPrice(40));
        QCOMPARE(t.asFloat(a::discount), 20.0);
        QCOMPARE(card.finalPriceText(), QStringLiteral("40,00"));
        QVERIFY(card.discountFromFinalPrice(33.33)); // to two decimals
        QCOMPARE(t.asFloat(a::discount), 33.34);
        t.setFloat(a::discount, 10);
        QCOMPARE(card.finalPrice(), 45.0);
        // No sale price to take it from: the discount stays.
        t.setFloat(a::salePrice, 0);
        QVERIFY(!card.discountFromFinalPrice(30));
        QCOMPARE(t.asFloat(a::discount), 10.0);
    }

    void newArticleIsNumberedWhenSaved() {
        ShopFixture f;
        f.shop->routines().SetCounter(QStringLiteral("ARTICOLI"), 11);
        f.shop->ini().writeString(QStringLiteral("DEFAULT"), QStringLiteral("IVA"),
                                  QStringLiteral("22"));
        f.shop->ini().writeString(QStringLiteral("DEFAULT"), QStringLiteral("UM"),
                                  QStringLiteral("PA"));
        addSizeType(f, 3, QStringLiteral("SCARPE"));
        ArticleCard card(*f.shop);
        QVERIFY(card.begin(true, 0));
        db::Table &t = card.article();
        QCOMPARE(t.asString(a::code), QStringLiteral("800012"));
        QCOMPARE(t.asFloat(a::vat), 22.0);
        QCOMPARE(t.asString(a::unit), QStringLiteral("PA"));
        QCOMPARE(t.asString(a::season), QStringLiteral("Quattro Stagioni"));
        QCOMPARE(t.asInteger(a::year), 2026);
        QVERIFY(t.asBool(a::inUse));
        QCOMPARE(std::optional(t.asBlob(a::photo)), card.blankPhoto());
        QVERIFY(!card.canSave());
        t.setString(a::description, QStringLiteral(" "));
        card.choose(Kind::SizeType, 3, QStringLiteral("SCARPE"));
        QVERIFY(!card.canSave());
        fillIn(card);
        QVERIFY(card.canSave());
        QVERIFY(!card.addCode(QStringLiteral("   ")));
        QCOMPARE(f.counter(QStringLiteral("ARTICOLI")), 11); // only foreseen so far

        card.save();
        QCOMPARE(card.key(), 12);
        QCOMPARE(f.counter(QStringLiteral("ARTICOLI")), 12);
        QCOMPARE(f.column(a::articles, a::code), QStringList{QStringLiteral("800012")});
        QCOMPARE(f.column(a::articles, a::sizeTypeName), QStringList{QStringLiteral("SCARPE")});
        QCOMPARE(f.column(QStringLiteral("BARCODE"), QStringLiteral("BARCODE")),
                 QStringList{QStringLiteral("SA-1")});
        QCOMPARE(f.column(QStringLiteral("PREZZI"), QStringLiteral("CAUSA")),
                 QStringList{QStringLiteral("Nuovo articolo")});

        // Taken by another article meanwhile: the code follows the number really taken.
        QVERIFY(card.begin(true, 0));
        QCOMPARE(card.article().asString(a::code), QStringLiteral("800013"));
        f.shop->routines().NextCounter(QStringLiteral("ARTICOLI"), true);
        fillIn(card);
        card.save();
        QCOMPARE(card.key(), 14);
        QCOMPARE(card.article().asString(a::code), QStringLiteral("800014"));
    }

    void storedArticleAndItsCodes() {
        ShopFixture f;
        f.add(a::articles, {{a::key, 5},
                            {a::description, QStringLiteral("BORSA")},
                            {a::sizeType, 1},
                            {a::salePrice, 80.0}});
        for (const char *code : {"A1", "B2"})
            f.add(QStringLiteral("BARCODE"),
                  {{a::key, 5}, {QStringLiteral("BARCODE"), QString::fromLatin1(code)}});
        ArticleCard card(*f.shop);
        f.prompter.expectError(QStringLiteral("L'articolo 9 non è presente in archivio."));
        QVERIFY(!card.begin(false, 9));
        QVERIFY(f.prompter.done());

        QVERIFY(card.begin(false, 5));
        QVERIFY(card.canSave());
        QCOMPARE(f.column(QStringLiteral("LBCODE"), QStringLiteral("BARCODE")),
                 (QStringList{QStringLiteral("A1"), QStringLiteral("B2")}));
        card.codes().first();
        card.removeCode();
        card.article().setFloat(a::discount, 25);
        card.save();
        QCOMPARE(card.key(), 5);
        QCOMPARE(f.column(QStringLiteral("BARCODE"), QStringLiteral("BARCODE")),
                 QStringList{QStringLiteral("B2")});
        QCOMPARE(f.column(QStringLiteral("PREZZI"), QStringLiteral("CAUSA")),
                 QStringList{QStringLiteral("Scheda articolo")});
        QCOMPARE(f.column(QStringLiteral("PREZZI"), QStringLiteral("PREZZO")),
                 QStringList{QStringLiteral("60")});

        // Without its codes a stored article loses them; closing drops the rest.
        QVERIFY(card.begin(false, 5));
        card.codes().first();
        card.removeCode();
        card.save();
        QVERIFY(f.column(QStringLiteral("BARCODE"), QStringLiteral("BARCODE")).isEmpty());
        QVERIFY(card.begin(false, 5));
        card.article().setString(a::description, QStringLiteral("MAI"));
        card.close();
        QCOMPARE(f.column(a::articles, a::description), QStringList{QStringLiteral("BORSA")});
    }

    void listEntries() {
        ShopFixture f;
        f.shop->routines().SetCounter(QStringLiteral("COUNTER"), 1);
        ArticleCard card(*f.shop);
        QVERIFY(card.begin(true, 0));
        db::Table &t = card.article();
        card.choose(Kind::Brand, 7, QStringLiteral("ZETA"));
        QCOMPARE(t.asInteger(a::brandKey), 7);
        QCOMPARE(t.asString(a::brand), QStringLiteral("ZETA"));
        card.choose(Kind::Heel, QStringLiteral("5"), QStringLiteral("5"));
        QCOMPARE(t.asString(a::heel), QStringLiteral("5"));
        // Entries on the spot: numbered lists give the number, the others the name.
        QCOMPARE(card.addEntry(Kind::Material, QStringLiteral("pelle")), QVariant(qint64(2)));
        QCOMPARE(t.asInteger(a::materialKey), 2);
        QCOMPARE(t.asString(a::material), QStringLiteral("PELLE"));
        QCOMPARE(card.addEntry(Kind::Sole, QStringLiteral("cuoio")),
                 QVariant(QStringLiteral("CUOIO")));
        QCOMPARE(t.asString(a::sole), QStringLiteral("CUOIO"));
        QCOMPARE(f.column(QStringLiteral("FONDI"), QStringLiteral("NOME")),
                 QStringList{QStringLiteral("CUOIO")});
        for (Kind kind : ArticleCard::choiceKinds())
            QCOMPARE(bool(ArticleCard::choice(kind).entries),
                     kind != Kind::Supplier && kind != Kind::SizeType && kind != Kind::Heel &&
                         kind != Kind::Wedge);
    }

    // Whichever change of the disk a save fails at, saving again stores the
    // article once, under one number, with one entry in the price history and
    // its further code.
    void saveAgainAfterAFailure() {
        for (int at = 1;; ++at) {
            db::test::FaultyFileSystem files;
            ShopFixture f(files);
            f.shop->routines().SetCounter(QStringLiteral("ARTICOLI"), 11);
            addSizeType(f, 3, QStringLiteral("SCARPE"));
            ArticleCard card(*f.shop);
            QVERIFY(card.begin(true, 0));
            fillIn(card);
            files.arm(db::test::FaultyFileSystem::Fault::IoError, files.operations() + at);
            bool failed = false;
            try {
                card.save();
            } catch (const db::Error &) {
                failed = true;
            }
            files.arm(db::test::FaultyFileSystem::Fault::None, 0);
            if (!failed)
                break; // past the last change of a save
            card.save();
            const QByteArray row = QByteArray::number(at);
            QVERIFY2(card.key() == 12, row);
            QVERIFY2(f.counter(QStringLiteral("ARTICOLI")) == 12, row);
            QVERIFY2(f.column(a::articles, a::key) == QStringList{QStringLiteral("12")}, row);
            QVERIFY2(f.column(a::articles, a::code) == QStringList{QStringLiteral("800012")}, row);
            QVERIFY2(f.column(QStringLiteral("PREZZI"), QStringLiteral("CAUSA")) ==
                         QStringList{QStringLiteral("Nuovo articolo")},
                     row);
            QVERIFY2(f.column(QStringLiteral("BARCODE"), QStringLiteral("NUMREG")) ==
                         QStringList{QStringLiteral("12")},
                     row);
        }
    }
};

QTEST_MAIN(TestArticleCard)
#include "tst_articlecard.moc"

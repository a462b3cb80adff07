#include "catalogue/ArticlePricing.h"
#include "catalogue/PriceVariation.h"
#include "db/Database.h"
#include "db/Table.h"
#include "schema/DataFolderSchema.h"
#include "shell/DataFolderSetup.h"

#include <QTemporaryDir>
#include <QTest>

using namespace corvale;

class TestPricing : public QObject {
    Q_OBJECT
private:
    struct Article {
        qint64 numreg;
        qint64 brand;
        qint64 supplier;
        double purchase;
        double sale;
        double markup;
        double vat;
    };

    static void addArticles(db::Database &db, const QList<Article> &list) {
        db::Table t(db);
        t.setTableName(QStringLiteral("ARTICOLI"));
        t.open();
        for (const Article &a : list) {
            t.append();
            t.setInteger(QStringLiteral("NUMREG"), a.numreg);
            t.setInteger(QStringLiteral("N_MARCHI"), a.brand);
            t.setInteger(QStringLiteral("N_FOR"), a.supplier);
            t.setFloat(QStringLiteral("PREZZOACQ"), a.purchase);
            t.setFloat(QStringLiteral("PREZZOVND"), a.sale);
            t.setFloat(QStringLiteral("RICARICO"), a.markup);
            t.setFloat(QStringLiteral("IVA"), a.vat);
            t.setFloat(QStringLiteral("SCONTO"), 5);
            t.post();
        }
    }
    static double field(db::Database &db, qint64 numreg, const char *name) {
        db::Table t(db);
        t.setTableName(QStringLiteral("ARTICOLI"));
        t.setIndexName(QStringLiteral("NUMREG"));
        t.open();
        if (!t.findKey(numreg))
            return -1;
        return t.asFloat(QString::fromLatin1(name));
    }

private Q_SLOTS:
    void salePriceFromMarkup() {
        // Mark-up with VAT (box not ticked) and without it.
        QCOMPARE(ArticlePricing::salePrice(10, 100, 20, false), 24.0);
        QCOMPARE(ArticlePricing::salePrice(10, 100, 20, true), 20.0);
        // The net price is rounded to the cent before the VAT, which is not rounded again.
        QCOMPARE(ArticlePricing::salePrice(3.333, 0, 10, true), 3.33);
        QVERIFY(qFuzzyCompare(ArticlePricing::salePrice(3.333, 0, 10, false), 3.663));
        QCOMPARE(ArticlePricing::salePrice(0, 100, 20, false), 0.0);
    }

    void markupBackFromSalePrice() {
        QVERIFY(qFuzzyCompare(ArticlePricing::markupFromSale(24, 10, 20, false), 100.0));
        QVERIFY(qFuzzyCompare(ArticlePricing::markupFromSale(20, 10, 20, true), 100.0));
        // Nothing to divide by: 0, never an error.
        QCOMPARE(ArticlePricing::markupFromSale(24, 0, 20, false), 0.0);
        QCOMPARE(ArticlePricing::markupFromSale(24, 10, -100, false), 0.0);
    }

    void finalPriceAndDiscountFromIt() {
        QCOMPARE(ArticlePricing::finalPriceText(50, 20), QStringLiteral("40,00"));
        QCOMPARE(ArticlePricing::finalPriceText(19.9, 0), QStringLiteral("19,90"));
        QCOMPARE(ArticlePricing::finalPriceText(1234.5, 0), QStringLiteral("1234,50"));
        QCOMPARE(ArticlePricing::discountFor(50, 40), std::optional<double>(20.0));
        // Rounded to two decimals: 30 -> 20 is 33.333...%.
        QCOMPARE(ArticlePricing::discountFor(30, 20), std::optional<double>(33.33));
        QVERIFY(!ArticlePricing::discountFor(0, 40));
        QCOMPARE(ArticlePricing::readNumber(QStringLiteral("1.234,5")),
                 std::optional<double>(1234.5));
        QVERIFY(!ArticlePricing::readNumber(QStringLiteral("abc")));
    }

    void variationFilterText() {
        PriceVariation::Request r;
        QCOMPARE(PriceVariation::filterText(r), QString());
        r.brand = 4;
        QCOMPARE(PriceVariation::filterText(r), QStringLiteral("(N_MARCHI = '4')"));
        r.supplier = 12;
        QCOMPARE(PriceVariation::filterText(r),
                 QStringLiteral("(N_MARCHI = '4') AND (N_FOR = '12')"));
    }

    void bulkVariations() {
        QTemporaryDir dir;
        const QString data = dir.path() + QStringLiteral("/dati");
        QVERIFY(DataFolderSetup::createIfMissing(data, allTableLayouts()));
        db::Database db;
        db.open(data);
        addArticles(db, {{1, 1, 10, 20, 30, 50, 20},
                         {2, 2, 10, 30, 50, 66.66667, 20},
                         {3, 3, 11, 0, 40, 0, 20},
                         {4, 2, 11, 10, 24, 100, 20}});
        PriceVariation v(db);
        PriceVariation::Request r;
        r.markupWithoutVat = true;

        // +10 % on the purchase price of brand 1: 20 -> 22, sale 33.00.
        r.percentText = QStringLiteral("10");
        r.brand = 1;
        QCOMPARE(v.run(r, QDate(2026, 3, 15)), 1);
        QCOMPARE(field(db, 1, "PREZZOACQ"), 22.0);
        QCOMPARE(field(db, 1, "PREZZOVND"), 33.0);
        QCOMPARE(field(db, 2, "PREZZOACQ"), 30.0); // other brand untouched

        // -10 % on the sale price of article 2 (brand 2, supplier 10): 50 -> 45, mark-up 50.
        r.target = PriceVariation::Target::SalePrice;
        r.percentText = QStringLiteral("-10");
        r.brand = 2;
        r.supplier = 10;
        QCOMPARE(v.run(r, QDate(2026, 3, 15)), 1);
        QCOMPARE(field(db, 2, "PREZZOVND"), 45.0);
        QCOMPARE(field(db, 2, "RICARICO"), 50.0);
        QCOMPARE(field(db, 4, "PREZZOVND"), 24.0);

        // Purchase price 0: the mark-up becomes 0.
        r.brand = 3;
        r.supplier = 11;
        r.percentText = QStringLiteral("0");
        QCOMPARE(v.run(r, QDate(2026, 3, 15)), 1);
        QCOMPARE(field(db, 3, "RICARICO"), 0.0);
        QCOMPARE(field(db, 3, "PREZZOVND"), 40.0);

        // The shop reckons its mark-up with VAT: the sale price keeps it.
        r.markupWithoutVat = false;
        r.target = PriceVariation::Target::PurchasePrice;
        r.supplier.reset();
        r.brand = 2;
        r.percentText = QStringLiteral("abc"); // not a number: 0 %
        QCOMPARE(v.run(r, QDate(2026, 3, 15)), 2);
        QCOMPARE(field(db, 4, "PREZZOACQ"), 10.0);
        QCOMPARE(field(db, 4, "PREZZOVND"), 24.0);
        QCOMPARE(field(db, 2, "PREZZOVND"), 54.0); // 30 × 1.5 × 1.2

        // A purchase price that leaves fractions of a cent is stored to the cent,
        // and the sale price is worked out from the stored one: 19,99 + 10 %.
        addArticles(db, {{5, 4, 12, 19.99, 0, 40, 0}});
        r.target = PriceVariation::Target::PurchasePrice;
        r.markupWithoutVat = true;
        r.brand = 4;
        r.percentText = QStringLiteral("10");
        QCOMPARE(v.run(r, QDate(2026, 3, 15)), 1);
        QCOMPARE(field(db, 5, "PREZZOACQ"), 21.99);
        QCOMPARE(field(db, 5, "PREZZOVND"), 30.79); // 21,99 × 1,4 = 30,786

        // Discount over every article.
        r.target = PriceVariation::Target::Discount;
        r.brand.reset();
        r.percentText = QStringLiteral("12,5");
        QCOMPARE(v.run(r, QDate(2026, 3, 15)), 5);
        for (qint64 n = 1; n <= 5; ++n)
            QCOMPARE(field(db, n, "SCONTO"), 12.5);
    }
};

QTEST_GUILESS_MAIN(TestPricing)
#include "tst_pricing.moc"

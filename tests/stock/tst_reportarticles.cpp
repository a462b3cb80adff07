#include "StockData.h"

#include "db/Error.h"
#include "db/Table.h"
#include "stock/ReportArticles.h"

#include <QTest>

using namespace corvale;
using namespace stockdata;

namespace {

const QString calculated = QStringLiteral("cDOPPIO");

// A list whose figure is twice the article number.
struct Doubling {
    explicit Doubling(ShopFixture &f)
        : list(f.db(), {calculated}, [](db::Table &t) {
            t.setCalculated(calculated, double(2 * t.asInteger(QStringLiteral("NUMREG"))));
        }) {}

    QStringList descriptions() {
        QStringList out;
        list.forEachRow([&](db::Table &t) { out << ReportArticle::read(t).description; });
        return out;
    }

    ReportArticles list;
};

void plant(ShopFixture &f) {
    addArticle(f, {1, QStringLiteral("MAGLIA"), 0, QStringLiteral("M1"), 0, QStringLiteral("F1")});
    addArticle(f, {2, QStringLiteral("GIACCA"), 0, QStringLiteral("M2"), 0, QStringLiteral("F2")});
    addArticle(f, {3, QStringLiteral("L'ORO"), 0, QStringLiteral("M3"), 0, QStringLiteral("F3")});
}

} // namespace

class TestReportArticles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void descriptionOrderAndFigures() {
        ShopFixture f;
        plant(f);
        Doubling d(f);
        QVERIFY(d.descriptions().isEmpty()); // closed: no rows
        d.list.open();
        QCOMPARE(d.descriptions(), (QStringList{QStringLiteral("GIACCA"), QStringLiteral("L'ORO"),
                                                QStringLiteral("MAGLIA")}));
        db::Table &t = d.list.table();
        QCOMPARE(t.asString(QStringLiteral("DESCRIZION")), QStringLiteral("GIACCA"));
        QCOMPARE(t.asFloat(calculated), 4.0);
        const ReportArticle a = ReportArticle::read(t);
        QCOMPARE(a.code, codeOf(2));
        QCOMPARE(a.supplier, QStringLiteral("F2"));
        QCOMPARE(a.brand, QStringLiteral("M2"));
        d.list.close();
    }

    void filterKeptOverClosing() {
        ShopFixture f;
        plant(f);
        Doubling d(f);
        // A text given while closed waits for the opening.
        d.list.setFilter(QStringLiteral("(N_MARCHI = '0') AND (DESCRIZION >= 'L')"));
        d.list.open();
        QCOMPARE(d.descriptions(),
                 (QStringList{QStringLiteral("L'ORO"), QStringLiteral("MAGLIA")}));
        d.list.close();
        d.list.open();
        QCOMPARE(d.descriptions().size(), 2);
        d.list.setFilter({});
        QVERIFY(!d.list.table().isFiltered());
        QCOMPARE(d.descriptions().size(), 3);
        QVERIFY_THROWS_EXCEPTION(db::Error, d.list.setFilter(QStringLiteral("((")));
    }

    void walkComesBackToTheCurrentRow() {
        ShopFixture f;
        plant(f);
        Doubling d(f);
        d.list.open();
        db::Table &t = d.list.table();
        t.next();
        QCOMPARE(t.asString(QStringLiteral("DESCRIZION")), QStringLiteral("L'ORO"));
        QCOMPARE(d.descriptions().size(), 3);
        QCOMPARE(t.asString(QStringLiteral("DESCRIZION")), QStringLiteral("L'ORO"));
    }

    void rowThatDoesNotReadIsPassedOver() {
        ShopFixture f;
        plant(f);
        Doubling d(f);
        d.list.open();
        QStringList read;
        d.list.forEachRow([&](db::Table &t) {
            const QString description = t.asString(QStringLiteral("DESCRIZION"));
            if (description == QLatin1String("L'ORO"))
                throw db::Error(QStringLiteral("illeggibile"));
            read << description;
        });
        QCOMPARE(read, (QStringList{QStringLiteral("GIACCA"), QStringLiteral("MAGLIA")}));
    }

    void exportColumns() {
        const ReportArticle a{QStringLiteral("007"), QStringLiteral("SCARPA"), QStringLiteral("F"),
                              QStringLiteral("M")};
        QCOMPARE(a.exportCells(), (QStringList{QStringLiteral("'007"), QStringLiteral("SCARPA"),
                                               QStringLiteral("F"), QStringLiteral("M")}));
        const QStringList heading =
            ReportArticle::exportHeading(QDate(2026, 3, 15), {QStringLiteral("CARICHI")});
        QVERIFY(heading.last().startsWith(QStringLiteral("CODICE\tARTICOLO\tFORNITORE\tMARCHIO")));
        QVERIFY(heading.last().contains(QStringLiteral("MARCHIO\tCARICHI")));
    }
};

QTEST_MAIN(TestReportArticles)
#include "tst_reportarticles.moc"

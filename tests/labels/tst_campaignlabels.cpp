// Labels printed for a campaign: the previous price (the lowest of the 30
// days before the campaign), the percentage and the new price, in every
// label layout.

#include "catalogue/CampaignBook.h"
#include "catalogue/PriceHistory.h"
#include "common/ShopFixture.h"
#include "labels/CampaignLabels.h"
#include "labels/LabelPrintout.h"
#include "printing/RecordingCanvas.h"

#include <QTest>

using namespace corvale;

namespace {

const QDate first(2026, 7, 4);
const QString expected = QStringLiteral("Prezzo precedente € 79,90 −30% € 55,93");

LabelRow row(qint64 article) {
    LabelRow r;
    r.barcode = QStringLiteral("8000011011013");
    r.brand = QStringLiteral("MARCA");
    r.description = QStringLiteral("GIACCA");
    r.colour = QStringLiteral("BLU");
    r.sizeLabel = QStringLiteral("46");
    r.price = 79.9;
    r.discount = 10;
    r.count = 1;
    r.article = article;
    return r;
}

} // namespace

class TestCampaignLabels : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void campaignPricesOnTheLabelRows() {
        ShopFixture f;
        for (int key : {1, 2})
            f.add(QStringLiteral("ARTICOLI"),
                  {{QStringLiteral("NUMREG"), key},
                   {QStringLiteral("DESCRIZION"), QStringLiteral("GIACCA")},
                   {QStringLiteral("PREZZOVND"), 79.9},
                   {QStringLiteral("SCONTO"), 10.0},
                   {QStringLiteral("N_CAT"), key}});
        // Sold at 79,90 with no discount for the 30 days before the campaign.
        PriceHistory(f.db()).record(1, QDate(2026, 1, 1), 79.9, 0, PriceHistory::cardCause());
        Campaign c;
        c.name = QStringLiteral("SALDI ESTIVI");
        c.first = first;
        c.last = first.addDays(30);
        c.selection = CampaignSelection::Category;
        c.value = 1;
        c.percent = 30;
        CampaignBook(f.db()).save(c);

        for (const auto &[day, reduced] :
             QList<std::pair<QDate, bool>>{{first.addDays(-1), false},
                                           {first, true},
                                           {first.addDays(30), true},
                                           {first.addDays(31), false}}) {
            QList<LabelRow> rows{row(1), row(2), row(0)};
            CampaignLabels::apply(rows, f.db(), day);
            QCOMPARE(rows[0].reduction, reduced ? expected : QString());
            QCOMPARE(rows[0].price, reduced ? 55.93 : 79.9);
            QCOMPARE(rows[0].discount, reduced ? 0.0 : 10.0);
            // Another category, and a row of no article: as they were.
            QCOMPARE(rows[1].reduction, QString());
            QCOMPARE(rows[1].discount, 10.0);
            QCOMPARE(rows[2].reduction, QString());
        }
    }

    void everyLayoutPrintsTheReduction_data() {
        QTest::addColumn<bool>("labelPrinter");
        QTest::addColumn<bool>("discounted");
        QTest::newRow("sheet") << false << false;
        QTest::newRow("sheet, discounted price asked") << false << true;
        QTest::newRow("label printer") << true << false;
        QTest::newRow("label printer, discounted price asked") << true << true;
    }
    void everyLayoutPrintsTheReduction() {
        QFETCH(bool, labelPrinter);
        QFETCH(bool, discounted);
        LabelRow r = row(1);
        r.price = 55.93;
        r.discount = 0;
        r.reduction = expected;
        LabelOptions o;
        o.labelPrinter = labelPrinter;
        o.discountedPrice = discounted;
        LabelLayout layout;
        layout.rows = 2;
        layout.columns = 2;
        LabelPrintout printout({r}, o, layout);
        RecordingCanvas canvas;
        printout.draw(canvas);
        QCOMPARE(canvas.textsContaining(expected).size(), 1);
        QCOMPARE(canvas.textsContaining(QStringLiteral("55,93")).size(), 2);
        // Without the price nothing of it prints.
        o.printPrice = false;
        LabelPrintout bare({r}, o, layout);
        RecordingCanvas none;
        bare.draw(none);
        QVERIFY(none.textsContaining(QStringLiteral("Prezzo precedente")).isEmpty());
    }
};

QTEST_MAIN(TestCampaignLabels)
#include "tst_campaignlabels.moc"

// The counter sale, the invoice and the sale printout during a campaign: the
// price of the document's day, the campaign's percentage in place of the
// article's own discount, and the reduction against the 30-day lowest price.

#include "tst_banco_data.h"

#include "catalogue/CampaignBook.h"
#include "catalogue/PriceHistory.h"
#include "documents/CodeLine.h"
#include "documents/DocumentKind.h"
#include "documents/LineSheet.h"
#include "printing/RecordingCanvas.h"
#include "register/EpsonRtXml.h"
#include "sales/CounterSale.h"
#include "sales/SaleColumns.h"
#include "sales/SalePayment.h"
#include "sales/SalePrintout.h"

#include <QTest>

using namespace corvale;

namespace {

// Fixture day 15/03/2026: STIVALE CUOIO (59,90 less its own 5 %) at 30 % off
// from that day to 20/03; SANDALO at a fixed 39,00 from 21/03.
void addCampaigns(ShopFixture &f) {
    PriceHistory(f.db()).record(1, QDate(2026, 1, 10), 59.9, 0, PriceHistory::cardCause());
    PriceHistory(f.db()).record(1, QDate(2026, 3, 1), 59.9, 5, PriceHistory::cardCause());
    CampaignBook book(f.db());
    Campaign off;
    off.name = QStringLiteral("SALDI");
    off.first = QDate(2026, 3, 15);
    off.last = QDate(2026, 3, 20);
    off.selection = CampaignSelection::Articles;
    off.articles = {1};
    off.percent = 30;
    book.save(off);
    Campaign fixed = off;
    fixed.key = 0;
    fixed.name = QStringLiteral("PROMO");
    fixed.first = QDate(2026, 3, 21);
    fixed.last = QDate(2026, 3, 31);
    fixed.articles = {2};
    fixed.percent = 0;
    fixed.fixedPrice = Money::of(39);
    book.save(fixed);
}

QPair<double, double> priceAndDiscount(const SheetRow &row) {
    return {row.number(sheet::PREZZO), row.number(sheet::SCONTO)};
}

using PriceDiscount = QPair<double, double>;

// Keeps what the sale tells a register.
class KeptDevice : public FiscalDevice {
public:
    bool isRunning() const override { return false; }
    bool report(Report) override { return false; }
    bool queryStatus() override { return false; }
    bool numbersDocuments() const override { return true; }

protected:
    bool transmit(const FiscalDocument &) override { return true; }
};

} // namespace

class TestSaleSeason : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void counterSaleTakesThePriceOfItsDay_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<PriceDiscount>("boot");
        QTest::addColumn<PriceDiscount>("sandal");
        QTest::newRow("first day")
            << QDate(2026, 3, 15) << PriceDiscount(59.9, 30) << PriceDiscount(59.9, 5);
        QTest::newRow("last day") << QDate(2026, 3, 20) << PriceDiscount(59.9, 30)
                                  << PriceDiscount(59.9, 5);
        QTest::newRow("the day after: own discount, next campaign")
            << QDate(2026, 3, 21) << PriceDiscount(59.9, 5) << PriceDiscount(39, 0);
        QTest::newRow("the day before")
            << QDate(2026, 3, 14) << PriceDiscount(59.9, 5) << PriceDiscount(59.9, 5);
    }
    void counterSaleTakesThePriceOfItsDay() {
        QFETCH(QDate, day);
        QFETCH(PriceDiscount, boot);
        QFETCH(PriceDiscount, sandal);
        ShopFixture f;
        addSaleData(f);
        addCampaigns(f);
        CounterSale sale(*f.shop);
        QVERIFY(sale.begin(0));
        sale.header().setDate(doc::DATADOC, day);
        // A scanned line barcode, then an article chosen in the size panel.
        QCOMPARE(sale.enterCode(saleCode(1, 1, 2)).kind, SaleCodeLookup::Result::Kind::Line);
        QVERIFY(sale.chooseByKey(1));
        QVERIFY(sale.chooseSize(0, 1));
        const QList<SheetRow> lines = sale.lines();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(priceAndDiscount(lines.at(0)), sandal);
        QCOMPARE(priceAndDiscount(lines.at(1)), boot);
        sale.cancel();
    }

    void printoutShowsTheReductionAgainstThePreviousPrice() {
        ShopFixture f;
        addSaleData(f);
        addCampaigns(f);
        CounterSale sale(*f.shop);
        QVERIFY(sale.begin(0));
        QCOMPARE(sale.enterCode(saleCode(1, 1)).kind, SaleCodeLookup::Result::Kind::Line);
        QCOMPARE(sale.enterCode(saleCode(1, 2, 2)).kind, SaleCodeLookup::Result::Kind::Line);
        QList<SheetRow> lines = sale.lines();
        // 59,90 until its own 5 % came on 01/03: the lowest of the 30 days is 56,91.
        const QStringList reductions =
            SalePrintout::reductionsOf(f.db(), lines, QDate(2026, 3, 15));
        QCOMPARE(reductions,
                 (QStringList{QStringLiteral("Prezzo precedente € 56,91 −26%"), QString()}));
        // Printed under its own line, before the next one.
        SalePrintout printout;
        printout.rows = lines;
        printout.reductions = reductions;
        printout.total = 98.84;
        RecordingCanvas canvas;
        printout.draw(canvas);
        const auto said = canvas.textsContaining(QStringLiteral("Prezzo precedente"));
        QCOMPARE(said.size(), 1);
        QCOMPARE(said.first().text, reductions.first());
        const auto boot = canvas.textsContaining(QStringLiteral("STIVALE CUOIO"));
        const auto sandal = canvas.textsContaining(QStringLiteral("SANDALO"));
        QCOMPARE(boot.size(), 1);
        QCOMPARE(sandal.size(), 1);
        QVERIFY(boot.first().position.y() < said.first().position.y());
        QVERIFY(said.first().position.y() < sandal.first().position.y());
        QCOMPARE(canvas.textsContaining(QStringLiteral("41,93")).size(), 1);
        // A price agreed at the counter is not the campaign's: no reduction shown.
        lines[0].values[sheet::SCONTO] = 50.0;
        QCOMPARE(SalePrintout::reductionsOf(f.db(), lines, QDate(2026, 3, 15)).first(), QString());
        sale.cancel();
    }

    // Pieces of a campaign's article cost its announced price each, also when
    // the percentage leaves a fraction of a cent; the register gets the same.
    void campaignPiecesCostTheAnnouncedPrice_data() {
        QTest::addColumn<double>("list");
        QTest::addColumn<PriceDiscount>("line");
        QTest::addColumn<qint64>("amount"); // three pieces, cents
        QTest::addColumn<qint64>("reduction");
        QTest::newRow("exact") << 79.9 << PriceDiscount(79.9, 30) << qint64(16779) << qint64(7191);
        QTest::newRow("a fraction of a cent")
            << 99.99 << PriceDiscount(69.99, 0) << qint64(20997) << qint64(9000);
    }
    void campaignPiecesCostTheAnnouncedPrice() {
        QFETCH(double, list);
        QFETCH(PriceDiscount, line);
        QFETCH(qint64, amount);
        QFETCH(qint64, reduction);
        ShopFixture f;
        addSaleData(f);
        setListPrice(f, 2, list, 0.0);
        PriceHistory(f.db()).record(2, QDate(2026, 1, 10), list, 0, PriceHistory::cardCause());
        Campaign c;
        c.name = QStringLiteral("SALDI");
        c.first = QDate(2026, 3, 1);
        c.last = QDate(2026, 3, 14);
        c.selection = CampaignSelection::Articles;
        c.articles = {2};
        c.percent = 30;
        CampaignBook(f.db()).save(c);

        CounterSale sale(*f.shop);
        QVERIFY(sale.begin(0));
        sale.header().setDate(doc::DATADOC, QDate(2026, 3, 10));
        QCOMPARE(sale.enterCode(saleCode(1, 1, 2)).kind, SaleCodeLookup::Result::Kind::Line);
        db::Table &sheet = sale.sheet().table();
        sheet.first();
        sheet.edit();
        sheet.setFloat(sheet::QUANTITA, 3);
        sheet.post();
        const QList<SheetRow> lines = sale.lines();
        QCOMPARE(lines.size(), 1);
        QCOMPARE(priceAndDiscount(lines.first()), line);
        QCOMPARE(Money::of(lines.first().amount.toDouble()).cents(), amount);
        QCOMPARE(sale.totals(0).net, amount / 100.0);

        KeptDevice device;
        device.begin();
        sale.describe(device, 0, SalePayment{{{PaymentType::Cash, Money::fromCents(amount)}}, {}});
        const RtFiguresResult r =
            rtFigures(device.document(), [](double) { return std::optional<int>(1); });
        QVERIFY(r.figures);
        QCOMPARE(r.figures->lines.size(), 1);
        QCOMPARE(r.figures->lines.first().unitPrice, Money::of(list));
        QCOMPARE(r.figures->lines.first().discount.cents(), reduction);
        QCOMPARE(r.figures->lines.first().adjustment, QStringLiteral("SALDI -30%"));
        QVERIFY(r.figures->subtotalDiscount.isZero());
        sale.cancel();
    }

    void invoiceLinesTakeThePriceOfTheInvoiceDay() {
        ShopFixture f;
        addSaleData(f);
        addCampaigns(f);
        QDate day(2026, 3, 25);
        LineSheet sheet(f.db(), DocumentKind::invoice());
        sheet.setPriceDay([&] { return day; });
        sheet.open();
        sheet.appendBlankRows(3);
        sheet.table().first();
        QCOMPARE(takeCodeLine(f.db(), sheet, saleCode(1, 1, 2), nullptr), std::nullopt);
        QCOMPARE(priceAndDiscount(sheet.allLines().first()), (PriceDiscount(39, 0)));
        sheet.close();
    }
};

QTEST_MAIN(TestSaleSeason)
#include "tst_saleseason.moc"

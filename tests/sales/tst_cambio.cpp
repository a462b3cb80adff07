// The same-day size exchange through the simulated telematic register: the
// return and the new sale quoting each other, stock, Prima nota, points and
// vouchers to the cent, a register failing between the two documents; and the
// gift receipt, the register's own or printed without prices.

#include "tst_banco_window.h"

#include "SaleRecords.h"

#include "RchRtServer.h"
#include "RtHttpServer.h"
#include "SimulatedEpsonRt.h"
#include "SimulatedRchRt.h"
#include "cashbook/PrimaNota.h"
#include "catalogue/TableGrid.h"
#include "common/ShopRt.h"
#include "printing/PrintService.h"
#include "printing/RecordingCanvas.h"
#include "register/NetworkFiscalDevice.h"
#include "register/RegisterSettings.h"
#include "sales/GiftReceiptPrintout.h"
#include "sales/SaleCheckout.h"
#include "sales/SaleCustomer.h"
#include "sales/SaleExchange.h"
#include "sales/SaleGift.h"
#include "sales/TFArcVen.h"
#include "sales/TFCambio.h"
#include "sales/VoucherStore.h"
#include "widgets/TableModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using namespace corvale;
using testing::click;
using testing::col;
using testing::customerPoints;
using testing::primaNotaIn;
using testing::refundTotal;

namespace {

// Both registers wait three seconds for an answer; the RCH one is in its
// first closure.
struct EpsonRig : testing::ShopRt<sim::SimulatedEpsonRt> {
    void configure(ShopFixture &f) { ShopRt::configure(f, 3000); }
    // The paper runs out once, just after the exchange's return.
    void paperOutAfterTheReturn(SaleExchange &x) {
        QObject::connect(&x, &SaleExchange::stageChanged, &x,
                         [this, done = false](SaleExchange::Stage stage) mutable {
                             if (stage == SaleExchange::Stage::SendingSale &&
                                 !std::exchange(done, true))
                                 rt.failReceipts(sim::SimulatedEpsonRt::Fault::PaperOut);
                         });
    }
};
struct RchRig : testing::ShopRt<sim::SimulatedRchRt, sim::RchRtServer> {
    RchRig()
        : ShopRt(testing::shopRtTime, std::nullopt) {}
    void configure(ShopFixture &f) { ShopRt::configure(f, 3000); }
};

void setArticle(ShopFixture &f, qint64 key, double price, double discount) {
    db::Table t(f.db());
    t.setTableName(QStringLiteral("ARTICOLI"));
    t.open();
    for (t.first(); !t.eof(); t.next())
        if (t.asInteger(QStringLiteral("NUMREG")) == key) {
            t.edit();
            t.setFloat(QStringLiteral("PREZZOVND"), price);
            t.setFloat(QStringLiteral("SCONTO"), discount);
            t.post();
        }
}

// The shop: "STIVALE CUOIO" (article 1) at 60,00 and "SANDALO" (article 2)
// at 40,00, no discounts; SANDALO ROSSO has one piece in each of the first
// three sizes. Sale 50 of today sold one STIVALE ROSSO 38 (size position 1)
// for 60,00 cash to customer 1, receipt n. 7 of closure 11.
void exchangeShop(ShopFixture &f, QDate saleDay = QDate(2026, 3, 15)) {
    addSaleData(f);
    setArticle(f, 1, 60, 0);
    setArticle(f, 2, 40, 0);
    f.add(QStringLiteral("ARCARTTG"), {{QStringLiteral("ARTCODE"), 2},
                                       {QStringLiteral("COLORE"), QStringLiteral("ROSSO")},
                                       {QStringLiteral("TG1"), 1},
                                       {QStringLiteral("TG2"), 1},
                                       {QStringLiteral("TG3"), 1}});
    f.add(QStringLiteral("VENDITE"), {{QStringLiteral("NUMREG"), 50},
                                      {QStringLiteral("NUMDOC"), 50},
                                      {QStringLiteral("DATADOC"), saleDay},
                                      {QStringLiteral("MYDATA"), saleDay.toString("yyyyMMdd")},
                                      {QStringLiteral("TOTALE"), 60.0},
                                      {QStringLiteral("TIPO"), true},
                                      {QStringLiteral("NUMCLI"), 1},
                                      {QStringLiteral("CLIENTE"), QStringLiteral("BIANCHI")},
                                      {QStringLiteral("PAGCONT"), 60.0},
                                      {QStringLiteral("RTNUMERO"), 7},
                                      {QStringLiteral("RTCHIUSURA"), 11},
                                      {QStringLiteral("RTDATA"), saleDay},
                                      {QStringLiteral("RTORA"), QStringLiteral("09:15:00")},
                                      {QStringLiteral("RTMATRIC"), QStringLiteral("99MEX000001")}});
    f.add(QStringLiteral("ARCART_V"),
          {{QStringLiteral("NUMVEN"), 50},
           {QStringLiteral("NUMART"), 1},
           {QStringLiteral("BARCODE"), saleCode(1, 1)},
           {QStringLiteral("DESCRIZION"), QStringLiteral("STIVALE CUOIO")},
           {QStringLiteral("COLORE"), QStringLiteral("ROSSO")},
           {QStringLiteral("TAGLIA"), 1},
           {QStringLiteral("CTAGLIA"), QStringLiteral("38")},
           {QStringLiteral("QUANTITA"), 1.0},
           {QStringLiteral("PREZZO"), 60.0},
           {QStringLiteral("SCONTO"), 0.0},
           {QStringLiteral("IVA"), 22.0},
           {QStringLiteral("TIPO"), true}});
    f.shop->routines().SetCounter(QStringLiteral("VENDITE"), 50);
}

QList<SheetRow> rowsOf(SaleExchange &x, const QStringList &codes) {
    QList<SheetRow> out;
    for (const QString &c : codes) {
        const auto found = x.lookup(c);
        if (found.row)
            out << *found.row;
    }
    return out;
}

// Runs the exchange of piece 0 of sale 50 for `codes` to its end.
bool exchangeThrough(ShopFixture &f, SaleExchange &x, const QStringList &codes, PaymentType mode,
                     const QString &voucher = {}) {
    QString reason;
    const auto quoted = x.quote(50, &reason);
    if (!quoted)
        return false;
    const auto plan = x.plan(50, {{0, 1}}, rowsOf(x, codes), mode, &reason);
    if (!plan)
        return false;
    QSignalSpy finished(&x, &SaleExchange::finished);
    if (!x.start(50, *quoted, *plan, voucher))
        return false;
    if (!finished.wait(10000))
        return false;
    Q_UNUSED(f);
    return finished.at(0).at(0).toBool();
}

} // namespace

Q_DECLARE_METATYPE(PaymentType)

class TestCambio : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Equal, higher and lower prices settled each way: the two documents'
    // tenders, the stored payment split, the books, the stock and the points.
    void exchangeSettlesTheDifference_data() {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<PaymentType>("mode");
        QTest::addColumn<QStringList>("returnParts"); // PAGCONT, PAGELETT, PAGBUONO
        QTest::addColumn<QStringList>("saleParts");
        QTest::addColumn<QString>("saleTotal");
        QTest::addColumn<QString>("cashBook"); // the month's takings
        QTest::addColumn<QString>("bankBook");
        QTest::addColumn<QString>("voucherIssued"); // empty: none

        QTest::newRow("equal: another size, nothing to settle")
            << QStringList{saleCode(1, 5)} << PaymentType::Cash << QStringList{"-60", "0", "0"}
            << QStringList{"60", "0", "0"} << "60"
            << "60.00"
            << "0.00" << QString();
        QTest::newRow("higher: the difference paid by card")
            << QStringList{saleCode(1, 5), saleCode(1, 1, 2)} << PaymentType::Card
            << QStringList{"-60", "0", "0"} << QStringList{"60", "40", "0"} << "100"
            << "60.00"
            << "40.00" << QString();
        QTest::newRow("higher: the difference paid in cash")
            << QStringList{saleCode(1, 5), saleCode(1, 1, 2)} << PaymentType::Cash
            << QStringList{"-60", "0", "0"} << QStringList{"100", "0", "0"} << "100"
            << "100.00"
            << "0.00" << QString();
        QTest::newRow("lower: the difference back in cash")
            << QStringList{saleCode(1, 2, 2)} << PaymentType::Cash << QStringList{"-60", "0", "0"}
            << QStringList{"40", "0", "0"} << "40"
            << "40.00"
            << "0.00" << QString();
        QTest::newRow("lower: the difference back on the card")
            << QStringList{saleCode(1, 2, 2)} << PaymentType::Card << QStringList{"-40", "-20", "0"}
            << QStringList{"40", "0", "0"} << "40"
            << "60.00"
            << "-20.00" << QString();
        QTest::newRow("lower: the difference as a voucher")
            << QStringList{saleCode(1, 2, 2)} << PaymentType::Voucher
            << QStringList{"-40", "0", "-20"} << QStringList{"40", "0", "0"} << "40"
            << "60.00"
            << "0.00"
            << "20.00";
    }
    void exchangeSettlesTheDifference() {
        QFETCH(QStringList, codes);
        QFETCH(PaymentType, mode);
        QFETCH(QStringList, returnParts);
        QFETCH(QStringList, saleParts);
        QFETCH(QString, saleTotal);
        QFETCH(QString, cashBook);
        QFETCH(QString, bankBook);
        QFETCH(QString, voucherIssued);
        EpsonRig rig;
        ShopFixture f;
        exchangeShop(f);
        rig.configure(f);
        const qint64 pointsBefore = customerPoints(f);
        const double sandaloBefore = stockCell(f, 2, QStringLiteral("ROSSO"), 2);

        SaleExchange x(*f.shop);
        QVERIFY(exchangeThrough(f, x, codes, mode));
        QCOMPARE(x.stage(), SaleExchange::Stage::Done);

        // The return, then the sale, each holding the other's key.
        QCOMPARE(col(f, "VENDITE", "NUMREG"), (QStringList{"50", "51", "52"}));
        QCOMPARE(col(f, "VENDITE", "TOTALE"), (QStringList{"60", "-60", saleTotal}));
        QCOMPARE(col(f, "VENDITE", "RIFVEN"), (QStringList{"", "50", ""}));
        QCOMPARE(col(f, "VENDITE", "RIFCAMBIO"), (QStringList{"", "52", "51"}));
        QCOMPARE(col(f, "VENDITE", "RTNUMERO"), (QStringList{"7", "1", "2"}));
        QCOMPARE(col(f, "VENDITE", "NUMCLI"), (QStringList{"1", "1", "1"}));
        QCOMPARE(x.returnKey(), 51);
        QCOMPARE(x.saleKey(), 52);
        const QStringList parts{"PAGCONT", "PAGELETT", "PAGBUONO"};
        for (int i = 0; i < 3; ++i) {
            const QStringList column = col(f, "VENDITE", parts[i].toLatin1().constData());
            QCOMPARE(column.at(1), returnParts.at(i));
            QCOMPARE(column.at(2), saleParts.at(i));
        }

        // The register printed the return quoting the sale, then the sale.
        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed.at(0).kind, sim::SimulatedEpsonRt::Document::Kind::Return);
        QCOMPARE(printed.at(0).lines().first(),
                 QStringLiteral("printRecMessage operator=1 messageType=4 message=REFUND 0011 "
                                "0007 15032026 99MEX000001"));
        QCOMPARE(printed.at(1).kind, sim::SimulatedEpsonRt::Document::Kind::Sale);
        QCOMPARE(printed.at(0).total, Money::of(60));
        QCOMPARE(printed.at(1).total, Money::of(saleTotal.toDouble()));

        // Stock: the boot back in, the new pieces out.
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 3.0);
        const bool sameArticle = codes.contains(saleCode(1, 5));
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), sameArticle ? 2.0 : 3.0);
        const bool sandalo = codes.contains(saleCode(1, 2, 2));
        QCOMPARE(stockCell(f, 2, QStringLiteral("ROSSO"), 2), sandaloBefore - (sandalo ? 1 : 0));

        // The books and the points count both documents: only the difference.
        const BookAmounts in = primaNotaIn(f);
        QCOMPARE(QString::number(in[int(cashbook::Book::Cash)], 'f', 2), cashBook);
        QCOMPARE(QString::number(in[int(cashbook::Book::Bank)], 'f', 2), bankBook);
        QCOMPARE(customerPoints(f) - pointsBefore, qint64(saleTotal.toDouble() - 60));

        QCOMPARE(x.issuedVoucher().has_value(), !voucherIssued.isEmpty());
        if (x.issuedVoucher()) {
            QCOMPARE(QString::number(x.issuedVoucher()->amount.toDouble(), 'f', 2), voucherIssued);
            QCOMPARE(x.issuedVoucher()->originSale, 51);
        }
        // The boot cannot go back a second time.
        QString reason;
        QVERIFY(!x.quote(50, &reason));
        QCOMPARE(reason, SaleVoid::allReturnedText);
        QVERIFY(f.prompter.done());
    }

    // On an RCH register: the return quotes the sale in its own command,
    // the sale pays the common part in cash and the difference by card.
    void exchangeOnAnRchRegister() {
        RchRig rig;
        ShopFixture f;
        exchangeShop(f);
        rig.configure(f);
        SaleExchange x(*f.shop);
        QVERIFY(exchangeThrough(f, x, {saleCode(1, 5), saleCode(1, 1, 2)}, PaymentType::Card));
        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed.at(0).kind, sim::SimulatedRchRt::Document::Kind::Return);
        QCOMPARE(printed.at(0).quoted, QByteArray("150326/0011/0007"));
        QCOMPARE(printed.at(0).commands,
                 (QList<QByteArray>{"=r/&150326/0011/0007", "=R1/$6000/(STIVALE CUOIO)", "=S",
                                    "=T1/$6000", "=c"}));
        QCOMPARE(printed.at(1).commands,
                 (QList<QByteArray>{"=R1/$6000/(STIVALE CUOIO)", "=R1/$4000/(SANDALO)", "=S",
                                    "=T1/$6000", "=T3/$4000", "=c"}));
        QCOMPARE(col(f, "VENDITE", "RTNUMERO"), (QStringList{"7", "1", "2"}));
        QCOMPARE(col(f, "VENDITE", "RIFCAMBIO"), (QStringList{"", "52", "51"}));
        QVERIFY(f.prompter.done());
    }

    // A difference paid with the customer's voucher: taken from it only
    // when the sale is issued, never twice.
    void differencePaidWithAVoucher() {
        EpsonRig rig;
        ShopFixture f;
        exchangeShop(f);
        rig.configure(f);
        VoucherStore store(f.db());
        const Voucher small = store.issue(Money::of(10), 0, QDate(2026, 3, 1), QTime());
        const Voucher v = store.issue(Money::of(100), 0, QDate(2026, 3, 1), QTime());
        SaleExchange x(*f.shop);
        // A voucher that does not cover the difference stops the exchange
        // before the register is asked.
        f.prompter.expectError(VoucherStore::shortText.arg(small.number).arg("10,00"));
        QVERIFY(!exchangeThrough(f, x, {saleCode(1, 5), saleCode(1, 1, 2)}, PaymentType::Voucher,
                                 small.barcode));
        QVERIFY(rig.rt.receipts().isEmpty());
        QCOMPARE(x.stage(), SaleExchange::Stage::Idle);
        QVERIFY(exchangeThrough(f, x, {saleCode(1, 5), saleCode(1, 1, 2)}, PaymentType::Voucher,
                                v.barcode));
        QCOMPARE(col(f, "VENDITE", "PAGCONT").last(), QStringLiteral("60"));
        QCOMPARE(col(f, "VENDITE", "PAGBUONO").last(), QStringLiteral("40"));
        QCOMPARE(rig.rt.receipts().at(1).lines().mid(rig.rt.receipts().at(1).lines().size() - 3, 2),
                 (QStringList{refundTotal("CONTANTI", "60,00", 0, 0),
                              refundTotal("BUONO", "40,00", 3, 1)}));
        QCOMPARE(store.find(v.number)->residual, Money::of(60));
        QCOMPARE(store.history(v.number).last().sale, 52);
        QCOMPARE(store.find(small.number)->residual, Money::of(10));
        QVERIFY(f.prompter.done());
    }

    // The register refuses the sale after printing the return: the return
    // is stored alone and the operator told; "Riprova" completes the
    // exchange, "Rinuncia" leaves the return standing, the voucher's part
    // given back.
    void registerFailsBetweenTheDocuments_data() {
        QTest::addColumn<bool>("retry");
        QTest::newRow("sent again") << true;
        QTest::newRow("given up") << false;
    }
    void registerFailsBetweenTheDocuments() {
        QFETCH(bool, retry);
        EpsonRig rig;
        ShopFixture f;
        exchangeShop(f);
        rig.configure(f);
        VoucherStore store(f.db());
        const Voucher v = store.issue(Money::of(100), 0, QDate(2026, 3, 1), QTime());
        SaleExchange x(*f.shop);
        rig.paperOutAfterTheReturn(x);
        QString reason;
        const auto quoted = x.quote(50, &reason);
        QVERIFY(quoted);
        const auto plan = x.plan(50, {{0, 1}}, rowsOf(x, {saleCode(1, 5), saleCode(1, 1, 2)}),
                                 PaymentType::Voucher, &reason);
        QVERIFY(plan);
        f.prompter
            .expectError(NetworkFiscalDevice::refusalText(sim::SimulatedEpsonRt::paperOutCode))
            .expectError(SaleExchange::pendingText.arg(1));
        QSignalSpy stages(&x, &SaleExchange::stageChanged);
        QVERIFY(x.start(50, *quoted, *plan, QString::number(v.number)));
        QVERIFY(
            QTest::qWaitFor([&] { return x.stage() == SaleExchange::Stage::SalePending; }, 10000));
        // Half-way: the return is stored and its piece back in stock, the
        // new pieces are still on the shelf and the voucher's part held.
        QCOMPARE(col(f, "VENDITE", "TOTALE"), (QStringList{"60", "-60"}));
        QCOMPARE(col(f, "VENDITE", "RIFCAMBIO"), (QStringList{"", ""}));
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 3.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 3.0);
        QCOMPARE(store.find(v.number)->residual, Money::of(60));
        QCOMPARE(rig.rt.receipts().size(), 1);
        QVERIFY(!x.isRunning());

        if (retry) {
            QSignalSpy finished(&x, &SaleExchange::finished);
            QVERIFY(x.retry());
            QVERIFY(finished.wait(10000));
            QVERIFY(finished.at(0).at(0).toBool());
            QCOMPARE(col(f, "VENDITE", "RIFCAMBIO"), (QStringList{"", "52", "51"}));
            QCOMPARE(col(f, "VENDITE", "RTNUMERO"), (QStringList{"7", "1", "2"}));
            QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 2.0);
            QCOMPARE(store.find(v.number)->residual, Money::of(60));
            QCOMPARE(rig.rt.receipts().size(), 2);
        } else {
            f.prompter.expectInformation(SaleExchange::abandonedText.arg(1).arg(
                QChar(0x20AC) + QStringLiteral(" 60,00 in contanti")));
            QSignalSpy finished(&x, &SaleExchange::finished);
            x.abandon();
            QCOMPARE(finished.size(), 1);
            QVERIFY(!finished.at(0).at(0).toBool());
            QCOMPARE(x.stage(), SaleExchange::Stage::Idle);
            // The return stands as an ordinary one; the books see it alone.
            QCOMPARE(col(f, "VENDITE", "TOTALE"), (QStringList{"60", "-60"}));
            QCOMPARE(store.find(v.number)->residual, Money::of(100));
            const BookAmounts in = primaNotaIn(f);
            QCOMPARE(Money::of(in[int(cashbook::Book::Cash)]), Money());
            QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 3.0);
        }
        QVERIFY(f.prompter.done());
    }

    // A return the register refuses leaves nothing behind.
    void registerRefusesTheReturn() {
        EpsonRig rig;
        ShopFixture f;
        exchangeShop(f);
        rig.configure(f);
        rig.rt.failReceipts(sim::SimulatedEpsonRt::Fault::PaperOut);
        SaleExchange x(*f.shop);
        f.prompter.expectError(
            NetworkFiscalDevice::refusalText(sim::SimulatedEpsonRt::paperOutCode));
        QVERIFY(!exchangeThrough(f, x, {saleCode(1, 5)}, PaymentType::Cash));
        QCOMPARE(x.stage(), SaleExchange::Stage::Idle);
        QCOMPARE(col(f, "VENDITE", "TOTALE"), QStringList{"60"});
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 2.0);
        QVERIFY(rig.rt.receipts().isEmpty());
        // Paper in: the same exchange goes through.
        QVERIFY(exchangeThrough(f, x, {saleCode(1, 5)}, PaymentType::Cash));
        QVERIFY(f.prompter.done());
    }

    // Refused with the reason before the register is asked.
    void refusals() {
        ShopFixture f;
        exchangeShop(f, QDate(2026, 3, 14));
        SaleExchange x(*f.shop);
        QString reason;
        QVERIFY(!x.quote(50, &reason));
        QCOMPARE(reason, SaleExchange::sameDayText.arg(QStringLiteral("14/03/2026")));
        QVERIFY(!x.quote(99, &reason));
        QCOMPARE(reason, SaleVoid::noDocumentReturnText);
        QVERIFY(!x.plan(50, {{0, 1}}, {}, PaymentType::Cash, &reason));
        QCOMPARE(reason, SaleExchange::noReplacementText);
        QVERIFY(!x.plan(50, {}, rowsOf(x, {saleCode(1, 5)}), PaymentType::Cash, &reason));
        QCOMPARE(reason, SaleVoid::nothingChosenText);
        // Codes: a whole line, an article still to size, nothing.
        QVERIFY(x.lookup(saleCode(1, 5)).row);
        QCOMPARE(x.lookup(saleCode(1, 5)).row->text(sheet::CTAGLIA), QStringLiteral("42"));
        QCOMPARE(x.lookup(saleCode(1, 5)).row->number(sheet::PREZZO), 60.0);
        QVERIFY(!x.lookup(QStringLiteral("EXTRA1")).row);
        QCOMPARE(x.lookup(QStringLiteral("EXTRA1")).article, 1);
        QCOMPARE(x.lookup(QStringLiteral("NOTHING")).article, 0);
        // Without a telematic register nothing can quote the sale.
        const auto plan =
            x.plan(50, {{0, 1}}, rowsOf(x, {saleCode(1, 5)}), PaymentType::Cash, &reason);
        QVERIFY(plan);
        f.prompter.expectError(SaleExchange::notTelematicText);
        QVERIFY(!x.start(50, FiscalDocumentRef{7, 11, testing::shopRtTime, {}}, *plan));
        QVERIFY(f.prompter.done());
    }

    // The tenders of the two documents, worked out to the cent.
    void tendersOfTheTwoDocuments_data() {
        QTest::addColumn<QString>("back");
        QTest::addColumn<QString>("sale");
        QTest::addColumn<PaymentType>("mode");
        QTest::addColumn<QString>("returnTenders");
        QTest::addColumn<QString>("saleTenders");
        QTest::newRow("equal") << "59.99"
                               << "59.99" << PaymentType::Card << "C59.99"
                               << "C59.99";
        QTest::newRow("one cent more by card") << "59.99"
                                               << "60.00" << PaymentType::Card << "C59.99"
                                               << "C59.99 E0.01";
        QTest::newRow("one cent less as voucher")
            << "60.00"
            << "59.99" << PaymentType::Voucher << "C59.99 B0.01"
            << "C59.99";
        QTest::newRow("less in cash") << "100.00"
                                      << "30.50" << PaymentType::Cash << "C100.00"
                                      << "C30.50";
        QTest::newRow("more with a voucher") << "30.50"
                                             << "100.00" << PaymentType::Voucher << "C30.50"
                                             << "C30.50 B69.50";
    }
    void tendersOfTheTwoDocuments() {
        QFETCH(QString, back);
        QFETCH(QString, sale);
        QFETCH(PaymentType, mode);
        QFETCH(QString, returnTenders);
        QFETCH(QString, saleTenders);
        ExchangePlan p;
        p.back.refund = Money::of(back.toDouble());
        p.saleTotal = Money::of(sale.toDouble());
        p.settle(mode);
        auto text = [](const QList<Tender> &tenders) {
            QStringList out;
            for (const Tender &t : tenders)
                out << QStringLiteral("%1%2")
                           .arg(t.type == PaymentType::Cash   ? 'C'
                                : t.type == PaymentType::Card ? 'E'
                                                              : 'B')
                           .arg(t.amount.toDouble(), 0, 'f', 2);
            return out.join(u' ');
        };
        QCOMPARE(text(p.returnTenders), returnTenders);
        QCOMPARE(text(p.saleTenders), saleTenders);
        Money refunded, paid;
        for (const Tender &t : p.returnTenders)
            refunded += t.amount;
        for (const Tender &t : p.saleTenders)
            paid += t.amount;
        QCOMPARE(refunded, p.back.refund);
        QCOMPARE(paid, p.saleTotal);
    }

    // The printout without prices, read back as text.
    void giftPrintout() {
        ShopFixture f;
        exchangeShop(f);
        GiftReceiptPrintout p;
        // A shop without a VAT number prints no empty "P.IVA".
        QVERIFY(p.read(f.db(), 50));
        QVERIFY(p.vatLine.isEmpty());
        f.setConfig({{QStringLiteral("RAGIONE"), QStringLiteral("CALZATURE")},
                     {QStringLiteral("ADDRESS"), QStringLiteral("VIA ROMA 1")},
                     {QStringLiteral("CITTA"), QStringLiteral("PARMA")},
                     {QStringLiteral("PIVA"), QStringLiteral("01234567890")}});
        QVERIFY(!p.read(f.db(), 99));
        QVERIFY(p.read(f.db(), 50));
        RecordingCanvas canvas;
        p.draw(canvas);
        const QStringList texts = canvas.textsInReadingOrder(0, 20);
        const QStringList expected{
            "CALZATURE",
            "VIA ROMA 1 PARMA",
            "P.IVA 01234567890",
            GiftReceiptPrintout::title,
            "Vendita n. 50 del 15/03/2026",
            "Documento commerciale n. 7 chiusura n. 11 matricola 99MEX000001",
            "ARTICOLO",
            "DESCRIZIONE",
            "COLORE",
            "TAGLIA",
            "Q.TA'",
            saleCode(1, 1),
            "STIVALE CUOIO",
            "ROSSO",
            "38",
            "1",
            GiftReceiptPrintout::exchangeNote};
        QCOMPARE(texts, expected);
        // No price, anywhere.
        for (const QString &t : texts)
            QVERIFY2(!t.contains(QStringLiteral("60")), qPrintable(t));
    }

    // "Scontrino di cortesia" at the counter: the RCH register's own copy of
    // the receipt just issued; with an Epson one, the printout.
    void giftReceiptAtTheCounter_data() {
        QTest::addColumn<bool>("rch");
        QTest::newRow("RCH: the register's own") << true;
        QTest::newRow("Epson: printed") << false;
    }
    void giftReceiptAtTheCounter() {
        QFETCH(bool, rch);
        RchRig rchRig;
        EpsonRig epsonRig;
        ShopFixture f;
        addSaleData(f);
        if (rch)
            rchRig.configure(f);
        else
            epsonRig.configure(f);
        auto service = std::make_unique<RecordingPrintService>();
        RecordingPrintService &jobs = *service;
        f.shop->setPrintService(std::move(service));
        SaleOpener opener;
        TFBanco w(*f.shop);
        w.setOpener(&opener);
        showSale(w);
        scan(saleCode(1, 1));
        testing::child<QCheckBox>(w, "Cortesia")->setChecked(true);
        QSignalSpy gift(&w.gift(), &SaleGift::done);
        click(w, "Scontrino");
        QTRY_COMPARE_WITH_TIMEOUT(gift.size(), 1, 10000);
        QCOMPARE(gift.at(0).at(0).toBool(), rch);
        if (rch) {
            QCOMPARE(rchRig.rt.giftReceipts().size(), 1);
            QCOMPARE(rchRig.rt.giftReceipts().first().number, 1);
            QCOMPARE(rchRig.rt.commands().last(), QByteArray("=C453/$2"));
            QVERIFY(jobs.jobs().isEmpty());
        } else {
            QCOMPARE(jobs.jobs().size(), 1);
            QCOMPARE(jobs.jobs().first().title, SaleGift::printTitle);
            QVERIFY(jobs.jobs().first().canvas->findText(GiftReceiptPrintout::title));
            QVERIFY(jobs.jobs().first().canvas->findText(
                QStringLiteral("Documento commerciale n. 1 chiusura n. 12 matricola 99MEX000001")));
        }
        QVERIFY(f.prompter.done());
    }

    // The window after the register refused the new sale: only "Riprova"
    // and "Rinuncia" are left, and closing it leaves the return alone.
    void exchangeWindowAfterARefusal_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Riprova") << "Riprova";
        QTest::newRow("Rinuncia") << "Rinuncia";
        QTest::newRow("Chiudi") << "Chiudi";
    }
    void exchangeWindowAfterARefusal() {
        QFETCH(QString, button);
        EpsonRig rig;
        ShopFixture f;
        exchangeShop(f);
        rig.configure(f);
        SaleExchange x(*f.shop);
        rig.paperOutAfterTheReturn(x);
        QString reason;
        const auto quoted = x.quote(50, &reason);
        QVERIFY(quoted);
        TFCambio w(*f.shop, x, 50, *quoted, x.returnable(50));
        w.show();
        QVERIFY(!testing::child<QPushButton>(w, "Riprova")->isEnabled());
        testing::child<QDoubleSpinBox>(w, "DaRendere0")->setValue(1);
        auto *code = testing::child<QLineEdit>(w, "Codice");
        code->setText(saleCode(1, 5));
        QTest::keyClick(code, Qt::Key_Return);
        f.prompter
            .expectConfirm(QStringLiteral("Emettere sul registratore il reso di € 60,00 dello "
                                          "scontrino n. 7 e la vendita dei capi nuovi di € 60,00: "
                                          "nessuna differenza?"),
                           true)
            .expectError(NetworkFiscalDevice::refusalText(sim::SimulatedEpsonRt::paperOutCode))
            .expectError(SaleExchange::pendingText.arg(1));
        click(w, "Conferma");
        QTRY_COMPARE_WITH_TIMEOUT(x.stage(), SaleExchange::Stage::SalePending, 10000);
        QVERIFY(testing::child<QPushButton>(w, "Riprova")->isEnabled());
        QVERIFY(testing::child<QPushButton>(w, "Rinuncia")->isEnabled());
        QVERIFY(!testing::child<QPushButton>(w, "Conferma")->isEnabled());
        QVERIFY(!testing::child<QLineEdit>(w, "Codice")->isEnabled());
        if (button == QLatin1String("Riprova"))
            f.prompter.expectInformation(
                QStringLiteral("Cambio eseguito: reso (documento n. 1) e nuova vendita (documento "
                               "n. 2) registrati tra le vendite."));
        else
            f.prompter.expectInformation(SaleExchange::abandonedText.arg(1).arg(
                QChar(0x20AC) + QStringLiteral(" 60,00 in contanti")));
        click(w, button.toLatin1().constData());
        QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 10000);
        QCOMPARE(w.result(), button == QLatin1String("Riprova") ? int(QDialog::Accepted)
                                                                : int(QDialog::Rejected));
        QCOMPARE(col(f, "VENDITE", "TOTALE").size(), button == QLatin1String("Riprova") ? 3 : 2);
        QVERIFY(f.prompter.done());
    }

    // The sales archive: "Cambio" on a sale of today through the window's
    // controls, "Cortesia" printing a stored sale's copy.
    void exchangeWindow() {
        EpsonRig rig;
        ShopFixture f;
        exchangeShop(f);
        rig.configure(f);
        auto service = std::make_unique<RecordingPrintService>();
        RecordingPrintService &jobs = *service;
        f.shop->setPrintService(std::move(service));
        TFArcVen w(*f.shop);
        w.show();
        QCOMPARE(w.selectedKey(), 50);
        click(w, "Cortesia");
        QCOMPARE(jobs.jobs().size(), 1);
        QCOMPARE(jobs.jobs().first().title, SaleGift::printTitle);

        QSignalSpy finished(&w.exchange(), &SaleExchange::finished);
        bool checked = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<TFCambio *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(testing::child<QLabel>(*dialog, "Intestazione")->text(),
                     QStringLiteral("CAMBIO TAGLIA dello scontrino n. 7 (chiusura n. 11) del "
                                    "15/03/2026"));
            // Nothing chosen yet.
            f.prompter.expectError(SaleVoid::nothingChosenText);
            click(*dialog, "Conferma");
            testing::child<QDoubleSpinBox>(*dialog, "DaRendere0")->setValue(1);
            QCOMPARE(testing::child<QLabel>(*dialog, "Rende")->text(), QStringLiteral("60,00"));
            f.prompter.expectError(SaleExchange::noReplacementText);
            click(*dialog, "Conferma");
            // Another size of the same boot, from its stock.
            click(*dialog, "StessoArticolo");
            QVERIFY(dialog->sizePanel().isVisible());
            QTableWidget *grid = dialog->sizePanel().grid();
            QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("ROSSO"));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualItemRect(grid->item(0, 5)).center());
            QCOMPARE(dialog->newTable().rowCount(), 1);
            QCOMPARE(dialog->newTable().item(0, 2)->text(), QStringLiteral("42"));
            QCOMPARE(testing::child<QLabel>(*dialog, "Differenza")->text(),
                     QStringLiteral("Nessuna differenza"));
            // A scanned sandal on top: 40,00 to pay, by card.
            auto *code = testing::child<QLineEdit>(*dialog, "Codice");
            code->setText(saleCode(1, 3, 2));
            QTest::keyClick(code, Qt::Key_Return);
            QCOMPARE(dialog->newTable().rowCount(), 2);
            QCOMPARE(testing::child<QLabel>(*dialog, "Differenza")->text(),
                     QStringLiteral("Da pagare ") + QChar(0x20AC) + QStringLiteral(" 40,00"));
            // An unknown code is told.
            code->setText(QStringLiteral("ZZZ"));
            f.prompter.expectError(QStringLiteral("ZZZ\r") + TFCambio::notFoundText);
            QTest::keyClick(code, Qt::Key_Return);
            testing::child<QComboBox>(*dialog, "Modo")->setCurrentIndex(1);
            f.prompter.expectConfirm(
                QStringLiteral("Emettere sul registratore il reso di € 60,00 dello scontrino n. 7 "
                               "e la vendita dei capi nuovi di € 100,00: il cliente paga € 40,00 "
                               "(elettronico)?"),
                true);
            f.prompter.expectInformation(
                QStringLiteral("Cambio eseguito: reso (documento n. 1) e nuova vendita (documento "
                               "n. 2) registrati tra le vendite."));
            click(*dialog, "Conferma");
            checked = true;
        });
        click(w, "Cambio");
        QVERIFY(checked);
        QCOMPARE(finished.size(), 1);
        QVERIFY(finished.at(0).at(0).toBool());
        QCOMPARE(col(f, "VENDITE", "RIFCAMBIO"), (QStringList{"", "52", "51"}));
        QCOMPARE(col(f, "VENDITE", "PAGELETT"), (QStringList{"", "0", "40"}));
        // The archive tells the two halves of the exchange.
        TableModel &list = w.list().model();
        const int column = list.columnOf(QStringLiteral("cCambio"));
        QStringList halves;
        for (int row = 0; row < list.rowCount(); ++row)
            halves << list.data(list.index(row, column)).toString();
        halves.sort();
        QCOMPARE(halves, (QStringList{QString(), QStringLiteral("Reso del cambio"),
                                      QStringLiteral("Vendita del cambio")}));
        QCOMPARE(stockCell(f, 2, QStringLiteral("ROSSO"), 3), 0.0);
        // A return has no gift receipt.
        f.prompter.expectError(SaleGift::returnText);
        QVERIFY(!w.gift().print(51));
        QCOMPARE(jobs.jobs().size(), 1);
        // The exchanged boot cannot be exchanged again.
        f.prompter.expectError(SaleVoid::allReturnedText);
        click(w, "Cambio");
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestCambio)
#include "tst_cambio.moc"

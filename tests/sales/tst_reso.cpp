// Returns of stored sales through the simulated telematic register, the
// store-credit vouchers and a payment split among up to three tenders.

#include "tst_banco_window.h"

#include "SaleRecords.h"

#include "RtHttpServer.h"
#include "SimulatedEpsonRt.h"
#include "cashbook/PrimaNota.h"
#include "catalogue/VoucherCode.h"
#include "common/ShopRt.h"
#include "printing/PrintService.h"
#include "printing/RecordingCanvas.h"
#include "register/NetworkFiscalDevice.h"
#include "sales/SaleCheckout.h"
#include "sales/SaleCustomer.h"
#include "sales/SaleVoid.h"
#include "sales/TFArcVen.h"
#include "sales/TFBuoni.h"
#include "sales/TFResoBanco.h"
#include "sales/VoucherPrintout.h"
#include "sales/VoucherStore.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalSpy>
#include <QTimer>

using namespace corvale;
using testing::click;
using testing::col;
using testing::customerPoints;
using testing::primaNotaIn;
using testing::refundTotal;

namespace {

using RtRig = testing::ShopRt<sim::SimulatedEpsonRt>;

// The sale window's "Scontrino" with the payment chosen; waits for the save.
qint64 sellThroughWindow(ShopFixture &f, const QStringList &codes, int mode,
                         const QString &cardPart = {}, const QString &voucher = {},
                         const QString &customerCard = {}) {
    SaleOpener opener;
    TFBanco w(*f.shop);
    w.setOpener(&opener);
    showSale(w);
    if (!customerCard.isEmpty()) {
        testing::type(w, "Carta", customerCard);
        QTest::keyClick(testing::child<QLineEdit>(w, "Carta"), Qt::Key_Return);
        w.grid().setFocus();
    }
    for (const QString &code : codes)
        scan(code);
    testing::child<QComboBox>(w, "Pagamento")->setCurrentIndex(mode);
    testing::child<QLineEdit>(w, "ImportoElettronico")->setText(cardPart);
    testing::child<QLineEdit>(w, "Buono")->setText(voucher);
    QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
    click(w, "Scontrino");
    if (!ended.wait(10000))
        return 0;
    if (!QTest::qWaitFor([&] { return !w.isVisible(); }, 5000))
        return 0;
    return w.DocumentKey;
}

// A return through the register; the copy's key.
qint64 returnThrough(SaleVoid &op, qint64 key, const QList<ReturnPick> &picks, PaymentType refund) {
    QString reason;
    const auto quoted = op.quoteReturn(key, &reason);
    if (!quoted)
        return 0;
    const auto plan = op.planReturn(key, picks, &reason);
    if (!plan)
        return 0;
    QSignalSpy finished(&op, &SaleVoid::finished);
    if (!op.startReturn(key, *quoted, *plan, refund) || !finished.wait(10000))
        return 0;
    return finished.at(0).at(1).toLongLong();
}

// A sale stored as the register numbered it, with `lines` of article 1:
// (colour ROSSO, size position, quantity, price, line discount).
struct StoredLine {
    int position;
    double quantity;
    double price;
    double discount;
};
qint64 storeSale(ShopFixture &f, qint64 key, double total, const QList<StoredLine> &lines,
                 int rtNumber = 7) {
    QVariantMap h{{QStringLiteral("NUMREG"), key},
                  {QStringLiteral("NUMDOC"), key},
                  {QStringLiteral("DATADOC"), QDate(2026, 3, 15)},
                  {QStringLiteral("MYDATA"), QStringLiteral("20260315")},
                  {QStringLiteral("TOTALE"), total},
                  {QStringLiteral("TIPO"), true},
                  {QStringLiteral("PAGCONT"), total}};
    if (rtNumber > 0) {
        h.insert(QStringLiteral("RTNUMERO"), rtNumber);
        h.insert(QStringLiteral("RTCHIUSURA"), 11);
        h.insert(QStringLiteral("RTDATA"), QDate(2026, 3, 14));
        h.insert(QStringLiteral("RTORA"), QStringLiteral("17:05:00"));
        h.insert(QStringLiteral("RTMATRIC"), QStringLiteral("99MEX000001"));
    }
    f.add(QStringLiteral("VENDITE"), h);
    for (const StoredLine &l : lines)
        f.add(QStringLiteral("ARCART_V"),
              {{QStringLiteral("NUMVEN"), key},
               {QStringLiteral("NUMART"), 1},
               {QStringLiteral("DESCRIZION"), QStringLiteral("STIVALE CUOIO")},
               {QStringLiteral("COLORE"), QStringLiteral("ROSSO")},
               {QStringLiteral("TAGLIA"), l.position},
               {QStringLiteral("CTAGLIA"), QString::number(37 + l.position)},
               {QStringLiteral("QUANTITA"), l.quantity},
               {QStringLiteral("PREZZO"), l.price},
               {QStringLiteral("SCONTO"), l.discount},
               {QStringLiteral("IVA"), 22.0},
               {QStringLiteral("TIPO"), true}});
    return key;
}

QStringList receiptText(const QList<ReceiptLine> &lines) {
    QStringList out;
    for (const ReceiptLine &l : lines)
        out << QStringLiteral("%1 x %2 = %3")
                   .arg(l.quantity)
                   .arg(Money::of(l.price).toDouble(), 0, 'f', 2)
                   .arg(Money::of(l.amount).toDouble(), 0, 'f', 2);
    return out;
}

} // namespace

Q_DECLARE_METATYPE(QList<StoredLine>)
Q_DECLARE_METATYPE(QList<ReturnPick>)

class TestReso : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Part of a sale back, then the rest: stock, archive totals, Prima nota,
    // points and the register's documents quoting the sale; never the same
    // piece twice.
    void returnOfPartThenRest() {
        RtRig rig;
        ShopFixture f;
        addSaleData(f);
        rig.configure(f);
        const qint64 before = customerPoints(f);
        const qint64 key =
            sellThroughWindow(f, {saleCode(1, 1), saleCode(1, 5)}, 1, {}, {}, "CARD100");
        QVERIFY(key > 0);
        QCOMPARE(col(f, "VENDITE", "TOTALE"), QStringList{"113.81"});
        const qint64 afterSale = customerPoints(f);
        QVERIFY(afterSale > before);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 2.0);

        SaleVoid op(*f.shop);
        const QList<ReturnableLine> lines = op.returnable(key);
        QCOMPARE(lines.size(), 2);
        const int sizeFive = lines.at(0).row.number(sheet::TAGLIA) == 5 ? 0 : 1;
        const qint64 first = returnThrough(op, key, {{sizeFive, 1}}, PaymentType::Cash);
        QVERIFY(first > key);

        // The register's return quotes the sale's receipt.
        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed.at(1).kind, sim::SimulatedEpsonRt::Document::Kind::Return);
        QCOMPARE(printed.at(1).lines(),
                 (QStringList{QStringLiteral("printRecMessage operator=1 messageType=4 "
                                             "message=REFUND 0012 0001 15032026 99MEX000001"),
                              QStringLiteral("beginFiscalReceipt operator=1"),
                              QStringLiteral("printRecRefund operator=1 description=STIVALE "
                                             "CUOIO quantity=1 unitPrice=56,91 department=1 "
                                             "justification=1"),
                              refundTotal("CONTANTI", "56,91", 0, 0),
                              QStringLiteral("endFiscalReceipt operator=1")}));
        QCOMPARE(col(f, "VENDITE", "TOTALE"), (QStringList{"113.81", "-56.91"}));
        QCOMPARE(col(f, "VENDITE", "PAGCONT"), (QStringList{"0", "-56.91"}));
        QCOMPARE(col(f, "VENDITE", "RIFVEN"), (QStringList{"", QString::number(key)}));
        QCOMPARE(col(f, "VENDITE", "RTNUMERO"), (QStringList{"1", "2"}));
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 3.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 1.0);
        // The card went to the bank, the cash refund comes out of the till.
        BookAmounts in = primaNotaIn(f);
        QCOMPARE(Money::of(in[int(cashbook::Book::Bank)]), Money::of(113.81));
        QCOMPARE(Money::of(in[int(cashbook::Book::Cash)]), Money::of(-56.91));
        QVERIFY(customerPoints(f) < afterSale);

        // The same piece cannot go back twice; the sale can no longer be voided.
        QString reason;
        QVERIFY(!op.planReturn(key, {{sizeFive, 1}}, &reason));
        QCOMPARE(reason, SaleVoid::tooManyText.arg(QStringLiteral("STIVALE CUOIO"), "0"));
        QCOMPARE(op.returnable(key).at(sizeFive).returned, 1.0);
        QVERIFY(!op.quote(key, &reason));
        QCOMPARE(reason, SaleVoid::hasReturnsText);
        QVERIFY(!op.quote(first, &reason));
        QCOMPARE(reason, SaleVoid::isReturnText);
        QVERIFY(!op.quoteReturn(first, &reason));
        QCOMPARE(reason, SaleVoid::isReturnText);

        // The rest, refunded with a voucher: the two returns give back the
        // sale's total to the cent.
        const qint64 second = returnThrough(op, key, {{1 - sizeFive, 1}}, PaymentType::Voucher);
        QVERIFY(second > first);
        QCOMPARE(col(f, "VENDITE", "TOTALE"), (QStringList{"113.81", "-56.91", "-56.9"}));
        QCOMPARE(col(f, "VENDITE", "PAGBUONO"), (QStringList{"0", "0", "-56.9"}));
        QCOMPARE(rig.rt.receipts().at(2).lines().at(3), refundTotal("BUONO", "56,90", 3, 1));
        QVERIFY(op.issuedVoucher());
        QCOMPARE(op.issuedVoucher()->amount, Money::of(56.90));
        QCOMPARE(op.issuedVoucher()->originSale, second);
        QCOMPARE(op.issuedVoucher()->expiry, QDate(2027, 3, 15));
        // A voucher is no money of either book.
        in = primaNotaIn(f);
        QCOMPARE(Money::of(in[int(cashbook::Book::Cash)]), Money::of(-56.91));
        QCOMPARE(customerPoints(f), before);
        QVERIFY(!op.quoteReturn(key, &reason));
        QCOMPARE(reason, SaleVoid::allReturnedText);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 2.0);
        QVERIFY(f.prompter.done());
    }

    // A return or a void stored while a sale is being made at the counter
    // leaves that sale's lines alone.
    void copyLeavesTheOpenSaleAlone() {
        ShopFixture f;
        addSaleData(f);
        storeSale(f, 80, 20, {{1, 1, 20, 0}});
        storeSale(f, 81, 10, {{5, 1, 10, 0}});
        TFBanco w(*f.shop);
        showSale(w);
        scan(saleCode(1, 1));
        scan(saleCode(1, 5));
        QCOMPARE(w.sale().lines().size(), 2);
        SaleVoid op(*f.shop);
        FiscalDocumentRef done{9, 12, QDateTime(QDate(2026, 3, 15), QTime(11, 0)), "99MEX000001"};
        QString reason;
        const auto plan = op.planReturn(80, {{0, 1}}, &reason);
        QVERIFY(plan);
        QVERIFY(op.storeReturn(80, *plan, done, QDate(2026, 3, 15), PaymentType::Cash) > 0);
        QVERIFY(op.storeCopy(81, done, QDate(2026, 3, 15)) > 0);
        QCOMPARE(w.sale().lines().size(), 2);
        QCOMPARE(col(f, "VENDITE", "TOTALE"), (QStringList{"20", "10", "-20", "-10"}));
        QCOMPARE(col(f, "VENDITE", "PAGCONT"), (QStringList{"20", "10", "-20", "-10"}));
    }

    // From the sales archive: "Reso" and "Annullo" refunded with a voucher,
    // printed with its barcode and listed in "Buoni" with its history.
    void voucherRefundsFromTheArchive() {
        RtRig rig;
        ShopFixture f;
        addSaleData(f);
        rig.configure(f);
        storeSale(f, 90, 30, {{1, 1, 30, 0}});
        auto service = std::make_unique<RecordingPrintService>();
        RecordingPrintService &jobs = *service;
        f.shop->setPrintService(std::move(service));
        TFArcVen w(*f.shop);
        w.show();
        QCOMPARE(w.selectedKey(), 90);
        QSignalSpy finished(&w.saleVoid(), &SaleVoid::finished);
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<TFResoBanco *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            click(*dialog, "Tutto");
            testing::child<QComboBox>(*dialog, "Rimborso")->setCurrentIndex(2);
            f.prompter.expectConfirm(
                QStringLiteral("Emettere sul registratore il reso di € 30,00 (buono) dello "
                               "scontrino n. 7?"),
                true);
            click(*dialog, "Conferma");
        });
        w.BResoClick();
        f.prompter.expectInformation(QStringLiteral(
            "Reso emesso: è registrato tra le vendite.\rRimborso con il buono n. 1 di € 30,00: "
            "viene stampato."));
        QVERIFY(finished.wait(10000));
        QCOMPARE(jobs.jobs().size(), 1);
        QCOMPARE(jobs.jobs().at(0).title, QStringLiteral("Buono"));
        const RecordingCanvas &printed = *jobs.jobs().at(0).canvas;
        QVERIFY(printed.findText(QStringLiteral("BUONO N. 1")));
        QVERIFY(printed.findText(QStringLiteral("2990000000019")));
        QVERIFY(printed.findText(QStringLiteral("Valido fino al 15/03/2027")));

        TFBuoni list(*f.shop);
        list.show();
        QCOMPARE(list.list().rowCount(), 1);
        QCOMPARE(list.list().item(0, 5)->text(), QStringLiteral("30,00"));
        QCOMPARE(list.list().item(0, 6)->text(), QStringLiteral("Valido"));
        QCOMPARE(list.history().rowCount(), 1);
        QCOMPARE(list.history().item(0, 2)->text(), VoucherStore::issueCause);
        click(list, "Stampa");
        QCOMPARE(jobs.jobs().size(), 2);
        QVERIFY(f.prompter.done());
    }

    // What a return gives back and prints, each register line to the cent.
    void returnPlans_data() {
        QTest::addColumn<QList<StoredLine>>("lines");
        QTest::addColumn<double>("total");
        QTest::addColumn<QList<ReturnPick>>("picks");
        QTest::addColumn<QString>("refund");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("one of three, no discount")
            << QList<StoredLine>{{1, 3, 20, 0}} << 60.0 << QList<ReturnPick>{{0, 1}} << "20.00"
            << QStringList{"1 x 20.00 = 20.00"};
        QTest::newRow("two of three, uneven cents")
            << QList<StoredLine>{{1, 3, 10, 0}} << 29.99 << QList<ReturnPick>{{0, 2}} << "19.99"
            << QStringList{"1 x 9.99 = 9.99", "1 x 10.00 = 10.00"};
        QTest::newRow("all of three, uneven cents: the sale's total")
            << QList<StoredLine>{{1, 3, 10, 0}} << 29.99 << QList<ReturnPick>{{0, 3}} << "29.99"
            << QStringList{"2 x 9.99 = 19.98", "1 x 10.01 = 10.01"};
        QTest::newRow("line discount and sale discount")
            << QList<StoredLine>{{1, 1, 100, 10}, {5, 2, 50, 0}} << 171.0
            << QList<ReturnPick>{{0, 1}, {1, 1}} << "126.00"
            << QStringList{"1 x 81.00 = 81.00", "1 x 45.00 = 45.00"};
        QTest::newRow("nothing chosen") << QList<StoredLine>{{1, 1, 10, 0}} << 10.0
                                        << QList<ReturnPick>{{0, 0}} << QString() << QStringList{};
        QTest::newRow("more than sold") << QList<StoredLine>{{1, 2, 10, 0}} << 20.0
                                        << QList<ReturnPick>{{0, 3}} << QString() << QStringList{};
    }
    void returnPlans() {
        QFETCH(QList<StoredLine>, lines);
        QFETCH(double, total);
        QFETCH(QList<ReturnPick>, picks);
        QFETCH(QString, refund);
        QFETCH(QStringList, printed);
        ShopFixture f;
        addSaleData(f);
        storeSale(f, 50, total, lines);
        SaleVoid op(*f.shop);
        QString reason;
        const auto plan = op.planReturn(50, picks, &reason);
        if (refund.isEmpty()) {
            QVERIFY(!plan);
            QVERIFY(reason == SaleVoid::nothingChosenText || reason.startsWith("Di «STIVALE"));
            return;
        }
        QVERIFY(plan);
        QCOMPARE(QString::number(plan->refund.toDouble(), 'f', 2), refund);
        QCOMPARE(receiptText(plan->receiptLines), printed);
        Money sum;
        for (const ReceiptLine &l : plan->receiptLines)
            sum += Money::of(l.amount);
        QCOMPARE(sum, plan->refund);
    }

    // Refused with the reason, before anything reaches the register.
    void returnRefusals() {
        ShopFixture f;
        addSaleData(f);
        storeSale(f, 60, 10, {{1, 1, 10, 0}}, 0);
        storeSale(f, 61, 10, {{1, 1, 10, 0}});
        storeSale(f, 62, -10, {{1, -1, 10, 0}});
        {
            db::Table t(f.db());
            t.setTableName(QStringLiteral("VENDITE"));
            t.open();
            for (t.first(); !t.eof(); t.next()) {
                const qint64 k = t.asInteger(QStringLiteral("NUMREG"));
                if (k == 61 || k == 62) {
                    t.edit();
                    t.setInteger(QStringLiteral("RIFVEN"), k == 61 ? 62 : 61);
                    t.post();
                }
            }
        }
        SaleVoid op(*f.shop);
        QString reason;
        QVERIFY(!op.quoteReturn(60, &reason));
        QCOMPARE(reason, SaleVoid::noDocumentReturnText);
        QVERIFY(!op.quoteReturn(61, &reason));
        QCOMPARE(reason, SaleVoid::voidedReturnText);
        QVERIFY(!op.quoteReturn(62, &reason));
        QCOMPARE(reason, SaleVoid::isVoidReturnText);
        QVERIFY(!op.quote(62, &reason));
        QCOMPARE(reason, SaleVoid::isVoidText);
        QVERIFY(!op.quoteReturn(99, &reason));
        QCOMPARE(reason, SaleVoid::noDocumentReturnText);
    }

    // The "Reso" window: the pieces left, "Tutto", the refund and the register.
    void returnWindow() {
        RtRig rig;
        ShopFixture f;
        addSaleData(f);
        rig.configure(f);
        storeSale(f, 70, 45, {{1, 2, 20, 0}, {5, 1, 5, 0}}, 3);
        SaleVoid op(*f.shop);
        QVERIFY(returnThrough(op, 70, {{0, 1}}, PaymentType::Cash) > 0);
        QString reason;
        const auto quoted = op.quoteReturn(70, &reason);
        QVERIFY(quoted);
        TFResoBanco w(*f.shop, op, 70, *quoted, op.returnable(70));
        w.show();
        auto *first = testing::child<QDoubleSpinBox>(w, "DaRendere0");
        QCOMPARE(first->maximum(), 1.0);
        QCOMPARE(w.table().item(0, 4)->text(), QStringLiteral("1"));
        f.prompter.expectError(SaleVoid::nothingChosenText);
        click(w, "Conferma");
        click(w, "Tutto");
        QCOMPARE(testing::child<QLabel>(w, "Totale")->text(), QStringLiteral("25,00"));
        testing::child<QComboBox>(w, "Rimborso")->setCurrentIndex(1);
        f.prompter.expectConfirm(
            QStringLiteral("Emettere sul registratore il reso di € 25,00 (elettronico) dello "
                           "scontrino n. 3?"),
            true);
        QSignalSpy finished(&op, &SaleVoid::finished);
        click(w, "Conferma");
        QVERIFY(finished.wait(10000));
        QCOMPARE(col(f, "VENDITE", "PAGELETT").last(), QStringLiteral("-25"));
        QCOMPARE(col(f, "VENDITE", "ISBANCA").last(), QStringLiteral("True"));
        QVERIFY(!op.quoteReturn(70, &reason));
        QCOMPARE(reason, SaleVoid::allReturnedText);
        QVERIFY(f.prompter.done());
    }

    // A voucher's life in the store: issued, part-spent, given back, spent,
    // refused when spent or expired; the history keeps every step.
    void voucherLife_data() {
        QTest::addColumn<QStringList>("steps");   // "claim N", "back", "day yyyy-MM-dd"
        QTest::addColumn<QStringList>("results"); // residual after each, or the refusal
        const QString spent = VoucherStore::spentText.arg(1);
        QTest::newRow("part, rest")
            << QStringList{"claim 20", "claim 30"} << QStringList{"30.00", "0.00"};
        QTest::newRow("more than left")
            << QStringList{"claim 20", "claim 40"}
            << QStringList{"30.00", VoucherStore::shortText.arg(1).arg(QStringLiteral("30,00"))};
        QTest::newRow("spent twice")
            << QStringList{"claim 50", "claim 1"} << QStringList{"0.00", spent};
        QTest::newRow("given back, spent again")
            << QStringList{"claim 50", "back", "claim 50"} << QStringList{"0.00", "50.00", "0.00"};
        QTest::newRow("last day, then expired")
            << QStringList{"day 2027-03-15", "claim 10", "day 2027-03-16", "claim 10"}
            << QStringList{"50.00", "40.00", "40.00",
                           VoucherStore::expiredText.arg(1).arg(QStringLiteral("15/03/2027"))};
    }
    void voucherLife() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, results);
        ShopFixture f;
        VoucherStore store(f.db());
        const Voucher v = store.issue(Money::of(50), 9, QDate(2026, 3, 15), QTime(9, 0));
        QCOMPARE(v.number, 1);
        QCOMPARE(v.barcode, QStringLiteral("2990000000019"));
        QCOMPARE(store.find(v.barcode)->number, 1);
        QCOMPARE(store.find(QStringLiteral("1"))->residual, Money::of(50));
        QVERIFY(!store.find(QStringLiteral("2990000000018"))); // wrong check digit
        QDate day(2026, 3, 20);
        qint64 lastClaim = 0;
        int claims = 0, backs = 0;
        for (int i = 0; i < steps.size(); ++i) {
            const QString step = steps.at(i);
            QString outcome;
            if (step.startsWith("day")) {
                day = QDate::fromString(step.mid(4), Qt::ISODate);
            } else if (step == "back") {
                store.giveBack(lastClaim, day, QTime(12, 0));
                ++backs;
            } else {
                QString reason;
                const qint64 claim =
                    store.claim(1, Money::of(step.mid(6).toDouble()), day, QTime(11, 0), &reason);
                if (claim == 0)
                    outcome = reason;
                else {
                    lastClaim = claim;
                    ++claims;
                }
            }
            if (outcome.isEmpty())
                outcome = QString::number(store.find(qint64(1))->residual.toDouble(), 'f', 2);
            QCOMPARE(outcome, results.at(i));
        }
        const QList<VoucherMovement> history = store.history(1);
        QCOMPARE(history.size(), 1 + claims + backs);
        QCOMPARE(history.first().cause, VoucherStore::issueCause);
        QCOMPARE(history.first().sale, 9);
        Money sum;
        for (const VoucherMovement &m : history)
            sum += m.amount;
        QCOMPARE(sum, store.find(qint64(1))->residual);
    }

    // Codes of the vouchers' range: numbers and barcodes in, anything else out.
    void voucherCodes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("number"); // 0: none
        QTest::newRow("number") << "12" << qint64(12);
        QTest::newRow("barcode") << voucherCode::barcode(123456789) << qint64(123456789);
        QTest::newRow("spaces") << " 7 " << qint64(7);
        QTest::newRow("zero") << "0" << qint64(0);
        QTest::newRow("article's EAN") << "8001234567893" << qint64(0);
        QTest::newRow("wrong check") << "2990000000010" << qint64(0);
        QTest::newRow("letters") << "12A" << qint64(0);
        QTest::newRow("ten digits") << "1234567890" << qint64(0);
    }
    void voucherCodes() {
        QFETCH(QString, text);
        QFETCH(qint64, number);
        QCOMPARE(voucherCode::number(text).value_or(0), number);
        QVERIFY(voucherCode::isReserved(voucherCode::barcode(5)));
        QVERIFY(!voucherCode::isReserved(QStringLiteral("800001")));
        // The printed bars are the code's: guards and 95 modules.
        const auto modules = VoucherPrintout::ean13Modules(QStringLiteral("2990000000019"));
        QVERIFY(modules[0] && !modules[1] && modules[2]);
        QVERIFY(modules[46] && modules[48] && !modules[45] && !modules[47]);
        QVERIFY(modules[92] && !modules[93] && modules[94]);
    }

    // Three tenders: the voucher pays first, the card part as typed, the
    // change from the cash part only; each goes to the register with its
    // type and to the books it belongs to.
    void threeTenders() {
        RtRig rig;
        ShopFixture f;
        addSaleData(f);
        rig.configure(f);
        f.shop->ini().writeBool(QStringLiteral("GENERALI"), QStringLiteral("CALCRESTO"), true);
        const Voucher v = VoucherStore(f.db()).issue(Money::of(50), 0, QDate(2026, 3, 1), QTime());
        f.prompter.expectInput(QStringLiteral("Pagamento"), QStringLiteral("Contanti"), "30")
            .expectInformation(QStringLiteral("RESTO:\r\r") + QChar(0x20AC) +
                               QStringLiteral("      6,19"));
        const qint64 key = sellThroughWindow(f, {saleCode(1, 1), saleCode(1, 5)}, 2,
                                             QStringLiteral("40"), v.barcode);
        QVERIFY(key > 0);
        const QStringList printed = rig.rt.receipts().at(0).lines();
        QCOMPARE(printed.mid(printed.size() - 4, 3),
                 (QStringList{refundTotal("BUONO", "50,00", 3, 1),
                              refundTotal("ELETTRONICO", "40,00", 2, 1),
                              refundTotal("CONTANTI", "30,00", 0, 0)}));
        QCOMPARE(col(f, "VENDITE", "PAGBUONO"), QStringList{"50"});
        QCOMPARE(col(f, "VENDITE", "PAGELETT"), QStringList{"40"});
        QCOMPARE(col(f, "VENDITE", "PAGCONT"), QStringList{"23.81"});
        const BookAmounts in = primaNotaIn(f);
        QCOMPARE(Money::of(in[int(cashbook::Book::Cash)]), Money::of(23.81));
        QCOMPARE(Money::of(in[int(cashbook::Book::Bank)]), Money::of(40));
        VoucherStore store(f.db());
        QCOMPARE(store.find(v.number)->residual, Money());
        QCOMPARE(store.history(v.number).last().sale, key);
        QVERIFY(f.prompter.done());
    }

    // A voucher worth more than the sale keeps the balance; one spent or
    // expired is refused at the counter before the register is asked.
    void voucherAtTheCounter() {
        RtRig rig;
        ShopFixture f;
        addSaleData(f);
        rig.configure(f);
        VoucherStore store(f.db());
        const Voucher big = store.issue(Money::of(200), 0, QDate(2026, 3, 1), QTime());
        const Voucher old = store.issue(Money::of(10), 0, QDate(2025, 3, 1), QTime());
        QVERIFY(sellThroughWindow(f, {saleCode(1, 1), saleCode(1, 5)}, 0, {},
                                  QString::number(big.number)) > 0);
        QCOMPARE(store.find(big.number)->residual, Money::of(200 - 113.81));
        QCOMPARE(col(f, "VENDITE", "PAGCONT"), QStringList{"0"});
        QCOMPARE(col(f, "VENDITE", "PAGBUONO"), QStringList{"113.81"});

        for (const auto &[text, message] :
             {std::pair{old.barcode, VoucherStore::expiredText.arg(old.number).arg("01/03/2026")},
              std::pair{QStringLiteral("77"), VoucherStore::unknownText}}) {
            TFBanco w(*f.shop);
            showSale(w);
            scan(saleCode(1, 1));
            // Enter in the box tells what the voucher holds, or why not.
            auto *box = testing::child<QLineEdit>(w, "Buono");
            box->setText(QString::number(big.number));
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(testing::child<QLabel>(w, "ResiduoBuono")->text(),
                     QStringLiteral("Residuo ") + QChar(0x20AC) + QStringLiteral(" 86,19"));
            box->setText(text);
            f.prompter.expectError(message);
            QTest::keyClick(box, Qt::Key_Return);
            QVERIFY(testing::child<QLabel>(w, "ResiduoBuono")->text().isEmpty());
            f.prompter.expectError(message);
            click(w, "Scontrino");
            QVERIFY(!w.isTransmitting());
            QCOMPARE(rig.rt.receipts().size(), 1);
        }
        QVERIFY(f.prompter.done());
    }

    // Two sale windows spending the same voucher: the second is refused while
    // the first one's receipt is on its way; a receipt the register refuses
    // gives the voucher its part back.
    void voucherTwoWindows() {
        RtRig rig;
        ShopFixture f;
        addSaleData(f);
        rig.configure(f);
        VoucherStore store(f.db());
        const Voucher v = store.issue(Money::of(30), 0, QDate(2026, 3, 1), QTime());

        // Refused by the register: the claim goes back.
        rig.rt.failReceipts(sim::SimulatedEpsonRt::Fault::PaperOut);
        {
            TFBanco w(*f.shop);
            showSale(w);
            scan(saleCode(1, 1));
            testing::child<QLineEdit>(w, "Buono")->setText(v.barcode);
            QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
            f.prompter.expectError(
                NetworkFiscalDevice::refusalText(sim::SimulatedEpsonRt::paperOutCode));
            click(w, "Scontrino");
            QVERIFY(ended.wait(10000));
            QCOMPARE(store.find(v.number)->residual, Money::of(30));
            w.close();
        }

        TFBanco first(*f.shop);
        TFBanco second(*f.shop);
        SaleOpener opener;
        first.setOpener(&opener);
        showSale(first);
        scan(saleCode(1, 1));
        testing::child<QLineEdit>(first, "Buono")->setText(v.barcode);
        QSignalSpy ended(&first.checkout(), &SaleCheckout::ended);
        click(first, "Scontrino");
        QVERIFY(first.isTransmitting());
        showSale(second);
        scan(saleCode(1, 5));
        testing::child<QLineEdit>(second, "Buono")->setText(QString::number(v.number));
        f.prompter.expectError(VoucherStore::spentText.arg(v.number));
        click(second, "Scontrino");
        QVERIFY(!second.isTransmitting());
        QVERIFY(ended.wait(10000));
        QTRY_VERIFY(!first.isVisible());
        QCOMPARE(rig.rt.receipts().size(), 1);
        QCOMPARE(store.find(v.number)->residual, Money());
        // The one claim that went through, and the payment given back before.
        QStringList causes;
        for (const VoucherMovement &m : store.history(v.number))
            causes << m.cause;
        QCOMPARE(causes, (QStringList{VoucherStore::issueCause, VoucherStore::spendCause,
                                      VoucherStore::giveBackCause, VoucherStore::spendCause}));
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestReso)
#include "tst_reso.moc"

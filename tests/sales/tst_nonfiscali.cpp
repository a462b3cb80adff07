// Selling while the telematic register cannot be reached: the sale is stored
// as a fiscalised one would be, marked "non fiscalizzata"; it is listed for
// the emergency register, sent when the register is back (its numbers stored,
// never printed twice), or marked as written by hand; returns and voids wait
// for it; the archive, the counter and the closure window say it waits.

#include "tst_banco_window.h"

#include "RchRtServer.h"
#include "RtHttpServer.h"
#include "SimulatedCustomRt.h"
#include "SimulatedRchRt.h"
#include "cashbook/PrimaNota.h"
#include "catalogue/TableGrid.h"
#include "common/ShopRt.h"
#include "printing/PrintService.h"
#include "printing/RecordingCanvas.h"
#include "register/NetworkFiscalDevice.h"
#include "sales/OfflineSales.h"
#include "sales/OfflineSalesPrintout.h"
#include "sales/SaleCheckout.h"
#include "sales/SaleVoid.h"
#include "sales/TFArcVen.h"
#include "sales/TFChiusura.h"
#include "sales/TFNonFiscali.h"
#include "sales/VoucherStore.h"
#include "shell/DataFolderSetup.h"
#include "shell/SchemaUpgrade.h"
#include "widgets/TableModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTableWidget>

using namespace corvale;
using testing::click;

namespace {

const QString nowhere = QStringLiteral("127.0.0.1:1");
using EpsonRig = testing::ShopRt<sim::SimulatedEpsonRt>;
using CustomRig = testing::ShopRt<sim::SimulatedCustomRt>;
using RchRig = testing::ShopRt<sim::SimulatedRchRt, sim::RchRtServer>;

QStringList printed(const sim::SimulatedEpsonRt::Document &d) {
    return d.lines();
}
QStringList printed(const sim::SimulatedRchRt::Document &d) {
    QStringList out;
    for (const QByteArray &c : d.commands)
        out << QString::fromLatin1(c);
    return out;
}

void configure(ShopFixture &f, int brand, const QString &address) {
    testing::configureShopRegister(f, brand, address, 1500);
}

// How the counter is paid.
struct Payment {
    int mode = 0; // Contanti, Elettronico, Contanti + Elettronico
    QString cardPart;
    QString lottery;
    bool voucher = false; // the shop's first voucher pays first
    QString discount;     // "Sconto %"
};

const QString offlineQuestion =
    SaleCheckout::offlineQuestion(NetworkFiscalDevice::unreachableText(nowhere));

// Two pieces of article 1 at the counter, "Scontrino" pressed; the key of the
// sale stored (0: none, the window still open).
qint64 sell(ShopFixture &f, const Payment &payment) {
    SaleOpener opener;
    TFBanco w(*f.shop);
    w.setOpener(&opener);
    showSale(w);
    scan(saleCode(1, 1));
    scan(saleCode(1, 5));
    if (!payment.discount.isEmpty())
        testing::type(w, "Sconto", payment.discount);
    testing::child<QComboBox>(w, "Pagamento")->setCurrentIndex(payment.mode);
    testing::child<QLineEdit>(w, "ImportoElettronico")->setText(payment.cardPart);
    testing::child<QLineEdit>(w, "Lotteria")->setText(payment.lottery);
    if (payment.voucher)
        testing::child<QLineEdit>(w, "Buono")->setText(VoucherStore(f.db()).all().value(0).barcode);
    QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
    click(w, "Scontrino");
    if (!ended.wait(10000))
        return 0;
    if (!QTest::qWaitFor([&] { return !w.isVisible(); }, 3000))
        return 0;
    return w.DocumentKey;
}

// The same sale with the register out of order, stored as "non fiscalizzata".
qint64 sellOffline(ShopFixture &f, const Payment &payment = {}) {
    configure(f, RegisterSettings::epsonRtBrand, nowhere);
    f.prompter.expectConfirm(offlineQuestion, true);
    return sell(f, payment);
}

QString value(ShopFixture &f, const QString &column, int row = 0) {
    return f.column(QStringLiteral("VENDITE"), column).value(row).trimmed();
}

QVariantMap record(ShopFixture &f, const QString &table, int row) {
    db::Table t(f.db());
    t.setTableName(table);
    t.open();
    t.first();
    for (int i = 0; i < row; ++i)
        t.next();
    QVariantMap out;
    for (const QString &c : t.fieldNames())
        out.insert(c, t.asString(c).trimmed());
    return out;
}

// Runs a sending of the list and waits for its end: (sent, complete).
std::pair<int, bool> sendLater(ShopFixture &f, const QList<qint64> &keys) {
    OfflineSales sales(*f.shop);
    QSignalSpy finished(&sales, &OfflineSales::finished);
    if (!sales.send(keys))
        return {-1, false};
    if (finished.isEmpty() && !finished.wait(10000))
        return {-2, false};
    return {finished.at(0).at(0).toInt(), finished.at(0).at(1).toBool()};
}

// A stored sale in a given state of the register, its one line of two
// pieces of article 1 at 50.
qint64 addSale(ShopFixture &f, qint64 key, SaleFiscalState state, double total = 100,
               double cash = 100, double card = 0) {
    QVariantMap h{
        {QStringLiteral("NUMREG"), key},
        {QStringLiteral("NUMDOC"), key},
        {QStringLiteral("DATADOC"), QDate(2026, 3, 15)},
        {QStringLiteral("MYDATA"), QStringLiteral("20260315")},
        {QStringLiteral("TOTALE"), total},
        {QStringLiteral("TIPO"), true},
        {QStringLiteral("PAGCONT"), cash},
        {QStringLiteral("PAGELETT"), card},
        {QStringLiteral("NFORA"), QStringLiteral("16:%1:00").arg(key, 2, 10, QChar(u'0'))}};
    if (state != SaleFiscalState::Ordinary)
        h.insert(QStringLiteral("NFSTATO"), int(state));
    else
        h.insert(QStringLiteral("RTNUMERO"), 3);
    f.add(QStringLiteral("VENDITE"), h);
    f.add(QStringLiteral("ARCART_V"), {{QStringLiteral("NUMVEN"), key},
                                       {QStringLiteral("NUMART"), 1},
                                       {QStringLiteral("DESCRIZION"), QStringLiteral("STIVALE")},
                                       {QStringLiteral("COLORE"), QStringLiteral("ROSSO")},
                                       {QStringLiteral("TAGLIA"), 1},
                                       {QStringLiteral("QUANTITA"), 2},
                                       {QStringLiteral("PREZZO"), 50.0},
                                       {QStringLiteral("IVA"), 22.0},
                                       {QStringLiteral("TIPO"), true}});
    return key;
}

QStringList rowTexts(QTableWidget &t, int row) {
    QStringList out;
    for (int c = 0; c < t.columnCount(); ++c)
        out << (t.item(row, c) ? t.item(row, c)->text() : QString());
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Payment)

class TestNonFiscali : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A sale stored without the register is the sale the register would have
    // numbered: the same header but for the register's columns, the same
    // lines, stock, voucher spent and Prima nota; it only waits, marked.
    void storedAsAFiscalisedSale_data() {
        QTest::addColumn<Payment>("payment");
        QTest::newRow("cash") << Payment{};
        QTest::newRow("card with lottery and discount")
            << Payment{1, {}, QStringLiteral("AB12CD34"), false, QStringLiteral("10")};
        QTest::newRow("split") << Payment{2, QStringLiteral("100"), {}, false, {}};
        QTest::newRow("voucher then cash") << Payment{0, {}, {}, true, {}};
    }
    void storedAsAFiscalisedSale() {
        QFETCH(Payment, payment);
        ShopFixture offline, online;
        EpsonRig rig;
        for (ShopFixture *f : {&offline, &online}) {
            addSaleData(*f);
            VoucherStore(f->db()).issue(Money::of(30), 0, QDate(2026, 3, 1), QTime(9, 0));
        }
        const qint64 key = sellOffline(offline, payment);
        QVERIFY(key > 0);
        configure(online, RegisterSettings::epsonRtBrand, rig.server.address());
        QCOMPARE(sell(online, payment), key);
        QCOMPARE(rig.rt.receipts().size(), 1);

        QVariantMap stored = record(offline, QStringLiteral("VENDITE"), 0);
        QVariantMap fiscalised = record(online, QStringLiteral("VENDITE"), 0);
        QCOMPARE(stored.value(QStringLiteral("NFSTATO")), QStringLiteral("1"));
        QVERIFY2(QTime::fromString(stored.value(QStringLiteral("NFORA")).toString(),
                                   QStringLiteral("HH:mm:ss"))
                     .isValid(),
                 qPrintable(stored.value(QStringLiteral("NFORA")).toString()));
        QCOMPARE(fiscalised.value(QStringLiteral("NFSTATO")), QString());
        QCOMPARE(fiscalised.value(QStringLiteral("RTNUMERO")), QStringLiteral("1"));
        for (const char *rt : {"RTNUMERO", "RTCHIUSURA", "RTDATA", "RTORA", "RTMATRIC"})
            QCOMPARE(stored.value(QString::fromLatin1(rt)), QString());
        for (const char *c :
             {"NFSTATO", "NFORA", "RTNUMERO", "RTCHIUSURA", "RTDATA", "RTORA", "RTMATRIC"}) {
            stored.remove(QString::fromLatin1(c));
            fiscalised.remove(QString::fromLatin1(c));
        }
        QCOMPARE(stored, fiscalised);
        QCOMPARE(storedSaleLines(offline), storedSaleLines(online));
        QCOMPARE(offline.column(QStringLiteral("ARCARTTG"), QStringLiteral("TG1")),
                 online.column(QStringLiteral("ARCARTTG"), QStringLiteral("TG1")));
        QCOMPARE(stockCell(offline, 1, QStringLiteral("ROSSO"), 1), 1.0);
        const auto history = [](ShopFixture &f) {
            QStringList out;
            for (const VoucherMovement &m : VoucherStore(f.db()).history(1))
                out << QStringLiteral("%1 %2").arg(m.amount.cents()).arg(m.sale);
            return out;
        };
        QCOMPARE(history(offline), history(online));
        const auto takings = [](ShopFixture &f) {
            const PrimaNotaContent c = PrimaNota(f.db()).gather(QStringLiteral("01/03/2026"),
                                                                QStringLiteral("31/03/2026"));
            return QStringLiteral("%1 %2")
                .arg(Money::of(c.periodIn[int(cashbook::Book::Cash)]).cents())
                .arg(Money::of(c.periodIn[int(cashbook::Book::Bank)]).cents());
        };
        QCOMPARE(takings(offline), takings(online));
        QVERIFY(offline.prompter.done());
        QVERIFY(online.prompter.done());
    }

    // Only a register that was never reached offers the way; declined, the
    // sale waits at the counter as before. A register that may have printed,
    // or refused, gives its own message and stores nothing.
    void otherwiseNothingIsStored_data() {
        QTest::addColumn<QString>("address"); // empty: the simulator
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("silenceCheck");
        QTest::addColumn<QString>("message");
        using F = sim::SimulatedEpsonRt::Fault;
        QTest::newRow("declined") << nowhere << int(F::None) << false << QString();
        QTest::newRow("answer lost, check unanswered")
            << QString() << int(F::LostAfterPrint) << true << NetworkFiscalDevice::unconfirmedText;
        QTest::newRow("paper out")
            << QString() << int(F::PaperOut) << false
            << NetworkFiscalDevice::refusalText(sim::SimulatedEpsonRt::paperOutCode);
        QTest::newRow("malformed answer after printing")
            << QString() << int(F::MalformedXml) << true << NetworkFiscalDevice::unconfirmedText;
    }
    void otherwiseNothingIsStored() {
        QFETCH(QString, address);
        QFETCH(int, fault);
        QFETCH(bool, silenceCheck);
        QFETCH(QString, message);
        EpsonRig rig;
        ShopFixture f;
        addSaleData(f);
        configure(f, RegisterSettings::epsonRtBrand,
                  address.isEmpty() ? rig.server.address() : address);
        rig.rt.failReceipts(sim::SimulatedEpsonRt::Fault(fault));
        if (silenceCheck)
            QObject::connect(&rig.server, &sim::RtHttpServer::requestHandled, &rig.server,
                             [&rig, n = 0](const QString &) mutable {
                                 if (++n == 2)
                                     rig.rt.silenceQueries(1);
                             });
        if (message.isEmpty())
            f.prompter.expectConfirm(offlineQuestion, false);
        else
            f.prompter.expectError(message);
        TFBanco w(*f.shop);
        showSale(w);
        scan(saleCode(1, 1));
        QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
        click(w, "Scontrino");
        QVERIFY(ended.wait(10000));
        QTest::qWait(50);
        QVERIFY(w.isVisible());
        QVERIFY(w.grid().isEnabled());
        QVERIFY(!w.checkout().settled());
        QVERIFY(f.column(QStringLiteral("VENDITE"), QStringLiteral("NUMREG")).isEmpty());
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 2.0);
        QVERIFY(f.prompter.done());
    }

    // A receipt never answered, which the register then says it did not
    // print, is one more way of not reaching it.
    void unansweredAndNotPrinted() {
        EpsonRig rig;
        ShopFixture f;
        addSaleData(f);
        configure(f, RegisterSettings::epsonRtBrand, rig.server.address());
        // The first sending and the one repeat the settings allow.
        rig.rt.failReceipts(sim::SimulatedEpsonRt::Fault::NoAnswer, 2);
        f.prompter.expectConfirm(SaleCheckout::offlineQuestion(NetworkFiscalDevice::notIssuedText),
                                 true);
        const qint64 key = sell(f, {});
        QVERIFY(key > 0);
        QCOMPARE(rig.rt.receipts().size(), 0);
        QCOMPARE(value(f, QStringLiteral("NFSTATO")), QStringLiteral("1"));
        QCOMPARE(OfflineSales(*f.shop).list().value(0).key, key);
        QVERIFY(f.prompter.done());
    }

    // Sent when the register is back: the receipt is the one the counter
    // would have printed, its numbers are stored and the sale no longer
    // waits; sent again, nothing goes out.
    void sentLaterAsTheCounterWouldHave() {
        const Payment payment{2, QStringLiteral("100"), {}, false, QStringLiteral("10")};
        const auto check = [&](int brand, auto &counterRig, auto &laterRig) {
            ShopFixture counter, later;
            for (ShopFixture *f : {&counter, &later})
                addSaleData(*f);
            configure(counter, brand, counterRig.server.address());
            QVERIFY(sell(counter, payment) > 0);
            const qint64 key = sellOffline(later, payment);
            QVERIFY(key > 0);
            configure(later, brand, laterRig.server.address());
            QCOMPARE(sendLater(later, {key}), std::pair(1, true));
            QCOMPARE(laterRig.rt.receipts().size(), 1);
            QCOMPARE(printed(laterRig.rt.receipts().at(0)),
                     printed(counterRig.rt.receipts().at(0)));
            for (const char *c :
                 {"RTNUMERO", "RTCHIUSURA", "RTDATA", "RTMATRIC", "PAGCONT", "PAGELETT", "TOTALE"})
                QCOMPARE(value(later, QString::fromLatin1(c)),
                         value(counter, QString::fromLatin1(c)));
            QCOMPARE(value(later, QStringLiteral("NFSTATO")), QString());
            QVERIFY(!value(later, QStringLiteral("NFORA")).isEmpty());
            QCOMPARE(sendLater(later, {key}), std::pair(0, true));
            QCOMPARE(laterRig.rt.receipts().size(), 1);
            // Now it has a receipt to quote.
            QString reason;
            QVERIFY2(SaleVoid(*later.shop).quote(key, &reason), qPrintable(reason));
            QVERIFY(later.prompter.done());
        };
        {
            EpsonRig a, b;
            check(RegisterSettings::epsonRtBrand, a, b);
        }
        {
            CustomRig a, b;
            check(RegisterSettings::customRtBrand, a, b);
        }
        {
            RchRig a, b;
            check(RegisterSettings::rchRtBrand, a, b);
        }
    }

    // The answer lost after printing: the register is asked and the sale takes
    // the number it printed. When even that check goes unanswered the sale is
    // left to be checked, and goes out again only on the operator's word.
    void lostAnswerWhenSentLater() {
        for (const bool checkAnswered : {true, false}) {
            EpsonRig rig;
            ShopFixture f;
            addSaleData(f);
            const qint64 key = sellOffline(f);
            configure(f, RegisterSettings::epsonRtBrand, rig.server.address());
            rig.rt.failReceipts(sim::SimulatedEpsonRt::Fault::LostAfterPrint);
            if (!checkAnswered) {
                QObject::connect(&rig.server, &sim::RtHttpServer::requestHandled, &rig.server,
                                 [&rig, n = 0](const QString &) mutable {
                                     if (++n == 2)
                                         rig.rt.silenceQueries(1);
                                 });
                f.prompter.expectError(NetworkFiscalDevice::unconfirmedText);
            }
            QCOMPARE(sendLater(f, {key}), std::pair(checkAnswered ? 1 : 0, checkAnswered));
            QCOMPARE(rig.rt.receipts().size(), 1);
            if (checkAnswered) {
                QCOMPARE(value(f, QStringLiteral("RTNUMERO")), QStringLiteral("1"));
                QCOMPARE(value(f, QStringLiteral("NFSTATO")), QString());
                QVERIFY(f.prompter.done());
                continue;
            }
            QCOMPARE(value(f, QStringLiteral("RTNUMERO")), QString());
            QCOMPARE(value(f, QStringLiteral("NFSTATO")), QString::number(3));
            QCOMPARE(OfflineSales(*f.shop).list().value(0).state, SaleFiscalState::Unconfirmed);
            const int requests = rig.rt.requests();
            f.prompter.expectConfirm(OfflineSales::checkAgainText.arg(1), false);
            QCOMPARE(sendLater(f, {key}), std::pair(0, false));
            QCOMPARE(rig.rt.requests(), requests);
            // The same at the counter; once checked, it goes and takes its number.
            {
                TFBanco w(*f.shop);
                w.DocumentKey = key;
                showSale(w);
                f.prompter.expectConfirm(OfflineSales::checkAgainText.arg(1), false);
                click(w, "Scontrino");
                QCOMPARE(rig.rt.requests(), requests);
                f.prompter.expectConfirm(OfflineSales::checkAgainText.arg(1), true);
                QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
                click(w, "Scontrino");
                QVERIFY(ended.wait(10000));
                QTRY_VERIFY(!w.isVisible());
            }
            QCOMPARE(value(f, QStringLiteral("RTNUMERO")), QStringLiteral("2"));
            QCOMPARE(value(f, QStringLiteral("NFSTATO")), QString());
            QVERIFY(f.prompter.done());
        }
    }

    // Each state: listed or not, marked by hand or not, sent or passed over,
    // and what a return or a void says.
    void statesOfAStoredSale_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<bool>("listedWithByHand");
        QTest::addColumn<bool>("markable");
        QTest::addColumn<QString>("voidReason");
        QTest::addColumn<QString>("returnReason");
        using S = SaleFiscalState;
        QTest::newRow("ordinary") << int(S::Ordinary) << false << false << false << QString()
                                  << QString();
        QTest::newRow("pending") << int(S::Pending) << true << true << true
                                 << SaleVoid::notFiscalisedText << SaleVoid::notFiscalisedText;
        QTest::newRow("to be checked")
            << int(S::Unconfirmed) << true << true << true << SaleVoid::notFiscalisedText
            << SaleVoid::notFiscalisedText;
        QTest::newRow("by hand") << int(S::ByHand) << false << true << false << SaleVoid::byHandText
                                 << SaleVoid::byHandText;
    }
    void statesOfAStoredSale() {
        QFETCH(int, state);
        QFETCH(bool, listed);
        QFETCH(bool, listedWithByHand);
        QFETCH(bool, markable);
        QFETCH(QString, voidReason);
        QFETCH(QString, returnReason);
        ShopFixture f;
        addSaleData(f);
        const qint64 key = addSale(f, 4, SaleFiscalState(state));
        OfflineSales sales(*f.shop);
        QCOMPARE(sales.list().size(), listed ? 1 : 0);
        QCOMPARE(sales.list(true).size(), listedWithByHand ? 1 : 0);
        QCOMPARE(OfflineSales::waiting(f.db()), listed ? 1 : 0);
        SaleVoid op(*f.shop);
        QString reason;
        QCOMPARE(bool(op.quote(key, &reason)), voidReason.isEmpty());
        QCOMPARE(reason, voidReason);
        reason.clear();
        QCOMPARE(bool(op.quoteReturn(key, &reason)), returnReason.isEmpty());
        QCOMPARE(reason, returnReason);

        QCOMPARE(sales.markByHand(key), markable);
        if (markable) {
            QCOMPARE(value(f, QStringLiteral("NFSTATO")), QStringLiteral("2"));
            QVERIFY(sales.list().isEmpty());
            QCOMPARE(sales.list(true).value(0).state, SaleFiscalState::ByHand);
        }
        // Whatever is no longer waiting never reaches the register.
        EpsonRig rig;
        configure(f, RegisterSettings::epsonRtBrand, rig.server.address());
        QCOMPARE(sendLater(f, {key}), std::pair(0, true));
        QCOMPARE(rig.rt.requests(), 0);
        QVERIFY(f.prompter.done());
    }

    // A run stops at the first sale that cannot go, and goes nowhere without
    // a telematic register.
    void sendingRefusals() {
        EpsonRig rig;
        ShopFixture f;
        addSaleData(f);
        // Changed after it was stored: 100 due, 90 paid.
        addSale(f, 1, SaleFiscalState::Pending, 100, 90);
        addSale(f, 2, SaleFiscalState::Pending);
        configure(f, RegisterSettings::epsonRtBrand, rig.server.address());
        f.prompter.expectError(OfflineSales::paymentMismatchText.arg(1).arg(
            QStringLiteral("90,00"), QStringLiteral("100,00")));
        QCOMPARE(sendLater(f, {1, 2}), std::pair(0, false));
        QCOMPARE(rig.rt.requests(), 0);
        // The other goes on its own; the register refusing ends the run.
        rig.rt.failReceipts(sim::SimulatedEpsonRt::Fault::CoverOpen);
        f.prompter.expectError(
            NetworkFiscalDevice::refusalText(sim::SimulatedEpsonRt::coverOpenCode));
        QCOMPARE(sendLater(f, {2, 1}), std::pair(0, false));
        QCOMPARE(sendLater(f, {2}), std::pair(1, true));
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("RTNUMERO")),
                 (QStringList{QString(), QStringLiteral("1")}));
        // Unreachable again: said, nothing changes.
        configure(f, RegisterSettings::epsonRtBrand, nowhere);
        f.prompter.expectError(NetworkFiscalDevice::unreachableText(nowhere));
        addSale(f, 3, SaleFiscalState::Pending);
        QCOMPARE(sendLater(f, {3}), std::pair(0, false));
        QCOMPARE(value(f, QStringLiteral("NFSTATO"), 2), QStringLiteral("1"));
        f.shop->ini().writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"), 1);
        f.prompter.expectError(OfflineSales::notTelematicText);
        QCOMPARE(sendLater(f, {3}), std::pair(-1, false));
        QVERIFY(f.prompter.done());
    }

    // An older folder gets the two columns and the state's tag in VENDITE
    // alone; an upgrade cut short is finished at the next start. Other dBASE
    // programs read the columns as standard numeric and character fields.
    void olderFolderUpgradedAndReadable_data() {
        QTest::addColumn<QStringList>("missing");
        QTest::addColumn<QStringList>("statements");
        const QString state =
            QStringLiteral("ALTER TABLE \"VENDITE.dbf\"\nADD NFSTATO NUMERIC(1,0)");
        const QString tag = QStringLiteral("CREATE INDEX NFSTATO ON \"VENDITE.dbf\" (NFSTATO)");
        const QString time = QStringLiteral("ALTER TABLE \"VENDITE.dbf\"\nADD NFORA CHARACTER(8)");
        QTest::newRow("older release")
            << QStringList{QStringLiteral("NFSTATO"), QStringLiteral("NFORA")}
            << QStringList{state, tag, time};
        QTest::newRow("cut after the first column")
            << QStringList{QStringLiteral("NFORA")} << QStringList{tag, time};
    }
    void olderFolderUpgradedAndReadable() {
        QFETCH(QStringList, missing);
        QFETCH(QStringList, statements);
        QTemporaryDir tmp;
        TableLayouts older;
        for (const TableLayout &t : allTableLayouts()) {
            TableLayout layout = t;
            if (t.name == QLatin1String("VENDITE")) {
                layout = t.without(missing);
                layout.tags.removeIf(
                    [](const TagLayout &tag) { return tag.name == QLatin1String("NFSTATO"); });
            }
            older << layout;
        }
        {
            db::Database database;
            database.open(tmp.path());
            DataFolderSetup::createTables(database, older);
            db::Table t(database);
            t.setTableName(QStringLiteral("VENDITE"));
            t.open();
            t.append();
            t.setInteger(QStringLiteral("NUMREG"), 1);
            t.setFloat(QStringLiteral("TOTALE"), 12.5);
            t.post();
        }
        db::Database database;
        database.open(tmp.path());
        SchemaUpgrade upgrade(database);
        QVERIFY2(upgrade.runSecondList(), qPrintable(upgrade.errorText()));
        QCOMPARE(upgrade.executedStatements(), statements);
        QCOMPARE(OfflineSales::waiting(database), 0);
        {
            db::Table t(database);
            t.setTableName(QStringLiteral("VENDITE"));
            t.open();
            t.first();
            // An older sale is an ordinary one.
            QCOMPARE(saleFiscalState(t.asInteger(QStringLiteral("NFSTATO"))),
                     SaleFiscalState::Ordinary);
            QCOMPARE(t.asFloat(QStringLiteral("TOTALE")), 12.5);
            t.edit();
            t.setInteger(QStringLiteral("NFSTATO"), 1);
            t.setString(QStringLiteral("NFORA"), QStringLiteral("16:05:00"));
            t.post();
            db::Table receipts(database);
            receipts.setTableName(QStringLiteral("RICEVUTE"));
            receipts.open();
            QVERIFY(!receipts.hasField(QStringLiteral("NFSTATO")));
        }
        // The tag follows the change.
        QCOMPARE(OfflineSales::waiting(database), 1);
        SchemaUpgrade again(database);
        QVERIFY(again.runSecondList());
        QVERIFY(again.executedStatements().isEmpty());
        database.close();

        const QString python = QStringLiteral("/usr/bin/python3");
        QProcess probe;
        probe.start(python, {QStringLiteral("-c"), QStringLiteral("import dbfread")});
        if (!probe.waitForFinished(20000) || probe.exitCode() != 0)
            QSKIP("python3-dbfread is not installed (scripts/setup installs it)");
        const QString script = QStringLiteral(
            "import sys, dbfread\n"
            "t = dbfread.DBF(sys.argv[1], encoding='cp1252')\n"
            "f = {x.name: x for x in t.fields}\n"
            "print(f['NFSTATO'].type, f['NFSTATO'].length, f['NFORA'].type, f['NFORA'].length)\n"
            "r = list(t)[0]\n"
            "print(repr(r['NFSTATO']), r['NFORA'], r['TOTALE'], sep='|')\n");
        QProcess reader;
        reader.start(python,
                     {QStringLiteral("-c"), script, tmp.filePath(QStringLiteral("VENDITE.DBF"))});
        QVERIFY(reader.waitForFinished(30000));
        QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
        QCOMPARE(QString::fromUtf8(reader.readAllStandardOutput()).trimmed(),
                 QStringLiteral("N 1 C 8\n1|16:05:00|12.5"));
    }

    // The window: the waiting sales for the emergency register, printed,
    // marked by hand, sent; the counter, the archive and the closure window
    // say how many wait.
    void throughTheWindows() {
        EpsonRig rig;
        ShopFixture f;
        addSaleData(f);
        auto service = std::make_unique<RecordingPrintService>();
        RecordingPrintService &printouts = *service;
        f.shop->setPrintService(std::move(service));
        addSale(f, 1, SaleFiscalState::Pending, 100, 40, 60);
        addSale(f, 2, SaleFiscalState::Ordinary);
        addSale(f, 3, SaleFiscalState::Pending);
        addSale(f, 4, SaleFiscalState::ByHand);
        configure(f, RegisterSettings::epsonRtBrand, rig.server.address());

        {
            TFBanco counter(*f.shop);
            showSale(counter);
            QVERIFY(testing::child<QLabel>(counter, "NonFiscalizzate")->isVisible());
            QCOMPARE(labelText(counter, "NonFiscalizzate"),
                     QStringLiteral("Vendite non fiscalizzate: 2"));
            counter.BAnnullaClick();
        }
        {
            TFChiusura closure(*f.shop);
            closure.show();
            QCOMPARE(closure.waitingText(),
                     QStringLiteral("Vendite non fiscalizzate in attesa del registratore: 2"));
            f.prompter.expectConfirm(
                TFChiusura::waitingBeforeZText.arg(2) + TFChiusura::confirmZText, false);
            click(closure, "BChiusura");
            QCOMPARE(rig.rt.requests(), 0);
        }
        {
            TFArcVen archive(*f.shop);
            archive.show();
            TableModel &m = archive.list().model();
            const int column = m.columnOf(QStringLiteral("cStatoRT"));
            QStringList states;
            for (int row = 0; row < m.rowCount(); ++row)
                states << m.data(m.index(row, column)).toString();
            QCOMPARE(states, (QStringList{QStringLiteral("Non fiscalizzata"), QString(),
                                          QStringLiteral("Non fiscalizzata"),
                                          QStringLiteral("Registrata a mano")}));
            archive.list().selectRow(2);
            f.prompter.expectError(SaleVoid::notFiscalisedText);
            click(archive, "Annullo");
            f.prompter.expectError(SaleVoid::notFiscalisedText);
            click(archive, "Reso");
        }

        TFNonFiscali w(*f.shop);
        w.show();
        QTableWidget &list = w.list();
        QCOMPARE(list.rowCount(), 2);
        QCOMPARE(rowTexts(list, 0), (QStringList{"15/03/2026", "16:01", "1", "40,00", "60,00",
                                                 "0,00", "100,00", "Non fiscalizzata"}));
        QCOMPARE(w.summaryText(),
                 QStringLiteral("Vendite in attesa del registratore: 2, totale € 200,00."));
        testing::child<QCheckBox>(w, "AncheAMano")->setChecked(true);
        QCOMPARE(list.rowCount(), 3);
        QCOMPARE(rowTexts(list, 2).last(), QStringLiteral("Registrata a mano"));

        click(w, "Stampa");
        QCOMPARE(printouts.jobs().size(), 1);
        const RecordingCanvas &page = *printouts.jobs().first().canvas;
        QVERIFY(page.findText(OfflineSalesPrintout::title));
        QVERIFY(page.findText(QStringLiteral("16:03")));
        QVERIFY(page.findText(QStringLiteral("TOTALE (3 vendite)")));
        QVERIFY(page.findText(QStringLiteral("300,00")));

        testing::child<QCheckBox>(w, "AncheAMano")->setChecked(false);
        f.prompter.expectError(TFNonFiscali::noneSelectedText);
        click(w, "BInvia");
        f.prompter.expectError(TFNonFiscali::noneSelectedText);
        click(w, "BAMano");
        // The second by hand: "No" first leaves it waiting.
        list.selectRow(1);
        f.prompter.expectConfirm(TFNonFiscali::byHandQuestion.arg(1), false);
        click(w, "BAMano");
        QCOMPARE(list.rowCount(), 2);
        list.selectRow(1);
        f.prompter.expectConfirm(TFNonFiscali::byHandQuestion.arg(1), true);
        click(w, "BAMano");
        QCOMPARE(list.rowCount(), 1);
        QCOMPARE(value(f, QStringLiteral("NFSTATO"), 2), QStringLiteral("2"));

        // A sale no longer waiting is passed over at once: the window is free again.
        testing::child<QCheckBox>(w, "AncheAMano")->setChecked(true);
        list.selectRow(2);
        QCOMPARE(rowTexts(list, 2).last(), QStringLiteral("Registrata a mano"));
        click(w, "BInvia");
        QVERIFY(testing::button(w, "BInvia")->isEnabled());
        QCOMPARE(rig.rt.requests(), 0);
        testing::child<QCheckBox>(w, "AncheAMano")->setChecked(false);

        click(w, "BInviaTutte");
        QVERIFY(!testing::button(w, "BInviaTutte")->isEnabled());
        QTRY_VERIFY(testing::button(w, "BInviaTutte")->isEnabled());
        QCOMPARE(list.rowCount(), 0);
        QCOMPARE(w.summaryText(), QStringLiteral("Vendite inviate al registratore: 1.\nNessuna "
                                                 "vendita in attesa del registratore."));
        QCOMPARE(rig.rt.receipts().size(), 1);
        QCOMPARE(value(f, QStringLiteral("RTNUMERO"), 0), QStringLiteral("1"));
        const QStringList receipt = rig.rt.receipts().at(0).lines();
        QCOMPARE(receipt.mid(receipt.size() - 3, 2),
                 (QStringList{QStringLiteral("printRecTotal operator=1 description=ELETTRONICO "
                                             "payment=60,00 paymentType=2 index=1 justification=2"),
                              QStringLiteral("printRecTotal operator=1 description=CONTANTI "
                                             "payment=40,00 paymentType=0 index=0 "
                                             "justification=2")}));
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestNonFiscali)
#include "tst_nonfiscali.moc"

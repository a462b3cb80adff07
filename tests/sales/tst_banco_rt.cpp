// The counter with a Custom or an RCH telematic register configured: a sale
// paid by card with the lottery code and the customer's codice fiscale is
// stored with the register's numbers, a void quotes them, the daily closure
// is stored, and an answer lost after printing never gives a second receipt.

#include "tst_banco_window.h"

#include "RchRtServer.h"
#include "RtHttpServer.h"
#include "SimulatedCustomRt.h"
#include "common/ShopRt.h"
#include "register/RchRtServed.h"
#include "sales/DailyClosure.h"
#include "sales/SaleCheckout.h"
#include "sales/SaleVoid.h"

#include <QComboBox>
#include <QSignalSpy>

using namespace corvale;
using testing::click;

namespace {

const QDateTime shopTime(QDate(2026, 3, 5), QTime(10, 30));

using CustomRig = testing::ShopRt<sim::SimulatedCustomRt>;

// The RCH register served the way the shop's Dati.ini says.
struct RchRig : testing::ShopRt<sim::SimulatedRchRt, sim::RchRtServed> {
    explicit RchRig(RegisterSettings::Transport transport)
        : ShopRt(shopTime, 12, 1, transport) {}
    void configure(ShopFixture &f, RegisterSettings::Transport transport, int timeoutMs = 10000) {
        ShopRt::configure(f, timeoutMs);
        IniFile &ini = f.shop->ini();
        ini.writeString(QStringLiteral("REGCASSA"), RegisterSettings::transportKey,
                        RegisterSettings::transportText(transport));
        ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("DEVICE"), server.address());
    }
};

// Two articles for the customer of CARD100, paid by card with the lottery
// code (the customer then gives no codice fiscale), or split between card and
// cash with the customer's codice fiscale.
void sell(ShopFixture &f, bool lottery) {
    {
        db::Table customers(f.db());
        customers.setTableName(QStringLiteral("CLIENTI"));
        customers.open();
        customers.first();
        customers.edit();
        customers.setString(QStringLiteral("CODFISC"), QStringLiteral("BNCMRA80A01H501Z"));
        customers.post();
    }
    SaleOpener opener;
    TFBanco w(*f.shop);
    w.setOpener(&opener);
    showSale(w);
    testing::type(w, "Carta", QStringLiteral("CARD100"));
    QTest::keyClick(testing::child<QLineEdit>(w, "Carta"), Qt::Key_Return);
    w.grid().setFocus();
    scan(saleCode(1, 1));
    scan(saleCode(1, 5));
    testing::child<QComboBox>(w, "Pagamento")->setCurrentIndex(lottery ? 1 : 2);
    if (lottery)
        testing::child<QLineEdit>(w, "Lotteria")->setText(QStringLiteral("AB12CD34"));
    else
        testing::child<QLineEdit>(w, "ImportoElettronico")->setText(QStringLiteral("100"));
    QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
    click(w, "Scontrino");
    QVERIFY(ended.wait(10000));
    QTRY_VERIFY(!w.isVisible());
    QCOMPARE(opener.codes, QList<int>{1});
}

qint64 voidTheSale(ShopFixture &f) {
    const qint64 key =
        f.column(QStringLiteral("VENDITE"), QStringLiteral("NUMREG")).value(0).toLongLong();
    SaleVoid annul(*f.shop);
    QString reason;
    const auto quoted = annul.quote(key, &reason);
    if (!quoted)
        return 0;
    QSignalSpy finished(&annul, &SaleVoid::finished);
    if (!annul.start(key, *quoted) || !finished.wait(10000) || !finished.at(0).at(0).toBool())
        return 0;
    return finished.at(0).at(1).toLongLong();
}

FiscalOutcome closeTheDay(ShopFixture &f) {
    DailyClosure closure(*f.shop);
    QSignalSpy finished(&closure, &DailyClosure::finished);
    if (!closure.report(FiscalDevice::Report::Z) || !finished.wait(10000))
        return {};
    return finished.at(0).at(0).value<FiscalOutcome>();
}

void checkStored(ShopFixture &f, const QString &serial, bool lottery) {
    QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("TOTALE")),
             (QStringList{"113.81", "-113.81"}));
    QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("RTNUMERO")),
             (QStringList{"1", "2"}));
    QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("RTCHIUSURA")),
             (QStringList{"12", "12"}));
    QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("RTMATRIC")).value(0).trimmed(),
             serial);
    QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("LOTTERIA")).value(0).trimmed(),
             lottery ? QStringLiteral("AB12CD34") : QString());
    QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("CFCLIENTE")).value(0).trimmed(),
             lottery ? QString() : QStringLiteral("BNCMRA80A01H501Z"));
    QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("PAGELETT")).value(0),
             lottery ? QStringLiteral("113.81") : QStringLiteral("100"));
    QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("PAGCONT")).value(0),
             lottery ? QStringLiteral("0") : QStringLiteral("13.81"));
    QCOMPARE(f.column(QStringLiteral("CHIUSURE"), QStringLiteral("NUMERO")), QStringList{"12"});
}

} // namespace

Q_DECLARE_METATYPE(corvale::FiscalOutcome)
Q_DECLARE_METATYPE(corvale::RegisterSettings::Transport)

class TestBancoRt : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void customRegisterSaleVoidAndClosure() {
        CustomRig rig(shopTime);
        ShopFixture f;
        addSaleData(f);
        rig.configure(f);
        sell(f, true);
        QVERIFY(voidTheSale(f) > 0);
        const FiscalOutcome z = closeTheDay(f);
        QVERIFY(z.confirmed());
        QCOMPARE(z.document.closure, 12);
        checkStored(f, QStringLiteral("STMTE100001"), true);

        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 2);
        const QStringList sale = printed.at(0).lines();
        QVERIFY(sale.contains(QStringLiteral("setLotteryCode operator=1 code=AB12CD34")));
        QCOMPARE(sale.value(sale.size() - 2),
                 QStringLiteral("printRecTotal operator=1 description=ELETTRONICO "
                                "payment=113,81 paymentType=2 index=1"));
        QCOMPARE(printed.at(1).lines().value(0),
                 QStringLiteral("printRecMessage operator=1 messageType=4 "
                                "message=VOID 0012 0001 05032026 STMTE100001"));
        QCOMPARE(rig.rt.closure(), 13);
        QVERIFY(f.prompter.done());
    }

    void rchRegisterSaleVoidAndClosure_data() {
        QTest::addColumn<RegisterSettings::Transport>("transport");
        for (const auto &[label, t] : sim::rchTransports)
            QTest::newRow(label) << t;
    }
    void rchRegisterSaleVoidAndClosure() {
        QFETCH(RegisterSettings::Transport, transport);
        RchRig rig(transport);
        ShopFixture f;
        addSaleData(f);
        rig.configure(f, transport);
        sell(f, false);
        QVERIFY(voidTheSale(f) > 0);
        const FiscalOutcome z = closeTheDay(f);
        QVERIFY(z.confirmed());
        QCOMPARE(z.document.closure, 12);
        checkStored(f, QStringLiteral("80RCH000001"), false);

        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 2);
        const QList<QByteArray> sale = printed.at(0).commands;
        // Two lines at 5% off: their cents round one over the sale's total,
        // which the subtotal takes back.
        QCOMPARE(sale.mid(sale.size() - 6),
                 (QList<QByteArray>{"=S", "=V-/*1", "=\"/?C/(BNCMRA80A01H501Z)", "=T3/$10000",
                                    "=T1/$1381", "=c"}));
        QCOMPARE(printed.at(1).commands, (QList<QByteArray>{"=k/&050326/0012/0001", "=c"}));
        QCOMPARE(rig.rt.closure(), 13);
        QVERIFY(f.prompter.done());
    }

    // The answer to the closing command is lost after the register printed:
    // the register is asked and the sale stored with its number, once.
    void lostAnswerAtTheCounter() {
        {
            CustomRig rig(shopTime);
            ShopFixture f;
            addSaleData(f);
            rig.configure(f);
            rig.rt.failReceipts(sim::SimulatedEpsonRt::Fault::LostAfterPrint);
            sell(f, true);
            QCOMPARE(rig.rt.receipts().size(), 1);
            QCOMPARE(saleValue(f, QStringLiteral("RTNUMERO")), QStringLiteral("1"));
        }
        for (const auto &[label, transport] : sim::rchTransports) {
            RchRig rig(transport);
            ShopFixture f;
            addSaleData(f);
            rig.configure(f, transport, 3000);
            rig.rt.failReceipts(sim::SimulatedRchRt::Fault::LostAfterPrint);
            sell(f, true);
            QVERIFY2(rig.rt.receipts().size() == 1, label);
            QCOMPARE(saleValue(f, QStringLiteral("RTNUMERO")), QStringLiteral("1"));
            QCOMPARE(rig.rt.commands().count("=c"), 1);
        }
    }
};

QTEST_MAIN(TestBancoRt)
#include "tst_banco_rt.moc"

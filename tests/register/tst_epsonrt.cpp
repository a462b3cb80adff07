// Whole documents to the Epson telematic register simulator over HTTP: what
// the register receives, element by element, the numbers it gives back, and
// a receipt never printed twice whatever answer is lost.

#include "HttpRtCases.h"
#include "RtHttpServer.h"
#include "RtRig.h"
#include "SimulatedEpsonRt.h"

using namespace corvale;
using namespace corvale::testing;
using sim::SimulatedEpsonRt;
using Status = FiscalOutcome::Status;

namespace {

using Rig = RtRig<SimulatedEpsonRt, sim::RtHttpServer>;

} // namespace

class TestEpsonRt : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeSalesReachTheRegisterElementByElement_data() {
        addHttpRtSaleRows({true, QStringLiteral("printRecLotteryID")});
    }
    void wholeSalesReachTheRegisterElementByElement() {
        checkHttpRtSale<SimulatedEpsonRt>(RegisterSettings::epsonRtBrand,
                                          QStringLiteral("99MEX000001"));
    }

    void aReceiptIsNeverPrintedTwice_data() { addHttpRtLostAnswerRows(); }
    void aReceiptIsNeverPrintedTwice() {
        checkHttpRtLostAnswer<SimulatedEpsonRt>(RegisterSettings::epsonRtBrand);
    }

    void theClosureDecidesWhatTheRegisterTakes() {
        Rig rig(RegisterSettings::epsonRtBrand);
        rig.rt.setClosure(3);
        QVERIFY(rig.sell({{"A", 1, 10, 0, 22}}, {cashTender(1000)}));
        QVERIFY(rig.sell({{"B", 2, 5, 0, 10}}, {cardTender(1000)}));

        QVERIFY(rig.run([&] { return rig.device.report(FiscalDevice::Report::X); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.amount.cents(), qint64(2000));
        QCOMPARE(rig.rt.closure(), 3);

        // More than 24 hours after the last closure the register refuses sales.
        rig.rt.setLastClosure(rtShopTime.addSecs(-25 * 3600));
        QVERIFY(rig.sell({{"C", 1, 10, 0, 22}}, {cashTender(1000)}));
        QCOMPARE(rig.outcome.status, Status::Refused);
        QCOMPARE(rig.outcome.message,
                 NetworkFiscalDevice::refusalText(SimulatedEpsonRt::closureOverdueCode));

        QVERIFY(rig.run([&] { return rig.device.report(FiscalDevice::Report::Z); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.document.closure, 3);
        QCOMPARE(rig.outcome.amount.cents(), qint64(2000));
        QCOMPARE(rig.rt.closure(), 4);

        QVERIFY(rig.sell({{"C", 1, 10, 0, 22}}, {cashTender(1000)}));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.document.number, 1);
        QCOMPARE(rig.outcome.document.closure, 4);
    }

    void statusAndUnreachableRegisters() {
        Rig rig(RegisterSettings::epsonRtBrand);
        QVERIFY(rig.sell({{"A", 1, 10, 0, 22}}, {cashTender(1000)}));
        QVERIFY(rig.run([&] { return rig.device.queryStatus(); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.deviceStatus,
                 QStringLiteral("Registratore pronto.\rMatricola: 99MEX000001\rUltimo documento: "
                                "n. 1, chiusura n. 1 del 05/03/2026 10:30"));

        // A VAT rate without a department: nothing goes out.
        const int requests = rig.rt.requests();
        QVERIFY(rig.sell({{"A", 1, 10, 0, 7}}, {cashTender(1000)}));
        QCOMPARE(rig.outcome.status, Status::Refused);
        QVERIFY(rig.outcome.message.contains(QStringLiteral("7%")));
        QCOMPARE(rig.rt.requests(), requests);

        RegisterSettings s = rig.device.settings();
        for (const QString &address :
             {QStringLiteral("127.0.0.1:1"), QStringLiteral("host:port"), QString()}) {
            s.address = address;
            rig.device.setSettings(s);
            QVERIFY(rig.sell({{"A", 1, 10, 0, 22}}, {cashTender(1000)}));
            QCOMPARE(rig.outcome.status, Status::Unreachable);
            QVERIFY2(rig.outcome.message.contains(address), qPrintable(rig.outcome.message));
        }
        QCOMPARE(rig.rt.receipts().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestEpsonRt)
#include "tst_epsonrt.moc"

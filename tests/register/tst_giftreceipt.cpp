// The gift receipt an RCH telematic register prints of its last document:
// the command on the wire, what the simulator records and the answers the
// device turns into outcomes.

#include "RchRtServer.h"
#include "RtRig.h"
#include "SimulatedRchRt.h"
#include "register/RchRtCommands.h"

using namespace corvale;
using namespace corvale::testing;
using sim::RchRtServer;
using sim::SimulatedRchRt;
using Status = FiscalOutcome::Status;

namespace {

using Rig = RtRig<SimulatedRchRt, RchRtServer>;

} // namespace

class TestGiftReceipt : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theCommandOnTheWire() {
        QCOMPARE(RchRtCommands::giftReceipt(), QByteArray("=C453/$2"));
        QCOMPARE(RchRtCommands::frame(0, RchRtCommands::giftReceipt()),
                 QByteArray("\x02"
                            "01008N=C453/$2030\x03"));
        // Only the RCH dialect has a copy of its own.
        QCOMPARE(RchRtDialect().giftReceipt(), QByteArray("=C453/$2"));
        QVERIFY(EpsonRtDialect().giftReceipt().isEmpty());
        QVERIFY(CustomRtDialect().giftReceipt().isEmpty());
    }

    // sales: receipts issued before the gift is asked; closeFirst: a Z
    // report between them.
    void giftOfTheLastDocument_data() {
        QTest::addColumn<int>("sales");
        QTest::addColumn<bool>("closeFirst");
        QTest::addColumn<Status>("status");
        QTest::addColumn<int>("copiedNumber"); // 0: nothing printed
        QTest::newRow("after one sale") << 1 << false << Status::Confirmed << 1;
        QTest::newRow("after the third sale") << 3 << false << Status::Confirmed << 3;
        QTest::newRow("nothing issued yet") << 0 << false << Status::Refused << 0;
        QTest::newRow("closed since the sale") << 1 << true << Status::Refused << 0;
    }
    void giftOfTheLastDocument() {
        QFETCH(int, sales);
        QFETCH(bool, closeFirst);
        QFETCH(Status, status);
        QFETCH(int, copiedNumber);
        Rig rig(RegisterSettings::rchRtBrand);
        for (int i = 0; i < sales; ++i)
            QVERIFY(rig.sell({{"MAGLIA", 1, 29.9, 0, 22}}, {cashTender(2990)}));
        if (closeFirst)
            QVERIFY(rig.run([&] { return rig.device.report(FiscalDevice::Report::Z); }));
        QVERIFY(rig.device.hasGiftReceipt());
        const qsizetype before = rig.rt.commands().size();
        QVERIFY(rig.run([&] { return rig.device.giftReceipt(); }));
        QCOMPARE(rig.outcome.status, status);
        // One request of one command: nothing else reaches the register.
        QCOMPARE(rig.rt.commands().mid(before), QList<QByteArray>{"=C453/$2"});
        const auto gifts = rig.rt.giftReceipts();
        QCOMPARE(gifts.size(), copiedNumber > 0 ? 1 : 0);
        if (copiedNumber > 0) {
            QCOMPARE(gifts.first().number, copiedNumber);
            QVERIFY(rig.outcome.message.isEmpty());
        } else {
            QCOMPARE(rig.outcome.message, NetworkFiscalDevice::refusalText("RCH G0003"));
        }
        // A copy is no document of the day: numbers and takings stay.
        QCOMPARE(rig.rt.receipts().size(), sales);
        QVERIFY(rig.run([&] { return rig.device.report(FiscalDevice::Report::X); }));
        QCOMPARE(rig.outcome.amount.cents(), qint64(closeFirst ? 0 : 2990 * sales));
        if (sales > 0 && !closeFirst) {
            QVERIFY(rig.sell({{"MAGLIA", 1, 29.9, 0, 22}}, {cashTender(2990)}));
            QCOMPARE(rig.outcome.document.number, sales + 1);
        }
    }

    void aRegisterWithoutItsOwnCopy() {
        NetworkFiscalDevice epson(std::make_unique<EpsonRtDialect>());
        QVERIFY(!epson.hasGiftReceipt());
        QVERIFY(!epson.giftReceipt());
        QVERIFY(!epson.isRunning());
    }

    void unreachable() {
        Rig rig(RegisterSettings::rchRtBrand);
        rig.setSettings([](RegisterSettings &s) { s.address = QStringLiteral("127.0.0.1:1"); });
        QVERIFY(rig.run([&] { return rig.device.giftReceipt(); }));
        QCOMPARE(rig.outcome.status, Status::Unreachable);
        QCOMPARE(rig.outcome.message, NetworkFiscalDevice::unreachableText("127.0.0.1:1"));
        QVERIFY(rig.rt.giftReceipts().isEmpty());
    }
};

QTEST_MAIN(TestGiftReceipt)
#include "tst_giftreceipt.moc"

#pragma once

// A receipt never printed twice, whatever answer is lost, by the registers
// that take Epson's documents over HTTP (the Epson and the Custom ones): the
// same faults, the same outcomes, the same requests counted.

#include "RtHttpServer.h"
#include "RtRig.h"
#include "SimulatedEpsonRt.h"

namespace corvale::testing {

using HttpRtFault = sim::SimulatedEpsonRt::Fault;

} // namespace corvale::testing

Q_DECLARE_METATYPE(corvale::testing::HttpRtFault)

namespace corvale::testing {

// The rows: what `addLostAnswerColumns` names, and the requests the register
// counts from the second sale on.
inline void addHttpRtLostAnswerRows() {
    using Fault = HttpRtFault;
    using Status = FiscalOutcome::Status;
    using sim::SimulatedEpsonRt;
    addLostAnswerColumns<Fault>();
    QTest::addColumn<int>("requests");

    QTest::newRow("answer lost after printing: the register's number is kept")
        << Fault::LostAfterPrint << 1 << 0 << Status::Confirmed << QString() << 1 << 3;
    QTest::newRow("malformed answer after printing")
        << Fault::MalformedXml << 1 << 0 << Status::Confirmed << QString() << 1 << 3;
    QTest::newRow("no answer, not printed: sent again once")
        << Fault::NoAnswer << 1 << 0 << Status::Confirmed << QString() << 1 << 4;
    QTest::newRow("no answer, no retry: not issued")
        << Fault::NoAnswer << 0 << 0 << Status::Unreachable << NetworkFiscalDevice::notIssuedText
        << 0 << 3;
    QTest::newRow("printed and the check unanswered: the operator verifies")
        << Fault::LostAfterPrint << 1 << 1 << Status::Unconfirmed
        << NetworkFiscalDevice::unconfirmedText << 1 << 3;
    QTest::newRow("not printed and the check unanswered: never sent again")
        << Fault::NoAnswer << 3 << 1 << Status::Unconfirmed << NetworkFiscalDevice::unconfirmedText
        << 0 << 3;
    QTest::newRow("paper out") << Fault::PaperOut << 1 << 0 << Status::Refused
                               << NetworkFiscalDevice::refusalText(SimulatedEpsonRt::paperOutCode)
                               << 0 << 2;
    QTest::newRow("cover open") << Fault::CoverOpen << 1 << 0 << Status::Refused
                                << NetworkFiscalDevice::refusalText(SimulatedEpsonRt::coverOpenCode)
                                << 0 << 2;
}

// One row: an earlier sale, then a second one whose answer goes wrong.
template <typename Simulator> void checkHttpRtLostAnswer(int brand) {
    QFETCH(HttpRtFault, fault);
    QFETCH(int, retries);
    QFETCH(int, silentQueries);
    QFETCH(int, requests);

    RtRig<Simulator, sim::RtHttpServer> rig(brand, retries);
    rig.describeAfterAnEarlierSale(fault);
    if (QTest::currentTestFailed())
        return;
    const int requestsBefore = rig.rt.requests();
    // The check after a lost answer is the second query of this receipt.
    if (silentQueries > 0)
        QObject::connect(&rig.server, &sim::RtHttpServer::requestHandled, &rig.device,
                         [&rig, silentQueries, n = 0](const QString &) mutable {
                             if (++n == 2)
                                 rig.rt.silenceQueries(silentQueries);
                         });
    QVERIFY(rig.run([&] { return rig.device.end(); }));
    rig.checkSecondSale();
    if (QTest::currentTestFailed())
        return;
    // A request left unanswered by the register is still counted by it.
    QCOMPARE(rig.rt.requests() - requestsBefore, requests);
}

} // namespace corvale::testing

#pragma once

// The cases of the registers that take Epson's documents over HTTP (the
// Epson and the Custom ones): whole sales element by element, written each
// make's way, and a receipt never printed twice whatever answer is lost (the
// same faults, the same outcomes, the same requests counted).

#include "RtHttpServer.h"
#include "RtRig.h"
#include "SimulatedEpsonRt.h"

namespace corvale::testing {

using HttpRtFault = sim::SimulatedEpsonRt::Fault;

} // namespace corvale::testing

Q_DECLARE_METATYPE(corvale::testing::HttpRtFault)

namespace corvale::testing {

// How a make writes a receipt's elements: with their justification or
// without, and the element that carries the lottery code.
struct HttpRtElements {
    bool justified = true;
    QString lotteryElement;

    QString justify(const QString &element, int justification = 1) const {
        return justified ? element + QStringLiteral(" justification=%1").arg(justification)
                         : element;
    }
    QString item(const char *d, const char *q, const char *p, int dept) const {
        return justify(QStringLiteral("printRecItem operator=1 description=%1 quantity=%2 "
                                      "unitPrice=%3 department=%4")
                           .arg(QString::fromUtf8(d), QLatin1String(q), QLatin1String(p))
                           .arg(dept));
    }
    QString total(const char *d, const char *paid, int type, int index) const {
        return justify(QStringLiteral("printRecTotal operator=1 description=%1 payment=%2 "
                                      "paymentType=%3 index=%4")
                           .arg(QLatin1String(d), QLatin1String(paid))
                           .arg(type)
                           .arg(index),
                       2);
    }
    QString lineDiscount(const char *percent, const char *amount, int dept) const {
        return justify(QStringLiteral("printRecItemAdjustment operator=1 adjustmentType=0 "
                                      "description=SCONTO %1% amount=%2 department=%3")
                           .arg(QLatin1String(percent), QLatin1String(amount))
                           .arg(dept));
    }
    QString subtotalDiscount(const char *percent, const char *amount) const {
        return justify(QStringLiteral("printRecSubtotalAdjustment operator=1 adjustmentType=1 "
                                      "description=SCONTO %1% amount=%2")
                           .arg(QLatin1String(percent), QLatin1String(amount)));
    }
};

// The rows of whole sales: `addRtSaleColumns`, the elements the register
// receives and the amount it gives back.
inline void addHttpRtSaleRows(const HttpRtElements &e) {
    addRtSaleColumns();
    QTest::addColumn<QStringList>("elements");
    QTest::addColumn<qint64>("amount");

    const QString begin = QStringLiteral("beginFiscalReceipt operator=1");
    const QString end = QStringLiteral("endFiscalReceipt operator=1");
    const std::optional<double> none;

    QTest::newRow("cash") << QList<RtSaleLine>{{"MAGLIA", 1, 29.9, 0, 22}} << 0.0
                          << QList<Tender>{cashTender(2990)} << none << QString() << QString()
                          << QStringList{begin, e.item("MAGLIA", "1", "29,90", 1),
                                         e.total("CONTANTI", "29,90", 0, 0), end}
                          << qint64(2990);
    QTest::newRow("cash with change")
        << QList<RtSaleLine>{{"MAGLIA", 1, 29.9, 0, 22}} << 0.0 << QList<Tender>{cashTender(2990)}
        << std::optional<double>(50) << QString() << QString()
        << QStringList{begin, e.item("MAGLIA", "1", "29,90", 1), e.total("CONTANTI", "50,00", 0, 0),
                       end}
        << qint64(2990);
    QTest::newRow("card") << QList<RtSaleLine>{{"CALZE", 2, 15, 0, 10}} << 0.0
                          << QList<Tender>{cardTender(3000)} << none << QString() << QString()
                          << QStringList{begin, e.item("CALZE", "2", "15,00", 2),
                                         e.total("ELETTRONICO", "30,00", 2, 1), end}
                          << qint64(3000);
    QTest::newRow("split, change on the cash part")
        << QList<RtSaleLine>{{"GIACCA", 1, 50, 0, 22}, {"CINTURA", 1, 20, 0, 22}} << 0.0
        << QList<Tender>{cardTender(4000), cashTender(3000)} << std::optional<double>(50)
        << QString() << QString()
        << QStringList{begin,
                       e.item("GIACCA", "1", "50,00", 1),
                       e.item("CINTURA", "1", "20,00", 1),
                       e.total("ELETTRONICO", "40,00", 2, 1),
                       e.total("CONTANTI", "50,00", 0, 0),
                       end}
        << qint64(7000);
    QTest::newRow("lottery and codice fiscale")
        << QList<RtSaleLine>{{"SCARPE", 1, 89, 0, 22}} << 0.0 << QList<Tender>{cardTender(8900)}
        << none << QStringLiteral("AB12CD34") << QStringLiteral("RSSMRA80A01H501U")
        << QStringList{begin,
                       e.item("SCARPE", "1", "89,00", 1),
                       e.lotteryElement + QStringLiteral(" operator=1 code=AB12CD34"),
                       QStringLiteral("printRecMessage operator=1 messageType=4 "
                                      "message=C.F. CLIENTE: RSSMRA80A01H501U"),
                       e.total("ELETTRONICO", "89,00", 2, 1),
                       end}
        << qint64(8900);
    QTest::newRow("line discount")
        << QList<RtSaleLine>{{"MAGLIA", 1, 29.9, 10, 22}, {"POLO", 3, 12.5, 33.33, 4}} << 0.0
        << QList<Tender>{cashTender(5191)} << none << QString() << QString()
        << QStringList{begin,
                       e.item("MAGLIA", "1", "29,90", 1),
                       e.lineDiscount("10", "2,99", 1),
                       e.item("POLO", "3", "12,50", 4),
                       e.lineDiscount("33,33", "12,50", 4),
                       e.total("CONTANTI", "51,91", 0, 0),
                       end}
        << qint64(5191);
    QTest::newRow("subtotal discount")
        << QList<RtSaleLine>{{"GONNA", 1, 20, 0, 22}, {"ABITO", 1, 30, 0, 22}} << 10.0
        << QList<Tender>{cashTender(4500)} << none << QString() << QString()
        << QStringList{begin,
                       e.item("GONNA", "1", "20,00", 1),
                       e.item("ABITO", "1", "30,00", 1),
                       e.subtotalDiscount("10", "5,00"),
                       e.total("CONTANTI", "45,00", 0, 0),
                       end}
        << qint64(4500);
    QTest::newRow("line and subtotal discounts")
        << QList<RtSaleLine>{{"MAGLIA", 1, 29.9, 10, 22}, {"POLO", 3, 12.5, 0, 4}} << 10.0
        << QList<Tender>{cashTender(5797)} << none << QString() << QString()
        << QStringList{begin,
                       e.item("MAGLIA", "1", "29,90", 1),
                       e.lineDiscount("10", "2,99", 1),
                       e.item("POLO", "3", "12,50", 4),
                       e.subtotalDiscount("10", "6,44"),
                       e.total("CONTANTI", "57,97", 0, 0),
                       end}
        << qint64(5797);
    QTest::newRow("text the register cannot print")
        << QList<RtSaleLine>{{"T-SHIRT \"BIG\" <XL> & CO\tFINE PIÙ LUNGA DI TRENTOTTO CARATTERI", 1,
                              9.99, 0, 22}}
        << 0.0 << QList<Tender>{cashTender(999)} << none << QString() << QString()
        << QStringList{begin, e.item("T-SHIRT \"BIG\" <XL> & CO FINE PIÙ LUNGA", "1", "9,99", 1),
                       e.total("CONTANTI", "9,99", 0, 0), end}
        << qint64(999);
}

// One row: the sale issued twice, each time confirmed, and the first
// receipt as the register took it.
template <typename Simulator> void checkHttpRtSale(int brand, const QString &serial) {
    QFETCH(QStringList, elements);
    QFETCH(qint64, amount);

    RtRig<Simulator, sim::RtHttpServer> rig(brand);
    rig.sellRowTwice(serial, amount);
    if (QTest::currentTestFailed())
        return;
    const auto printed = rig.rt.receipts();
    QCOMPARE(printed.size(), 2);
    QCOMPARE(printed.at(0).lines(), elements);
    QCOMPARE(printed.at(0).total.cents(), amount);
}

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

// Whole documents to the Epson telematic register simulator over HTTP: what
// the register receives, element by element, the numbers it gives back, and
// a receipt never printed twice whatever answer is lost.

#include "HttpRtLostAnswers.h"
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
        addRtSaleColumns();
        QTest::addColumn<QStringList>("elements");
        QTest::addColumn<qint64>("total");

        const QString begin = QStringLiteral("beginFiscalReceipt operator=1");
        const QString end = QStringLiteral("endFiscalReceipt operator=1");
        auto item = [](const char *d, const char *q, const char *p, int dept) {
            return QStringLiteral("printRecItem operator=1 description=%1 quantity=%2 "
                                  "unitPrice=%3 department=%4 justification=1")
                .arg(QString::fromUtf8(d), QLatin1String(q), QLatin1String(p))
                .arg(dept);
        };
        auto total = [](const char *d, const char *paid, int type, int index) {
            return QStringLiteral("printRecTotal operator=1 description=%1 payment=%2 "
                                  "paymentType=%3 index=%4 justification=2")
                .arg(QLatin1String(d), QLatin1String(paid))
                .arg(type)
                .arg(index);
        };
        const std::optional<double> none;

        QTest::newRow("cash") << QList<RtSaleLine>{{"MAGLIA", 1, 29.9, 0, 22}} << 0.0
                              << QList<Tender>{cashTender(2990)} << none << QString() << QString()
                              << QStringList{begin, item("MAGLIA", "1", "29,90", 1),
                                             total("CONTANTI", "29,90", 0, 0), end}
                              << qint64(2990);
        QTest::newRow("cash with change") << QList<RtSaleLine>{{"MAGLIA", 1, 29.9, 0, 22}} << 0.0
                                          << QList<Tender>{cashTender(2990)}
                                          << std::optional<double>(50) << QString() << QString()
                                          << QStringList{begin, item("MAGLIA", "1", "29,90", 1),
                                                         total("CONTANTI", "50,00", 0, 0), end}
                                          << qint64(2990);
        QTest::newRow("card") << QList<RtSaleLine>{{"CALZE", 2, 15, 0, 10}} << 0.0
                              << QList<Tender>{cardTender(3000)} << none << QString() << QString()
                              << QStringList{begin, item("CALZE", "2", "15,00", 2),
                                             total("ELETTRONICO", "30,00", 2, 1), end}
                              << qint64(3000);
        QTest::newRow("split, change on the cash part")
            << QList<RtSaleLine>{{"GIACCA", 1, 50, 0, 22}, {"CINTURA", 1, 20, 0, 22}} << 0.0
            << QList<Tender>{cardTender(4000), cashTender(3000)} << std::optional<double>(50)
            << QString() << QString()
            << QStringList{begin,
                           item("GIACCA", "1", "50,00", 1),
                           item("CINTURA", "1", "20,00", 1),
                           total("ELETTRONICO", "40,00", 2, 1),
                           total("CONTANTI", "50,00", 0, 0),
                           end}
            << qint64(7000);
        QTest::newRow("lottery and codice fiscale")
            << QList<RtSaleLine>{{"SCARPE", 1, 89, 0, 22}} << 0.0 << QList<Tender>{cardTender(8900)}
            << none << QStringLiteral("AB12CD34") << QStringLiteral("RSSMRA80A01H501U")
            << QStringList{begin,
                           item("SCARPE", "1", "89,00", 1),
                           QStringLiteral("printRecLotteryID operator=1 code=AB12CD34"),
                           QStringLiteral("printRecMessage operator=1 messageType=4 "
                                          "message=C.F. CLIENTE: RSSMRA80A01H501U"),
                           total("ELETTRONICO", "89,00", 2, 1),
                           end}
            << qint64(8900);
        QTest::newRow("line discount")
            << QList<RtSaleLine>{{"MAGLIA", 1, 29.9, 10, 22}, {"POLO", 3, 12.5, 33.33, 4}} << 0.0
            << QList<Tender>{cashTender(5191)} << none << QString() << QString()
            << QStringList{begin,
                           item("MAGLIA", "1", "29,90", 1),
                           QStringLiteral("printRecItemAdjustment operator=1 adjustmentType=0 "
                                          "description=SCONTO 10% amount=2,99 department=1 "
                                          "justification=1"),
                           item("POLO", "3", "12,50", 4),
                           QStringLiteral("printRecItemAdjustment operator=1 adjustmentType=0 "
                                          "description=SCONTO 33,33% amount=12,50 department=4 "
                                          "justification=1"),
                           total("CONTANTI", "51,91", 0, 0),
                           end}
            << qint64(5191);
        QTest::newRow("subtotal discount")
            << QList<RtSaleLine>{{"GONNA", 1, 20, 0, 22}, {"ABITO", 1, 30, 0, 22}} << 10.0
            << QList<Tender>{cashTender(4500)} << none << QString() << QString()
            << QStringList{begin,
                           item("GONNA", "1", "20,00", 1),
                           item("ABITO", "1", "30,00", 1),
                           QStringLiteral("printRecSubtotalAdjustment operator=1 "
                                          "adjustmentType=1 description=SCONTO 10% amount=5,00 "
                                          "justification=1"),
                           total("CONTANTI", "45,00", 0, 0),
                           end}
            << qint64(4500);
        QTest::newRow("text the register cannot print")
            << QList<
                   RtSaleLine>{{"T-SHIRT \"BIG\" <XL> & CO\tFINE PIÙ LUNGA DI TRENTOTTO CARATTERI",
                                1, 9.99, 0, 22}}
            << 0.0 << QList<Tender>{cashTender(999)} << none << QString() << QString()
            << QStringList{begin, item("T-SHIRT \"BIG\" <XL> & CO FINE PIÙ LUNGA", "1", "9,99", 1),
                           total("CONTANTI", "9,99", 0, 0), end}
            << qint64(999);
    }
    void wholeSalesReachTheRegisterElementByElement() {
        QFETCH(QStringList, elements);
        QFETCH(qint64, total);

        Rig rig(RegisterSettings::epsonRtBrand);
        rig.sellRowTwice(QStringLiteral("99MEX000001"), total);
        if (QTest::currentTestFailed())
            return;
        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed.at(0).lines(), elements);
        QCOMPARE(printed.at(0).total.cents(), total);
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

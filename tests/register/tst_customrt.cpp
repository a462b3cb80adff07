// Whole documents to the Custom telematic register simulator over HTTP: the
// documents element by element (no SOAP envelope, "setLotteryCode", no
// justification), basic authentication, the numbers it gives back, and a
// receipt never printed twice whatever answer is lost.

#include "HttpRtCases.h"
#include "RtHttpServer.h"
#include "RtRig.h"
#include "SimulatedCustomRt.h"

using namespace corvale;
using namespace corvale::testing;
using sim::RtHttpServer;
using sim::SimulatedCustomRt;
using Status = FiscalOutcome::Status;

namespace {

using Rig = RtRig<SimulatedCustomRt, RtHttpServer>;

const QString begin = QStringLiteral("beginFiscalReceipt operator=1");
const QString end = QStringLiteral("endFiscalReceipt operator=1");

} // namespace

class TestCustomRt : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeSalesReachTheRegisterElementByElement_data() {
        addHttpRtSaleRows({false, QStringLiteral("setLotteryCode")});
    }
    void wholeSalesReachTheRegisterElementByElement() {
        checkHttpRtSale<SimulatedCustomRt>(RegisterSettings::customRtBrand,
                                           QStringLiteral("STMTE100001"));
    }

    // The documents themselves: bare XML, no envelope, to the Custom path.
    void documentsAreBareXml() {
        CustomRtDialect dialect;
        QCOMPARE(dialect.target(5000), QStringLiteral("/xml/printer.htm"));
        QCOMPARE(dialect.report(FiscalDevice::Report::Z),
                 QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<printerFiscalReport>"
                            "<printZReport operator=\"1\"/></printerFiscalReport>"));
        QCOMPARE(dialect.statusQuery(),
                 QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<printerCommand>"
                            "<queryPrinterStatus operator=\"1\" statusType=\"1\"/>"
                            "</printerCommand>"));
        EpsonRtDialect epson;
        QVERIFY(epson.target(5000).endsWith(QStringLiteral("?timeout=5000")));
        QVERIFY(epson.statusQuery().contains("<s:Envelope"));
    }

    void basicAuthentication_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<Status>("status");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("refused");
        QTest::newRow("right") << QStringLiteral("cassa") << QStringLiteral("s3gr:eta")
                               << Status::Confirmed << QString() << 0;
        QTest::newRow("wrong password")
            << QStringLiteral("cassa") << QStringLiteral("x") << Status::Refused
            << NetworkFiscalDevice::credentialsText << 1;
        QTest::newRow("none") << QString() << QString() << Status::Refused
                              << NetworkFiscalDevice::credentialsText << 1;
    }
    void basicAuthentication() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(Status, status);
        QFETCH(QString, message);
        QFETCH(int, refused);
        Rig rig(RegisterSettings::customRtBrand);
        rig.server.setCredentials(QStringLiteral("cassa"), QStringLiteral("s3gr:eta"));
        rig.setSettings([&](RegisterSettings &s) {
            s.user = user;
            s.password = password;
        });
        QVERIFY(rig.sell({{"A", 1, 10, 0, 22}}, {cashTender(1000)}));
        QCOMPARE(rig.outcome.status, status);
        QCOMPARE(rig.outcome.message, message);
        QCOMPARE(rig.rt.receipts().size(), status == Status::Confirmed ? 1 : 0);
        QCOMPARE(rig.server.refusedForCredentials(), refused);
    }

    void aReceiptIsNeverPrintedTwice_data() { addHttpRtLostAnswerRows(); }
    void aReceiptIsNeverPrintedTwice() {
        checkHttpRtLostAnswer<SimulatedCustomRt>(RegisterSettings::customRtBrand);
    }

    // A void quotes closure, number, date and serial; the Z report closes the day.
    // A return of one line quotes the receipt, refunds the line and counts
    // against the day in the Z report.
    void returnQuotesTheReceipt() {
        Rig rig(RegisterSettings::customRtBrand);
        rig.rt.setClosure(12);
        QVERIFY(
            rig.sell({{"GIACCA", 1, 50, 0, 22}, {"CINTURA", 1, 20, 0, 22}}, {cashTender(7000)}));
        const FiscalDocumentRef sold = rig.outcome.document;
        rig.describe({{"CINTURA", 1, 20, 0, 22}}, 0, {cashTender(2000)}, {}, {}, {},
                     FiscalDocument::Kind::Return, sold);
        QVERIFY(rig.run([&] { return rig.device.end(); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.document.number, 2);
        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed.at(1).kind, sim::SimulatedEpsonRt::Document::Kind::Return);
        const QStringList lines = printed.at(1).lines();
        QCOMPARE(lines.first(), QStringLiteral("printRecMessage operator=1 messageType=4 "
                                               "message=REFUND 0012 0001 05032026 STMTE100001"));
        QCOMPARE(lines.filter(QStringLiteral("printRecRefund ")).size(), 1);
        QVERIFY(lines.filter(QStringLiteral("printRecRefund "))
                    .first()
                    .contains(QStringLiteral("description=CINTURA")));
        QVERIFY(lines.filter(QStringLiteral("GIACCA")).isEmpty());

        QVERIFY(rig.run([&] { return rig.device.report(FiscalDevice::Report::Z); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.amount.cents(), qint64(5000));
    }
    void voidAndClosure() {
        Rig rig(RegisterSettings::customRtBrand);
        rig.rt.setClosure(12);
        QVERIFY(rig.sell({{"A", 1, 10, 0, 22}}, {cashTender(1000)}));
        QVERIFY(rig.sell({{"B", 2, 5, 0, 10}}, {cardTender(1000)}));
        const FiscalDocumentRef sold = rig.outcome.document;
        rig.describe({}, 0, {}, {}, {}, {}, FiscalDocument::Kind::Void, sold);
        QVERIFY(rig.run([&] { return rig.device.end(); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.document.number, 3);
        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 3);
        QCOMPARE(printed.at(2).kind, sim::SimulatedEpsonRt::Document::Kind::Void);
        QCOMPARE(printed.at(2).lines(),
                 (QStringList{QStringLiteral("printRecMessage operator=1 messageType=4 "
                                             "message=VOID 0012 0002 05032026 STMTE100001"),
                              begin, end}));

        QVERIFY(rig.run([&] { return rig.device.report(FiscalDevice::Report::Z); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.document.closure, 12);
        QCOMPARE(rig.outcome.amount.cents(), qint64(2000));
        QCOMPARE(rig.rt.closure(), 13);
        QVERIFY(rig.sell({{"C", 1, 10, 0, 22}}, {cashTender(1000)}));
        QCOMPARE(rig.outcome.document.number, 1);
        QCOMPARE(rig.outcome.document.closure, 13);
    }
};

QTEST_GUILESS_MAIN(TestCustomRt)
#include "tst_customrt.moc"

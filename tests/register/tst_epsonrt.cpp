// Whole documents to the Epson telematic register simulator over HTTP: what
// the register receives, element by element, the numbers it gives back, and
// a receipt never printed twice whatever answer is lost.

#include "RtHttpServer.h"
#include "SimulatedEpsonRt.h"
#include "register/NetworkFiscalDevice.h"
#include "register/ReceiptBuilder.h"

#include <QTest>

using namespace corvale;
using sim::RtHttpServer;
using sim::SimulatedEpsonRt;
using Fault = SimulatedEpsonRt::Fault;
using Status = FiscalOutcome::Status;

namespace {

const QDateTime shopTime(QDate(2026, 3, 5), QTime(10, 30, 0));

struct SaleLine {
    const char *description;
    double quantity;
    double price;
    double discount;
    double vat;
};

struct Rig {
    SimulatedEpsonRt rt;
    RtHttpServer server{rt};
    NetworkFiscalDevice device{std::make_unique<EpsonRtDialect>()};
    FiscalOutcome outcome;
    int outcomes = 0;

    explicit Rig(int retries = 1) {
        rt.setClock([] { return shopTime; });
        rt.setLastClosure(shopTime.addSecs(-3600));
        server.listen();
        RegisterSettings s;
        s.brand = RegisterSettings::epsonRtBrand;
        s.address = server.address();
        s.networkTimeout = 400;
        s.networkRetries = retries;
        s.departments = RegisterSettings::defaultDepartments();
        device.setSettings(s);
        QObject::connect(&device, &FiscalDevice::finished, &device, [this](const FiscalOutcome &o) {
            outcome = o;
            ++outcomes;
        });
    }

    void describe(const QList<SaleLine> &lines, double saleDiscount, const QList<Tender> &tenders,
                  std::optional<double> cash = {}, const QString &lottery = {},
                  const QString &taxCode = {}) {
        device.begin();
        double gross = 0;
        for (const SaleLine &l : lines) {
            const double amount = ReceiptBuilder::lineAmount(l.quantity, l.price, l.discount);
            device.line(QString::fromUtf8(l.description), l.quantity, l.price, l.vat, amount);
            if (l.discount != 0)
                device.lineDiscount(l.discount, amount);
            gross += amount;
        }
        const double net = ReceiptBuilder::netTotal(gross, saleDiscount);
        device.subtotalDiscount(saleDiscount, gross - net, net);
        device.lotteryCode(lottery);
        device.customerTaxCode(taxCode);
        for (const Tender &t : tenders)
            device.payment(t.type, t.amount);
        if (cash)
            device.cashGiven(*cash);
    }

    // Waits for the answer to what `start` began.
    bool run(const std::function<bool()> &start) {
        const int before = outcomes;
        if (!start())
            return false;
        (void)QTest::qWaitFor([&] { return outcomes > before; }, 15000);
        return outcomes == before + 1 && !device.isRunning();
    }
    bool sell(const QList<SaleLine> &lines, const QList<Tender> &tenders) {
        describe(lines, 0, tenders);
        return run([&] { return device.end(); });
    }
};

Tender cash(qint64 cents) {
    return {PaymentType::Cash, Money::fromCents(cents)};
}
Tender card(qint64 cents) {
    return {PaymentType::Card, Money::fromCents(cents)};
}

} // namespace

Q_DECLARE_METATYPE(QList<SaleLine>)
Q_DECLARE_METATYPE(QList<corvale::Tender>)
Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Status)

class TestEpsonRt : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeSalesReachTheRegisterElementByElement_data() {
        QTest::addColumn<QList<SaleLine>>("lines");
        QTest::addColumn<double>("saleDiscount");
        QTest::addColumn<QList<Tender>>("tenders");
        QTest::addColumn<std::optional<double>>("cashGiven");
        QTest::addColumn<QString>("lottery");
        QTest::addColumn<QString>("taxCode");
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

        QTest::newRow("cash") << QList<SaleLine>{{"MAGLIA", 1, 29.9, 0, 22}} << 0.0
                              << QList<Tender>{cash(2990)} << none << QString() << QString()
                              << QStringList{begin, item("MAGLIA", "1", "29,90", 1),
                                             total("CONTANTI", "29,90", 0, 0), end}
                              << qint64(2990);
        QTest::newRow("cash with change")
            << QList<SaleLine>{{"MAGLIA", 1, 29.9, 0, 22}} << 0.0 << QList<Tender>{cash(2990)}
            << std::optional<double>(50) << QString() << QString()
            << QStringList{begin, item("MAGLIA", "1", "29,90", 1), total("CONTANTI", "50,00", 0, 0),
                           end}
            << qint64(2990);
        QTest::newRow("card") << QList<SaleLine>{{"CALZE", 2, 15, 0, 10}} << 0.0
                              << QList<Tender>{card(3000)} << none << QString() << QString()
                              << QStringList{begin, item("CALZE", "2", "15,00", 2),
                                             total("ELETTRONICO", "30,00", 2, 1), end}
                              << qint64(3000);
        QTest::newRow("split, change on the cash part")
            << QList<SaleLine>{{"GIACCA", 1, 50, 0, 22}, {"CINTURA", 1, 20, 0, 22}} << 0.0
            << QList<Tender>{card(4000), cash(3000)} << std::optional<double>(50) << QString()
            << QString()
            << QStringList{begin,
                           item("GIACCA", "1", "50,00", 1),
                           item("CINTURA", "1", "20,00", 1),
                           total("ELETTRONICO", "40,00", 2, 1),
                           total("CONTANTI", "50,00", 0, 0),
                           end}
            << qint64(7000);
        QTest::newRow("lottery and codice fiscale")
            << QList<SaleLine>{{"SCARPE", 1, 89, 0, 22}} << 0.0 << QList<Tender>{card(8900)} << none
            << QStringLiteral("AB12CD34") << QStringLiteral("RSSMRA80A01H501U")
            << QStringList{begin,
                           item("SCARPE", "1", "89,00", 1),
                           QStringLiteral("printRecLotteryID operator=1 code=AB12CD34"),
                           QStringLiteral("printRecMessage operator=1 messageType=4 "
                                          "message=C.F. CLIENTE: RSSMRA80A01H501U"),
                           total("ELETTRONICO", "89,00", 2, 1),
                           end}
            << qint64(8900);
        QTest::newRow("line discount")
            << QList<SaleLine>{{"MAGLIA", 1, 29.9, 10, 22}, {"POLO", 3, 12.5, 33.33, 4}} << 0.0
            << QList<Tender>{cash(5191)} << none << QString() << QString()
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
            << QList<SaleLine>{{"GONNA", 1, 20, 0, 22}, {"ABITO", 1, 30, 0, 22}} << 10.0
            << QList<Tender>{cash(4500)} << none << QString() << QString()
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
            << QList<SaleLine>{{"T-SHIRT \"BIG\" <XL> & CO\tFINE PIÙ LUNGA DI TRENTOTTO CARATTERI",
                                1, 9.99, 0, 22}}
            << 0.0 << QList<Tender>{cash(999)} << none << QString() << QString()
            << QStringList{begin, item("T-SHIRT \"BIG\" <XL> & CO FINE PIÙ LUNGA", "1", "9,99", 1),
                           total("CONTANTI", "9,99", 0, 0), end}
            << qint64(999);
    }
    void wholeSalesReachTheRegisterElementByElement() {
        QFETCH(QList<SaleLine>, lines);
        QFETCH(double, saleDiscount);
        QFETCH(QList<Tender>, tenders);
        QFETCH(std::optional<double>, cashGiven);
        QFETCH(QString, lottery);
        QFETCH(QString, taxCode);
        QFETCH(QStringList, elements);
        QFETCH(qint64, total);

        Rig rig;
        rig.rt.setClosure(7);
        for (int n = 1; n <= 2; ++n) {
            rig.describe(lines, saleDiscount, tenders, cashGiven, lottery, taxCode);
            QVERIFY(rig.run([&] { return rig.device.end(); }));
            QCOMPARE(rig.outcome.status, Status::Confirmed);
            QCOMPARE(rig.outcome.document.number, n);
            QCOMPARE(rig.outcome.document.closure, 7);
            QCOMPARE(rig.outcome.document.serial, QStringLiteral("99MEX000001"));
            QCOMPARE(rig.outcome.document.dateTime, shopTime);
            QCOMPARE(rig.outcome.amount.cents(), total);
        }
        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed.at(0).lines(), elements);
        QCOMPARE(printed.at(0).total.cents(), total);
    }

    void aReceiptIsNeverPrintedTwice_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("retries");
        QTest::addColumn<int>("silentQueries");
        QTest::addColumn<Status>("status");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("printed");
        QTest::addColumn<int>("requests");

        QTest::newRow("answer lost after printing: the register's number is kept")
            << Fault::LostAfterPrint << 1 << 0 << Status::Confirmed << QString() << 1 << 3;
        QTest::newRow("malformed answer after printing")
            << Fault::MalformedXml << 1 << 0 << Status::Confirmed << QString() << 1 << 3;
        QTest::newRow("no answer, not printed: sent again once")
            << Fault::NoAnswer << 1 << 0 << Status::Confirmed << QString() << 1 << 4;
        QTest::newRow("no answer, no retry: not issued")
            << Fault::NoAnswer << 0 << 0 << Status::Unreachable
            << NetworkFiscalDevice::notIssuedText << 0 << 3;
        QTest::newRow("printed and the check unanswered: the operator verifies")
            << Fault::LostAfterPrint << 1 << 1 << Status::Unconfirmed
            << NetworkFiscalDevice::unconfirmedText << 1 << 3;
        QTest::newRow("not printed and the check unanswered: never sent again")
            << Fault::NoAnswer << 3 << 1 << Status::Unconfirmed
            << NetworkFiscalDevice::unconfirmedText << 0 << 3;
        QTest::newRow("paper out")
            << Fault::PaperOut << 1 << 0 << Status::Refused
            << NetworkFiscalDevice::refusalText(SimulatedEpsonRt::paperOutCode) << 0 << 2;
        QTest::newRow("cover open")
            << Fault::CoverOpen << 1 << 0 << Status::Refused
            << NetworkFiscalDevice::refusalText(SimulatedEpsonRt::coverOpenCode) << 0 << 2;
    }
    void aReceiptIsNeverPrintedTwice() {
        QFETCH(Fault, fault);
        QFETCH(int, retries);
        QFETCH(int, silentQueries);
        QFETCH(Status, status);
        QFETCH(QString, message);
        QFETCH(int, printed);
        QFETCH(int, requests);

        Rig rig(retries);
        // An earlier sale of the day: the check compares with the last number.
        QVERIFY(rig.sell({{"PRIMA", 1, 5, 0, 22}}, {cash(500)}));
        rig.rt.failReceipts(fault, 1);
        const int requestsBefore = rig.rt.requests();
        rig.describe({{"MAGLIA", 1, 29.9, 0, 22}}, 0, {cash(2990)});
        // The check after a lost answer is the second query of this receipt.
        if (silentQueries > 0)
            QObject::connect(&rig.server, &RtHttpServer::requestHandled, &rig.device,
                             [&rig, silentQueries, n = 0](const QString &) mutable {
                                 if (++n == 2)
                                     rig.rt.silenceQueries(silentQueries);
                             });
        QVERIFY(rig.run([&] { return rig.device.end(); }));
        QCOMPARE(rig.outcome.status, status);
        QCOMPARE(rig.outcome.message, message);
        QCOMPARE(rig.rt.receipts().size(), 1 + printed);
        if (status == Status::Confirmed) {
            QCOMPARE(rig.outcome.document.number, 2);
            QCOMPARE(rig.outcome.amount.cents(), qint64(2990));
        }
        // A request left unanswered by the register is still counted by it.
        QCOMPARE(rig.rt.requests() - requestsBefore, requests);
    }

    void theClosureDecidesWhatTheRegisterTakes() {
        Rig rig;
        rig.rt.setClosure(3);
        QVERIFY(rig.sell({{"A", 1, 10, 0, 22}}, {cash(1000)}));
        QVERIFY(rig.sell({{"B", 2, 5, 0, 10}}, {card(1000)}));

        QVERIFY(rig.run([&] { return rig.device.report(FiscalDevice::Report::X); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.amount.cents(), qint64(2000));
        QCOMPARE(rig.rt.closure(), 3);

        // More than 24 hours after the last closure the register refuses sales.
        rig.rt.setLastClosure(shopTime.addSecs(-25 * 3600));
        QVERIFY(rig.sell({{"C", 1, 10, 0, 22}}, {cash(1000)}));
        QCOMPARE(rig.outcome.status, Status::Refused);
        QCOMPARE(rig.outcome.message,
                 NetworkFiscalDevice::refusalText(SimulatedEpsonRt::closureOverdueCode));

        QVERIFY(rig.run([&] { return rig.device.report(FiscalDevice::Report::Z); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.document.closure, 3);
        QCOMPARE(rig.outcome.amount.cents(), qint64(2000));
        QCOMPARE(rig.rt.closure(), 4);

        QVERIFY(rig.sell({{"C", 1, 10, 0, 22}}, {cash(1000)}));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.document.number, 1);
        QCOMPARE(rig.outcome.document.closure, 4);
    }

    void statusAndUnreachableRegisters() {
        Rig rig;
        QVERIFY(rig.sell({{"A", 1, 10, 0, 22}}, {cash(1000)}));
        QVERIFY(rig.run([&] { return rig.device.queryStatus(); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.deviceStatus,
                 QStringLiteral("Registratore pronto.\rMatricola: 99MEX000001\rUltimo documento: "
                                "n. 1, chiusura n. 1 del 05/03/2026 10:30"));

        // A VAT rate without a department: nothing goes out.
        const int requests = rig.rt.requests();
        QVERIFY(rig.sell({{"A", 1, 10, 0, 7}}, {cash(1000)}));
        QCOMPARE(rig.outcome.status, Status::Refused);
        QVERIFY(rig.outcome.message.contains(QStringLiteral("7%")));
        QCOMPARE(rig.rt.requests(), requests);

        RegisterSettings s = rig.device.settings();
        for (const QString &address :
             {QStringLiteral("127.0.0.1:1"), QStringLiteral("host:port"), QString()}) {
            s.address = address;
            rig.device.setSettings(s);
            QVERIFY(rig.sell({{"A", 1, 10, 0, 22}}, {cash(1000)}));
            QCOMPARE(rig.outcome.status, Status::Unreachable);
            QVERIFY2(rig.outcome.message.contains(address), qPrintable(rig.outcome.message));
        }
        QCOMPARE(rig.rt.receipts().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestEpsonRt)
#include "tst_epsonrt.moc"

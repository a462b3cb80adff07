#pragma once

// A telematic register simulator served on a local port and the device that
// talks to it, for the tests of each make.

#include "register/NetworkFiscalDevice.h"
#include "register/ReceiptBuilder.h"

#include <QSignalSpy>
#include <QTest>

#include <type_traits>

namespace corvale::testing {

inline const QDateTime rtShopTime(QDate(2026, 3, 5), QTime(10, 30, 0));

struct RtSaleLine {
    const char *description;
    double quantity;
    double price;
    double discount;
    double vat;
    // Sold at a campaign's price: the lowest price of the 30 days before it.
    double previous = 0;
    int percent = 0;
    const char *campaign = "";
};

// The columns of a whole sale, as `RtRig::sellRowTwice` reads them.
inline void addRtSaleColumns() {
    QTest::addColumn<QList<RtSaleLine>>("lines");
    QTest::addColumn<double>("saleDiscount");
    QTest::addColumn<QList<Tender>>("tenders");
    QTest::addColumn<std::optional<double>>("cashGiven");
    QTest::addColumn<QString>("lottery");
    QTest::addColumn<QString>("taxCode");
}

// The columns of a sale whose answer goes wrong, as
// `RtRig::checkSecondSale` reads them: the fault, the retries allowed, the
// status queries left unanswered after the first, and what comes of it.
template <typename Fault> void addLostAnswerColumns() {
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("retries");
    QTest::addColumn<int>("silentQueries");
    QTest::addColumn<FiscalOutcome::Status>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("printed");
}

inline Tender cashTender(qint64 cents) {
    return {PaymentType::Cash, Money::fromCents(cents)};
}
inline Tender cardTender(qint64 cents) {
    return {PaymentType::Card, Money::fromCents(cents)};
}

template <typename Simulator, typename Server> struct RtRig {
    Simulator rt;
    Server server{rt};
    NetworkFiscalDevice device;
    FiscalOutcome outcome;
    int outcomes = 0;

    RtRig(int brand, int retries = 1,
          RegisterSettings::Transport transport = RegisterSettings::Transport::Tcp)
        : server(serve(rt, transport)) {
        rt.setClock([] { return rtShopTime; });
        rt.setLastClosure(rtShopTime.addSecs(-3600));
        server.listen();
        RegisterSettings s;
        s.brand = brand;
        s.rtTransport = transport;
        // A network address, or the device of a serial line.
        s.address = server.address();
        s.device = server.address();
        s.networkTimeout = 400;
        s.networkRetries = retries;
        s.departments = RegisterSettings::defaultDepartments();
        device.setSettings(s);
        QObject::connect(&device, &FiscalDevice::finished, &device, [this](const FiscalOutcome &o) {
            outcome = o;
            ++outcomes;
        });
    }

    // The simulator served the way asked, where its server offers a choice.
    static Server serve(Simulator &rt, RegisterSettings::Transport transport) {
        if constexpr (std::is_constructible_v<Server, Simulator &, RegisterSettings::Transport>)
            return Server(rt, transport);
        else {
            (void)transport;
            return Server(rt);
        }
    }

    void describe(const QList<RtSaleLine> &lines, double saleDiscount, const QList<Tender> &tenders,
                  std::optional<double> cash = {}, const QString &lottery = {},
                  const QString &taxCode = {},
                  FiscalDocument::Kind kind = FiscalDocument::Kind::Sale,
                  std::optional<FiscalDocumentRef> quoted = {}) {
        device.begin(kind, quoted);
        double gross = 0;
        for (const RtSaleLine &l : lines) {
            const double amount = ReceiptBuilder::lineAmount(l.quantity, l.price, l.discount);
            device.line(QString::fromUtf8(l.description), l.quantity, l.price, l.vat, amount);
            if (l.discount != 0)
                device.lineDiscount(l.discount, amount);
            if (l.previous > 0)
                device.lineReduction(l.previous, l.percent, QString::fromUtf8(l.campaign));
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

    // Waits for the answer to what `start` began, in an event loop (a
    // polling wait would sleep between each of the register's frames).
    bool run(const std::function<bool()> &start) {
        const int before = outcomes;
        QSignalSpy finished(&device, &FiscalDevice::finished);
        if (!start())
            return false;
        if (outcomes == before)
            (void)finished.wait(15000);
        return outcomes == before + 1 && !device.isRunning();
    }
    bool sell(const QList<RtSaleLine> &lines, const QList<Tender> &tenders) {
        describe(lines, 0, tenders);
        return run([&] { return device.end(); });
    }

    // The current row's sale issued twice in closure 7: each confirmed with
    // the next number, the register's serial, the shop's time and `amount`.
    // The caller stops when the test has failed.
    void sellRowTwice(const QString &serial, qint64 amount) {
        QFETCH(QList<RtSaleLine>, lines);
        QFETCH(double, saleDiscount);
        QFETCH(QList<Tender>, tenders);
        QFETCH(std::optional<double>, cashGiven);
        QFETCH(QString, lottery);
        QFETCH(QString, taxCode);
        rt.setClosure(7);
        for (int n = 1; n <= 2; ++n) {
            describe(lines, saleDiscount, tenders, cashGiven, lottery, taxCode);
            QVERIFY(run([&] { return device.end(); }));
            QCOMPARE(outcome.status, FiscalOutcome::Status::Confirmed);
            QCOMPARE(outcome.document.number, n);
            QCOMPARE(outcome.document.closure, 7);
            QCOMPARE(outcome.document.serial, serial);
            QCOMPARE(outcome.document.dateTime, rtShopTime);
            QCOMPARE(outcome.amount.cents(), amount);
        }
    }

    // An earlier sale of the day (the check after a lost answer compares
    // with the last number), then a second one described, whose receipt
    // the register fails `fault`'s way once. The caller stops when the
    // test has failed.
    template <typename Fault> void describeAfterAnEarlierSale(Fault fault) {
        QVERIFY(sell({{"PRIMA", 1, 5, 0, 22}}, {cashTender(500)}));
        rt.failReceipts(fault, 1);
        describe({{"MAGLIA", 1, 29.9, 0, 22}}, 0, {cashTender(2990)});
    }

    // What came of that second sale, as the current row expects: printed
    // once at most, and with the register's next number when confirmed.
    void checkSecondSale() {
        QFETCH(FiscalOutcome::Status, status);
        QFETCH(QString, message);
        QFETCH(int, printed);
        QCOMPARE(outcome.status, status);
        QCOMPARE(outcome.message, message);
        QCOMPARE(rt.receipts().size(), 1 + printed);
        if (status == FiscalOutcome::Status::Confirmed) {
            QCOMPARE(outcome.document.number, 2);
            QCOMPARE(outcome.amount.cents(), qint64(2990));
        }
    }

    void setSettings(const std::function<void(RegisterSettings &)> &change) {
        RegisterSettings s = device.settings();
        change(s);
        device.setSettings(s);
    }
};

} // namespace corvale::testing

Q_DECLARE_METATYPE(QList<corvale::testing::RtSaleLine>)
Q_DECLARE_METATYPE(QList<corvale::Tender>)
Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(corvale::FiscalOutcome::Status)

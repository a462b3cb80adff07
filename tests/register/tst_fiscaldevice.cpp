// The one fiscal-device abstraction: the serial registers behind it send the
// very bytes they sent before it existed, on random receipts; the telematic
// registers' figures add up to the sale's total to the cent; and their
// answers are read, or refused, whatever they hold.

#include "SimulatedRegister.h"
#include "register/DataprocessProtocol.h"
#include "register/ElaProtocol.h"
#include "register/EpsonRtXml.h"
#include "register/RchGlobeProtocol.h"
#include "register/RchMizarProtocol.h"
#include "register/ReceiptBuilder.h"
#include "register/RegisterLink.h"
#include "register/SerialFiscalDevice.h"

#include <QRandomGenerator>
#include <QTest>

#include <map>
#include <memory>

using namespace corvale;
using sim::SimulatedRegister;
using P = SimulatedRegister::Protocol;

namespace {

// A line whose far end is the simulated register, answering on the tick after
// a frame arrives.
class SimulatedLink : public RegisterLink {
public:
    explicit SimulatedLink(P protocol)
        : m_register(protocol, {}) {}

    int inputCount() override { return int(m_inbound.size()); }
    QByteArray read(int count) override {
        const QByteArray out = m_inbound.left(count);
        m_inbound.remove(0, count);
        return out;
    }
    bool write(const QByteArray &bytes) override {
        sent += bytes;
        answer(m_register.feed(bytes));
        return true;
    }
    bool hasFailed() const override { return false; }

    void tick() {
        ++m_tick;
        for (auto it = m_pending.begin(); it != m_pending.end() && it->first <= m_tick;) {
            m_inbound += it->second;
            it = m_pending.erase(it);
        }
        answer(m_register.idle());
    }

    QByteArray sent;

private:
    void answer(const QList<SimulatedRegister::Frame> &frames) {
        for (const auto &frame : frames)
            for (const auto &reply : m_register.answer(frame))
                // The reply frame comes after a pause, longer when printing.
                m_pending.emplace(m_tick + (reply.closing   ? 8
                                            : reply.delayed ? 4
                                                            : 1),
                                  reply.bytes);
    }

    SimulatedRegister m_register;
    QByteArray m_inbound;
    std::multimap<int, QByteArray> m_pending;
    int m_tick = 0;
};

std::unique_ptr<RegisterProtocol> protocolFor(P p, RegisterLink &link, const Receipt &r) {
    switch (p) {
    case P::Ela:
        return std::make_unique<ElaProtocol>(link, r, -1);
    case P::Dataprocess:
        return std::make_unique<DataprocessProtocol>(DataprocessProtocol::Variant::Dataprocess,
                                                     link, r, -1);
    case P::Epson:
        return std::make_unique<DataprocessProtocol>(DataprocessProtocol::Variant::Epson, link, r,
                                                     -1);
    case P::RchGlobe:
        return std::make_unique<RchGlobeProtocol>(link, r, -1);
    case P::RchMizar:
        return std::make_unique<RchMizarProtocol>(link, r, -1);
    }
    return nullptr;
}

struct Wire {
    QByteArray bytes;
    RegisterProtocol::Step step = RegisterProtocol::Step::Running;
};

Wire wire(P p, const Receipt &receipt) {
    SimulatedLink link(p);
    auto protocol = protocolFor(p, link, receipt);
    Wire out;
    protocol->begin();
    for (int i = 0; i < 50000 && out.step == RegisterProtocol::Step::Running; ++i) {
        link.tick();
        out.step = protocol->tick();
    }
    out.bytes = link.sent;
    return out;
}

// Keeps what it is told and sends nothing.
class RecordingDevice : public FiscalDevice {
public:
    bool isRunning() const override { return false; }
    bool report(Report) override { return false; }
    bool queryStatus() override { return false; }
    bool numbersDocuments() const override { return false; }
    FiscalDocument sent;

protected:
    bool transmit(const FiscalDocument &document) override {
        sent = document;
        return true;
    }
};

struct RandomSale {
    QList<ReceiptLine> lines;
    double saleDiscount = 0;
    std::optional<double> cash;
    bool calcResto = false;
};

RandomSale randomSale(QRandomGenerator &g) {
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ àèéìòù!/()*%$=0123456789");
    RandomSale s;
    const int n = 1 + g.bounded(9);
    for (int i = 0; i < n; ++i) {
        ReceiptLine l;
        const int length = g.bounded(4) == 0 ? 0 : 1 + g.bounded(45);
        for (int c = 0; c < length; ++c)
            l.description += letters.at(g.bounded(int(letters.size())));
        static const double quantities[] = {1, 1, 1, 2, 3, 0.5, 1.5, 10, 0};
        l.quantity = quantities[g.bounded(int(std::size(quantities)))];
        l.price = g.bounded(1, 100000) / 100.0;
        static const double discounts[] = {0, 0, 0, 10, 33.33, 50, 5.5};
        l.discount = discounts[g.bounded(int(std::size(discounts)))];
        static const double rates[] = {22, 10, 4, 0};
        l.vat = rates[g.bounded(int(std::size(rates)))];
        s.lines << l;
    }
    static const double saleDiscounts[] = {0, 0, 5, 12.5, 22.196};
    s.saleDiscount = saleDiscounts[g.bounded(int(std::size(saleDiscounts)))];
    s.calcResto = g.bounded(2) == 1;
    if (s.calcResto && g.bounded(3) != 0)
        s.cash = 100000 + g.bounded(1000);
    return s;
}

// What the sale now tells the device for the receipt it used to hand over.
FiscalDocument described(const Receipt &r, const RandomSale &s) {
    RecordingDevice device;
    device.changeCalculated(s.calcResto);
    device.begin();
    double gross = 0;
    for (const ReceiptLine &l : r.lines) {
        device.line(l.description, l.quantity, l.price, l.vat, l.amount);
        if (l.discount != 0)
            device.lineDiscount(l.discount, l.amount);
        if (l.isLine() && l.quantity != 0)
            gross += l.amount;
    }
    const double net = ReceiptBuilder::netTotal(gross, s.saleDiscount);
    device.subtotalDiscount(s.saleDiscount, r.discountAmount, net);
    device.payment(PaymentType::Cash, Money::of(net));
    if (s.calcResto && s.cash)
        device.cashGiven(*s.cash);
    device.end();
    return device.sent;
}

FiscalDocument saleOf(QList<ReceiptLine> lines, double saleDiscount, QList<Tender> tenders) {
    RecordingDevice device;
    device.begin();
    double gross = 0;
    for (const ReceiptLine &l : lines) {
        const double amount = ReceiptBuilder::lineAmount(l.quantity, l.price, l.discount);
        device.line(l.description, l.quantity, l.price, l.vat, amount);
        if (l.discount != 0)
            device.lineDiscount(l.discount, amount);
        gross += amount;
    }
    const double net = ReceiptBuilder::netTotal(gross, saleDiscount);
    device.subtotalDiscount(saleDiscount, gross - net, net);
    for (const Tender &t : tenders)
        device.payment(t.type, t.amount);
    device.end();
    return device.sent;
}

} // namespace

Q_DECLARE_METATYPE(QList<corvale::Tender>)
Q_DECLARE_METATYPE(std::optional<double>)

class TestFiscalDevice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void serialRegistersSendTheSameBytesAsBefore() {
        QRandomGenerator g(20260101);
        int compared = 0;
        for (int round = 0; round < 60; ++round) {
            const RandomSale s = randomSale(g);
            const auto receipt =
                ReceiptBuilder::build(s.lines, s.saleDiscount, s.cash, s.calcResto);
            QVERIFY(receipt);
            const Receipt legacy = SerialFiscalDevice::legacyReceipt(described(*receipt, s));
            for (P p : {P::Ela, P::Dataprocess, P::Epson, P::RchGlobe, P::RchMizar}) {
                const Wire before = wire(p, *receipt);
                const Wire after = wire(p, legacy);
                QVERIFY2(before.step == RegisterProtocol::Step::Completed,
                         qPrintable(SimulatedRegister::protocolName(p)));
                QCOMPARE(after.step, before.step);
                QCOMPARE(after.bytes, before.bytes);
                ++compared;
            }
        }
        QCOMPARE(compared, 300);
    }

    void documentTotalsAndChange_data() {
        QTest::addColumn<QList<Tender>>("tenders");
        QTest::addColumn<std::optional<double>>("cash");
        QTest::addColumn<qint64>("changeCents"); // -1: not covered
        const Money total = Money::fromCents(4990);
        QTest::newRow("cash exact")
            << QList<Tender>{{PaymentType::Cash, total}} << std::optional<double>() << qint64(0);
        QTest::newRow("cash with change") << QList<Tender>{{PaymentType::Cash, total}}
                                          << std::optional<double>(50.0) << qint64(10);
        QTest::newRow("split, change on the cash part only")
            << QList<Tender>{{PaymentType::Card, Money::fromCents(2990)},
                             {PaymentType::Cash, Money::fromCents(2000)}}
            << std::optional<double>(50.0) << qint64(3000);
        QTest::newRow("cash short") << QList<Tender>{{PaymentType::Cash, total}}
                                    << std::optional<double>(40.0) << qint64(-1);
    }
    void documentTotalsAndChange() {
        QFETCH(QList<Tender>, tenders);
        QFETCH(std::optional<double>, cash);
        QFETCH(qint64, changeCents);
        FiscalDocument d;
        d.net = 49.9;
        d.tenders = tenders;
        d.cashGiven = cash;
        QCOMPARE(d.tendered(), d.total());
        const auto change = d.change();
        QCOMPARE(change.has_value(), changeCents >= 0);
        if (change)
            QCOMPARE(change->cents(), changeCents);
    }

    // The register's figures: line prices and discounts to the cent, and a
    // subtotal adjustment that brings any rounding back to the sale's total.
    void rtFiguresAddUpToTheSaleTotal() {
        QRandomGenerator g(7);
        for (int round = 0; round < 200; ++round) {
            RandomSale s = randomSale(g);
            for (ReceiptLine &l : s.lines)
                if (l.description.isEmpty())
                    l.description = QStringLiteral("X");
            const FiscalDocument d =
                saleOf(s.lines, s.saleDiscount, {{PaymentType::Cash, Money::fromCents(1)}});
            const RtFiguresResult r = rtFigures(d, [](double vat) {
                return std::optional<int>(vat == 22 ? 1 : vat == 10 ? 2 : 3);
            });
            QVERIFY(r.figures);
            Money sum;
            for (const RtLine &l : r.figures->lines)
                sum += Money::of(l.unitPrice.toDouble() * l.quantity) - l.discount;
            QCOMPARE(sum, r.figures->subtotal);
            QCOMPARE(r.figures->subtotal - r.figures->subtotalDiscount, d.total());
        }
        // A rate without a department stops the receipt, naming the rate.
        const FiscalDocument d = saleOf({{QStringLiteral("A"), 1, 10, 0, 5, 0}}, 0, {});
        const RtFiguresResult r = rtFigures(
            d, [](double vat) { return vat == 22 ? std::optional<int>(1) : std::nullopt; });
        QVERIFY(!r.figures);
        QCOMPARE(r.missingRate, 5.0);
    }

    // A line sold at a campaign's price goes to a telematic register at the
    // campaign's previous price, less the reduction down to the sale's amount;
    // returns, negative quantities and lines with no reduction go as they are.
    void campaignLinesGoAtTheirPreviousPrice() {
        struct Case {
            const char *name;
            double quantity, price, discount; // the sale's line
            double previous;                  // 0: no reduction told
            int percent;
            FiscalDocument::Kind kind;
            qint64 unitPrice, lineDiscount; // cents
            const char *adjustment;
            const char *note;
        };
        using K = FiscalDocument::Kind;
        const QList<Case> cases = {
            {"previous is the list price", 1, 79.9, 30, 79.9, 30, K::Sale, 7990, 2397,
             "SALDI ESTIVI -30%", "Prezzo precedente € 79,90"},
            {"previous lower than the list price", 1, 59.9, 30, 56.91, 26, K::Sale, 5691, 1498,
             "SALDI ESTIVI -26%", "Prezzo precedente € 56,91"},
            {"two pieces", 2, 79.9, 30, 79.9, 30, K::Sale, 7990, 4794, "SALDI ESTIVI -30%",
             "Prezzo precedente € 79,90"},
            {"fixed price", 1, 39, 0, 56.91, 31, K::Sale, 5691, 1791, "SALDI ESTIVI -31%",
             "Prezzo precedente € 56,91"},
            {"no reduction told", 1, 59.9, 5, 0, 0, K::Sale, 5990, 299, "", ""},
            {"a piece taken back", -1, 79.9, 30, 79.9, 30, K::Sale, 7990, -2397, "", ""},
            {"return", 1, 79.9, 30, 79.9, 30, K::Return, 7990, 2397, "", ""},
        };
        for (const Case &c : cases) {
            RecordingDevice device;
            device.begin(c.kind);
            const double amount = ReceiptBuilder::lineAmount(c.quantity, c.price, c.discount);
            device.line(QStringLiteral("GIACCA"), c.quantity, c.price, 22, amount);
            if (c.discount != 0)
                device.lineDiscount(c.discount, amount);
            if (c.previous > 0)
                device.lineReduction(c.previous, c.percent, QStringLiteral("SALDI ESTIVI"));
            // A line after it keeps its own figures.
            device.line(QStringLiteral("CINTURA"), 1, 20, 22, 20);
            device.subtotalDiscount(0, 0, amount + 20);
            const RtFiguresResult r =
                rtFigures(device.document(), [](double) { return std::optional<int>(1); });
            QVERIFY2(r.figures, c.name);
            QCOMPARE(r.figures->lines.size(), 2);
            const RtLine &l = r.figures->lines.first();
            QVERIFY2(l.unitPrice.cents() == c.unitPrice, c.name);
            QVERIFY2(l.discount.cents() == c.lineDiscount, c.name);
            QCOMPARE(l.adjustment, QString::fromUtf8(c.adjustment));
            QCOMPARE(l.note, QString::fromUtf8(c.note));
            // What the line comes to is the sale's amount, to the cent.
            QCOMPARE(Money::of(l.unitPrice.toDouble() * l.quantity) - l.discount,
                     Money::of(amount));
            QVERIFY2(r.figures->subtotalDiscount.isZero(), c.name);
            const RtLine &next = r.figures->lines.last();
            QCOMPARE(next.unitPrice, Money::of(20));
            QVERIFY(next.discount.isZero() && next.adjustment.isEmpty() && next.note.isEmpty());
        }
        // A long name is cut, the percentage kept.
        const QString cut = reductionDescription(QString(50, u'X'), 50);
        QCOMPARE(cut.size(), 38);
        QVERIFY(cut.endsWith(QStringLiteral("X -50%")));
        QCOMPARE(reductionDescription(QStringLiteral("  "), 20), QStringLiteral("RIBASSO -20%"));
    }

    void epsonAmountsAndQuotes() {
        QCOMPARE(EpsonRtXml::amountText(Money::fromCents(1250)), QStringLiteral("12,50"));
        QCOMPARE(EpsonRtXml::amountText(Money::fromCents(5)), QStringLiteral("0,05"));
        QCOMPARE(EpsonRtXml::amountText(Money::fromCents(-5)), QStringLiteral("-0,05"));
        QCOMPARE(EpsonRtXml::amountText(Money::fromCents(123456)), QStringLiteral("1234,56"));
        QCOMPARE(EpsonRtXml::quantityText(1), QStringLiteral("1"));
        QCOMPARE(EpsonRtXml::quantityText(1.5), QStringLiteral("1,5"));
        QCOMPARE(EpsonRtXml::quantityText(0.125), QStringLiteral("0,125"));
        FiscalDocumentRef ref{42, 7, QDateTime(QDate(2026, 3, 5), QTime(10, 0)),
                              QStringLiteral("99MEX000001")};
        QCOMPARE(EpsonRtXml::quoteText(FiscalDocument::Kind::Return, ref),
                 QStringLiteral("REFUND 0007 0042 05032026 99MEX000001"));
        QCOMPARE(EpsonRtXml::quoteText(FiscalDocument::Kind::Void, ref),
                 QStringLiteral("VOID 0007 0042 05032026 99MEX000001"));
    }

    void epsonAnswersAreRead_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("kind"); // RtAnswer::Kind
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("closure");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("code");
        const QByteArray head = "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://schemas."
                                "xmlsoap.org/soap/envelope/\"><s:Body>";
        const QByteArray tail = "</s:Body></s:Envelope>";
        using K = RtAnswer::Kind;
        QTest::newRow("accepted")
            << head +
                   "<response success=\"true\" code=\"\" status=\"2\"><addInfo>"
                   "<fiscalReceiptNumber>12</fiscalReceiptNumber><fiscalReceiptAmount>"
                   "49,90</fiscalReceiptAmount><fiscalReceiptDate>5/3/2026</fiscalReceiptDate>"
                   "<zRepNumber>7</zRepNumber></addInfo></response>" +
                   tail
            << int(K::Accepted) << 12 << 7 << qint64(4990) << QString();
        QTest::newRow("refused")
            << head + "<response success=\"false\" code=\"EPTR_REC_EMPTY\" status=\"3\"/>" + tail
            << int(K::Refused) << 0 << 0 << qint64(0) << QStringLiteral("EPTR_REC_EMPTY");
        QTest::newRow("amount with a point")
            << QByteArray("<response success=\"true\"><addInfo><fiscalReceiptAmount>1.5"
                          "</fiscalReceiptAmount></addInfo></response>")
            << int(K::Accepted) << 0 << 0 << qint64(150) << QString();
        const QList<QByteArray> malformed = {
            "",
            "<response success=\"true\"><addInfo><fiscalReceiptNumber>",
            "not xml at all",
            "<response success=\"maybe\"/>",
            "<other success=\"true\"/>",
            "<response success=\"true\"><addInfo><fiscalReceiptNumber>-3</fiscalReceiptNumber>"
            "</addInfo></response>",
            "<response success=\"true\"><addInfo><zRepNumber>99999999999999</zRepNumber>"
            "</addInfo></response>",
            "<response success=\"true\"><addInfo><fiscalReceiptNumber>1x</fiscalReceiptNumber>"
            "</addInfo></response>",
            "<!DOCTYPE r [<!ENTITY a \"aaaa\">]><response success=\"true\">&a;&b;</response>",
        };
        int i = 0;
        for (const QByteArray &bad : malformed)
            QTest::addRow("malformed %d", i++)
                << bad << int(K::Malformed) << 0 << 0 << qint64(0) << QString();
    }
    void epsonAnswersAreRead() {
        QFETCH(QByteArray, answer);
        QFETCH(int, kind);
        QFETCH(int, number);
        QFETCH(int, closure);
        QFETCH(qint64, cents);
        QFETCH(QString, code);
        const RtAnswer a = EpsonRtXml::parse(answer);
        QCOMPARE(int(a.kind), kind);
        QCOMPARE(a.documentNumber, number);
        QCOMPARE(a.closure, closure);
        QCOMPARE(a.amount.cents(), cents);
        QCOMPARE(a.code, code);
        if (number == 12)
            QCOMPARE(a.dateTime.date(), QDate(2026, 3, 5));
    }
};

QTEST_GUILESS_MAIN(TestFiscalDevice)
#include "tst_fiscaldevice.moc"

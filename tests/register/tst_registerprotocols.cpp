// The protocol state machines tick by tick, against a scripted line.

#include "register/DataprocessProtocol.h"
#include "register/ElaProtocol.h"
#include "register/RchGlobeProtocol.h"
#include "register/RchMizarProtocol.h"
#include "register/ReceiptBuilder.h"
#include "register/RegisterLink.h"

#include <QTest>
#include <functional>
#include <map>

using namespace corvale;
using Step = RegisterProtocol::Step;
using DP = DataprocessProtocol;

namespace {

const QByteArray ack(1, 0x06);

// A line whose far end answers on a schedule counted in ticks.
class ScriptedLink : public RegisterLink {
public:
    int inputCount() override { return failed ? -1 : int(inbound.size()); }
    QByteArray read(int count) override {
        const QByteArray out = inbound.left(count);
        inbound.remove(0, count);
        return out;
    }
    bool write(const QByteArray &bytes) override {
        if (writeFails)
            return false;
        writes << bytes;
        writeTicks << tick;
        return true;
    }
    bool hasFailed() const override { return failed; }

    QByteArray inbound;
    QList<QByteArray> writes;
    QList<int> writeTicks;
    int tick = 0;
    bool failed = false;
    bool writeFails = false;
};

// Answer to the n-th frame (0-based): bytes by the number of ticks after it.
using Register = std::function<std::multimap<int, QByteArray>(const QByteArray &frame, int index)>;

struct Run {
    Step step = Step::Running;
    int ticks = 0;
    QList<QByteArray> frames; // writes other than a lone ACK/EOT
    QList<int> frameTicks;
    int lastAnswerTick = -1;
};

// `answerControl`: the register also answers the program's lone ACK and EOT
// (the poll/select dialogue of RCH Mizar). `watch` runs before the first
// message and after every tick.
Run drive(RegisterProtocol &protocol, ScriptedLink &link, const Register &reg,
          bool answerControl = false, const std::function<void()> &watch = {}) {
    const int maxTicks = 20000;
    Run run;
    std::multimap<int, QByteArray> schedule;
    qsizetype seen = 0;
    int frameIndex = 0;
    auto collect = [&] {
        for (; seen < link.writes.size(); ++seen) {
            const QByteArray &w = link.writes.at(seen);
            const bool control = w.size() == 1 && (w == ack || w == "\x04");
            if (control && answerControl) {
                for (const auto &[after, bytes] : reg(w, -1))
                    schedule.emplace(link.tick + after, bytes);
            }
            if (control)
                continue;
            run.frames << w;
            run.frameTicks << link.writeTicks.at(seen);
            for (const auto &[after, bytes] : reg(w, frameIndex))
                schedule.emplace(link.tick + after, bytes);
            ++frameIndex;
        }
    };
    if (watch)
        watch();
    protocol.begin();
    collect();
    for (link.tick = 1; link.tick <= maxTicks; ++link.tick) {
        for (auto it = schedule.begin(); it != schedule.end() && it->first <= link.tick;) {
            link.inbound += it->second;
            run.lastAnswerTick = link.tick;
            it = schedule.erase(it);
        }
        run.step = protocol.tick();
        collect();
        if (watch)
            watch();
        if (run.step != Step::Running)
            break;
    }
    run.ticks = link.tick;
    return run;
}

// Answers every frame with ACK at once and a reply frame a few ticks later,
// as the registers do.
Register answering(int silentAfter = -1) {
    return [silentAfter](const QByteArray &, int index) {
        std::multimap<int, QByteArray> out;
        if (silentAfter >= 0 && index >= silentAfter)
            return out;
        out.emplace(1, ack);
        out.emplace(5, QByteArray("\x02"
                                  "00OK12\x03"));
        return out;
    };
}

// One answer per frame.
Register answeringOnce(const QByteArray &reply = ack) {
    return [reply](const QByteArray &, int) { return std::multimap<int, QByteArray>{{1, reply}}; };
}

Register silent() {
    return [](const QByteArray &, int) { return std::multimap<int, QByteArray>{}; };
}

ReceiptLine line(const char *description, double quantity, double price, double discount = 0) {
    return {QString::fromLatin1(description),
            quantity,
            price,
            discount,
            22,
            ReceiptBuilder::lineAmount(quantity, price, discount)};
}

Receipt receipt(QList<ReceiptLine> lines, double saleDiscount = 0) {
    auto r = ReceiptBuilder::build(std::move(lines), saleDiscount, std::nullopt, false);
    return *r;
}

// A watch for drive() that keeps every state the protocol passes through.
template <typename Protocol>
std::function<void()> trail(const Protocol &protocol, QList<typename Protocol::State> &states) {
    return [&protocol, &states] {
        if (states.isEmpty() || states.last() != protocol.state())
            states << protocol.state();
    };
}

// Text of a Dataprocess/Epson frame.
QByteArray dpText(const QByteArray &frame) {
    return frame.mid(3, frame.size() - 6);
}

} // namespace

class TestRegisterProtocols : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answerWaitsUntilTheBlockStopsGrowing() {
        ScriptedLink link;
        DP p(DP::Variant::Dataprocess, link, receipt({line("A", 1, 1)}), -1);
        QCOMPARE(p.tick(), Step::Running); // open sent
        QCOMPARE(link.writes.size(), 1);
        link.inbound = "\x06";
        p.tick(); // one byte seen
        link.inbound += "\x02"
                        "00";
        p.tick(); // grew: still no answer
        QCOMPARE(link.writes.size(), 1);
        p.tick(); // stable: answer, item sent, the block ended without ETX: no ACK
        QCOMPARE(link.writes.size(), 2);
        QCOMPARE(link.inbound.size(), 0);

        // A block ending in ETX is acknowledged before the next message.
        link.inbound = "\x02"
                       "01OK12\x03";
        p.tick();
        p.tick();
        QCOMPARE(link.writes.at(2), ack);
        QCOMPARE(dpText(link.writes.at(3)),
                 DP::paymentText(DP::Variant::Dataprocess, receipt({line("A", 1, 1)})));
    }

    void answerTakesAtMostTheInputQueue() {
        ScriptedLink link;
        DP p(DP::Variant::Dataprocess, link, receipt({line("A", 1, 1)}), -1);
        p.tick();
        link.inbound = QByteArray(700, 'x');
        p.tick();
        p.tick();
        QCOMPARE(link.inbound.size(), 200);
    }

    void elaOneLineReceipt() {
        ScriptedLink link;
        const Receipt r = receipt({line("MAGLIA", 1, 19.9)});
        ElaProtocol p(link, r, -1);
        QCOMPARE(p.tickInterval(), 100);
        const Run run = drive(p, link, answeringOnce());
        QCOMPARE(run.step, Step::Completed);
        QVERIFY(p.savesSale());
        const QList<QByteArray> expected = {ElaProtocol::frame(ElaProtocol::openReceipt()),
                                            ElaProtocol::frame(ElaProtocol::item(r.lines.at(0))),
                                            ElaProtocol::frame(ElaProtocol::subtotal()),
                                            ElaProtocol::frame(ElaProtocol::payment(r)),
                                            ElaProtocol::frame(ElaProtocol::closeReceipt()),
                                            ElaProtocol::frame(ElaProtocol::last())};
        QCOMPARE(run.frames, expected);
        // The open goes out at once; the item on the third tick after the
        // answer (ACK arrives at tick 1, stable and taken at tick 2).
        QCOMPARE(run.frameTicks.at(0), 0);
        QCOMPARE(run.frameTicks.at(1), 2 + 3);
    }

    void elaDiscountsAndSkippedRows() {
        ScriptedLink link;
        Receipt r = receipt({line("A", 2, 50, 10), line("", 0, 0), line("B", 1, 10)}, 5);
        ElaProtocol p(link, r, -1);
        QList<ElaProtocol::State> states;
        const Run run = drive(p, link,
                              answeringOnce("\x06\x02"
                                            "OK\x03"),
                              false, trail(p, states));
        QCOMPARE(run.step, Step::Completed);
        using S = ElaProtocol::State;
        const QList<S> path = {
            S::Idle,           S::SendingLines,      S::PausingBeforeItem, S::SendingLineDiscount,
            S::SendingLines,   S::PausingBeforeItem, S::SendingLines,      S::SendingSaleDiscount,
            S::SendingPayment, S::ClosingReceipt,    S::SendingLast,       S::AwaitingLastAnswer};
        QCOMPARE(states, path);
        const QList<QByteArray> expected = {
            ElaProtocol::frame(ElaProtocol::openReceipt()),
            ElaProtocol::frame(ElaProtocol::item(r.lines.at(0))),
            ElaProtocol::frame(ElaProtocol::lineDiscount(r.lines.at(0))),
            ElaProtocol::frame(ElaProtocol::item(r.lines.at(2))),
            ElaProtocol::frame(ElaProtocol::subtotal()),
            ElaProtocol::frame(ElaProtocol::saleDiscount(r)),
            ElaProtocol::frame(ElaProtocol::payment(r)),
            ElaProtocol::frame(ElaProtocol::closeReceipt()),
            ElaProtocol::frame(ElaProtocol::last())};
        QCOMPARE(run.frames, expected);
        // Each answer ended in ETX and was acknowledged.
        QCOMPARE(link.writes.count(ack), expected.size());
    }

    void elaSilenceLimitAndTimeoutSetting() {
        {
            ScriptedLink link;
            ElaProtocol p(link, receipt({line("A", 1, 1)}), -1);
            const Run run = drive(p, link, silent());
            QCOMPARE(run.step, Step::Silent);
            QCOMPARE(run.ticks, 201);
        }
        // Silent after the first answer: the counter restarts at TIMEOUT, so
        // a larger setting shortens the wait.
        int wait[2] = {};
        for (int timeout : {-1, 50}) {
            ScriptedLink link;
            ElaProtocol p(link, receipt({line("A", 1, 1)}), timeout);
            const Run run = drive(p, link, answering(1));
            QCOMPARE(run.step, Step::Silent);
            wait[timeout < 0 ? 0 : 1] = run.ticks - run.lastAnswerTick;
        }
        QVERIFY2(wait[0] >= 200 && wait[0] <= 205, qPrintable(QString::number(wait[0])));
        QCOMPARE(wait[0] - wait[1], 51);
    }

    void dataprocessTenLineReceipt() {
        QList<ReceiptLine> lines;
        for (int i = 1; i <= 10; ++i)
            lines << line(qPrintable(QStringLiteral("ARTICOLO %1").arg(i)), i == 4 ? 1.5 : i % 3,
                          10.0 * i, i == 3 ? 10 : 0);
        const Receipt r = receipt(lines, 5);
        ScriptedLink link;
        DP p(DP::Variant::Dataprocess, link, r, -1);
        const Run run = drive(p, link, answering());
        QCOMPARE(run.step, Step::Completed);
        QVERIFY(p.savesSale());

        QList<QByteArray> expected = {DP::openText(DP::Variant::Dataprocess)};
        for (int i = 0; i < 10; ++i) {
            expected << DP::itemText(DP::Variant::Dataprocess, r.lines.at(i));
            if (i == 2)
                expected << DP::lineDiscountText(DP::Variant::Dataprocess, r.lines.at(i));
        }
        // No discount on the whole sale for this register.
        expected << DP::paymentText(DP::Variant::Dataprocess, r);
        QCOMPARE(run.frames.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(dpText(run.frames.at(i)), expected.at(i));
            QCOMPARE(run.frames.at(i), DP::frame(i, expected.at(i)));
        }
    }

    void dataprocessStopsWhenTheRegisterFallsSilent() {
        QList<ReceiptLine> lines;
        for (int i = 0; i < 10; ++i)
            lines << line("X", 1, 1);
        ScriptedLink link;
        DP p(DP::Variant::Dataprocess, link, receipt(lines), -1);
        const Run run = drive(p, link, answering(3));
        QCOMPARE(run.step, Step::Silent);
        QCOMPARE(p.state(), DP::State::SendingLines); // still waiting for the third item's answer
        // About 100 ticks of 100 ms after the last frame sent.
        const int sinceLastSend = run.ticks - run.frameTicks.last();
        QVERIFY2(sinceLastSend >= 100 && sinceLastSend <= 103,
                 qPrintable(QString::number(sinceLastSend)));
        QVERIFY(run.frames.size() < 12);
    }

    void sequenceWrapsAfter99() {
        QList<ReceiptLine> lines;
        for (int i = 0; i < 101; ++i)
            lines << line("X", 1, 1);
        ScriptedLink link;
        DP p(DP::Variant::Dataprocess, link, receipt(lines), -1);
        const Run run = drive(p, link, answering());
        QCOMPARE(run.step, Step::Completed);
        QCOMPARE(run.frames.size(), 103);
        QCOMPARE(run.frames.at(99).mid(1, 2), "99");
        QCOMPARE(run.frames.at(100).mid(1, 2), "00");
        QCOMPARE(run.frames.at(102).mid(1, 2), "02");
    }

    void epsonStartsAtOneAndSendsPayment() {
        Receipt r = receipt({line("A", 3, 2.5, 10)}, 5);
        r.calcResto = true;
        r.payment = 100;
        ScriptedLink link;
        DP p(DP::Variant::Epson, link, r, -1);
        QList<DP::State> states;
        const Run run = drive(p, link, answering(), false, trail(p, states));
        QCOMPARE(run.step, Step::Completed);
        using S = DP::State;
        const QList<S> path = {S::Opening,      S::SendingLines, S::SendingLineDiscount,
                               S::SendingLines, S::PaymentSent,  S::PaymentAnswered};
        QCOMPARE(states, path);
        QCOMPARE(run.frames.size(), 4);
        QCOMPARE(run.frames.at(0), DP::frame(1, "E4201"));
        QCOMPARE(dpText(run.frames.at(1)).left(5), "E1004");
        QCOMPARE(dpText(run.frames.at(2)), "E1023011000");
        QCOMPARE(run.frames.at(3), DP::frame(4, "E103601000010000"));
    }

    void globeReceiptWithDiscounts() {
        const Receipt r = receipt({line("MAGLIA", 2, 19.9, 10), line("CALZE", 1, 5)}, 5);
        ScriptedLink link;
        RchGlobeProtocol p(link, r, -1);
        QCOMPARE(p.tickInterval(), 50);
        QList<RchGlobeProtocol::State> states;
        const Run run = drive(p, link, answering(), false, trail(p, states));
        QCOMPARE(run.step, Step::Completed);
        // Every message is followed by the common wait for its answer.
        using S = RchGlobeProtocol::State;
        const QList<S> sent = {S::Starting,     S::SendingLines,     S::SendingLineDiscount,
                               S::SendingLines, S::SendingLines,     S::SendingSaleDiscount,
                               S::SendingTotal, S::PausingAfterTotal};
        QList<S> path;
        for (S state : sent)
            path << state << S::AwaitingAnswer;
        path.removeLast();
        path << S::Finished;
        QCOMPARE(states, path);
        QVERIFY(!p.savesSale());
        const QList<QByteArray> texts = {"=K",        RchGlobeProtocol::itemText(r.lines.at(0)),
                                         "=%/*10.00", RchGlobeProtocol::itemText(r.lines.at(1)),
                                         "=S",        RchGlobeProtocol::saleDiscountText(r),
                                         "=T1"};
        QCOMPARE(run.frames.size(), texts.size());
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(run.frames.at(i), RchGlobeProtocol::frame(i, texts.at(i)));
        // Every answer ending in ACK or ETX is acknowledged; the end comes two
        // ticks after the answer to the total.
        QVERIFY(link.writes.count(ack) >= texts.size());
        QCOMPARE(link.writes.last(), ack);
    }

    void globeWithoutSaleDiscountGoesStraightToTotal() {
        const Receipt r = receipt({line("A", 1, 1)});
        ScriptedLink link;
        RchGlobeProtocol p(link, r, -1);
        const Run run = drive(p, link, answeringOnce());
        QCOMPARE(run.step, Step::Completed);
        QCOMPARE(run.frames.size(), 4);
        QCOMPARE(run.frames.at(2), RchGlobeProtocol::frame(2, "=S"));
        QCOMPARE(run.frames.at(3), RchGlobeProtocol::frame(3, "=T1"));
        // Answer to =T1 taken at tick t; the pause at t+1, end at t+2.
        QCOMPARE(run.ticks, run.lastAnswerTick + 1 + 2);
    }

    void rchSilenceLimit() {
        ScriptedLink link;
        RchGlobeProtocol p(link, receipt({line("A", 1, 1)}), -1);
        QCOMPARE(drive(p, link, silent()).ticks, 102);
        ScriptedLink link2;
        RchMizarProtocol m(link2, receipt({line("A", 1, 1)}), -1);
        QCOMPARE(drive(m, link2, silent()).ticks, 102);
    }

    void mizarSequence() {
        const Receipt r = receipt({line("MAGLIA", 1, 1234.5), line("GONNA", 2, 30, 10)}, 5);
        ScriptedLink link;
        RchMizarProtocol p(link, r, -1);
        QList<RchMizarProtocol::State> states;
        const Run run = drive(p, link, answeringOnce(), true, trail(p, states));
        QCOMPARE(run.step, Step::Completed);
        using S = RchMizarProtocol::State;
        const QList<S> path = {
            // one piece
            S::StartingRow, S::PollingLine, S::AcknowledgingLine, S::SendingLine, S::LineSent,
            // two pieces with a discount
            S::StartingRow, S::PollingQuantity, S::AcknowledgingQuantity, S::SendingQuantityKeys,
            S::EndingQuantityKeys, S::SelectingLine, S::PollingLine, S::AcknowledgingLine,
            S::SendingLine, S::LineSent, S::PollingDiscount, S::AcknowledgingDiscount,
            S::SendingDiscountKeys, S::EndingDiscountKeys,
            // closing
            S::StartingRow, S::PollingClosing, S::AcknowledgingClosing, S::SendingClosingKeys,
            S::EndingClosingKeys, S::Finished};
        QCOMPARE(states, path);
        QVERIFY(!p.savesSale());
        using M = RchMizarProtocol;
        const QByteArray eot("\x04");
        const QList<QByteArray> expected = {
            // one piece
            M::command("p110"), M::poll(), ack, M::data(M::lineText(r.lines.at(0))),
            // two pieces with a discount
            M::command("p100"), M::poll(), ack, M::data(M::quantityKeys(r.lines.at(1))), eot,
            M::command("p110"), M::poll(), ack, M::data(M::lineText(r.lines.at(1))),
            M::command("p100"), M::poll(), ack, M::data(M::discountKeys(r.lines.at(1))), eot,
            // closing; no discount on the whole sale
            M::command("p100"), M::poll(), ack, M::data(M::closingKeys()), eot};
        QCOMPARE(link.writes, expected);
    }

    void failedLineEndsAtOnce() {
        ScriptedLink link;
        DP p(DP::Variant::Dataprocess, link, receipt({line("A", 1, 1)}), -1);
        QCOMPARE(p.tick(), Step::Running);
        link.failed = true;
        QCOMPARE(p.tick(), Step::Silent);

        ScriptedLink link2;
        RchGlobeProtocol g(link2, receipt({line("A", 1, 1)}), -1);
        link2.writeFails = true;
        QCOMPARE(g.tick(), Step::Silent);
    }
};

QTEST_GUILESS_MAIN(TestRegisterProtocols)
#include "tst_registerprotocols.moc"

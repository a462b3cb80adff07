// The simulated register must cut frames the same way however the bytes
// arrive, and answer as the real devices do.

#include "SimulatedRegister.h"
#include "register/DataprocessProtocol.h"
#include "register/ElaProtocol.h"
#include "register/RchGlobeProtocol.h"
#include "register/RchMizarProtocol.h"

#include <QRandomGenerator>
#include <QTest>

using namespace corvale;
using sim::SimulatedRegister;
using P = SimulatedRegister::Protocol;

namespace {

QStringList cut(P protocol, const QByteArray &stream, int mode) {
    SimulatedRegister reg(protocol, {});
    QList<SimulatedRegister::Frame> frames;
    QRandomGenerator random(42);
    for (qsizetype i = 0; i < stream.size();) {
        const qsizetype n = mode == 0 ? stream.size() : mode == 1 ? 1 : 1 + random.bounded(9);
        frames << reg.feed(stream.mid(i, n));
        i += n;
    }
    frames << reg.idle();
    QStringList out;
    for (const auto &f : frames)
        out << reg.describe(f);
    return out;
}

QByteArray stream(P protocol) {
    const QByteArray ack(1, 0x06);
    switch (protocol) {
    case P::Ela:
        return ElaProtocol::frame(ElaProtocol::openReceipt()) + ack +
               ElaProtocol::frame(ElaProtocol::last());
    case P::Dataprocess:
        return DataprocessProtocol::frame(98, "V121700") + ack +
               DataprocessProtocol::frame(99, "V1036");
    case P::Epson:
        return DataprocessProtocol::frame(1, "E4201");
    case P::RchGlobe:
        return RchGlobeProtocol::frame(0, "=K") + ack + RchGlobeProtocol::frame(1, "=T1");
    case P::RchMizar:
        return RchMizarProtocol::command("p110") + RchMizarProtocol::poll() + ack +
               RchMizarProtocol::data("u10351001\x19") + QByteArray(1, 0x04) +
               RchMizarProtocol::command("p100");
    }
    return {};
}

} // namespace

class TestRegisterSimulator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void framingDoesNotDependOnHowBytesArrive() {
        for (P protocol : {P::Ela, P::Dataprocess, P::Epson, P::RchGlobe, P::RchMizar}) {
            const QByteArray bytes = stream(protocol);
            const QStringList whole = cut(protocol, bytes, 0);
            QCOMPARE(cut(protocol, bytes, 1), whole);
            QCOMPARE(cut(protocol, bytes, 2), whole);
            QVERIFY(!whole.join(u'\n').contains(QLatin1String("BAD")));
        }
        QCOMPARE(cut(P::RchMizar, stream(P::RchMizar), 1),
                 (QStringList{"RCH-MIZAR COMMAND p110", "RCH-MIZAR POLL", "RCH-MIZAR ACK",
                              "RCH-MIZAR DATA u10351001<EM>", "RCH-MIZAR EOT",
                              "RCH-MIZAR COMMAND p100"}));
        QCOMPARE(cut(P::Ela, stream(P::Ela), 0).first(), "ELA FRAME 1322");
    }

    void answers() {
        // A good frame: ACK at once, then the reply; the program's own ACK is ignored.
        SimulatedRegister globe(P::RchGlobe, {});
        auto frames = globe.feed(RchGlobeProtocol::frame(1, "=S") + QByteArray(1, 0x06));
        QCOMPARE(frames.size(), 2);
        const auto replies = globe.answer(frames.at(0));
        QCOMPARE(replies.size(), 2);
        QCOMPARE(replies.at(0).bytes, QByteArray(1, 0x06));
        QVERIFY(replies.at(1).delayed);
        // Reply sequence: the ASCII code of the request's digit modulo 10.
        const QByteArray reply = replies.at(1).bytes;
        QCOMPARE(reply.at(reply.size() - 4), '9');
        QVERIFY(globe.answer(frames.at(1)).isEmpty());

        // A damaged frame is refused with NAK.
        SimulatedRegister dp(P::Dataprocess, {});
        QByteArray bad = DataprocessProtocol::frame(0, "V121700");
        bad[4] = 'X';
        frames = dp.feed(bad);
        QVERIFY(!frames.at(0).checksumOk);
        QCOMPARE(dp.answer(frames.at(0)).at(0).bytes, QByteArray(1, 0x15));

        // NAK every second frame; silence after the third.
        SimulatedRegister::Options options;
        options.nakEvery = 2;
        options.silentAfter = 3;
        SimulatedRegister ela(P::Ela, options);
        frames = ela.feed(stream(P::Ela) + ElaProtocol::frame(ElaProtocol::subtotal()) +
                          ElaProtocol::frame(ElaProtocol::subtotal()));
        QList<QByteArray> first;
        for (const auto &f : frames) {
            const auto r = ela.answer(f);
            if (f.kind == u"FRAME")
                first << (r.isEmpty() ? QByteArray() : r.at(0).bytes);
        }
        QCOMPARE(first, (QList<QByteArray>{"\x06", "\x15", "\x06", ""}));

        // Mizar: a poll gets data, the host's ACK and EOT get EOT.
        SimulatedRegister mizar(P::RchMizar, {});
        frames = mizar.feed(RchMizarProtocol::poll() + QByteArray(1, 0x06));
        QVERIFY(mizar.answer(frames.at(0))
                    .at(0)
                    .bytes.startsWith("\x01"
                                      "0100\x02"));
        QCOMPARE(mizar.answer(frames.at(1)).at(0).bytes, QByteArray(1, 0x04));
    }
};

QTEST_GUILESS_MAIN(TestRegisterSimulator)
#include "tst_registersimulator.moc"

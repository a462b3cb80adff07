// Whole documents to the RCH telematic register simulator on each of its
// transports (frames over TCP, frames on a serial line, HTTP service.cgi):
// the commands it receives, one by one; the answers read back however they
// arrive; and a receipt never printed twice whatever answer is lost.

#include "RchRtLine.h"
#include "RchRtServed.h"
#include "RchRtServer.h"
#include "RchServiceCgi.h"
#include "RegisterSimulator.h"
#include "RtHttpServer.h"
#include "RtRig.h"
#include "SimulatedRchRt.h"
#include "platform/PtyPair.h"
#include "register/RchExchange.h"
#include "register/RchRtCommands.h"
#include "register/RchServiceXml.h"
#include "register/RtDialect.h"

#include <QRandomGenerator>

using namespace corvale;
using namespace corvale::testing;
using sim::RchRtServer;
using sim::SimulatedRchRt;
using Fault = SimulatedRchRt::Fault;
using Status = FiscalOutcome::Status;
using Kind = RchRtCommands::Taken::Kind;
using Transport = RegisterSettings::Transport;

namespace {

using sim::RchRtServed;
using Rig = RtRig<SimulatedRchRt, RchRtServed>;
const auto &transports = sim::rchTransports;

QList<QByteArray> bytes(const QStringList &texts) {
    QList<QByteArray> out;
    for (const QString &t : texts)
        out << t.toLatin1();
    return out;
}

// The same row for every transport.
QTestData &row(const QString &name, Transport transport) {
    for (const auto &[label, t] : transports)
        if (t == transport)
            return QTest::newRow(qPrintable(name + QStringLiteral(" / ") + QLatin1String(label)))
                   << transport;
    return QTest::newRow(qPrintable(name)) << transport;
}

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(RtAnswer::Kind)
Q_DECLARE_METATYPE(Transport)
Q_DECLARE_METATYPE(QList<QByteArray>)

class TestRchRt : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeSalesReachTheRegisterCommandByCommand_data() {
        QTest::addColumn<Transport>("transport");
        addRtSaleColumns();
        QTest::addColumn<QStringList>("commands"); // between "=K" and "=c"
        QTest::addColumn<qint64>("amount");
        const std::optional<double> none;

        for (const auto &[label, transport] : transports) {
            row("cash", transport)
                << QList<RtSaleLine>{{"MAGLIA", 1, 29.9, 0, 22}} << 0.0
                << QList<Tender>{cashTender(2990)} << none << QString() << QString()
                << QStringList{"=R1/$2990/(MAGLIA)", "=S", "=T1/$2990"} << qint64(2990);
            row("cash with change", transport)
                << QList<RtSaleLine>{{"MAGLIA", 1, 29.9, 0, 22}} << 0.0
                << QList<Tender>{cashTender(2990)} << std::optional<double>(50) << QString()
                << QString() << QStringList{"=R1/$2990/(MAGLIA)", "=S", "=T1/$5000"}
                << qint64(2990);
            row("card", transport)
                << QList<RtSaleLine>{{"CALZE", 2, 15, 0, 10}} << 0.0
                << QList<Tender>{cardTender(3000)} << none << QString() << QString()
                << QStringList{"=R2/$1500/*2.00/(CALZE)", "=S", "=T3/$3000"} << qint64(3000);
            row("split, change on the cash part", transport)
                << QList<RtSaleLine>{{"GIACCA", 1, 50, 0, 22}, {"CINTURA", 1, 20, 0, 22}} << 0.0
                << QList<Tender>{cardTender(4000), cashTender(3000)} << std::optional<double>(50)
                << QString() << QString()
                << QStringList{"=R1/$5000/(GIACCA)", "=R1/$2000/(CINTURA)", "=S", "=T3/$4000",
                               "=T1/$5000"}
                << qint64(7000);
            row("lottery and codice fiscale", transport)
                << QList<RtSaleLine>{{"SCARPE", 1, 89, 0, 22}} << 0.0
                << QList<Tender>{cardTender(8900)} << none << QStringLiteral("AB12CD34")
                << QStringLiteral("RSSMRA80A01H501U")
                << QStringList{"=R1/$8900/(SCARPE)", "=S", "=\"/?L/$1/(AB12CD34)",
                               "=\"/?C/(RSSMRA80A01H501U)", "=T3/$8900"}
                << qint64(8900);
            row("line discount", transport)
                << QList<RtSaleLine>{{"MAGLIA", 1, 29.9, 10, 22}, {"POLO", 3, 12.5, 33.33, 4}}
                << 0.0 << QList<Tender>{cashTender(5191)} << none << QString() << QString()
                << QStringList{"=R1/$2990/(MAGLIA)", "=V-/*299", "=R4/$1250/*3.00/(POLO)",
                               "=V-/*1250",          "=S",       "=T1/$5191"}
                << qint64(5191);
            row("subtotal discount", transport)
                << QList<RtSaleLine>{{"GONNA", 1, 20, 0, 22}, {"ABITO", 1, 30, 0, 22}} << 10.0
                << QList<Tender>{cashTender(4500)} << none << QString() << QString()
                << QStringList{"=R1/$2000/(GONNA)", "=R1/$3000/(ABITO)", "=S", "=V-/*500",
                               "=T1/$4500"}
                << qint64(4500);
            // At the previous price, less a described reduction down to the
            // sale's own amount, with the previous price printed under it.
            row("campaign line", transport)
                << QList<RtSaleLine>{{"GIACCA", 1, 55.93, 0, 22, 79.9, 30, "SALDI"},
                                     {"CALZE", 1, 5, 0, 22}}
                << 0.0 << QList<Tender>{cardTender(6093)} << none << QString() << QString()
                << QStringList{"=R1/$7990/(GIACCA)",
                               "=V-/*2397/(SALDI -30%)",
                               "=\"/(Prezzo precedente EUR 79,90)",
                               "=R1/$500/(CALZE)",
                               "=S",
                               "=T3/$6093"}
                << qint64(6093);
            row("campaign line, two pieces, a long name and a subtotal discount", transport)
                << QList<RtSaleLine>{{"SCARPE", 2, 34.99, 0, 22, 49.99, 30,
                                      "SALDI DI FINE STAGIONE AUTUNNO INVERNO"}}
                << 5.0 << QList<Tender>{cashTender(6648)} << none << QString() << QString()
                << QStringList{"=R1/$4999/*2.00/(SCARPE)",
                               "=V-/*3000/(SALDI DI FINE STAGIONE AUTU -30%)",
                               "=\"/(Prezzo precedente EUR 49,99)",
                               "=S",
                               "=V-/*350",
                               "=T1/$6648"}
                << qint64(6648);
            row("text the register cannot print", transport)
                << QList<RtSaleLine>{{"T-SHIRT (BIG)\t/ PIÙ ÉCRU € LUNGA DI TRENTADUE CARATTERI", 1,
                                      9.99, 0, 22}}
                << 0.0 << QList<Tender>{cashTender(999)} << none << QString() << QString()
                << QStringList{"=R1/$999/(T-SHIRT (BIG  / PIU ECRU EUR LUN)", "=S", "=T1/$999"}
                << qint64(999);
        }
    }
    void wholeSalesReachTheRegisterCommandByCommand() {
        QFETCH(Transport, transport);
        QFETCH(QString, lottery);
        QFETCH(QString, taxCode);
        QFETCH(QStringList, commands);
        QFETCH(qint64, amount);

        Rig rig(RegisterSettings::rchRtBrand, 1, transport);
        rig.sellRowTwice(QStringLiteral("80RCH000001"), amount);
        if (QTest::currentTestFailed())
            return;
        // The last document is read before the receipt and after it.
        const QList<QByteArray> sent =
            bytes(QStringList{"=?U", "=K"} + commands + QStringList{"=c", "=?U"});
        QCOMPARE(rig.rt.commands().mid(0, sent.size()), sent);
        QCOMPARE(rig.rt.commands().mid(sent.size()), sent);
        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed.at(0).total.cents(), amount);
        QCOMPARE(printed.at(0).lottery, lottery);
        QCOMPARE(printed.at(0).taxCode, taxCode);
    }

    void framesOnTheWire() {
        QCOMPARE(RchRtCommands::frame(0, "=K"), QByteArray("\x02"
                                                           "01002N=K039\x03"));
        // The answer to sequence '0' carries '8', to '1' carries '9'.
        QCOMPARE(RchRtCommands::answerSequence(0), 8);
        QCOMPARE(RchRtCommands::answerSequence(1), 9);
        QCOMPARE(RchRtCommands::answerSequence(2), 0);
        QCOMPARE(RchRtServer::frame('0', "N0000000"), QByteArray("\x02"
                                                                 "01008NN0000000833\x03"));
    }

    void framesReadBack_data() {
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("used");
        const QByteArray answer = "\x02"
                                  "01008NN0000000833\x03";
        QTest::newRow("answer") << answer + "\x06" << Kind::Frame << QByteArray("N0000000") << 19;
        QTest::newRow("answer still coming")
            << answer.left(12) << Kind::Incomplete << QByteArray() << 0;
        QTest::newRow("ack") << QByteArray("\x06") + answer << Kind::Ack << QByteArray() << 1;
        QTest::newRow("nak") << QByteArray("\x15") << Kind::Nak << QByteArray() << 1;
        QTest::newRow("noise") << QByteArray("x") + answer << Kind::Noise << QByteArray() << 1;
        QByteArray badCheck = answer;
        badCheck[15] = 'F';
        QTest::newRow("bad check") << badCheck << Kind::Bad << QByteArray() << 19;
        QTest::newRow("length that lies") << QByteArray("\x02"
                                                        "01009NN0000000833\x03")
                                          << Kind::Bad << QByteArray() << 19;
        QTest::newRow("cut short by a new frame") << QByteArray("\x02"
                                                                "01008NN00") +
                                                         answer
                                                  << Kind::Bad << QByteArray() << 10;
        QTest::newRow("control character in the data") << RchRtServer::frame('0', "N000\x01"
                                                                                  "000")
                                                       << Kind::Bad << QByteArray() << 19;
        QTest::newRow("endless frame")
            << QByteArray("\x02") + QByteArray(1100, 'N') << Kind::Bad << QByteArray() << 1101;
    }
    void framesReadBack() {
        QFETCH(QByteArray, buffer);
        QFETCH(Kind, kind);
        QFETCH(QByteArray, data);
        QFETCH(int, used);
        const RchRtCommands::Taken t = RchRtCommands::take(buffer);
        QCOMPARE(t.kind, kind);
        QCOMPARE(t.data, data);
        QCOMPARE(int(t.used), used);
    }

    void answersRead_data() {
        QTest::addColumn<QByteArray>("answers");
        QTest::addColumn<RtAnswer::Kind>("kind");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("closure");
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<QString>("when");
        using K = RtAnswer::Kind;
        QTest::newRow("a receipt and its number")
            << QByteArray("N0000000\nN0000010\nN0000000\nN0000000/Z0012/N0003/D050326/H103000/"
                          "A2990/M80RCH000001")
            << K::Accepted << QString() << 3 << 12 << qint64(2990)
            << QStringLiteral("2026-03-05T10:30:00");
        QTest::newRow("a closure: the day's total")
            << QByteArray("N0000000\nN0000000/Z0012/T-150/A99\nN0000000") << K::Accepted
            << QString() << 0 << 12 << qint64(-150) << QString();
        QTest::newRow("fields of later firmware")
            << QByteArray("N0000000/N0004/X77/Z0001") << K::Accepted << QString() << 4 << 1
            << qint64(0) << QString();
        QTest::newRow("paper out")
            << QByteArray("N0000000\nP0001010") << K::Refused << QStringLiteral("EPTR_REC_EMPTY")
            << 0 << 0 << qint64(0) << QString();
        QTest::newRow("cover open")
            << QByteArray("S0020010") << K::Refused << QStringLiteral("EPTR_COVER_OPEN") << 0 << 0
            << qint64(0) << QString();
        QTest::newRow("closure overdue")
            << QByteArray("S0045000") << K::Refused << QStringLiteral("RT_CLOSURE_OVERDUE") << 0
            << 0 << qint64(0) << QString();
        QTest::newRow("bad lottery")
            << QByteArray("G0011010") << K::Refused << QStringLiteral("RT_BAD_LOTTERY") << 0 << 0
            << qint64(0) << QString();
        QTest::newRow("other error")
            << QByteArray("G0003010") << K::Refused << QStringLiteral("RCH G0003") << 0 << 0
            << qint64(0) << QString();
        for (const char *bad :
             {"", "N00", "n0000000", "N00x0000", "N0000000Z0001", "N0000000/Z", "N0000000/Zdodici",
              "N0000000/N1234567890", "N0000000//N1", "N0000000/D0503", "N0000000/A12,50"})
            QTest::newRow(qPrintable(QStringLiteral("malformed: ") + QLatin1String(bad)))
                << QByteArray(bad) << K::Malformed << QString() << 0 << 0 << qint64(0) << QString();
    }
    void answersRead() {
        QFETCH(QByteArray, answers);
        QFETCH(RtAnswer::Kind, kind);
        QFETCH(QString, code);
        QFETCH(int, number);
        QFETCH(int, closure);
        QFETCH(qint64, amount);
        QFETCH(QString, when);
        const RtAnswer a = RchRtCommands::parse(answers);
        QCOMPARE(a.kind, kind);
        QCOMPARE(a.code, code);
        QCOMPARE(a.documentNumber, number);
        QCOMPARE(a.closure, closure);
        QCOMPARE(a.amount.cents(), amount);
        QCOMPARE(a.dateTime.toString(Qt::ISODate), when);
    }

    void aReceiptIsNeverPrintedTwice_data() {
        QTest::addColumn<Transport>("transport");
        addLostAnswerColumns<Fault>();
        for (const auto &[label, t] : transports) {
            row("answer lost after printing: the register's number is kept", t)
                << Fault::LostAfterPrint << 1 << 0 << Status::Confirmed << QString() << 1;
            row("broken answer after printing", t)
                << Fault::MalformedFrame << 1 << 0 << Status::Confirmed << QString() << 1;
            row("no answer, not printed: sent again once", t)
                << Fault::NoAnswer << 1 << 0 << Status::Confirmed << QString() << 1;
            row("no answer, no retry: not issued", t)
                << Fault::NoAnswer << 0 << 0 << Status::Unreachable
                << NetworkFiscalDevice::notIssuedText << 0;
            row("printed and the check unanswered: the operator verifies", t)
                << Fault::LostAfterPrint << 1 << 1 << Status::Unconfirmed
                << NetworkFiscalDevice::unconfirmedText << 1;
            row("not printed and the check unanswered: never sent again", t)
                << Fault::NoAnswer << 3 << 1 << Status::Unconfirmed
                << NetworkFiscalDevice::unconfirmedText << 0;
            row("paper out", t) << Fault::PaperOut << 1 << 0 << Status::Refused
                                << NetworkFiscalDevice::refusalText("EPTR_REC_EMPTY") << 0;
            row("cover open", t) << Fault::CoverOpen << 1 << 0 << Status::Refused
                                 << NetworkFiscalDevice::refusalText("EPTR_COVER_OPEN") << 0;
        }
    }
    void aReceiptIsNeverPrintedTwice() {
        QFETCH(Transport, transport);
        QFETCH(Fault, fault);
        QFETCH(int, retries);
        QFETCH(int, silentQueries);

        Rig rig(RegisterSettings::rchRtBrand, retries, transport);
        rig.describeAfterAnEarlierSale(fault);
        if (QTest::currentTestFailed())
            return;
        const qsizetype before = rig.rt.commands().size();
        // The check after a lost answer is the next query.
        rig.rt.silenceQueriesAfterClose(silentQueries);
        QVERIFY(rig.run([&] { return rig.device.end(); }));
        rig.checkSecondSale();
        if (QTest::currentTestFailed())
            return;
        // After a "=c" left without its answer, the register is asked before
        // anything else goes out.
        const QList<QByteArray> sent = rig.rt.commands().mid(before);
        for (qsizetype i = 0; i + 1 < sent.size(); ++i)
            if (sent.at(i) == "=c" && fault != Fault::PaperOut && fault != Fault::CoverOpen)
                QCOMPARE(sent.at(i + 1), QByteArray("=?U"));
        QCOMPARE(sent.count("=c"),
                 fault == Fault::NoAnswer && retries > 0 && !silentQueries ? 2 : 1);
    }

    // A return and a void quote the receipt; the Z report closes the day.
    void returnVoidAndClosure_data() {
        QTest::addColumn<Transport>("transport");
        for (const auto &[label, t] : transports)
            QTest::newRow(label) << t;
    }
    void returnVoidAndClosure() {
        QFETCH(Transport, transport);
        Rig rig(RegisterSettings::rchRtBrand, 1, transport);
        rig.rt.setClosure(12);
        QVERIFY(
            rig.sell({{"GIACCA", 1, 50, 0, 22}, {"CINTURA", 1, 20, 0, 22}}, {cashTender(7000)}));
        const FiscalDocumentRef sold = rig.outcome.document;
        QVERIFY(rig.sell({{"B", 2, 5, 0, 10}}, {cardTender(1000)}));
        const FiscalDocumentRef second = rig.outcome.document;

        qsizetype before = rig.rt.commands().size();
        rig.describe({{"CINTURA", 1, 20, 0, 22}}, 0, {cashTender(2000)}, {}, {}, {},
                     FiscalDocument::Kind::Return, sold);
        QVERIFY(rig.run([&] { return rig.device.end(); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.document.number, 3);
        QCOMPARE(rig.rt.commands().mid(before),
                 bytes({"=?U", "=K", "=r/&050326/0012/0001", "=R1/$2000/(CINTURA)", "=S",
                        "=T1/$2000", "=c", "=?U"}));

        before = rig.rt.commands().size();
        rig.describe({}, 0, {}, {}, {}, {}, FiscalDocument::Kind::Void, second);
        QVERIFY(rig.run([&] { return rig.device.end(); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.document.number, 4);
        QCOMPARE(rig.rt.commands().mid(before),
                 bytes({"=?U", "=K", "=k/&050326/0012/0002", "=c", "=?U"}));
        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 4);
        QCOMPARE(printed.at(2).kind, SimulatedRchRt::Document::Kind::Return);
        QCOMPARE(printed.at(2).quoted, QByteArray("050326/0012/0001"));
        QCOMPARE(printed.at(3).kind, SimulatedRchRt::Document::Kind::Void);

        before = rig.rt.commands().size();
        QVERIFY(rig.run([&] { return rig.device.report(FiscalDevice::Report::Z); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.document.closure, 12);
        QCOMPARE(rig.outcome.document.serial, QStringLiteral("80RCH000001"));
        QCOMPARE(rig.outcome.amount.cents(), qint64(7000 + 1000 - 2000));
        QCOMPARE(rig.rt.commands().mid(before), bytes({"=K", "=C3", "=C10", "=C1", "=K"}));
        QCOMPARE(rig.rt.closure(), 13);
        QVERIFY(rig.sell({{"C", 1, 10, 0, 22}}, {cashTender(1000)}));
        QCOMPARE(rig.outcome.document.number, 1);
        QCOMPARE(rig.outcome.document.closure, 13);
    }

    void statusOverdueClosureAndUnreachable() {
        Rig rig(RegisterSettings::rchRtBrand);
        QVERIFY(rig.sell({{"A", 1, 10, 0, 22}}, {cashTender(1000)}));
        QVERIFY(rig.run([&] { return rig.device.queryStatus(); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.deviceStatus,
                 QStringLiteral("Registratore pronto.\rMatricola: 80RCH000001\rUltimo documento: "
                                "n. 1, chiusura n. 1 del 05/03/2026 10:30"));

        rig.rt.setLastClosure(rtShopTime.addSecs(-25 * 3600));
        QVERIFY(rig.sell({{"C", 1, 10, 0, 22}}, {cashTender(1000)}));
        QCOMPARE(rig.outcome.status, Status::Refused);
        QCOMPARE(rig.outcome.message, NetworkFiscalDevice::refusalText("RT_CLOSURE_OVERDUE"));
        QVERIFY(rig.run([&] { return rig.device.report(FiscalDevice::Report::X); }));
        QCOMPARE(rig.outcome.status, Status::Confirmed);
        QCOMPARE(rig.outcome.amount.cents(), qint64(1000));

        // A void that quotes no receipt would print as a sale: nothing goes out.
        const int sent = rig.rt.requests();
        rig.describe({}, 0, {}, {}, {}, {}, FiscalDocument::Kind::Void, FiscalDocumentRef());
        QVERIFY(rig.run([&] { return rig.device.end(); }));
        QCOMPARE(rig.outcome.status, Status::Refused);
        QCOMPARE(rig.outcome.message, NetworkFiscalDevice::unquotedText);
        QCOMPARE(rig.rt.requests(), sent);

        rig.setSettings([](RegisterSettings &s) { s.address = QStringLiteral("127.0.0.1:1"); });
        QVERIFY(rig.sell({{"A", 1, 10, 0, 22}}, {cashTender(1000)}));
        QCOMPARE(rig.outcome.status, Status::Unreachable);
        QCOMPARE(rig.outcome.message, NetworkFiscalDevice::unreachableText("127.0.0.1:1"));
        QCOMPARE(rig.rt.receipts().size(), 1);
        // Without a port the register's own 23 is taken; 80 for service.cgi.
        RegisterSettings s;
        s.address = QStringLiteral("192.168.1.50");
        QCOMPARE(s.hostAndPort(RchRtDialect().defaultPort())->second, 23);
        QCOMPARE(s.hostAndPort(RchRtDialect(Transport::Http).defaultPort())->second, 80);
    }

    // A serial port that is not there, or a register that never answers on
    // it: nothing was printed, and the message names the port.
    void serialLineWithoutARegister() {
#ifdef Q_OS_WIN
        QSKIP("pseudo-terminali solo su Unix");
#endif
        Rig rig(RegisterSettings::rchRtBrand, 1, Transport::Serial);
        rig.setSettings([](RegisterSettings &s) {
            s.device = QStringLiteral("/dev/corvale-no-register");
            s.networkTimeout = 300;
        });
        QVERIFY(rig.sell({{"A", 1, 10, 0, 22}}, {cashTender(1000)}));
        QCOMPARE(rig.outcome.status, Status::Unreachable);
        QCOMPARE(rig.outcome.message,
                 NetworkFiscalDevice::silentPortText(QStringLiteral("/dev/corvale-no-register")));
        QVERIFY(rig.run([&] { return rig.device.report(FiscalDevice::Report::Z); }));
        QCOMPARE(rig.outcome.status, Status::Unreachable);

        // A line where nobody answers: not even the first command was taken.
        PtyPair silent;
        QVERIFY(silent.open());
        rig.setSettings([&](RegisterSettings &s) { s.device = silent.devicePath(); });
        QVERIFY(rig.run([&] { return rig.device.report(FiscalDevice::Report::Z); }));
        QCOMPARE(rig.outcome.status, Status::Unreachable);
        QCOMPARE(rig.outcome.message, NetworkFiscalDevice::silentPortText(silent.devicePath()));
        QVERIFY(silent.readAvailable().startsWith(RchRtCommands::frame(0, "=K")));
        QCOMPARE(rig.rt.receipts().size(), 0);
    }

    // The register's bytes fed to the exchange whole, one at a time and in
    // random pieces: the same frames go out and the same answers come back.
    void exchangeTakesTheBytesHoweverTheyArrive_data() {
        QTest::addColumn<QList<QByteArray>>("commands");
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<int>("state");
        QTest::addColumn<QByteArray>("answers");
        QTest::addColumn<int>("sent"); // frames written after the first
        auto answer = [](int sequence, const QByteArray &data) {
            return "\x06" + RchRtServer::frame(char('0' + sequence), data);
        };
        using S = RchExchange::Step::State;
        const QList<QByteArray> receipt{"=K", "=R1/$2990/(MAGLIA)", "=c", "=?U"};
        const QByteArray last = "N0000000/Z0012/N0003/D050326/H103000/A2990/M80RCH000001";
        QTest::newRow("a whole receipt")
            << receipt
            << answer(0, "N0000000") + answer(1, "N0000010") + answer(2, "N0000000") +
                   answer(3, last)
            << int(S::Done) << "N0000000\nN0000010\nN0000000\n" + last << 3;
        QTest::newRow("noise and a late answer to an earlier request are passed over")
            << receipt
            << "xx" + answer(5, "N0000000") + answer(0, "N0000000") + "\x06\x06" +
                   answer(1, "N0000010") + answer(2, "N0000000") + answer(3, last)
            << int(S::Done) << "N0000000\nN0000010\nN0000000\n" + last << 3;
        QTest::newRow("refused: the rest is not sent")
            << receipt << answer(0, "N0000000") + answer(1, "P0001010") + answer(2, "N0000000")
            << int(S::Done) << QByteArray("N0000000\nP0001010") << 1;
        QByteArray broken = answer(1, "N0000010");
        broken[broken.size() - 2] = 'X';
        QTest::newRow("a frame that fails its check")
            << receipt << answer(0, "N0000000") + broken << int(S::Failed) << QByteArray() << 1;
        QTest::newRow("NAK") << receipt << QByteArray("\x15") << int(S::Failed) << QByteArray()
                             << 0;
        QTest::newRow("cut short") << receipt << answer(0, "N0000000") + answer(1, "N00").left(9)
                                   << int(S::Waiting) << QByteArray() << 1;
    }
    void exchangeTakesTheBytesHoweverTheyArrive() {
        QFETCH(QList<QByteArray>, commands);
        QFETCH(QByteArray, stream);
        QFETCH(int, state);
        QFETCH(QByteArray, answers);
        QFETCH(int, sent);
        QRandomGenerator random(7);
        for (const char *way : {"whole", "byte by byte", "random pieces"}) {
            RchExchange exchange;
            QCOMPARE(exchange.start(commands), RchRtCommands::frame(0, commands.first()));
            QByteArray written;
            RchExchange::Step last;
            for (qsizetype at = 0; at < stream.size() && exchange.isRunning();) {
                const qsizetype n = way[0] == 'w'   ? stream.size()
                                    : way[0] == 'b' ? 1
                                                    : 1 + random.bounded(9);
                last = exchange.feed(stream.mid(at, n));
                written += last.write;
                at += n;
            }
            QVERIFY2(int(last.state) == state, way);
            QCOMPARE(last.answers, answers);
            QByteArray expected;
            for (int i = 1; i <= sent; ++i)
                expected += RchRtCommands::frame(i % 10, commands.at(i));
            QCOMPARE(written, expected);
            QCOMPARE(exchange.heard(), !stream.isEmpty());
        }
    }

    // service.cgi: the request, and the answers read back from its document.
    void serviceDocuments_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QByteArray>("answers");
        QTest::newRow("answers in order")
            << QByteArray("<?xml version=\"1.0\"?>\n<Service><answer>N0000000</answer>"
                          "<answer>N0000000/Z0012/N0003</answer></Service>")
            << true << QByteArray("N0000000\nN0000000/Z0012/N0003");
        QTest::newRow("elements of later firmware, white space")
            << QByteArray("<Service>\n <info>x</info>\n <answer>N0000000</answer>\n</Service>")
            << true << QByteArray("N0000000");
        for (const char *bad :
             {"", "<Service></Service>", "<Other><answer>N0000000</answer></Other>",
              "<Service><answer>N0000000</answer>", "<Service><answer></answer></Service>",
              "<Service><answer>N00&#10;00000</answer></Service>",
              "<Service><answer>N000<b/>0000</answer></Service>",
              "<Service><answer>N0000000 \xc3\xa8</answer></Service>", "N0000000"})
            QTest::newRow(qPrintable(QStringLiteral("refused: ") + QString::fromUtf8(bad)))
                << QByteArray(bad) << false << QByteArray();
        QTest::newRow("refused: an answer longer than a frame")
            << "<Service><answer>N0000000/" + QByteArray(1000, 'X') + "</answer></Service>" << false
            << QByteArray();
    }
    void serviceDocuments() {
        QFETCH(QByteArray, body);
        QFETCH(bool, read);
        QFETCH(QByteArray, answers);
        const auto got = RchServiceXml::answers(body);
        QCOMPARE(got.has_value(), read);
        QCOMPARE(got.value_or(QByteArray()), answers);
        // The dialect reads nothing from what is not such a document.
        if (!read)
            QCOMPARE(RchRtDialect(Transport::Http).parse(body).kind, RtAnswer::Kind::Malformed);
    }
    void serviceRequestCarriesEveryCommand() {
        const QByteArray body =
            RchServiceXml::request({"=K", "=r/&050326/0012/0001", "=\"/?L/$1/(AB12CD34)"});
        QCOMPARE(body, QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Service>"
                                  "<cmd>=K</cmd><cmd>=r/&amp;050326/0012/0001</cmd>"
                                  "<cmd>=&quot;/?L/$1/(AB12CD34)</cmd></Service>\n"));
        QCOMPARE(RchRtDialect(Transport::Http).target(1000), QStringLiteral("/service.cgi"));
    }
};

QTEST_GUILESS_MAIN(TestRchRt)
#include "tst_rchrt.moc"

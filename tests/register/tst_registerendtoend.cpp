// Whole receipts through a real serial port (a pseudo-terminal) to the
// simulated registers, and the register test tool as the technician runs it.

#include "RegisterSimulator.h"
#include "platform/IniFile.h"
#include "platform/ScriptedPrompter.h"
#include "register/ReceiptBuilder.h"
#include "register/RegisterTransmission.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace corvale;
using sim::RegisterSimulator;
using sim::SimulatedRegister;

namespace {

constexpr int tickMs = 5;

ReceiptLine line(const QString &description, double quantity, double price, double discount = 0) {
    return {description, quantity, price,
            discount,    22,       ReceiptBuilder::lineAmount(quantity, price, discount)};
}

Receipt receipt(QList<ReceiptLine> lines, double saleDiscount = 0) {
    return *ReceiptBuilder::build(std::move(lines), saleDiscount, std::nullopt, false);
}

RegisterSettings settingsFor(SimulatedRegister::Protocol protocol, const QString &device) {
    RegisterSettings s;
    s.device = device;
    switch (protocol) {
    case SimulatedRegister::Protocol::Ela:
        s.brand = 1;
        break;
    case SimulatedRegister::Protocol::Dataprocess:
        s.brand = 2;
        break;
    case SimulatedRegister::Protocol::Epson:
        s.brand = 8;
        break;
    case SimulatedRegister::Protocol::RchGlobe:
        s.brand = 4;
        s.model = 1;
        break;
    case SimulatedRegister::Protocol::RchMizar:
        s.brand = 4;
        s.model = 2;
        break;
    }
    return s;
}

RegisterSimulator::Pacing fastPacing() {
    RegisterSimulator::Pacing p;
    p.replyDelayMs = 6 * tickMs; // the reply frame comes apart from the ACK
    p.closeDelayMs = 20 * tickMs;
    return p;
}

struct Outcome {
    bool finished = false;
    bool completed = false;
    bool save = false;
    qint64 elapsedMs = 0;
};

Outcome runReceipt(RegisterTransmission &tx, const RegisterSettings &settings, const Receipt &r,
                   int timeoutMs = 20000) {
    Outcome out;
    QSignalSpy finished(&tx, &RegisterTransmission::finished);
    QSignalSpy busy(&tx, &RegisterTransmission::busyChanged);
    QElapsedTimer clock;
    clock.start();
    if (!tx.start(settings, r))
        return out;
    if (!finished.wait(timeoutMs))
        return out;
    out.elapsedMs = clock.elapsed();
    out.finished = true;
    out.completed = finished.at(0).at(0).toBool();
    out.save = finished.at(0).at(1).toBool();
    // Busy on at the start, off at the end, before finished().
    if (busy.size() != 2 || !busy.at(0).at(0).toBool() || busy.at(1).at(0).toBool())
        out.finished = false;
    return out;
}

QString binary(const char *name) {
    return QStringLiteral(CORVALE_BINARY_DIR "/bin/") + QLatin1String(name);
}

} // namespace

class TestRegisterEndToEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void oneLineReceiptEachProtocol_data() {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<bool>("saves");
        QTest::addColumn<QStringList>("texts");
        using P = SimulatedRegister::Protocol;
        const QString item = QStringLiteral("MAGLIA");
        QTest::newRow("ela") << int(P::Ela) << true
                             << QStringList{"$1322", "$1325%19,90&MAGLIA\"22 !0",
                                            "$1332", "$1329%19,90(CONTANTI",
                                            "$1323", "#912!1"};
        QTest::newRow("dataprocess") << int(P::Dataprocess) << true
                                     << QStringList{"V121700",
                                                    "V100300"
                                                    "1" +
                                                        QString(39, u'0') +
                                                        "MAGLIA          0001000"
                                                        "1"
                                                        "000001990"
                                                        "01",
                                                    "V103600000001990"};
        QTest::newRow("epson") << int(P::Epson) << true
                               << QStringList{"E4201",
                                              "E100301" + QString(40, u'0') +
                                                  "MAGLIA              0001000"
                                                  "1"
                                                  "000001990"
                                                  "01",
                                              "E103601000000000"};
        QTest::newRow("rch-globe")
            << int(P::RchGlobe) << false << QStringList{"=K", "=R1/$1990/(MAGLIA)", "=S", "=T1"};
        QTest::newRow("rch-mizar")
            << int(P::RchMizar) << false
            << QStringList{"p110", "rMAGLIA              00001990 01\x19", "p100", "u10351001\x19"};
        Q_UNUSED(item);
    }

    void oneLineReceiptEachProtocol() {
        QFETCH(int, protocol);
        QFETCH(bool, saves);
        QFETCH(QStringList, texts);
        const auto kind = SimulatedRegister::Protocol(protocol);
        RegisterSimulator sim(kind, {}, fastPacing());
        QVERIFY(sim.open());
        ScriptedPrompter prompter;
        RegisterTransmission tx(prompter);
        tx.setTickInterval(tickMs);
        const Outcome out = runReceipt(tx, settingsFor(kind, sim.devicePath()),
                                       receipt({line(QStringLiteral("MAGLIA"), 1, 19.9)}));
        QVERIFY(out.finished);
        QVERIFY(out.completed);
        QCOMPARE(out.save, saves);
        QVERIFY(!tx.isRunning());
        QVERIFY(prompter.done());

        QStringList got;
        for (const auto &f : sim.frames()) {
            if (f.kind == u"FRAME" || f.kind == u"COMMAND" || f.kind == u"DATA") {
                QVERIFY2(f.checksumOk, f.raw.toHex().constData());
                got << QString::fromLatin1(f.text);
            }
        }
        QCOMPARE(got, texts);
    }

    void tenLineDataprocessReceipt() {
        RegisterSimulator sim(SimulatedRegister::Protocol::Dataprocess, {}, fastPacing());
        QVERIFY(sim.open());
        ScriptedPrompter prompter;
        RegisterTransmission tx(prompter);
        tx.setTickInterval(tickMs);
        QList<ReceiptLine> lines;
        for (int i = 1; i <= 10; ++i)
            lines << line(QStringLiteral("ARTICOLO %1").arg(i), i % 2 ? 1 : 2, 9.9 * i);
        const Outcome out =
            runReceipt(tx, settingsFor(SimulatedRegister::Protocol::Dataprocess, sim.devicePath()),
                       receipt(lines));
        QVERIFY(out.completed);
        QVERIFY(out.save);
        const auto frames = sim.frames();
        QList<QByteArray> texts;
        int seq = 0;
        for (const auto &f : frames) {
            if (f.kind != u"FRAME")
                continue;
            QVERIFY(f.checksumOk);
            QCOMPARE(f.sequence, seq++);
            texts << f.text;
        }
        QCOMPARE(texts.size(), 12);
        QCOMPARE(texts.at(1).mid(47, 16), "ARTICOLO 1      ");
        QCOMPARE(texts.at(10).left(5), "V1004");
        QCOMPARE(texts.at(10).mid(47, 16), "ARTICOLO 10     ");
        QVERIFY(texts.at(11).startsWith("V103600"));
    }

    void registerFallsSilentAfterTheThirdFrame() {
        SimulatedRegister::Options options;
        options.silentAfter = 3;
        RegisterSimulator sim(SimulatedRegister::Protocol::Dataprocess, options, fastPacing());
        QVERIFY(sim.open());
        ScriptedPrompter prompter;
        prompter.expectError(QStringLiteral("Il Reg. di Cassa non risponde!"));
        RegisterTransmission tx(prompter);
        const int tick = 10;
        tx.setTickInterval(tick);
        QList<ReceiptLine> lines;
        for (int i = 0; i < 10; ++i)
            lines << line(QStringLiteral("X"), 1, 1);
        const auto settings =
            settingsFor(SimulatedRegister::Protocol::Dataprocess, sim.devicePath());
        const Outcome out = runReceipt(tx, settings, receipt(lines));
        QVERIFY(out.finished);
        QVERIFY(!out.completed);
        QVERIFY(!out.save); // the sale stays unsaved and editable
        QVERIFY(prompter.done());
        // About 100 ticks of silence after the last frame sent.
        QVERIFY2(out.elapsedMs >= 100 * tick, qPrintable(QString::number(out.elapsedMs)));
        QVERIFY(sim.messageTexts().size() < 12);

        // The port was given back: the operator can try again at once.
        SerialLine again;
        QVERIFY(again.open(settings.device));
    }

    void answersInRandomChunksWithNoise() {
        for (auto kind :
             {SimulatedRegister::Protocol::RchGlobe, SimulatedRegister::Protocol::Epson}) {
            SimulatedRegister::Options options;
            options.garbage = true;
            options.seed = 7;
            RegisterSimulator::Pacing pacing = fastPacing();
            pacing.randomChunks = true;
            RegisterSimulator sim(kind, options, pacing);
            QVERIFY(sim.open());
            ScriptedPrompter prompter;
            RegisterTransmission tx(prompter);
            tx.setTickInterval(tickMs);
            const Receipt r = receipt({line(QStringLiteral("GIACCA"), 2, 120, 10),
                                       line(QStringLiteral("CINTURA"), 1, 25)},
                                      5);
            const Outcome out = runReceipt(tx, settingsFor(kind, sim.devicePath()), r);
            QVERIFY(out.completed);
            const QList<QByteArray> texts = sim.messageTexts();
            if (kind == SimulatedRegister::Protocol::RchGlobe) {
                QCOMPARE(texts,
                         (QList<QByteArray>{"=K", "=R1/$12000/*2.00/(GIACCA)", "=%/*10.00",
                                            "=R1/$2500/(CINTURA)", "=S", "=V/*1205", "=T1"}));
            } else {
                QCOMPARE(texts.size(), 5);
                QCOMPARE(texts.at(2), "E1023011000");
            }
            for (const auto &f : sim.frames())
                QVERIFY(f.checksumOk);
        }
    }

    void unpluggedRegisterEndsTheTransmissionAtOnce() {
        RegisterSimulator sim(SimulatedRegister::Protocol::Dataprocess, {}, fastPacing());
        QVERIFY(sim.open());
        connect(&sim, &RegisterSimulator::frameReceived, &sim, [&sim](const QString &l) {
            if (l.contains(QLatin1String("V1003")))
                QMetaObject::invokeMethod(&sim, &RegisterSimulator::unplug, Qt::QueuedConnection);
        });
        ScriptedPrompter prompter;
        prompter.expectError(QStringLiteral("Il Reg. di Cassa non risponde!"));
        RegisterTransmission tx(prompter);
        const int tick = 20;
        tx.setTickInterval(tick);
        const Outcome out =
            runReceipt(tx, settingsFor(SimulatedRegister::Protocol::Dataprocess, sim.devicePath()),
                       receipt({line(QStringLiteral("A"), 1, 1), line(QStringLiteral("B"), 1, 1)}));
        QVERIFY(out.finished);
        QVERIFY(!out.completed);
        QVERIFY(prompter.done());
        // Well before the 100-tick silence limit.
        QVERIFY2(out.elapsedMs < 50 * tick, qPrintable(QString::number(out.elapsedMs)));
    }

    void portProblems() {
        // No such port.
        ScriptedPrompter prompter;
        prompter.expectError(QStringLiteral("Apertura porta seriale non riuscita!"));
        RegisterTransmission tx(prompter);
        RegisterSettings missing;
        missing.device = QStringLiteral("/dev/corvale-no-register");
        QVERIFY(!tx.start(missing, receipt({line(QStringLiteral("A"), 1, 1)})));
        QVERIFY(!tx.isRunning());
        QVERIFY(prompter.done());

        // 7 bits and parity, which a pseudo-terminal refuses, still let the receipt through.
        RegisterSimulator sim(SimulatedRegister::Protocol::RchGlobe, {}, fastPacing());
        QVERIFY(sim.open());
        RegisterTransmission tx2(prompter);
        tx2.setTickInterval(tickMs);
        RegisterSettings s = settingsFor(SimulatedRegister::Protocol::RchGlobe, sim.devicePath());
        s.speed = 2; // "9600, 7, EVEN"
        QVERIFY(runReceipt(tx2, s, receipt({line(QStringLiteral("A"), 1, 1)})).completed);
        QVERIFY(!tx2.lineWarnings().isEmpty());
    }

    void brandWithoutProtocolHoldsThePort() {
        RegisterSimulator sim(SimulatedRegister::Protocol::Ela, {}, fastPacing());
        QVERIFY(sim.open());
        ScriptedPrompter prompter;
        RegisterTransmission tx(prompter);
        QSignalSpy busy(&tx, &RegisterTransmission::busyChanged);
        RegisterSettings s;
        s.device = sim.devicePath();
        s.brand = 3; // "HTL Optima"
        QVERIFY(tx.start(s, receipt({line(QStringLiteral("A"), 1, 1)})));
        QVERIFY(tx.isRunning());
        QCOMPARE(busy.size(), 1);
        QTest::qWait(50);
        QVERIFY(sim.frames().isEmpty());
        // A second start while one runs sends nothing.
        QVERIFY(!tx.start(s, receipt({line(QStringLiteral("A"), 1, 1)})));
        tx.stop();
        QVERIFY(!tx.isRunning());
        QCOMPARE(busy.size(), 2);
        QVERIFY(prompter.done());
    }

    void testToolAgainstTheSimulatorTool() {
        QProcess simProcess;
        simProcess.start(binary("corvale-register-sim"),
                         {QStringLiteral("--protocol"), QStringLiteral("epson"),
                          QStringLiteral("--reply-delay-ms"), QStringLiteral("60"),
                          QStringLiteral("--close-delay-ms"), QStringLiteral("200")});
        QVERIFY(simProcess.waitForStarted());
        QTRY_VERIFY(simProcess.canReadLine());
        const QString device = QString::fromLocal8Bit(simProcess.readLine()).trimmed();
        QVERIFY(device.startsWith(u'/'));

        QTemporaryDir home;
        IniFile ini(home.filePath(QStringLiteral("Dati.ini")));
        ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("DEVICE"), device);
        ini.writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"), 8);
        ini.writeBool(QStringLiteral("GENERALI"), QStringLiteral("CALCRESTO"), true);

        QProcess tool;
        tool.start(binary("corvale-regtest"),
                   {QStringLiteral("--home"), home.path(), QStringLiteral("--line"),
                    QStringLiteral("MAGLIA;2;19.90;10;22"), QStringLiteral("--sale-discount"),
                    QStringLiteral("5"), QStringLiteral("--cash"), QStringLiteral("50"),
                    QStringLiteral("--tick-ms"), QStringLiteral("10")});
        QTRY_VERIFY_WITH_TIMEOUT(tool.state() == QProcess::NotRunning, 20000);
        const QString out = QString::fromLocal8Bit(tool.readAllStandardOutput());
        QCOMPARE(tool.exitCode(), 0);
        QVERIFY2(out.contains(QLatin1String("la vendita viene salvata")), qPrintable(out));
        QVERIFY2(out.contains(QLatin1String("totale 34,03")), qPrintable(out));

        QByteArray simLog;
        QTRY_VERIFY(
            (simLog += simProcess.readAll()).contains("EPSON FRAME seq=4 E103601000005000"));
        simProcess.kill();
        simProcess.waitForFinished();

        // The same settings with the register gone: the program's own message, exit 1.
        ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("DEVICE"),
                        QStringLiteral("/dev/corvale-no-register"));
        tool.start(binary("corvale-regtest"), {QStringLiteral("--home"), home.path()});
        QVERIFY(tool.waitForFinished(10000));
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY(tool.readAllStandardError().contains("Apertura porta seriale non riuscita!"));
    }

    // The technician's tool against the simulator tool serving each RT: a
    // sale paid by card (its answer lost after printing, where told), the
    // daily reading and the closure.
    void testToolAgainstTheTelematicSimulator_data() {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<int>("make");
        QTest::addColumn<QString>("serial");
        QTest::newRow("epson-rt") << QStringList{"--protocol", "epson-rt"} << 9
                                  << QStringLiteral("99MEX000001");
        QTest::newRow("custom-rt, basic authentication")
            << QStringList{"--protocol", "custom-rt", "--user", "cassa", "--password", "segreta"}
            << 10 << QStringLiteral("STMTE100001");
        QTest::newRow("custom-rt, answer lost after printing")
            << QStringList{"--protocol", "custom-rt", "--fail", "lost-after-print"} << 10
            << QStringLiteral("STMTE100001");
        QTest::newRow("rch-rt") << QStringList{"--protocol", "rch-rt"} << 11
                                << QStringLiteral("80RCH000001");
        QTest::newRow("rch-rt, answer lost after printing")
            << QStringList{"--protocol", "rch-rt", "--fail", "lost-after-print"} << 11
            << QStringLiteral("80RCH000001");
        QTest::newRow("rch-rt over service.cgi, answer lost after printing")
            << QStringList{"--protocol", "rch-rt", "--transport",
                           "http",       "--fail", "lost-after-print"}
            << 11 << QStringLiteral("80RCH000001");
        QTest::newRow("rch-rt on a serial line, answer lost after printing")
            << QStringList{"--protocol",       "rch-rt",
                           "--transport",      "serial",
                           "--fail",           "lost-after-print",
                           "--reply-delay-ms", "20",
                           "--close-delay-ms", "100"}
            << 11 << QStringLiteral("80RCH000001");
    }
    void testToolAgainstTheTelematicSimulator() {
        QFETCH(QStringList, simArgs);
        QFETCH(int, make);
        QFETCH(QString, serial);
        QProcess simProcess;
        simProcess.start(binary("corvale-register-sim"), simArgs);
        QVERIFY(simProcess.waitForStarted());
        QTRY_VERIFY(simProcess.canReadLine());
        const QString address = QString::fromLocal8Bit(simProcess.readLine()).trimmed();
        const qsizetype way = simArgs.indexOf(QStringLiteral("--transport"));
        const QString transport = way < 0 ? QStringLiteral("tcp") : simArgs.value(way + 1);
        QVERIFY2(address.startsWith(transport == u"serial" ? QLatin1String("/")
                                                           : QLatin1String("127.0.0.1:")),
                 qPrintable(address));

        QTemporaryDir home;
        IniFile ini(home.filePath(QStringLiteral("Dati.ini")));
        ini.writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"), make);
        if (transport == u"serial")
            ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("DEVICE"), address);
        else
            ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("INDIRIZZO"), address);
        if (way >= 0)
            ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("RTCOLLEG"),
                            transport == u"serial" ? QStringLiteral("SERIALE")
                                                   : QStringLiteral("HTTP"));
        if (simArgs.contains(QStringLiteral("--user"))) {
            ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("RTUTENTE"),
                            QStringLiteral("cassa"));
            ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("RTPASSWORD"),
                            QStringLiteral("segreta"));
        }
        auto run = [&](const QStringList &args) {
            QProcess tool;
            tool.start(binary("corvale-regtest"),
                       QStringList{QStringLiteral("--home"), home.path()} + args);
            [&] { QTRY_VERIFY_WITH_TIMEOUT(tool.state() == QProcess::NotRunning, 20000); }();
            return std::pair{tool.exitCode(), QString::fromLocal8Bit(tool.readAllStandardOutput())};
        };
        auto [code, out] = run({QStringLiteral("--line"), QStringLiteral("MAGLIA;2;19.90;10;22"),
                                QStringLiteral("--payment"), QStringLiteral("card")});
        QCOMPARE(code, 0);
        QVERIFY2(out.contains(QStringLiteral("Confermato: documento n. 1, chiusura n. 1, matricola "
                                             "%1, totale 35,82")
                                  .arg(serial)),
                 qPrintable(out));
        std::tie(code, out) = run({QStringLiteral("--rt"), QStringLiteral("x")});
        QCOMPARE(code, 0);
        QVERIFY2(out.contains(QLatin1String("chiusura n. 1,")), qPrintable(out));
        std::tie(code, out) = run({QStringLiteral("--rt"), QStringLiteral("z")});
        QCOMPARE(code, 0);
        std::tie(code, out) = run({QStringLiteral("--rt"), QStringLiteral("status")});
        QCOMPARE(code, 0);
        QVERIFY2(out.contains(QLatin1String("Ultimo documento: n. 0, chiusura n. 2")),
                 qPrintable(out));
        simProcess.kill();
        simProcess.waitForFinished();

        // The register gone: the program's own message, exit 1.
        std::tie(code, out) = run({QStringLiteral("--rt"), QStringLiteral("status")});
        QCOMPARE(code, 1);
        QVERIFY2(out.contains(QLatin1String("non risponde")), qPrintable(out));
    }
};

QTEST_GUILESS_MAIN(TestRegisterEndToEnd)
#include "tst_registerendtoend.moc"

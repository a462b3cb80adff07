// A cash register that is not there: shops rehearse the counter sale with it
// and the tests run whole receipts against it. It prints the device to put in
// REGCASSA/DEVICE, then one line for every frame the program sends.

#include "RchRtLine.h"
#include "RchRtServer.h"
#include "RchServiceCgi.h"
#include "RegisterSimulator.h"
#include "RtHttpServer.h"
#include "SimulatedCustomRt.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

using corvale::sim::LocalServer;
using corvale::sim::RchRtLine;
using corvale::sim::RchRtServer;
using corvale::sim::RchServiceCgi;
using corvale::sim::RegisterSimulator;
using corvale::sim::RtHttpServer;
using corvale::sim::SimulatedCustomRt;
using corvale::sim::SimulatedEpsonRt;
using corvale::sim::SimulatedRchRt;
using corvale::sim::SimulatedRegister;

namespace {

// The faults and the closure of the command line, on either kind of register.
template <typename Rt> bool setUp(Rt &rt, const QCommandLineParser &parser, const char *faults) {
    if (parser.isSet(QStringLiteral("fail"))) {
        const auto fault = Rt::faultFromName(parser.value(QStringLiteral("fail")));
        if (!fault) {
            QTextStream(stderr) << "--fail: " << faults << '\n';
            return false;
        }
        const int times = parser.isSet(QStringLiteral("fail-times"))
                              ? parser.value(QStringLiteral("fail-times")).toInt()
                              : 1;
        rt.failReceipts(*fault, times);
    }
    if (parser.isSet(QStringLiteral("closure-overdue")))
        rt.setLastClosure(QDateTime::currentDateTime().addSecs(-25 * 3600));
    return true;
}

// One line of the traffic, then the receipts printed since the last line.
void printTraffic(const SimulatedRchRt &rt, const QString &line) {
    static qsizetype shown = 0;
    std::printf("%s\n", qPrintable(line));
    const auto docs = rt.receipts();
    for (; shown < docs.size(); ++shown) {
        const SimulatedRchRt::Document &d = docs.at(shown);
        std::printf("documento %04d-%04d totale %s\n", d.closure, d.number,
                    qPrintable(QString::number(d.total.toDouble(), 'f', 2)));
    }
    std::fflush(stdout);
}

// --- RCH telematic register: frames over TCP or a pseudo-terminal, or HTTP ---
int serveRchRt(QCoreApplication &app, const QCommandLineParser &parser,
               const RegisterSimulator::Pacing &pacing) {
    SimulatedRchRt rt;
    if (!setUp(rt, parser,
               "no-answer | lost-after-print | paper-out | cover-open | malformed-frame"))
        return 2;
    const QString transport = parser.value(QStringLiteral("transport"));
    if (transport == u"serial") {
        auto line = std::make_unique<RchRtLine>(rt);
        line->setLog([&rt](const QString &l) { printTraffic(rt, l); });
        RegisterSimulator simulator(std::move(line), pacing);
        if (!simulator.open()) {
            QTextStream(stderr) << "Pseudo-terminale non disponibile: " << simulator.errorString()
                                << '\n';
            return 1;
        }
        std::printf("%s\n", qPrintable(simulator.devicePath()));
        std::fflush(stdout);
        return app.exec();
    }
    if (transport != u"tcp" && transport != u"http") {
        QTextStream(stderr) << "--transport: tcp | http | serial\n";
        return 2;
    }
    RchServiceCgi cgi(rt);
    std::unique_ptr<LocalServer> server;
    if (transport == u"http")
        server = std::make_unique<RtHttpServer>(cgi);
    else
        server = std::make_unique<RchRtServer>(rt);
    const quint16 port = quint16(parser.value(QStringLiteral("port")).toUInt());
    if (!server->listen(port)) {
        QTextStream(stderr) << "Porta non disponibile: " << server->errorString() << '\n';
        return 1;
    }
    std::printf("%s\n", qPrintable(server->address()));
    std::fflush(stdout);
    QObject::connect(server.get(), &LocalServer::requestHandled, &app,
                     [&rt](const QString &line) { printTraffic(rt, line); });
    return app.exec();
}

// --- Telematic registers over HTTP ---
int serveRt(QCoreApplication &app, const QCommandLineParser &parser, SimulatedEpsonRt &rt) {
    QTextStream err(stderr);
    if (!setUp(rt, parser, "no-answer | lost-after-print | paper-out | cover-open | malformed-xml"))
        return 2;
    RtHttpServer server(rt);
    if (parser.isSet(QStringLiteral("user")))
        server.setCredentials(parser.value(QStringLiteral("user")),
                              parser.value(QStringLiteral("password")));
    const quint16 port = quint16(parser.value(QStringLiteral("port")).toUInt());
    if (!server.listen(port)) {
        err << "Porta non disponibile: " << server.errorString() << '\n';
        return 1;
    }
    std::printf("%s\n", qPrintable(server.address()));
    std::fflush(stdout);
    QObject::connect(&server, &RtHttpServer::requestHandled, &app, [&rt](const QString &) {
        const auto docs = rt.documents();
        if (docs.isEmpty())
            return;
        const SimulatedEpsonRt::Document &d = docs.last();
        std::printf("documento %04d-%04d totale %s\n", d.closure, d.number,
                    qPrintable(QString::number(d.total.toDouble(), 'f', 2)));
        std::fflush(stdout);
    });
    return app.exec();
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvale-register-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Registratore di cassa simulato su uno pseudo-terminale."));
    parser.addHelpOption();
    const QCommandLineOption protocol(
        QStringLiteral("protocol"),
        QStringLiteral(
            "ela, dataprocess, epson, rch-globe, rch-mizar, epson-rt, custom-rt, rch-rt"),
        QStringLiteral("name"));
    const QCommandLineOption silentAfter(QStringLiteral("silent-after"),
                                         QStringLiteral("Stop answering after N frames."),
                                         QStringLiteral("N"));
    const QCommandLineOption nakEvery(QStringLiteral("nak-every"),
                                      QStringLiteral("Answer every N-th frame with NAK."),
                                      QStringLiteral("N"));
    const QCommandLineOption garbage(QStringLiteral("garbage"),
                                     QStringLiteral("Put line noise before every answer."));
    const QCommandLineOption byteDelay(QStringLiteral("byte-delay-ms"),
                                       QStringLiteral("Time per byte sent (default 1.04)."),
                                       QStringLiteral("D"));
    const QCommandLineOption replyDelay(
        QStringLiteral("reply-delay-ms"),
        QStringLiteral("Time from a frame to its reply frame (default 250)."), QStringLiteral("D"));
    const QCommandLineOption closeDelay(
        QStringLiteral("close-delay-ms"),
        QStringLiteral("The same for the frame that closes the receipt (default 1500)."),
        QStringLiteral("D"));
    const QCommandLineOption chunks(QStringLiteral("random-chunks"),
                                    QStringLiteral("Send answers in random pieces."));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the noise and the pieces."),
                                  QStringLiteral("N"));
    parser.addOptions({protocol, silentAfter, nakEvery, garbage, byteDelay, replyDelay, closeDelay,
                       chunks, seed});
    parser.addOptions(
        {{QStringLiteral("port"), QStringLiteral("RT: TCP port on 127.0.0.1 (0: any)."),
          QStringLiteral("N"), QStringLiteral("0")},
         {QStringLiteral("fail"),
          QStringLiteral("RT: no-answer, lost-after-print, paper-out, cover-open, "
                         "malformed-xml (rch-rt: malformed-frame)"),
          QStringLiteral("fault")},
         {QStringLiteral("fail-times"), QStringLiteral("RT: receipts that meet the fault."),
          QStringLiteral("N")},
         {QStringLiteral("transport"),
          QStringLiteral("rch-rt: tcp (default), http (POST /service.cgi) or serial "
                         "(a pseudo-terminal, paced as the serial registers)."),
          QStringLiteral("way"), QStringLiteral("tcp")},
         {QStringLiteral("closure-overdue"),
          QStringLiteral("RT: the last closure is 25 hours old.")},
         {QStringLiteral("user"), QStringLiteral("custom-rt: HTTP basic authentication user."),
          QStringLiteral("name")},
         {QStringLiteral("password"), QStringLiteral("custom-rt: its password."),
          QStringLiteral("text")}});
    parser.process(app);
    if (parser.value(protocol) == u"epson-rt") {
        SimulatedEpsonRt rt;
        return serveRt(app, parser, rt);
    }
    if (parser.value(protocol) == u"custom-rt") {
        SimulatedCustomRt rt;
        return serveRt(app, parser, rt);
    }

    QTextStream err(stderr);
    const bool rchRt = parser.value(protocol) == u"rch-rt";
    const auto kind = SimulatedRegister::protocolFromName(parser.value(protocol));
    if (!kind && !rchRt) {
        err << "--protocol: ela | dataprocess | epson | rch-globe | rch-mizar | epson-rt | "
               "custom-rt | "
               "rch-rt\n";
        return 2;
    }
    auto number = [&](const QCommandLineOption &option, double fallback, bool *ok) {
        if (!parser.isSet(option))
            return fallback;
        bool good = false;
        const double value = parser.value(option).toDouble(&good);
        if (!good || value < 0) {
            err << "--" << option.names().first() << ": not a number: " << parser.value(option)
                << '\n';
            *ok = false;
        }
        return value;
    };

    bool ok = true;
    SimulatedRegister::Options options;
    options.silentAfter = int(number(silentAfter, -1, &ok));
    options.nakEvery = int(number(nakEvery, 0, &ok));
    options.garbage = parser.isSet(garbage);
    options.seed = quint32(number(seed, 1, &ok));
    RegisterSimulator::Pacing pacing;
    pacing.byteDelayMs = number(byteDelay, pacing.byteDelayMs, &ok);
    pacing.replyDelayMs = number(replyDelay, pacing.replyDelayMs, &ok);
    pacing.closeDelayMs = number(closeDelay, pacing.closeDelayMs, &ok);
    pacing.randomChunks = parser.isSet(chunks);
    if (!ok)
        return 2;

    if (rchRt)
        return serveRchRt(app, parser, pacing);
    RegisterSimulator simulator(kind.value(), options, pacing);
    if (!simulator.open()) {
        err << "Pseudo-terminale non disponibile: " << simulator.errorString() << '\n';
        return 1;
    }
    std::printf("%s\n", qPrintable(simulator.devicePath()));
    std::fflush(stdout);
    QObject::connect(&simulator, &RegisterSimulator::frameReceived, &app, [](const QString &line) {
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
    });
    return app.exec();
}

// Measures a 20-line counter sale sent to a telematic register simulator
// (Epson by default, Custom or RCH), run as its own process on localhost as a
// shop would run it: from
// the first line told to the device to the register's confirmed document
// number (the status read before the receipt, the receipt, the answer read).
// The simulator prints nothing, so the device's own printing time is out.
//   bench_rt [RUNS] [epson-rt | custom-rt | rch-rt] [tcp | http | serial]
// The RCH register goes over TCP unless told: "http" posts to service.cgi,
// "serial" puts the frames on a pseudo-terminal paced like a 9600-baud line
// (the register's own time to answer left out).
// Prints one Markdown table: best and median in milliseconds.
#include "register/NetworkFiscalDevice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>

using namespace corvale;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    const QString protocol = argc > 2 ? QString::fromLatin1(argv[2]) : QStringLiteral("epson-rt");
    const int brand = protocol == u"custom-rt" ? RegisterSettings::customRtBrand
                      : protocol == u"rch-rt"  ? RegisterSettings::rchRtBrand
                                               : RegisterSettings::epsonRtBrand;

    const QString transport = argc > 3 ? QString::fromLatin1(argv[3]) : QStringLiteral("tcp");
    QStringList arguments{QStringLiteral("--protocol"), protocol};
    if (protocol == u"rch-rt")
        arguments << QStringLiteral("--transport") << transport
                  << QStringLiteral("--reply-delay-ms") << QStringLiteral("0")
                  << QStringLiteral("--close-delay-ms") << QStringLiteral("0");

    QProcess simulator;
    simulator.start(QStringLiteral(CORVALE_REGISTER_SIM), arguments);
    if (!simulator.waitForReadyRead(10000)) {
        std::fprintf(stderr, "simulator did not start\n");
        return 1;
    }
    const QString address = QString::fromLatin1(simulator.readLine()).trimmed();

    NetworkFiscalDevice device;
    RegisterSettings settings;
    settings.brand = brand;
    settings.address = address;
    settings.device = address;
    settings.rtTransport = RegisterSettings::transportFromText(
        transport == u"serial" ? QStringLiteral("SERIALE") : transport);
    settings.departments = RegisterSettings::defaultDepartments();
    device.setSettings(settings);
    bool done = false;
    FiscalOutcome outcome;
    QObject::connect(&device, &FiscalDevice::finished, &app, [&](const FiscalOutcome &o) {
        outcome = o;
        done = true;
    });

    QList<double> times;
    int lastNumber = 0;
    for (int run = 0; run < runs + 1; ++run) {
        QElapsedTimer timer;
        timer.start();
        device.begin();
        double total = 0;
        for (int i = 0; i < 20; ++i) {
            const double price = 9.9 + i;
            const double discount = i % 4 == 0 ? 10 : 0;
            const double amount = price * (1 - discount / 100);
            device.line(QStringLiteral("ARTICOLO %1 TAGLIA M").arg(i), 1, price, i % 3 ? 22 : 10,
                        amount);
            if (discount != 0)
                device.lineDiscount(discount, amount);
            total += amount;
        }
        const double net = Money::of(total).toDouble();
        device.subtotalDiscount(0, 0, net);
        device.payment(PaymentType::Card, Money::of(net));
        done = false;
        device.end();
        while (!done)
            app.processEvents(QEventLoop::WaitForMoreEvents);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (!outcome.confirmed() || outcome.document.number != lastNumber + 1) {
            std::fprintf(stderr, "run %d: not confirmed (%s)\n", run, qPrintable(outcome.message));
            return 1;
        }
        lastNumber = outcome.document.number;
        if (run > 0) // the first run opens the connection paths
            times << ms;
    }
    simulator.kill();
    simulator.waitForFinished();

    std::sort(times.begin(), times.end());
    std::printf("| what | best ms | median ms |\n|---|---|---|\n");
    std::printf("| 20-line sale to the %s simulator (%s), %d runs | %.1f | %.1f |\n",
                qPrintable(protocol),
                qPrintable(protocol == u"rch-rt" ? transport : QStringLiteral("http")),
                int(times.size()), times.first(), times[times.size() / 2]);
    return 0;
}

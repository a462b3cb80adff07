// What the technician runs when installing the register: reads the register
// settings of DIR/Dati.ini exactly as the counter sale does, sends one receipt
// with the configured protocol and tells how it ended.

#include "ConsolePrompter.h"
#include "platform/Formats.h"
#include "platform/IniFile.h"
#include "register/NetworkFiscalDevice.h"
#include "register/ReceiptBuilder.h"
#include "register/RegisterTransmission.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace corvale;

namespace {

// "DESCRIZION;QUANTITA;PREZZO;SCONTO;IVA", numbers with a decimal point;
// the discount and the VAT may be left out.
std::optional<ReceiptLine> parseLine(const QString &text) {
    const QStringList parts = text.split(u';');
    if (parts.size() < 3 || parts.size() > 5 || parts.at(0).trimmed().isEmpty())
        return std::nullopt;
    double values[4] = {0, 0, 0, 0};
    for (int i = 1; i < parts.size(); ++i) {
        const QString part = parts.at(i).trimmed();
        if (part.isEmpty() && i >= 3)
            continue;
        bool ok = false;
        values[i - 1] = part.toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    ReceiptLine line;
    line.description = parts.at(0).trimmed();
    line.quantity = values[0];
    line.price = values[1];
    line.discount = values[2];
    line.vat = values[3];
    return line;
}

void say(const QString &text) {
    std::printf("%s\n", qPrintable(text));
    std::fflush(stdout);
}

// --- Telematic registers: one receipt, a report or the state, over the network ---
int runTelematic(QCoreApplication &app, const RegisterSettings &settings, const Receipt &receipt,
                 const QString &what, const QString &payment) {
    NetworkFiscalDevice device;
    device.setSettings(settings);
    int exitCode = 1;
    QObject::connect(&device, &FiscalDevice::finished, &app, [&](const FiscalOutcome &o) {
        if (o.confirmed()) {
            if (!o.deviceStatus.isEmpty())
                say(QString(o.deviceStatus).replace(u'\r', u'\n'));
            say(QStringLiteral("Confermato: documento n. %1, chiusura n. %2, matricola %3, "
                               "totale %4")
                    .arg(o.document.number)
                    .arg(o.document.closure)
                    .arg(o.document.serial, EpsonRtXml::amountText(o.amount)));
            exitCode = 0;
        } else {
            say(QString(o.message).replace(u'\r', u'\n'));
        }
        app.quit();
    });
    bool started = false;
    if (what == u"z" || what == u"x") {
        started = device.report(what == u"z" ? FiscalDevice::Report::Z : FiscalDevice::Report::X);
    } else if (what == u"status") {
        started = device.queryStatus();
    } else {
        double gross = 0;
        device.begin();
        for (const ReceiptLine &l : receipt.lines) {
            device.line(l.description, l.quantity, l.price, l.vat, l.amount);
            if (l.discount != 0)
                device.lineDiscount(l.discount, l.amount);
            gross += l.quantity != 0 ? l.amount : 0;
        }
        const double net = gross - receipt.discountAmount;
        device.subtotalDiscount(receipt.saleDiscount, receipt.discountAmount, net);
        device.payment(payment == u"card" ? PaymentType::Card : PaymentType::Cash, Money::of(net));
        started = device.end();
    }
    if (!started)
        return 1;
    app.exec();
    return exitCode;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvale-regtest"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prova del registratore di cassa con le impostazioni di Dati.ini."));
    parser.addHelpOption();
    const QCommandLineOption home(QStringLiteral("home"),
                                  QStringLiteral("Cartella del programma (con Dati.ini)."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption lineOption(
        QStringLiteral("line"), QStringLiteral("Riga: DESCRIZION;QUANTITA;PREZZO;SCONTO;IVA"),
        QStringLiteral("riga"));
    const QCommandLineOption saleDiscount(QStringLiteral("sale-discount"),
                                          QStringLiteral("Sconto % sulla vendita."),
                                          QStringLiteral("PERCENT"));
    const QCommandLineOption cash(QStringLiteral("cash"),
                                  QStringLiteral("Contanti ricevuti (con il calcolo del resto)."),
                                  QStringLiteral("AMOUNT"));
    QCommandLineOption tick(QStringLiteral("tick-ms"),
                            QStringLiteral("Intervallo del timer in ms (solo per le prove)."),
                            QStringLiteral("ms"));
    tick.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption rt(QStringLiteral("rt"),
                                QStringLiteral("Registratore telematico: receipt (default), z, x "
                                               "o status."),
                                QStringLiteral("what"));
    const QCommandLineOption payment(QStringLiteral("payment"),
                                     QStringLiteral("Registratore telematico: cash o card."),
                                     QStringLiteral("type"));
    parser.addOptions({home, lineOption, saleDiscount, cash, tick, rt, payment});
    parser.process(app);

    if (!parser.isSet(home)) {
        std::fprintf(stderr, "--home DIR is required\n");
        return 2;
    }
    const IniFile ini(QDir(parser.value(home)).filePath(QStringLiteral("Dati.ini")));
    const RegisterSettings settings = RegisterSettings::read(ini);

    QList<ReceiptLine> lines;
    for (const QString &text : parser.values(lineOption)) {
        const auto line = parseLine(text);
        if (!line) {
            std::fprintf(stderr, "--line: \"%s\" is not DESCRIZION;QUANTITA;PREZZO;SCONTO;IVA\n",
                         qPrintable(text));
            return 2;
        }
        lines << *line;
    }
    if (lines.isEmpty())
        lines << ReceiptLine{QStringLiteral("PROVA REGISTRATORE"), 1, 1.0, 0, 22, 0};

    auto number = [&](const QCommandLineOption &option) -> std::optional<double> {
        if (!parser.isSet(option))
            return std::nullopt;
        bool ok = false;
        const double v = parser.value(option).toDouble(&ok);
        if (!ok) {
            std::fprintf(stderr, "--%s: not a number\n", qPrintable(option.names().first()));
            std::exit(2);
        }
        return v;
    };
    const double discount = number(saleDiscount).value_or(0);
    const std::optional<double> cashGiven = number(cash);

    ConsolePrompter prompter;
    const auto receipt = ReceiptBuilder::build(lines, discount, cashGiven, settings.calcResto);
    if (!receipt) {
        prompter.error(QStringLiteral("Credito Insufficiente!"));
        return 1;
    }

    say(QStringLiteral("Registratore: %1, porta %2")
            .arg(RegisterSettings::protocolName(settings.protocol()), settings.device));
    double gross = 0;
    for (const ReceiptLine &line : receipt->lines)
        gross += line.quantity != 0 ? line.amount : 0;
    auto money = [](double v) { return Formats::format(u"%10.2f", v).trimmed(); };
    say(QStringLiteral("Lordo %1, sconto %2, totale %3, pagamento %4")
            .arg(money(gross), money(receipt->discountAmount),
                 money(gross - receipt->discountAmount), money(receipt->payment)));

    if (settings.isTelematic()) {
        say(QStringLiteral("Registratore telematico %1, indirizzo %2")
                .arg(RegisterSettings::protocolName(settings.protocol()), settings.address));
        return runTelematic(app, settings, *receipt,
                            parser.isSet(rt) ? parser.value(rt) : QStringLiteral("receipt"),
                            parser.value(payment));
    }

    RegisterTransmission transmission(prompter);
    if (parser.isSet(tick))
        transmission.setTickInterval(parser.value(tick).toInt());
    int exitCode = 1;
    QObject::connect(
        &transmission, &RegisterTransmission::finished, &app, [&](bool completed, bool save) {
            if (completed) {
                say(save ? QStringLiteral("Scontrino completato: la vendita viene salvata.")
                         : QStringLiteral("Scontrino completato: la vendita resta da "
                                          "salvare a cura dell'operatore."));
                exitCode = 0;
            }
            app.quit();
        });
    if (!transmission.start(settings, *receipt))
        return 1;
    for (const QString &w : transmission.lineWarnings())
        std::fprintf(stderr, "Avviso: %s\n", qPrintable(w));
    if (settings.protocol() == RegisterSettings::Protocol::None) {
        std::fprintf(stderr, "Porta aperta, ma la marca configurata non ha un protocollo: "
                             "nessuno scontrino inviato.\n");
        transmission.stop();
        return 1;
    }
    app.exec();
    return exitCode;
}

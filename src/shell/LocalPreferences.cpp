#include "shell/LocalPreferences.h"

#include "platform/IniFile.h"

namespace corvale {

namespace {

const QString kRegister = QStringLiteral("REGCASSA");
const QString kGeneral = QStringLiteral("GENERALI");

int clampItem(int value, int low, int high, int fallback) {
    return value < low || value > high ? fallback : value;
}

} // namespace

QStringList LocalPreferences::portNames() {
    QStringList out;
    for (int i = 1; i <= 8; ++i)
        out << QStringLiteral("COM%1").arg(i);
    return out;
}

QStringList LocalPreferences::makeNames() {
    return {QStringLiteral("Olivetti (ELA)"),
            QStringLiteral("Dataprocess"),
            QStringLiteral("HTL Optima"),
            QStringLiteral("RCH"),
            QStringLiteral("Kabel System"),
            QStringLiteral("Famiglia MWCR"),
            QStringLiteral("Sarema Xon/Xoff"),
            QStringLiteral("Epson T81/T90"),
            QStringLiteral("Epson RT (FP-81 II RT, FP-90III RT)"),
            QStringLiteral("Custom RT (XML in rete)"),
            QStringLiteral("RCH RT (Print!F, Ondart, Spot)")};
}

QStringList LocalPreferences::modelNames() {
    return {QStringLiteral("Globe"), QStringLiteral("Mizar"), QStringLiteral("Nucleo"),
            QStringLiteral("Onda")};
}

QStringList LocalPreferences::speedNames() {
    return {QStringLiteral("9600, 8, NO"),   QStringLiteral("9600, 7, ODD"),
            QStringLiteral("9600, 7, EVEN"), QStringLiteral("19200, 8, NO"),
            QStringLiteral("19200, 7, ODD"), QStringLiteral("19200, 7, EVEN"),
            QStringLiteral("9600, 7, NO"),   QStringLiteral("2400, 7, EVEN")};
}

QStringList LocalPreferences::transportNames() {
    return {QStringLiteral("Rete (TCP)"), QStringLiteral("Rete (service.cgi)"),
            QStringLiteral("Seriale")};
}

QList<RegisterSettings::Transport> LocalPreferences::transports() {
    using T = RegisterSettings::Transport;
    return {T::Tcp, T::Http, T::Serial};
}

LocalPreferences LocalPreferences::read(const IniFile &ini) {
    LocalPreferences p;
    // Values outside the lists (a hand-edited file) fall back to the defaults
    // rather than leaving a box with nothing chosen.
    p.serialPort = clampItem(ini.readInteger(kRegister, QStringLiteral("SERIALE"), 1), 1, 8, 1);
    p.make = clampItem(ini.readInteger(kRegister, QStringLiteral("MARCA"), 1), 1, rchRtMake, 1);
    p.model = clampItem(ini.readInteger(kRegister, QStringLiteral("MODELLO"), 1), 1, 4, 1);
    p.speed = clampItem(ini.readInteger(kRegister, QStringLiteral("SPEED"), 0), 0, 7, 0);
    p.calculateChange = ini.readBool(kGeneral, QStringLiteral("CALCRESTO"), false);
    p.permanentCounterSale = ini.readBool(kGeneral, QStringLiteral("VENDBANCO"), false);
    p.showPhotos = ini.readBool(kGeneral, QStringLiteral("VISFOTO"), false);
    p.autoSave = ini.readBool(kGeneral, QStringLiteral("AUTOSAVE"), false);
    p.markupWithoutVat = ini.readBool(kGeneral, QStringLiteral("CALCRIC"), false);
    p.rtAddress = ini.readString(kRegister, QStringLiteral("INDIRIZZO"), QString()).trimmed();
    p.rtDepartments = ini.readString(kRegister, QStringLiteral("REPARTI"), QString()).trimmed();
    // The same bounds as the sale's (RegisterSettings).
    p.rtTimeoutMs =
        qBound(500, ini.readInteger(kRegister, QStringLiteral("RTTIMEOUT"), 10000), 120000);
    p.rtRetries = qBound(0, ini.readInteger(kRegister, QStringLiteral("RTRETRY"), 1), 5);
    p.rtUser = ini.readString(kRegister, QStringLiteral("RTUTENTE"), QString()).trimmed();
    p.rtPassword = ini.readString(kRegister, QStringLiteral("RTPASSWORD"), QString());
    p.rtTransport = RegisterSettings::transportFromText(
        ini.readString(kRegister, RegisterSettings::transportKey, QString()));
    return p;
}

bool LocalPreferences::write(IniFile &ini) const {
    return ini.writeInteger(kRegister, QStringLiteral("SERIALE"), serialPort) &&
           ini.writeInteger(kRegister, QStringLiteral("MARCA"), make) &&
           ini.writeInteger(kRegister, QStringLiteral("MODELLO"), model) &&
           ini.writeInteger(kRegister, QStringLiteral("SPEED"), speed) &&
           ini.writeBool(kGeneral, QStringLiteral("CALCRESTO"), calculateChange) &&
           ini.writeBool(kGeneral, QStringLiteral("VENDBANCO"), permanentCounterSale) &&
           ini.writeBool(kGeneral, QStringLiteral("VISFOTO"), showPhotos) &&
           ini.writeBool(kGeneral, QStringLiteral("AUTOSAVE"), autoSave) &&
           ini.writeBool(kGeneral, QStringLiteral("CALCRIC"), markupWithoutVat) &&
           // A shop with a serial register gets no telematic keys.
           ((!isTelematic() && rtAddress.isEmpty() && rtDepartments.isEmpty()) ||
            (ini.writeString(kRegister, QStringLiteral("INDIRIZZO"), rtAddress) &&
             ini.writeString(kRegister, QStringLiteral("REPARTI"), rtDepartments) &&
             ini.writeInteger(kRegister, QStringLiteral("RTTIMEOUT"), rtTimeoutMs) &&
             ini.writeInteger(kRegister, QStringLiteral("RTRETRY"), rtRetries) &&
             ini.writeString(kRegister, QStringLiteral("RTUTENTE"), rtUser) &&
             ini.writeString(kRegister, QStringLiteral("RTPASSWORD"), rtPassword))) &&
           (make != rchRtMake || ini.writeString(kRegister, RegisterSettings::transportKey,
                                                 RegisterSettings::transportText(rtTransport)));
}

} // namespace corvale

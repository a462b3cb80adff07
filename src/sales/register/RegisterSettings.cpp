#include "sales/register/RegisterSettings.h"

#include "platform/IniFile.h"

namespace corvale {

RegisterSettings RegisterSettings::read(const IniFile &ini) {
    const QString section = QStringLiteral("REGCASSA");
    RegisterSettings s;
    s.device = SerialLine::registerDevice(ini);
    s.brand = ini.readInteger(section, QStringLiteral("MARCA"), 1);
    s.model = ini.readInteger(section, QStringLiteral("MODELLO"), 1);
    s.speed = ini.readInteger(section, QStringLiteral("SPEED"), 0);
    s.timeout = ini.readInteger(section, QStringLiteral("TIMEOUT"), -1);
    s.calcResto = ini.readBool(QStringLiteral("GENERALI"), QStringLiteral("CALCRESTO"), false);
    return s;
}

RegisterSettings::Protocol RegisterSettings::protocol() const {
    switch (brand) {
    case 1:
        return Protocol::Ela;
    case 2:
        return Protocol::Dataprocess;
    case 4:
        return model == 2 ? Protocol::RchMizar : Protocol::RchGlobe;
    case 8:
        return Protocol::Epson;
    default:
        // "HTL Optima", "Kabel System", "Famiglia MWCR", "Sarema Xon/Xoff".
        return Protocol::None;
    }
}

SerialLine::LineSettings RegisterSettings::lineSettings() const {
    using P = SerialLine::Parity;
    static const SerialLine::LineSettings table[] = {
        {9600, 8, P::None}, {9600, 7, P::Odd},   {9600, 7, P::Even}, {19200, 8, P::None},
        {19200, 7, P::Odd}, {19200, 7, P::Even}, {9600, 7, P::None}, {2400, 7, P::Even},
    };
    if (speed < 0 || speed >= int(std::size(table)))
        return table[0];
    return table[speed];
}

QString RegisterSettings::protocolName(Protocol protocol) {
    switch (protocol) {
    case Protocol::Ela:
        return QStringLiteral("Olivetti (ELA)");
    case Protocol::Dataprocess:
        return QStringLiteral("Dataprocess");
    case Protocol::Epson:
        return QStringLiteral("Epson T81/T90");
    case Protocol::RchGlobe:
        return QStringLiteral("RCH Globe");
    case Protocol::RchMizar:
        return QStringLiteral("RCH Mizar");
    case Protocol::None:
        break;
    }
    return QStringLiteral("nessun protocollo");
}

} // namespace corvale

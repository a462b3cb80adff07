#include "register/RegisterSettings.h"

#include "platform/IniFile.h"

#include <cmath>

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
    s.address = ini.readString(section, QStringLiteral("INDIRIZZO"), QString()).trimmed();
    s.networkTimeout =
        qBound(500, ini.readInteger(section, QStringLiteral("RTTIMEOUT"), 10000), 120000);
    s.networkRetries = qBound(0, ini.readInteger(section, QStringLiteral("RTRETRY"), 1), 5);
    s.serial = ini.readString(section, QStringLiteral("MATRICOLA"), QString()).trimmed();
    s.user = ini.readString(section, QStringLiteral("RTUTENTE"), QString()).trimmed();
    s.password = ini.readString(section, QStringLiteral("RTPASSWORD"), QString());
    s.rtTransport = transportFromText(ini.readString(section, transportKey, QString()));
    const QString table = ini.readString(section, QStringLiteral("REPARTI"), QString());
    s.departments = table.trimmed().isEmpty() ? defaultDepartments() : parseDepartments(table);
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
    case epsonRtBrand:
        return Protocol::EpsonRt;
    case customRtBrand:
        return Protocol::CustomRt;
    case rchRtBrand:
        return Protocol::RchRt;
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
    case Protocol::EpsonRt:
        return QStringLiteral("Epson RT");
    case Protocol::CustomRt:
        return QStringLiteral("Custom RT");
    case Protocol::RchRt:
        return QStringLiteral("RCH RT");
    case Protocol::None:
        break;
    }
    return QStringLiteral("nessun protocollo");
}

RegisterSettings::Transport RegisterSettings::transport() const {
    switch (protocol()) {
    case Protocol::EpsonRt:
    case Protocol::CustomRt:
        return Transport::Http;
    case Protocol::RchRt:
        return rtTransport;
    default:
        return Transport::Serial;
    }
}

QString RegisterSettings::transportText(Transport transport) {
    switch (transport) {
    case Transport::Serial:
        return QStringLiteral("SERIALE");
    case Transport::Http:
        return QStringLiteral("HTTP");
    case Transport::Tcp:
        break;
    }
    return QStringLiteral("TCP");
}

RegisterSettings::Transport RegisterSettings::transportFromText(const QString &text) {
    const QString t = text.trimmed().toUpper();
    if (t == u"SERIALE")
        return Transport::Serial;
    if (t == u"HTTP")
        return Transport::Http;
    return Transport::Tcp;
}

std::optional<int> RegisterSettings::department(double vat) const {
    const auto it = departments.constFind(int(std::lround(vat * 100)));
    if (it == departments.constEnd())
        return std::nullopt;
    return it.value();
}

QMap<int, int> RegisterSettings::defaultDepartments() {
    // The usual programming of a new RT: ordinary, reduced and exempt rates.
    return {{2200, 1}, {1000, 2}, {500, 3}, {400, 4}, {0, 5}};
}

QMap<int, int> RegisterSettings::parseDepartments(const QString &text) {
    QMap<int, int> out;
    for (const QString &pair : text.split(u';', Qt::SkipEmptyParts)) {
        const QStringList parts = pair.split(u':');
        if (parts.size() != 2)
            continue;
        QString rate = parts.at(0).trimmed();
        rate.replace(u',', u'.');
        bool rateOk = false;
        bool departmentOk = false;
        const double vat = rate.toDouble(&rateOk);
        const int department = parts.at(1).trimmed().toInt(&departmentOk);
        if (rateOk && departmentOk && vat >= 0 && vat < 100 && department >= 1 && department <= 99)
            out.insert(int(std::lround(vat * 100)), department);
    }
    return out;
}

QString RegisterSettings::departmentsText(const QMap<int, int> &departments) {
    QStringList parts;
    for (auto it = departments.constBegin(); it != departments.constEnd(); ++it) {
        QString rate = QString::number(it.key() / 100.0, 'f', 2);
        while (rate.endsWith(u'0'))
            rate.chop(1);
        if (rate.endsWith(u'.'))
            rate.chop(1);
        parts << rate.replace(u'.', u',') + u':' + QString::number(it.value());
    }
    return parts.join(u';');
}

std::optional<std::pair<QString, int>> RegisterSettings::hostAndPort(int defaultPort) const {
    QString text = address.trimmed();
    if (text.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive))
        text = text.mid(7);
    while (text.endsWith(u'/'))
        text.chop(1);
    if (text.isEmpty() || text.contains(u' ') || text.contains(u'/'))
        return std::nullopt;
    const int colon = text.lastIndexOf(u':');
    if (colon < 0)
        return std::pair{text, defaultPort};
    bool ok = false;
    const int port = text.mid(colon + 1).toInt(&ok);
    if (!ok || port < 1 || port > 65535 || colon == 0)
        return std::nullopt;
    return std::pair{text.left(colon), port};
}

} // namespace corvale

#pragma once

#include "platform/SerialLine.h"

#include <QMap>
#include <QString>
#include <optional>
#include <utility>

namespace corvale {

class IniFile;

// The cash register settings of "Dati.ini", read each time a sale is begun.
struct RegisterSettings {
    enum class Protocol {
        None,
        Ela,
        Dataprocess,
        Epson,
        RchGlobe,
        RchMizar,
        EpsonRt,
        CustomRt,
        RchRt
    };

    // How the requests reach the register.
    enum class Transport {
        Serial, // the serial line of SERIALE/DEVICE and SPEED
        Tcp,    // raw frames on a TCP connection (INDIRIZZO)
        Http    // HTTP POST (INDIRIZZO)
    };
    static inline const QString transportKey = QStringLiteral("RTCOLLEG");

    // MARCA of the telematic registers, after the serial makes.
    static constexpr int epsonRtBrand = 9;
    static constexpr int customRtBrand = 10;
    static constexpr int rchRtBrand = 11;

    QString device;         // REGCASSA/DEVICE, or the port of REGCASSA/SERIALE
    int brand = 1;          // MARCA, position in the configuration list
    int model = 1;          // MODELLO, RCH model
    int speed = 0;          // SPEED, row of the line-settings table
    int timeout = -1;       // TIMEOUT, silence counter after each answer
    bool calcResto = false; // GENERALI/CALCRESTO

    // Telematic registers, reached over the network.
    QString address;            // INDIRIZZO: "host" or "host:port"
    int networkTimeout = 10000; // RTTIMEOUT: ms to wait for an answer
    int networkRetries = 1;     // RTRETRY: sends after one that surely did not print
    QString serial;             // MATRICOLA: the RT's serial, when it does not tell it
    QString user;               // RTUTENTE: HTTP basic authentication, when set
    QString password;           // RTPASSWORD
    // RTCOLLEG: how an RCH RT is reached, "TCP" (the default), "HTTP" or
    // "SERIALE"; the other makes have one way each.
    Transport rtTransport = Transport::Tcp;
    // REPARTI: "22:1;10:2;...": VAT rate (percent) to the RT's department.
    QMap<int, int> departments; // key: the rate in hundredths of a percent

    static RegisterSettings read(const IniFile &ini);

    Protocol protocol() const;
    // Baud, data bits and parity of SPEED; an unknown row is "9600, 8, NO".
    SerialLine::LineSettings lineSettings() const;

    static QString protocolName(Protocol protocol);

    // The way this make (and, for the RCH RT, RTCOLLEG) reaches the register.
    Transport transport() const;
    static QString transportText(Transport transport);
    // An unknown text is the TCP connection, as before the choice existed.
    static Transport transportFromText(const QString &text);

    bool isTelematic() const { return isTelematic(protocol()); }
    static bool isTelematic(Protocol protocol) {
        return protocol == Protocol::EpsonRt || protocol == Protocol::CustomRt ||
               protocol == Protocol::RchRt;
    }
    // The RT department of a VAT rate; nothing when the table lacks it.
    std::optional<int> department(double vat) const;
    static QMap<int, int> parseDepartments(const QString &text);
    static QString departmentsText(const QMap<int, int> &departments);
    static QMap<int, int> defaultDepartments();
    // Host and port of INDIRIZZO (`defaultPort` when none is given); nothing
    // for an empty or malformed address.
    std::optional<std::pair<QString, int>> hostAndPort(int defaultPort) const;
};

} // namespace corvale

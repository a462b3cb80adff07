#pragma once

#include "register/RegisterSettings.h"

#include <QString>
#include <QStringList>

namespace corvale {

class IniFile;

// The local preferences the configuration window keeps in Dati.ini: the cash
// register's port, make, model and line, and the behaviour switches.
struct LocalPreferences {
    int serialPort = 1;                // REGCASSA/SERIALE, 1..8
    int make = 1;                      // REGCASSA/MARCA, 1..11
    int model = 1;                     // REGCASSA/MODELLO, 1..4
    int speed = 0;                     // REGCASSA/SPEED, 0..7
    bool calculateChange = false;      // GENERALI/CALCRESTO
    bool permanentCounterSale = false; // GENERALI/VENDBANCO
    bool showPhotos = false;           // GENERALI/VISFOTO
    bool autoSave = false;             // GENERALI/AUTOSAVE
    bool markupWithoutVat = false;     // GENERALI/CALCRIC
    // --- Telematic registers (REGCASSA) ---
    QString rtAddress;       // INDIRIZZO: "host" or "host:port"
    QString rtDepartments;   // REPARTI: "22:1;10:2;..." VAT rate to department
    int rtTimeoutMs = 10000; // RTTIMEOUT: the wait for an answer, ms (shown in seconds)
    int rtRetries = 1;       // RTRETRY: sends after one that surely did not print
    QString rtUser;          // RTUTENTE, RTPASSWORD: HTTP basic authentication
    QString rtPassword;
    // RTCOLLEG: how the RCH RT is reached (written for that make only).
    RegisterSettings::Transport rtTransport = RegisterSettings::Transport::Tcp;

    static LocalPreferences read(const IniFile &ini);
    // False when Dati.ini cannot be written.
    bool write(IniFile &ini) const;

    static QStringList portNames();
    static QStringList makeNames();
    static QStringList modelNames();
    static QStringList speedNames();
    // The RCH RT's ways, in the order of transports().
    static QStringList transportNames();
    static QList<RegisterSettings::Transport> transports();
    static constexpr int rchMake = 4;
    static constexpr int dataprocessMake = 2;
    static constexpr int epsonRtMake = 9;
    static constexpr int customRtMake = 10;
    static constexpr int rchRtMake = 11;
    static bool isTelematicMake(int make) { return make >= epsonRtMake && make <= rchRtMake; }
    bool isTelematic() const { return isTelematicMake(make); }
};

} // namespace corvale

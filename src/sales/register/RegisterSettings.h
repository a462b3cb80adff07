#pragma once

#include "platform/SerialLine.h"

#include <QString>

namespace corvale {

class IniFile;

// The cash register settings of "Dati.ini", read each time a sale is begun.
struct RegisterSettings {
    enum class Protocol { None, Ela, Dataprocess, Epson, RchGlobe, RchMizar };

    QString device;         // REGCASSA/DEVICE, or the port of REGCASSA/SERIALE
    int brand = 1;          // MARCA, position in the configuration list
    int model = 1;          // MODELLO, RCH model
    int speed = 0;          // SPEED, row of the line-settings table
    int timeout = -1;       // TIMEOUT, silence counter after each answer
    bool calcResto = false; // GENERALI/CALCRESTO

    static RegisterSettings read(const IniFile &ini);

    Protocol protocol() const;
    // Baud, data bits and parity of SPEED; an unknown row is "9600, 8, NO".
    SerialLine::LineSettings lineSettings() const;

    static QString protocolName(Protocol protocol);
};

} // namespace corvale

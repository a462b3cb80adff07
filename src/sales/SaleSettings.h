#pragma once

#include "register/RegisterSettings.h"

namespace corvale {

class IniFile;

// What a sale reads from "Dati.ini" each time it is begun.
struct SaleSettings {
    RegisterSettings register_;
    bool calcResto = false; // GENERALI/CALCRESTO: the cash received is asked
    bool permanent = false; // GENERALI/VENDBANCO: a saved sale begins the next one

    static SaleSettings read(const IniFile &ini);
};

} // namespace corvale

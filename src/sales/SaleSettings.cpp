#include "sales/SaleSettings.h"

#include "platform/IniFile.h"
#include "sales/SaleColumns.h"

namespace corvale {

SaleSettings SaleSettings::read(const IniFile &ini) {
    SaleSettings s;
    s.register_ = RegisterSettings::read(ini);
    s.calcResto = ini.readBool(saleColumns::iniGeneral, saleColumns::iniChange, false);
    s.permanent = ini.readBool(saleColumns::iniGeneral, saleColumns::iniPermanent, false);
    return s;
}

} // namespace corvale

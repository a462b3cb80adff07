#include "sales/einvoice/ShopFiscalData.h"

#include "db/Table.h"
#include "sales/einvoice/FiscalIdentity.h"
#include "sales/einvoice/VatBreakdown.h"
#include "shell/FiscalCodes.h"
#include "shell/ShopFiscalColumns.h"

#include <QRegularExpression>

namespace corvale {

namespace {

QString field(const db::Table &t, const QString &name) {
    return t.hasField(name) ? t.asString(name).trimmed() : QString();
}

} // namespace

bool ShopFiscalData::flatRate() const {
    return seller.regime == fiscalCodes::flatRateRegime;
}

int ShopFiscalData::rateOf(double lineRate) const {
    if (flatRate())
        return 0;
    const int own = int(VatBreakdown::cents(lineRate));
    return own != 0 ? own : vatRate;
}

QString ShopFiscalData::natureOf(int rate) const {
    if (rate != 0)
        return {};
    return flatRate() ? fiscalCodes::flatRateNature : nature;
}

QString ShopFiscalData::referenceOf(const QString &code) const {
    if (code.isEmpty())
        return {};
    if (flatRate())
        return fiscalCodes::flatRateReference;
    return natureReference;
}

ShopFiscalData ShopFiscalData::load(db::Database &database) {
    namespace c = shopFiscal;
    ShopFiscalData out;
    db::Table t(database);
    t.setTableName(c::config);
    t.open();
    t.first();
    if (t.eof())
        return out;
    EInvoiceParty &s = out.seller;
    s.name = (field(t, c::name) + u' ' + field(t, c::name2)).trimmed();
    s.address = field(t, c::address);
    s.phone = field(t, c::phone);
    s.vatNumber = FiscalIdentity::clean(field(t, c::vatNumber));
    s.fiscalCode = FiscalIdentity::clean(field(t, c::fiscalCode));
    s.regime = field(t, c::regime);
    if (s.regime.isEmpty())
        s.regime = fiscalCodes::ordinaryRegime;
    s.country = field(t, c::country).toUpper();
    if (s.country.isEmpty())
        s.country = QStringLiteral("IT");
    s.province = field(t, c::province).toUpper();
    s.postcode = field(t, c::postcode);
    s.town = field(t, c::town);
    // Before the fiscal data the shop kept "CAP - Città" in one box.
    const QString city = field(t, c::city);
    static const QRegularExpression capCity(QStringLiteral("^(\\d{5})\\s*-?\\s*(.*)$"));
    const auto m = capCity.match(city);
    if (s.postcode.isEmpty() && m.hasMatch())
        s.postcode = m.captured(1);
    if (s.town.isEmpty())
        s.town = m.hasMatch() ? m.captured(2).trimmed() : city;
    out.vatRate = int(VatBreakdown::cents(t.asFloat(c::vatRate)));
    out.nature = field(t, c::nature);
    out.natureReference = field(t, c::natureReference);
    out.transmitterCountry = field(t, c::transmitterCountry).toUpper();
    out.transmitterCode = FiscalIdentity::clean(field(t, c::transmitterCode));
    if (out.transmitterCode.isEmpty()) {
        out.transmitterCountry = s.country;
        out.transmitterCode = s.vatNumber;
    } else if (out.transmitterCountry.isEmpty()) {
        out.transmitterCountry = QStringLiteral("IT");
    }
    out.progressive = t.hasField(c::progressive) ? t.asInteger(c::progressive) : 0;
    t.close();
    return out;
}

} // namespace corvale

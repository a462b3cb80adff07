#include "catalogue/CatalogueTables.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/ContactColumns.h"
#include "catalogue/SeasonSaleTables.h"
#include "shell/ShopFiscalColumns.h"

namespace corvale {

using namespace columns;

namespace {

db::FieldList contactFields() {
    namespace c = contactColumns;
    return {recordNumber(c::code),
            text(c::name, 40),
            text(c::address, 40),
            number(c::cap, 5, 0),
            text(c::city, 40),
            text(c::phone, 20),
            text(c::fax, 20),
            text(c::mobile, 20),
            text(c::email, 40),
            text(c::vatOrFiscalCode, 16),
            text(c::card, 20),
            number(c::usedPoints, 10, 0),
            text(c::vatNumber, c::vatNumberLength),
            text(c::fiscalCode, c::fiscalCodeLength),
            text(c::recipientCode, c::recipientCodeLength),
            text(c::pec, c::pecLength),
            text(c::province, c::provinceLength),
            text(c::country, c::countryLength)};
}

TableLayout nameList(const QString &table) {
    return {table,
            {recordNumber(articleColumns::key), text(articleColumns::listName, 40)},
            tags({articleColumns::listName})};
}

} // namespace

TableLayouts catalogueTables() {
    TableLayouts out;

    namespace a = articleColumns;
    out << TableLayout{a::articles,
                       {recordNumber(a::key),
                        text(a::code, 13),
                        text(a::description, 30),
                        text(a::brand, 20),
                        recordNumber(a::brandKey),
                        text(a::typology, 20),
                        recordNumber(a::typologyKey),
                        text(a::material, 10),
                        recordNumber(a::materialKey),
                        text(a::sole, 10),
                        text(a::heel, 5),
                        text(a::wedge, 5),
                        text(a::category, 30),
                        recordNumber(a::categoryKey),
                        text(a::supplier, 40),
                        recordNumber(a::supplierKey),
                        small(a::sizeType),
                        text(a::sizeTypeName, 20),
                        money(a::purchasePrice),
                        money(a::salePrice),
                        number(a::markup, 10, 5),
                        percent(a::vat),
                        percent(a::discount),
                        text(a::unit, 2),
                        quantity(QStringLiteral("SCORTA")),
                        date(QStringLiteral("DATAACQ")),
                        date(QStringLiteral("DATAVND")),
                        text(a::season, 18),
                        number(a::year, 4, 0),
                        blob(a::photo),
                        logical(a::inUse),
                        number(QStringLiteral("ETICHETTE"), 5, 0)},
                       tags({a::key, a::description, a::code, a::supplierKey})};

    TableLayout sizes{a::sizeTypes,
                      {recordNumber(a::key), text(a::description, 20)},
                      tags({a::key, a::description})};
    sizes.fields << sizeLabels();
    // The core sizes of the size type (broken size runs).
    sizes.fields << number(a::coreFrom, 2, 0) << number(a::coreTo, 2, 0);
    out << sizes;

    TableLayout stock{
        a::stock, {recordNumber(a::stockArticle), text(a::colour, 20)}, tags({a::stockArticle})};
    stock.fields << sizeQuantities();
    out << stock;

    out << TableLayout{a::furtherCodes,
                       {recordNumber(a::furtherCodeArticle), text(a::furtherCode, 30)},
                       tags({a::furtherCodeArticle, a::furtherCode})};
    out << TableLayout{QStringLiteral("LBCODE"), {text(QStringLiteral("BARCODE"), 30)}, {}};

    out << TableLayout{
        a::colours, {recordNumber(a::key), text(a::colour, 30)}, tags({a::colour, a::key})};
    for (const char *list : {"MARCHI", "CATEGOR", "MATERIAL", "FONDI", "TIPOLOGI"})
        out << nameList(QString::fromLatin1(list));
    out << TableLayout{QStringLiteral("MISURE"), {text(a::listName, 10)}, {}};

    namespace c = contactColumns;
    out << TableLayout{c::suppliers, contactFields(), tags({c::name, c::code})};
    out << TableLayout{c::customers, contactFields(), tags({c::name, c::code, c::card})};

    out << TableLayout{shopFiscal::config,
                       {text(shopFiscal::name, 40),
                        text(shopFiscal::name2, 50),
                        text(shopFiscal::address, 40),
                        text(shopFiscal::city, 40),
                        text(shopFiscal::vatNumber, 40),
                        text(shopFiscal::phone, 20),
                        text(shopFiscal::fax, 20),
                        small(shopFiscal::vatRate),
                        small(QStringLiteral("IMPOSPE")),
                        text(QStringLiteral("ANNOTAZION"), 50),
                        text(shopFiscal::note, 100),
                        text(shopFiscal::privacy, 100),
                        logical(QStringLiteral("AUTO")),
                        text(shopFiscal::password, 10),
                        text(QStringLiteral("SIA"), 5),
                        text(QStringLiteral("ABI"), 5),
                        text(QStringLiteral("CAB"), 5),
                        logical(shopFiscal::hasLogo),
                        blob(shopFiscal::logo),
                        number(shopFiscal::pointsPerEuro, 15, 5),
                        text(shopFiscal::fiscalCode, shopFiscal::fiscalCodeLength),
                        text(shopFiscal::regime, shopFiscal::regimeLength),
                        text(shopFiscal::postcode, shopFiscal::postcodeLength),
                        text(shopFiscal::town, shopFiscal::townLength),
                        text(shopFiscal::province, shopFiscal::provinceLength),
                        text(shopFiscal::country, shopFiscal::countryLength),
                        recordNumber(shopFiscal::progressive),
                        text(shopFiscal::transmitterCountry, shopFiscal::countryLength),
                        text(shopFiscal::transmitterCode, shopFiscal::transmitterCodeLength),
                        text(shopFiscal::nature, shopFiscal::natureLength),
                        text(shopFiscal::natureReference, shopFiscal::natureReferenceLength)},
                       {}};

    TableLayout counters{QStringLiteral("COUNTERS"), {}, {}};
    for (const char *c : {"ARTICOLI", "VENDITE", "ACQUISTI", "CLIENTI", "CATEGORIE", "COLORI",
                          "TAGLIE", "COUNTER", "ACCONTI"})
        counters.fields << recordNumber(QString::fromLatin1(c));
    counters.fields << number(QStringLiteral("TAG"), 1, 0);
    out << counters;

    // Price history, sale campaigns and seasons.
    out << seasonSaleTables();
    return out;
}

} // namespace corvale

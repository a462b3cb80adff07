#include "catalogue/CatalogueTables.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/ContactColumns.h"
#include "catalogue/SeasonSaleTables.h"
#include "shell/ShopFiscalColumns.h"

namespace corvale {

using namespace columns;

namespace {

db::FieldList contactFields() {
    return {recordNumber(QStringLiteral("CODICE")),
            text(QStringLiteral("NOME"), 40),
            text(QStringLiteral("ADDRESS"), 40),
            number(QStringLiteral("CAP"), 5, 0),
            text(QStringLiteral("CITTA"), 40),
            text(QStringLiteral("TELEFONO"), 20),
            text(QStringLiteral("FAX"), 20),
            text(QStringLiteral("MOBILE"), 20),
            text(QStringLiteral("EMAIL"), 40),
            text(QStringLiteral("PIVACF"), 16),
            text(QStringLiteral("BARCODE"), 20),
            number(QStringLiteral("DECPUNTI"), 10, 0),
            text(contactColumns::vatNumber, contactColumns::vatNumberLength),
            text(contactColumns::fiscalCode, contactColumns::fiscalCodeLength),
            text(contactColumns::recipientCode, contactColumns::recipientCodeLength),
            text(contactColumns::pec, contactColumns::pecLength),
            text(contactColumns::province, contactColumns::provinceLength),
            text(contactColumns::country, contactColumns::countryLength)};
}

TableLayout nameList(const QString &table) {
    return {table,
            {recordNumber(QStringLiteral("NUMREG")), text(QStringLiteral("NOME"), 40)},
            tags({QStringLiteral("NOME")})};
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

    out << TableLayout{
        QStringLiteral("BARCODE"),
        {recordNumber(QStringLiteral("NUMREG")), text(QStringLiteral("BARCODE"), 30)},
        tags({QStringLiteral("NUMREG"), QStringLiteral("BARCODE")})};
    out << TableLayout{QStringLiteral("LBCODE"), {text(QStringLiteral("BARCODE"), 30)}, {}};

    out << TableLayout{QStringLiteral("COLORI"),
                       {recordNumber(QStringLiteral("NUMREG")), text(QStringLiteral("COLORE"), 30)},
                       tags({QStringLiteral("COLORE"), QStringLiteral("NUMREG")})};
    for (const char *list : {"MARCHI", "CATEGOR", "MATERIAL", "FONDI", "TIPOLOGI"})
        out << nameList(QString::fromLatin1(list));
    out << TableLayout{QStringLiteral("MISURE"), {text(QStringLiteral("NOME"), 10)}, {}};

    out << TableLayout{QStringLiteral("FORNITOR"), contactFields(),
                       tags({QStringLiteral("NOME"), QStringLiteral("CODICE")})};
    out << TableLayout{
        QStringLiteral("CLIENTI"), contactFields(),
        tags({QStringLiteral("NOME"), QStringLiteral("CODICE"), QStringLiteral("BARCODE")})};

    out << TableLayout{QStringLiteral("CONFIG"),
                       {text(QStringLiteral("RAGIONE"), 40),
                        text(QStringLiteral("RAGION2"), 50),
                        text(QStringLiteral("ADDRESS"), 40),
                        text(QStringLiteral("CITTA"), 40),
                        text(QStringLiteral("PIVA"), 40),
                        text(QStringLiteral("TEL"), 20),
                        text(QStringLiteral("FAX"), 20),
                        small(QStringLiteral("IMPOBOL")),
                        small(QStringLiteral("IMPOSPE")),
                        text(QStringLiteral("ANNOTAZION"), 50),
                        text(QStringLiteral("NEWANNOTA"), 100),
                        text(QStringLiteral("PRIVACY"), 100),
                        logical(QStringLiteral("AUTO")),
                        text(QStringLiteral("PASSWD"), 10),
                        text(QStringLiteral("SIA"), 5),
                        text(QStringLiteral("ABI"), 5),
                        text(QStringLiteral("CAB"), 5),
                        logical(QStringLiteral("ISLOGO")),
                        blob(QStringLiteral("LOGO")),
                        number(QStringLiteral("EURO"), 15, 5),
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

#include "catalogue/CatalogueTables.h"

namespace corvale {

using namespace columns;

namespace {

db::FieldList contactFields() {
    return {recordNumber(QStringLiteral("CODICE")), text(QStringLiteral("NOME"), 40),
            text(QStringLiteral("ADDRESS"), 40),    number(QStringLiteral("CAP"), 5, 0),
            text(QStringLiteral("CITTA"), 40),      text(QStringLiteral("TELEFONO"), 20),
            text(QStringLiteral("FAX"), 20),        text(QStringLiteral("MOBILE"), 20),
            text(QStringLiteral("EMAIL"), 40),      text(QStringLiteral("PIVACF"), 16),
            text(QStringLiteral("BARCODE"), 20),    number(QStringLiteral("DECPUNTI"), 10, 0)};
}

TableLayout nameList(const QString &table) {
    return {table,
            {recordNumber(QStringLiteral("NUMREG")), text(QStringLiteral("NOME"), 40)},
            tags({QStringLiteral("NOME")})};
}

} // namespace

TableLayouts catalogueTables() {
    TableLayouts out;

    out << TableLayout{
        QStringLiteral("ARTICOLI"),
        {recordNumber(QStringLiteral("NUMREG")),    text(QStringLiteral("BARCODE"), 13),
         text(QStringLiteral("DESCRIZION"), 30),    text(QStringLiteral("MARCHIO"), 20),
         recordNumber(QStringLiteral("N_MARCHI")),  text(QStringLiteral("TIPOLOGIA"), 20),
         recordNumber(QStringLiteral("NUMTIPO")),   text(QStringLiteral("MATERIALE"), 10),
         recordNumber(QStringLiteral("NUMMATE")),   text(QStringLiteral("FONDO"), 10),
         text(QStringLiteral("TACCO"), 5),          text(QStringLiteral("ZEPPA"), 5),
         text(QStringLiteral("CATEGORIA"), 30),     recordNumber(QStringLiteral("N_CAT")),
         text(QStringLiteral("FORNITORE"), 40),     recordNumber(QStringLiteral("N_FOR")),
         small(QStringLiteral("TIPOTAGLIA")),       text(QStringLiteral("MISURA"), 20),
         money(QStringLiteral("PREZZOACQ")),        money(QStringLiteral("PREZZOVND")),
         number(QStringLiteral("RICARICO"), 10, 5), percent(QStringLiteral("IVA")),
         percent(QStringLiteral("SCONTO")),         text(QStringLiteral("UM"), 2),
         quantity(QStringLiteral("SCORTA")),        date(QStringLiteral("DATAACQ")),
         date(QStringLiteral("DATAVND")),           text(QStringLiteral("STAGIONE"), 18),
         number(QStringLiteral("ANNO"), 4, 0),      blob(QStringLiteral("FOTO")),
         logical(QStringLiteral("INUSO")),          number(QStringLiteral("ETICHETTE"), 5, 0)},
        tags({QStringLiteral("NUMREG"), QStringLiteral("DESCRIZION"), QStringLiteral("BARCODE"),
              QStringLiteral("N_FOR")})};

    TableLayout sizes{
        QStringLiteral("TAGLIE"),
        {recordNumber(QStringLiteral("NUMREG")), text(QStringLiteral("DESCRIZION"), 20)},
        tags({QStringLiteral("NUMREG"), QStringLiteral("DESCRIZION")})};
    sizes.fields << sizeLabels();
    out << sizes;

    TableLayout stock{QStringLiteral("ARCARTTG"),
                      {recordNumber(QStringLiteral("ARTCODE")), text(QStringLiteral("COLORE"), 20)},
                      tags({QStringLiteral("ARTCODE")})};
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

    out << TableLayout{
        QStringLiteral("CONFIG"),
        {text(QStringLiteral("RAGIONE"), 40),    text(QStringLiteral("RAGION2"), 50),
         text(QStringLiteral("ADDRESS"), 40),    text(QStringLiteral("CITTA"), 40),
         text(QStringLiteral("PIVA"), 40),       text(QStringLiteral("TEL"), 20),
         text(QStringLiteral("FAX"), 20),        small(QStringLiteral("IMPOBOL")),
         small(QStringLiteral("IMPOSPE")),       text(QStringLiteral("ANNOTAZION"), 50),
         text(QStringLiteral("NEWANNOTA"), 100), text(QStringLiteral("PRIVACY"), 100),
         logical(QStringLiteral("AUTO")),        text(QStringLiteral("PASSWD"), 10),
         text(QStringLiteral("SIA"), 5),         text(QStringLiteral("ABI"), 5),
         text(QStringLiteral("CAB"), 5),         logical(QStringLiteral("ISLOGO")),
         blob(QStringLiteral("LOGO")),           number(QStringLiteral("EURO"), 15, 5)},
        {}};

    TableLayout counters{QStringLiteral("COUNTERS"), {}, {}};
    for (const char *c : {"ARTICOLI", "VENDITE", "ACQUISTI", "CLIENTI", "CATEGORIE", "COLORI",
                          "TAGLIE", "COUNTER", "ACCONTI"})
        counters.fields << recordNumber(QString::fromLatin1(c));
    counters.fields << number(QStringLiteral("TAG"), 1, 0);
    out << counters;
    return out;
}

} // namespace corvale

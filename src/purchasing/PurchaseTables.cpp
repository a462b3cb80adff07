#include "purchasing/PurchaseTables.h"

#include "catalogue/ArticleColumns.h"

namespace corvale {

using namespace columns;

namespace {

db::FieldList headerFields() {
    return {date(QStringLiteral("DATADOC")),       recordNumber(QStringLiteral("NUMDOC")),
            money(QStringLiteral("IMPONIBILE")),   money(QStringLiteral("IMPOSTA")),
            money(QStringLiteral("TOTALE")),       recordNumber(QStringLiteral("NUMREG")),
            text(QStringLiteral("MYDATA"), 8),     recordNumber(QStringLiteral("NUMCAR")),
            quantity(QStringLiteral("NUMPEZZI")),  text(QStringLiteral("RAGSOC"), 40),
            recordNumber(QStringLiteral("NUMRAG"))};
}

} // namespace

db::FieldList purchaseLineFields() {
    namespace a = articleColumns;
    return {recordNumber(QStringLiteral("NUMCAR")),
            recordNumber(a::lineArticle),
            text(QStringLiteral("BARCODE"), 13),
            text(QStringLiteral("DESCRIZION"), 30),
            text(a::colour, 20),
            small(a::lineSize),
            text(QStringLiteral("CTAGLIA"), 10),
            quantity(a::lineQuantity),
            money(QStringLiteral("PREZZO")),
            money(QStringLiteral("IMPORTO")),
            small(QStringLiteral("TIPOTAGLIA")),
            date(QStringLiteral("DATAREG")),
            text(QStringLiteral("MISURA"), 20),
            number(QStringLiteral("PRZVND"), 15, 5),
            number(QStringLiteral("IVA"), 6, 2),
            text(QStringLiteral("MARCHIO"), 20),
            number(QStringLiteral("SCOVND"), 6, 2)};
}

TableLayouts purchaseTables() {
    TableLayouts out;
    TableLayout receipts{
        QStringLiteral("CARICHI"), headerFields(),
        tags({QStringLiteral("NUMREG"), QStringLiteral("NUMDOC"), QStringLiteral("NUMRAG"),
              QStringLiteral("MYDATA"), QStringLiteral("RAGSOC")})};
    receipts.fields << number(QStringLiteral("SCONTO"), 7, 3) << logical(QStringLiteral("FINDV"))
                    << logical(QStringLiteral("ISBANCA"));
    out << receipts;

    const auto documentTags = tags({QStringLiteral("NUMREG"), QStringLiteral("NUMDOC"),
                                    QStringLiteral("MYDATA"), QStringLiteral("RAGSOC")});
    out << TableLayout{QStringLiteral("RESI"), headerFields(), documentTags};
    TableLayout orders{QStringLiteral("ORDINI"), headerFields(), documentTags};
    orders.fields << number(QStringLiteral("SCONTO"), 7, 3);
    out << orders;

    for (const char *lines : {"ARCART_A", "ARCART_R", "ARCART_O"})
        out << TableLayout{QString::fromLatin1(lines), purchaseLineFields(),
                           tags({QStringLiteral("NUMCAR")})};

    out << TableLayout{QStringLiteral("TABLE3"),
                       {recordNumber(QStringLiteral("NUMRAG")), text(QStringLiteral("TIPODOC"), 40),
                        text(QStringLiteral("NUMERO"), 10), date(QStringLiteral("DATA")),
                        text(QStringLiteral("MYDATA"), 8), money(QStringLiteral("TOTALE"))},
                       tags({QStringLiteral("NUMRAG")})};
    out << TableLayout{QStringLiteral("TABLE2"),
                       {text(QStringLiteral("MYDATA"), 8), text(QStringLiteral("DATA"), 10),
                        text(QStringLiteral("NUMERO"), 10), money(QStringLiteral("PREZZOV")),
                        money(QStringLiteral("PREZZOA")), text(QStringLiteral("CLIENTE"), 50)},
                       tags({QStringLiteral("MYDATA")})};

    TableLayout legacy{
        QStringLiteral("CARICO_I"),
        {recordNumber(QStringLiteral("ARTCODE")), text(QStringLiteral("COLORE"), 20)},
        {}};
    legacy.fields << sizeQuantities();
    out << legacy;
    return out;
}

} // namespace corvale

#include "cashbook/CashBookTables.h"

namespace corvale {

using namespace columns;

TableLayouts cashBookTables() {
    TableLayouts out;
    for (int book = 0; book <= 3; ++book) {
        out << TableLayout{QStringLiteral("BANK%1").arg(book),
                           {text(QStringLiteral("DESCRIZION"), 50),
                            text(QStringLiteral("DATA"), 10), money(QStringLiteral("IMPORTOI")),
                            money(QStringLiteral("IMPORTOU")), text(QStringLiteral("MYDATA"), 8)},
                           tags({QStringLiteral("MYDATA")})};
    }
    TableLayout primaNota{
        QStringLiteral("PRIMANOT"),
        {text(QStringLiteral("DATA"), 10), text(QStringLiteral("DESCRIZION"), 70)},
        tags({QStringLiteral("MYDATA")})};
    for (int book = 0; book <= 3; ++book) {
        primaNota.fields << money(QStringLiteral("BANK%1E").arg(book))
                         << money(QStringLiteral("BANK%1U").arg(book));
    }
    primaNota.fields << text(QStringLiteral("MYDATA"), 8);
    out << primaNota;

    // Same columns as VENDITE: the takings by fiscal receipt of older releases.
    out << TableLayout{QStringLiteral("RICEVUTE"),
                       {recordNumber(QStringLiteral("NUMREG")),
                        recordNumber(QStringLiteral("NUMDOC")), date(QStringLiteral("DATADOC")),
                        text(QStringLiteral("MYDATA"), 8), text(QStringLiteral("CLIENTE"), 40),
                        number(QStringLiteral("NUMCLI"), 10, 0),
                        text(QStringLiteral("BARCODE"), 20), money(QStringLiteral("IMPONIBILE")),
                        money(QStringLiteral("IMPOSTA")), money(QStringLiteral("TOTALE")),
                        number(QStringLiteral("SCONTO"), 6, 2), logical(QStringLiteral("TIPO")),
                        logical(QStringLiteral("ISBANCA")), logical(QStringLiteral("FINDV"))},
                       tags({QStringLiteral("MYDATA")})};

    // The cash book of an earlier form, carried along by backups and checks only.
    for (const char *legacy : {"NOTA", "NOTAM"}) {
        out << TableLayout{QString::fromLatin1(legacy),
                           {text(QStringLiteral("DESCRIZION"), 50),
                            text(QStringLiteral("DATA"), 10), money(QStringLiteral("IMPORTOI")),
                            money(QStringLiteral("IMPORTOU")), text(QStringLiteral("MYDATA"), 8)},
                           {}};
    }
    return out;
}

} // namespace corvale

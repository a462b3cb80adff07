#include "cashbook/CashBookTables.h"

#include "sales/SalesTables.h"

namespace corvale {

using namespace columns;

namespace {

// One movement of a book: its text, its date twice, money in or out.
db::FieldList bookFields() {
    return {text(QStringLiteral("DESCRIZION"), 50), text(QStringLiteral("DATA"), 10),
            money(QStringLiteral("IMPORTOI")), money(QStringLiteral("IMPORTOU")),
            text(QStringLiteral("MYDATA"), 8)};
}

} // namespace

TableLayouts cashBookTables() {
    TableLayouts out;
    for (int book = 0; book <= 3; ++book)
        out << TableLayout{QStringLiteral("BANK%1").arg(book), bookFields(),
                           tags({QStringLiteral("MYDATA")})};

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

    // The takings by fiscal receipt of older releases keep the sales' columns.
    out << TableLayout{QStringLiteral("RICEVUTE"), counterSaleFields(),
                       tags({QStringLiteral("MYDATA")})};

    // The cash book of an earlier form, carried along by backups and checks only.
    for (const char *legacy : {"NOTA", "NOTAM"})
        out << TableLayout{QString::fromLatin1(legacy), bookFields(), {}};
    return out;
}

} // namespace corvale

#include "cashbook/CashBookTables.h"

#include "cashbook/CashBookColumns.h"
#include "sales/SalesTables.h"

namespace corvale {

using namespace columns;

namespace {

// One movement of a book: its text, its date twice, money in or out.
db::FieldList bookFields() {
    return {text(cashbook::DESCRIZION, 50), text(cashbook::DATA, 10), money(cashbook::IMPORTOI),
            money(cashbook::IMPORTOU), text(cashbook::MYDATA, 8)};
}

} // namespace

TableLayouts cashBookTables() {
    TableLayouts out;
    for (int book = 0; book < cashbook::bookCount; ++book)
        out << TableLayout{cashbook::bookTable(book), bookFields(), tags({cashbook::MYDATA})};

    TableLayout primaNota{cashbook::primaNota,
                          {text(cashbook::DATA, 10), text(cashbook::DESCRIZION, 70)},
                          tags({cashbook::MYDATA})};
    for (int book = 0; book < cashbook::bookCount; ++book)
        primaNota.fields << money(cashbook::moneyIn(book)) << money(cashbook::moneyOut(book));
    primaNota.fields << text(cashbook::MYDATA, 8);
    out << primaNota;

    // The takings by fiscal receipt of older releases keep the sales' columns.
    out << TableLayout{cashbook::receipts, counterSaleFields(), tags({cashbook::MYDATA})};

    // The cash book of an earlier form, carried along by backups and checks only.
    for (const char *legacy : {"NOTA", "NOTAM"})
        out << TableLayout{QString::fromLatin1(legacy), bookFields(), {}};
    return out;
}

} // namespace corvale

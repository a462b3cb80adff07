#pragma once

#include "shell/TableLayout.h"

namespace corvale {

// The line sheet ELEMENTI, counter sales, invoices, their lines and the
// payments table ACCONTI.
TableLayouts salesTables();

// The columns of the counter-sale headers VENDITE, shared by the receipt
// takings table RICEVUTE of the cash book.
db::FieldList counterSaleFields();

} // namespace corvale

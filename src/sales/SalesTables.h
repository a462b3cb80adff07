#pragma once

#include "shell/TableLayout.h"

namespace corvale {

// The line sheet ELEMENTI, counter sales, invoices, their lines and the
// payments table ACCONTI.
TableLayouts salesTables();

// The columns of the counter-sale headers VENDITE, shared by the receipt
// takings table RICEVUTE of the cash book.
db::FieldList counterSaleFields();
// The columns VENDITE has beyond them: what a telematic register gave the
// sale and how it was paid.
db::FieldList counterSaleRtFields();
// And a sale stored while the telematic register could not be reached.
db::FieldList counterSaleOfflineFields();

} // namespace corvale

#pragma once

#include "shell/TableLayout.h"

namespace corvale {

// Goods receipts, returns and orders to suppliers (headers and lines), the two
// work tables of the supplier statement and the legacy CARICO_I.
TableLayouts purchaseTables();

// The line layout shared by ARCART_A, ARCART_R and ARCART_O: an order line
// is copied into a receipt line field by field in this order.
db::FieldList purchaseLineFields();

} // namespace corvale

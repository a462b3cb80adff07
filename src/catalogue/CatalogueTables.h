#pragma once

#include "shell/TableLayout.h"

namespace corvale {

// The catalogue and master tables: articles, size types, the stock matrix,
// extra barcodes, the name lists, suppliers, customers, the shop's record and
// the named counters.
TableLayouts catalogueTables();

} // namespace corvale

#pragma once

#include "shell/TableLayout.h"

namespace corvale {

// The line sheet ELEMENTI, counter sales, invoices, their lines and the
// payments table ACCONTI.
TableLayouts salesTables();

} // namespace corvale

#pragma once

#include "shell/TableLayout.h"

namespace corvale {

// The books BANK0..BANK3, the Prima nota work table, the receipt takings
// RICEVUTE and the legacy NOTA/NOTAM.
TableLayouts cashBookTables();

} // namespace corvale

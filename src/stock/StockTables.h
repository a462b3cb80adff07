#pragma once

#include "shell/TableLayout.h"

namespace corvale {

// Work tables of the stock reports: TABLE1 (stock levels of a size type),
// TABLE4 and TABLE5 (article history).
TableLayouts stockTables();

} // namespace corvale

#pragma once

#include "shell/TableLayout.h"

namespace corvale {

// The price history, the sale campaigns and the season list.
TableLayouts seasonSaleTables();

} // namespace corvale

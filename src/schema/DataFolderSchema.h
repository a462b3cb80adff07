#pragma once

#include "shell/TableLayout.h"

namespace corvale {

// Every table of the data folder at the latest layout, gathered from the
// subsystems that own them.
TableLayouts allTableLayouts();

// The layout of one table by name (without regard to case); nullptr when unknown.
const TableLayout *findTableLayout(const QString &name);

} // namespace corvale

#pragma once

#include "cashbook/PrimaNotaContent.h"

#include <QString>

namespace corvale {

class PageCanvas;

// The printed Prima nota: a title with the period and the shop, the grid of
// the cash, bank and other columns on every page, the lines in index order
// with the period totals at the foot of the last page, and the three balances
// in boxes under their books. With `withRegister`, the days of counter takings
// beside the telematic register's closures follow on pages of their own.
struct PrimaNotaPrintout {
    QString shopName;  // RAGIONE
    QString vatNumber; // PIVA
    const PrimaNotaContent *content = nullptr;
    bool withRegister = false;

    void draw(PageCanvas &canvas) const;
};

} // namespace corvale

#include "stock/StockTables.h"

#include "catalogue/ArticleColumns.h"
#include "stock/StockColumns.h"

namespace corvale {

using namespace columns;

TableLayouts stockTables() {
    TableLayouts out;
    namespace sc = stockColumns;
    namespace ac = articleColumns;
    TableLayout levels{sc::levels, {text(sc::ARTICOLO, 30), text(ac::code, 10)}, {}};
    for (int i = 1; i <= 20; ++i)
        levels.fields << number(ac::sizeCell(i), 10, 0);
    levels.fields << recordNumber(ac::categoryKey) << recordNumber(ac::brandKey)
                  << small(sc::N_STAGIONI);
    out << levels;

    out << TableLayout{sc::historyLines,
                       {recordNumber(QStringLiteral("NUMREG")), text(QStringLiteral("ARCHIVIO"), 1),
                        money(QStringLiteral("PREZZOA")), money(QStringLiteral("PREZZOV")),
                        quantity(QStringLiteral("QUANTITA")), text(QStringLiteral("COLORE"), 20),
                        text(QStringLiteral("TAGLIA"), 10)},
                       {}};

    // The history list reads by partner, and by date within a partner.
    out << TableLayout{sc::history,
                       {text(QStringLiteral("CLIENTE"), 50), text(QStringLiteral("TD"), 1),
                        text(QStringLiteral("TIPO"), 2), text(QStringLiteral("NUMERO"), 10),
                        text(QStringLiteral("DATA"), 10), text(QStringLiteral("MYDATA"), 8),
                        quantity(QStringLiteral("QUANTITA")), money(QStringLiteral("PREZZOA")),
                        money(QStringLiteral("PREZZOV")), text(QStringLiteral("COLORE"), 20),
                        text(QStringLiteral("TAGLIA"), 10)},
                       {TagLayout{sc::CLIDATA, QStringLiteral("CLIENTE+MYDATA")}}};
    return out;
}

} // namespace corvale

#include "stock/StockTables.h"

namespace corvale {

using namespace columns;

TableLayouts stockTables() {
    TableLayouts out;
    TableLayout levels{QStringLiteral("TABLE1"),
                       {text(QStringLiteral("ARTICOLO"), 30), text(QStringLiteral("BARCODE"), 10)},
                       {}};
    for (int i = 1; i <= 20; ++i)
        levels.fields << number(QStringLiteral("TG%1").arg(i), 10, 0);
    levels.fields << recordNumber(QStringLiteral("N_CAT"))
                  << recordNumber(QStringLiteral("N_MARCHI"))
                  << small(QStringLiteral("N_STAGIONI"));
    out << levels;

    out << TableLayout{QStringLiteral("TABLE4"),
                       {recordNumber(QStringLiteral("NUMREG")), text(QStringLiteral("ARCHIVIO"), 1),
                        money(QStringLiteral("PREZZOA")), money(QStringLiteral("PREZZOV")),
                        quantity(QStringLiteral("QUANTITA")), text(QStringLiteral("COLORE"), 20),
                        text(QStringLiteral("TAGLIA"), 10)},
                       {}};

    // The history list reads by partner, and by date within a partner.
    out << TableLayout{QStringLiteral("TABLE5"),
                       {text(QStringLiteral("CLIENTE"), 50), text(QStringLiteral("TD"), 1),
                        text(QStringLiteral("TIPO"), 2), text(QStringLiteral("NUMERO"), 10),
                        text(QStringLiteral("DATA"), 10), text(QStringLiteral("MYDATA"), 8),
                        quantity(QStringLiteral("QUANTITA")), money(QStringLiteral("PREZZOA")),
                        money(QStringLiteral("PREZZOV")), text(QStringLiteral("COLORE"), 20),
                        text(QStringLiteral("TAGLIA"), 10)},
                       {TagLayout{QStringLiteral("CLIDATA"), QStringLiteral("CLIENTE+MYDATA")}}};
    return out;
}

} // namespace corvale

#include "schema/DataFolderSchema.h"

#include "cashbook/CashBookTables.h"
#include "catalogue/CatalogueTables.h"
#include "purchasing/PurchaseTables.h"
#include "sales/SalesTables.h"
#include "stock/StockTables.h"

namespace corvale {

TableLayouts allTableLayouts() {
    static const TableLayouts all = [] {
        TableLayouts out = catalogueTables();
        out << purchaseTables() << salesTables() << cashBookTables() << stockTables();
        return out;
    }();
    return all;
}

const TableLayout *findTableLayout(const QString &name) {
    static const TableLayouts all = allTableLayouts();
    QString base = name;
    if (base.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive))
        base.chop(4);
    for (const TableLayout &t : all) {
        if (t.name.compare(base, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

} // namespace corvale

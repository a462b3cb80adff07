#include "stock/StockFilter.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/FilterConditions.h"
#include "stock/StockColumns.h"

namespace corvale {

QString StockFilter::text(const StockFilterBoxes &b) {
    using namespace articleColumns;
    FilterConditions c;
    c.code(code, b.code, wholeCodeLength)
        .startsWith(description, b.description)
        .equals(brandKey, b.brand)
        .equals(stockColumns::supplierKey, b.supplier);
    if (!b.season.trimmed().isEmpty())
        c.equals(season, b.season);
    if (b.inUseOnly)
        c.holds(inUse);
    return c.text();
}

} // namespace corvale

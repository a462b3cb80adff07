#pragma once

#include "statistics/ChartPeriod.h"

#include <QtGlobal>

#include <vector>

namespace corvale {

namespace db {
class Database;
}

// The pieces of one article sold (sales and invoices) in the columns of a
// chart period.
struct ArticleSales {
    std::vector<qint64> values; // one per column: months 1..12 or days 1..31
    qint64 maximum = 0;         // the largest column, 0 when none is above 0
};

// Sums ARCART_V.QUANTITA of one article (NUMART) by the line date DATAREG:
// one pass over the lines. Lines without a readable date count nowhere.
class ArticleValues {
public:
    // Throws db::Error when ARCART_V cannot be opened.
    static ArticleSales read(db::Database &database, qint64 article, const ChartPeriod &period);
};

} // namespace corvale

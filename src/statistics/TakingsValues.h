#pragma once

#include "statistics/ChartPeriod.h"

#include <vector>

namespace corvale {

namespace db {
class Database;
}

// The takings of the counter sales in the columns of a chart period.
struct Takings {
    std::vector<double> values; // one per column: months 1..12 or days 1..31
    double total = 0;           // every column summed, negative sales included
    double maximum = 0;         // the largest column, 0 when none is above 0
};

// Sums VENDITE.TOTALE by the date key MYDATA ("yyyymmdd"): one pass over the
// sale headers, reading only those two fields. A sale whose key names no
// month or day of the period (an empty or damaged key) counts in no column.
class TakingsValues {
public:
    // Throws db::Error when VENDITE cannot be opened.
    static Takings read(db::Database &database, const ChartPeriod &period);

    // The total and maximum of `values`.
    static Takings summed(std::vector<double> values);
};

} // namespace corvale

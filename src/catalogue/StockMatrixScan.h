#pragma once

#include <QString>

#include <array>
#include <functional>

namespace corvale {

namespace db {
class Database;
}

// One pass over the stock matrix ARCARTTG: each record's article, colour and
// twenty cells (an empty cell is 0). Records that do not read are skipped.
class StockMatrixScan {
public:
    using Cells = std::array<qint64, 20>;
    using Visitor = std::function<void(qint64 article, const QString &colour, const Cells &cells)>;

    static void walk(db::Database &database, const Visitor &visit);
};

} // namespace corvale

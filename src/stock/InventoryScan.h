#pragma once

#include <QtGlobal>

#include <unordered_map>

namespace corvale {

namespace db {
class Database;
}

// What the document lines say of one article, split at the year of the inventory.
struct InventorySums {
    qint64 yearLoads = 0;    // receipts − returns dated in the year
    qint64 earlierLoads = 0; // the same for every other date, or none
    qint64 yearSales = 0;    // sale and invoice lines dated in the year
    qint64 earlierSales = 0;
};

// The year scan of the inventory: one pass over each line table into sums
// per article number. Any article number above 0 has its sums; lines of no
// article are left out.
class InventoryScan {
public:
    // Where lines dated after the year go. The inventory of the current year
    // counts them with the earlier ones (the window's rule); the inventory of
    // a past year was taken before they existed and leaves them out.
    enum class LaterLines { Earlier, LeftOut };

    // Throws db::Error when a line table cannot be opened.
    void run(db::Database &database, int year, LaterLines later = LaterLines::Earlier);
    int year() const { return m_year; }
    // Zeros for an article without lines.
    InventorySums sums(qint64 article) const;
    void clear() { m_sums.clear(); }

private:
    int m_year = 0;
    std::unordered_map<qint64, InventorySums> m_sums;
};

} // namespace corvale

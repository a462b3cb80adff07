#pragma once

#include <QString>

namespace corvale {

namespace db {
class Database;
}

// Gives a season and a year to every article a filter of the article archive
// lists (all articles for an empty filter).
class SeasonAssignment {
public:
    // The name as the season list spells it; empty when it is not in the list.
    static QString listedName(db::Database &database, const QString &typed);
    // Returns how many articles were written.
    static int assign(db::Database &database, const QString &filter, const QString &season,
                      int year);
};

} // namespace corvale

#pragma once

#include <QDate>
#include <QString>

namespace corvale {

namespace db {
class Database;
}

// Fills a new data folder with a small, consistent shop to try the program
// on: the shop's record, size types, name lists, suppliers, customers with
// loyalty cards, articles with photos, goods receipts and counter sales, and
// the stock matrix that those documents leave behind.
class DemoShop {
public:
    // Writes into an open database whose tables exist and are empty.
    static void fill(db::Database &database, const QByteArray &blankPhoto, QDate today);
};

} // namespace corvale

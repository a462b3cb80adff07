#pragma once

#include <QDate>

namespace corvale {

class Clock;
class Shop;

// Fills a new shop with two calendar years of trade up to `today`, made the
// way a user makes it: the catalogue first, then day by day goods receipts
// entered through the size panel, returns and orders to suppliers (one order
// loaded into stock), counter sales with line and sale discounts and loyalty
// cards, invoices, supplier payments and customer deposits, and book
// movements. Every document goes through the logic the windows use, with the
// clock set to its day, so the shop is consistent by construction: its stock
// matrix is what the lines leave, its yearly numbers restart each year.
class DemoShop {
public:
    // `shop` is open on a new data folder (every table, empty); `clock` is
    // the shop's clock, moved to each day and left on `today`. Throws
    // db::Error.
    static void fill(Shop &shop, Clock &clock, QDate today);
};

} // namespace corvale

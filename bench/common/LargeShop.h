#pragma once

#include <QDate>
#include <QString>

// The one large shop the benchmarks measure against: 20,000 articles of
// several size types, 50,000 customers with loyalty cards, 1,000,000 sale lines
// (counter sales and invoices) and 300,000 goods-receipt lines over the ten
// years ending at largeShopToday(), with supplier payments, book movements and
// the stock matrix those lines leave behind.
//
//   ProgramFolder folder(corvale::bench::largeShopFolder());
//   Clock clock(corvale::bench::largeShopToday());
//   Shop shop(folder, clock, prompter); ...
namespace corvale::bench {

// The program folder of the large shop (its tables in dati/). Made on first
// use, which takes some seconds, and kept for later runs while it was made by
// the same generator version. It lives in large-shop/ of the build folder, or
// in the folder named by the environment variable CORVALE_LARGE_SHOP. Two
// programs cannot have it open at once (the data folder is locked), and a
// benchmark that saves documents should work on largeShopCopy() instead, so
// that every benchmark sees the same shop.
QString largeShopFolder();

// The last day of the ten years; fix the clock to it.
QDate largeShopToday();

// A fresh copy of the large shop's data folder in `root`/dati (replacing one
// that is there), for benchmarks that change it. Returns `root`.
QString largeShopCopy(const QString &root);

} // namespace corvale::bench

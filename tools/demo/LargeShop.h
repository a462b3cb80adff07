#pragma once

#include <QByteArray>
#include <QDate>

namespace corvale {

namespace db {
class Database;
}

// The one large shop every benchmark measures against: 20,000 articles of
// several size types, 50,000 customers with loyalty cards, ten years of goods
// receipts (300,000 lines), counter sales and invoices (1,000,000 lines),
// supplier payments and book movements, and the stock matrix those lines leave
// behind. Written by bulk appends through the engine, not through the document
// windows' logic, so that it is made in seconds; the result is still what the
// documents would have left: yearly numbers restart each year, line barcodes
// are valid EAN-13 codes of their article, colour and size, and the stock
// matrix equals the one rebuilt from the lines.
//
// The same seed gives the same shop; `version` changes whenever the content
// does, so that cached copies are made again.
class LargeShop {
public:
    static constexpr int version = 1;

    static constexpr int articleCount = 20000;
    static constexpr int customerCount = 50000;
    static constexpr int supplierCount = 200;
    static constexpr int saleLineCount = 1000000;
    static constexpr int receiptLineCount = 300000;
    static constexpr int invoiceCount = 5000;
    static constexpr int paymentCount = 6000;
    static constexpr int bookMovementCount = 40000;

    // The last day of the ten years.
    static QDate today() { return QDate(2026, 6, 15); }
    static QDate firstDay() { return today().addYears(-10).addDays(1); }

    // Writes into an open database whose tables exist and are empty.
    static void fill(db::Database &database, const QByteArray &photo);
};

} // namespace corvale

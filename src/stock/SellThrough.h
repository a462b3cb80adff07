#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvale {

namespace db {
class Database;
}

// "Venduto per stagione": for the articles of one season (a name of the
// season list and a year, or every year), grouped by brand, category or
// supplier: the pieces received, sold, returned to suppliers and in stock,
// the sell-through (sold over received less returned), the average discount
// realised on the list price and the margin at purchase price.
//
// Sales are the lines of the counter sales and invoices (ARCART_V, lines
// that give back taken off); the margin is the sales net of their VAT less
// the pieces sold at the article's purchase price (VAT excluded).
class SellThrough {
public:
    enum class Grouping { Brand, Category, Supplier };

    struct Row {
        QString group;
        qint64 received = 0;
        qint64 sold = 0;
        qint64 returned = 0;
        qint64 inStock = 0;
        double listValue = 0; // pieces sold at their list price
        double sales = 0;     // what they were sold for, VAT included
        double netSales = 0;  // the same without VAT
        double cost = 0;      // pieces sold at purchase price

        // Sold over received less returned, in percent; nothing without pieces received.
        std::optional<double> sellThrough() const;
        // 1 − sales ÷ list value, in percent; nothing without sales.
        std::optional<double> averageDiscount() const;
        double margin() const { return netSales - cost; }
        void add(const Row &other);
    };

    struct Request {
        QString season;
        int year = 0; // 0: every year
        Grouping grouping = Grouping::Brand;
    };

    // Rows in group-name order (articles without a group under "(nessuno)").
    static QList<Row> compute(db::Database &database, const Request &request);
    static Row total(const QList<Row> &rows);

    static QString groupTitle(Grouping grouping);
    static QStringList columnTitles(Grouping grouping);
    // The texts of a row in the order of the columns.
    static QStringList texts(const Row &row);
    // The ".XLS" lines: the heading of the stock exports, one line per group
    // and the totals.
    static QStringList exportLines(QDate today, const Request &request, const QList<Row> &rows);
};

} // namespace corvale

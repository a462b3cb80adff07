#pragma once

#include <QDate>
#include <QList>
#include <QStringList>

namespace corvale {

class Shop;

// What a new shop types into its cards before the first document: the shop's
// record, size types, colours, name lists, suppliers, customers with loyalty
// cards and articles with photos, numbered through the named counters.
struct DemoCatalogue {
    struct Article {
        qint64 number = 0;
        QString code;
        int supplier = 0; // index into suppliers
        int sizeType = 0;
        QStringList labels;
    };
    struct Contact {
        qint64 code = 0;
        QString name;
        QString card; // customers' loyalty card
    };

    QList<Article> articles;
    QList<Contact> suppliers;
    QList<Contact> customers;
    QStringList colours; // COLORI.NUMREG = index + 1

    // Writes the records into the shop's open, empty tables (a new data folder).
    static DemoCatalogue write(Shop &shop, QDate today);
};

} // namespace corvale

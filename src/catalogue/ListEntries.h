#pragma once

#include "catalogue/ArticleColumns.h"

#include <QString>
#include <QStringList>

namespace corvale {

class Shop;

namespace db {
class Database;
}

// The small name lists the articles refer to, and the few rules that go with
// them: entries are stored in capitals and numbered from a named counter at
// the moment they are created.
class ListEntries {
public:
    struct List {
        QString table;     // "MARCHI"
        QString nameField; // "NOME", or "COLORE" for colours
        QString counter;   // counter of NUMREG; empty for a list without numbers
    };

    static List brands() {
        return {QStringLiteral("MARCHI"), articleColumns::listName, QStringLiteral("COUNTER")};
    }
    static List categories() {
        return {QStringLiteral("CATEGOR"), articleColumns::listName, QStringLiteral("CATEGORIE")};
    }
    static List colours() {
        return {articleColumns::colours, articleColumns::colour, QStringLiteral("COLORI")};
    }
    static List typologies() {
        return {QStringLiteral("TIPOLOGI"), articleColumns::listName, QStringLiteral("COUNTER")};
    }
    static List materials() {
        return {QStringLiteral("MATERIAL"), articleColumns::listName, QStringLiteral("COUNTER")};
    }
    static List soles() {
        return {QStringLiteral("FONDI"), articleColumns::listName, QStringLiteral("COUNTER")};
    }
    static List measures() {
        return {QStringLiteral("MISURE"), articleColumns::listName, QString()};
    }
    // The seasons offered for ARTICOLI.STAGIONE (a season is one of them and a year).
    static List seasons() {
        return {QStringLiteral("STAGIONI"), articleColumns::listName, QString()};
    }
    // The season names in name order.
    static QStringList seasonNames(db::Database &database);

    // Appends an entry named `name` (in capitals; an empty name is allowed),
    // numbered from the list's counter; returns its number (0 without counter).
    static qint64 add(Shop &shop, const List &list, const QString &name);

    // True when a stock matrix record, even one with every cell empty, holds
    // the colour (compared as the matrix stores it, cut to its width).
    static bool colourInStock(db::Database &database, const QString &colour);

    // Replaces the article's extra barcodes with `codes` (blanks at the start
    // removed; empty codes skipped).
    static void replaceBarcodes(db::Database &database, qint64 article, const QStringList &codes);
};

} // namespace corvale

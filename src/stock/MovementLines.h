#pragma once

#include <QDate>
#include <QString>

#include <functional>

namespace corvale {

namespace db {
class Database;
}

// One document line as the stock reports read it.
struct MovementLine {
    qint64 article = 0;   // NUMART
    QDate date;           // DATAREG; invalid when empty or unreadable
    qint64 quantity = 0;  // QUANTITA as a whole number
    double amount = 0;    // IMPORTO
    bool countsUp = true; // TIPO of a sale line (false: the line gives back)
};

// Walks a line table (ARCART_A, ARCART_R or ARCART_V) once in physical order.
// Lines of no article (number 0 or below) never reach the visitor, nor do
// records whose fields do not convert: they belong to no article's figures.
class MovementLines {
public:
    using Visitor = std::function<void(const MovementLine &)>;

    // Throws db::Error when the table itself cannot be opened.
    static void walk(db::Database &database, const QString &table, const Visitor &visit);
};

} // namespace corvale

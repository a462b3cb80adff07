#pragma once

#include "cashbook/CashBookColumns.h"
#include "db/Table.h"

#include <QString>

namespace corvale {

namespace db {
class Database;
}

// The movements of one book (cash, bank or other) as its window lists and
// changes them: a handle on the book ordered by date key, limited to a period,
// and the entry, change and removal of single movements. Every movement keeps
// its date twice, as typed and as the key the ranges compare.
class BookMovements {
public:
    enum class Direction { In, Out };

    struct Entry {
        QString dateText; // "dd/mm/yyyy"
        QString description;
        double amount = 0;
    };

    BookMovements(db::Database &database, cashbook::Book book);

    cashbook::Book book() const { return m_book; }
    // Another book for the same handle (closed first).
    void setBook(cashbook::Book book);
    db::Table &table() { return m_table; }

    // Binds the handle to the book's table afresh and opens it on its date key.
    void open();
    void close();
    bool isOpen() const { return m_table.isOpen(); }

    // Lists the movements from `fromText` to `toText`, both included. A date
    // that cannot be read lists nothing.
    void setPeriod(const QString &fromText, const QString &toText);

    // Why an entry cannot be stored ("" when it can).
    static QString check(const Entry &entry);

    // Stores a new movement (checked first; throws db::Error otherwise).
    void add(Direction direction, const Entry &entry);
    // Rewrites the current movement; its direction is kept.
    void changeCurrent(const Entry &entry);
    // The current movement as an entry, and which way its money went.
    Entry current() const;
    Direction currentDirection() const;
    // Deletes the current movement; false when the list is empty.
    bool removeCurrent();

private:
    void write(Direction direction, const Entry &entry);

    cashbook::Book m_book;
    db::Table m_table;
};

} // namespace corvale

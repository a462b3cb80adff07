#include "cashbook/BookMovements.h"

#include "db/Error.h"
#include "platform/Formats.h"
#include "platform/Money.h"
#include "shell/CommonRoutines.h"

namespace corvale {

using namespace cashbook;

BookMovements::BookMovements(db::Database &database, Book book)
    : m_book(book)
    , m_table(database) {}

void BookMovements::setBook(Book book) {
    m_table.close();
    m_book = book;
}

void BookMovements::open() {
    m_table.close();
    m_table.setTableName(bookTable(m_book));
    m_table.setIndexName(MYDATA);
    m_table.open();
}

void BookMovements::close() {
    m_table.close();
}

void BookMovements::setPeriod(const QString &fromText, const QString &toText) {
    m_table.setRange(CommonRoutines::DateKey(fromText), CommonRoutines::DateKey(toText));
    m_table.first();
}

QString BookMovements::check(const Entry &entry) {
    if (!Formats::parseDate(entry.dateText))
        return QStringLiteral("Data non valida!");
    // A book holds money in and money out apart: a negative amount would turn
    // one into the other unseen and upset every balance.
    if (!(entry.amount >= 0))
        return QStringLiteral("Importo non valido!");
    if (entry.description.trimmed().isEmpty())
        return QStringLiteral("Descrizione mancante!");
    return {};
}

void BookMovements::write(Direction direction, const Entry &entry) {
    const QString problem = check(entry);
    if (!problem.isEmpty())
        throw db::Error(problem);
    // The date as typed and its key always change together.
    const QString dateText = Formats::formatDate(*Formats::parseDate(entry.dateText));
    m_table.setString(DATA, dateText);
    m_table.setString(MYDATA, CommonRoutines::DateKey(dateText));
    m_table.setString(DESCRIZION, entry.description);
    const double amount = roundToCents(entry.amount);
    m_table.setFloat(direction == Direction::In ? IMPORTOI : IMPORTOU, amount);
    m_table.setFloat(direction == Direction::In ? IMPORTOU : IMPORTOI, 0);
}

void BookMovements::add(Direction direction, const Entry &entry) {
    m_table.append();
    try {
        write(direction, entry);
        m_table.post();
    } catch (...) {
        m_table.cancel();
        throw;
    }
    m_table.first();
}

void BookMovements::changeCurrent(const Entry &entry) {
    if (m_table.eof() && m_table.bof())
        return;
    const Direction direction = currentDirection();
    m_table.edit();
    try {
        write(direction, entry);
        m_table.post();
    } catch (...) {
        m_table.cancel();
        throw;
    }
}

BookMovements::Entry BookMovements::current() const {
    const Direction direction = currentDirection();
    return {m_table.asString(DATA), m_table.asString(DESCRIZION),
            m_table.asFloat(direction == Direction::In ? IMPORTOI : IMPORTOU)};
}

BookMovements::Direction BookMovements::currentDirection() const {
    return m_table.asFloat(IMPORTOU) != 0 ? Direction::Out : Direction::In;
}

bool BookMovements::removeCurrent() {
    if (m_table.isEmpty())
        return false;
    m_table.remove();
    return true;
}

} // namespace corvale

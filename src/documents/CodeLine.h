#pragma once

#include <QString>

#include <optional>

namespace corvale {

class LineSheet;

namespace db {
class Database;
}

// Fills the sheet's current row from a typed code, as the invoice takes a
// code (CodeDecoder, article codes only): the article with quantity 1, its
// sale price and discount, the colour named by its number when there is one,
// the size label of the position. The row is posted and the cursor moves to
// the next row (a blank one is added at the end). Nothing changes when the
// code names no line; the message to show is returned instead. `article`,
// when given, receives the article's number. Throws db::Error.
std::optional<QString> takeCodeLine(db::Database &database, LineSheet &sheet, const QString &code,
                                    qint64 *article = nullptr);

} // namespace corvale

#pragma once

#include <QString>

#include <optional>

namespace corvale {

class LineSheet;

namespace db {
class Database;
}

// What a code typed or scanned into a sheet's code box says: the article's
// code in its first six characters, the colour number in the next three (+100)
// and the size position in the three after (+100). A bare article code is size
// position 1 of no colour.
struct TypedCode {
    QString article;
    qint64 colourNumber = 0; // 0: no colour
    int position = 1;

    static TypedCode read(const QString &code);
};

// Fills the sheet's current row from a typed code, as the sale and the invoice
// take a code: the article found by its own code among all articles (in use
// or not), quantity 1, its sale price and discount, the colour named by its
// number when there is one, the size label of the position. The row is posted
// and the cursor moves to the next row (a blank one is added at the end).
// Nothing changes when no article has the code; an error message is returned
// instead. `article`, when given, receives the article's number. Throws
// db::Error.
std::optional<QString> takeCodeLine(db::Database &database, LineSheet &sheet, const QString &code,
                                    qint64 *article = nullptr);

} // namespace corvale

#pragma once

#include <QString>
#include <QStringList>

namespace corvale {

namespace db {
class Table;
}

// The filter text of a list, built as its filter bar reads: one condition per
// filled box, in the order added, joined by " AND "; empty when none. Every
// text is quoted, so an apostrophe (in a description, or a scanned code)
// never breaks the filter.
class FilterConditions {
public:
    // Sets `text` as the filter of `table`, filtering exactly when it is not
    // empty. Throws db::Error for a text the engine cannot read.
    static void apply(db::Table &table, const QString &text);

    // (column = 'value'), unless the value is empty.
    FilterConditions &equals(const QString &column, const QString &value);
    // The list-search range from the text to the text followed by "z",
    // unless the text is empty.
    FilterConditions &startsWith(const QString &column, const QString &text);
    // A code shorter than `wholeLength` is the beginning of the codes wanted;
    // a longer one (a scanned line barcode) is cut to `wholeLength` and must
    // match whole. Nothing for an empty code.
    FilterConditions &code(const QString &column, const QString &code, int wholeLength);
    // A condition as it is, in brackets.
    FilterConditions &holds(const QString &condition);

    QString text() const { return m_conditions.join(QStringLiteral(" AND ")); }

private:
    QStringList m_conditions;
};

} // namespace corvale

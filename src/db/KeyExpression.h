#pragma once

#include "db/FieldDef.h"

#include <QList>
#include <QString>

namespace corvale::db {

// The key of an index tag: one column by itself, or text pieces joined with "+" the way
// dBASE writes tag expressions:
//   CLIENTE+MYDATA          text columns
//   CODICE+DTOS(DATA)       a date as "yyyymmdd"
//   CODICE+STR(NUMERO,8,2)  a number right-aligned in 8 characters (default 10, 0)
//   UPPER(RAGSOC)           a text column in capitals
// A column by itself keeps its type (numeric, date, logical or text key); anything else
// is a text key as long as its pieces together, at most 100 characters.
class KeyExpression {
public:
    // Throws db::Error naming `tableName` when the text is no key this engine can keep.
    static KeyExpression parse(const QString &text, const FieldList &fields,
                               const QString &tableName);

    // Whether the text names a column alone (no pieces, no functions), so that a missing
    // column can be reported as such.
    static bool namesColumn(const QString &text) {
        return !text.contains(QLatin1Char('+')) && !text.contains(QLatin1Char('('));
    }

    // The expression in capitals without blanks, as the index file stores it.
    const QString &text() const { return m_text; }
    bool isSingleField() const { return m_parts.size() == 1 && m_parts[0].kind == Part::Field; }
    // The column of a single-field key, -1 otherwise.
    int fieldIndex() const { return isSingleField() ? m_parts[0].field : -1; }
    // Characters of a text key made of pieces.
    int length() const { return m_length; }
    // Writes the length() characters of a piecewise key for a record's bytes.
    void write(const char *record, char *out) const;

private:
    struct Part {
        enum Kind { Field, Dtos, Str, Upper } kind = Field;
        int field = -1;
        int offset = 0;   // of the column in the record
        int cell = 0;     // bytes of the column
        int width = 0;    // characters in the key
        int decimals = 0; // STR()
    };

    QString m_text;
    QList<Part> m_parts;
    int m_length = 0;
};

} // namespace corvale::db

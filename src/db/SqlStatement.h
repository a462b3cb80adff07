#pragma once

#include "db/FieldDef.h"

#include <QString>
#include <QStringList>

namespace corvale::db {

// One statement of the local SQL the program uses, parsed:
//   ALTER TABLE "X.dbf" ADD COL type [, ADD COL type ...]
//       types: CHARACTER(n) | CHAR(n) | NUMERIC(p[,s]) | DECIMAL(p[,s]) | BOOLEAN | DATE
//              | BLOB(n[,subtype]) (a memo column)
//   CREATE INDEX NAME ON "X.dbf" (COL)
//   SELECT * FROM X [WHERE condition] [ORDER BY [X.]COL [ASC|DESC], ...]
// Keywords in any letter case, any line breaks; file names quoted or bare (a bare name
// gets ".DBF"). Anything else is a db::Error quoting the statement.
struct SqlStatement {
    enum class Kind { AlterTable, CreateIndex, Select } kind = Kind::Select;
    QString table;         // file name as written, extension added when missing
    FieldList addedFields; // ALTER TABLE
    QString indexName;     // CREATE INDEX
    QString indexColumn;
    QString where;       // SELECT: the condition text, for FilterExpression
    QStringList orderBy; // SELECT: column names without table prefix
    QList<bool> descending;

    static SqlStatement parse(const QString &text);
};

} // namespace corvale::db

#pragma once

#include "db/FileSystem.h"

#include <QStringList>

namespace corvale::db {

// Verifies a table without changing anything (opening a table repairs it; this does not):
// the header count against the file size, every record (live and deleted) present once
// in every tag of the production MDX and in key order, and every memo pointer inside the
// DBT. Returns one Italian line per problem; an empty list means the table is sound.
class TableChecker {
public:
    // `withIndexes` false: the table's own bytes only (header, records, memo
    // pointers), for a caller that rebuilds the indexes anyway.
    static QStringList check(FileSystem &fs, const QString &dbfPath, bool withIndexes = true);
};

} // namespace corvale::db

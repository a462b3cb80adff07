#pragma once

#include "shell/TableLayout.h"

namespace corvale {

namespace db {
class Database;
}

// The one time the program creates tables: a program folder without a data
// folder gets one with every table at the latest layout (production indexes
// and memo files included) and a CONFIG record with EURO = 1.
class DataFolderSetup {
public:
    // Creates `dataPath` when it does not exist and returns true; returns
    // false and leaves everything alone when it exists (even with tables
    // missing). The tables are built in a sibling folder that is renamed into
    // place at the end, so a crash never leaves a half-made data folder.
    // Throws db::Error when a table cannot be written.
    static bool createIfMissing(const QString &dataPath, const TableLayouts &layouts);

    // Writes the tables into an open database folder (no existence checks).
    static void createTables(db::Database &database, const TableLayouts &layouts);
    // The shop's CONFIG record of a new folder, with EURO = 1.
    static void addShopRecord(db::Database &database);

    // The tables of rows the program writes afresh whenever it needs them
    // (the line sheet, the report and statement tables, the label codes, the
    // Prima nota's lines) and the tables of older releases it may start
    // without. Every other table holds the shop's records.
    static bool isWorkTable(const TableLayout &layout);
    // True when `table` is one that a later release adds to an older folder
    // the first time it opens it, and the folder whose file names are
    // `dataFiles` has none of those tables yet: until then their absence is no
    // loss (nothing was ever written to them), neither for the check nor for
    // a backup. Once one of those the same release added is there, the others
    // missing are missing.
    static bool notYetAdded(const QString &table, const QStringList &dataFiles);

    // A data folder may come from anywhere (a restored copy, an older
    // release, a folder copied by hand): the work tables it lacks are made
    // anew, empty, at the latest layout. Returns their file names.
    static QStringList createMissingWorkTables(db::Database &database, const TableLayouts &layouts);
    // The tables of the shop's records that the open folder lacks: never
    // made anew, since an empty one would pass for a shop without records.
    static QStringList missingRecordTables(const db::Database &database,
                                           const TableLayouts &layouts);
    // What the program and the admin tool say about them.
    static QString missingTablesText(const QString &dataPath, const QStringList &tables);
};

} // namespace corvale

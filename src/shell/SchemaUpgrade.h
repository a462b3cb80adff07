#pragma once

#include "shell/TableLayout.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

namespace corvale {

namespace db {
class Database;
class Table;
} // namespace db

// Brings a data folder of an older release up to date at every start. Each
// step probes one column of one table; only a missing column runs the step's
// statements (each one statement, in order) and then its data fixes.
//
// Two lists: the first runs when the main window is created, the second when
// the data module is. A missing table or a failing statement stops the list
// with the engine's message.
//
// Unlike the releases that introduced these steps, a step is safe to run
// again: an ADD clause whose column is already there and an index that
// already exists are left out, and the probe table's own statement runs last
// in its step. A step cut short by a missing table is therefore completed by
// the next start instead of being taken as done because its probe column
// already exists.
class SchemaUpgrade {
public:
    explicit SchemaUpgrade(db::Database &database);

    // True when the list ran to its end; false with errorText() otherwise.
    bool runFirstList();
    bool runSecondList();

    // ---- Tables added whole by a later release ----------------------------------------
    // Creates, from `layouts`, the tables of `addedTables()` an older folder
    // lacks, and gives them their first records: the price history starts on
    // `today` with every article's own price, the season list with the
    // seasons the articles already carry. Runs before the check for missing
    // tables, so that an older folder is not reported as incomplete.
    bool runAddedTables(const TableLayouts &layouts, QDate today);
    static QStringList addedTables();
    // The same, by the release that added them: a folder that release never
    // opened has none of its group.
    static QList<QStringList> addedTableGroups();
    // The three seasons every shop starts with, plus those the articles carry.
    static void seedSeasons(db::Database &database);
    // ---- end of tables added whole ---------------------------------------------------

    QString errorText() const { return m_error; }
    // Every statement handed to the engine, in order, and the probes made.
    const QStringList &executedStatements() const { return m_executed; }
    int probeCount() const { return m_probes; }

    // Builds "ALTER TABLE \"T.dbf\"" with one ADD line per clause, commas
    // ending every line but the last.
    static QString alterStatement(const QString &table, const QStringList &clauses);
    static QString createIndexStatement(const QString &tag, const QString &table,
                                        const QString &column);

private:
    struct Step {
        QString probeTable;
        QString probeColumn;
        QStringList statements;
        std::function<void()> dataFix;
    };

    // True when the probe column was already there.
    bool runStep(const Step &step);
    bool probe(const QString &table, const QString &column);
    void execute(const QString &statement);
    // The statement without the parts already done; empty when nothing is left.
    QString remainder(const QString &statement) const;
    void forEachRecord(const QString &table, const std::function<void(db::Table &)> &set);
    bool runList(const std::function<void()> &list);

    db::Database &m_db;
    QString m_error;
    QStringList m_executed;
    int m_probes = 0;
};

} // namespace corvale

#include "FaultyFileSystem.h"

#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"
#include "db/TableChecker.h"

#include <QTemporaryDir>
#include <QTest>

using namespace corvale::db;
using corvale::db::test::FaultyFileSystem;

namespace {

struct Row {
    QString description;
    QString note;
    QString quantity;
    QString extra;
    bool operator==(const Row &) const = default;
};
struct State {
    QMap<qint64, Row> rows;
    QStringList tags;
    bool operator==(const State &) const = default;
};

// A day of work on a tagged table with memos: appends, edits, deletions, a pack and a
// schema upgrade. `states` receives the table's content after each completed step, once
// the step is reported: the program is back in its event loop, and no crash came first.
void workload(Database &db, FaultyFileSystem &fs, QList<State> &states) {
    State state;
    const auto reported = [&] {
        QCoreApplication::processEvents();
        if (!fs.crashed())
            states << state;
    };
    db.createTableWithTags("ARC.DBF",
                           {FieldDef::number("NUMREG", 10), FieldDef::text("DESCR", 30),
                            FieldDef::memo("NOTE"), FieldDef::number("QTA", 6)},
                           {{"NUMREG", "NUMREG"}, {"DESCR", "DESCR"}, {"DQ", "DESCR+STR(QTA,6)"}});
    state.tags = QStringList{"DESCR", "DQ", "NUMREG"};
    reported();
    {
        Table t(db);
        t.setTableName("ARC");
        t.setIndexName("NUMREG");
        t.open();
        for (int i = 1; i <= 10; ++i) {
            Row row{QStringLiteral("ARTICOLO %1").arg(11 - i),
                    i % 2 ? QStringLiteral("nota %1").arg(i) : QString(), QString::number(i * 3),
                    QString()};
            t.append();
            t.setInteger("NUMREG", i);
            t.setString("DESCR", row.description);
            t.setString("NOTE", row.note);
            t.setString("QTA", row.quantity);
            t.post();
            state.rows[i] = row;
            reported();
        }
        t.findKey(3);
        t.edit();
        t.setString("DESCR", "CAMBIATO");
        t.setString("NOTE", QString(700, QLatin1Char('x')));
        t.post();
        state.rows[3].description = "CAMBIATO";
        state.rows[3].note = QString(700, QLatin1Char('x'));
        reported();
        for (int gone : {2, 7}) {
            t.findKey(gone);
            t.remove();
            state.rows.remove(gone);
            reported();
        }
    }
    {
        Table t(db);
        t.setTableName("ARC");
        t.setExclusive(true);
        t.open();
        t.pack();
        reported();
    }
    db.executeSql("ALTER TABLE \"ARC.dbf\"\nADD EXTRA CHARACTER(5),\nADD PREZZO NUMERIC(6,2)");
    reported();
    // A tag on an expression lives only in the MDX.
    db.addTag("ARC.DBF", {"QD", "STR(QTA,6)+DESCR"});
    state.tags = QStringList{"DESCR", "DQ", "NUMREG", "QD"};
    reported();
    {
        Table t(db);
        t.setTableName("ARC");
        t.setIndexName("NUMREG");
        t.open();
        t.append();
        t.setInteger("NUMREG", 20);
        t.setString("DESCR", "NUOVO");
        t.setString("EXTRA", "ABC");
        t.setString("NOTE", "dopo");
        t.post();
        state.rows[20] = Row{"NUOVO", "dopo", QString(), "ABC"};
        reported();
        t.findKey(5);
        t.edit();
        t.setString("EXTRA", "E5");
        t.post();
        state.rows[5].extra = "E5";
        reported();
        // Saved right before closing: the close, not the event loop, makes it durable.
        t.append();
        t.setInteger("NUMREG", 21);
        t.setString("DESCR", "ULTIMO");
        t.post();
        state.rows[21] = Row{"ULTIMO", QString(), QString(), QString()};
    }
    db.close();
    reported();
}

State readBack(Database &db) {
    State state;
    Table t(db);
    t.setTableName("ARC");
    t.open();
    const bool extra = t.hasField("EXTRA");
    state.tags = t.indexNames();
    state.tags.sort();
    for (t.first(); !t.eof(); t.next())
        state.rows[t.asInteger("NUMREG")] =
            Row{t.asString("DESCR"), t.asString("NOTE"), t.asString("QTA"),
                extra ? t.asString("EXTRA") : QString()};
    // The tags agree with the rows.
    t.setIndexName("DESCR");
    QStringList order;
    for (t.first(); !t.eof(); t.next())
        order << t.asString("DESCR");
    QStringList sorted = order;
    std::sort(sorted.begin(), sorted.end());
    if (order != sorted || order.size() != state.rows.size())
        throw Error("tag DESCR non coerente");
    t.setIndexName("DQ");
    QStringList keys;
    for (t.first(); !t.eof(); t.next())
        keys << t.asString("DESCR").leftJustified(30) + t.asString("QTA").rightJustified(6);
    QStringList sortedKeys = keys;
    std::sort(sortedKeys.begin(), sortedKeys.end());
    if (keys != sortedKeys || keys.size() != state.rows.size())
        throw Error("tag DQ non coerente");
    if (state.tags.contains("QD")) {
        t.setIndexName("QD");
        int entries = 0;
        for (t.first(); !t.eof(); t.next())
            ++entries;
        if (entries != state.rows.size())
            throw Error("tag QD non coerente");
    }
    return state;
}

QString describe(const State &state) {
    QStringList parts = {state.tags.join(QLatin1Char(','))};
    for (auto it = state.rows.begin(); it != state.rows.end(); ++it)
        parts << QStringLiteral("%1:%2/%3/%4/%5")
                     .arg(it.key())
                     .arg(it->description, it->note.left(8), it->quantity, it->extra);
    return parts.join(QLatin1Char(' '));
}

// Records 1 to `count` of a table of a number N and a memo M: "memo 1", ...
void appendMemos(Table &t, int count) {
    for (int i = 1; i <= count; ++i) {
        t.append();
        t.setInteger("N", i);
        t.setString("M", QStringLiteral("memo %1").arg(i));
        t.post();
    }
}

// N and M of each record, in the table's order.
QStringList memoValues(Table &t) {
    QStringList values;
    for (t.first(); !t.eof(); t.next())
        values << t.asString("N") + t.asString("M");
    return values;
}

} // namespace

class CrashTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void everyCrashPointLeavesATableThatOpensWhole_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("killed process") << int(FaultyFileSystem::Crash::KillsProcess);
        QTest::newRow("power cut") << int(FaultyFileSystem::Crash::CutsPower);
    }

    // Stops the workload dead before each of its file changes in turn (and, for a power
    // cut, each sync), then reopens the folder as the next start of the program would.
    // Nothing a step reported as saved may be missing, whatever the crash took.
    void everyCrashPointLeavesATableThatOpensWhole() {
        QFETCH(int, kind);
        const auto crash = FaultyFileSystem::Crash(kind);
        const QString walk = crash == FaultyFileSystem::Crash::CutsPower ? "cut" : "kill";
        QList<State> reference;
        int total = 0;
        {
            const QString folder = m_dir.path() + "/reference-" + walk;
            QDir().mkpath(folder);
            FaultyFileSystem fs(crash);
            Database db(fs);
            db.open(folder);
            workload(db, fs, reference);
            total = fs.operations();
            // Once the database is closed, a crash takes nothing.
            fs.crashNow();
            Database reopened;
            reopened.open(folder);
            QCOMPARE(describe(readBack(reopened)), describe(reference.last()));
        }
        QVERIFY(total > 50);
        qInfo("%d crash points", total);
        int crashes = 0;
        for (int n = 1; n <= total; ++n) {
            const QString folder = m_dir.path() + QStringLiteral("/%1%2").arg(walk).arg(n);
            QDir().mkpath(folder);
            QList<State> states;
            {
                FaultyFileSystem fs(crash);
                fs.arm(FaultyFileSystem::Fault::Crash, n);
                Database db(fs);
                db.open(folder);
                try {
                    workload(db, fs, states);
                } catch (const Error &) {
                }
                QVERIFY2(fs.crashed(), qPrintable(QStringLiteral("no crash at %1").arg(n)));
                ++crashes;
            }
            Database db;
            db.open(folder);
            if (!db.tableExists("ARC.DBF")) {
                QVERIFY2(states.isEmpty(), qPrintable(QStringLiteral("table lost at %1").arg(n)));
                continue;
            }
            State found;
            try {
                found = readBack(db);
            } catch (const Error &error) {
                QFAIL(qPrintable(QStringLiteral("crash at %1: %2").arg(n).arg(error.message())));
            }
            const State before = states.isEmpty() ? State() : states.last();
            const State after = reference.value(states.size(), before);
            QVERIFY2(
                found == before || found == after,
                qPrintable(QStringLiteral("crash at %1 of %2:\nfound  %3\nbefore %4\nafter  %5")
                               .arg(n)
                               .arg(total)
                               .arg(describe(found), describe(before), describe(after))));
            db.close();
            const QStringList problems =
                TableChecker::check(FileSystem::local(), folder + "/ARC.DBF");
            QVERIFY2(problems.isEmpty(),
                     qPrintable(QStringLiteral("crash at %1: %2").arg(n).arg(problems.join("; "))));
        }
        QCOMPARE(crashes, total);
    }

    // Closing the database makes every change durable without the event loop's help, on
    // a table without tags too (it has no index to write at close).
    void closingMakesEveryChangeDurable() {
        const QString folder = m_dir.path() + "/closed";
        QDir().mkpath(folder);
        FaultyFileSystem fs(FaultyFileSystem::Crash::CutsPower);
        {
            Database db(fs);
            db.open(folder);
            db.createTable("T.DBF", {FieldDef::number("N", 5), FieldDef::memo("M")});
            Table t(db);
            t.setTableName("T");
            t.open();
            appendMemos(t, 3);
            t.close();
            db.close();
        }
        fs.crashNow();
        Database db;
        db.open(folder);
        Table t(db);
        t.setTableName("T");
        t.open();
        const QStringList values = memoValues(t);
        QCOMPARE(values, QStringList({"1memo 1", "2memo 2", "3memo 3"}));
    }

    // Emptying a table with memos, cut short by a power cut anywhere: the records come back
    // with their memos, or the table is empty.
    void emptyingSurvivesAPowerCutAnywhere() {
        const QStringList full = {"1memo 1", "2memo 2", "3memo 3"};
        bool completed = false;
        for (int n = 1; !completed; ++n) {
            const QString folder = m_dir.path() + QStringLiteral("/empty%1").arg(n);
            QDir().mkpath(folder);
            FaultyFileSystem fs(FaultyFileSystem::Crash::CutsPower);
            {
                Database db(fs);
                db.open(folder);
                db.createTable("T.DBF", {FieldDef::number("N", 5), FieldDef::memo("M")}, {"N"});
                Table t(db);
                t.setTableName("T");
                t.open();
                appendMemos(t, 3);
                QCoreApplication::processEvents();
                fs.arm(FaultyFileSystem::Fault::Crash, fs.operations() + n);
                try {
                    t.emptyTable();
                    QCoreApplication::processEvents();
                    t.close();
                    db.close();
                } catch (const Error &) {
                }
                completed = !fs.crashed();
                fs.crashNow();
            }
            Database db;
            db.open(folder);
            {
                Table t(db);
                t.setTableName("T");
                t.setIndexName("N");
                t.open();
                const QStringList values = memoValues(t);
                QVERIFY2(values.isEmpty() || (values == full && !completed),
                         qPrintable(QStringLiteral("cut at %1: %2").arg(n).arg(values.join(","))));
            }
            db.close();
            const QStringList problems =
                TableChecker::check(FileSystem::local(), folder + "/T.DBF");
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
            QVERIFY(n < 100);
        }
    }

    // The folder sync reaches the disk; a folder it cannot open is an error, never a silent
    // success.
    void foldersAreSyncedOnTheLocalDisk() {
        FileSystem::local().syncFolder(m_dir.path());
        QVERIFY_THROWS_EXCEPTION(Error, FileSystem::local().syncFolder(m_dir.path() + "/assente"));
    }

    // An I/O error at any file change of a pack or a schema change is reported, and the
    // same running program goes on with a whole table, old or new.
    void failedMaintenanceLeavesTheTableUsable() {
        for (int kind = 0; kind < 2; ++kind) {
            int total = 0;
            for (int n = 1; total == 0 || n <= total; ++n) {
                const QString folder =
                    m_dir.path() + QStringLiteral("/maint%1_%2").arg(kind).arg(n);
                QDir().mkpath(folder);
                FaultyFileSystem fs;
                Database db(fs);
                db.open(folder);
                db.createTable("T.DBF", {FieldDef::number("N", 5), FieldDef::memo("M")}, {"N"});
                {
                    Table t(db);
                    t.setTableName("T");
                    t.open();
                    appendMemos(t, 6);
                    t.first();
                    t.remove();
                }
                const int start = fs.operations();
                fs.arm(FaultyFileSystem::Fault::IoError, start + n);
                bool failed = false;
                try {
                    if (kind == 0)
                        db.packTable("T.DBF");
                    else
                        db.executeSql("ALTER TABLE \"T.dbf\" ADD X BOOLEAN");
                } catch (const Error &) {
                    failed = true;
                }
                if (!failed) {
                    total = n - 1;
                    break;
                }
                Table t(db);
                t.setTableName("T");
                t.setIndexName("N");
                t.open();
                const QStringList values = memoValues(t);
                QCOMPARE(values,
                         QStringList({"2memo 2", "3memo 3", "4memo 4", "5memo 5", "6memo 6"}));
                t.append();
                t.setInteger("N", 7);
                t.post();
                t.close();
                db.close();
                const QStringList problems =
                    TableChecker::check(FileSystem::local(), folder + "/T.DBF");
                QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
                if (n > 200)
                    QFAIL("maintenance never completed");
            }
            QVERIFY(total > 3);
        }
    }

    void failedWritesAreReportedAndLeaveTheTableUsable_data() {
        QTest::addColumn<int>("fault");
        QTest::newRow("I/O error") << int(FaultyFileSystem::Fault::IoError);
        QTest::newRow("short write") << int(FaultyFileSystem::Fault::ShortWrite);
    }

    void failedWritesAreReportedAndLeaveTheTableUsable() {
        QFETCH(int, fault);
        const QString folder = m_dir.path() + QStringLiteral("/fault%1").arg(fault);
        QDir().mkpath(folder);
        FaultyFileSystem fs;
        {
            Database db(fs);
            db.open(folder);
            db.createTable("T.DBF", {FieldDef::number("N", 5), FieldDef::text("A", 10)}, {"N"});
            Table t(db);
            t.setTableName("T");
            t.open();
            t.append();
            t.setInteger("N", 1);
            t.post();
            // The next change is the new record with its end mark.
            fs.arm(FaultyFileSystem::Fault(fault), fs.operations() + 1);
            t.append();
            t.setInteger("N", 2);
            t.setString("A", "perso");
            QVERIFY_THROWS_EXCEPTION(Error, t.post());
            QCOMPARE(t.state(), Table::State::Insert); // nothing claimed as saved
            t.cancel();
            t.append();
            t.setInteger("N", 3);
            t.post();
        }
        Database db;
        db.open(folder);
        {
            Table t(db);
            t.setTableName("T");
            t.setIndexName("N");
            t.open();
            QStringList values;
            for (t.first(); !t.eof(); t.next())
                values << t.asString("N");
            QCOMPARE(values, QStringList({"1", "3"}));
        }
        db.close();
        QVERIFY(TableChecker::check(FileSystem::local(), folder + "/T.DBF").isEmpty());
    }
};

QTEST_GUILESS_MAIN(CrashTest)
#include "tst_crash.moc"

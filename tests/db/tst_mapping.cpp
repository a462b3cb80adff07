#include "FaultyFileSystem.h"

#include "db/Database.h"
#include "db/Table.h"

#include <QTemporaryDir>
#include <QTest>

using namespace corvale::db;
using corvale::db::test::FaultyFileSystem;

// A scan reads the records from the file's mapped view, not with one read
// call per field, also after the table was emptied and filled again (work
// tables of the reports are rebuilt that way on every showing).
class MappingTest : public QObject {
    Q_OBJECT

private:
    static void fill(Table &t, int count) {
        for (int i = 1; i <= count; ++i) {
            t.append();
            t.setInteger(QStringLiteral("NUMERO"), i);
            t.post();
        }
    }
    // Read calls made by a scan summing NUMERO; the sum checks what was read.
    static int readsOfAScan(FaultyFileSystem &files, Table &t, qint64 expectedSum) {
        const int before = files.reads();
        qint64 sum = 0;
        for (t.first(); !t.eof(); t.next())
            sum += t.asInteger(QStringLiteral("NUMERO"));
        [&] { QCOMPARE(sum, expectedSum); }();
        return files.reads() - before;
    }

private slots:
    void emptiedAndRefilledTablesAreReadFromTheMappedView() {
        QTemporaryDir dir;
        FaultyFileSystem files;
        Database db(files);
        db.open(dir.path());
        db.createTable(QStringLiteral("LAVORO.DBF"), {FieldDef::number("NUMERO", 8)}, {});
        Table t(db);
        t.setTableName(QStringLiteral("LAVORO"));
        t.open();
        const int count = 6000;
        const qint64 sum = qint64(count) * (count + 1) / 2;
        fill(t, count);
        QVERIFY(readsOfAScan(files, t, sum) < count / 10);
        t.emptyTable();
        fill(t, count);
        // Twice: a view made late must hold every record, and stay.
        QVERIFY(readsOfAScan(files, t, sum) < count / 10);
        QVERIFY(readsOfAScan(files, t, sum) < count / 10);
        // A few records appended after the view are still read right.
        fill(t, 3);
        QCOMPARE(readsOfAScan(files, t, sum + 6), 6);
    }
};

QTEST_MAIN(MappingTest)
#include "tst_mapping.moc"

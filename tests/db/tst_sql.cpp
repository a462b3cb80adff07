#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"
#include "db/TableChecker.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace corvale::db;

// Local SQL, pack and reindex, and the production index kept beside each table.
class SqlTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
    QString m_folder;

    void lines() {
        m_db->createTable("ARCART_A.DBF",
                          {FieldDef::number("NUMCAR", 10), FieldDef::number("NUMART", 10),
                           FieldDef::text("COLORE", 20), FieldDef::number("TAGLIA", 2),
                           FieldDef::number("QUANTITA", 10, 2), FieldDef::memo("NOTE")},
                          {"NUMCAR"});
        Table t(*m_db);
        t.setTableName("ARCART_A.DBF");
        t.open();
        const QList<std::tuple<int, int, const char *, int, double>> rows = {
            {10, 7, "ROSSO", 1, 3}, {10, 5, "BLU", 2, 1},  {11, 7, "BLU", 3, 2},
            {12, 5, "BLU", 1, 4},   {12, 7, "NERO", 2, 1}, {13, 5, "ARANCIO", 2, 6}};
        int n = 0;
        for (const auto &[car, art, colour, size, qty] : rows) {
            t.append();
            t.setInteger("NUMCAR", car);
            t.setInteger("NUMART", art);
            t.setString("COLORE", QString::fromLatin1(colour));
            t.setInteger("TAGLIA", size);
            t.setFloat("QUANTITA", qty);
            if (++n % 2)
                t.setString("NOTE", QStringLiteral("nota %1").arg(n));
            t.post();
        }
    }

    QStringList column(Table &t, const char *field) {
        QStringList values;
        for (t.first(); !t.eof(); t.next())
            values << t.asString(QString::fromLatin1(field));
        return values;
    }

    QString path(const QString &name) const { return m_folder + QLatin1Char('/') + name; }

private slots:
    void init() {
        static int run = 0;
        m_folder = m_dir.path() + QStringLiteral("/%1").arg(++run);
        QDir().mkpath(m_folder);
        m_db = std::make_unique<Database>();
        m_db->open(m_folder);
    }
    void cleanup() { m_db.reset(); }

    void alterTableAsTheUpgradeBuildsIt() {
        lines();
        Table probe(*m_db);
        probe.setTableName("ARCART_A.DBF");
        probe.open();
        QVERIFY_THROWS_EXCEPTION(Error, probe.asString("PRZVND"));
        // The statement stays refused while a handle holds the table.
        QVERIFY_THROWS_EXCEPTION(
            Error, m_db->executeSql("ALTER TABLE \"ARCART_A.dbf\"\nADD SCOVND NUMERIC(6,2)"));
        probe.close();
        QVERIFY(m_db->executeSql("ALTER TABLE \"arcart_a.DBF\"\r\n"
                                 "ADD MARCHIO CHARACTER(20),\r\n"
                                 "ADD PRZVND NUMERIC(15,5),\r\n"
                                 "ADD LOGO BLOB(10000),\r\n"
                                 "ADD TIPO BOOLEAN") == nullptr);
        probe.setIndexName("NUMCAR");
        probe.open();
        QCOMPARE(probe.fieldNames().mid(6), QStringList({"MARCHIO", "PRZVND", "LOGO", "TIPO"}));
        QCOMPARE(probe.fieldDefs()[7].length, 15);
        QCOMPARE(probe.fieldDefs()[7].decimals, 5);
        QCOMPARE(probe.fieldDefs()[8].type, 'M');
        // Existing rows keep their values and memos; new columns are empty; tags still work.
        QCOMPARE(column(probe, "COLORE"),
                 QStringList({"ROSSO", "BLU", "BLU", "BLU", "NERO", "ARANCIO"}));
        probe.first();
        QCOMPARE(probe.asString("NOTE"), QStringLiteral("nota 1"));
        QVERIFY(probe.isNull("PRZVND") && probe.isNull("TIPO") && probe.isNull("MARCHIO"));
        QVERIFY(probe.findKey(12));
        QCOMPARE(probe.asString("COLORE"), QStringLiteral("BLU"));
        probe.edit();
        probe.setBool("TIPO", true);
        probe.setFloat("PRZVND", 12.34567);
        probe.post();
        QCOMPARE(probe.asString("PRZVND"), QStringLiteral("12.34567"));
        probe.close();
        m_db->flush();
        QVERIFY(TableChecker::check(FileSystem::local(), path("ARCART_A.DBF")).isEmpty());
        // Adding a column twice is refused, the table untouched.
        QVERIFY_THROWS_EXCEPTION(Error,
                                 m_db->executeSql("ALTER TABLE \"ARCART_A.dbf\" ADD TIPO BOOLEAN"));
    }

    void createIndexAddsATagToTheProductionIndex() {
        m_db->createTable("CLIENTI.DBF",
                          {FieldDef::number("CODICE", 10), FieldDef::text("NOME", 40)}, {"CODICE"});
        m_db->executeSql(
            "ALTER TABLE \"CLIENTI.dbf\"\nADD BARCODE CHARACTER(20),\nADD DECPUNTI NUMERIC(10,0)");
        {
            Table t(*m_db);
            t.setTableName("CLIENTI");
            t.open();
            for (const char *code : {"C3", "A1", "B2"}) {
                t.append();
                t.setString("BARCODE", QString::fromLatin1(code));
                t.post();
            }
        }
        m_db->executeSql("CREATE INDEX BARCODE ON \"CLIENTI.dbf\" (BARCODE)");
        m_db->close();
        m_db->open(m_folder);
        Table t(*m_db);
        t.setTableName("CLIENTI.DBF");
        t.setIndexName("BARCODE");
        t.open();
        QCOMPARE(t.indexNames(), QStringList({"CODICE", "BARCODE"}));
        QCOMPARE(column(t, "BARCODE"), QStringList({"A1", "B2", "C3"}));
        QVERIFY(TableChecker::check(FileSystem::local(), path("CLIENTI.DBF")).isEmpty());
    }

    void selectReadsLikeATable() {
        lines();
        auto q =
            m_db->executeSql("select * from ARCART_A\nOrder by ARCART_A.NUMART, ARCART_A.COLORE");
        QVERIFY(q);
        QStringList rows;
        for (q->first(); !q->eof(); q->next())
            rows << q->asString("NUMART") + q->asString("COLORE");
        QCOMPARE(rows, QStringList({"5ARANCIO", "5BLU", "5BLU", "7BLU", "7NERO", "7ROSSO"}));
        // Equal keys keep record order.
        q->first();
        q->next();
        QCOMPARE(q->asInteger("NUMCAR"), 10);
        QVERIFY_THROWS_EXCEPTION(Error, q->edit());

        auto w =
            m_db->executeSql("select * from ARCART_A where NUMCAR = :NUMREG", {{"NUMREG", 12}});
        QCOMPARE(column(*w, "COLORE"), QStringList({"BLU", "NERO"}));
        auto text = m_db->executeSql(
            "SELECT * FROM \"arcart_a.dbf\" WHERE COLORE = :C ORDER BY QUANTITA DESC",
            {{"C", "BLU"}});
        QCOMPARE(column(*text, "QUANTITA"), QStringList({"4", "2", "1"}));
    }

    void unknownOrBrokenStatementsAreClearErrors_data() {
        QTest::addColumn<QString>("statement");
        QTest::newRow("unknown verb") << "DROP TABLE \"ARCART_A.dbf\"";
        QTest::newRow("unknown type") << "ALTER TABLE \"ARCART_A.dbf\" ADD X MONEY";
        QTest::newRow("missing comma")
            << "ALTER TABLE \"ARCART_A.dbf\" ADD X BOOLEAN ADD Y BOOLEAN";
        QTest::newRow("missing table") << "ALTER TABLE \"NOPE.dbf\" ADD X BOOLEAN";
        QTest::newRow("index on missing column") << "CREATE INDEX X ON \"ARCART_A.dbf\" (X)";
        QTest::newRow("column list") << "select NUMART from ARCART_A";
        QTest::newRow("missing parameter") << "select * from ARCART_A where NUMCAR = :NUMREG";
        QTest::newRow("numeric too wide") << "ALTER TABLE \"ARCART_A.dbf\" ADD X NUMERIC(30,2)";
    }

    void unknownOrBrokenStatementsAreClearErrors() {
        QFETCH(QString, statement);
        lines();
        QVERIFY_THROWS_EXCEPTION(Error, m_db->executeSql(statement));
        m_db->flush();
        QVERIFY(TableChecker::check(FileSystem::local(), path("ARCART_A.DBF")).isEmpty());
    }

    void packDropsDeletedRecordsAndCompactsMemos() {
        lines();
        const qint64 memoBefore = QFileInfo(path("ARCART_A.DBT")).size();
        {
            Table t(*m_db);
            t.setTableName("ARCART_A");
            t.open();
            t.first();
            t.remove(); // ROSSO, with a memo
            t.next();
            t.remove(); // BLU of 11
            // Rewritten memos leave their old blocks behind until the pack.
            t.last();
            for (int i = 0; i < 5; ++i) {
                t.edit();
                t.setString("NOTE", QString(600, QLatin1Char('a' + i)));
                t.post();
            }
            QVERIFY_THROWS_EXCEPTION(Error, t.pack()); // not exclusive
        }
        QVERIFY(QFileInfo(path("ARCART_A.DBT")).size() > memoBefore);
        Table t(*m_db);
        t.setTableName("ARCART_A");
        t.setExclusive(true);
        t.setIndexName("NUMCAR");
        t.open();
        t.pack();
        QCOMPARE(t.physicalRecordCount(), 4u);
        QCOMPARE(column(t, "COLORE"), QStringList({"BLU", "BLU", "NERO", "ARANCIO"}));
        t.last();
        QCOMPARE(t.asString("NOTE"), QString(600, QLatin1Char('e')));
        t.prior();
        QCOMPARE(t.asString("NOTE"), QStringLiteral("nota 5"));
        t.reindex();
        QVERIFY(t.findKey(13));
        t.close();
        m_db->flush();
        QVERIFY(QFileInfo(path("ARCART_A.DBT")).size() <= memoBefore);
        QVERIFY(TableChecker::check(FileSystem::local(), path("ARCART_A.DBF")).isEmpty());
    }

    void staleOrForeignIndexesAreRebuiltNotTrusted() {
        lines();
        m_db->close();
        // Another program changed a key without updating the index.
        QFile f(path("ARCART_A.DBF"));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        const int header = quint8(bytes[8]) | (quint8(bytes[9]) << 8);
        const int length = quint8(bytes[10]) | (quint8(bytes[11]) << 8);
        bytes.replace(header + 1, 10, "        99");
        f.seek(0);
        f.write(bytes);
        f.close();
        QVERIFY(!TableChecker::check(FileSystem::local(), path("ARCART_A.DBF")).isEmpty());
        m_db->open(m_folder);
        {
            Table t(*m_db);
            t.setTableName("ARCART_A");
            t.setIndexName("NUMCAR");
            t.open();
            QCOMPARE(column(t, "NUMCAR"), QStringList({"10", "11", "12", "12", "13", "99"}));
            t.last();
            QCOMPARE(t.asString("COLORE"), QStringLiteral("ROSSO"));
        }
        m_db->close();
        QVERIFY(TableChecker::check(FileSystem::local(), path("ARCART_A.DBF")).isEmpty());
        Q_UNUSED(length);
    }
};

QTEST_GUILESS_MAIN(SqlTest)
#include "tst_sql.moc"

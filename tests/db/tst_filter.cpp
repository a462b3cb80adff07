#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"

#include <QTemporaryDir>
#include <QTest>

using namespace corvale::db;

// Every filter text the windows build, on tables shaped like theirs.
class FilterTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;

    QStringList matching(const QString &table, const QString &filter, const QString &field) {
        Table t(*m_db);
        t.setTableName(table);
        t.open();
        t.setFilter(filter);
        t.setFiltered(true);
        QStringList values;
        for (t.first(); !t.eof(); t.next())
            values << t.asString(field);
        return values;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_db = std::make_unique<Database>();
        m_db->open(m_dir.path());
        m_db->createTable(QStringLiteral("ARTICOLI.DBF"),
                          {FieldDef::number("NUMREG", 10), FieldDef::text("BARCODE", 13),
                           FieldDef::text("DESCRIZION", 30), FieldDef::number("N_MARCHI", 10),
                           FieldDef::number("N_FOR", 10), FieldDef::text("STAGIONE", 18),
                           FieldDef::number("ANNO", 4), FieldDef::logical("INUSO")});
        struct Row {
            int numreg;
            const char *description;
            int brand;
            int supplier;
            const char *season;
            int year;
            bool inUse;
        };
        const Row rows[] = {
            {1, "MAGLIA", 5, 12, "Autunno/Inverno", 2024, true},
            {2, "MAGLIONE", 5, 7, "Primavera/Estate", 2023, true},
            {3, "L'ABITO", 6, 12, "Quattro Stagioni", 2024, false},
            {4, "MAGAZZINO", 0, 0, "", 0, true},
            {5, "SCARPA", 15, 12, "Autunno/Inverno", 2024, true},
        };
        Table t(*m_db);
        t.setTableName(QStringLiteral("ARTICOLI.DBF"));
        t.open();
        for (const Row &row : rows) {
            t.append();
            t.setInteger(QStringLiteral("NUMREG"), row.numreg);
            t.setString(QStringLiteral("BARCODE"), QString::number(800000 + row.numreg));
            t.setString(QStringLiteral("DESCRIZION"), QString::fromUtf8(row.description));
            if (row.brand)
                t.setInteger(QStringLiteral("N_MARCHI"), row.brand);
            t.setInteger(QStringLiteral("N_FOR"), row.supplier);
            t.setString(QStringLiteral("STAGIONE"), QString::fromUtf8(row.season));
            if (row.year)
                t.setInteger(QStringLiteral("ANNO"), row.year);
            t.setBool(QStringLiteral("INUSO"), row.inUse);
            t.post();
        }
        m_db->createTable(QStringLiteral("VENDITE.DBF"),
                          {FieldDef::number("NUMREG", 10), FieldDef::text("MYDATA", 8),
                           FieldDef::logical("FINDV"), FieldDef::number("ACCONTO", 12, 2),
                           FieldDef::text("TD", 1), FieldDef::date("DATADOC")});
        const QList<std::tuple<int, QString, bool, double, QString>> sales = {
            {1, "20231231", false, 0, "V"},
            {2, "20240101", true, 10.5, "A"},
            {3, "20240615", false, -3, "V"},
            {4, "20241231", true, 0, "A"},
            {5, "20250101", false, 0.01, "F"}};
        t.close();
        t.setTableName(QStringLiteral("VENDITE.DBF"));
        t.open();
        for (const auto &[numreg, key, found, deposit, side] : sales) {
            t.append();
            t.setInteger(QStringLiteral("NUMREG"), numreg);
            t.setString(QStringLiteral("MYDATA"), key);
            t.setBool(QStringLiteral("FINDV"), found);
            t.setFloat(QStringLiteral("ACCONTO"), deposit);
            t.setString(QStringLiteral("TD"), side);
            t.setDate(QStringLiteral("DATADOC"),
                      QDate::fromString(key, QStringLiteral("yyyyMMdd")));
            t.post();
        }
        t.append(); // a sale whose deposit cell is empty
        t.setInteger(QStringLiteral("NUMREG"), 6);
        t.post();
    }

    void theFiltersOfTheWindows_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("numbers");
        const QString a = QStringLiteral("ARTICOLI.DBF"), v = QStringLiteral("VENDITE.DBF");
        QTest::newRow("yearly number period")
            << v << "((MYDATA >= '20240101') AND (MYDATA <= '20241231'))"
            << QStringList{"2", "3", "4"};
        QTest::newRow("month up to day 31")
            << v << "((MYDATA >= '20240601') AND (MYDATA <= '20240631'))" << QStringList{"3"};
        QTest::newRow("articles in use") << a << "INUSO" << QStringList{"1", "2", "4", "5"};
        QTest::newRow("in use of a supplier")
            << a << "INUSO AND (N_FOR = 12)" << QStringList{"1", "5"};
        QTest::newRow("supplier only") << a << "(N_FOR = 12)" << QStringList{"1", "3", "5"};
        QTest::newRow("quoted number on numeric")
            << a << "(N_MARCHI = '5')" << QStringList{"1", "2"};
        QTest::newRow("not a prefix of 15") << a << "(N_MARCHI = '1')" << QStringList{};
        QTest::newRow("year as text") << a << "(ANNO = '2024')" << QStringList{"1", "3", "5"};
        QTest::newRow("search condition") << v << "( FINDV )" << QStringList{"2", "4"};
        QTest::newRow("period and search")
            << v << "((MYDATA >= '20240101') AND (MYDATA <= '20241231')) AND ( FINDV )"
            << QStringList{"2", "4"};
        QTest::newRow("line barcode") << a << "BARCODE='800003'" << QStringList{"3"};
        QTest::newRow("code prefix") << a << "((BARCODE >= '80000') AND (BARCODE <= '80000z'))"
                                     << QStringList{"1", "2", "3", "4", "5"};
        QTest::newRow("first six of a line code")
            << a << "(BARCODE = '800002')" << QStringList{"2"};
        QTest::newRow("description prefix")
            << a << "((DESCRIZION >= 'MAGL') AND (DESCRIZION <= 'MAGLz'))" << QStringList{"1", "2"};
        QTest::newRow("apostrophe doubled")
            << a << "((DESCRIZION >= 'L''A') AND (DESCRIZION <= 'L''Az'))" << QStringList{"3"};
        QTest::newRow("season") << a << "(STAGIONE = 'Autunno/Inverno')" << QStringList{"1", "5"};
        QTest::newRow("in use in parentheses") << a << "(INUSO)" << QStringList{"1", "2", "4", "5"};
        QTest::newRow("payments made") << v << "ACCONTO <>0" << QStringList{"2", "3", "5"};
        QTest::newRow("sales side") << v << "(TD<>A)" << QStringList{"1", "3", "5", "6"};
        QTest::newRow("purchase side") << v << "(TD=A)" << QStringList{"2", "4"};
        QTest::newRow("unquoted date keys")
            << v << "(TD<>A) AND (MYDATA >= 20240101) AND (MYDATA <= 20241231)" << QStringList{"3"};
        QTest::newRow("name search")
            << a << "(DESCRIZION >= 'MAGA') AND (DESCRIZION <= 'MAGAz')" << QStringList{"4"};
        QTest::newRow("date column") << v << "(DATADOC >= '01/01/2024') AND (DATADOC < '20250101')"
                                     << QStringList{"2", "3", "4"};
        QTest::newRow("or and not")
            << v << "NOT FINDV OR NUMREG = 2" << QStringList{"1", "2", "3", "5", "6"};
        QTest::newRow("lower-case keywords")
            << v << "(numreg >= 2) and (numreg < 4)" << QStringList{"2", "3"};
    }

    void theFiltersOfTheWindows() {
        QFETCH(QString, table);
        QFETCH(QString, filter);
        QFETCH(QStringList, numbers);
        QCOMPARE(matching(table, filter, QStringLiteral("NUMREG")), numbers);
    }

    void brokenFiltersAreClearErrors_data() {
        QTest::addColumn<QString>("filter");
        QTest::newRow("card with a quote") << "BARCODE='12'34'";
        QTest::newRow("unterminated") << "(DESCRIZION = 'ABC";
        QTest::newRow("unknown field") << "(COLORE = 'ROSSO')";
        QTest::newRow("not logical") << "(DESCRIZION)";
        QTest::newRow("text on number") << "(N_MARCHI = 'abc')";
        QTest::newRow("dangling and") << "INUSO AND";
        QTest::newRow("unbalanced") << "((INUSO)";
        QTest::newRow("stray character") << "INUSO # 1";
    }

    void brokenFiltersAreClearErrors() {
        QFETCH(QString, filter);
        Table t(*m_db);
        t.setTableName(QStringLiteral("ARTICOLI.DBF"));
        t.open();
        t.setFilter(QStringLiteral("INUSO"));
        t.setFiltered(true);
        try {
            t.setFilter(filter);
            QFAIL("accepted a broken filter");
        } catch (const Error &error) {
            QVERIFY(error.message().contains(QStringLiteral("ARTICOLI.DBF")));
        }
        // The previous filter stays in force: never "all records" by accident.
        QCOMPARE(t.filter(), QStringLiteral("INUSO"));
        QCOMPARE(t.recordCount(), 4);
    }

    void filterTextSetBeforeOpeningIsCheckedAtOpen() {
        Table t(*m_db);
        t.setTableName(QStringLiteral("ARTICOLI.DBF"));
        t.setFilter(QStringLiteral("(NOPE = 1)"));
        t.setFiltered(true);
        QVERIFY_THROWS_EXCEPTION(Error, t.open());
        QVERIFY(!t.isOpen());
    }
};

QTEST_GUILESS_MAIN(FilterTest)
#include "tst_filter.moc"

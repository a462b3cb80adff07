#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"

#include <QTemporaryDir>
#include <QTest>

using namespace corvale::db;

// Reading through a field looked up once gives what reading by name gives,
// errors included, and a reference never outlives the opening it was made in.
class FieldRefTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;

    void createLines() {
        m_db->createTable(QStringLiteral("RIGHE.DBF"),
                          {FieldDef::number("NUMART", 10), FieldDef::number("QUANTITA", 10, 2),
                           FieldDef::date("DATAREG"), FieldDef::logical("TIPO"),
                           FieldDef::text("NOTE", 12), FieldDef::text("GIORNO", 10),
                           FieldDef::number("FLAG", 3)},
                          {});
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_db = std::make_unique<Database>();
        m_db->open(m_dir.path());
        createLines();
        Table t(*m_db);
        t.setTableName(QStringLiteral("RIGHE"));
        t.open();
        t.append(); // every cell filled
        t.setInteger(QStringLiteral("NUMART"), 10001);
        t.setFloat(QStringLiteral("QUANTITA"), 2.5);
        t.setDate(QStringLiteral("DATAREG"), QDate(2026, 2, 28));
        t.setBool(QStringLiteral("TIPO"), false);
        t.setString(QStringLiteral("NOTE"), QStringLiteral("12,5"));
        t.setString(QStringLiteral("GIORNO"), QStringLiteral("01/03/2026"));
        t.setInteger(QStringLiteral("FLAG"), 1);
        t.post();
        t.append(); // every cell empty
        t.post();
        t.append(); // texts that are no number and no date
        t.setInteger(QStringLiteral("NUMART"), -3);
        t.setString(QStringLiteral("NOTE"), QStringLiteral("dodici"));
        t.setString(QStringLiteral("GIORNO"), QStringLiteral("ieri"));
        t.post();
    }

    void cleanupTestCase() { m_db.reset(); }

    void readsAsTheNamedGetters() {
        Table t(*m_db);
        t.setTableName(QStringLiteral("RIGHE"));
        t.open();
        const QStringList names{"NUMART", "QUANTITA", "DATAREG", "TIPO", "NOTE", "GIORNO", "FLAG"};
        QList<Table::FieldRef> refs;
        for (const QString &name : names)
            refs << t.fieldRef(name.toLower()); // any letter case, as by name
        int records = 0;
        for (t.first(); !t.eof(); t.next(), ++records) {
            for (int i = 0; i < names.size(); ++i) {
                const QString &name = names[i];
                const Table::FieldRef &ref = refs[i];
                QCOMPARE(t.asBool(ref), t.asBool(name));
                // Both ways succeed or fail together, with the same words.
                auto same = [&](auto byRef, auto byName) {
                    QString refError, nameError;
                    decltype(byName()) a{}, b{};
                    try {
                        a = byRef();
                    } catch (const Error &e) {
                        refError = e.message();
                    }
                    try {
                        b = byName();
                    } catch (const Error &e) {
                        nameError = e.message();
                    }
                    QCOMPARE(refError, nameError);
                    QCOMPARE(a, b);
                };
                same([&] { return t.asFloat(ref); }, [&] { return t.asFloat(name); });
                same([&] { return t.asInteger(ref); }, [&] { return t.asInteger(name); });
                same([&] { return t.asDate(ref); }, [&] { return t.asDate(name); });
            }
        }
        QCOMPARE(records, 3);
        t.first();
        QCOMPARE(t.asInteger(refs[0]), qint64(10001));
        QCOMPARE(t.asFloat(refs[1]), 2.5);
        QCOMPARE(t.asDate(refs[2]), QDate(2026, 2, 28));
        QCOMPARE(t.asDate(refs[5]), QDate(2026, 3, 1));
        QVERIFY(!t.asBool(refs[3]));
        QVERIFY(t.asBool(refs[6]));
        // What is being edited is what is read.
        t.edit();
        t.setInteger(QStringLiteral("NUMART"), 7);
        QCOMPARE(t.asInteger(refs[0]), qint64(7));
        t.cancel();
        QCOMPARE(t.asInteger(refs[0]), qint64(10001));
    }

    void missingFieldsAndStaleReferencesThrow() {
        Table t(*m_db);
        t.setTableName(QStringLiteral("RIGHE"));
        QVERIFY_THROWS_EXCEPTION(Error, t.fieldRef(QStringLiteral("NUMART")));
        t.open();
        QVERIFY_THROWS_EXCEPTION(Error, t.fieldRef(QStringLiteral("PREZZO")));
        const Table::FieldRef ref = t.fieldRef(QStringLiteral("NUMART"));
        t.first();
        QCOMPARE(t.asInteger(ref), qint64(10001));
        QVERIFY_THROWS_EXCEPTION(Error, t.asInteger(Table::FieldRef{}));

        // Closed, or opened again, the handle takes no reference of before.
        t.close();
        QVERIFY_THROWS_EXCEPTION(Error, t.asInteger(ref));
        t.open();
        t.first();
        QVERIFY_THROWS_EXCEPTION(Error, t.asInteger(ref));
        QCOMPARE(t.asInteger(t.fieldRef(QStringLiteral("NUMART"))), qint64(10001));
    }
};

QTEST_MAIN(FieldRefTest)
#include "tst_fieldref.moc"

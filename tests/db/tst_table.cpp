#include "db/Database.h"
#include "db/Error.h"
#include "db/FileSystem.h"
#include "db/Table.h"
#include "db/TableChecker.h"

#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace corvale::db;

class TableTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;

    void createArticles() {
        m_db->createTable(QStringLiteral("ARTICOLI.DBF"),
                          {FieldDef::number("NUMREG", 10), FieldDef::text("DESCRIZION", 30),
                           FieldDef::number("PREZZOVND", 12, 2), FieldDef::logical("INUSO"),
                           FieldDef::date("DATAACQ"), FieldDef::memo("FOTO")},
                          {QStringLiteral("NUMREG"), QStringLiteral("DESCRIZION")});
    }

    void addArticle(Table &t, int numreg, const QString &description, double price,
                    bool inUse = true) {
        t.append();
        t.setInteger(QStringLiteral("NUMREG"), numreg);
        t.setString(QStringLiteral("DESCRIZION"), description);
        t.setFloat(QStringLiteral("PREZZOVND"), price);
        t.setBool(QStringLiteral("INUSO"), inUse);
        t.post();
    }

    QStringList walk(Table &t, const QString &field) {
        QStringList values;
        for (t.first(); !t.eof(); t.next())
            values << t.asString(field);
        return values;
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        const QString folder =
            m_dir.path() + QStringLiteral("/") + QString::fromLatin1(QTest::currentTestFunction());
        QDir().mkpath(folder);
        m_db = std::make_unique<Database>();
        m_db->open(folder);
    }

    void cleanup() { m_db.reset(); }

    void typedFieldsRoundTripAndEmptyCellsReadAsEmpty() {
        createArticles();
        Table t(*m_db);
        t.setTableName(QStringLiteral("articoli")); // any case, no extension
        t.open();
        QVERIFY(t.eof() && t.bof());
        // No current record: every getter gives an empty value.
        QCOMPARE(t.asString(QStringLiteral("DESCRIZION")), QString());
        QCOMPARE(t.asInteger(QStringLiteral("NUMREG")), 0);
        t.append();
        t.setInteger(QStringLiteral("numreg"), 123456789);
        t.setString(QStringLiteral("DESCRIZION"), QStringLiteral("Maglia € perché"));
        t.setFloat(QStringLiteral("PREZZOVND"), 12.5);
        t.setBool(QStringLiteral("INUSO"), true);
        t.setDate(QStringLiteral("DATAACQ"), QDate(2024, 2, 29));
        t.setBlob(QStringLiteral("FOTO"), QByteArray("\xFF\xD8\x00\x1A\x1A binary", 13));
        t.post();
        t.append();
        t.setInteger(QStringLiteral("NUMREG"), 2);
        t.post();
        t.close();

        t.open();
        QCOMPARE(t.asInteger(QStringLiteral("NUMREG")), 123456789);
        QCOMPARE(t.asString(QStringLiteral("DESCRIZION")), QStringLiteral("Maglia € perché"));
        QCOMPARE(t.asFloat(QStringLiteral("PREZZOVND")), 12.5);
        QCOMPARE(t.asString(QStringLiteral("PREZZOVND")), QStringLiteral("12.5"));
        QVERIFY(t.asBool(QStringLiteral("INUSO")));
        QCOMPARE(t.asDate(QStringLiteral("DATAACQ")), QDate(2024, 2, 29));
        QCOMPARE(t.asString(QStringLiteral("DATAACQ")), QStringLiteral("29/02/2024"));
        QCOMPARE(t.asBlob(QStringLiteral("FOTO")), QByteArray("\xFF\xD8\x00\x1A\x1A binary", 13));
        t.next();
        QVERIFY(t.isNull(QStringLiteral("PREZZOVND")));
        QCOMPARE(t.asFloat(QStringLiteral("PREZZOVND")), 0.0);
        QCOMPARE(t.asString(QStringLiteral("DESCRIZION")), QString());
        QVERIFY(!t.asBool(QStringLiteral("INUSO")));
        QVERIFY(!t.asDate(QStringLiteral("DATAACQ")).isValid());
        QVERIFY(t.asBlob(QStringLiteral("FOTO")).isEmpty());
    }

    void missingFieldNamesFieldAndFile() {
        createArticles();
        Table t(*m_db);
        t.setTableName(QStringLiteral("ARTICOLI.dbf"));
        t.open();
        try {
            t.asString(QStringLiteral("RICARICO"));
            QFAIL("no error for a missing field");
        } catch (const Error &error) {
            QVERIFY(error.message().contains(QStringLiteral("RICARICO")));
            QVERIFY(error.message().contains(QStringLiteral("ARTICOLI.DBF")));
        }
        QVERIFY_THROWS_EXCEPTION(Error, t.setIndexName(QStringLiteral("NOTAG")));
    }

    void valuesThatDoNotFitFollowOneRule() {
        m_db->createTable(
            QStringLiteral("T.DBF"),
            {FieldDef::text("DESCR", 5), FieldDef::number("Q", 6), FieldDef::number("P", 6, 2)});
        Table t(*m_db);
        t.setTableName(QStringLiteral("T"));
        t.open();
        t.append();
        t.setString(QStringLiteral("DESCR"), QStringLiteral("ABCDEFGH"));
        QCOMPARE(t.asString(QStringLiteral("DESCR")), QStringLiteral("ABCDE"));
        t.setString(QStringLiteral("DESCR"), QStringLiteral("a\u4e2db"));
        QCOMPARE(t.asString(QStringLiteral("DESCR")), QStringLiteral("a?b"));
        t.setInteger(QStringLiteral("Q"), 999999);
        QVERIFY_THROWS_EXCEPTION(Error, t.setInteger(QStringLiteral("Q"), 1234567));
        QVERIFY_THROWS_EXCEPTION(Error,
                                 t.setFloat(QStringLiteral("P"), 1000.0)); // "1000.00" is 7 wide
        QVERIFY_THROWS_EXCEPTION(Error, t.setString(QStringLiteral("Q"), QStringLiteral("abc")));
        t.setFloat(QStringLiteral("P"), -99.994);
        t.setFloat(QStringLiteral("Q"), -0.0);
        t.post();
        QCOMPARE(t.asInteger(QStringLiteral("Q")), 999999 * 0); // -0 stored as 0
        QCOMPARE(t.asString(QStringLiteral("P")), QStringLiteral("-99.99"));
        QCOMPARE(QString::fromLatin1(t.asBlob(QStringLiteral("P"))), QStringLiteral("-99.99"));
    }

    void tagOrderDuplicatesAndRecordOrder() {
        createArticles();
        Table t(*m_db);
        t.setTableName(QStringLiteral("ARTICOLI.DBF"));
        t.open();
        addArticle(t, 5, QStringLiteral("ZAINO"), 1);
        addArticle(t, 3, QStringLiteral("abito"), 1);
        addArticle(t, 4, QStringLiteral("BORSA"), 1);
        addArticle(t, 1, QStringLiteral("BORSA"), 1);
        addArticle(t, 2, QStringLiteral("ÀNCORA"), 1);
        QCOMPARE(walk(t, QStringLiteral("NUMREG")), QStringList({"5", "3", "4", "1", "2"}));
        t.setIndexName(QStringLiteral("NUMREG"));
        QCOMPARE(walk(t, QStringLiteral("NUMREG")), QStringList({"1", "2", "3", "4", "5"}));
        t.setIndexName(QStringLiteral("DESCRIZION"));
        // Byte order (driver 0x57): capitals, then lower case, then accented letters;
        // equal keys in record order.
        QCOMPARE(walk(t, QStringLiteral("NUMREG")), QStringList({"4", "1", "5", "3", "2"}));
        // Keys follow edits.
        t.findKey(QStringLiteral("ZAINO"));
        t.edit();
        t.setString(QStringLiteral("DESCRIZION"), QStringLiteral("AAA"));
        t.post();
        QCOMPARE(walk(t, QStringLiteral("NUMREG")), QStringList({"5", "4", "1", "3", "2"}));
    }

    void bothLanguageDriversOrderTheirTags() {
        m_db->createTable(QStringLiteral("NOMI.DBF"), {FieldDef::text("NOME", 10)},
                          {QStringLiteral("NOME")});
        {
            Table t(*m_db);
            t.setTableName(QStringLiteral("NOMI"));
            t.open();
            for (const char *name :
                 {"zeta", "Àncora", "abito", "BORSA", "borsa", "Zaino", "Éclair", "ancora"}) {
                t.append();
                t.setString(QStringLiteral("NOME"), QString::fromUtf8(name));
                t.post();
            }
        }
        auto names = [this]() {
            Table t(*m_db);
            t.setTableName(QStringLiteral("NOMI"));
            t.setIndexName(QStringLiteral("NOME"));
            t.open();
            return walk(t, QStringLiteral("NOME"));
        };
        QCOMPARE(names(), QStringList({"BORSA", "Zaino", "abito", "ancora", "borsa", "zeta",
                                       "Àncora", "Éclair"}));
        // The same file marked with the dictionary driver 0x58: the index on disk no longer
        // matches the collation and is rebuilt.
        const QString folder = m_db->path();
        m_db->close();
        QFile file(folder + QStringLiteral("/NOMI.DBF"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(29);
        file.write("\x58", 1);
        file.close();
        m_db->open(folder);
        QCOMPARE(names(), QStringList({"abito", "ancora", "Àncora", "BORSA", "borsa", "Éclair",
                                       "Zaino", "zeta"}));
        Table t(*m_db);
        t.setTableName(QStringLiteral("NOMI"));
        t.setIndexName(QStringLiteral("NOME"));
        t.open();
        t.setRange(QStringLiteral("A"), QStringLiteral("Az"));
        QCOMPARE(walk(t, QStringLiteral("NOME")), QStringList({"abito", "ancora", "Àncora"}));
        t.cancelRange();
        t.setFilter(QStringLiteral("(NOME >= 'b') AND (NOME <= 'c')"));
        t.setFiltered(true);
        QCOMPARE(walk(t, QStringLiteral("NOME")), QStringList({"BORSA", "borsa"}));
        m_db->close();
        QVERIFY(TableChecker::check(FileSystem::local(), folder + QStringLiteral("/NOMI.DBF"))
                    .isEmpty());
    }

    void navigationFlagsFollowTheDataAwareRules() {
        createArticles();
        Table t(*m_db);
        t.setTableName(QStringLiteral("ARTICOLI.DBF"));
        t.setIndexName(QStringLiteral("NUMREG"));
        t.open();
        for (int i = 1; i <= 5; ++i)
            addArticle(t, i, QStringLiteral("A%1").arg(i), i);
        t.first();
        QVERIFY(t.bof() && !t.eof());
        t.last();
        QVERIFY(t.eof() && !t.bof());
        QCOMPARE(t.asInteger(QStringLiteral("NUMREG")), 5);
        t.first();
        QCOMPARE(t.moveBy(3), 3);
        QCOMPARE(t.asInteger(QStringLiteral("NUMREG")), 4);
        QCOMPARE(t.moveBy(10), 1);
        QVERIFY(t.eof());
        QCOMPARE(t.asInteger(QStringLiteral("NUMREG")), 5);
        QCOMPARE(t.moveBy(-2), -2);
        const Table::Bookmark mark = t.bookmark();
        t.first();
        t.gotoBookmark(mark);
        QCOMPARE(t.asInteger(QStringLiteral("NUMREG")), 3);
        t.prior();
        t.prior();
        QVERIFY(!t.bof());
        t.prior();
        QVERIFY(t.bof());
        QCOMPARE(t.asInteger(QStringLiteral("NUMREG")), 1);
        QCOMPARE(t.recordCount(), 5);
    }

    void deleteMakesTheNextRecordCurrent() {
        createArticles();
        Table t(*m_db);
        t.setTableName(QStringLiteral("ARTICOLI.DBF"));
        t.setIndexName(QStringLiteral("NUMREG"));
        t.open();
        for (int i = 1; i <= 4; ++i)
            addArticle(t, i, QStringLiteral("A"), i);
        t.findKey(2);
        t.remove();
        QCOMPARE(t.asInteger(QStringLiteral("NUMREG")), 3);
        t.last();
        t.remove();
        QCOMPARE(t.asInteger(QStringLiteral("NUMREG")), 3);
        QVERIFY(t.eof());
        QCOMPARE(walk(t, QStringLiteral("NUMREG")), QStringList({"1", "3"}));
        // Deleting every record of a range ends with an empty view.
        t.setRange(1, 3);
        while (!t.eof())
            t.remove();
        QVERIFY(t.bof() && t.eof());
        QCOMPARE(t.physicalRecordCount(), 4u);
    }

    void editingIsPostedByMovingAndCancelledByClosing() {
        createArticles();
        Table t(*m_db);
        t.setTableName(QStringLiteral("ARTICOLI.DBF"));
        t.open();
        addArticle(t, 1, QStringLiteral("UNO"), 1);
        addArticle(t, 2, QStringLiteral("DUE"), 2);
        t.first();
        t.edit();
        t.setString(QStringLiteral("DESCRIZION"), QStringLiteral("PRIMO"));
        t.next();
        t.first();
        QCOMPARE(t.asString(QStringLiteral("DESCRIZION")), QStringLiteral("PRIMO"));
        t.edit();
        t.setString(QStringLiteral("DESCRIZION"), QStringLiteral("PERSO"));
        t.cancel();
        QCOMPARE(t.asString(QStringLiteral("DESCRIZION")), QStringLiteral("PRIMO"));
        t.append();
        t.setInteger(QStringLiteral("NUMREG"), 9);
        t.close();
        t.open();
        QCOMPARE(t.recordCount(), 2);
        QVERIFY_THROWS_EXCEPTION(Error, t.setInteger(QStringLiteral("NUMREG"), 1)); // not editing
    }

    void handlesOnOneFileShareOneTruth() {
        createArticles();
        Table a(*m_db), b(*m_db);
        a.setTableName(QStringLiteral("ARTICOLI.DBF"));
        b.setTableName(QStringLiteral("Articoli.Dbf"));
        b.setIndexName(QStringLiteral("NUMREG"));
        a.open();
        b.open();
        addArticle(a, 7, QStringLiteral("SETTE"), 7);
        QVERIFY(b.findKey(7));
        a.edit();
        a.setFloat(QStringLiteral("PREZZOVND"), 70);
        a.post();
        QCOMPARE(b.asFloat(QStringLiteral("PREZZOVND")), 70.0);
        // Exclusive use is refused while another handle is open, and vice versa.
        Table c(*m_db);
        c.setTableName(QStringLiteral("ARTICOLI"));
        c.setExclusive(true);
        QVERIFY_THROWS_EXCEPTION(Error, c.open());
        a.close();
        b.close();
        c.open();
        QVERIFY_THROWS_EXCEPTION(Error, a.open());
        // Closing the database closes every handle.
        m_db->close();
        QVERIFY(!c.isOpen());
    }

    void secondProgramCopyGetsAClearError() {
        Database other;
        try {
            other.open(m_db->path());
            QFAIL("second copy opened the folder");
        } catch (const Error &error) {
            QVERIFY(error.message().contains(QStringLiteral("altra copia")));
        }
        m_db->close();
        other.open(m_db->path());
        other.close();
        // A lock left behind by a copy that died does not keep the program out. The host
        // is named as the lock file names it (Windows uses the computer's short name).
        QString host;
        {
            QLockFile probe(m_db->path() + QStringLiteral("/PROBE.LCK"));
            QVERIFY(probe.tryLock(0));
            qint64 pid = 0;
            QString application;
            QVERIFY(probe.getLockInfo(&pid, &host, &application));
        }
        QFile stale(m_db->path() + QStringLiteral("/CORVALE.LCK"));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("999999\ncorvale\n" + host.toUtf8() + "\n");
        stale.close();
        other.open(m_db->path());
    }

    void findKeyFindNearestAndRanges() {
        createArticles();
        Table t(*m_db);
        t.setTableName(QStringLiteral("ARTICOLI.DBF"));
        t.setIndexName(QStringLiteral("DESCRIZION"));
        t.open();
        const QStringList names = {"BORSA", "BORSELLO", "CAPPELLO", "BOA", "CINTURA", "BORSA"};
        for (int i = 0; i < names.size(); ++i)
            addArticle(t, i + 1, names[i], 1);
        QVERIFY(t.findKey(QStringLiteral("BORSA")));
        QCOMPARE(t.asInteger(QStringLiteral("NUMREG")), 1); // first duplicate
        QVERIFY(!t.findKey(QStringLiteral("BORS")));
        QCOMPARE(t.asInteger(QStringLiteral("NUMREG")), 1); // failed search keeps position
        t.findNearest(QStringLiteral("BORS"));
        QCOMPARE(t.asString(QStringLiteral("DESCRIZION")), QStringLiteral("BORSA"));
        t.findNearest(QStringLiteral("ZZZ"));
        QVERIFY(t.eof());
        // The lists' "text" .. "text" + "z" search range.
        t.setRange(QStringLiteral("BOR"), QStringLiteral("BORz"));
        QCOMPARE(walk(t, QStringLiteral("DESCRIZION")),
                 QStringList({"BORSA", "BORSA", "BORSELLO"}));
        QCOMPARE(t.recordCount(), 3);
        QVERIFY(!t.findKey(QStringLiteral("CAPPELLO"))); // outside the range
        t.last();
        QCOMPARE(t.asString(QStringLiteral("DESCRIZION")), QStringLiteral("BORSELLO"));
        t.cancelRange();
        QCOMPARE(t.recordCount(), 6);
        t.setIndexName(QStringLiteral("NUMREG"));
        t.setRange(2, 4);
        QCOMPARE(walk(t, QStringLiteral("NUMREG")), QStringList({"2", "3", "4"}));
        t.setRange(QStringLiteral("5"), QStringLiteral("5"));
        QCOMPARE(walk(t, QStringLiteral("NUMREG")), QStringList({"5"}));
    }

    void detailFollowsMaster() {
        createArticles();
        m_db->createTable(QStringLiteral("ARCARTTG.DBF"),
                          {FieldDef::number("ARTCODE", 10), FieldDef::text("COLORE", 20),
                           FieldDef::number("TG1", 6)},
                          {QStringLiteral("ARTCODE")});
        Table master(*m_db), detail(*m_db);
        master.setTableName(QStringLiteral("ARTICOLI.DBF"));
        master.setIndexName(QStringLiteral("NUMREG"));
        master.open();
        for (int i = 1; i <= 3; ++i)
            addArticle(master, i, QStringLiteral("A"), 1);
        detail.setTableName(QStringLiteral("ARCARTTG.DBF"));
        detail.setIndexName(QStringLiteral("ARTCODE"));
        detail.open();
        detail.setMasterSource(&master, QStringLiteral("NUMREG"));
        const QList<QPair<int, QString>> rows = {
            {2, "ROSSO"}, {1, "BLU"}, {2, "NERO"}, {3, "VERDE"}};
        for (const auto &[art, colour] : rows) {
            master.findKey(art);
            detail.append(); // the link column comes from the master
            detail.setString(QStringLiteral("COLORE"), colour);
            detail.post();
        }
        master.findKey(2);
        QCOMPARE(walk(detail, QStringLiteral("COLORE")), QStringList({"ROSSO", "NERO"}));
        master.next();
        QCOMPARE(walk(detail, QStringLiteral("COLORE")), QStringList({"VERDE"}));
        master.first();
        QCOMPARE(walk(detail, QStringLiteral("COLORE")), QStringList({"BLU"}));
        master.close();
        QVERIFY(detail.eof() && detail.bof());
        detail.setMasterSource(nullptr);
        QCOMPARE(detail.recordCount(), 4);
    }

    void calculatedFieldsAreComputedAtEachFetch() {
        createArticles();
        Table t(*m_db);
        t.setTableName(QStringLiteral("ARTICOLI.DBF"));
        t.addCalculatedField(QStringLiteral("cPRZ"));
        int calls = 0;
        t.setCalcFieldsHandler([&calls](Table &table) {
            ++calls;
            table.setCalculated(QStringLiteral("cPRZ"),
                                table.asFloat(QStringLiteral("PREZZOVND")) * 0.5);
        });
        t.open();
        addArticle(t, 1, QStringLiteral("A"), 10);
        addArticle(t, 2, QStringLiteral("B"), 30);
        t.first();
        QCOMPARE(t.asFloat(QStringLiteral("CPRZ")), 5.0);
        t.next();
        QCOMPARE(t.asFloat(QStringLiteral("cprz")), 15.0);
        QVERIFY(calls >= 2);
        QVERIFY(t.fieldNames().contains(QStringLiteral("CPRZ")));
    }

    void emptyTableInOneCall() {
        createArticles();
        Table t(*m_db), other(*m_db);
        t.setTableName(QStringLiteral("ARTICOLI.DBF"));
        other.setTableName(QStringLiteral("ARTICOLI.DBF"));
        other.setIndexName(QStringLiteral("DESCRIZION"));
        t.open();
        other.open();
        for (int i = 0; i < 50; ++i)
            addArticle(t, i, QStringLiteral("X%1").arg(i), i);
        t.edit();
        t.setBlob(QStringLiteral("FOTO"), QByteArray(2000, 'x'));
        t.post();
        other.last();
        t.emptyTable();
        QVERIFY(t.eof() && t.bof());
        other.refresh();
        QVERIFY(other.eof() && other.bof());
        addArticle(t, 1, QStringLiteral("NUOVO"), 1);
        other.first();
        QCOMPARE(other.asString(QStringLiteral("DESCRIZION")), QStringLiteral("NUOVO"));
    }

    // An index whose file is whole but whose entries lie: out of order, or pointing at
    // records with other values. Both are noticed and the tag is rebuilt.
    void anIndexThatDisagreesWithTheTableIsRebuilt() {
        const QString folder = m_db->path();
        const QString mdx = folder + QStringLiteral("/ARTICOLI.MDX");
        for (const bool swapWholeEntries : {true, false}) {
            QFile::remove(folder + QStringLiteral("/ARTICOLI.DBF"));
            QFile::remove(mdx);
            QFile::remove(folder + QStringLiteral("/ARTICOLI.DBT"));
            createArticles();
            {
                Table t(*m_db);
                t.setTableName(QStringLiteral("ARTICOLI.DBF"));
                t.open();
                for (int i = 1; i <= 10; ++i)
                    addArticle(t, i * 10, QStringLiteral("A%1").arg(i), i);
            }
            m_db->close();
            // Ten keys fit in the root leaf of the first tag (NUMREG): entries from byte 8,
            // 16 bytes each, record number first.
            QFile file(mdx);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QByteArray bytes = file.readAll();
            const auto u32 = [&](int at) {
                return qFromLittleEndian<quint32>(bytes.constData() + at);
            };
            const int tagPage = int(u32(544));
            const int leaf = int(u32(tagPage * 512)) * 512;
            QCOMPARE(u32(leaf), 10u);
            const int first = leaf + 8, sixth = leaf + 8 + 5 * 16;
            const int length = swapWholeEntries ? 16 : 4;
            const QByteArray a = bytes.mid(first, length), b = bytes.mid(sixth, length);
            bytes.replace(first, length, b);
            bytes.replace(sixth, length, a);
            file.seek(0);
            file.write(bytes);
            file.close();

            m_db->open(folder);
            Table t(*m_db);
            t.setTableName(QStringLiteral("ARTICOLI.DBF"));
            t.setIndexName(QStringLiteral("NUMREG"));
            t.open();
            QCOMPARE(walk(t, QStringLiteral("NUMREG")),
                     QStringList({"10", "20", "30", "40", "50", "60", "70", "80", "90", "100"}));
            QVERIFY(t.findKey(60));
            QCOMPARE(t.asString(QStringLiteral("DESCRIZION")), QStringLiteral("A6"));
            t.close();
            m_db->close();
            m_db->open(folder);
        }
    }

    // One handle appends without a tag while another reads through one: every read sees
    // every record posted before it.
    void recordsAppendedThroughOneHandleAreSeenInTheTagsOfAnother() {
        createArticles();
        Table writer(*m_db);
        writer.setTableName(QStringLiteral("ARTICOLI.DBF"));
        writer.open();
        Table reader(*m_db);
        reader.setTableName(QStringLiteral("ARTICOLI.DBF"));
        reader.setIndexName(QStringLiteral("DESCRIZION"));
        reader.open();
        for (int i = 1; i <= 600; ++i) {
            addArticle(writer, i,
                       QStringLiteral("D%1").arg((i * 37) % 600, 4, 10, QLatin1Char('0')), i);
            if (i % 150 == 0) {
                QVERIFY(reader.findKey(
                    QStringLiteral("D%1").arg((i * 37) % 600, 4, 10, QLatin1Char('0'))));
                QCOMPARE(reader.asInteger(QStringLiteral("NUMREG")), i);
                const QStringList order = walk(reader, QStringLiteral("DESCRIZION"));
                QCOMPARE(order.size(), i);
                QVERIFY(std::is_sorted(order.begin(), order.end()));
            }
        }
        // And the index written at close holds them all, in order.
        writer.close();
        reader.close();
        const QString folder = m_db->path();
        m_db->close();
        QCOMPARE(TableChecker::check(FileSystem::local(), folder + QStringLiteral("/ARTICOLI.DBF")),
                 QStringList());
        m_db->open(folder);
    }

    void tagsSurviveReopeningAndAreRebuiltWhenTheIndexIsLost() {
        createArticles();
        {
            Table t(*m_db);
            t.setTableName(QStringLiteral("ARTICOLI.DBF"));
            t.open();
            for (int i = 0; i < 3000; ++i)
                addArticle(t, (i * 7919) % 3000,
                           QStringLiteral("D%1").arg((i * 31) % 1000, 4, 10, QLatin1Char('0')), i);
        }
        auto descriptions = [this]() {
            Table t(*m_db);
            t.setTableName(QStringLiteral("ARTICOLI.DBF"));
            t.setIndexName(QStringLiteral("DESCRIZION"));
            t.open();
            return walk(t, QStringLiteral("DESCRIZION"));
        };
        const QStringList expected = descriptions();
        QCOMPARE(expected.size(), 3000);
        QVERIFY(std::is_sorted(expected.begin(), expected.end()));
        // Tables stay cached between openings; the index is written when the database
        // closes.
        const QString folder = m_db->path();
        const QString mdx = folder + QStringLiteral("/ARTICOLI.MDX");
        m_db->close();
        QVERIFY(QFile::exists(mdx));
        QFile::remove(mdx);
        m_db->open(folder);
        QCOMPARE(descriptions(), expected); // rebuilt from the table
        m_db->close();
        QVERIFY(QFile::exists(mdx)); // and written back
        // A torn index file.
        QFile file(mdx);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.resize(file.size() / 2);
        file.close();
        m_db->open(folder);
        QCOMPARE(descriptions(), expected);
    }
};

QTEST_GUILESS_MAIN(TableTest)
#include "tst_table.moc"

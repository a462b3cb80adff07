#include "db/Database.h"
#include "db/DbfFile.h"
#include "db/Error.h"
#include "db/FieldCodec.h"
#include "db/Table.h"
#include "db/TableChecker.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cstring>

using namespace corvale::db;

namespace {

void put16(QByteArray &b, int at, int v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

void put32(QByteArray &b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

struct Field {
    const char *name;
    char type;
    int length;
    int decimals;
};

// A table written byte by byte from the published layout, independent of the engine.
QByteArray level3Table(quint8 version, quint8 driver, const QList<Field> &fields,
                       const QList<QByteArray> &records, int headerPadding = 0) {
    const int headerLength = 32 + 32 * int(fields.size()) + 1 + headerPadding;
    int recordLength = 1;
    for (const Field &f : fields)
        recordLength += f.length;
    QByteArray b(headerLength, '\0');
    b[0] = char(version);
    b[1] = char(124);
    b[2] = 3;
    b[3] = 1;
    put32(b, 4, quint32(records.size()));
    put16(b, 8, headerLength);
    put16(b, 10, recordLength);
    b[29] = char(driver);
    for (int i = 0; i < fields.size(); ++i) {
        char *d = b.data() + 32 + 32 * i;
        std::memcpy(d, fields[i].name, std::strlen(fields[i].name));
        d[11] = fields[i].type;
        d[16] = char(fields[i].length);
        d[17] = char(fields[i].decimals);
    }
    b[32 + 32 * int(fields.size())] = 0x0D;
    for (const QByteArray &r : records) {
        Q_ASSERT(r.size() == recordLength);
        b += r;
    }
    b += char(0x1A);
    return b;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

class DbfFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
    QString m_folder;

private slots:
    // Stored numbers round the decimal value half away from zero, as the printed ones do,
    // so a cell never holds a cent less than the receipt shows.
    void numbersAreRoundedHalfAwayFromZeroToTheColumnsDecimals() {
        const struct {
            double value;
            int length, decimals;
            const char *cell;
        } cases[] = {
            {2.675, 8, 2, "    2.68"},    {0.125, 8, 2, "    0.13"}, {-3.25, 6, 1, "  -3.3"},
            {1.005, 6, 2, "  1.01"},      {9.995, 6, 2, " 10.00"},   {0.5, 4, 0, "   1"},
            {-0.004, 6, 2, "  0.00"},     {0.05, 5, 0, "    0"},     {1234.5, 7, 0, "   1235"},
            {19.9, 8, 2, "   19.90"},     {0.0, 5, 2, " 0.00"},      {-0.5, 4, 0, "  -1"},
            {123456.789, 10, 5, nullptr}, {99.995, 6, 2, "100.00"},  {1e-7, 12, 5, "     0.00000"},
        };
        for (const auto &c : cases) {
            char cell[32];
            std::memset(cell, '#', sizeof cell);
            const bool fits = FieldCodec::writeNumber(c.value, c.length, c.decimals, cell);
            QCOMPARE(fits, c.cell != nullptr);
            if (fits)
                QCOMPARE(QByteArray(cell, c.length), QByteArray(c.cell));
        }
    }

    void init() {
        m_folder =
            m_dir.path() + QLatin1Char('/') + QString::fromLatin1(QTest::currentTestFunction());
        QDir().mkpath(m_folder);
        m_db = std::make_unique<Database>();
        m_db->open(m_folder);
    }
    void cleanup() { m_db.reset(); }

    void versionBytes_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("readable");
        QTest::newRow("III/IV plain") << 0x03 << true;
        QTest::newRow("III with memo") << 0x83 << true;
        QTest::newRow("IV with memo") << 0x8B << true;
        QTest::newRow("IV with SQL table flag") << 0x63 << true;
        QTest::newRow("FoxPro") << 0xF5 << false;
        QTest::newRow("Visual FoxPro") << 0x30 << false;
        QTest::newRow("FoxBase") << 0x02 << false;
    }

    void versionBytes() {
        QFETCH(int, version);
        QFETCH(bool, readable);
        const bool memo = version & 0x80;
        QList<Field> fields = {{"NOME", 'C', 5, 0}};
        if (memo)
            fields << Field{"NOTE", 'M', 10, 0};
        QByteArray row = " ROSSO";
        if (memo)
            row += "          ";
        writeFile(m_folder + "/T.DBF", level3Table(quint8(version), 0x57, fields, {row}));
        if (memo) {
            QByteArray dbt(512, '\0');
            put32(dbt, 0, 1);
            writeFile(m_folder + "/T.DBT", dbt);
        }
        Table t(*m_db);
        t.setTableName("T");
        if (!readable) {
            QVERIFY_THROWS_EXCEPTION(Error, t.open());
            return;
        }
        t.open();
        QCOMPARE(t.asString("NOME"), QStringLiteral("ROSSO"));
    }

    void everyFieldTypeOfLevels3To5() {
        const QList<Field> fields = {{"C", 'C', 4, 0},  {"N", 'N', 8, 2}, {"F", 'F', 10, 3},
                                     {"L", 'L', 1, 0},  {"D", 'D', 8, 0}, {"M", 'M', 10, 0},
                                     {"B", 'B', 10, 0}, {"G", 'G', 10, 0}};
        QByteArray r1 = " \xE0"
                        "bc "
                        "  -12.50"
                        "  1234.500"
                        "y"
                        "20240229"
                        "         1"
                        "0000000002"
                        "          ";
        QByteArray r2 = "*zzzz"
                        "********"
                        "          "
                        "?"
                        "        "
                        "          "
                        "          "
                        "          ";
        QByteArray r3 = "     "
                        "        "
                        "          "
                        " "
                        "00000000"
                        "          "
                        "          "
                        "          ";
        writeFile(m_folder + "/T.DBF", level3Table(0x8B, 0x57, fields, {r1, r2, r3}));
        // IV memo file with 64-byte blocks: readers must not assume 512.
        QByteArray dbt(64 * 3, '\0');
        put32(dbt, 0, 3);
        put16(dbt, 20, 64);
        const QByteArray text = "testo del memo";
        std::memcpy(dbt.data() + 64, "\xFF\xFF\x08\x00", 4);
        put32(dbt, 64 + 4, quint32(text.size() + 8));
        std::memcpy(dbt.data() + 72, text.constData(), size_t(text.size()));
        std::memcpy(dbt.data() + 128, "\xFF\xFF\x08\x00", 4);
        put32(dbt, 128 + 4, 8 + 3);
        std::memcpy(dbt.data() + 136, "\x00\x1A\x1A", 3);
        writeFile(m_folder + "/T.DBT", dbt);

        Table t(*m_db);
        t.setTableName("t.dbf");
        t.setShowDeleted(true);
        t.open();
        QCOMPARE(t.asString("C"), QStringLiteral("àbc"));
        QCOMPARE(t.asFloat("N"), -12.5);
        QCOMPARE(t.asFloat("F"), 1234.5);
        QVERIFY(t.asBool("L"));
        QCOMPARE(t.asDate("D"), QDate(2024, 2, 29));
        QCOMPARE(t.asString("M"), QStringLiteral("testo del memo"));
        QCOMPARE(t.asBlob("B"), QByteArray("\x00\x1A\x1A", 3));
        QVERIFY(t.isNull("G"));
        t.next();
        QVERIFY(t.isDeleted());
        // Asterisks left by another writer on overflow are unreadable, never a number.
        QVERIFY_THROWS_EXCEPTION(Error, t.asFloat("N"));
        QVERIFY(t.isNull("L"));
        t.next();
        QVERIFY(t.isNull("N") && t.isNull("D") && t.isNull("L") && t.isNull("M"));
        QVERIFY(!t.asDate("D").isValid());
    }

    void level7HeaderAndBinaryTypes() {
        // 68-byte header start, 48-byte descriptors, a field-properties block after 0x0D.
        const QList<Field> fields = {{"ID", 'I', 4, 0},
                                     {"AUTO", '+', 4, 0},
                                     {"VALORE", 'O', 8, 0},
                                     {"ORA", '@', 8, 0},
                                     {"DESCRIZIONE_LUNGA", 'C', 6, 0}};
        const QByteArray properties("\x01\x02\x03\x04", 4);
        const int headerLength = 68 + 48 * int(fields.size()) + 1 + int(properties.size());
        int recordLength = 1;
        for (const Field &f : fields)
            recordLength += f.length;
        QByteArray b(headerLength, '\0');
        b[0] = 0x04;
        put16(b, 8, headerLength);
        put16(b, 10, recordLength);
        put32(b, 4, 2);
        std::memcpy(b.data() + 32, "DBWINUS0", 8);
        for (int i = 0; i < fields.size(); ++i) {
            char *d = b.data() + 68 + 48 * i;
            std::memcpy(d, fields[i].name, std::strlen(fields[i].name));
            d[32] = fields[i].type;
            d[33] = char(fields[i].length);
        }
        b[68 + 48 * int(fields.size())] = 0x0D;
        std::memcpy(b.data() + headerLength - properties.size(), properties.constData(), 4);
        // -5: 0x7FFFFFFB big-endian; 7: 0x80000007; 1.5: 0x3FF8.. with the sign bit set;
        // -1.5: all bits of 0xBFF8.. inverted.
        b += QByteArray(" \x7F\xFF\xFF\xFB\x80\x00\x00\x07\xBF\xF8\x00\x00\x00\x00\x00\x00", 17) +
             QByteArray(8, '\0') + "ABCDEF";
        b += QByteArray(" \x80\x00\x00\x00\x80\x00\x00\x08\x40\x07\xFF\xFF\xFF\xFF\xFF\xFF", 17) +
             QByteArray(8, '\0') + "      ";
        b += char(0x1A);
        writeFile(m_folder + "/L7.DBF", b);
        Table t(*m_db);
        t.setTableName("L7");
        t.open();
        QCOMPARE(t.fieldNames().first(), QStringLiteral("ID"));
        QCOMPARE(t.fieldDefs().last().name, QStringLiteral("DESCRIZIONE_LUNGA"));
        QCOMPARE(t.asInteger("ID"), -5);
        QCOMPARE(t.asInteger("AUTO"), 7);
        QCOMPARE(t.asFloat("VALORE"), 1.5);
        QVERIFY(t.isNull("ORA"));
        QCOMPARE(t.asString("DESCRIZIONE_LUNGA"), QStringLiteral("ABCDEF"));
        t.next();
        QCOMPARE(t.asInteger("ID"), 0);
        QCOMPARE(t.asFloat("VALORE"), -1.5);
        // Writing keeps the level-7 encoding.
        t.edit();
        t.setInteger("ID", -5);
        t.setFloat("VALORE", 1.5);
        t.post();
        t.close();
        QFile f(m_folder + "/L7.DBF");
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray after = f.readAll();
        QCOMPARE(after.mid(headerLength + recordLength + 1, 4), b.mid(headerLength + 1, 4));
        f.close();

        // Autoincrement: the table numbers new records past the highest number stored,
        // even when the header's counter lags, and keeps the counter through a pack.
        auto appendOne = [&](Table &table) {
            table.append();
            table.setString("DESCRIZIONE_LUNGA", "NUOVO");
            table.setInteger("AUTO", 1234); // the table's to fill, not the caller's
            table.post();
            return table.asInteger("AUTO");
        };
        t.open();
        QCOMPARE(appendOne(t), 9);
        QCOMPARE(appendOne(t), 10);
        t.close();
        auto counter = [&]() {
            QFile file(m_folder + "/L7.DBF");
            file.open(QIODevice::ReadOnly);
            const QByteArray bytes = file.readAll();
            return qFromLittleEndian<quint32>(bytes.constData() + 68 + 48 + 40);
        };
        QCOMPARE(counter(), 11u);
        t.open();
        t.last();
        t.remove();
        t.close();
        m_db->packTable("L7.DBF");
        QCOMPARE(counter(), 11u);
        t.open();
        QCOMPARE(appendOne(t), 11);
        QCOMPARE(t.recordCount(), 4);
        QCOMPARE(after.mid(headerLength + recordLength + 9, 8), b.mid(headerLength + 9, 8));
        QCOMPARE(after.mid(headerLength - 4, 4), properties);
    }

    void dbase3MemoLayout() {
        writeFile(m_folder + "/M3.DBF",
                  level3Table(0x83, 0x57, {{"NOTE", 'M', 10, 0}}, {" 1         ", "           "}));
        QByteArray dbt(1024, '\0');
        put32(dbt, 0, 2);
        std::memcpy(dbt.data() + 512, "riga uno\r\nriga due\x1A\x1A", 20);
        writeFile(m_folder + "/M3.DBT", dbt);
        Table t(*m_db);
        t.setTableName("M3");
        t.open();
        QCOMPARE(t.asString("NOTE"), QStringLiteral("riga uno\r\nriga due"));
        t.next();
        t.edit();
        t.setString("NOTE", QStringLiteral("nuovo"));
        t.post();
        QCOMPARE(t.asString("NOTE"), QStringLiteral("nuovo"));
        t.first();
        QCOMPARE(t.asString("NOTE"), QStringLiteral("riga uno\r\nriga due"));
        // A dBASE III memo file cannot hold binary data safely: refused, not corrupted.
        t.edit();
        t.setBlob("NOTE", QByteArray("a\x1A\x1A"
                                     "b"));
        QVERIFY_THROWS_EXCEPTION(Error, t.post());
    }

    void headerCountIsRepairedFromTheFileSize() {
        m_db->createTable("R.DBF", {FieldDef::text("A", 3)});
        {
            Table t(*m_db);
            t.setTableName("R");
            t.open();
            for (const char *v : {"uno", "due", "tre"}) {
                t.append();
                t.setString("A", v);
                t.post();
            }
        }
        m_db->close();
        const QString path = m_folder + "/R.DBF";
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        // Count lagging behind (crash before the header write) and a torn last record.
        put32(bytes, 4, 1);
        bytes.chop(1);
        bytes += " qu";
        f.seek(0);
        f.write(bytes);
        f.close();
        QCOMPARE(TableChecker::check(FileSystem::local(), path).size(), 2);
        m_db->open(m_folder);
        Table t(*m_db);
        t.setTableName("R");
        t.open();
        QCOMPARE(t.recordCount(), 3);
        t.last();
        QCOMPARE(t.asString("A"), QStringLiteral("tre"));
        t.close();
        QVERIFY(TableChecker::check(FileSystem::local(), path).isEmpty());
        // A count ahead of the records.
        QVERIFY(f.open(QIODevice::ReadWrite));
        bytes = f.readAll();
        put32(bytes, 4, 99);
        f.seek(0);
        f.write(bytes);
        f.close();
        t.open();
        QCOMPARE(t.recordCount(), 3);
        t.append();
        t.setString("A", "qua");
        t.post();
        QCOMPARE(t.recordNumber(), 4u);
    }

    void createdTablesAreDbaseIvWithProductionIndex() {
        m_db->createTable("NEW.DBF", {FieldDef::text("A", 3), FieldDef::memo("M")}, {"A"});
        QFile f(m_folder + "/NEW.DBF");
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray b = f.readAll();
        QCOMPARE(quint8(b[0]), quint8(0x8B));
        QCOMPARE(quint8(b[28]), quint8(1));
        QCOMPARE(quint8(b[29]), quint8(0x57));
        QCOMPARE(quint8(b[32 + 31]), quint8(1)); // A is tagged
        QCOMPARE(quint8(b[64 + 31]), quint8(0));
        QCOMPARE(b[32 + 64], char(0x0D));
        QCOMPARE(b.back(), char(0x1A));
        QVERIFY(QFile::exists(m_folder + "/NEW.DBT"));
        QVERIFY(QFile::exists(m_folder + "/NEW.MDX"));
        QVERIFY_THROWS_EXCEPTION(Error, m_db->createTable("new.dbf", {FieldDef::text("A", 3)}));
        QVERIFY_THROWS_EXCEPTION(Error, m_db->createTable("BAD.DBF", {FieldDef::number("N", 30)}));
        QVERIFY_THROWS_EXCEPTION(Error,
                                 m_db->createTable("BAD.DBF", {FieldDef::text("A", 3)}, {"B"}));
    }

    void numberKeysPackAsThePublishedExamples() {
        auto packed = [](double v) {
            char key[12];
            FieldCodec::packDecimal(v, key);
            return QByteArray(key, 12).toHex(' ');
        };
        QCOMPARE(packed(123.45), QByteArray("37 15 12 34 50 00 00 00 00 00 00 00"));
        QCOMPARE(packed(-7), QByteArray("35 85 70 00 00 00 00 00 00 00 00 00"));
        QCOMPARE(packed(0.05), QByteArray("33 05 50 00 00 00 00 00 00 00 00 00"));
        QCOMPARE(packed(1000), QByteArray("38 05 10 00 00 00 00 00 00 00 00 00"));
        QCOMPARE(packed(0), QByteArray("34 01 00 00 00 00 00 00 00 00 00 00"));
        for (double v : {123.45, -7.0, 0.05, 1000.0, 0.3, -0.001, 123456789012.0, 99.99})
            QCOMPARE(FieldCodec::unpackDecimal(
                         QByteArray::fromHex(packed(v).replace(' ', "")).constData()),
                     v);
        QCOMPARE(FieldCodec::julianDay(QDate(1981, 1, 1)), 2444606.0);
    }
};

QTEST_GUILESS_MAIN(DbfFileTest)
#include "tst_dbffile.moc"

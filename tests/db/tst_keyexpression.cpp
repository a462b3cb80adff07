#include "db/Database.h"
#include "db/Error.h"
#include "db/FileSystem.h"
#include "db/KeyExpression.h"
#include "db/Table.h"
#include "db/TableChecker.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace corvale::db;

// Tags keyed on expressions: parsed, kept up to date, written to and read from the MDX.
class KeyExpressionTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;

    static FieldList historyFields() {
        return {FieldDef::text("CLIENTE", 50),
                FieldDef::text("TD", 1),
                FieldDef::text("NUMERO", 10),
                FieldDef::text("MYDATA", 8),
                FieldDef::number("QUANTITA", 12, 3),
                FieldDef::date("DATAREG"),
                FieldDef::memo("NOTE")};
    }

    static void addLine(Table &t, const QString &customer, const QString &dateKey, double quantity,
                        const QDate &date = {}) {
        t.append();
        t.setString("CLIENTE", customer);
        t.setString("MYDATA", dateKey);
        t.setFloat("QUANTITA", quantity);
        if (date.isValid())
            t.setDate("DATAREG", date);
        t.post();
    }

    static QStringList walk(Table &t) {
        QStringList rows;
        for (t.first(); !t.eof(); t.next())
            rows << t.asString("CLIENTE").trimmed() + QLatin1Char('/') + t.asString("MYDATA");
        return rows;
    }

    QString folder() const { return m_db->path(); }

private slots:
    void init() {
        const QString folder =
            m_dir.path() + QLatin1Char('/') + QString::fromLatin1(QTest::currentTestFunction());
        QDir().mkpath(folder);
        m_db = std::make_unique<Database>();
        m_db->open(folder);
    }
    void cleanup() { m_db.reset(); }

    void expressionsAreParsedOrRefusedWithAReason() {
        FieldList fields = historyFields();
        int offset = 1;
        for (FieldDef &f : fields)
            f.offset = offset, offset += f.length;
        const KeyExpression single = KeyExpression::parse(" quantita ", fields, "T.DBF");
        QVERIFY(single.isSingleField());
        QCOMPARE(single.fieldIndex(), 4);
        const KeyExpression pieces =
            KeyExpression::parse("cliente + DTOS(dataReg) + STR(QUANTITA,8,1)", fields, "T.DBF");
        QVERIFY(!pieces.isSingleField());
        QCOMPARE(pieces.text(), QStringLiteral("CLIENTE+DTOS(DATAREG)+STR(QUANTITA,8,1)"));
        QCOMPARE(pieces.length(), 50 + 8 + 8);

        QByteArray record(offset, ' ');
        record.replace(1, 5, "rossi");
        record.replace(fields[5].offset, 8, "20261209");
        record.replace(fields[4].offset, 12, QByteArray("-3.250").rightJustified(12, ' '));
        QByteArray key(pieces.length(), '\0');
        pieces.write(record.constData(), key.data());
        QCOMPARE(key, QByteArray("rossi").leftJustified(50, ' ') + "20261209" + "    -3.3");
        const KeyExpression upper = KeyExpression::parse("UPPER(CLIENTE)", fields, "T.DBF");
        record.replace(1, 6, "n\xe8ve ");
        QByteArray upperKey(50, '\0');
        upper.write(record.constData(), upperKey.data());
        QCOMPARE(upperKey.left(5), QByteArray("N\xc8VE "));
        // A number too wide for its piece shows as asterisks, as dBASE shows it.
        record.replace(fields[4].offset, 12, QByteArray("123456.000").rightJustified(12, ' '));
        const KeyExpression narrow = KeyExpression::parse("STR(QUANTITA,4)", fields, "T.DBF");
        QByteArray narrowKey(4, '\0');
        narrow.write(record.constData(), narrowKey.data());
        QCOMPARE(narrowKey, QByteArray("****"));

        const QList<std::pair<QString, QString>> refused = {
            {"", "espressione vuota"},
            {"CLIENTE+ALTRO", "campo ALTRO inesistente"},
            {"NOTE", "il campo memo NOTE"},
            {"CLIENTE+DATAREG", "va convertito in testo"},
            {"DTOS(CLIENTE)", "DTOS vuole un campo data"},
            {"STR(CLIENTE)", "STR vuole un campo numerico"},
            {"STR(QUANTITA,30)", "larghezza di STR"},
            {"LEFT(CLIENTE,3)", "non è un campo né una funzione"},
            {"CLIENTE+CLIENTE+TD", "chiave di 101 caratteri"},
        };
        for (const auto &[text, reason] : refused) {
            try {
                KeyExpression::parse(text, fields, "T.DBF");
                QFAIL(qPrintable(QStringLiteral("accepted: ") + text));
            } catch (const Error &error) {
                QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
                QVERIFY(error.message().contains(QStringLiteral("T.DBF")));
            }
        }
    }

    // The history list: by customer, then by date within a customer, through appends,
    // edits, reopening from the MDX, a pack and an added column.
    void aTagOnTwoColumnsOrdersByBothAndSurvivesMaintenance() {
        m_db->createTableWithTags("TABLE5.DBF", historyFields(),
                                  {{"CLIDATA", "CLIENTE+MYDATA"}, {"QUANTITA", "QUANTITA"}});
        {
            Table t(*m_db);
            t.setTableName("TABLE5");
            t.setIndexName("CLIDATA");
            t.open();
            QCOMPARE(t.indexNames(), QStringList({"CLIDATA", "QUANTITA"}));
            addLine(t, "VENDITA AL BANCO", "20260301", 1);
            addLine(t, "BIANCHI", "20261101", 2);
            addLine(t, "VENDITA AL BANCO", "20250105", 3);
            addLine(t, "BIANCHI", "20240210", 4);
            addLine(t, "ALFA SRL", "20261231", 5);
            const QStringList expected = {"ALFA SRL/20261231", "BIANCHI/20240210",
                                          "BIANCHI/20261101", "VENDITA AL BANCO/20250105",
                                          "VENDITA AL BANCO/20260301"};
            QCOMPARE(walk(t), expected);
            // A partial key finds the first line of a customer.
            t.findNearest(QStringLiteral("BIANCHI"));
            QCOMPARE(t.asString("MYDATA"), QStringLiteral("20240210"));
            // Editing either piece moves the line.
            t.findNearest(QStringLiteral("VENDITA AL BANCO"));
            t.edit();
            t.setString("CLIENTE", "AAA");
            t.post();
            QCOMPARE(walk(t).first(), QStringLiteral("AAA/20250105"));
            t.last();
            t.remove();
        }
        m_db->close();
        QCOMPARE(TableChecker::check(FileSystem::local(), folder() + "/TABLE5.DBF"), QStringList());

        // The MDX says what a dBASE reader needs: an expression tag, key format 0x00.
        {
            QFile mdx(folder() + "/TABLE5.MDX");
            QVERIFY(mdx.open(QIODevice::ReadOnly));
            const QByteArray bytes = mdx.readAll();
            QCOMPARE(bytes.mid(544 + 4, 7), QByteArray("CLIDATA"));
            QCOMPARE(int(bytes[544 + 15]), 0x00);
            QCOMPARE(int(bytes[544 + 32 + 15]), 0x10);
            const int header = int(qFromLittleEndian<quint32>(bytes.constData() + 544)) * 512;
            QCOMPARE(bytes.mid(header + 24, 15), QByteArray("CLIENTE+MYDATA\0", 15));
            QCOMPARE(bytes[header + 9], 'C');
            QCOMPARE(int(qFromLittleEndian<quint16>(bytes.constData() + header + 12)), 58);
            QCOMPARE(int(bytes[header + 8]) & 0x10, 0);
        }

        m_db->open(folder());
        m_db->packTable("TABLE5.DBF");
        m_db->executeSql("ALTER TABLE \"table5.dbf\" ADD EXTRA CHARACTER(5)");
        {
            Table t(*m_db);
            t.setTableName("TABLE5");
            t.setIndexName("CLIDATA");
            t.open();
            QCOMPARE(walk(t), QStringList({"AAA/20250105", "ALFA SRL/20261231", "BIANCHI/20240210",
                                           "BIANCHI/20261101"}));
        }
        m_db->close();
        QCOMPARE(TableChecker::check(FileSystem::local(), folder() + "/TABLE5.DBF"), QStringList());
        // Read back from the file, not rebuilt: a stale key would show here.
        m_db->open(folder());
        Table t(*m_db);
        t.setTableName("TABLE5");
        t.setIndexName("CLIDATA");
        t.open();
        QVERIFY(t.findKey(QStringLiteral("BIANCHI").leftJustified(50, ' ') + "20261101"));
        QCOMPARE(t.asFloat("QUANTITA"), 2.0);
    }

    void dateAndNumberPiecesOrderAsText() {
        m_db->createTableWithTags("MOV.DBF", historyFields(),
                                  {{"BYDATE", "TD+DTOS(DATAREG)"}, {"BYQTY", "STR(QUANTITA,6,1)"}});
        Table t(*m_db);
        t.setTableName("MOV");
        t.open();
        addLine(t, "C", "", 12.5, QDate(2026, 2, 1));
        addLine(t, "A", "", 3, QDate(2025, 12, 31));
        addLine(t, "B", "", 100, QDate(2026, 1, 15));
        t.setIndexName("BYDATE");
        QStringList byDate;
        for (t.first(); !t.eof(); t.next())
            byDate << t.asString("CLIENTE").trimmed();
        QCOMPARE(byDate, QStringList({"A", "B", "C"}));
        t.setIndexName("BYQTY");
        QStringList byQuantity;
        for (t.first(); !t.eof(); t.next())
            byQuantity << t.asString("CLIENTE").trimmed();
        QCOMPARE(byQuantity, QStringList({"A", "C", "B"}));
    }

    void aBadTagIsRefusedBeforeAnyFileIsWritten() {
        QVERIFY_THROWS_EXCEPTION(
            Error, m_db->createTableWithTags("BAD.DBF", historyFields(), {{"X", "CLIENTE+NOTE"}}));
        QVERIFY_THROWS_EXCEPTION(Error, m_db->createTableWithTags("BAD.DBF", historyFields(),
                                                                  {{"X", "TD"}, {"x", "NUMERO"}}));
        QVERIFY(!m_db->tableExists("BAD.DBF"));
        QVERIFY(!QFile::exists(folder() + "/BAD.MDX"));
    }

    void createIndexReplacesAnExpressionTagOfTheSameName() {
        m_db->createTableWithTags("T.DBF", historyFields(), {{"CLIDATA", "CLIENTE+MYDATA"}});
        {
            Table t(*m_db);
            t.setTableName("T");
            t.open();
            addLine(t, "B", "20260101", 1);
            addLine(t, "A", "20260202", 2);
            addLine(t, "A", "20250101", 3);
        }
        m_db->executeSql("CREATE INDEX CLIDATA ON \"T.DBF\" (MYDATA)");
        {
            Table t(*m_db);
            t.setTableName("T");
            t.setIndexName("CLIDATA");
            t.open();
            QCOMPARE(t.indexNames(), QStringList({"CLIDATA"}));
            QCOMPARE(walk(t), QStringList({"A/20250101", "B/20260101", "A/20260202"}));
        }
        // And back, for a folder made before the tag had its expression.
        m_db->addTag("t.dbf", {"clidata", "cliente + mydata"});
        m_db->addTag("T.DBF", {"CLIDATA", "CLIENTE+MYDATA"}); // already there: nothing to do
        Table t(*m_db);
        t.setTableName("T");
        t.setIndexName("CLIDATA");
        t.open();
        QCOMPARE(walk(t), QStringList({"A/20250101", "A/20260202", "B/20260101"}));
        // A detail follows its master through a tag on the link column alone.
        Table master(*m_db);
        master.setTableName("T");
        master.open();
        QVERIFY_THROWS_EXCEPTION(Error, t.setMasterSource(&master, "CLIENTE"));
    }
};

QTEST_GUILESS_MAIN(KeyExpressionTest)
#include "tst_keyexpression.moc"

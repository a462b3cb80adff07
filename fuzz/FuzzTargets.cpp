#include "FuzzTargets.h"

#include "MemoryFileSystem.h"

#include "db/Database.h"
#include "db/DbfFile.h"
#include "db/Error.h"
#include "db/KeyExpression.h"
#include "db/SqlStatement.h"
#include "db/Table.h"
#include "db/TableChecker.h"

namespace corvale::db::fuzz {

namespace {

const QString folder = QStringLiteral("/m");

// Reads everything a window could read: every field of every record in record order and
// in the order of every tag.
void readAll(Database &db, const QString &name) {
    Table t(db);
    t.setTableName(name);
    t.setShowDeleted(true);
    t.open();
    int guard = 0;
    const QStringList fields = t.fieldNames();
    for (t.first(); !t.eof() && guard < 2000; t.next(), ++guard) {
        for (const QString &field : fields) {
            try {
                t.asString(field);
                t.asFloat(field);
                t.isNull(field);
                t.asBlob(field);
            } catch (const Error &) {
            }
        }
    }
    for (const QString &tag : t.indexNames()) {
        t.setIndexName(tag);
        guard = 0;
        for (t.last(); !t.bof() && guard < 2000; t.prior(), ++guard) {
        }
    }
}

// A fixed, valid table with a memo column and a tag, as raw bytes.
QByteArray smallTable(bool memo) {
    FieldList fields = {FieldDef::number("N", 5), FieldDef::text("A", 6)};
    if (memo)
        fields << FieldDef::memo("M");
    fields[0].tagged = true;
    QByteArray bytes = DbfFile::buildHeader(fields, memo ? 0x8B : 0x03, 0x57, true, 4);
    const char *rows[] = {"    3ROSSO          1", "    1BLU            2", "   -2VERDE          3",
                          "   10ROSA           4"};
    for (const char *row : rows)
        bytes += ' ' + QByteArray(row).left(memo ? 21 : 11);
    bytes += char(0x1A);
    return bytes;
}

} // namespace

void fuzzDbf(const uint8_t *data, size_t size) {
    MemoryFileSystem fs;
    fs.put(folder + "/T.DBF", QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    try {
        TableChecker::check(fs, folder + "/T.DBF");
        Database db(fs);
        db.open(folder);
        readAll(db, "T.DBF");
    } catch (const Error &) {
    }
}

void fuzzDbt(const uint8_t *data, size_t size) {
    MemoryFileSystem fs;
    fs.put(folder + "/T.DBF", smallTable(true));
    fs.put(folder + "/T.DBT", QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    try {
        TableChecker::check(fs, folder + "/T.DBF");
        Database db(fs);
        db.open(folder);
        readAll(db, "T.DBF");
        Table t(db);
        t.setTableName("T");
        t.open();
        t.edit();
        t.setBlob("M", QByteArray("nuovo valore"));
        t.post();
        if (t.asBlob("M") != QByteArray("nuovo valore"))
            __builtin_trap();
    } catch (const Error &) {
    }
}

void fuzzMdx(const uint8_t *data, size_t size) {
    MemoryFileSystem fs;
    fs.put(folder + "/T.DBF", smallTable(false));
    fs.put(folder + "/T.MDX", QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    try {
        TableChecker::check(fs, folder + "/T.DBF");
        Database db(fs);
        db.open(folder);
        Table t(db);
        t.setTableName("T");
        t.setIndexName("N");
        t.open();
        // Whatever the index held, the order must be the table's.
        QStringList order;
        for (t.first(); !t.eof(); t.next())
            order << t.asString("N");
        if (order != QStringList({"-2", "1", "3", "10"}))
            __builtin_trap();
    } catch (const Error &) {
    }
}

void fuzzFilter(const uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        SqlStatement::parse(text);
    } catch (const Error &) {
    }
    // The same text as an index key expression.
    try {
        FieldList fields = {FieldDef::text("A", 5), FieldDef::number("N", 6, 2),
                            FieldDef::date("D"), FieldDef::logical("L")};
        int offset = 1;
        for (FieldDef &field : fields)
            field.offset = offset, offset += field.length;
        const KeyExpression key = KeyExpression::parse(text, fields, "T.DBF");
        if (!key.isSingleField()) {
            const QByteArray record = QByteArray(" abcde-12.50") + "20261209" + "T";
            QByteArray out(key.length(), '\0');
            key.write(record.constData(), out.data());
        }
    } catch (const Error &) {
    }
    MemoryFileSystem fs;
    fs.put(folder + "/T.DBF", smallTable(false));
    try {
        Database db(fs);
        db.open(folder);
        Table t(db);
        t.setTableName("T");
        t.open();
        t.setFilter(text);
        t.setFiltered(true);
        for (t.first(); !t.eof(); t.next())
            t.asString("A");
    } catch (const Error &) {
    }
}

} // namespace corvale::db::fuzz

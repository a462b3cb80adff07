#include "DbfTool.h"

#include "Csv.h"

#include "db/Database.h"
#include "db/Error.h"
#include "db/FieldDef.h"
#include "db/Table.h"
#include "db/TableChecker.h"
#include "platform/Cp1252.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <stdexcept>

using namespace corvale;

namespace {

struct Location {
    QString folder;
    QString name;
};

Location locate(const QString &file) {
    const QFileInfo info(file);
    return {info.absolutePath(), info.fileName()};
}

bool isText(const QByteArray &bytes) {
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t' && c != '\r' && c != '\n')
            return false;
    }
    return true;
}

QString cellText(db::Table &table, const db::FieldDef &field) {
    if (table.isNull(field.name))
        return {};
    switch (field.type) {
    case 'N':
    case 'F':
        return QString::fromLatin1(table.asBlob(field.name).trimmed());
    case 'L':
        return table.asBool(field.name) ? QStringLiteral("T") : QStringLiteral("F");
    case 'D':
        return table.asDate(field.name).toString(QStringLiteral("yyyy-MM-dd"));
    case 'M':
    case 'B':
    case 'G': {
        const QByteArray bytes = table.asBlob(field.name);
        if (field.type == 'M' && isText(bytes))
            return Cp1252::decode(bytes);
        return QStringLiteral("blob:") + QString::fromLatin1(bytes.toBase64());
    }
    default:
        return table.asString(field.name);
    }
}

void setCell(db::Table &table, const db::FieldDef &field, const QString &text) {
    if (text.isEmpty()) {
        table.setNull(field.name);
        return;
    }
    switch (field.type) {
    case 'D': {
        const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
        if (!date.isValid())
            throw db::Error(
                QStringLiteral("Data non valida \"%1\" per il campo %2").arg(text, field.name));
        table.setDate(field.name, date);
        return;
    }
    case 'M':
    case 'B':
    case 'G':
        if (text.startsWith(QStringLiteral("blob:")))
            table.setBlob(field.name, QByteArray::fromBase64(text.mid(5).toLatin1()));
        else
            table.setBlob(field.name, Cp1252::encode(text));
        return;
    default:
        table.setString(field.name, text);
        return;
    }
}

QString versionText(uint8_t version) {
    QString kind;
    switch (version & 0x07) {
    case 3:
        kind = (version & 0x08)   ? QStringLiteral("dBASE IV/5 con memo")
               : (version & 0x80) ? QStringLiteral("dBASE III con memo")
                                  : QStringLiteral("dBASE III/IV/5");
        break;
    case 4:
        kind = QStringLiteral("dBASE 7");
        break;
    default:
        kind = QStringLiteral("sconosciuta");
    }
    return QStringLiteral("0x%1 (%2)").arg(version, 2, 16, QLatin1Char('0')).arg(kind);
}

void dumpTable(db::Table &table, bool withDeleted,
               const std::function<void(const QByteArray &)> &write) {
    const db::FieldList fields = table.fieldDefs();
    QStringList header;
    if (withDeleted)
        header << QStringLiteral("_DELETED");
    for (const db::FieldDef &field : fields)
        header << field.name;
    write(Csv::line(header));
    for (table.first(); !table.eof(); table.next()) {
        QStringList row;
        if (withDeleted)
            row << (table.isDeleted() ? QStringLiteral("T") : QStringLiteral("F"));
        for (const db::FieldDef &field : fields)
            row << cellText(table, field);
        write(Csv::line(row));
        if (table.recordNumber() == 0)
            break;
    }
}

} // namespace

DbfTool::DbfTool(FILE *out, FILE *err, FILE *in)
    : m_out(out)
    , m_err(err)
    , m_in(in) {}

void DbfTool::print(const QString &text) {
    write(text.toUtf8() + '\n');
}

void DbfTool::write(const QByteArray &bytes) {
    fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
}

int DbfTool::usage() {
    const char *text =
        "Uso:\n"
        "  corvale-dbf info FILE\n"
        "  corvale-dbf dump FILE [--tag TAG] [--filter TESTO] [--range BASSO ALTO] [--deleted]\n"
        "  corvale-dbf create FILE NOME:TIPO:LUNG[:DEC] ... [--tag CAMPO|NOME=ESPRESSIONE ...]\n"
        "  corvale-dbf append FILE < righe.csv\n"
        "  corvale-dbf check FILE\n"
        "  corvale-dbf reindex FILE\n"
        "  corvale-dbf pack FILE\n"
        "  corvale-dbf sql CARTELLA \"ISTRUZIONE\" [PARAMETRO=VALORE ...]\n";
    fputs(text, m_err);
    return 1;
}

int DbfTool::run(const QStringList &arguments) {
    if (arguments.isEmpty())
        return usage();
    const QString command = arguments.first();
    const QStringList args = arguments.mid(1);
    try {
        if (command == QLatin1String("info"))
            return info(args);
        if (command == QLatin1String("dump"))
            return dump(args);
        if (command == QLatin1String("create"))
            return create(args);
        if (command == QLatin1String("append"))
            return append(args);
        if (command == QLatin1String("check"))
            return check(args);
        if (command == QLatin1String("reindex"))
            return reindex(args);
        if (command == QLatin1String("pack"))
            return pack(args);
        if (command == QLatin1String("sql"))
            return sql(args);
    } catch (const db::Error &error) {
        fprintf(m_err, "%s\n", error.message().toUtf8().constData());
        return 1;
    } catch (const std::exception &error) {
        fprintf(m_err, "Errore: %s\n", error.what());
        return 1;
    }
    return usage();
}

int DbfTool::info(const QStringList &args) {
    if (args.size() != 1)
        return usage();
    const Location where = locate(args[0]);
    db::Database database;
    database.open(where.folder);
    db::Table table(database);
    table.setTableName(where.name);
    table.open();
    print(QStringLiteral("File: %1").arg(table.fileName()));
    print(QStringLiteral("Versione: %1").arg(versionText(table.versionByte())));
    print(QStringLiteral("Driver di lingua: 0x%1")
              .arg(table.languageDriver(), 2, 16, QLatin1Char('0')));
    print(QStringLiteral("Record: %1").arg(table.physicalRecordCount()));
    print(QStringLiteral("Campi:"));
    for (const db::FieldDef &field : table.fieldDefs())
        print(QStringLiteral("%1 %2 %3 %4")
                  .arg(field.name, QString(QChar::fromLatin1(field.type)))
                  .arg(field.length)
                  .arg(field.decimals));
    print(QStringLiteral("Indici: %1").arg(table.indexNames().join(QLatin1Char(' '))));
    return 0;
}

int DbfTool::dump(const QStringList &args) {
    if (args.isEmpty())
        return usage();
    QString tag, filter;
    QString low, high;
    bool range = false, deleted = false;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--tag") && i + 1 < args.size()) {
            tag = args[++i];
        } else if (args[i] == QLatin1String("--filter") && i + 1 < args.size()) {
            filter = args[++i];
        } else if (args[i] == QLatin1String("--range") && i + 2 < args.size()) {
            low = args[++i];
            high = args[++i];
            range = true;
        } else if (args[i] == QLatin1String("--deleted")) {
            deleted = true;
        } else {
            return usage();
        }
    }
    if (range && tag.isEmpty())
        throw db::Error(QStringLiteral("--range richiede --tag"));
    const Location where = locate(args[0]);
    db::Database database;
    database.open(where.folder);
    db::Table table(database);
    table.setTableName(where.name);
    table.setIndexName(tag);
    table.open();
    table.setShowDeleted(deleted);
    if (!filter.isEmpty()) {
        table.setFilter(filter);
        table.setFiltered(true);
    }
    if (range)
        table.setRange(low, high);
    dumpTable(table, deleted, [this](const QByteArray &bytes) { write(bytes); });
    return 0;
}

int DbfTool::create(const QStringList &args) {
    if (args.size() < 2)
        return usage();
    const Location where = locate(args[0]);
    db::FieldList fields;
    QList<db::TagDefinition> tags;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--tag") && i + 1 < args.size()) {
            // CAMPO, or NOME=ESPRESSIONE for a tag on an expression.
            const QString tag = args[++i];
            const qsizetype equals = tag.indexOf(QLatin1Char('='));
            tags << (equals < 0 ? db::TagDefinition{tag.toUpper().left(10), tag}
                                : db::TagDefinition{tag.left(equals), tag.mid(equals + 1)});
            continue;
        }
        const QStringList parts = args[i].split(QLatin1Char(':'));
        if (parts.size() < 2 || parts.size() > 4 || parts[1].size() != 1)
            throw db::Error(
                QStringLiteral("Campo non valido \"%1\": usare NOME:TIPO:LUNG[:DEC]").arg(args[i]));
        db::FieldDef field;
        field.name = parts[0].toUpper();
        field.type = parts[1].toUpper().at(0).toLatin1();
        field.length = parts.size() > 2 ? parts[2].toInt() : 0;
        field.decimals = parts.size() > 3 ? parts[3].toInt() : 0;
        fields << field;
    }
    db::Database database;
    database.open(where.folder);
    database.createTableWithTags(where.name, fields, tags);
    return 0;
}

int DbfTool::append(const QStringList &args) {
    if (args.size() != 1)
        return usage();
    QByteArray input;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, m_in)) > 0)
        input.append(buffer, qsizetype(n));
    const QList<QStringList> rows = Csv::parse(input);
    if (rows.isEmpty())
        return 0;
    const Location where = locate(args[0]);
    db::Database database;
    database.open(where.folder);
    db::Table table(database);
    table.setTableName(where.name);
    table.open();
    QList<db::FieldDef> columns;
    for (const QString &name : rows.first()) {
        const int index = [&]() {
            for (int i = 0; i < table.fieldDefs().size(); ++i)
                if (table.fieldDefs()[i].name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
                    return i;
            return -1;
        }();
        if (index < 0)
            throw db::Error(QStringLiteral("Campo %1 non trovato nella tabella %2")
                                .arg(name, table.fileName()));
        columns << table.fieldDefs()[index];
    }
    for (int r = 1; r < rows.size(); ++r) {
        const QStringList &row = rows[r];
        if (row.size() != columns.size())
            throw db::Error(QStringLiteral("Riga %1 del CSV: %2 valori invece di %3")
                                .arg(r + 1)
                                .arg(row.size())
                                .arg(columns.size()));
        table.append();
        try {
            for (int c = 0; c < columns.size(); ++c)
                setCell(table, columns[c], row[c]);
        } catch (const db::Error &error) {
            table.cancel();
            throw db::Error(QStringLiteral("Riga %1 del CSV: %2").arg(r + 1).arg(error.message()));
        }
        table.post();
    }
    return 0;
}

int DbfTool::check(const QStringList &args) {
    if (args.size() != 1)
        return usage();
    const Location where = locate(args[0]);
    db::Database database;
    database.open(where.folder);
    const QString found = database.findFile(where.name);
    if (found.isEmpty())
        throw db::Error(QStringLiteral("La tabella %1 non esiste").arg(args[0]));
    const QStringList problems =
        db::TableChecker::check(database.fileSystem(), where.folder + QLatin1Char('/') + found);
    for (const QString &problem : problems)
        print(problem);
    if (problems.isEmpty()) {
        print(QStringLiteral("%1: nessun problema").arg(found));
        return 0;
    }
    return 1;
}

int DbfTool::reindex(const QStringList &args) {
    if (args.size() != 1)
        return usage();
    const Location where = locate(args[0]);
    db::Database database;
    database.open(where.folder);
    db::Table table(database);
    table.setTableName(where.name);
    table.setExclusive(true);
    table.open();
    table.reindex();
    return 0;
}

int DbfTool::pack(const QStringList &args) {
    if (args.size() != 1)
        return usage();
    const Location where = locate(args[0]);
    db::Database database;
    database.open(where.folder);
    db::Table table(database);
    table.setTableName(where.name);
    table.setExclusive(true);
    table.open();
    table.pack();
    return 0;
}

int DbfTool::sql(const QStringList &args) {
    if (args.size() < 2)
        return usage();
    QVariantMap parameters;
    for (int i = 2; i < args.size(); ++i) {
        const int eq = int(args[i].indexOf(QLatin1Char('=')));
        if (eq <= 0)
            throw db::Error(
                QStringLiteral("Parametro non valido \"%1\": usare NOME=VALORE").arg(args[i]));
        QString name = args[i].left(eq);
        if (name.startsWith(QLatin1Char(':')))
            name = name.mid(1);
        parameters.insert(name, args[i].mid(eq + 1));
    }
    db::Database database;
    database.open(args[0]);
    std::unique_ptr<db::Table> result = database.executeSql(args[1], parameters);
    if (result)
        dumpTable(*result, false, [this](const QByteArray &bytes) { write(bytes); });
    return 0;
}

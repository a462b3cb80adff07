#include "db/Database.h"

#include "db/DbfFile.h"
#include "db/DbfFormat.h"
#include "db/Error.h"
#include "db/FilterExpression.h"
#include "db/IndexTag.h"
#include "db/KeyExpression.h"
#include "db/MdxFile.h"
#include "db/MemoFile.h"
#include "db/SqlStatement.h"
#include "db/Table.h"
#include "db/TableFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <optional>

namespace corvale::db {

Database::Database(FileSystem &fileSystem)
    : m_fs(fileSystem) {}

Database::~Database() {
    close();
    for (Table *handle : m_handles)
        handle->detachFromDatabase();
}

void Database::open(const QString &folder) {
    if (m_open)
        close();
    const QString path = QDir::cleanPath(folder);
    if (QFileInfo(path).isDir()) {
        // One running copy per data folder: a second one gets a clear message instead of
        // writing over the first one's changes.
        auto lock = std::make_unique<QLockFile>(path + QStringLiteral("/CORVALE.LCK"));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0)) {
            if (lock->error() == QLockFile::LockFailedError)
                throw Error(QStringLiteral("La cartella dei dati %1 è già in uso da un'altra copia "
                                           "del programma.")
                                .arg(QDir::toNativeSeparators(path)));
            throw Error(QStringLiteral("Impossibile usare la cartella dei dati %1.")
                            .arg(QDir::toNativeSeparators(path)));
        }
        m_lock = std::move(lock);
    } else if (&m_fs == &FileSystem::local()) {
        throw Error(QStringLiteral("La cartella dei dati %1 non esiste.")
                        .arg(QDir::toNativeSeparators(path)));
    }
    m_folder = path;
    m_open = true;
}

void Database::close() {
    const QList<Table *> handles = m_handles;
    for (Table *handle : handles) {
        try {
            handle->close();
        } catch (const Error &) {
        }
    }
    for (auto &entry : m_files) {
        try {
            entry.file->flush();
        } catch (const Error &) {
        }
        entry.file->setChangeListener({});
    }
    m_files.clear();
    if (m_syncTimer)
        m_syncTimer->stop();
    m_lock.reset();
    m_open = false;
}

QString Database::findFile(const QString &fileName) const {
    QString wanted = QFileInfo(fileName.trimmed()).fileName();
    if (wanted.isEmpty())
        return {};
    if (!wanted.contains(QLatin1Char('.')))
        wanted += QStringLiteral(".DBF");
    const QStringList entries = m_fs.entries(m_folder);
    for (const QString &entry : entries)
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return entry;
    return {};
}

QStringList Database::tableNames() const {
    QStringList names;
    for (const QString &entry : m_fs.entries(m_folder))
        if (entry.endsWith(QStringLiteral(".DBF"), Qt::CaseInsensitive))
            names << entry;
    return names;
}

QString Database::requireFile(const QString &fileName) const {
    if (!m_open)
        throw Error(QStringLiteral("Il database non è aperto (tabella %1)").arg(fileName));
    const QString found = findFile(fileName);
    if (found.isEmpty())
        throw Error(QStringLiteral("La tabella %1 non esiste nella cartella %2")
                        .arg(fileName, QDir::toNativeSeparators(m_folder)));
    return found;
}

void Database::registerHandle(Table *handle) {
    m_handles.append(handle);
}

void Database::unregisterHandle(Table *handle) {
    m_handles.removeAll(handle);
}

std::shared_ptr<TableFile> Database::attach(Table *handle, const QString &fileName,
                                            bool exclusive) {
    const QString found = requireFile(fileName);
    const QString key = found.toUpper();
    auto it = m_files.find(key);
    if (it != m_files.end() && !it->file->isUsable() && it->handles.isEmpty()) {
        m_files.erase(it);
        it = m_files.end();
    }
    if (it != m_files.end()) {
        if (it->exclusive || (exclusive && !it->handles.isEmpty()))
            throw Error(QStringLiteral("La tabella %1 è in uso").arg(found));
    } else {
        OpenFile entry;
        entry.file = makeFile(found);
        it = m_files.insert(key, entry);
    }
    it->handles.append(handle);
    it->exclusive = exclusive;
    return it->file;
}

void Database::detach(Table *handle) {
    for (auto it = m_files.begin(); it != m_files.end(); ++it) {
        if (!it->handles.removeAll(handle))
            continue;
        it->exclusive = false;
        // The table stays cached with its tags: windows open and close the same tables
        // all day, and reading or sorting a large index at every opening would cost more
        // than keeping it. The header count is brought up to date now; the index is
        // written when the database closes (or flush() is called).
        if (it->handles.isEmpty())
            it->file->flushHeader();
        return;
    }
}

void Database::flush() {
    for (auto &entry : m_files)
        entry.file->flush();
}

std::shared_ptr<TableFile> Database::exclusiveFile(const QString &fileName) {
    const QString found = requireFile(fileName);
    const QString key = found.toUpper();
    auto it = m_files.find(key);
    if (it != m_files.end()) {
        if (!it->handles.isEmpty())
            throw Error(QStringLiteral("La tabella %1 è in uso").arg(found));
        if (it->file->isUsable())
            return it->file;
        m_files.erase(it);
    }
    OpenFile entry;
    entry.file = makeFile(found);
    m_files.insert(key, entry);
    return entry.file;
}

std::shared_ptr<TableFile> Database::makeFile(const QString &found) {
    auto file = std::make_shared<TableFile>(m_fs, m_folder + QLatin1Char('/') + found);
    file->setChangeListener([this] { scheduleSync(); });
    return file;
}

void Database::scheduleSync() {
    // Without an event loop (tools, benchmarks) flush() and close() make changes durable.
    if (!QCoreApplication::instance())
        return;
    if (!m_syncTimer) {
        m_syncTimer = std::make_unique<QTimer>();
        m_syncTimer->setSingleShot(true);
        m_syncTimer->setInterval(0);
        QObject::connect(m_syncTimer.get(), &QTimer::timeout, m_syncTimer.get(), [this] {
            try {
                syncChanges();
            } catch (const Error &) {
                // Nobody to tell here: the table stays marked, and flush() tries again
                // and reports the failure to its caller.
            }
        });
    }
    if (!m_syncTimer->isActive())
        m_syncTimer->start();
}

void Database::syncChanges() {
    std::optional<Error> failure;
    for (auto &entry : m_files) {
        try {
            entry.file->syncData();
        } catch (const Error &error) {
            if (!failure)
                failure = error;
        }
    }
    if (failure)
        throw *failure;
}

void Database::createTable(const QString &fileName, const FieldList &fields,
                           const QStringList &tagFields) {
    QList<TagDefinition> tags;
    for (const QString &column : tagFields)
        tags << TagDefinition{column.trimmed().toUpper().left(10), column.trimmed()};
    createTableWithTags(fileName, fields, tags);
}

void Database::createTableWithTags(const QString &fileName, const FieldList &fields,
                                   const QList<TagDefinition> &tags) {
    if (!m_open)
        throw Error(QStringLiteral("Il database non è aperto (tabella %1)").arg(fileName));
    QString name = QFileInfo(fileName.trimmed()).fileName();
    if (!name.contains(QLatin1Char('.')))
        name += QStringLiteral(".DBF");
    if (!findFile(name).isEmpty())
        throw Error(QStringLiteral("La tabella %1 esiste già").arg(name));
    if (fields.isEmpty() || fields.size() > dbf::maxFields)
        throw Error(QStringLiteral("Numero di campi non valido per la tabella %1").arg(name));
    FieldList defs = fields;
    bool memo = false;
    for (int i = 0; i < defs.size(); ++i) {
        FieldDef &field = defs[i];
        field.name = field.name.trimmed().toUpper();
        if (field.name.isEmpty() || field.name.size() > 10)
            throw Error(QStringLiteral("Nome di campo non valido \"%1\" nella tabella %2")
                            .arg(field.name, name));
        for (int j = 0; j < i; ++j)
            if (defs[j].name == field.name)
                throw Error(QStringLiteral("Il campo %1 è ripetuto nella tabella %2")
                                .arg(field.name, name));
        bool valid = true;
        switch (field.type) {
        case 'C':
            valid = field.length >= 1 && field.length <= dbf::maxTextLength;
            field.decimals = 0;
            break;
        case 'N':
        case 'F':
            valid = field.length >= 1 && field.length <= dbf::maxNumberLength &&
                    field.decimals >= 0 &&
                    (field.decimals == 0 || field.decimals <= field.length - 2);
            break;
        case 'L':
            field.length = 1;
            field.decimals = 0;
            break;
        case 'D':
            field.length = 8;
            field.decimals = 0;
            break;
        case 'M':
        case 'B':
        case 'G':
            field.length = dbf::memoPointerLength;
            field.decimals = 0;
            memo = true;
            break;
        default:
            valid = false;
        }
        if (!valid)
            throw Error(QStringLiteral("Definizione non valida del campo %1 %2 nella tabella %3")
                            .arg(field.name, field.describe(), name));
        field.tagged = false;
        for (const TagDefinition &tag : tags)
            field.tagged = field.tagged ||
                           tag.expression.trimmed().compare(field.name, Qt::CaseInsensitive) == 0;
        if (field.tagged && field.isMemo())
            throw Error(QStringLiteral("Il campo memo %1 della tabella %2 non si può indicizzare")
                            .arg(field.name, name));
    }
    QStringList tagNames;
    for (const TagDefinition &tag : tags) {
        const QString expression = tag.expression.trimmed();
        const bool column = KeyExpression::namesColumn(expression);
        bool known = false;
        for (const FieldDef &field : defs)
            known = known || field.name.compare(expression, Qt::CaseInsensitive) == 0;
        if (column && !known)
            throw Error(QStringLiteral("Campo %1 non trovato nella tabella %2")
                            .arg(expression.toUpper(), name));
        const QString tagName = tag.name.trimmed().toUpper();
        if (tagName.isEmpty() || tagName.size() > 10 || tagNames.contains(tagName))
            throw Error(
                QStringLiteral("Nome di indice non valido: %1 (tabella %2)").arg(tag.name, name));
        tagNames << tagName;
        KeyExpression::parse(expression, defs, name); // throws for a key we cannot keep
    }
    if (DbfFile::recordLengthOf(defs) > dbf::maxRecordLength)
        throw Error(QStringLiteral("Record troppo lungo nella tabella %1").arg(name));

    const QString path = m_folder + QLatin1Char('/') + name;
    const QString base = QFileInfo(name).completeBaseName();
    // Language driver 0x57: byte order. The desktop engines write it by default, so old
    // data folders carry it, and it makes the "text" .. "text" + "z" ranges of the
    // windows cover every capitalised name.
    const QByteArray header = DbfFile::buildHeader(
        defs, memo ? dbf::versionIvMemo : dbf::versionPlain, dbf::driverBinary, !tags.isEmpty(), 0);
    // Companions first, the table last: a table never exists without them.
    if (memo) {
        auto dbt = m_fs.open(TableFile::companion(m_fs, path, QStringLiteral("DBT")),
                             FileSystem::Mode::Create);
        const QByteArray memoHeader = MemoFile::emptyHeader(base);
        dbt->writeAt(0, memoHeader.constData(), memoHeader.size());
        dbt->sync();
    }
    if (!tags.isEmpty()) {
        QList<MdxFile::TagSource> sources;
        for (const TagDefinition &tag : tags) {
            const KeyExpression key = KeyExpression::parse(tag.expression, defs, name);
            const IndexTag probe(tag.name, key, defs, Collation(dbf::driverBinary));
            MdxFile::TagSource source;
            source.name = tag.name.trimmed().toUpper();
            source.expression = key.text();
            source.field = key.isSingleField();
            source.keyType = probe.keyType() == 'L' ? 'C' : probe.keyType();
            source.keyLength = probe.keyType() == 'N'   ? 12
                               : probe.keyType() == 'D' ? 8
                               : probe.keyType() == 'L' ? 1
                                                        : qMin(probe.field().length, 100);
            source.entries = [](const std::function<void(const char *, uint32_t)> &) {};
            sources << source;
        }
        auto mdx = m_fs.open(TableFile::companion(m_fs, path, QStringLiteral("MDX")),
                             FileSystem::Mode::Create);
        MdxFile::write(*mdx, base, sources);
        mdx->sync();
    }
    // Their names too: a file's data sync does not cover its entry in the folder.
    m_fs.syncFolder(m_folder);
    {
        auto dbf = m_fs.open(path + QStringLiteral(".new"), FileSystem::Mode::Create);
        QByteArray bytes = header;
        bytes.append(dbf::endOfFile);
        dbf->writeAt(0, bytes.constData(), bytes.size());
        dbf->sync();
    }
    m_fs.rename(path + QStringLiteral(".new"), path);
    m_fs.syncFolder(m_folder);
}

void Database::reindexTable(const QString &fileName) {
    exclusiveFile(fileName)->reindex();
}

void Database::addTag(const QString &fileName, const TagDefinition &tag) {
    exclusiveFile(fileName)->addTag(tag.name, tag.expression);
}

void Database::packTable(const QString &fileName) {
    exclusiveFile(fileName)->pack();
}

std::unique_ptr<Table> Database::executeSql(const QString &text, const QVariantMap &parameters) {
    const SqlStatement statement = SqlStatement::parse(text);
    switch (statement.kind) {
    case SqlStatement::Kind::AlterTable:
        exclusiveFile(statement.table)->addFields(statement.addedFields);
        return nullptr;
    case SqlStatement::Kind::CreateIndex:
        exclusiveFile(statement.table)->addTag(statement.indexName, statement.indexColumn);
        return nullptr;
    case SqlStatement::Kind::Select:
        break;
    }
    auto result = std::make_unique<Table>(*this);
    result->setTableName(statement.table);
    result->open();
    TableFile &file = *result->m_file;
    std::unique_ptr<FilterExpression> where;
    if (!statement.where.isEmpty())
        where = FilterExpression::compile(statement.where, file.fields(), file.collation(),
                                          file.fileName(), parameters);
    std::vector<IndexTag> columns;
    int width = 0;
    for (int i = 0; i < statement.orderBy.size(); ++i) {
        const int index = file.fieldIndex(statement.orderBy[i]);
        if (index < 0)
            throw Error(QStringLiteral("Campo %1 non trovato nella tabella %2")
                            .arg(statement.orderBy[i], file.fileName()));
        if (file.fields()[index].isMemo())
            throw Error(
                QStringLiteral("Impossibile ordinare sul campo memo %1").arg(statement.orderBy[i]));
        columns.emplace_back(statement.orderBy[i], index, file.fields()[index], file.collation());
        width += columns.back().keyWidth();
    }
    std::vector<uint32_t> rows;
    std::vector<char> keys;
    const uint32_t count = file.recordCount();
    for (uint32_t r = 1; r <= count; ++r) {
        const char *bytes = file.record(r);
        if (bytes[0] == dbf::deletedFlag || (where && !where->matches(bytes)))
            continue;
        rows.push_back(r);
        if (width > 0) {
            const size_t at = keys.size();
            keys.resize(at + size_t(width));
            char *out = keys.data() + at;
            for (size_t c = 0; c < columns.size(); ++c) {
                columns[c].makeKey(bytes, out);
                if (statement.descending.value(int(c)))
                    for (int b = 0; b < columns[c].keyWidth(); ++b)
                        out[b] = static_cast<char>(~out[b]);
                out += columns[c].keyWidth();
            }
        }
    }
    if (width > 0) {
        std::vector<uint32_t> order(rows.size());
        for (uint32_t i = 0; i < order.size(); ++i)
            order[i] = i;
        const char *k = keys.data();
        const size_t w = size_t(width);
        std::stable_sort(order.begin(), order.end(), [k, w](uint32_t a, uint32_t b) {
            return std::memcmp(k + a * w, k + b * w, w) < 0;
        });
        std::vector<uint32_t> sorted(rows.size());
        for (size_t i = 0; i < order.size(); ++i)
            sorted[i] = rows[order[i]];
        rows = std::move(sorted);
    }
    result->setQueryOrder(std::move(rows));
    return result;
}

} // namespace corvale::db

#include "db/TableFile.h"

#include "db/DbfFormat.h"
#include "db/Error.h"
#include "db/FieldCodec.h"
#include "db/KeyExpression.h"
#include "db/MdxFormat.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>

namespace corvale::db {

namespace {

QString journalPath(const QString &dbfPath) {
    return dbfPath + QStringLiteral(".rpl");
}

QString newPath(const QString &finalPath) {
    return finalPath + QStringLiteral(".new");
}

QByteArray readAll(File &file) {
    QByteArray bytes(file.size(), Qt::Uninitialized);
    bytes.resize(file.readAt(0, bytes.data(), bytes.size()));
    return bytes;
}

// The MDX as MdxFile::write sees it: its sync before the header that clears the stale
// mark first puts the table's own records and memos on the disk, so that after a power
// cut a clean index never vouches for records that did not survive.
class TableDataFirst : public File {
public:
    TableDataFirst(File &mdx, std::function<void()> syncTable)
        : m_mdx(mdx)
        , m_syncTable(std::move(syncTable)) {}
    QString path() const override { return m_mdx.path(); }
    qint64 size() const override { return m_mdx.size(); }
    qint64 readAt(qint64 offset, char *data, qint64 length) override {
        return m_mdx.readAt(offset, data, length);
    }
    void writeAt(qint64 offset, const char *data, qint64 length) override {
        m_mdx.writeAt(offset, data, length);
    }
    void resize(qint64 size) override { m_mdx.resize(size); }
    void sync() override {
        m_syncTable();
        m_mdx.sync();
    }
    void startSync() override { m_mdx.startSync(); }
    const char *map() override { return m_mdx.map(); }
    qint64 mappedSize() const override { return m_mdx.mappedSize(); }
    void unmap() override { m_mdx.unmap(); }

private:
    File &m_mdx;
    std::function<void()> m_syncTable;
};

// Records sampled to confirm that an index read from the MDX matches the table.
constexpr uint32_t spotChecks = 64;

// Keys of numbers and dates are one 8-byte word: compared without a call.
inline bool sameKey(const char *a, const char *b, size_t width) {
    if (width == 8) {
        uint64_t x, y;
        std::memcpy(&x, a, 8);
        std::memcpy(&y, b, 8);
        return x == y;
    }
    return std::memcmp(a, b, width) == 0;
}

} // namespace

TableFile::TableFile(FileSystem &fs, const QString &dbfPath)
    : m_fs(fs)
    , m_path(dbfPath)
    , m_fileName(QFileInfo(dbfPath).fileName()) {
    recover(m_fs, m_path);
    openFiles();
    loadTagList();
}

TableFile::~TableFile() {
    try {
        flush();
    } catch (const Error &) {
        // The DBF is complete; the tags are rebuilt at the next opening.
    }
}

QString TableFile::companion(FileSystem &fs, const QString &dbfPath, const QString &extension) {
    const QFileInfo info(dbfPath);
    const QString folder = info.path();
    const QString wanted = info.completeBaseName() + QLatin1Char('.') + extension;
    for (const QString &entry : fs.entries(folder))
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return folder + QLatin1Char('/') + entry;
    const bool lower = !info.suffix().isEmpty() && info.suffix().at(0).isLower();
    return folder + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('.') +
           (lower ? extension.toLower() : extension.toUpper());
}

void TableFile::recover(FileSystem &fs, const QString &dbfPath) {
    const QString journal = journalPath(dbfPath);
    const QString folder = QFileInfo(dbfPath).path();
    bool cleared = false;
    if (fs.exists(journal)) {
        // The replacement was committed: finish it.
        QByteArray content;
        {
            auto file = fs.open(journal, FileSystem::Mode::ReadOnly);
            content = readAll(*file);
        }
        for (const QByteArray &line : content.split('\n')) {
            const QString finalPath = QString::fromUtf8(line).trimmed();
            if (finalPath.isEmpty())
                continue;
            if (fs.exists(newPath(finalPath)))
                fs.rename(newPath(finalPath), finalPath);
        }
        // The renames on the disk before the journal that orders them goes.
        fs.syncFolder(folder);
        fs.remove(journal);
        cleared = true;
    }
    // Anything else left beside the table was never committed.
    const QStringList finals = {dbfPath, companion(fs, dbfPath, QStringLiteral("DBT")),
                                companion(fs, dbfPath, QStringLiteral("MDX"))};
    for (const QString &finalPath : finals) {
        if (fs.exists(newPath(finalPath))) {
            fs.remove(newPath(finalPath));
            cleared = true;
        }
    }
    if (fs.exists(journal + QStringLiteral(".new"))) {
        fs.remove(journal + QStringLiteral(".new"));
        cleared = true;
    }
    // A journal whose removal a power cut undid would later commit the uncommitted files of
    // the next replacement.
    if (cleared)
        fs.syncFolder(folder);
}

void TableFile::commitReplacement(FileSystem &fs, const QString &dbfPath,
                                  const QStringList &finals) {
    const QString journal = journalPath(dbfPath);
    {
        auto file = fs.open(newPath(journal), FileSystem::Mode::Create);
        const QByteArray content = finals.join(QLatin1Char('\n')).toUtf8() + '\n';
        file->writeAt(0, content.constData(), content.size());
        file->sync();
    }
    // The new files are durable only with their names: those reach the disk before the
    // journal that commits them, the journal before any rename, the renames before the
    // journal goes, and its removal before the next replacement can leave new files.
    const QString folder = QFileInfo(dbfPath).path();
    fs.syncFolder(folder);
    fs.rename(newPath(journal), journal); // the commit point
    fs.syncFolder(folder);
    for (const QString &finalPath : finals)
        fs.rename(newPath(finalPath), finalPath);
    fs.syncFolder(folder);
    fs.remove(journal);
    fs.syncFolder(folder);
}

void TableFile::openFiles() {
    std::unique_ptr<File> file;
    bool writable = true;
    try {
        file = m_fs.open(m_path, FileSystem::Mode::ReadWrite);
    } catch (const Error &) {
        // A read-only file (a copy from a CD, a protected folder) is still readable.
        file = m_fs.open(m_path, FileSystem::Mode::ReadOnly);
        writable = false;
    }
    bool repaired = false;
    m_dbf = std::make_unique<DbfFile>(std::move(file), writable, &repaired);
    m_repaired = repaired;
    m_collation = Collation(m_dbf->languageDriver());
    m_fieldIndex.clear();
    for (int i = 0; i < m_dbf->fields().size(); ++i)
        m_fieldIndex.insert(m_dbf->fields()[i].name.toUpper(), i);

    m_memo.reset();
    bool memoFields = false;
    for (const FieldDef &field : m_dbf->fields())
        memoFields = memoFields || field.isMemo();
    if (memoFields || m_dbf->hasMemoFile()) {
        const QString dbt = companion(m_fs, m_path, QStringLiteral("DBT"));
        if (m_fs.exists(dbt)) {
            const bool iv = m_dbf->isLevel7() || m_dbf->hasIvMemo();
            std::unique_ptr<File> memoFile;
            bool memoWritable = m_dbf->writable();
            try {
                memoFile = m_fs.open(dbt, memoWritable ? FileSystem::Mode::ReadWrite
                                                       : FileSystem::Mode::ReadOnly);
            } catch (const Error &) {
                memoFile = m_fs.open(dbt, FileSystem::Mode::ReadOnly);
                memoWritable = false;
            }
            m_memo = std::make_unique<MemoFile>(std::move(memoFile), iv, memoWritable);
        }
    }
}

int TableFile::fieldIndex(const QString &name) const {
    // Names usually come as the table spells them: no copy for those.
    const auto exact = m_fieldIndex.constFind(name);
    if (exact != m_fieldIndex.cend())
        return exact.value();
    return m_fieldIndex.value(name.trimmed().toUpper(), -1);
}

QByteArray TableFile::readMemo(uint32_t block) {
    if (block == 0)
        return {};
    if (!m_memo)
        throw Error(QStringLiteral("Manca il file memo della tabella %1").arg(m_fileName));
    return m_memo->read(block);
}

uint32_t TableFile::writeMemo(QByteArrayView data) {
    if (data.isEmpty())
        return 0;
    if (!m_memo) {
        if (!m_dbf->writable())
            throw Error(QStringLiteral("Manca il file memo della tabella %1").arg(m_fileName));
        // A memo column without its file (lost, or never created): start a new one.
        const QString dbt = companion(m_fs, m_path, QStringLiteral("DBT"));
        auto file = m_fs.open(dbt, FileSystem::Mode::Create);
        const QByteArray header = MemoFile::emptyHeader(QFileInfo(m_path).completeBaseName());
        file->writeAt(0, header.constData(), header.size());
        // The file must outlast a power cut before a record points into it.
        file->sync();
        m_fs.syncFolder(QFileInfo(dbt).path());
        m_memo = std::make_unique<MemoFile>(std::move(file), true, true);
    }
    noteChange();
    return m_memo->write(data);
}

void TableFile::makeTag(const QString &name, const QString &expression) {
    const KeyExpression key = KeyExpression::parse(expression, m_dbf->fields(), m_fileName);
    m_tags.push_back(std::make_unique<IndexTag>(name, key, m_dbf->fields(), m_collation));
}

void TableFile::loadTagList() {
    m_tags.clear();
    m_mdx.reset();
    m_rebuildReason.clear();
    const QString mdxPath = companion(m_fs, m_path, QStringLiteral("MDX"));
    const bool mdxExists = m_fs.exists(mdxPath);
    if (mdxExists) {
        try {
            m_mdx = std::make_unique<MdxFile>(m_fs.open(mdxPath, m_dbf->writable()
                                                                     ? FileSystem::Mode::ReadWrite
                                                                     : FileSystem::Mode::ReadOnly));
        } catch (const Error &error) {
            m_rebuildReason = error.message();
            m_mdxOutdated = true;
        }
    }
    if (m_mdx) {
        for (const MdxFile::Tag &tag : m_mdx->tags()) {
            bool duplicate = false;
            for (const auto &existing : m_tags)
                duplicate = duplicate || existing->name() == tag.name;
            try {
                if (duplicate)
                    throw Error(tag.name);
                makeTag(tag.name, tag.expression);
            } catch (const Error &) {
                // A tag we cannot keep up to date: drop it rather than leave it stale.
                m_mdxOutdated = true;
            }
        }
        if (m_mdx->isDirty()) {
            m_rebuildReason = QStringLiteral("indice non aggiornato dopo un'interruzione");
            m_mdx.reset();
            m_mdxOutdated = true;
        }
    }
    for (int i = 0; i < m_dbf->fields().size(); ++i) {
        const FieldDef &field = m_dbf->fields()[i];
        if (!field.tagged || field.isMemo())
            continue;
        bool present = false;
        for (const auto &tag : m_tags)
            present = present || tag->fieldIndex() == i;
        if (!present) {
            makeTag(field.name.left(10), field.name);
            m_mdxOutdated = true;
            if (m_rebuildReason.isEmpty())
                m_rebuildReason = mdxExists ? QStringLiteral("indice %1 mancante").arg(field.name)
                                            : QStringLiteral("file indice mancante");
        }
    }
}

QStringList TableFile::tagNames() const {
    QStringList names;
    for (const auto &tag : m_tags)
        names << tag->name();
    return names;
}

IndexTag *TableFile::tag(const QString &name) {
    const QString wanted = name.trimmed().toUpper();
    for (auto &tag : m_tags) {
        if (tag->name() == wanted) {
            ensureBuilt(*tag);
            tag->settle();
            return tag.get();
        }
    }
    return nullptr;
}

IndexTag *TableFile::tagAt(int i) {
    ensureBuilt(*m_tags[size_t(i)]);
    m_tags[size_t(i)]->settle();
    return m_tags[size_t(i)].get();
}

int TableFile::mdxKeyLength(const IndexTag &tag) const {
    switch (tag.keyType()) {
    case 'N':
        return mdx::numericKeyLength;
    case 'D':
        return mdx::dateKeyLength;
    case 'L':
        return 1;
    default:
        return qMin(tag.field().length, mdx::maxCharKey);
    }
}

void TableFile::mdxKey(const IndexTag &tag, const char *normalized, char *out) const {
    switch (tag.keyType()) {
    case 'N':
        FieldCodec::packDecimal(FieldCodec::fromOrderedDouble(normalized), out);
        return;
    case 'D': {
        const double day = FieldCodec::fromOrderedDouble(normalized);
        uint64_t raw;
        std::memcpy(&raw, &day, 8);
        for (int i = 0; i < 8; ++i)
            out[i] = static_cast<char>((raw >> (8 * i)) & 0xFF);
        return;
    }
    case 'L':
        out[0] = normalized[0] == 2 ? 'T' : (normalized[0] == 1 ? 'F' : ' ');
        return;
    default: {
        const char *raw = m_collation.isDictionary() ? normalized + tag.field().length : normalized;
        std::memcpy(out, raw, size_t(mdxKeyLength(tag)));
        return;
    }
    }
}

bool TableFile::loadFromMdx(IndexTag &tag, QString *why) {
    const MdxFile::Tag *info = nullptr;
    for (const MdxFile::Tag &candidate : m_mdx->tags())
        if (candidate.name == tag.name())
            info = &candidate;
    if (!info) {
        *why = QStringLiteral("indice %1 mancante").arg(tag.name());
        return false;
    }
    if (info->keyLength != mdxKeyLength(tag) ||
        info->keyType != (tag.keyType() == 'L' ? 'C' : tag.keyType()) ||
        (tag.keyType() == 'C' && tag.field().length > mdx::maxCharKey) ||
        (info->flags & (mdx::flagDescending | mdx::flagUnique)) || info->hasFilter) {
        *why = QStringLiteral("indice %1 di formato diverso").arg(tag.name());
        return false;
    }
    const uint32_t count = recordCount();
    const int width = tag.keyWidth();
    const FieldDef &field = tag.field();
    const int decimals = tag.keyDecimals();
    tag.beginLoad(count);
    // Equal keys sit side by side: convert each distinct key once.
    std::vector<char> previousKey(size_t(info->keyLength), '\0');
    std::vector<char> out(size_t(width), '\0');
    bool converted = false;
    bool rejected = false;
    const bool ok = m_mdx->walk(
        *info,
        [&](const char *key, uint32_t recno) {
            if (!converted || std::memcmp(previousKey.data(), key, previousKey.size()) != 0) {
                std::memcpy(previousKey.data(), key, previousKey.size());
                converted = true;
                switch (tag.keyType()) {
                case 'N':
                    FieldCodec::orderedDouble(FieldCodec::unpackDecimal(key, decimals), out.data());
                    break;
                case 'D': {
                    uint64_t raw = 0;
                    for (int i = 7; i >= 0; --i)
                        raw = (raw << 8) | static_cast<unsigned char>(key[i]);
                    double day;
                    std::memcpy(&day, &raw, 8);
                    FieldCodec::orderedDouble(day, out.data());
                    break;
                }
                case 'L':
                    out[0] = (key[0] == 'T') ? 2 : (key[0] == 'F' ? 1 : 0);
                    break;
                default:
                    m_collation.sortKey(key, field.length, out.data());
                    break;
                }
            }
            if (!tag.loadEntry(out.data(), recno)) {
                rejected = true;
                return false;
            }
            return true;
        },
        why);
    if (rejected) {
        *why = QStringLiteral("indice %1 fuori ordine o con record ripetuti").arg(tag.name());
        return false;
    }
    if (!ok)
        return false;
    if (tag.loadedCount() != count) {
        *why = QStringLiteral("indice %1 con %2 chiavi per %3 record")
                   .arg(tag.name())
                   .arg(tag.loadedCount())
                   .arg(count);
        return false;
    }
    // Sample records against the table: an index written for other data is stale.
    std::vector<char> expected(static_cast<size_t>(width), 0);
    const uint32_t step = count / spotChecks + 1;
    auto matches = [&](uint32_t r) {
        tag.makeKey(record(r), expected.data());
        return std::memcmp(expected.data(), tag.keyOf(r), size_t(width)) == 0;
    };
    bool agree = count == 0 || matches(count);
    for (uint32_t r = 1; agree && r <= count; r += step)
        agree = matches(r);
    if (!agree) {
        *why = QStringLiteral("indice %1 non corrisponde ai dati").arg(tag.name());
        return false;
    }
    return tag.finishLoad();
}

void TableFile::ensureBuilt(IndexTag &tag) {
    if (tag.isBuilt())
        return;
    if (m_mdx) {
        QString why;
        if (loadFromMdx(tag, &why))
            return;
        if (m_rebuildReason.isEmpty())
            m_rebuildReason = why;
    }
    tag.build(recordCount(), [this](uint32_t r) { return record(r); });
    m_mdxOutdated = true;
}

void TableFile::beginChange() {
    if (!m_dbf->writable())
        throw Error(QStringLiteral("La tabella %1 è in sola lettura").arg(m_fileName));
    if (m_changing)
        return;
    // Tags still in the MDX are read now: after the first change the file no longer
    // matches the table.
    for (auto &tag : m_tags)
        ensureBuilt(*tag);
    if (m_mdx) {
        // On the disk before the table changes, so that even a power cut leaves the
        // index marked stale.
        MdxFile::setDirty(m_mdx->file(), true);
        m_mdx->file().sync();
        m_mdx.reset();
    }
    m_changing = true;
    if (!m_tags.empty())
        m_mdxOutdated = true;
}

uint32_t TableFile::append(const char *bytes) {
    beginChange();
    if (m_dbf->hasAutoIncrement()) {
        // Autoincrement columns are the table's to fill: the keys follow the numbers given.
        m_recordScratch.assign(bytes, bytes + m_dbf->recordLength());
        m_dbf->assignAutoIncrement(m_recordScratch.data());
        bytes = m_recordScratch.data();
    }
    noteChange();
    const uint32_t recno = m_dbf->appendRecord(bytes);
    for (auto &tag : m_tags) {
        m_keyScratch.resize(size_t(tag->keyWidth()));
        tag->makeKey(bytes, m_keyScratch.data());
        tag->append(recno, m_keyScratch.data());
    }
    ++m_version;
    return recno;
}

void TableFile::update(uint32_t recno, const char *bytes) {
    beginChange();
    noteChange();
    m_dbf->writeRecord(recno, bytes);
    for (auto &tag : m_tags) {
        m_keyScratch.resize(size_t(tag->keyWidth()));
        tag->makeKey(bytes, m_keyScratch.data());
        tag->update(recno, m_keyScratch.data());
    }
    ++m_version;
}

void TableFile::setDeleted(uint32_t recno, bool deleted) {
    beginChange();
    noteChange();
    m_dbf->setDeleted(recno, deleted);
    ++m_version;
}

void TableFile::empty() {
    beginChange();
    noteChange();
    // The records go before the memo values they point at: a power cut between the two
    // must not leave records pointing into a cleared memo file.
    syncData();
    m_dbf->truncate();
    if (m_memo) {
        m_dbf->sync();
        m_memo->clear();
    }
    for (auto &tag : m_tags)
        tag->build(0, [](uint32_t) { return nullptr; });
    ++m_version;
}

void TableFile::addTag(const QString &tagName, const QString &expression) {
    const int field = fieldIndex(expression);
    const bool column = KeyExpression::namesColumn(expression);
    if (column && field < 0)
        throw Error(QStringLiteral("Campo %1 inesistente nella tabella %2")
                        .arg(expression.trimmed().toUpper(), m_fileName));
    if (column && m_dbf->fields()[field].isMemo())
        throw Error(QStringLiteral("Il campo memo %1 della tabella %2 non si può indicizzare")
                        .arg(m_dbf->fields()[field].name, m_fileName));
    const KeyExpression key = KeyExpression::parse(expression, m_dbf->fields(), m_fileName);
    const QString name = tagName.trimmed().toUpper();
    if (name.isEmpty() || name.size() > 10)
        throw Error(QStringLiteral("Nome di indice non valido: %1").arg(tagName));
    auto existing = m_tags.end();
    for (auto it = m_tags.begin(); it != m_tags.end(); ++it)
        if ((*it)->name() == name)
            existing = it;
    if (existing != m_tags.end() && (*existing)->expression() == key.text())
        return;
    if (existing == m_tags.end() && m_tags.size() >= size_t(mdx::maxTags))
        throw Error(QStringLiteral("Troppi indici sulla tabella %1").arg(m_fileName));
    beginChange();
    if (existing != m_tags.end())
        m_tags.erase(existing);
    m_tags.push_back(std::make_unique<IndexTag>(name, key, m_dbf->fields(), m_collation));
    ensureBuilt(*m_tags.back());
    m_mdxOutdated = true;
    ++m_version;
    flush();
}

void TableFile::reindex() {
    beginChange();
    for (auto &tag : m_tags)
        tag->build(recordCount(), [this](uint32_t r) { return record(r); });
    m_mdxOutdated = true;
    ++m_version;
    flush();
}

void TableFile::noteChange() {
    if (m_unsynced)
        return;
    m_unsynced = true;
    if (m_changed)
        m_changed();
}

void TableFile::syncData() {
    if (!m_unsynced || !m_dbf)
        return;
    // Memo values before the records that point at them.
    if (m_memo)
        m_memo->sync();
    m_dbf->sync();
    m_unsynced = false;
}

void TableFile::flush() {
    if (!m_dbf || !m_dbf->writable())
        return;
    if (!m_mdxOutdated) {
        syncData();
        return;
    }
    // The table's new records go to the disk while the index is being written.
    m_dbf->file().startSync();
    if (m_memo)
        m_memo->startSync();
    for (auto &tag : m_tags)
        ensureBuilt(*tag);
    const QString mdxPath = companion(m_fs, m_path, QStringLiteral("MDX"));
    QList<bool> flags;
    for (int i = 0; i < m_dbf->fields().size(); ++i) {
        bool tagged = false;
        for (const auto &tag : m_tags)
            tagged = tagged || tag->fieldIndex() == i;
        flags << tagged;
    }
    m_mdx.reset();
    if (m_tags.empty()) {
        m_dbf->setTagFlags(false, flags);
        if (m_fs.exists(mdxPath)) {
            m_fs.remove(mdxPath);
            m_fs.syncFolder(QFileInfo(mdxPath).path());
        }
    } else {
        writeMdx();
        m_dbf->setTagFlags(true, flags);
    }
    m_unsynced = true; // the tag flags
    syncData();
    m_mdxOutdated = false;
    m_changing = false;
}

void TableFile::flushHeader() {
    // (A table whose files could not be reopened after a failed replacement has none.)
    if (m_dbf && m_dbf->writable())
        m_dbf->writeHeaderCount();
}

void TableFile::writeMdx() {
    const QString mdxPath = companion(m_fs, m_path, QStringLiteral("MDX"));
    QList<MdxFile::TagSource> sources;
    for (const auto &tagPtr : m_tags) {
        tagPtr->settle();
        const IndexTag *tag = tagPtr.get();
        MdxFile::TagSource source;
        source.name = tag->name();
        source.expression = tag->expression();
        source.field = tag->fieldIndex() >= 0;
        source.keyType = tag->keyType() == 'L' ? 'C' : tag->keyType();
        source.keyLength = mdxKeyLength(*tag);
        source.entries = [this, tag](const std::function<void(const char *, uint32_t)> &put) {
            // Equal keys sit side by side: convert each distinct key once.
            std::vector<char> key(static_cast<size_t>(mdxKeyLength(*tag)), 0);
            const size_t width = size_t(tag->keyWidth());
            const char *previous = nullptr;
            tag->forEachEntry([&](const char *normalized, uint32_t recno) {
                if (!previous || !sameKey(previous, normalized, width))
                    mdxKey(*tag, normalized, key.data());
                previous = normalized;
                put(key.data(), recno);
            });
        };
        sources << source;
    }
    // Rewritten in place when the file's tag headers sit where the rewrite puts them (the
    // file was written here), which costs a fraction of writing a new file: the
    // definitions of tags on expressions, kept nowhere else, then survive a crash at any
    // point. Any other file is replaced by a new one written beside it.
    bool inPlace = false;
    if (m_fs.exists(mdxPath)) {
        try {
            inPlace = MdxFile(m_fs.open(mdxPath, FileSystem::Mode::ReadOnly)).hasFixedTagHeaders();
        } catch (const Error &) {
            inPlace = false;
        }
    }
    const QString base = QFileInfo(m_path).completeBaseName();
    if (!inPlace) {
        {
            auto file = m_fs.open(newPath(mdxPath), FileSystem::Mode::Create);
            TableDataFirst guarded(*file, [this] { syncData(); });
            MdxFile::write(guarded, base, sources);
            // The header too: a file renamed live without it would lose every tag on an
            // expression.
            file->sync();
        }
        m_fs.rename(newPath(mdxPath), mdxPath);
        m_fs.syncFolder(QFileInfo(mdxPath).path());
        return;
    }
    // The stale mark reaches the disk before any node changes, the nodes before the header
    // that clears it: a crash or a power cut at any point leaves a file known to be stale.
    auto file = m_fs.open(mdxPath, FileSystem::Mode::ReadWrite);
    MdxFile::setDirty(*file, true);
    file->sync();
    TableDataFirst guarded(*file, [this] { syncData(); });
    MdxFile::write(guarded, base, sources);
    // The header names the tags: a tag just added must not vanish in a power cut.
    file->sync();
}

void TableFile::rewrite(const FieldList &newFields, bool dropDeleted, uint8_t version) {
    beginChange();
    // The memo file may stay (ALTER TABLE): the values the new table points at must be on
    // the disk before it.
    syncData();
    const FieldList oldFields = m_dbf->fields();
    FieldList fields = newFields;
    const bool level7 = m_dbf->isLevel7();
    const QByteArray header = DbfFile::buildHeader(
        fields, version, m_dbf->languageDriver(), !m_tags.empty(), 0, level7,
        m_dbf->level7DriverName(),
        fields.size() == oldFields.size() ? m_dbf->headerTrailer() : QByteArray());
    const int newLength = DbfFile::recordLengthOf(fields);
    const int oldLength = m_dbf->recordLength();
    const QString dbfNew = newPath(m_path);
    const QString dbtPath = companion(m_fs, m_path, QStringLiteral("DBT"));
    bool anyMemo = false;
    for (const FieldDef &field : fields)
        anyMemo = anyMemo || field.isMemo();
    // Packing copies the live memo values into a compact new memo file; adding columns
    // leaves the memo file as it is, since block numbers do not change.
    const bool compactMemo = dropDeleted && m_memo != nullptr;
    std::unique_ptr<MemoFile> newMemo;
    if (compactMemo) {
        auto file = m_fs.open(newPath(dbtPath), FileSystem::Mode::Create);
        const QByteArray memoHeader =
            MemoFile::emptyHeader(QFileInfo(m_path).completeBaseName(), m_memo->blockSize());
        file->writeAt(0, memoHeader.constData(), memoHeader.size());
        const bool iv = level7 || (version & dbf::memoIvBit);
        newMemo = std::make_unique<MemoFile>(std::move(file), iv, true);
    } else if (anyMemo && !m_memo) {
        auto file = m_fs.open(dbtPath, FileSystem::Mode::Create);
        const QByteArray memoHeader = MemoFile::emptyHeader(QFileInfo(m_path).completeBaseName());
        file->writeAt(0, memoHeader.constData(), memoHeader.size());
        file->sync();
    }
    uint32_t written = 0;
    {
        auto out = m_fs.open(dbfNew, FileSystem::Mode::Create);
        out->writeAt(0, header.constData(), header.size());
        qint64 pos = header.size();
        QByteArray chunk;
        const int perChunk = qMax(1, (1 << 20) / newLength);
        chunk.reserve(qint64(perChunk) * newLength + 1);
        QByteArray row(newLength, ' ');
        const uint32_t count = recordCount();
        for (uint32_t r = 1; r <= count; ++r) {
            const char *old = record(r);
            if (dropDeleted && old[0] == dbf::deletedFlag)
                continue;
            std::memset(row.data(), ' ', size_t(newLength));
            std::memcpy(row.data(), old, size_t(qMin(oldLength, newLength)));
            if (compactMemo) {
                for (int f = 0; f < oldFields.size(); ++f) {
                    const FieldDef &field = oldFields[f];
                    if (!field.isMemo())
                        continue;
                    uint32_t block = 0;
                    const char *cell = old + field.offset;
                    if (!FieldCodec::parseBlock(cell, field.length, &block) || block == 0) {
                        std::memset(row.data() + field.offset, ' ', size_t(field.length));
                        continue;
                    }
                    QByteArray value;
                    try {
                        value = m_memo->read(block);
                    } catch (const Error &) {
                        value.clear(); // a pointer into nowhere: the value was lost before
                    }
                    const uint32_t moved = newMemo->write(value);
                    const QByteArray pointer =
                        moved ? FieldCodec::formatInteger(moved, field.length, 0)
                              : QByteArray(field.length, ' ');
                    std::memcpy(row.data() + field.offset, pointer.constData(),
                                size_t(field.length));
                }
                // Records copied from old memory: fetch again, the memo reads may remap.
            }
            chunk.append(row);
            ++written;
            if (chunk.size() >= qint64(perChunk) * newLength) {
                out->writeAt(pos, chunk.constData(), chunk.size());
                pos += chunk.size();
                chunk.clear();
            }
        }
        chunk.append(dbf::endOfFile);
        out->writeAt(pos, chunk.constData(), chunk.size());
        char count4[4];
        for (int i = 0; i < 4; ++i)
            count4[i] = static_cast<char>((written >> (8 * i)) & 0xFF);
        out->writeAt(dbf::offsetRecordCount, count4, 4);
        out->sync();
    }
    if (newMemo)
        newMemo->sync();
    newMemo.reset();

    QStringList finals = {m_path};
    if (compactMemo)
        finals.prepend(dbtPath);
    m_dbf.reset();
    m_memo.reset();
    m_mdx.reset();
    try {
        commitReplacement(m_fs, m_path, finals);
        m_unsynced = false; // the new files were synced before the commit
        openFiles();
    } catch (const Error &) {
        // Whatever the commit reached, recovery makes the old or the new table whole again.
        try {
            recover(m_fs, m_path);
            openFiles();
            loadTagList();
        } catch (const Error &) {
            m_dbf.reset();
            m_memo.reset();
        }
        ++m_version;
        throw;
    }
    // Same record numbers after adding columns, new ones after packing: rebuild either way.
    std::vector<std::pair<QString, QString>> tagKeys;
    for (const auto &tag : m_tags)
        tagKeys.emplace_back(tag->name(), tag->expression());
    m_tags.clear();
    for (const auto &[name, expression] : tagKeys)
        makeTag(name, expression);
    for (auto &tag : m_tags)
        tag->build(recordCount(), [this](uint32_t r) { return record(r); });
    m_mdxOutdated = true;
    m_changing = true;
    ++m_version;
    flush();
}

void TableFile::pack() {
    rewrite(m_dbf->fields(), true, m_dbf->version());
}

void TableFile::addFields(const FieldList &added) {
    FieldList fields = m_dbf->fields();
    for (const FieldDef &field : added) {
        if (fieldIndex(field.name) >= 0)
            throw Error(QStringLiteral("Il campo %1 esiste già nella tabella %2")
                            .arg(field.name, m_fileName));
        for (const FieldDef &other : added)
            if (&other != &field && other.name.compare(field.name, Qt::CaseInsensitive) == 0)
                throw Error(QStringLiteral("Il campo %1 è ripetuto").arg(field.name));
        FieldDef copy = field;
        copy.name = copy.name.toUpper();
        copy.tagged = false;
        fields << copy;
    }
    if (fields.size() > dbf::maxFields)
        throw Error(QStringLiteral("Troppi campi nella tabella %1").arg(m_fileName));
    if (DbfFile::recordLengthOf(fields) > dbf::maxRecordLength)
        throw Error(QStringLiteral("Record troppo lungo nella tabella %1").arg(m_fileName));
    uint8_t version = m_dbf->version();
    bool anyMemo = false;
    for (const FieldDef &field : fields)
        anyMemo = anyMemo || field.isMemo();
    if (anyMemo && !(version & dbf::memoBit))
        version = m_dbf->isLevel7() ? 0x8C : dbf::versionIvMemo;
    rewrite(fields, false, version);
}

} // namespace corvale::db

#pragma once

#include "db/Collation.h"
#include "db/DbfFile.h"
#include "db/FieldDef.h"
#include "db/FileSystem.h"
#include "db/IndexTag.h"
#include "db/MdxFile.h"
#include "db/MemoFile.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace corvale::db {

// The state of one table shared by every handle open on it: the DBF, its memo file, and
// its index tags. All changes go through here, so every handle sees one truth and the
// tags follow every append, post and delete.
//
// The DBF is the source of truth. Tags are loaded from the production MDX when that file
// is healthy (the engine's stale mark clear, every record present once, keys in order,
// a sample of keys matching the records) and rebuilt from the DBF otherwise; a tag is
// loaded or built the first time a handle needs it. The MDX is marked stale before the
// first change and written out whole when the last handle closes.
class TableFile {
public:
    TableFile(FileSystem &fs, const QString &dbfPath);
    ~TableFile();

    TableFile(const TableFile &) = delete;
    TableFile &operator=(const TableFile &) = delete;

    // Finishes or rolls back a file replacement (pack, ALTER TABLE) that a crash
    // interrupted. Called before the table is opened.
    static void recover(FileSystem &fs, const QString &dbfPath);
    // Replaces `final` files by their `<final>.new` companions, crash-safely.
    static void commitReplacement(FileSystem &fs, const QString &dbfPath,
                                  const QStringList &finals);
    static QString companion(FileSystem &fs, const QString &dbfPath, const QString &extension);

    // False after a pack or ALTER TABLE failed so badly that the files could not be
    // reopened; the database then drops this state and opens the table afresh.
    bool isUsable() const { return m_dbf != nullptr; }

    QString path() const { return m_path; }
    QString fileName() const { return m_fileName; }
    bool writable() const { return m_dbf->writable(); }
    bool repairedOnOpen() const { return m_repaired; }
    DbfFile &dbf() { return *m_dbf; }
    const FieldList &fields() const { return m_dbf->fields(); }
    int fieldIndex(const QString &name) const;
    Collation collation() const { return m_collation; }
    uint64_t version() const { return m_version; }
    uint32_t recordCount() const { return m_dbf->recordCount(); }
    const char *record(uint32_t recno) { return m_dbf->record(recno); }

    bool hasMemoFile() const { return m_memo != nullptr; }
    QByteArray readMemo(uint32_t block);
    uint32_t writeMemo(QByteArrayView data);
    MemoFile *memo() { return m_memo.get(); }

    QStringList tagNames() const;
    // The tag, loaded or built; nullptr when the table has no such tag.
    IndexTag *tag(const QString &name);
    IndexTag *tagAt(int i);
    int tagCount() const { return int(m_tags.size()); }
    // Why the tags were rebuilt from the table instead of read from the MDX (empty when
    // they were read, or not needed yet).
    QString rebuildReason() const { return m_rebuildReason; }

    uint32_t append(const char *record);
    void update(uint32_t recno, const char *record);
    void setDeleted(uint32_t recno, bool deleted);
    void empty();

    // Adds a tag on a column or a key expression (CREATE INDEX); no-op when a tag of that
    // name and key exists, a tag of that name on another key is replaced.
    void addTag(const QString &tagName, const QString &expression);
    void reindex();
    void pack();
    // Rewrites the table with more columns (ALTER TABLE ... ADD).
    void addFields(const FieldList &added);

    // Writes the MDX if tags changed (database close, flush, maintenance) and makes every
    // change durable.
    void flush();
    // Makes the changes to records and memos durable (a power cut no longer takes them).
    void syncData();
    bool hasUnsyncedChanges() const { return m_unsynced; }
    // Called at the first change after the data was last made durable.
    void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }
    // Brings the DBF header count up to date (cheap; when the last handle closes).
    void flushHeader();

    // Bookkeeping of the handles (Database).
    int handles = 0;
    bool exclusive = false;

private:
    void openFiles();
    void loadTagList();
    void ensureBuilt(IndexTag &tag);
    bool loadFromMdx(IndexTag &tag, QString *why);
    void beginChange();
    void noteChange();
    void makeTag(const QString &name, const QString &expression);
    void writeMdx();
    void mdxKey(const IndexTag &tag, const char *normalized, char *out) const;
    int mdxKeyLength(const IndexTag &tag) const;
    void rewrite(const FieldList &fields, bool dropDeleted, uint8_t version);

    FileSystem &m_fs;
    QString m_path;
    QString m_fileName;
    std::unique_ptr<DbfFile> m_dbf;
    std::unique_ptr<MemoFile> m_memo;
    std::unique_ptr<MdxFile> m_mdx;
    Collation m_collation;
    std::vector<std::unique_ptr<IndexTag>> m_tags;
    QHash<QString, int> m_fieldIndex;
    uint64_t m_version = 1;
    bool m_repaired = false;
    bool m_changing = false;    // stale mark already set
    bool m_mdxOutdated = false; // MDX must be written at flush
    bool m_unsynced = false;    // records or memos changed since the last sync
    std::function<void()> m_changed;
    QString m_rebuildReason;
    std::vector<char> m_keyScratch;
    std::vector<char> m_recordScratch;
};

} // namespace corvale::db

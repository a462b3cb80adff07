#pragma once

#include "db/FieldDef.h"
#include "db/FileSystem.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

class QLockFile;
class QTimer;

namespace corvale::db {

class Table;
class TableFile;

// An index tag to create: its name (at most 10 characters) and its key, a column name or
// an expression such as CLIENTE+MYDATA.
struct TagDefinition {
    QString name;
    QString expression;
};

// The database `magazzino`: the data folder and every table open in it.
//
//   db::Database magazzino;
//   magazzino.open(programFolder + "/dati");      // PATH=...
//   db::Table articoli(magazzino);
//   articoli.setTableName("ARTICOLI.DBF");
//   articoli.open();
//
// Opening takes a lock on the folder, so a second running copy of the program gets a
// clear error instead of writing alongside. Closing closes every table handle of every
// window (their state becomes closed; they can be opened again after the next open()).
// File names are matched without regard to letter case.
//
// A table stays cached with its index tags after its last handle closes, so windows that
// open and close the same tables all day do not reread their indexes. Records, memos and
// header counts are on disk when each call returns (the header count when the last handle
// closes), safe from a killed program; they survive a power cut once the program is back
// in its event loop, where syncChanges() runs on its own (one disk sync per changed file
// for everything a window saved, not one per record), or after close() or flush(). The
// production indexes are written by close() and flush(). Call one of them before copying
// the data folder.
class Database {
public:
    explicit Database(FileSystem &fileSystem = FileSystem::local());
    ~Database();

    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    void open(const QString &folder);
    // Closes every handle, writes every changed index and closes every file.
    void close();
    // Writes every changed index now, leaving the handles open (before a backup that
    // cannot close the database, or when the program is idle).
    void flush();
    // Makes every change to records and memos so far durable.
    void syncChanges();
    bool isOpen() const { return m_open; }
    QString path() const { return m_folder; }
    FileSystem &fileSystem() { return m_fs; }

    // The name of the file in the folder matching `fileName` in any letter case ("Articoli"
    // and "ARTICOLI.dbf" find "ARTICOLI.DBF"); empty when there is none.
    QString findFile(const QString &fileName) const;
    bool tableExists(const QString &fileName) const { return !findFile(fileName).isEmpty(); }
    QStringList tableNames() const;

    // Creates a dBASE IV table (0x03, or 0x8B with a memo file) with language driver
    // 0x57, and its production MDX holding one tag per name in `tagFields` (each tag is
    // named after its column). Fails when the file exists.
    void createTable(const QString &fileName, const FieldList &fields,
                     const QStringList &tagFields = {});
    // The same with named tags on columns or key expressions (see KeyExpression).
    void createTableWithTags(const QString &fileName, const FieldList &fields,
                             const QList<TagDefinition> &tags);

    // Runs one local SQL statement:
    //   ALTER TABLE "X.dbf" ADD COL CHARACTER(n) | NUMERIC(p,s) | BOOLEAN | BLOB(n), ADD ...
    //   CREATE INDEX NAME ON "X.dbf" (COL)
    //   select * from X [where COL = :PARAM] [Order by X.COL, X.COL2]
    // A select returns an open read-only handle positioned on its first row; the other
    // statements return nullptr. Parameters are matched by name without the colon.
    std::unique_ptr<Table> executeSql(const QString &statement, const QVariantMap &parameters = {});

    // Table maintenance on a table no handle has open: rebuild its tags, drop its deleted
    // records (and rebuild the tags).
    void reindexTable(const QString &fileName);
    void packTable(const QString &fileName);
    // Adds a tag (on a column or an expression) to a table no handle has open; a tag of that
    // name on another key is replaced, one on the same key left as it is.
    void addTag(const QString &fileName, const TagDefinition &tag);

    // Used by Table: every handle registers at construction, attaches when it opens.
    void registerHandle(Table *handle);
    void unregisterHandle(Table *handle);
    std::shared_ptr<TableFile> attach(Table *handle, const QString &fileName, bool exclusive);
    void detach(Table *handle);

private:
    struct OpenFile {
        std::shared_ptr<TableFile> file;
        QList<Table *> handles;
        bool exclusive = false;
    };

    QString requireFile(const QString &fileName) const;
    std::shared_ptr<TableFile> exclusiveFile(const QString &fileName);
    std::shared_ptr<TableFile> makeFile(const QString &found);
    void scheduleSync();

    FileSystem &m_fs;
    QString m_folder;
    bool m_open = false;
    std::unique_ptr<QLockFile> m_lock;
    QHash<QString, OpenFile> m_files; // key: file name in capitals
    QList<Table *> m_handles;
    std::unique_ptr<QTimer> m_syncTimer;
};

} // namespace corvale::db

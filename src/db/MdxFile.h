#pragma once

#include "db/FileSystem.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace corvale::db {

// The production index: reading the tag table and walking a tag's B-tree, and writing a
// whole file from tags given in key order.
//
// The engine treats the file as derived data. Every reading function validates page
// numbers, counts and lengths against the file and reports a damaged file instead of
// trusting it; the caller then rebuilds the tags from the table.
class MdxFile {
public:
    struct Tag {
        QString name;
        QString expression;
        char keyType = 'C';
        int keyLength = 0;
        int itemLength = 0;
        int maxKeys = 0; // a node holding this many entries is a leaf
        uint32_t headerPage = 0;
        uint32_t rootPage = 0;
        uint8_t flags = 0;
        bool hasFilter = false;
    };

    // One tag to write: its entries (MDX key bytes, record number) come in key order.
    struct TagSource {
        QString name;
        QString expression; // the column name for a tag on one column
        bool field = true;  // a tag on one column
        char keyType = 'C';
        int keyLength = 0;
        std::function<void(const std::function<void(const char *key, uint32_t recno)> &)> entries;
    };

    // Throws db::Error when the header or the tag table is unusable.
    explicit MdxFile(std::unique_ptr<File> file);

    const QList<Tag> &tags() const { return m_tags; }
    File &file() { return *m_file; }
    bool isDirty() const { return m_dirty; }
    QString dbfName() const { return m_dbfName; }

    // Calls `visit` for each leaf entry in order; false (and *why) when the tree is damaged
    // or `visit` returns false. A node is a leaf, as other engines decide it, when it holds
    // the tag's maximum number of entries or when the slot after its last entry has no
    // block number.
    bool walk(const Tag &tag, const std::function<bool(const char *key, uint32_t recno)> &visit,
              QString *why);

    // Whether the tag headers sit in the blocks right after the file header, in order, as
    // write() puts them: then the file can be rewritten in place without a crash ever
    // losing a tag's definition.
    bool hasFixedTagHeaders() const;

    // Writes a complete file with these tags.
    static void write(File &file, const QString &dbfBaseName, const QList<TagSource> &tags);
    // Sets or clears the engine's stale mark in an existing file.
    static void setDirty(File &file, bool dirty);

private:
    std::unique_ptr<File> m_file;
    QList<Tag> m_tags;
    bool m_dirty = false;
    QString m_dbfName;
    int m_blockSize = 1024;
    qint64 m_size = 0;
};

} // namespace corvale::db

#pragma once

#include "db/FileSystem.h"

#include <QByteArray>

#include <cstdint>
#include <memory>

namespace corvale::db {

// The .DBT file holding memo and blob values.
//
// Reads both layouts: dBASE III (512-byte blocks, text ended by 0x1A 0x1A) and
// dBASE IV/5/7 (block size in the header; each value starts with FF FF 08 00 and its
// length, binary safe). Writes the IV layout; a table whose memo file is in the III
// layout gets III-style values so that older readers still find the text.
//
// A changed value always goes to fresh blocks, never over the old ones: the record's
// pointer then switches from the old value to the new one in the single write of the
// record, so a crash leaves either the old record with its old memo or the new record
// with its new memo. Packing the table gives the abandoned blocks back.
class MemoFile {
public:
    MemoFile(std::unique_ptr<File> file, bool ivLayout, bool writable);

    // A new, empty IV memo file for the table `dbfBaseName`.
    static QByteArray emptyHeader(const QString &dbfBaseName, int blockSize = 512);

    QString path() const { return m_file->path(); }
    int blockSize() const { return m_blockSize; }
    uint32_t nextFreeBlock() const { return m_nextFree; }

    // The value starting at `block`; throws db::Error when the block lies outside the file.
    QByteArray read(uint32_t block);
    // Whether `block` holds a readable value; *why says what is wrong.
    bool check(uint32_t block, QString *why);
    // Writes `data` into fresh blocks and returns the first; 0 for an empty value.
    uint32_t write(QByteArrayView data);
    // Back to an empty file (empty table).
    void clear();

    void sync() { m_file->sync(); }
    void startSync() { m_file->startSync(); }

private:
    uint32_t blocksFor(qint64 bytes) const;
    qint64 valueLength(uint32_t block, bool *ivBlock);

    std::unique_ptr<File> m_file;
    bool m_ivLayout = true;
    bool m_writable = false;
    int m_blockSize = 512;
    uint32_t m_nextFree = 1;
};

} // namespace corvale::db

#pragma once

#include "db/FieldDef.h"
#include "db/FileSystem.h"

#include <QByteArray>
#include <QDate>

#include <cstdint>
#include <memory>

namespace corvale::db {

// One .DBF file: its header, its field descriptors and its records.
//
// Writes keep the file readable after a crash at any point: a record's bytes go first,
// then the end-of-file mark after it, then the count in the header. Opening trusts the
// file size over the header count and repairs the header to what the file really holds.
class DbfFile {
public:
    // Parses the header; throws db::Error for a file that is not a table we can read.
    // `repaired` tells whether the header count was corrected.
    DbfFile(std::unique_ptr<File> file, bool writable, bool *repaired = nullptr);
    ~DbfFile();

    // The bytes of a new header (with terminator) for these fields, offsets filled in.
    static QByteArray buildHeader(FieldList &fields, uint8_t version, uint8_t languageDriver,
                                  bool productionMdx, uint32_t recordCount, bool level7 = false,
                                  const QByteArray &level7Driver = {},
                                  const QByteArray &trailer = {});
    static int recordLengthOf(const FieldList &fields);

    QString path() const { return m_file->path(); }
    QString fileName() const;
    File &file() { return *m_file; }

    uint8_t version() const { return m_version; }
    bool isLevel7() const { return (m_version & 0x07) == 0x04; }
    bool hasMemoFile() const { return (m_version & 0x80) != 0; }
    bool hasIvMemo() const { return (m_version & 0x08) != 0; }
    uint8_t languageDriver() const { return m_languageDriver; }
    QByteArray level7DriverName() const { return m_level7Driver; }
    bool productionMdx() const { return m_productionMdx; }
    QDate lastUpdate() const { return m_lastUpdate; }
    int headerLength() const { return m_headerLength; }
    int recordLength() const { return m_recordLength; }
    uint32_t recordCount() const { return m_recordCount; }
    uint32_t headerRecordCount() const { return m_headerCount; }
    const FieldList &fields() const { return m_fields; }
    // Bytes kept after the descriptors inside the header (level-7 field properties).
    QByteArray headerTrailer() const { return m_trailer; }
    bool writable() const { return m_writable; }

    // Pointer to the record bytes (deleted flag first), valid until the next call that
    // reads or writes this file. recno counts from 1.
    const char *record(uint32_t recno);

    void writeRecord(uint32_t recno, const char *data);
    uint32_t appendRecord(const char *data);
    // Level-7 autoincrement columns: whether the table has any, and giving a new record
    // (not written yet) the next numbers, the counters in the header moving on first.
    bool hasAutoIncrement() const;
    void assignAutoIncrement(char *record);
    void setDeleted(uint32_t recno, bool deleted);
    // Drops every record (empty table).
    void truncate();
    // Byte 28 and the descriptors' tag flags.
    void setTagFlags(bool productionMdx, const QList<bool> &fieldTagged);

    // Writes the record count into the header when appends left it behind. Opening
    // trusts the file size anyway, so the count may lag while the table is open; it is
    // brought up to date when the table is flushed or closed.
    void writeHeaderCount();
    void sync() {
        writeHeaderCount();
        m_file->sync();
    }

private:
    void parse(bool *repaired);
    void writeCount();
    void requireWritable() const;

    std::unique_ptr<File> m_file;
    bool m_writable = false;
    uint8_t m_version = 0;
    uint8_t m_languageDriver = 0;
    QByteArray m_level7Driver;
    bool m_productionMdx = false;
    QDate m_lastUpdate;
    int m_headerLength = 0;
    int m_recordLength = 0;
    uint32_t m_recordCount = 0;
    uint32_t m_headerCount = 0;
    FieldList m_fields;
    QByteArray m_trailer;
    QList<int> m_descriptorOffsets;

    const char *m_map = nullptr;
    uint32_t m_mappedRecords = 0;
    QByteArray m_scratch;
    QByteArray m_appendBuffer;
    bool m_countPending = false;
    bool m_autoChecked = false; // autoincrement counters checked against the records
};

} // namespace corvale::db

#pragma once

#include "maintenance/DeflateCompressor.h"

#include <QList>
#include <QString>

#include <functional>

namespace corvale {

class ArchiveFile;

struct ZipWriterOptions {
    int level = 6;
    // Files that fit in one piece (the shop's smaller tables and indexes)
    // take a deeper search: it gains them several times what it gains the
    // large tables of lines, for a small share of the time.
    int smallFileLevel = 7;
    DeflateCompressor::Kind compressor = DeflateCompressor::Kind::Fastest;
    // Large files are cut into pieces of this size, compressed side by side
    // and joined into one deflate stream. Every cut costs a little of the
    // ratio (the next piece starts without the previous one's window).
    qint64 pieceSize = qint64(8) << 20;
    // 0: one per core.
    int threads = 0;
    // Sizes and offsets from this value on are written as ZIP64 fields; tests
    // lower it to reach the ZIP64 records without gigabytes of data.
    quint64 zip64From = 0xFFFFFFFFu;
};

// Writes a ZIP archive of files under the names given, deflated, readable by
// any unzip tool: the local headers carry the CRC and sizes (no data
// descriptors), ZIP64 records appear when an entry or the archive passes
// 4 GB. Reading, compressing and writing overlap, with a bounded number of
// pieces in memory. Failures throw ArchiveError; the old archive of the same
// name is replaced only by a complete new one.
class ZipWriter {
public:
    struct Source {
        QString path;
        QString entryName; // Latin-1, bare name
    };
    // Bytes of the files compressed so far and of all of them.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    ZipWriter();
    explicit ZipWriter(const ZipWriterOptions &options);

    void setProgress(Progress progress) { m_progress = std::move(progress); }

    void write(const QString &archive, const QList<Source> &sources);
    // The same into a file the caller provides (tests make one that fails).
    void write(ArchiveFile &out, const QList<Source> &sources);

private:
    ZipWriterOptions m_options;
    Progress m_progress;
};

} // namespace corvale

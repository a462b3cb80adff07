#include "maintenance/ZipWriter.h"

#include "maintenance/ArchiveError.h"
#include "maintenance/ArchiveFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>
#include <QtEndian>

#include <deque>
#include <exception>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace corvale {

namespace {

constexpr quint32 kLocalHeader = 0x04034B50;
constexpr quint32 kCentralHeader = 0x02014B50;
constexpr quint32 kEndOfDirectory = 0x06054B50;
constexpr quint32 kZip64EndOfDirectory = 0x06064B50;
constexpr quint32 kZip64Locator = 0x07064B50;
constexpr quint16 kZip64Extra = 0x0001;
constexpr quint16 kDeflated = 8;
constexpr quint16 kVersionDeflate = 20;
constexpr quint16 kVersionZip64 = 45;
constexpr quint32 kArchiveAttribute = 0x20; // MS-DOS "archive" bit
constexpr int kLocalHeaderSize = 30;
constexpr int kCrcOffset = 14;
constexpr quint32 kFull32 = 0xFFFFFFFFu;
constexpr quint16 kFull16 = 0xFFFF;

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

class Record {
public:
    QByteArray bytes;
    void u16(quint16 v) { bytes.append(char(v & 0xFF)).append(char(v >> 8)); }
    void u32(quint32 v) {
        u16(quint16(v & 0xFFFF));
        u16(quint16(v >> 16));
    }
    void u64(quint64 v) {
        u32(quint32(v & 0xFFFFFFFFu));
        u32(quint32(v >> 32));
    }
};

struct Entry {
    QByteArray name;
    quint16 time = 0;
    quint16 date = 0;
    quint32 crc = 0;
    quint64 compressed = 0;
    quint64 size = 0;
    quint64 offset = 0;
    bool zip64Sizes = false; // the local header carries them in a ZIP64 field
    quint16 version = kVersionDeflate;
};

void setDosTime(Entry &entry, const QDateTime &when) {
    QDateTime t = when;
    if (!t.isValid() || t.date().year() < 1980)
        t = QDateTime(QDate(1980, 1, 1), QTime(0, 0));
    const QDate d = t.date();
    const QTime h = t.time();
    entry.time = quint16((h.hour() << 11) | (h.minute() << 5) | (h.second() / 2));
    entry.date = quint16(((d.year() - 1980) << 9) | (d.month() << 5) | d.day());
}

// The local header of `e`, its CRC and sizes left at zero until the entry is
// written (a ZIP64 field holds them when the file may reach the limit).
QByteArray localHeader(const Entry &e) {
    Record r;
    r.u32(kLocalHeader);
    r.u16(e.version);
    r.u16(0);
    r.u16(kDeflated);
    r.u16(e.time);
    r.u16(e.date);
    r.u32(0); // CRC and sizes: filled in once the entry is written
    r.u32(e.zip64Sizes ? kFull32 : 0);
    r.u32(e.zip64Sizes ? kFull32 : 0);
    r.u16(quint16(e.name.size()));
    r.u16(e.zip64Sizes ? 20 : 0);
    r.bytes += e.name;
    if (e.zip64Sizes) {
        r.u16(kZip64Extra);
        r.u16(16);
        r.u64(0);
        r.u64(0);
    }
    return r.bytes;
}

// The central directory's record of `e`; sizes and offset at or past `limit`
// go into a ZIP64 field.
QByteArray centralHeader(const Entry &e, quint64 limit) {
    const bool bigOffset = e.offset >= limit;
    Record extra;
    if (e.zip64Sizes) {
        extra.u64(e.size);
        extra.u64(e.compressed);
    }
    if (bigOffset)
        extra.u64(e.offset);
    Record r;
    r.u32(kCentralHeader);
    r.u16(e.version); // made by MS-DOS (0 in the high byte), as the archives always were
    r.u16(e.version);
    r.u16(0);
    r.u16(kDeflated);
    r.u16(e.time);
    r.u16(e.date);
    r.u32(e.crc);
    r.u32(e.zip64Sizes ? kFull32 : quint32(e.compressed));
    r.u32(e.zip64Sizes ? kFull32 : quint32(e.size));
    r.u16(quint16(e.name.size()));
    r.u16(quint16(extra.bytes.isEmpty() ? 0 : extra.bytes.size() + 4));
    r.u16(0);                 // comment
    r.u16(0);                 // disk
    r.u16(0);                 // internal attributes
    r.u32(kArchiveAttribute); // external attributes
    r.u32(bigOffset ? kFull32 : quint32(e.offset));
    r.bytes += e.name;
    if (!extra.bytes.isEmpty()) {
        r.u16(kZip64Extra);
        r.u16(quint16(extra.bytes.size()));
        r.bytes += extra.bytes;
    }
    return r.bytes;
}

// What follows the central directory (`size` bytes from `start`): the ZIP64
// end record and its locator when a figure does not fit the classic one, then
// the classic end record.
QByteArray endOfDirectory(quint64 count, quint64 start, quint64 size, quint64 limit) {
    Record r;
    if (count >= kFull16 || start >= limit || size >= limit) {
        const quint64 recordStart = start + size;
        r.u32(kZip64EndOfDirectory);
        r.u64(44); // what follows this field
        r.u16(kVersionZip64);
        r.u16(kVersionZip64);
        r.u32(0);
        r.u32(0);
        r.u64(count);
        r.u64(count);
        r.u64(size);
        r.u64(start);
        r.u32(kZip64Locator);
        r.u32(0);
        r.u64(recordStart);
        r.u32(1);
    }
    r.u32(kEndOfDirectory);
    r.u16(0);
    r.u16(0);
    r.u16(count >= kFull16 ? kFull16 : quint16(count));
    r.u16(count >= kFull16 ? kFull16 : quint16(count));
    r.u32(size >= limit ? kFull32 : quint32(size));
    r.u32(start >= limit ? kFull32 : quint32(start));
    r.u16(0);
    return r.bytes;
}

// Compressors are costly to set up: the pieces' jobs share a few of each level.
class CompressorPool {
public:
    explicit CompressorPool(DeflateCompressor::Kind kind)
        : m_kind(kind) {}

    std::unique_ptr<DeflateCompressor> take(int level) {
        {
            std::lock_guard lock(m_mutex);
            auto &free = m_free[level];
            if (!free.empty()) {
                auto compressor = std::move(free.back());
                free.pop_back();
                return compressor;
            }
        }
        return DeflateCompressor::make(m_kind, level);
    }
    void give(int level, std::unique_ptr<DeflateCompressor> compressor) {
        std::lock_guard lock(m_mutex);
        m_free[level].push_back(std::move(compressor));
    }

private:
    DeflateCompressor::Kind m_kind;
    std::mutex m_mutex;
    std::map<int, std::vector<std::unique_ptr<DeflateCompressor>>> m_free;
};

struct Pending {
    int entry = 0;
    bool first = false;
    bool last = false;
    qint64 length = 0;
    std::future<DeflateCompressor::Piece> piece;
};

} // namespace

ZipWriter::ZipWriter() = default;

ZipWriter::ZipWriter(const ZipWriterOptions &options)
    : m_options(options) {}

void ZipWriter::write(const QString &archive, const QList<Source> &sources) {
    ArchiveFile out(archive);
    write(out, sources);
}

void ZipWriter::write(ArchiveFile &out, const QList<Source> &sources) {
    const QString archive = out.target();
    const quint64 limit = m_options.zip64From;
    auto fail = [&](const QString &text) {
        out.discard();
        throw ArchiveError(text);
    };
    auto writeFailed = [&] {
        fail(QStringLiteral("Impossibile scrivere l'archivio %1.").arg(native(archive)));
    };
    if (!out.create())
        fail(QStringLiteral("Impossibile scrivere nella cartella %1.")
                 .arg(native(QFileInfo(archive).absolutePath())));

    qint64 total = 0;
    for (const Source &s : sources)
        total += QFileInfo(s.path).size();
    qint64 done = 0;
    if (m_progress)
        m_progress(done, total);

    const int threads = m_options.threads > 0 ? m_options.threads : QThread::idealThreadCount();
    const size_t inFlight = size_t(2 * std::max(threads, 1) + 1);
    // Declared in this order so that, on a throw, the pool waits for every
    // job before the compressors the jobs use go away.
    CompressorPool compressors(m_options.compressor);
    QThreadPool pool;
    pool.setMaxThreadCount(std::max(threads, 1));
    std::deque<Pending> queue;
    std::vector<Entry> entries;
    entries.reserve(size_t(sources.size()));

    auto put = [&](const QByteArray &bytes) {
        if (!out.write(bytes.constData(), bytes.size()))
            writeFailed();
    };
    auto finishEntry = [&](const Entry &e, const QString &path) {
        if (!e.zip64Sizes && (e.size >= limit || e.compressed >= limit))
            fail(QStringLiteral("Il file %1 è cambiato durante il salvataggio.").arg(native(path)));
        Record r;
        r.u32(e.crc);
        if (!e.zip64Sizes) {
            r.u32(quint32(e.compressed));
            r.u32(quint32(e.size));
            if (!out.writeAt(qint64(e.offset) + kCrcOffset, r.bytes))
                writeFailed();
            return;
        }
        Record sizes;
        sizes.u64(e.size);
        sizes.u64(e.compressed);
        if (!out.writeAt(qint64(e.offset) + kCrcOffset, r.bytes) ||
            !out.writeAt(qint64(e.offset) + kLocalHeaderSize + e.name.size() + 4, sizes.bytes))
            writeFailed();
    };
    auto writeFront = [&] {
        Pending p = std::move(queue.front());
        queue.pop_front();
        Entry &e = entries[size_t(p.entry)];
        const QString &path = sources[p.entry].path;
        DeflateCompressor::Piece piece;
        try {
            piece = p.piece.get();
        } catch (const std::exception &error) {
            fail(QStringLiteral("Impossibile comprimere il file %1 (%2).")
                     .arg(native(path), QString::fromLocal8Bit(error.what())));
        }
        if (p.first) {
            e.offset = quint64(out.size());
            if (e.zip64Sizes || e.offset >= limit)
                e.version = kVersionZip64;
            put(localHeader(e));
        }
        put(piece.deflated);
        e.crc = p.first ? piece.crc : DeflateCompressor::combineCrc(e.crc, piece.crc, p.length);
        e.compressed += quint64(piece.deflated.size());
        e.size += quint64(p.length);
        if (p.last)
            finishEntry(e, path);
        done += p.length;
        if (m_progress)
            m_progress(done, total);
    };

    for (int i = 0; i < sources.size(); ++i) {
        const Source &source = sources[i];
        QFile in(source.path);
        if (!in.open(QIODevice::ReadOnly))
            fail(QStringLiteral("Impossibile leggere il file %1.").arg(native(source.path)));
        Entry entry;
        entry.name = source.entryName.toLatin1();
        setDosTime(entry, QFileInfo(source.path).lastModified());
        // What the file is expected to hold decides the local header's
        // layout; the margin covers deflate's growth on data that does
        // not compress.
        const quint64 expected = quint64(in.size());
        entry.zip64Sizes = expected + expected / 1024 + 1024 >= limit;
        const int level =
            qint64(expected) <= m_options.pieceSize ? m_options.smallFileLevel : m_options.level;
        entries.push_back(entry);
        bool first = true;
        for (;;) {
            const QByteArray chunk = in.read(m_options.pieceSize);
            if (in.error() != QFileDevice::NoError)
                fail(QStringLiteral("Impossibile leggere il file %1.").arg(native(source.path)));
            const bool last = chunk.size() < m_options.pieceSize || in.atEnd();
            auto promise = std::make_shared<std::promise<DeflateCompressor::Piece>>();
            queue.push_back(Pending{i, first, last, chunk.size(), promise->get_future()});
            pool.start([promise, chunk, last, level, &compressors] {
                try {
                    auto compressor = compressors.take(level);
                    promise->set_value(compressor->compress(chunk, last));
                    compressors.give(level, std::move(compressor));
                } catch (...) {
                    promise->set_exception(std::current_exception());
                }
            });
            while (queue.size() >= inFlight)
                writeFront();
            first = false;
            if (last)
                break;
        }
    }
    while (!queue.empty())
        writeFront();

    const quint64 directoryStart = quint64(out.size());
    for (const Entry &e : entries)
        put(centralHeader(e, limit));
    const quint64 directorySize = quint64(out.size()) - directoryStart;
    put(endOfDirectory(entries.size(), directoryStart, directorySize, limit));

    if (!out.commit())
        writeFailed();
}

} // namespace corvale

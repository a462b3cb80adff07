#include "maintenance/ArchiveDirectory.h"

#include "maintenance/ArchiveError.h"

#include <QDir>
#include <QIODevice>
#include <QSet>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace corvale {

namespace {

constexpr quint32 kLocal = 0x04034B50;
constexpr quint32 kCentral = 0x02014B50;
constexpr quint32 kEnd = 0x06054B50;
constexpr quint32 kEnd64 = 0x06064B50;
constexpr quint32 kLocator64 = 0x07064B50;
constexpr quint32 kDescriptor = 0x08074B50;
constexpr quint64 kEndSize = 22;
constexpr quint64 kLocatorSize = 20;
constexpr quint64 kEnd64Size = 56;
constexpr int kCentralSize = 46;
constexpr quint64 kLocalSize = 30;
constexpr quint64 kMaxComment = 0xFFFF;
constexpr quint16 kZip64Extra = 0x0001;
constexpr quint32 kMax32 = 0xFFFFFFFF;
constexpr quint16 kMax16 = 0xFFFF;
// Deflate cannot shrink data by more than this: a larger declared size is a lie.
constexpr quint64 kMaxDeflateRatio = 1032;
// A central directory larger than this is no copy of a data folder.
constexpr quint64 kMaxDirectory = 64 * 1024 * 1024;
constexpr qint64 kChunk = 256 * 1024;

quint16 u16(const QByteArray &b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 u32(const QByteArray &b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint64 u64(const QByteArray &b, qsizetype at) {
    return qFromLittleEndian<quint64>(b.constData() + at);
}

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// Bounds-checked reads of the archive; every fault is a refusal of the archive.
class Reader {
public:
    Reader(QIODevice &device, const QString &archive)
        : m_device(device)
        , m_archive(archive)
        , m_size(quint64(std::max<qint64>(device.size(), 0))) {}

    quint64 size() const { return m_size; }

    [[noreturn]] void refuse(const QString &why) const {
        throw ArchiveError(QStringLiteral("L'archivio %1 non è un archivio valido (%2): "
                                          "ripristino annullato, nulla è stato modificato.")
                               .arg(native(m_archive), why));
    }

    QByteArray at(quint64 offset, quint64 length) const {
        if (offset > m_size || length > m_size - offset)
            refuse(QStringLiteral("finisce prima del previsto"));
        if (!m_device.seek(qint64(offset)))
            refuse(QStringLiteral("non si può leggere"));
        const QByteArray bytes = m_device.read(qint64(length));
        if (quint64(bytes.size()) != length)
            refuse(QStringLiteral("non si può leggere"));
        return bytes;
    }

private:
    QIODevice &m_device;
    const QString &m_archive;
    quint64 m_size;
};

QString quoted(const QByteArray &name) {
    return u'"' + ArchiveDirectory::printable(name) + u'"';
}

// The ZIP64 values of an extra field: each 64-bit value present only where its
// 32-bit field is at its maximum, in the order the format gives. False when
// the field lacks one that is needed or is malformed.
bool readZip64(const QByteArray &extra, const QList<quint64 *> &wanted) {
    qsizetype pos = 0;
    bool found = false;
    QByteArray data;
    while (pos < extra.size()) {
        if (extra.size() - pos < 4)
            return false;
        const quint16 id = u16(extra, pos);
        const quint16 length = u16(extra, pos + 2);
        if (extra.size() - pos - 4 < length)
            return false;
        if (id == kZip64Extra) {
            if (found)
                return false;
            found = true;
            data = extra.mid(pos + 4, length);
        }
        pos += 4 + length;
    }
    if (wanted.isEmpty())
        return true;
    if (!found || data.size() < 8 * wanted.size())
        return false;
    for (int i = 0; i < wanted.size(); ++i)
        *wanted[i] = u64(data, 8 * i);
    return true;
}

using Entry = ArchiveDirectory::Entry;

// Where the central directory lies and how many entries it holds, as the end
// records declare it; refused unless it ends where they are.
struct DirectoryPlace {
    quint64 count = 0;
    quint64 size = 0;
    quint64 offset = 0;
};

DirectoryPlace locateDirectory(const Reader &in) {
    const quint64 size = in.size();
    if (size < kEndSize)
        in.refuse(QStringLiteral("troppo corto"));

    // The end-of-directory record is the last one whose comment reaches the
    // end of the file exactly: bytes appended after an archive leave none.
    const quint64 span = std::min(size, kEndSize + kMaxComment);
    const QByteArray tail = in.at(size - span, span);
    qint64 endAt = -1;
    for (qint64 i = qint64(span - kEndSize); i >= 0; --i) {
        if (u32(tail, i) == kEnd && quint64(i) + kEndSize + u16(tail, i + 20) == span) {
            endAt = qint64(size - span) + i;
            break;
        }
    }
    if (endAt < 0)
        in.refuse(QStringLiteral("manca la fine della directory centrale"));
    const QByteArray end = in.at(quint64(endAt), kEndSize);
    const quint16 disk = u16(end, 4);
    const quint16 directoryDisk = u16(end, 6);
    const quint16 entriesOnDisk = u16(end, 8);
    quint64 count = u16(end, 10);
    quint64 directorySize = u32(end, 12);
    quint64 directoryOffset = u32(end, 16);
    if (disk != 0 || directoryDisk != 0 || entriesOnDisk != count)
        in.refuse(QStringLiteral("archivio diviso su più dischi"));

    quint64 directoryEnd = quint64(endAt);
    const bool hasLocator = quint64(endAt) >= kLocatorSize &&
                            u32(in.at(quint64(endAt) - kLocatorSize, 4), 0) == kLocator64;
    if (hasLocator) {
        const quint64 locatorAt = quint64(endAt) - kLocatorSize;
        const QByteArray locator = in.at(locatorAt, kLocatorSize);
        const quint64 recordAt = u64(locator, 8);
        const quint32 disks = u32(locator, 16);
        if (u32(locator, 4) != 0 || disks > 1 || recordAt > locatorAt ||
            locatorAt - recordAt < kEnd64Size)
            in.refuse(QStringLiteral("record ZIP64 non validi"));
        const QByteArray record = in.at(recordAt, kEnd64Size);
        // The record ends where the locator begins: nothing hides between them.
        if (u32(record, 0) != kEnd64 || u64(record, 4) != locatorAt - recordAt - 12 ||
            u32(record, 16) != 0 || u32(record, 20) != 0 || u64(record, 24) != u64(record, 32))
            in.refuse(QStringLiteral("record ZIP64 non validi"));
        const quint64 count64 = u64(record, 32);
        const quint64 size64 = u64(record, 40);
        const quint64 offset64 = u64(record, 48);
        // Where the short record holds a value, it must be the same one.
        if ((count != kMax16 && count != count64) ||
            (directorySize != kMax32 && directorySize != size64) ||
            (directoryOffset != kMax32 && directoryOffset != offset64))
            in.refuse(QStringLiteral("record ZIP64 non validi"));
        count = count64;
        directorySize = size64;
        directoryOffset = offset64;
        directoryEnd = recordAt;
    } else if (count == kMax16 || directorySize == kMax32 || directoryOffset == kMax32) {
        in.refuse(QStringLiteral("record ZIP64 mancanti"));
    }
    // Data before the first entry (an archive appended to another file) or a
    // directory cut short leave the directory elsewhere than declared.
    if (directoryOffset > directoryEnd || directorySize != directoryEnd - directoryOffset)
        in.refuse(QStringLiteral("la directory centrale non è dove l'archivio la dichiara"));
    if (directorySize > kMaxDirectory || count > directorySize / kCentralSize)
        in.refuse(QStringLiteral("la directory centrale è incompleta"));

    return DirectoryPlace{count, directorySize, directoryOffset};
}

// The entries of the central directory at `place`, each checked on its own
// (name, type, method, sizes) and together (no name twice, within `sizeBudget`).
QList<Entry> readCentralDirectory(const Reader &in, const DirectoryPlace &place,
                                  quint64 sizeBudget) {
    const QByteArray directory = in.at(place.offset, place.size);
    QList<Entry> entries;
    QSet<QString> seen;
    quint64 declared = 0;
    qsizetype pos = 0;
    for (quint64 n = 0; n < place.count; ++n) {
        if (directory.size() - pos < kCentralSize || u32(directory, pos) != kCentral)
            in.refuse(QStringLiteral("la directory centrale è incompleta"));
        const quint16 madeBy = u16(directory, pos + 4);
        Entry e;
        e.flags = u16(directory, pos + 8);
        e.method = u16(directory, pos + 10);
        e.crc32 = u32(directory, pos + 16);
        e.compressedSize = u32(directory, pos + 20);
        e.size = u32(directory, pos + 24);
        const quint16 nameLength = u16(directory, pos + 28);
        const quint16 extraLength = u16(directory, pos + 30);
        const quint16 commentLength = u16(directory, pos + 32);
        quint64 startDisk = u16(directory, pos + 34);
        const quint32 external = u32(directory, pos + 38);
        e.localOffset = u32(directory, pos + 42);
        if (directory.size() - pos - kCentralSize < nameLength + extraLength + commentLength)
            in.refuse(QStringLiteral("la directory centrale è incompleta"));
        e.name = directory.mid(pos + kCentralSize, nameLength);
        const QByteArray extra = directory.mid(pos + kCentralSize + nameLength, extraLength);
        pos += kCentralSize + nameLength + extraLength + commentLength;

        QList<quint64 *> wide;
        if (e.size == kMax32)
            wide << &e.size;
        if (e.compressedSize == kMax32)
            wide << &e.compressedSize;
        if (e.localOffset == kMax32)
            wide << &e.localOffset;
        quint64 wideDisk = 0;
        if (startDisk == kMax16)
            wide << &wideDisk;
        if (!readZip64(extra, wide))
            in.refuse(QStringLiteral("record ZIP64 non validi per il file %1").arg(quoted(e.name)));
        if (startDisk == kMax16)
            startDisk = wideDisk & kMax32; // four bytes, read as part of eight
        if (startDisk != 0)
            in.refuse(QStringLiteral("archivio diviso su più dischi"));

        if (!ArchiveDirectory::isSafeName(e.name))
            in.refuse(QStringLiteral("il nome %1 non è ammesso").arg(quoted(e.name)));
        // Two names that a Windows disk takes for one are one file twice.
        const QString folded = QString::fromLatin1(e.name).toUpper();
        if (seen.contains(folded))
            in.refuse(QStringLiteral("il file %1 compare due volte").arg(quoted(e.name)));
        seen.insert(folded);
        constexpr quint32 kFileType = 0170000;
        constexpr quint32 kRegular = 0100000;
        const quint32 unixType = (external >> 16) & kFileType;
        if (((madeBy >> 8) == 3 && unixType != 0 && unixType != kRegular) || (external & 0x10))
            in.refuse(QStringLiteral("%1 non è un file ma un collegamento o una cartella")
                          .arg(quoted(e.name)));
        if (e.flags & 0x41)
            in.refuse(QStringLiteral("il file %1 è cifrato").arg(quoted(e.name)));
        if (e.method != 0 && e.method != 8)
            in.refuse(QStringLiteral("il file %1 è compresso con un metodo non gestito")
                          .arg(quoted(e.name)));
        if ((e.method == 0 && e.size != e.compressedSize) ||
            (e.method == 8 &&
             e.compressedSize < std::numeric_limits<quint64>::max() / kMaxDeflateRatio &&
             e.size > e.compressedSize * kMaxDeflateRatio))
            in.refuse(
                QStringLiteral("il file %1 dichiara dimensioni impossibili").arg(quoted(e.name)));
        if (e.size > sizeBudget - std::min(declared, sizeBudget))
            in.refuse(QStringLiteral("i file estratti occuperebbero più dello spazio libero "
                                     "(%1 byte disponibili)")
                          .arg(sizeBudget));
        declared += e.size;
        entries << e;
    }
    if (pos != directory.size())
        in.refuse(QStringLiteral("la directory centrale contiene dati estranei"));

    return entries;
}

// Checks each entry's local header against the central directory and sets
// where its data starts.
void checkLocalHeaders(const Reader &in, QList<Entry> &entries, const DirectoryPlace &place) {
    // The local headers, in file order, must tile the file from its first byte
    // to the central directory: no entry hidden from the central directory,
    // none shared by two of its entries.
    QList<Entry *> byOffset;
    for (Entry &e : entries)
        byOffset << &e;
    std::sort(byOffset.begin(), byOffset.end(),
              [](const Entry *a, const Entry *b) { return a->localOffset < b->localOffset; });
    quint64 expected = 0;
    for (Entry *e : byOffset) {
        if (e->localOffset != expected)
            in.refuse(
                e->localOffset > expected
                    ? QStringLiteral("contiene dati non elencati nella directory centrale")
                    : QStringLiteral("il file %1 si sovrappone a un altro").arg(quoted(e->name)));
        if (e->localOffset > place.offset || place.offset - e->localOffset < kLocalSize)
            in.refuse(
                QStringLiteral("manca l'intestazione locale del file %1").arg(quoted(e->name)));
        const QByteArray local = in.at(e->localOffset, kLocalSize);
        if (u32(local, 0) != kLocal)
            in.refuse(
                QStringLiteral("manca l'intestazione locale del file %1").arg(quoted(e->name)));
        const quint16 localFlags = u16(local, 6);
        const quint16 nameLength = u16(local, 26);
        const quint16 extraLength = u16(local, 28);
        const quint64 headerEnd = e->localOffset + kLocalSize + nameLength + extraLength;
        if (headerEnd > place.offset)
            in.refuse(
                QStringLiteral("manca l'intestazione locale del file %1").arg(quoted(e->name)));
        const QByteArray localName = in.at(e->localOffset + kLocalSize, nameLength);
        if (localName != e->name)
            in.refuse(QStringLiteral("il file %1 ha un altro nome nell'intestazione locale (%2)")
                          .arg(quoted(e->name), quoted(localName)));
        if (u16(local, 8) != e->method || ((localFlags ^ e->flags) & 0x49))
            in.refuse(
                QStringLiteral("il file %1 è descritto in due modi diversi").arg(quoted(e->name)));
        const bool descriptor = e->flags & 0x08;
        if (!descriptor) {
            quint64 localCompressed = u32(local, 18);
            quint64 localSize = u32(local, 22);
            if (localCompressed == kMax32 || localSize == kMax32) {
                QList<quint64 *> wide{&localSize, &localCompressed};
                if (!readZip64(in.at(headerEnd - extraLength, extraLength), wide))
                    in.refuse(QStringLiteral("record ZIP64 non validi per il file %1")
                                  .arg(quoted(e->name)));
            }
            if (u32(local, 14) != e->crc32 || localCompressed != e->compressedSize ||
                localSize != e->size)
                in.refuse(QStringLiteral("il file %1 è descritto in due modi diversi")
                              .arg(quoted(e->name)));
        }
        e->dataOffset = headerEnd;
        if (e->compressedSize > place.offset - headerEnd)
            in.refuse(QStringLiteral("il file %1 va oltre la fine dei dati").arg(quoted(e->name)));
        expected = headerEnd + e->compressedSize;
        if (descriptor) {
            // CRC and sizes after the data, with or without their signature,
            // in four or eight bytes each.
            const quint64 room = std::min<quint64>(place.offset - expected, 24);
            const QByteArray after = in.at(expected, room);
            qsizetype at = room >= 4 && u32(after, 0) == kDescriptor ? 4 : 0;
            const bool wide = e->size >= kMax32 || e->compressedSize >= kMax32;
            const qsizetype length = at + 4 + (wide ? 16 : 8);
            if (after.size() < length || u32(after, at) != e->crc32 ||
                (wide ? u64(after, at + 4) != e->compressedSize || u64(after, at + 12) != e->size
                      : u32(after, at + 4) != e->compressedSize || u32(after, at + 8) != e->size))
                in.refuse(QStringLiteral("il file %1 è descritto in due modi diversi")
                              .arg(quoted(e->name)));
            expected += quint64(length);
        }
    }
    if (expected != place.offset)
        in.refuse(QStringLiteral("contiene dati non elencati nella directory centrale"));
}

} // namespace

bool ArchiveDirectory::isSafeName(const QByteArray &name) {
    if (name.isEmpty() || name.startsWith('/'))
        return false;
    for (const char c : name) {
        const uchar u = uchar(c);
        // A backslash or a colon is a folder or a drive on Windows.
        if (u < 0x20 || u == 0x7F || c == '\\' || c == ':')
            return false;
    }
    for (const QByteArray &part : name.split('/'))
        if (part.isEmpty() || part == "." || part == "..")
            return false;
    return true;
}

QString ArchiveDirectory::printable(const QByteArray &name) {
    QString out;
    for (const char c : name.left(200)) {
        const uchar u = uchar(c);
        out += (u < 0x20 || u == 0x7F) ? QChar(u'?') : QChar(QLatin1Char(c));
    }
    if (name.size() > 200)
        out += QStringLiteral("...");
    return out;
}

QList<ArchiveDirectory::Entry>
ArchiveDirectory::read(QIODevice &archive, const QString &displayName, quint64 sizeBudget) {
    const Reader in(archive, displayName);
    const DirectoryPlace place = locateDirectory(in);
    QList<Entry> entries = readCentralDirectory(in, place, sizeBudget);
    checkLocalHeaders(in, entries, place);
    return entries;
}

void ArchiveDirectory::extract(QIODevice &archive, const Entry &entry, QIODevice &out,
                               const QString &displayName) {
    auto damaged = [&](const QString &why) {
        return ArchiveError(QStringLiteral("L'archivio %1 è danneggiato: il file %2 non si può "
                                           "leggere (%3).")
                                .arg(native(displayName), printable(entry.name), why));
    };
    auto written = [&](const char *data, qint64 length) {
        if (out.write(data, length) != length)
            throw ArchiveError(
                QStringLiteral("Impossibile scrivere il file %1.").arg(printable(entry.name)));
    };
    if (!archive.seek(qint64(entry.dataOffset)))
        throw damaged(QStringLiteral("lunghezza errata"));
    quint64 remaining = entry.compressedSize;
    quint64 total = 0;
    uLong crc = crc32(0L, Z_NULL, 0);
    QByteArray input(kChunk, Qt::Uninitialized);
    auto readSome = [&]() -> qint64 {
        const qint64 want = qint64(std::min<quint64>(remaining, quint64(kChunk)));
        const qint64 got = archive.read(input.data(), want);
        if (got != want)
            throw damaged(QStringLiteral("lunghezza errata"));
        remaining -= quint64(got);
        return got;
    };

    if (entry.method == 0) {
        while (remaining > 0) {
            const qint64 got = readSome();
            crc = crc32(crc, reinterpret_cast<const Bytef *>(input.constData()), uInt(got));
            written(input.constData(), got);
            total += quint64(got);
        }
    } else {
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            throw damaged(QStringLiteral("memoria insufficiente"));
        struct End {
            z_stream &z;
            ~End() { inflateEnd(&z); }
        } end{z};
        QByteArray output(kChunk, Qt::Uninitialized);
        int result = Z_OK;
        while (result != Z_STREAM_END) {
            if (z.avail_in == 0 && remaining > 0) {
                z.avail_in = uInt(readSome());
                z.next_in = reinterpret_cast<Bytef *>(input.data());
            }
            z.next_out = reinterpret_cast<Bytef *>(output.data());
            z.avail_out = uInt(output.size());
            result = inflate(&z, Z_NO_FLUSH);
            // No progress without more input: the input is all there was.
            if (result == Z_BUF_ERROR && (z.avail_in != 0 || remaining == 0))
                throw damaged(QStringLiteral("dati troncati"));
            if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
                throw damaged(QStringLiteral("dati compressi non validi"));
            const quint64 produced = quint64(output.size()) - z.avail_out;
            // Never more than declared reaches the disk, whatever the data says.
            if (produced > entry.size - total)
                throw damaged(QStringLiteral("più lungo del dichiarato"));
            crc = crc32(crc, reinterpret_cast<const Bytef *>(output.constData()), uInt(produced));
            written(output.constData(), qint64(produced));
            total += produced;
        }
        if (z.avail_in != 0 || remaining != 0)
            throw damaged(QStringLiteral("dati estranei dopo il file"));
    }
    if (total != entry.size)
        throw damaged(QStringLiteral("lunghezza errata"));
    if (crc != entry.crc32)
        throw damaged(QStringLiteral("CRC errato"));
}

} // namespace corvale

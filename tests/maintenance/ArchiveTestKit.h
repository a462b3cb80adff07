#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QString>

#include <QtEndian>

#include <zip.h>
#include <zlib.h>

#include <optional>

// Helpers of the archive tests: snapshots of a folder and hand-made archives.
namespace archivetest {

// Every file of a folder (the engine's lock aside) with its bytes.
inline QMap<QString, QByteArray> snapshot(const QString &folder) {
    QMap<QString, QByteArray> out;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (name == QLatin1String("CORVALE.LCK"))
            continue;
        QFile f(dir.filePath(name));
        f.open(QIODevice::ReadOnly);
        out.insert(name, f.readAll());
    }
    return out;
}

inline QByteArray readAll(const QString &path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

inline void writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

// An archive holding the given entries (name → bytes, stored), names written as given.
inline bool makeArchive(const QString &path, const QList<QPair<QByteArray, QByteArray>> &entries) {
    int code = 0;
    zip_t *z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!z)
        return false;
    for (const auto &[name, bytes] : entries) {
        zip_source_t *src = zip_source_buffer(z, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        const zip_int64_t index = zip_file_add(z, name.constData(), src, ZIP_FL_ENC_RAW);
        if (index < 0) {
            zip_source_free(src);
            zip_discard(z);
            return false;
        }
        // Stored as they are, so that a test can find and spoil the bytes.
        zip_set_file_compression(z, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    return zip_close(z) == 0;
}

// The exit status of an outside program, -1 when it cannot run.
inline int run(const QString &program, const QStringList &arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000))
        return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Every file under `folder`, in every subfolder, with its bytes (the engine's
// lock aside): what a test compares to show that nothing was written anywhere.
inline QMap<QString, QByteArray> tree(const QString &folder) {
    QMap<QString, QByteArray> out;
    const QDir root(folder);
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).fileName() == QLatin1String("CORVALE.LCK"))
            continue;
        out.insert(root.relativeFilePath(path), readAll(path));
    }
    return out;
}

// Archives built byte by byte, not by a ZIP library, so that their two
// directories can disagree, lie about sizes or hide entries, as a crafted file
// from outside may.
struct HandEntry {
    QByteArray name;
    QByteArray data;
    bool deflate = false;
    std::optional<QByteArray> localName; // the local header's name, when it differs
    bool localOnly = false;              // no central record
    int centralOnlyAt = -1;  // no local header: the central record points at that entry's
    quint16 madeBy = 0x0014; // MS-DOS, version 2.0
    quint32 external = 0;
    std::optional<quint32> declaredSize; // in both headers, instead of the real one
};

enum class Zip64 { None, Valid, MissingLocator, LocatorOffset, RecordLength, CountDiffers };

struct HandArchive {
    QList<HandEntry> entries;
    QByteArray prefix;    // bytes before the archive, offsets not adjusted
    QByteArray suffix;    // bytes after it
    int cutDirectory = 0; // bytes taken off the central directory's end
    Zip64 zip64 = Zip64::None;
};

inline void put16(QByteArray &b, quint16 v) {
    char bytes[2];
    qToLittleEndian(v, bytes);
    b.append(bytes, 2);
}
inline void put32(QByteArray &b, quint32 v) {
    char bytes[4];
    qToLittleEndian(v, bytes);
    b.append(bytes, 4);
}
inline void put64(QByteArray &b, quint64 v) {
    char bytes[8];
    qToLittleEndian(v, bytes);
    b.append(bytes, 8);
}

inline QByteArray rawDeflate(const QByteArray &data) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&z, uLong(data.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

inline QByteArray build(const HandArchive &a) {
    QByteArray body;
    QByteArray central;
    QList<quint32> offsets;
    int centralCount = 0;
    for (const HandEntry &e : a.entries) {
        const QByteArray stored = e.deflate ? rawDeflate(e.data) : e.data;
        const quint32 crc = quint32(
            crc32(0, reinterpret_cast<const Bytef *>(e.data.constData()), uInt(e.data.size())));
        const quint32 size = e.declaredSize.value_or(quint32(e.data.size()));
        const quint16 method = e.deflate ? 8 : 0;
        auto header = [&](QByteArray &b, const QByteArray &name) {
            put16(b, 20);
            put16(b, 0);
            put16(b, method);
            put16(b, 0);
            put16(b, 0x5A6F);
            put32(b, crc);
            put32(b, quint32(stored.size()));
            put32(b, size);
            put16(b, quint16(name.size()));
            put16(b, 0);
        };
        quint32 offset =
            e.centralOnlyAt >= 0 ? offsets.value(e.centralOnlyAt) : quint32(body.size());
        offsets << offset;
        if (e.centralOnlyAt < 0) {
            put32(body, 0x04034B50);
            const QByteArray localName = e.localName.value_or(e.name);
            header(body, localName);
            body += localName;
            body += stored;
        }
        if (e.localOnly)
            continue;
        ++centralCount;
        put32(central, 0x02014B50);
        put16(central, e.madeBy);
        header(central, e.name);
        put16(central, 0); // comment
        put16(central, 0); // disk
        put16(central, 0); // internal attributes
        put32(central, e.external);
        put32(central, offset);
        central += e.name;
    }
    const quint32 directoryOffset = quint32(body.size());
    const quint32 directorySize = quint32(central.size());
    central.chop(a.cutDirectory);
    QByteArray out = a.prefix + body + central;
    if (a.zip64 != Zip64::None) {
        const quint64 recordAt = quint64(body.size() + central.size());
        put32(out, 0x06064B50);
        put64(out, a.zip64 == Zip64::RecordLength ? 60 : 44);
        put16(out, 45);
        put16(out, 45);
        put32(out, 0);
        put32(out, 0);
        put64(out, quint64(centralCount));
        put64(out, quint64(centralCount + (a.zip64 == Zip64::CountDiffers ? 1 : 0)));
        put64(out, directorySize);
        put64(out, directoryOffset);
        if (a.zip64 != Zip64::MissingLocator) {
            put32(out, 0x07064B50);
            put32(out, 0);
            put64(out, a.zip64 == Zip64::LocatorOffset ? recordAt + 7 : recordAt);
            put32(out, 1);
        }
    }
    const bool wide = a.zip64 != Zip64::None;
    put32(out, 0x06054B50);
    put16(out, 0);
    put16(out, 0);
    put16(out, wide ? 0xFFFF : quint16(centralCount));
    put16(out, wide ? 0xFFFF : quint16(centralCount));
    put32(out, wide ? 0xFFFFFFFF : directorySize);
    put32(out, wide ? 0xFFFFFFFF : directoryOffset);
    put16(out, 0);
    return out + a.suffix;
}

} // namespace archivetest

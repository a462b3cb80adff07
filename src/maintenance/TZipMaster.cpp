#include "maintenance/TZipMaster.h"

#include "maintenance/ArchiveError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <QtEndian>

#include <zip.h>

#include <filesystem>
#include <limits>
#include <memory>

#ifdef Q_OS_UNIX
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

namespace corvale {

namespace {

constexpr quint32 kLocalHeader = 0x04034B50;
constexpr quint32 kCentralHeader = 0x02014B50;
constexpr quint32 kEndOfDirectory = 0x06054B50;
constexpr int kLocalHeaderRest = 26;
constexpr int kEndOfDirectorySize = 22;
constexpr quint32 kFull32 = 0xFFFFFFFFu;
constexpr quint16 kZip64Extra = 0x0001;

QString readError(int n) {
    // The first text has always had its capital F; the window shows them as they are.
    if (n == 1)
        return QStringLiteral("Error 1 reading Zip File");
    return QStringLiteral("Error %1 reading Zip file").arg(n);
}

QString libzipText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// libzip takes file names as the system's bytes on Unix and as UTF-8 on Windows.
QByteArray zipName(const QString &path) {
#ifdef Q_OS_WIN
    return path.toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

// Down to the disk, not only to the system's cache.
bool syncHandle(const QFile &file) {
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#elif defined(Q_OS_WIN)
    return ::_commit(file.handle()) == 0;
#else
    return true;
#endif
}

struct ZipCloser {
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipCloser>;

ZipHandle openForReading(const QString &fileName, int flags) {
    int code = 0;
    zip_t *archive = zip_open(zipName(fileName).constData(), flags | ZIP_RDONLY, &code);
    if (!archive)
        throw ArchiveError(QStringLiteral("L'archivio %1 è danneggiato o incompleto (%2).")
                               .arg(native(fileName), libzipText(code)));
    return ZipHandle(archive);
}

// Data written for a backup must be on the disk before it replaces the old copy.
bool syncFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    return syncHandle(file);
}

// The entry's compressed size; an entry past 4 GB keeps it in the ZIP64
// field of its extra data (the file is left just after the name).
qint64 compressedSize(QFile &file, const TZipMaster::ZipDirEntry &entry) {
    if (entry.compressedSize != kFull32)
        return entry.compressedSize;
    const qint64 start = file.pos();
    const QByteArray extra = file.read(entry.extraLength);
    file.seek(start);
    const auto *bytes = reinterpret_cast<const uchar *>(extra.constData());
    for (qsizetype at = 0; at + 4 <= extra.size();) {
        const quint16 id = qFromLittleEndian<quint16>(bytes + at);
        const quint16 length = qFromLittleEndian<quint16>(bytes + at + 2);
        if (id == kZip64Extra) {
            // The original size comes first when it too is out of range.
            const qsizetype field = at + 4 + (entry.uncompressedSize == kFull32 ? 8 : 0);
            if (field + 8 <= at + 4 + length && field + 8 <= extra.size())
                return qint64(qFromLittleEndian<quint64>(bytes + field) & 0x7FFFFFFFFFFFFFFFull);
            break;
        }
        at += 4 + length;
    }
    return entry.compressedSize;
}

} // namespace

void TZipMaster::setZipFilename(const QString &fileName) {
    m_fileName = fileName;
    readDirectory();
}

void TZipMaster::readDirectory() {
    m_entries.clear();
    if (m_fileName.isEmpty() || !QFileInfo(m_fileName).isFile())
        return;
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw ArchiveError(readError(1));
    const qint64 size = file.size();
    for (;;) {
        uchar signature[4];
        if (file.read(reinterpret_cast<char *>(signature), 4) != 4)
            throw ArchiveError(readError(1));
        const quint32 value = qFromLittleEndian<quint32>(signature);
        if (value == kCentralHeader || value == kEndOfDirectory)
            return;
        if (value != kLocalHeader)
            continue; // scanned four bytes at a time, as it always was
        uchar h[kLocalHeaderRest];
        if (file.read(reinterpret_cast<char *>(h), kLocalHeaderRest) != kLocalHeaderRest)
            throw ArchiveError(readError(2));
        ZipDirEntry entry;
        entry.versionNeeded = qFromLittleEndian<quint16>(h);
        entry.flags = qFromLittleEndian<quint16>(h + 2);
        entry.method = qFromLittleEndian<quint16>(h + 4);
        entry.time = qFromLittleEndian<quint16>(h + 6);
        entry.date = qFromLittleEndian<quint16>(h + 8);
        entry.crc32 = qFromLittleEndian<quint32>(h + 10);
        entry.compressedSize = qFromLittleEndian<quint32>(h + 14);
        entry.uncompressedSize = qFromLittleEndian<quint32>(h + 18);
        entry.nameLength = qFromLittleEndian<quint16>(h + 22);
        entry.extraLength = qFromLittleEndian<quint16>(h + 24);
        // The whole name is read, however long: a restore must see it to refuse it.
        entry.name = file.read(entry.nameLength);
        if (entry.name.size() != entry.nameLength)
            throw ArchiveError(readError(2));
        m_entries << entry;
        const qint64 afterName = file.pos();
        const qint64 compressed = compressedSize(file, entry);
        if (afterName + entry.extraLength + compressed > size - kEndOfDirectorySize)
            throw ArchiveError(readError(3));
        if (!file.seek(afterName + entry.extraLength))
            throw ArchiveError(readError(4));
        if (!file.seek(afterName + entry.extraLength + compressed))
            throw ArchiveError(readError(5));
    }
}

void TZipMaster::AddFiles(const QList<Source> &sources, OldEntries oldEntries) {
    m_handled = 0;
    if (sources.isEmpty())
        return;
    const QFileInfo target(m_fileName);
    QTemporaryFile reserve(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                           QStringLiteral(".XXXXXX"));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        throw ArchiveError(QStringLiteral("Impossibile scrivere nella cartella %1.")
                               .arg(native(target.absolutePath())));
    const QString temporary = reserve.fileName();
    reserve.close();
    // libzip creates the name it was given: on Windows it cannot put its finished file
    // over one it holds open, which it does with an existing (even empty) archive.
    QFile::remove(temporary);
    auto fail = [&](const QString &text) {
        QFile::remove(temporary);
        throw ArchiveError(text);
    };

    int code = 0;
    ZipHandle out(zip_open(zipName(temporary).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code));
    if (!out)
        fail(QStringLiteral("Impossibile creare l'archivio %1 (%2).")
                 .arg(native(m_fileName), libzipText(code)));

    QSet<QString> replaced;
    for (const Source &s : sources)
        replaced.insert(s.entryName);

    // The old archive must stay open until the new one is closed: its entries
    // are read from it while the new one is written.
    ZipHandle old;
    if (target.isFile() && oldEntries == OldEntries::Kept) {
        try {
            old = openForReading(m_fileName, 0);
        } catch (const ArchiveError &e) {
            fail(e.message());
        }
        const zip_int64_t count = zip_get_num_entries(old.get(), 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            const char *raw = zip_get_name(old.get(), zip_uint64_t(i), ZIP_FL_ENC_RAW);
            if (!raw || replaced.contains(QString::fromLatin1(raw)))
                continue;
            zip_source_t *src = zip_source_zip(out.get(), old.get(), zip_uint64_t(i), 0, 0, -1);
            const zip_int64_t index = src ? zip_file_add(out.get(), raw, src, ZIP_FL_ENC_RAW) : -1;
            if (index < 0) {
                if (src)
                    zip_source_free(src);
                fail(QStringLiteral("Impossibile copiare %1 dall'archivio %2 (%3).")
                         .arg(QString::fromLatin1(raw), native(m_fileName),
                              QString::fromUtf8(zip_strerror(out.get()))));
            }
            zip_set_file_compression(out.get(), zip_uint64_t(index), ZIP_CM_DEFLATE,
                                     zip_uint32_t(AddCompLevel));
        }
    }

    for (const Source &s : sources) {
        zip_source_t *src = zip_source_file(out.get(), zipName(s.path).constData(), 0, -1);
        const QByteArray name = s.entryName.toLatin1();
        const zip_int64_t index =
            src ? zip_file_add(out.get(), name.constData(), src, ZIP_FL_OVERWRITE) : -1;
        if (index < 0) {
            if (src)
                zip_source_free(src);
            fail(QStringLiteral("Impossibile leggere il file %1 (%2).")
                     .arg(native(s.path), QString::fromUtf8(zip_strerror(out.get()))));
        }
        zip_set_file_compression(out.get(), zip_uint64_t(index), ZIP_CM_DEFLATE,
                                 zip_uint32_t(AddCompLevel));
    }

    if (zip_close(out.get()) != 0) {
        const QString why = QString::fromUtf8(zip_strerror(out.get()));
        fail(QStringLiteral("Impossibile scrivere l'archivio %1 (%2).")
                 .arg(native(m_fileName), why));
    }
    out.release(); // closed: zip_close freed it
    old.reset();

    if (!syncFile(temporary))
        fail(QStringLiteral("Impossibile scrivere l'archivio %1.").arg(native(m_fileName)));
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temporary.toStdU16String()),
                            std::filesystem::path(m_fileName.toStdU16String()), error);
    if (error)
        fail(QStringLiteral("Impossibile sostituire l'archivio %1 (%2).")
                 .arg(native(m_fileName), QString::fromLocal8Bit(error.message())));
    m_handled = int(sources.size());
    readDirectory();
}

QList<ArchiveDirectory::Entry> TZipMaster::checkedEntries(quint64 sizeBudget) const {
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw ArchiveError(readError(1));
    return ArchiveDirectory::read(file, m_fileName, sizeBudget);
}

void TZipMaster::ExtractFiles(const QString &folder) {
    m_handled = 0;
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw ArchiveError(readError(1));
    // Whoever calls, the directory is checked whole before the first byte is
    // written: no name leads outside `folder`, no entry claims more than the
    // free space, and nothing is written that the directory does not declare.
    const QStorageInfo disk(folder);
    const quint64 budget = disk.isValid() && disk.bytesAvailable() >= 0
                               ? quint64(disk.bytesAvailable())
                               : std::numeric_limits<quint64>::max();
    const QList<ArchiveDirectory::Entry> entries = ArchiveDirectory::read(file, m_fileName, budget);
    for (const ArchiveDirectory::Entry &entry : entries) {
        QFile out(QDir(folder).filePath(QString::fromLatin1(entry.name)));
        QDir().mkpath(QFileInfo(out.fileName()).absolutePath());
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw ArchiveError(
                QStringLiteral("Impossibile scrivere il file %1.").arg(native(out.fileName())));
        ArchiveDirectory::extract(file, entry, out, m_fileName);
        if (!out.flush())
            throw ArchiveError(
                QStringLiteral("Impossibile scrivere il file %1.").arg(native(out.fileName())));
        if (!syncHandle(out))
            throw ArchiveError(
                QStringLiteral("Impossibile scrivere il file %1.").arg(native(out.fileName())));
        ++m_handled;
    }
}

} // namespace corvale

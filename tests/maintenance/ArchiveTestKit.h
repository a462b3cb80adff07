#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QString>

#include <zip.h>

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

} // namespace archivetest

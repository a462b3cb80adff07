#include "maintenance/DataFolderRestore.h"

#include "db/Database.h"
#include "maintenance/ArchiveContents.h"
#include "maintenance/ArchiveError.h"
#include "maintenance/DatabasePause.h"
#include "maintenance/TZipMaster.h"
#include "shell/Shop.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <filesystem>

namespace corvale {

namespace {

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// An entry name is taken only when it is exactly one of the files a save
// writes: no folder part, no "..", no drive or root, nothing unknown.
void vetNames(const QString &archive, const QStringList &names) {
    QSet<QString> seen;
    for (const QString &name : names) {
        if (!ArchiveContents::isKnownEntry(name))
            throw ArchiveError(QStringLiteral("L'archivio %1 contiene \"%2\", che non è un file "
                                              "dei dati: ripristino annullato, nulla è stato "
                                              "modificato.")
                                   .arg(native(archive), name));
        if (seen.contains(name))
            throw ArchiveError(QStringLiteral("L'archivio %1 contiene due volte \"%2\": "
                                              "ripristino annullato, nulla è stato modificato.")
                                   .arg(native(archive), name));
        seen.insert(name);
    }
}

bool moveFolder(const QString &from, const QString &to) {
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), error);
    return !error;
}

QString unusedName(const QString &base, const QString &suffix) {
    QString candidate = base + suffix;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = base + QStringLiteral("-%1").arg(n) + suffix;
    return candidate;
}

} // namespace

DataFolderRestore::DataFolderRestore(Shop &shop)
    : m_shop(shop) {}

const QString &DataFolderRestore::noEntriesText() {
    static const QString text = QStringLiteral("Errore - non ci sono files nell'archivio.");
    return text;
}

DataFolderRestore::Report DataFolderRestore::ripristina(const QString &archive) {
    DatabasePause pause(m_shop);
    pause.keepClosed();

    TZipMaster zip;
    zip.setZipFilename(archive);
    if (zip.EntryCount() == 0)
        throw ArchiveError(noEntriesText());
    QStringList localNames;
    for (const TZipMaster::ZipDirEntry &e : zip.entries())
        localNames << QString::fromLatin1(e.name);
    vetNames(archive, localNames);
    // The central directory is what extraction follows: it must name the same files.
    const QStringList centralNames = zip.centralNames();
    vetNames(archive, centralNames);

    const QString dataPath = QDir::cleanPath(m_shop.folder().dataPath());
    const QString root = QFileInfo(dataPath).absolutePath();
    const QString staging = unusedName(dataPath, QStringLiteral(".ripristino"));
    QDir stagingDir(staging);
    auto discardStaging = [&] { stagingDir.removeRecursively(); };
    if (!QDir().mkpath(staging))
        throw ArchiveError(
            QStringLiteral("Impossibile scrivere nella cartella %1.").arg(native(root)));
    try {
        zip.ExtractFiles(staging);
    } catch (...) {
        discardStaging();
        throw;
    }

    Report report;
    report.handled = zip.HandledCount();
    const QString settingsName = ArchiveContents::settingsEntry();
    const bool hasSettings = QFileInfo(stagingDir.filePath(settingsName)).isFile();

    // Files of the data folder that the archive does not hold stay as they are.
    const QDir data(dataPath);
    const bool hadData = data.exists();
    if (hadData) {
        const QStringList present = data.entryList(QDir::Files | QDir::Hidden);
        for (const QString &name : present) {
            if (name.compare(QStringLiteral("CORVALE.LCK"), Qt::CaseInsensitive) == 0 ||
                centralNames.contains(name.toUpper()))
                continue;
            if (!QFile::copy(data.filePath(name), stagingDir.filePath(name))) {
                discardStaging();
                throw ArchiveError(QStringLiteral("Impossibile copiare il file %1.")
                                       .arg(native(data.filePath(name))));
            }
        }
    }
    QString newSettings;
    if (hasSettings) {
        newSettings = QDir(root).filePath(QStringLiteral(".Dati.ini.ripristino"));
        QFile::remove(newSettings);
        if (!QFile::rename(stagingDir.filePath(settingsName), newSettings)) {
            discardStaging();
            throw ArchiveError(
                QStringLiteral("Impossibile scrivere nella cartella %1.").arg(native(root)));
        }
    }

    // From here on the old folder is kept whole under the archive folder.
    const QString archiveFolder = m_shop.folder().archivePath();
    QDir().mkpath(archiveFolder);
    const QString stamp = m_shop.clock().now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString keptBase =
        QDir(archiveFolder).filePath(QStringLiteral("DATI-PRIMA-DEL-RIPRISTINO-") + stamp);
    if (hadData) {
        report.keptFolder = unusedName(keptBase, {});
        if (!moveFolder(dataPath, report.keptFolder)) {
            discardStaging();
            QFile::remove(newSettings);
            throw ArchiveError(QStringLiteral("Impossibile spostare la cartella dei dati %1 in "
                                              "%2: ripristino annullato, nulla è stato "
                                              "modificato.")
                                   .arg(native(dataPath), native(report.keptFolder)));
        }
    }
    if (!moveFolder(staging, dataPath)) {
        // Put the old folder back: a program folder without data would start empty.
        if (hadData)
            moveFolder(report.keptFolder, dataPath);
        discardStaging();
        QFile::remove(newSettings);
        throw ArchiveError(QStringLiteral("Impossibile creare la cartella dei dati %1: "
                                          "ripristino annullato, nulla è stato modificato.")
                               .arg(native(dataPath)));
    }

    if (hasSettings) {
        const QString ini = m_shop.folder().iniPath();
        if (QFileInfo(ini).isFile()) {
            report.keptSettings = unusedName(keptBase, QStringLiteral(".INI"));
            QFile::copy(ini, report.keptSettings);
        }
        std::error_code error;
        std::filesystem::rename(std::filesystem::path(newSettings.toStdU16String()),
                                std::filesystem::path(ini.toStdU16String()), error);
        if (error)
            throw ArchiveError(QStringLiteral("I dati sono stati ripristinati, ma non il file "
                                              "%1 (%2).")
                                   .arg(native(ini), QString::fromLocal8Bit(error.message())));
    }
    return report;
}

QString DataFolderRestore::successText(const Report &report) {
    QString text = QStringLiteral("Recupero Dati Effettuato con Successo!\rEstratti ") +
                   QString::number(report.handled) + QStringLiteral(" Files!") + u'\r' +
                   QStringLiteral("E' necessario riavviare il programma");
    if (!report.keptFolder.isEmpty())
        text += QStringLiteral("\r\rI dati sostituiti sono conservati in:\r") +
                native(report.keptFolder);
    if (!report.keptSettings.isEmpty())
        text += u'\r' + native(report.keptSettings);
    return text;
}

} // namespace corvale

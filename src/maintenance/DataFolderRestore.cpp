#include "maintenance/DataFolderRestore.h"

#include "db/Database.h"
#include "db/Error.h"
#include "db/FileSystem.h"
#include "db/Table.h"
#include "db/TableChecker.h"
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
#include <QStorageInfo>

#include <filesystem>
#include <limits>

namespace corvale {

namespace {

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// An entry name is taken only when it is exactly one of the files a save
// writes: no folder part, no "..", no drive or root, nothing unknown.
void vetNames(const QString &archive, const QStringList &names, const TableLayouts &layouts) {
    QSet<QString> seen;
    for (const QString &name : names) {
        if (!ArchiveContents::isKnownEntry(name, layouts))
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

// Both files are closed again on return: Windows renames no open file.
bool sameContents(const QString &one, const QString &other) {
    QFile a(one);
    QFile b(other);
    return a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) && a.readAll() == b.readAll();
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
    const QString dataPath = QDir::cleanPath(m_shop.folder().dataPath());
    const QString root = QFileInfo(dataPath).absolutePath();

    // The directory as our own reader checks it (central directory and local
    // headers in agreement, sizes within the free space), then every name for
    // what it must be: one of the files a save writes.
    const QStorageInfo disk(root);
    const quint64 freeSpace = disk.isValid() && disk.bytesAvailable() >= 0
                                  ? quint64(disk.bytesAvailable())
                                  : std::numeric_limits<quint64>::max();
    QStringList centralNames;
    for (const ArchiveDirectory::Entry &e : zip.checkedEntries(freeSpace))
        centralNames << QString::fromLatin1(e.name);
    if (zip.EntryCount() == 0 || centralNames.isEmpty())
        throw ArchiveError(noEntriesText());
    vetNames(archive, centralNames, m_shop.tableLayouts());
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
    // The e-invoice files wait beside the program folder until the data is in place.
    const QString stagedInvoices = stagingDir.filePath(ArchiveContents::invoiceFolder());
    QString newInvoices;
    if (QFileInfo(stagedInvoices).isDir()) {
        newInvoices = QDir(root).filePath(QStringLiteral(".FE.ripristino"));
        QDir(newInvoices).removeRecursively();
        if (!moveFolder(stagedInvoices, newInvoices)) {
            discardStaging();
            throw ArchiveError(
                QStringLiteral("Impossibile scrivere nella cartella %1.").arg(native(root)));
        }
    }
    auto discardInvoices = [&] {
        if (!newInvoices.isEmpty())
            QDir(newInvoices).removeRecursively();
    };
    // What is inside must be a data folder too: every restored table reads.
    try {
        checkRestoredTables(staging, centralNames, archive);
    } catch (...) {
        discardStaging();
        discardInvoices();
        throw;
    }

    QString newSettings;
    if (hasSettings) {
        newSettings = QDir(root).filePath(QStringLiteral(".Dati.ini.ripristino"));
        QFile::remove(newSettings);
        if (!QFile::rename(stagingDir.filePath(settingsName), newSettings)) {
            discardStaging();
            discardInvoices();
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
            discardInvoices();
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
        discardInvoices();
        QFile::remove(newSettings);
        throw ArchiveError(QStringLiteral("Impossibile creare la cartella dei dati %1: "
                                          "ripristino annullato, nulla è stato modificato.")
                               .arg(native(dataPath)));
    }

    // The data is in place: what fails from here on is said, the rest still done.
    QString invoicesError;
    if (!newInvoices.isEmpty()) {
        try {
            report.keptInvoices = putInvoicesBack(
                newInvoices,
                report.keptFolder.isEmpty()
                    ? unusedName(keptBase, QStringLiteral("-FE"))
                    : QDir(report.keptFolder).filePath(ArchiveContents::invoiceFolder()));
        } catch (const ArchiveError &e) {
            invoicesError = e.message();
        }
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
    if (!invoicesError.isEmpty())
        throw ArchiveError(invoicesError);
    return report;
}

void DataFolderRestore::checkRestoredTables(const QString &staging, const QStringList &entries,
                                            const QString &archive) {
    // A table is the archive's when any of its three files came from it.
    QStringList tables;
    for (const QString &entry : entries) {
        const QFileInfo info(entry);
        const QString suffix = info.suffix().toUpper();
        if (entry.contains(u'/') ||
            (suffix != QLatin1String("DBF") && suffix != QLatin1String("MDX") &&
             suffix != QLatin1String("DBT")))
            continue;
        const QString table = info.completeBaseName() + QStringLiteral(".DBF");
        if (!tables.contains(table))
            tables << table;
    }
    const QDir folder(staging);
    auto refuse = [&](const QString &table, const QString &why) {
        throw ArchiveError(QStringLiteral("L'archivio %1 contiene la tabella %2, che non si può "
                                          "leggere (%3): ripristino annullato, nulla è stato "
                                          "modificato.")
                               .arg(native(archive), table, why));
    };
    const QStringList present = folder.entryList(QDir::Files);
    QStringList staleIndexes;
    for (const QString &table : tables) {
        // A table kept from the data folder may have its name in other letters.
        QString path;
        for (const QString &name : present)
            if (name.compare(table, Qt::CaseInsensitive) == 0)
                path = folder.filePath(name);
        if (path.isEmpty())
            refuse(table, QStringLiteral("manca il file della tabella"));
        const QStringList broken = db::TableChecker::check(db::FileSystem::local(), path, false);
        if (!broken.isEmpty())
            refuse(table, broken.first());
        if (!db::TableChecker::check(db::FileSystem::local(), path).isEmpty())
            staleIndexes << QFileInfo(path).fileName();
    }
    if (staleIndexes.isEmpty())
        return;
    // Indexes are derived data: a stale one is rebuilt from its table.
    {
        db::Database database;
        try {
            database.open(staging);
            for (const QString &table : staleIndexes) {
                db::Table t(database);
                t.setTableName(table);
                t.setExclusive(true);
                t.open();
                t.reindex();
                t.close();
            }
        } catch (const db::Error &e) {
            database.close();
            refuse(staleIndexes.first(), e.message());
        }
        database.close();
    }
    QFile::remove(folder.filePath(QStringLiteral("CORVALE.LCK")));
    for (const QString &table : staleIndexes) {
        const QStringList left =
            db::TableChecker::check(db::FileSystem::local(), folder.filePath(table));
        if (!left.isEmpty())
            refuse(table, left.first());
    }
}

QString DataFolderRestore::putInvoicesBack(const QString &restored, const QString &keep) {
    const QDir from(restored);
    const QDir to(QDir(m_shop.folder().archivePath()).filePath(ArchiveContents::invoiceFolder()));
    QString kept;
    bool complete = to.mkpath(QStringLiteral("."));
    for (const QString &name : from.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (!complete)
            break;
        const QString target = to.filePath(name);
        if (QFileInfo::exists(target)) {
            if (sameContents(target, from.filePath(name)))
                continue;
            // A file sent under that name differs from the copy's: neither is lost.
            complete = QDir().mkpath(keep) && QFile::rename(target, QDir(keep).filePath(name));
            kept = keep;
        }
        complete = complete && QFile::rename(from.filePath(name), target);
    }
    QDir(restored).removeRecursively();
    if (!complete)
        throw ArchiveError(QStringLiteral("I dati sono stati ripristinati, ma non tutti i file "
                                          "delle fatture elettroniche della cartella %1.")
                               .arg(native(to.path())));
    return kept;
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
    if (!report.keptInvoices.isEmpty())
        text += u'\r' + native(report.keptInvoices);
    return text;
}

} // namespace corvale

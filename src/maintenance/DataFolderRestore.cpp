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

QString cannotWrite(const QString &folder) {
    return QStringLiteral("Impossibile scrivere nella cartella %1.").arg(native(folder));
}

// What a restore has put beside the data folder before the swap: the
// extracted folder, the e-invoice files and the settings file. Whatever is
// still there when this goes out of scope is removed, unless the restore has
// gone past the swap and released it.
class StagedRestore {
public:
    explicit StagedRestore(const QString &folder)
        : folder(folder) {}
    StagedRestore(const StagedRestore &) = delete;
    StagedRestore &operator=(const StagedRestore &) = delete;
    ~StagedRestore() {
        if (m_released)
            return;
        QDir(folder).removeRecursively();
        if (!invoices.isEmpty())
            QDir(invoices).removeRecursively();
        if (!settings.isEmpty())
            QFile::remove(settings);
    }

    void release() { m_released = true; }

    const QString folder;
    QString invoices;
    QString settings;

private:
    bool m_released = false;
};

// The entries' names, after our own reader has checked the directory (central
// directory and local headers in agreement, sizes within the free space of
// `root`'s disk), and every name for what it must be: one of the files a save
// writes.
QStringList checkedNames(TZipMaster &zip, const QString &archive, const QString &root,
                         const TableLayouts &layouts) {
    const QStorageInfo disk(root);
    const quint64 freeSpace = disk.isValid() && disk.bytesAvailable() >= 0
                                  ? quint64(disk.bytesAvailable())
                                  : std::numeric_limits<quint64>::max();
    QStringList names;
    for (const ArchiveDirectory::Entry &e : zip.checkedEntries(freeSpace))
        names << QString::fromLatin1(e.name);
    if (zip.EntryCount() == 0 || names.isEmpty())
        throw ArchiveError(DataFolderRestore::noEntriesText());
    vetNames(archive, names, layouts);
    return names;
}

// Files of the data folder that the archive does not hold stay as they are:
// they are copied beside the extracted ones.
void keepFilesNotInArchive(const QDir &data, const QDir &staging, const QStringList &archived) {
    const QStringList present = data.entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : present) {
        if (name.compare(QStringLiteral("CORVALE.LCK"), Qt::CaseInsensitive) == 0 ||
            archived.contains(name.toUpper()))
            continue;
        if (!QFile::copy(data.filePath(name), staging.filePath(name)))
            throw ArchiveError(
                QStringLiteral("Impossibile copiare il file %1.").arg(native(data.filePath(name))));
    }
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
    const QStringList centralNames = checkedNames(zip, archive, root, m_shop.tableLayouts());

    const QString stagingPath = unusedName(dataPath, QStringLiteral(".ripristino"));
    if (!QDir().mkpath(stagingPath))
        throw ArchiveError(cannotWrite(root));
    StagedRestore staged(stagingPath);
    const QDir staging(stagingPath);
    zip.ExtractFiles(stagingPath);

    Report report;
    report.handled = zip.HandledCount();
    const QString settingsName = ArchiveContents::settingsEntry();
    const bool hasSettings = QFileInfo(staging.filePath(settingsName)).isFile();

    const QDir data(dataPath);
    const bool hadData = data.exists();
    if (hadData)
        keepFilesNotInArchive(data, staging, centralNames);
    // The e-invoice files wait beside the program folder until the data is in place.
    const QString stagedInvoices = staging.filePath(ArchiveContents::invoiceFolder());
    if (QFileInfo(stagedInvoices).isDir()) {
        staged.invoices = QDir(root).filePath(QStringLiteral(".FE.ripristino"));
        QDir(staged.invoices).removeRecursively();
        if (!moveFolder(stagedInvoices, staged.invoices))
            throw ArchiveError(cannotWrite(root));
    }
    // What is inside must be a data folder too: every restored table reads.
    checkRestoredTables(stagingPath, centralNames, archive);

    if (hasSettings) {
        staged.settings = QDir(root).filePath(QStringLiteral(".Dati.ini.ripristino"));
        QFile::remove(staged.settings);
        if (!QFile::rename(staging.filePath(settingsName), staged.settings))
            throw ArchiveError(cannotWrite(root));
    }

    // From here on the old folder is kept whole under the archive folder.
    const QString archiveFolder = m_shop.folder().archivePath();
    QDir().mkpath(archiveFolder);
    const QString stamp = m_shop.clock().now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString keptBase =
        QDir(archiveFolder).filePath(QStringLiteral("DATI-PRIMA-DEL-RIPRISTINO-") + stamp);
    if (hadData) {
        report.keptFolder = unusedName(keptBase, {});
        if (!moveFolder(dataPath, report.keptFolder))
            throw ArchiveError(QStringLiteral("Impossibile spostare la cartella dei dati %1 in "
                                              "%2: ripristino annullato, nulla è stato "
                                              "modificato.")
                                   .arg(native(dataPath), native(report.keptFolder)));
    }
    if (!moveFolder(stagingPath, dataPath)) {
        // Put the old folder back: a program folder without data would start empty.
        if (hadData)
            moveFolder(report.keptFolder, dataPath);
        throw ArchiveError(QStringLiteral("Impossibile creare la cartella dei dati %1: "
                                          "ripristino annullato, nulla è stato modificato.")
                               .arg(native(dataPath)));
    }
    staged.release();
    finishRestore(report, keptBase, staged.invoices, staged.settings);
    return report;
}

void DataFolderRestore::finishRestore(Report &report, const QString &keptBase,
                                      const QString &newInvoices, const QString &newSettings) {
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
    if (!newSettings.isEmpty()) {
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

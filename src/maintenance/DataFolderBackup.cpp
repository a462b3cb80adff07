#include "maintenance/DataFolderBackup.h"

#include "db/Database.h"
#include "db/DbfFormat.h"
#include "maintenance/ArchiveContents.h"
#include "maintenance/DatabasePause.h"
#include "maintenance/TZipMaster.h"
#include "maintenance/ZipWriter.h"
#include "shell/DataFolderSetup.h"
#include "shell/Shop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvale {

namespace {

// The name of `wanted` in `folder` in whatever letter case it has there.
QString findIn(const QDir &folder, const QStringList &present, const QString &wanted) {
    for (const QString &name : present)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return folder.filePath(name);
    return {};
}

bool readable(const QString &path) {
    QFile file(path);
    return !path.isEmpty() && QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
}

// A table without index tags has no MDX, one without memo columns no DBT:
// such a file is not missing; nor are the files of the tables that a later
// release adds to a folder it has not opened yet. Anything else listed and
// absent is.
bool notNeeded(const QDir &folder, const QStringList &present, const QString &name) {
    if (DataFolderSetup::notYetAdded(name.chopped(4), present))
        return true;
    const bool index = name.endsWith(QLatin1String(".MDX"));
    const bool memo = name.endsWith(QLatin1String(".DBT"));
    if (!index && !memo)
        return false;
    QFile table(findIn(folder, present, name.chopped(4) + QStringLiteral(".DBF")));
    // A missing table is named once, as the table.
    if (table.fileName().isEmpty())
        return true;
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = table.read(db::dbf::headerSize);
    if (header.size() < db::dbf::headerSize)
        return false;
    if (index)
        return (uchar(header[db::dbf::offsetMdxFlag]) & 1) == 0;
    return (uchar(header[0]) & (db::dbf::memoBit | db::dbf::memoIvBit)) == 0;
}

} // namespace

DataFolderBackup::DataFolderBackup(Shop &shop)
    : m_shop(shop) {}

QString DataFolderBackup::todaysArchive() const {
    return QDir(m_shop.folder().archivePath())
        .filePath(ArchiveContents::proposedName(m_shop.clock().today()));
}

QList<ZipWriter::Source> DataFolderBackup::dataSources(Report &report) const {
    QList<ZipWriter::Source> sources;
    const QDir data(m_shop.folder().dataPath());
    const QStringList present = data.entryList(QDir::Files);
    for (const QString &name : ArchiveContents::dataFiles(m_shop.tableLayouts())) {
        const QString path = findIn(data, present, name);
        if (readable(path))
            sources << ZipWriter::Source{path, name};
        else if (!(path.isEmpty() && notNeeded(data, present, name)))
            report.unreadable << name;
    }
    // The e-invoice files carry legal weight: they travel with the data.
    const QDir invoices(
        QDir(m_shop.folder().archivePath()).filePath(ArchiveContents::invoiceFolder()));
    for (const QString &name : invoices.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        const QString entry = ArchiveContents::invoiceEntry(name);
        const QString path = invoices.filePath(name);
        if (!entry.isEmpty() && readable(path))
            sources << ZipWriter::Source{path, entry};
        else
            report.unreadable << ArchiveContents::invoiceFolder() + u'/' + name;
    }
    return sources;
}

DataFolderBackup::Report DataFolderBackup::salva(const QString &archive,
                                                 const std::function<void(int)> &gauge) {
    DatabasePause pause(m_shop);
    Report report;
    report.archive = archive;

    // An existing file that is no archive stops here: the name was mistyped,
    // and whatever the file is, it is not ours to replace.
    TZipMaster().setZipFilename(archive);
    QDir().mkpath(QFileInfo(archive).absolutePath());

    QList<ZipWriter::Source> sources = dataSources(report);
    const QString ini = m_shop.folder().iniPath();
    // A program that never saved its preferences has no settings file: its
    // defaults need no copy.
    if (readable(ini))
        sources << ZipWriter::Source{ini, ArchiveContents::settingsEntry()};
    else if (QFileInfo::exists(ini))
        report.unreadable << ArchiveContents::settingsEntry();

    if (sources.isEmpty())
        return report;
    ZipWriter writer;
    if (gauge) {
        writer.setProgress([&gauge, shown = -1](qint64 done, qint64 total) mutable {
            const int percent = total > 0 ? int(done * 100 / total) : 100;
            if (percent != shown)
                gauge(shown = percent);
        });
    }
    // The archive is written anew: entries of an older archive of the same
    // name are not carried over.
    writer.write(archive, sources);
    report.handled = int(sources.size());
    return report;
}

QString DataFolderBackup::successText(const Report &report) {
    return QStringLiteral("Salvataggio dati eseguito con successo!\r\rSono stati archiviati ") +
           QString::number(report.handled) + QStringLiteral(" files in:") + u'\r' + u'\r' +
           QDir::toNativeSeparators(report.archive);
}

QString DataFolderBackup::incompleteText(const Report &report) {
    return QStringLiteral("Salvataggio INCOMPLETO!\r\rSono stati archiviati ") +
           QString::number(report.handled) + QStringLiteral(" files in:\r") +
           QDir::toNativeSeparators(report.archive) +
           QStringLiteral("\r\rNon è stato possibile leggere:\r") +
           report.unreadable.join(QStringLiteral(", "));
}

} // namespace corvale

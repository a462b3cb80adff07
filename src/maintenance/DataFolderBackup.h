#pragma once

#include "maintenance/ZipWriter.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace corvale {

class Shop;

// The archive copy of the data folder ("Salva", the exit backup, the admin
// tool's backup): the database is closed while the files are read and opened
// again afterwards, whatever happens.
class DataFolderBackup {
public:
    struct Report {
        QString archive;
        int handled = 0;
        // Listed files that were missing or could not be read: the archive
        // holds everything else, but it is not a complete copy.
        QStringList unreadable;
        bool complete() const { return unreadable.isEmpty(); }
    };

    explicit DataFolderBackup(Shop &shop);

    // Where the day's copy goes: archivio/AR<ddmmyy>.KVR.
    QString todaysArchive() const;

    // Writes `archive` anew, replacing an older archive of that name only
    // once the new one is complete. Throws ArchiveError when nothing could be
    // written: a file of that name that is no archive, a full disk; the old
    // archive is then as it was. `gauge` follows the bytes compressed, from 0
    // to 100. The database is open again on return, also after a throw.
    Report salva(const QString &archive, const std::function<void(int)> &gauge = {});

    // The texts the windows and the admin tool show.
    static QString successText(const Report &report);
    static QString incompleteText(const Report &report);

private:
    // The files a copy holds besides the settings file, in their order, with
    // the names they have inside it; what is missing or unreadable goes to
    // `report`.
    QList<ZipWriter::Source> dataSources(Report &report) const;

    Shop &m_shop;
};

} // namespace corvale

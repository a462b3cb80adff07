#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace corvale {

// What an archive copy holds and how it is named. The file list is the one
// every archive copy has ever had, in the order it is written: the table,
// index and memo files of the data folder, and last the settings file of the
// program folder. A restore takes nothing else from an archive.
class ArchiveContents {
public:
    // The 72 data-folder files, in their order.
    static const QStringList &dataFiles();
    // The settings file as it is named inside an archive.
    static const QString &settingsEntry();
    // Every entry name a restore accepts: the data files and the settings file.
    static bool isKnownEntry(const QString &name);

    // "AR" + ddmmyy + ".KVR".
    static QString proposedName(const QDate &today);
    // A typed name in capitals, with ".KVR" appended unless it is there anywhere.
    static QString normalisedName(const QString &typed);
    // The dialog's filter.
    static const QString &filter();
};

} // namespace corvale

#pragma once

#include "shell/TableLayout.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace corvale {

// What an archive copy holds and how it is named: the data files of the data
// folder (every table the layouts name, with its index and memo file), the
// e-invoice files of the archive folder under "FE/", and the settings file.
// A backup writes exactly these; a restore takes nothing else from an archive.
class ArchiveContents {
public:
    // For every table of `layouts`, in their order: the table, its production
    // index and its memo file. A folder holds the last two only where the
    // table has index tags or memo columns; older releases wrote an index for
    // some tables that no longer have one, so a restore takes it too.
    static QStringList dataFiles(const TableLayouts &layouts);
    // The settings file as it is named inside an archive.
    static const QString &settingsEntry();
    // The folder of the archive folder that holds the e-invoice files, and the
    // entry of one of its files ("FE/" + the name); empty when the name is not
    // one a file of that folder may have.
    static const QString &invoiceFolder();
    static QString invoiceEntry(const QString &fileName);
    static bool isInvoiceEntry(const QString &entry);
    // Every entry name a restore accepts, in exactly these letters.
    static bool isKnownEntry(const QString &name, const TableLayouts &layouts);

    // "AR" + ddmmyy + ".KVR".
    static QString proposedName(const QDate &today);
    // A typed name in capitals, with ".KVR" appended unless it is there anywhere.
    static QString normalisedName(const QString &typed);
    // The dialog's filter.
    static const QString &filter();
};

} // namespace corvale

#pragma once

#include <QString>

namespace corvale {

class Shop;

// "Carica": the data folder replaced by the files of an archive copy.
//
// The archive is vetted before anything is touched: every entry must be one of
// the files a save writes, under its own name, and every entry must read back
// whole with its CRC. The files are first written into a folder beside the data
// folder; only then is the data folder moved aside into the archive folder (a
// copy to go back to) and the new one put in its place. The settings file goes
// back to the program folder, the old one kept beside the copy.
class DataFolderRestore {
public:
    struct Report {
        int handled = 0;
        // Where the replaced data folder and settings file were kept (empty
        // when there was none).
        QString keptFolder;
        QString keptSettings;
        // Where e-invoice files that the copy's replaced were kept.
        QString keptInvoices;
    };

    explicit DataFolderRestore(Shop &shop);

    // Throws ArchiveError with the text to show; the data folder and the
    // settings file are then as they were. The database stays closed: the
    // program ends after a restore.
    Report ripristina(const QString &archive);

    static QString successText(const Report &report);
    static const QString &noEntriesText();

private:
    // Every table of which the archive held a file, as it lies in `staging`
    // with the files kept from the data folder: its header, record count and
    // memo pointers sound (else ArchiveError naming it), its indexes rebuilt
    // when stale.
    void checkRestoredTables(const QString &staging, const QStringList &entries,
                             const QString &archive);
    // After the swap: the e-invoice files and the settings file staged beside
    // the program folder (empty paths for none) go to their places, and what
    // they replace is kept beside the old data folder.
    void finishRestore(Report &report, const QString &keptBase, const QString &newInvoices,
                       const QString &newSettings);
    // Moves the restored e-invoice files into the archive folder's own; a file
    // there of the same name and other bytes goes to `keep`. Returns `keep`
    // when it was used.
    QString putInvoicesBack(const QString &restored, const QString &keep);

    Shop &m_shop;
};

} // namespace corvale

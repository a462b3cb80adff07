#pragma once

#include "maintenance/ArchiveDirectory.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace corvale {

// The archive component: the directory of a ZIP archive as its local headers
// tell it, adding files under their bare names, and checking and extracting
// every entry. Writing goes through libzip, so the archives are plain ZIP files
// any tool opens.
//
// Failures throw ArchiveError with the text the user reads; the directory read
// keeps its historic texts ("Error 1 reading Zip File" …).
class TZipMaster {
public:
    // One local file header: the 26 bytes after the signature and the name.
    struct ZipDirEntry {
        quint16 versionNeeded = 0;
        quint16 flags = 0;
        quint16 method = 0;
        quint16 time = 0;
        quint16 date = 0;
        quint32 crc32 = 0;
        quint32 compressedSize = 0;
        quint32 uncompressedSize = 0;
        quint16 nameLength = 0;
        quint16 extraLength = 0;
        QByteArray name;
    };

    // A file to add and the name it gets in the archive.
    struct Source {
        QString path;
        QString entryName;
    };

    // Names the archive and reads its directory (an absent file gives an empty
    // one). A file that is no ZIP archive throws, keeping the entries read.
    void setZipFilename(const QString &fileName);
    const QString &zipFilename() const { return m_fileName; }
    int EntryCount() const { return int(m_entries.size()); }
    const QList<ZipDirEntry> &entries() const { return m_entries; }
    // Files handled by the last add or extraction.
    int HandledCount() const { return m_handled; }

    int AddCompLevel = 9;

    // What becomes of the entries an existing archive held under other names.
    enum class OldEntries { Kept, Dropped };

    // Writes the archive anew in a temporary file beside it: the entries it
    // held under other names first (when kept), then `sources` in their order,
    // replacing entries of the same name. Only a complete archive takes the
    // name's place; on failure the old archive is left as it was. Reads the
    // directory again.
    void AddFiles(const QList<Source> &sources, OldEntries old = OldEntries::Kept);

    // Checks the directory (ArchiveDirectory) and then every entry's length
    // and CRC while writing it into `folder` under its name (a name with
    // folders into subfolders). An archive whose directory is unsound, or
    // names a file that could land outside `folder`, is refused before
    // anything is written; the caller vets the names for what they must be.
    // Throws at the first fault; what was written by then stays in `folder`.
    void ExtractFiles(const QString &folder);

    // The entries as the checked directory gives them (central directory and
    // local headers in agreement); their sizes together within `sizeBudget`.
    QList<ArchiveDirectory::Entry> checkedEntries(quint64 sizeBudget) const;

private:
    void readDirectory();

    QString m_fileName;
    QList<ZipDirEntry> m_entries;
    int m_handled = 0;
};

} // namespace corvale

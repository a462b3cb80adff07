#pragma once

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

    // Writes the archive anew in a temporary file beside it: the entries it
    // held under other names first, then `sources` in their order, replacing
    // entries of the same name. Only a complete archive takes the name's place;
    // on failure the old archive is left as it was. Reads the directory again.
    void AddFiles(const QList<Source> &sources);

    // Checks the whole archive (sizes and CRC of every entry) while writing each
    // entry into `folder` under its name. The caller vets the names first.
    // Throws at the first fault; what was written by then stays in `folder`.
    void ExtractFiles(const QString &folder);

    // The entry names as the central directory gives them.
    QStringList centralNames() const;

private:
    void readDirectory();

    QString m_fileName;
    QList<ZipDirEntry> m_entries;
    int m_handled = 0;
};

} // namespace corvale

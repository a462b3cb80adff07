#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

namespace corvale {

// The entries of a ZIP archive as a restore may trust them. An archive comes
// from outside (a USB stick, an e-mail), so its directory is read by our own
// code and believed only where its two copies agree: the central directory and
// the local headers must name the same files with the same sizes, tile the
// file from its first byte to the central directory with nothing hidden between
// them, and end where the end-of-directory record says. ZIP64 records are read
// when present (a large shop's copy needs them) and must be consistent.
//
// Every fault throws ArchiveError with the Italian text the user reads.
class ArchiveDirectory {
public:
    struct Entry {
        QByteArray name; // as stored, byte for byte
        quint16 method = 0;
        quint16 flags = 0;
        quint32 crc32 = 0;
        quint64 compressedSize = 0;
        quint64 size = 0;
        quint64 localOffset = 0;
        quint64 dataOffset = 0;
    };

    // Reads and checks the directory of `archive` (open for reading, seekable).
    // `displayName` names the archive in messages. The declared sizes together
    // must stay within `sizeBudget` (the free space where the files will go).
    static QList<Entry> read(QIODevice &archive, const QString &displayName, quint64 sizeBudget);

    // Writes the bytes of `entry` to `out`, never more than its declared size,
    // and checks its length and CRC. Throws ArchiveError on any mismatch.
    static void extract(QIODevice &archive, const Entry &entry, QIODevice &out,
                        const QString &displayName);

    // A relative name of plain parts: no root, drive, backslash, "." or ".."
    // part, control character or empty part.
    static bool isSafeName(const QByteArray &name);
    // The name as a message may show it: unprintable bytes as "?".
    static QString printable(const QByteArray &name);
};

} // namespace corvale

#include "ArchiveFuzzTarget.h"

#include "maintenance/ArchiveDirectory.h"
#include "maintenance/ArchiveError.h"

#include <QBuffer>

#include <cstdlib>

namespace corvale::fuzz {

namespace {

// Where an extracted file goes: counted, and a write past what the entry
// declares is a finding.
class CappedSink : public QIODevice {
public:
    explicit CappedSink(quint64 cap)
        : m_cap(cap) {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 length) override {
        m_written += quint64(length);
        if (m_written > m_cap)
            std::abort();
        return length;
    }

private:
    quint64 m_cap;
    quint64 m_written = 0;
};

} // namespace

void fuzzArchive(const uint8_t *data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer archive(&bytes);
    archive.open(QIODevice::ReadOnly);
    const QString name = QStringLiteral("fuzz.kvr");
    QList<ArchiveDirectory::Entry> entries;
    try {
        entries = ArchiveDirectory::read(archive, name, 4u << 20);
    } catch (const ArchiveError &) {
        return;
    }
    for (const ArchiveDirectory::Entry &entry : entries) {
        // What the read lets through: plain names, data inside the file.
        if (!ArchiveDirectory::isSafeName(entry.name) || entry.dataOffset > size ||
            entry.compressedSize > size - entry.dataOffset)
            std::abort();
        CappedSink out(entry.size);
        try {
            ArchiveDirectory::extract(archive, entry, out, name);
        } catch (const ArchiveError &) {
        }
    }
}

} // namespace corvale::fuzz

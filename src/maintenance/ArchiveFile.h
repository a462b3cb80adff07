#pragma once

#include <QFile>
#include <QString>

namespace corvale {

// The file an archive is written into: a temporary file beside the target
// that takes the target's name only once it is complete and on the disk.
// Until then, and whenever anything fails, the old archive stays as it was;
// an archive file never committed is removed with this object.
class ArchiveFile {
public:
    explicit ArchiveFile(const QString &target);
    virtual ~ArchiveFile();
    ArchiveFile(const ArchiveFile &) = delete;
    ArchiveFile &operator=(const ArchiveFile &) = delete;

    const QString &target() const { return m_target; }
    QString temporaryName() const { return m_file.fileName(); }

    // Each returns false on failure; the caller then gives up and discards.
    virtual bool create();
    virtual bool write(const char *data, qint64 size);
    virtual bool writeAt(qint64 position, const QByteArray &bytes);
    // Flushes, syncs and renames the file over the target.
    virtual bool commit();
    void discard();

    qint64 size() const { return m_size; }

protected:
    QFile m_file;

private:
    QString m_target;
    qint64 m_size = 0;
    bool m_committed = false;
};

} // namespace corvale

#include "maintenance/ArchiveFile.h"

#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace corvale {

namespace {

// The new name must survive a power cut as well as the data.
void syncFolder(const QString &folder) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

} // namespace

ArchiveFile::ArchiveFile(const QString &target)
    : m_target(target) {}

ArchiveFile::~ArchiveFile() {
    discard();
}

bool ArchiveFile::create() {
    const QFileInfo info(m_target);
    QTemporaryFile reserve(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                           QStringLiteral(".XXXXXX"));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        return false;
    const QString name = reserve.fileName();
    reserve.close();
    m_file.setFileName(name);
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Truncate)) {
        QFile::remove(name);
        m_file.setFileName(QString());
        return false;
    }
    // A temporary file is private to its owner; the archive is read as any
    // other file of the folder (libzip's archives always were).
    m_file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                          QFileDevice::ReadGroup | QFileDevice::ReadOther);
    m_size = 0;
    return true;
}

bool ArchiveFile::write(const char *data, qint64 size) {
    if (m_file.write(data, size) != size)
        return false;
    m_size += size;
    return true;
}

bool ArchiveFile::writeAt(qint64 position, const QByteArray &bytes) {
    const bool written = m_file.seek(position) && m_file.write(bytes) == bytes.size();
    return m_file.seek(m_size) && written;
}

bool ArchiveFile::commit() {
    if (!m_file.flush())
        return false;
#ifdef Q_OS_UNIX
    if (::fsync(m_file.handle()) != 0)
        return false;
#endif
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        return false;
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(m_file.fileName()).toStdString(),
                            QFile::encodeName(m_target).toStdString(), error);
    if (error)
        return false;
    m_committed = true;
    syncFolder(QFileInfo(m_target).absolutePath());
    return true;
}

void ArchiveFile::discard() {
    if (m_committed || m_file.fileName().isEmpty())
        return;
    m_file.close();
    QFile::remove(m_file.fileName());
    m_file.setFileName(QString());
}

} // namespace corvale

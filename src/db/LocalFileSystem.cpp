#include "db/LocalFileSystem.h"

#include "db/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <filesystem>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#endif

namespace corvale::db {

namespace {

class LocalFile : public File {
public:
    explicit LocalFile(const QString &path)
        : m_file(path) {}

    ~LocalFile() override { unmap(); }

    bool openFile(FileSystem::Mode mode) {
        QIODevice::OpenMode flags = QIODevice::ReadOnly | QIODevice::Unbuffered;
        if (mode == FileSystem::Mode::ReadWrite)
            flags = QIODevice::ReadWrite | QIODevice::Unbuffered;
        else if (mode == FileSystem::Mode::Create)
            flags = QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered;
        return m_file.open(flags);
    }

    QString errorText() const { return m_file.errorString(); }

    QString path() const override { return m_file.fileName(); }
    qint64 size() const override { return m_file.size(); }

    qint64 readAt(qint64 offset, char *data, qint64 length) override {
        if (offset < 0 || length <= 0)
            return 0;
        if (!m_file.seek(offset))
            return 0;
        qint64 done = 0;
        while (done < length) {
            const qint64 got = m_file.read(data + done, length - done);
            if (got <= 0)
                break;
            done += got;
        }
        return done;
    }

    void writeAt(qint64 offset, const char *data, qint64 length) override {
        if (length <= 0)
            return;
#ifdef Q_OS_UNIX
        qint64 done = 0;
        while (done < length) {
            const ssize_t n =
                ::pwrite(m_file.handle(), data + done, size_t(length - done), off_t(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw Error(QStringLiteral("Errore di scrittura sul file %1: %2")
                                .arg(QDir::toNativeSeparators(path()),
                                     QString::fromLocal8Bit(strerror(errno))));
            done += n;
        }
        return;
#endif
        if (!m_file.seek(offset) || m_file.write(data, length) != length)
            throw Error(QStringLiteral("Errore di scrittura sul file %1: %2")
                            .arg(QDir::toNativeSeparators(path()), m_file.errorString()));
    }

    void resize(qint64 newSize) override {
        unmap();
        if (!m_file.resize(newSize))
            throw Error(QStringLiteral("Impossibile ridimensionare il file %1: %2")
                            .arg(QDir::toNativeSeparators(path()), m_file.errorString()));
    }

    void sync() override {
        m_file.flush();
        // Down to the disk, not only to the system's cache: a rename that makes this file
        // live must not reach the disk before its content does (a power cut would leave
        // an empty or zero-filled table).
#ifdef Q_OS_UNIX
#ifdef Q_OS_LINUX
        const auto syncData = ::fdatasync;
#else
        const auto syncData = ::fsync;
#endif
        if (m_file.handle() >= 0 && syncData(m_file.handle()) != 0 && errno != EINVAL)
            throw Error(QStringLiteral("Errore di scrittura sul file %1: %2")
                            .arg(QDir::toNativeSeparators(path()),
                                 QString::fromLocal8Bit(strerror(errno))));
#elif defined(Q_OS_WIN)
        if (m_file.handle() >= 0 && ::_commit(m_file.handle()) != 0)
            throw Error(QStringLiteral("Errore di scrittura sul file %1")
                            .arg(QDir::toNativeSeparators(path())));
#endif
    }

    void startSync() override {
#ifdef Q_OS_LINUX
        if (m_file.handle() >= 0)
            ::sync_file_range(m_file.handle(), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
    }

    const char *map() override {
        const qint64 now = m_file.size();
        if (m_map && m_mapSize == now)
            return m_map;
        unmap();
        if (now <= 0)
            return nullptr;
        uchar *view = m_file.map(0, now);
        if (!view)
            return nullptr;
        m_map = reinterpret_cast<const char *>(view);
        m_mapSize = now;
        return m_map;
    }

    qint64 mappedSize() const override {
        return m_mapSize;
    }

    void unmap() override {
        if (m_map)
            m_file.unmap(reinterpret_cast<uchar *>(const_cast<char *>(m_map)));
        m_map = nullptr;
        m_mapSize = 0;
    }

private:
    QFile m_file;
    const char *m_map = nullptr;
    qint64 m_mapSize = 0;
};

} // namespace

std::unique_ptr<File> LocalFileSystem::open(const QString &path, Mode mode) {
    auto file = std::make_unique<LocalFile>(path);
    if (!file->openFile(mode))
        throw Error(QStringLiteral("Impossibile aprire il file %1: %2")
                        .arg(QDir::toNativeSeparators(path), file->errorText()));
    return file;
}

bool LocalFileSystem::exists(const QString &path) const {
    return QFileInfo::exists(path);
}

void LocalFileSystem::remove(const QString &path) {
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw Error(QStringLiteral("Impossibile cancellare il file %1")
                        .arg(QDir::toNativeSeparators(path)));
}

void LocalFileSystem::rename(const QString &from, const QString &to) {
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), error);
    if (error)
        throw Error(QStringLiteral("Impossibile rinominare il file %1 in %2: %3")
                        .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to),
                             QString::fromLocal8Bit(error.message().c_str())));
}

void LocalFileSystem::syncFolder(const QString &folder) {
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(folder);
    int fd = -1;
    do
        fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw Error(
            QStringLiteral("Impossibile aprire la cartella %1: %2")
                .arg(QDir::toNativeSeparators(folder), QString::fromLocal8Bit(strerror(errno))));
    // Some file systems cannot sync a folder (EINVAL): they have nothing to make durable.
    const bool failed = ::fsync(fd) != 0 && errno != EINVAL;
    const int error = errno;
    ::close(fd);
    if (failed)
        throw Error(
            QStringLiteral("Errore di scrittura nella cartella %1: %2")
                .arg(QDir::toNativeSeparators(folder), QString::fromLocal8Bit(strerror(error))));
#elif defined(Q_OS_WIN)
    // NTFS writes a folder's entries out through a handle on the folder, as fsync does.
    const QString native = QDir::toNativeSeparators(QDir(folder).absolutePath());
    HANDLE dir =
        ::CreateFileW(reinterpret_cast<LPCWSTR>(native.utf16()), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // A share that refuses write access to the folder itself leaves the durability
        // to the server; a missing folder is an error everywhere.
        if (error == ERROR_ACCESS_DENIED && QFileInfo(folder).isDir())
            return;
        throw Error(QStringLiteral("Impossibile aprire la cartella %1: %2")
                        .arg(QDir::toNativeSeparators(folder), qt_error_string(int(error))));
    }
    // Some file systems (FAT, network redirectors) cannot flush a folder: nothing to do.
    const bool failed = !::FlushFileBuffers(dir) && ::GetLastError() != ERROR_INVALID_FUNCTION &&
                        ::GetLastError() != ERROR_ACCESS_DENIED;
    const DWORD error = ::GetLastError();
    ::CloseHandle(dir);
    if (failed)
        throw Error(QStringLiteral("Errore di scrittura nella cartella %1: %2")
                        .arg(QDir::toNativeSeparators(folder), qt_error_string(int(error))));
#else
    Q_UNUSED(folder);
#endif
}

QStringList LocalFileSystem::entries(const QString &folder) const {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

FileSystem &FileSystem::local() {
    static LocalFileSystem instance;
    return instance;
}

} // namespace corvale::db

#pragma once

#include "db/Error.h"
#include "db/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <memory>

namespace corvale::db::test {

// The local disk with a fault planted at the N-th changing operation (write, resize,
// create, rename, remove): an I/O error, a short write, or a crash, after which every
// further change fails as if the process had died.
//
// A crash kills the process (every byte written so far stays, as in the system's cache),
// or cuts the power: then only what the POSIX rules make durable survives. A file's data
// is durable once the file is synced; a created file, a rename and a removal once their
// folder is synced. In that mode syncs are changing operations too, so that a cut can fall
// between two of them.
class FaultyFileSystem : public FileSystem {
public:
    enum class Fault { None, Crash, IoError, ShortWrite };
    enum class Crash { KillsProcess, CutsPower };

    explicit FaultyFileSystem(Crash crash = Crash::KillsProcess)
        : m_crash(crash) {}
    // Windows keeps a file while the dead program still holds it open: the cut is
    // finished once its handles are gone, which is when the database and then this
    // file system go.
    ~FaultyFileSystem() override {
        if (m_cutUnfinished)
            leaveOnlyWhatIsDurable();
    }

    void arm(Fault fault, int operation) {
        m_fault = fault;
        m_at = operation;
    }
    int operations() const { return m_count; }
    // Reads through read calls (not through a mapped view).
    int reads() const { return m_reads; }
    // A crash between two operations (after the last one, say).
    void crashNow() {
        m_dead = true;
        if (m_crash == Crash::CutsPower)
            leaveOnlyWhatIsDurable();
    }
    bool crashed() const { return m_dead; }

    // Called before each change; returns how many of `length` bytes to write (-1: all).
    qint64 before(qint64 length) {
        if (m_dead)
            throw Error(QStringLiteral("processo terminato"));
        ++m_count;
        if (m_count != m_at)
            return -1;
        switch (m_fault) {
        case Fault::Crash:
            crashNow();
            throw Error(QStringLiteral("processo terminato"));
        case Fault::IoError:
            throw Error(QStringLiteral("errore di I/O simulato"));
        case Fault::ShortWrite:
            return length / 2;
        case Fault::None:
            break;
        }
        return -1;
    }

    std::unique_ptr<File> open(const QString &path, Mode mode) override {
        if (mode == Mode::Create)
            before(0);
        track(path);
        auto file = local().open(path, mode);
        InodePtr &inode = m_live[key(path)];
        // A truncated file keeps its inode (and its durable data until the next sync).
        if (!inode)
            inode = std::make_shared<Inode>();
        return std::make_unique<FaultyFile>(*this, std::move(file), inode);
    }
    bool exists(const QString &path) const override { return local().exists(path); }
    void remove(const QString &path) override {
        before(0);
        track(path);
        local().remove(path);
        m_live.remove(key(path));
    }
    void rename(const QString &from, const QString &to) override {
        before(0);
        track(from);
        track(to);
        local().rename(from, to);
        m_live[key(to)] = m_live.take(key(from));
    }
    void syncFolder(const QString &folder) override {
        if (m_crash == Crash::KillsProcess)
            return; // the system's cache survives a killed process
        before(0);
        const QString dir = QFileInfo(folder).absoluteFilePath();
        for (const QString &path : m_durable.keys())
            if (QFileInfo(path).absolutePath() == dir && !m_live.contains(path))
                m_durable.remove(path);
        for (auto it = m_live.cbegin(); it != m_live.cend(); ++it)
            if (QFileInfo(it.key()).absolutePath() == dir)
                m_durable[it.key()] = it.value();
    }
    QStringList entries(const QString &folder) const override { return local().entries(folder); }

private:
    // A file's content as the disk holds it for sure; what a power cut leaves.
    struct Inode {
        QByteArray durable;
    };
    using InodePtr = std::shared_ptr<Inode>;

    static QString key(const QString &path) { return QFileInfo(path).absoluteFilePath(); }

    // A file met for the first time was there before this file system: durable as it is.
    void track(const QString &path) {
        const QString k = key(path);
        if (m_seen.contains(k))
            return;
        m_seen.insert(k);
        QFile file(k);
        if (!file.open(QIODevice::ReadOnly))
            return;
        auto inode = std::make_shared<Inode>(Inode{file.readAll()});
        m_live[k] = inode;
        m_durable[k] = inode;
    }

    void leaveOnlyWhatIsDurable() {
        m_cutUnfinished = false;
        for (const QString &path : m_seen)
            if (!QFile::remove(path) && QFile::exists(path))
                m_cutUnfinished = true;
        for (auto it = m_durable.cbegin(); it != m_durable.cend(); ++it) {
            QFile file(it.key());
            if (!file.open(QIODevice::WriteOnly) ||
                file.write(it.value()->durable) != it.value()->durable.size()) {
                if (!m_cutUnfinished)
                    qFatal("cannot restore %s", qPrintable(it.key()));
            }
        }
    }

    class FaultyFile : public File {
    public:
        FaultyFile(FaultyFileSystem &fs, std::unique_ptr<File> file, InodePtr inode)
            : m_fs(fs)
            , m_file(std::move(file))
            , m_inode(std::move(inode)) {}
        QString path() const override { return m_file->path(); }
        qint64 size() const override { return m_file->size(); }
        qint64 readAt(qint64 offset, char *data, qint64 length) override {
            ++m_fs.m_reads;
            return m_file->readAt(offset, data, length);
        }
        void writeAt(qint64 offset, const char *data, qint64 length) override {
            const qint64 part = m_fs.before(length);
            if (part >= 0) {
                m_file->writeAt(offset, data, part);
                throw Error(QStringLiteral("scrittura incompleta simulata"));
            }
            m_file->writeAt(offset, data, length);
        }
        void resize(qint64 size) override {
            m_fs.before(0);
            m_file->resize(size);
        }
        // Nothing needs to reach the real disk: what survives is decided here.
        void sync() override {
            if (m_fs.m_crash == Crash::KillsProcess) {
                if (m_fs.m_dead)
                    throw Error(QStringLiteral("processo terminato"));
                return;
            }
            m_fs.before(0);
            QByteArray &bytes = m_inode->durable;
            bytes.resize(m_file->size());
            bytes.resize(m_file->readAt(0, bytes.data(), bytes.size()));
        }
        const char *map() override { return m_file->map(); }
        qint64 mappedSize() const override { return m_file->mappedSize(); }
        void unmap() override { m_file->unmap(); }

    private:
        FaultyFileSystem &m_fs;
        std::unique_ptr<File> m_file;
        InodePtr m_inode;
    };

    Crash m_crash;
    Fault m_fault = Fault::None;
    int m_at = 0;
    int m_count = 0;
    int m_reads = 0;
    bool m_dead = false;
    bool m_cutUnfinished = false;
    QSet<QString> m_seen;
    QHash<QString, InodePtr> m_live;    // the folder as the running program sees it
    QHash<QString, InodePtr> m_durable; // the folder as the disk holds it for sure
};

} // namespace corvale::db::test

#pragma once

#include "db/Error.h"
#include "db/FileSystem.h"

#include <memory>

namespace corvale::db::test {

// The local disk with a fault planted at the N-th changing operation (write, resize,
// create, rename, remove): an I/O error, a short write, or a crash, after which every
// further change fails as if the process had died.
class FaultyFileSystem : public FileSystem {
public:
    enum class Fault { None, Crash, IoError, ShortWrite };

    void arm(Fault fault, int operation) {
        m_fault = fault;
        m_at = operation;
    }
    int operations() const { return m_count; }
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
            m_dead = true;
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
        return std::make_unique<FaultyFile>(*this, local().open(path, mode));
    }
    bool exists(const QString &path) const override { return local().exists(path); }
    void remove(const QString &path) override {
        before(0);
        local().remove(path);
    }
    void rename(const QString &from, const QString &to) override {
        before(0);
        local().rename(from, to);
    }
    QStringList entries(const QString &folder) const override { return local().entries(folder); }

private:
    class FaultyFile : public File {
    public:
        FaultyFile(FaultyFileSystem &fs, std::unique_ptr<File> file)
            : m_fs(fs)
            , m_file(std::move(file)) {}
        QString path() const override { return m_file->path(); }
        qint64 size() const override { return m_file->size(); }
        qint64 readAt(qint64 offset, char *data, qint64 length) override {
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
        void sync() override { m_file->sync(); }
        void startSync() override { m_file->startSync(); }
        const char *map() override { return m_file->map(); }
        qint64 mappedSize() const override { return m_file->mappedSize(); }
        void unmap() override { m_file->unmap(); }

    private:
        FaultyFileSystem &m_fs;
        std::unique_ptr<File> m_file;
    };

    Fault m_fault = Fault::None;
    int m_at = 0;
    int m_count = 0;
    bool m_dead = false;
};

} // namespace corvale::db::test

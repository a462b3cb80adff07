#pragma once

#include "db/Error.h"
#include "db/FileSystem.h"

#include <QFileInfo>
#include <QMap>

#include <cstring>
#include <memory>

namespace corvale::db::fuzz {

// Files held in memory, for feeding the engine arbitrary bytes quickly.
class MemoryFileSystem : public FileSystem {
public:
    void put(const QString &path, const QByteArray &bytes) {
        m_files[path] = std::make_shared<QByteArray>(bytes);
    }

    std::unique_ptr<File> open(const QString &path, Mode mode) override {
        auto it = m_files.find(path);
        if (it == m_files.end()) {
            if (mode != Mode::Create)
                throw Error(QStringLiteral("file %1 inesistente").arg(path));
            it = m_files.insert(path, std::make_shared<QByteArray>());
        } else if (mode == Mode::Create) {
            (*it)->clear();
        }
        return std::make_unique<MemoryFile>(path, *it);
    }
    bool exists(const QString &path) const override { return m_files.contains(path); }
    void remove(const QString &path) override { m_files.remove(path); }
    void rename(const QString &from, const QString &to) override {
        auto data = m_files.take(from);
        if (!data)
            throw Error(QStringLiteral("file %1 inesistente").arg(from));
        m_files[to] = data;
    }
    QStringList entries(const QString &folder) const override {
        QStringList names;
        for (auto it = m_files.begin(); it != m_files.end(); ++it)
            if (QFileInfo(it.key()).path() == folder)
                names << QFileInfo(it.key()).fileName();
        return names;
    }

private:
    class MemoryFile : public File {
    public:
        MemoryFile(QString path, std::shared_ptr<QByteArray> data)
            : m_path(std::move(path))
            , m_data(std::move(data)) {}
        QString path() const override { return m_path; }
        qint64 size() const override { return m_data->size(); }
        qint64 readAt(qint64 offset, char *data, qint64 length) override {
            if (offset < 0 || offset >= m_data->size() || length <= 0)
                return 0;
            const qint64 n = qMin(length, m_data->size() - offset);
            std::memcpy(data, m_data->constData() + offset, size_t(n));
            return n;
        }
        void writeAt(qint64 offset, const char *data, qint64 length) override {
            if (offset + length > (qint64(1) << 30))
                throw Error(QStringLiteral("file troppo grande"));
            if (offset + length > m_data->size())
                m_data->resize(offset + length, '\0');
            std::memcpy(m_data->data() + offset, data, size_t(length));
        }
        void resize(qint64 size) override { m_data->resize(size, '\0'); }
        void sync() override {}
        const char *map() override { return m_data->isEmpty() ? nullptr : m_data->constData(); }
        qint64 mappedSize() const override { return m_data->size(); }

    private:
        QString m_path;
        std::shared_ptr<QByteArray> m_data;
    };

    QMap<QString, std::shared_ptr<QByteArray>> m_files;
};

} // namespace corvale::db::fuzz

#pragma once

#include "db/FileSystem.h"

namespace corvale::db {

// FileSystem over the real disk (QFile, memory-mapped reads).
class LocalFileSystem : public FileSystem {
public:
    std::unique_ptr<File> open(const QString &path, Mode mode) override;
    bool exists(const QString &path) const override;
    void remove(const QString &path) override;
    void rename(const QString &from, const QString &to) override;
    void syncFolder(const QString &folder) override;
    QStringList entries(const QString &folder) const override;
};

} // namespace corvale::db

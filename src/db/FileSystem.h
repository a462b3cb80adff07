#pragma once

#include "db/File.h"

#include <QStringList>

#include <memory>

namespace corvale::db {

// The folder operations of the engine, behind an interface for the same reason as File.
class FileSystem {
public:
    enum class Mode { ReadOnly, ReadWrite, Create /* truncates or creates */ };

    virtual ~FileSystem() = default;

    // Throws db::Error when the file cannot be opened.
    virtual std::unique_ptr<File> open(const QString &path, Mode mode) = 0;
    virtual bool exists(const QString &path) const = 0;
    virtual void remove(const QString &path) = 0;
    // Replaces `to` when it exists; atomic on the local disk.
    virtual void rename(const QString &from, const QString &to) = 0;
    // Makes the folder's entries durable: a created, renamed or removed file survives a
    // power cut only once its folder is synced (File::sync covers the data alone). A no-op
    // where the system offers no such call or the files live in memory.
    virtual void syncFolder(const QString &folder) { Q_UNUSED(folder); }
    // File names (not paths) of the folder.
    virtual QStringList entries(const QString &folder) const = 0;

    // The real disk.
    static FileSystem &local();
};

} // namespace corvale::db

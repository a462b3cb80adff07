#pragma once

#include <QString>

#include <QtGlobal>

namespace corvale::db {

// One open file of the engine. Every byte the engine reads or writes passes through
// this interface, so tests can inject failures and a crash at any write, and the fuzz
// targets can feed arbitrary bytes without touching the disk.
//
// readAt returns the bytes actually read (short at the end of the file). writeAt either
// writes everything or throws db::Error; a partial write is reported, never ignored.
class File {
public:
    virtual ~File() = default;

    virtual QString path() const = 0;
    virtual qint64 size() const = 0;
    virtual qint64 readAt(qint64 offset, char *data, qint64 length) = 0;
    virtual void writeAt(qint64 offset, const char *data, qint64 length) = 0;
    virtual void resize(qint64 size) = 0;
    // Pushes written data down to the disk; called before a rename makes a file live and
    // when a changed table is flushed.
    virtual void sync() = 0;
    // Starts writing the data to the disk without waiting, so that a later sync() finds
    // less to do; a hint that a file layer may ignore.
    virtual void startSync() {}

    // A read-only view of the whole file as it is now, or nullptr when the file layer
    // cannot map. The view stays valid until the next resize or remap; writes made
    // through writeAt are visible in it.
    virtual const char *map() { return nullptr; }
    virtual qint64 mappedSize() const { return 0; }
    virtual void unmap() {}
};

} // namespace corvale::db

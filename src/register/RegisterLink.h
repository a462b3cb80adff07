#pragma once

#include <QByteArray>

namespace corvale {

// What a register protocol needs of the line: the input-queue count, a read of
// the waiting bytes and a write that is started and not awaited.
class RegisterLink {
public:
    virtual ~RegisterLink() = default;
    // Bytes waiting; -1 once the line has failed.
    virtual int inputCount() = 0;
    virtual QByteArray read(int count) = 0;
    virtual bool write(const QByteArray &bytes) = 0;
    virtual bool hasFailed() const = 0;
};

} // namespace corvale

#pragma once

#include "register/RchExchange.h"
#include "register/RtLink.h"

#include <QTimer>

namespace corvale {

// What the links of an RCH RT that carry frames share, whatever carries the
// bytes: the exchange of one request (RchExchange), the silence limit of each
// command and the end of the request. A subclass opens its transport, hands
// on the bytes that arrive and writes what it is given.
class RchFramedLink : public RtLink {
    Q_OBJECT
public:
    bool isBusy() const override { return m_busy; }

protected:
    explicit RchFramedLink(QObject *parent = nullptr);

    // Begins a request: the first command's frame, empty when there is none.
    QByteArray begin(const Request &request);
    // Starts the wait for the register.
    void wait() { m_silence.start(m_timeoutMs); }
    // Bytes from the register: the next frame goes out, or the request ends.
    void received(const QByteArray &bytes);
    void end(const std::optional<QByteArray> &answers);

    // Writes to the transport; false when it failed.
    virtual bool put(const QByteArray &bytes) = 0;
    // The request has ended: let the transport go.
    virtual void release() = 0;
    // The request reached the register (it may have acted on it).
    virtual bool reached() const = 0;

    const RchExchange &exchange() const { return m_exchange; }

private:
    RchExchange m_exchange;
    QTimer m_silence;
    int m_timeoutMs = 10000;
    bool m_busy = false;
};

} // namespace corvale

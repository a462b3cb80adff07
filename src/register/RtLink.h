#pragma once

#include "platform/SerialLine.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

namespace corvale {

// How one request reaches a telematic register and its answer comes back:
// an HTTP POST, or the frames of a command language over a raw socket or a
// serial line. A
// link never sends a request again by itself: what happens after a lost
// answer is the caller's to decide.
class RtLink : public QObject {
    Q_OBJECT
public:
    struct Request {
        QString host;
        int port = 0;
        QString target; // the HTTP path; unused by a raw socket
        QByteArray body;
        int timeoutMs = 10000;
        QString user; // HTTP basic authentication, when the register asks for it
        QString password;
        // A register on a serial line: the device and its line settings.
        QString device;
        SerialLine::LineSettings line;
    };

    using QObject::QObject;

    // False when a request is on its way.
    virtual bool send(const Request &request) = 0;
    virtual bool isBusy() const = 0;
    // The last request was refused for its credentials (nothing was done).
    virtual bool unauthorized() const { return false; }

Q_SIGNALS:
    // The answer, or nothing: no connection, timeout, a dropped connection,
    // a bad or refused answer. `reached`: the request went out on a
    // connection (the register may have acted on it).
    void finished(const std::optional<QByteArray> &answer, bool reached);
};

} // namespace corvale

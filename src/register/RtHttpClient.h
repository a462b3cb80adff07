#pragma once

#include "register/RtLink.h"

#include <QByteArray>
#include <QTimer>

#include <optional>

class QTcpSocket;

namespace corvale {

// One HTTP POST to a register and its answer, over a plain socket. Unlike a
// general HTTP client it never sends a request again by itself (a dropped
// connection would otherwise make the register print the receipt twice):
// what happens after a lost answer is the caller's to decide.
class RtHttpClient : public RtLink {
    Q_OBJECT
public:
    // An answer as far as it has arrived.
    struct Parsed {
        enum class State { Incomplete, Complete, Bad };
        State state = State::Incomplete;
        int status = 0;
        QByteArray body;
    };
    // Reads status line, headers and body (Content-Length, chunked, or up to
    // the end of the connection when `atEnd`).
    static Parsed parse(const QByteArray &raw, bool atEnd);
    static constexpr qsizetype answerLimit = 1 << 20;

    explicit RtHttpClient(QObject *parent = nullptr);
    ~RtHttpClient() override;

    // The body of a "200" answer comes with finished(); anything else is
    // no answer.
    bool send(const Request &request) override;
    bool post(const QString &host, int port, const QString &target, const QByteArray &body,
              int timeoutMs);
    bool isBusy() const override { return m_busy; }
    bool unauthorized() const override { return m_unauthorized; }

private:
    void onReadable();
    void onClosed();
    void end(const std::optional<QByteArray> &body);

    QTcpSocket *m_socket;
    QTimer m_timer;
    QByteArray m_request;
    QByteArray m_received;
    bool m_busy = false;
    bool m_reached = false;
    bool m_unauthorized = false;
};

} // namespace corvale

#pragma once

#include "sales/register/RtLink.h"

#include <QList>
#include <QTimer>

class QTcpSocket;

namespace corvale {

// The commands of one request to an RCH RT over a raw TCP connection: each
// goes out in its frame and waits for the register's ACK and response frame
// before the next; the first response with an error ends the request. A NAK,
// a broken frame, silence or a dropped connection end it without an answer.
// The register's frames are not acknowledged (public captures show no ACK
// from the host).
class RchTcpLink : public RtLink {
    Q_OBJECT
public:
    explicit RchTcpLink(QObject *parent = nullptr);
    ~RchTcpLink() override;

    bool send(const Request &request) override;
    bool isBusy() const override { return m_busy; }

private:
    void sendNext();
    void onReadable();
    void end(const std::optional<QByteArray> &answers);

    QTcpSocket *m_socket;
    QTimer m_timer;
    QList<QByteArray> m_commands;
    QByteArray m_received;
    QList<QByteArray> m_answers;
    int m_next = 0;
    int m_sequence = 0;
    int m_timeoutMs = 10000;
    bool m_busy = false;
    bool m_reached = false;
};

} // namespace corvale

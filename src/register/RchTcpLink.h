#pragma once

#include "register/RchFramedLink.h"

class QTcpSocket;

namespace corvale {

// The commands of one request to an RCH RT over a raw TCP connection.
// Silence, a dropped connection or a frame that fails its check end the
// request without an answer.
class RchTcpLink : public RchFramedLink {
    Q_OBJECT
public:
    explicit RchTcpLink(QObject *parent = nullptr);
    ~RchTcpLink() override;

    bool send(const Request &request) override;

protected:
    bool put(const QByteArray &bytes) override;
    void release() override;
    bool reached() const override { return m_reached; }

private:
    QTcpSocket *m_socket;
    QByteArray m_first; // the first command's frame, sent once connected
    bool m_reached = false;
};

} // namespace corvale

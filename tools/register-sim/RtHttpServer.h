#pragma once

#include "HttpRegister.h"
#include "LocalServer.h"

namespace corvale::sim {

// Serves a simulated telematic register over HTTP on a local address: one
// request per connection, answered and closed, or left unanswered or dropped
// as the register's fault says.
class RtHttpServer : public LocalServer {
    Q_OBJECT
public:
    explicit RtHttpServer(HttpRegister &rt, QObject *parent = nullptr);

    // Requests without these credentials (HTTP basic) are refused with 401.
    void setCredentials(const QString &user, const QString &password);
    int refusedForCredentials() const { return m_unauthorized; }

protected:
    void received(QTcpSocket *socket, QByteArray &buffer) override;

private:
    void respond(QTcpSocket *socket, int status, const QByteArray &body);

    HttpRegister &m_rt;
    QByteArray m_authorization; // the expected "Authorization" value, when set
    int m_unauthorized = 0;
};

} // namespace corvale::sim

#pragma once

#include "SimulatedEpsonRt.h"

#include <QHash>
#include <QObject>
#include <QPointer>

class QTcpServer;
class QTcpSocket;

namespace corvale::sim {

// Serves a simulated telematic register over HTTP on a local address: one
// request per connection, answered and closed, or left unanswered or dropped
// as the register's fault says.
class RtHttpServer : public QObject {
    Q_OBJECT
public:
    explicit RtHttpServer(SimulatedEpsonRt &rt, QObject *parent = nullptr);
    ~RtHttpServer() override;

    // Listens on 127.0.0.1 (port 0: any free one).
    bool listen(quint16 port = 0);
    quint16 port() const;
    // "127.0.0.1:port", as the configuration takes it.
    QString address() const;
    QString errorString() const;
    // Milliseconds to wait before each answer.
    void setReplyDelay(int ms) { m_replyDelay = ms; }
    // Requests without these credentials (HTTP basic) are refused with 401.
    void setCredentials(const QString &user, const QString &password);
    int refusedForCredentials() const { return m_unauthorized; }

Q_SIGNALS:
    void requestHandled(const QString &line);

private:
    void onConnection();
    void onReadable(QTcpSocket *socket);
    void respond(QTcpSocket *socket, int status, const QByteArray &body);

    SimulatedEpsonRt &m_rt;
    QTcpServer *m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    int m_replyDelay = 0;
    QByteArray m_authorization; // the expected "Authorization" value, when set
    int m_unauthorized = 0;
};

} // namespace corvale::sim

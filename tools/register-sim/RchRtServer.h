#pragma once

#include "SimulatedRchRt.h"

#include <QHash>
#include <QObject>

class QTcpServer;
class QTcpSocket;

namespace corvale::sim {

// Serves a simulated RCH telematic register on a local TCP port, in the
// frames of the serial RCH protocol: each command frame is answered with a
// lone ACK and a response frame whose sequence digit is the request's ASCII
// code modulo 10; a frame failing its check gets a NAK; the program's stray
// ACKs are ignored. One connection may carry many commands.
class RchRtServer : public QObject {
    Q_OBJECT
public:
    explicit RchRtServer(SimulatedRchRt &rt, QObject *parent = nullptr);
    ~RchRtServer() override;

    bool listen(quint16 port = 0);
    quint16 port() const;
    QString address() const;
    QString errorString() const;
    void setReplyDelay(int ms) { m_replyDelay = ms; }
    int connections() const { return m_connections; }

    static QByteArray frame(char sequence, const QByteArray &data);

Q_SIGNALS:
    void requestHandled(const QString &line);

private:
    void onConnection();
    void onReadable(QTcpSocket *socket);

    SimulatedRchRt &m_rt;
    QTcpServer *m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    int m_replyDelay = 0;
    int m_connections = 0;
};

} // namespace corvale::sim

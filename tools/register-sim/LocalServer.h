#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QTcpServer;
class QTcpSocket;

namespace corvale::sim {

// A simulated register listening on a local TCP port: takes the
// connections, keeps what each has sent and not yet been taken, and hands
// the bytes to the protocol of the subclass.
class LocalServer : public QObject {
    Q_OBJECT
public:
    ~LocalServer() override;

    // Listens on 127.0.0.1 (port 0: any free one).
    bool listen(quint16 port = 0);
    quint16 port() const;
    // "127.0.0.1:port", as the configuration takes it.
    QString address() const;
    QString errorString() const;
    // Milliseconds to wait before each answer.
    void setReplyDelay(int ms) { m_replyDelay = ms; }
    int connections() const { return m_connections; }

Q_SIGNALS:
    void requestHandled(const QString &line);

protected:
    explicit LocalServer(QObject *parent = nullptr);

    // Bytes arrived on `socket`: `buffer` holds all that is not taken yet.
    virtual void received(QTcpSocket *socket, QByteArray &buffer) = 0;
    // Runs `action` after the reply delay, unless the socket has gone.
    void later(QTcpSocket *socket, std::function<void(QTcpSocket *)> action);
    // Takes nothing more from the socket (its request is complete).
    void stopReading(QTcpSocket *socket);

private:
    void onConnection();

    QTcpServer *m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    int m_replyDelay = 0;
    int m_connections = 0;
};

} // namespace corvale::sim

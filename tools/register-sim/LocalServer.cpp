#include "LocalServer.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace corvale::sim {

LocalServer::LocalServer(QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this)) {
    connect(m_server, &QTcpServer::newConnection, this, &LocalServer::onConnection);
}

LocalServer::~LocalServer() = default;

bool LocalServer::listen(quint16 port) {
    return m_server->listen(QHostAddress::LocalHost, port);
}

quint16 LocalServer::port() const {
    return m_server->serverPort();
}

QString LocalServer::address() const {
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

QString LocalServer::errorString() const {
    return m_server->errorString();
}

void LocalServer::onConnection() {
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        ++m_connections;
        socket->setParent(this);
        m_buffers.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            QByteArray &buffer = m_buffers[socket];
            buffer += socket->readAll();
            received(socket, buffer);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void LocalServer::later(QTcpSocket *socket, std::function<void(QTcpSocket *)> action) {
    QPointer<QTcpSocket> guarded(socket);
    auto run = [guarded, action = std::move(action)] {
        if (guarded)
            action(guarded);
    };
    if (m_replyDelay > 0)
        QTimer::singleShot(m_replyDelay, this, run);
    else
        run();
}

void LocalServer::stopReading(QTcpSocket *socket) {
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
}

} // namespace corvale::sim

#include "register/RchTcpLink.h"

#include <QTcpSocket>

namespace corvale {

RchTcpLink::RchTcpLink(QObject *parent)
    : RchFramedLink(parent)
    , m_socket(new QTcpSocket(this)) {
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_reached = true;
        put(m_first);
        wait();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, [this] { received(m_socket->readAll()); });
    connect(m_socket, &QTcpSocket::disconnected, this, [this] { end(std::nullopt); });
    connect(m_socket, &QTcpSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError) { end(std::nullopt); });
}

RchTcpLink::~RchTcpLink() {
    m_socket->disconnect(this);
    m_socket->abort();
}

bool RchTcpLink::send(const Request &request) {
    m_first = begin(request);
    if (m_first.isEmpty())
        return false;
    m_reached = false;
    wait();
    m_socket->abort();
    m_socket->connectToHost(request.host, quint16(request.port));
    return true;
}

bool RchTcpLink::put(const QByteArray &bytes) {
    return m_socket->write(bytes) == bytes.size();
}

void RchTcpLink::release() {
    m_socket->abort();
}

} // namespace corvale

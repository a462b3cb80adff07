#include "RtHttpServer.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace corvale::sim {

namespace {

constexpr qsizetype requestLimit = 1 << 20;

} // namespace

RtHttpServer::RtHttpServer(SimulatedEpsonRt &rt, QObject *parent)
    : QObject(parent)
    , m_rt(rt)
    , m_server(new QTcpServer(this)) {
    connect(m_server, &QTcpServer::newConnection, this, &RtHttpServer::onConnection);
}

RtHttpServer::~RtHttpServer() = default;

bool RtHttpServer::listen(quint16 port) {
    return m_server->listen(QHostAddress::LocalHost, port);
}

quint16 RtHttpServer::port() const {
    return m_server->serverPort();
}

QString RtHttpServer::address() const {
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

QString RtHttpServer::errorString() const {
    return m_server->errorString();
}

void RtHttpServer::setCredentials(const QString &user, const QString &password) {
    m_authorization =
        user.isEmpty() ? QByteArray() : "Basic " + (user + u':' + password).toUtf8().toBase64();
}

void RtHttpServer::onConnection() {
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        m_buffers.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void RtHttpServer::respond(QTcpSocket *socket, int status, const QByteArray &body) {
    QByteArray head = status == 200   ? "HTTP/1.1 200 OK\r\n"
                      : status == 404 ? "HTTP/1.1 404 Not Found\r\n"
                      : status == 401 ? "HTTP/1.1 401 Unauthorized\r\n"
                                        "WWW-Authenticate: Basic realm=\"RT\"\r\n"
                                      : "HTTP/1.1 400 Bad Request\r\n";
    head += "Content-Type: text/xml; charset=utf-8\r\nContent-Length: " +
            QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n";
    socket->write(head + body);
    socket->disconnectFromHost();
}

void RtHttpServer::onReadable(QTcpSocket *socket) {
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    if (buffer.size() > requestLimit) {
        respond(socket, 400, {});
        return;
    }
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;
    const QList<QByteArray> headLines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = headLines.value(0).trimmed().split(' ');
    qsizetype length = 0;
    QByteArray authorization;
    for (const QByteArray &line : headLines) {
        const qsizetype colon = line.indexOf(':');
        const QByteArray name = colon > 0 ? line.left(colon).trimmed().toLower() : QByteArray();
        if (name == "content-length")
            length = line.mid(colon + 1).trimmed().toLongLong();
        else if (name == "authorization")
            authorization = line.mid(colon + 1).trimmed();
    }
    if (length < 0 || length > requestLimit) {
        respond(socket, 400, {});
        return;
    }
    if (buffer.size() < headEnd + 4 + length)
        return;
    const QByteArray body = buffer.mid(headEnd + 4, length);
    buffer.clear();
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    const QByteArray target = requestLine.value(1);
    if (requestLine.value(0) != "POST" ||
        (target != m_rt.path() && !target.startsWith(m_rt.path() + '?'))) {
        respond(socket, 404, {});
        return;
    }
    if (!m_authorization.isEmpty() && authorization != m_authorization) {
        ++m_unauthorized;
        respond(socket, 401, {});
        return;
    }
    const SimulatedEpsonRt::Result result = m_rt.handle(body);
    Q_EMIT requestHandled(result.silent ? QStringLiteral("(nessuna risposta)")
                          : result.drop ? QStringLiteral("(connessione interrotta)")
                                        : QString::fromUtf8(result.answer));
    if (result.silent)
        return; // the socket stays open until the program gives up
    QPointer<QTcpSocket> guarded(socket);
    auto send = [this, guarded, result] {
        if (!guarded)
            return;
        if (result.drop)
            guarded->abort();
        else
            respond(guarded, 200, result.answer);
    };
    if (m_replyDelay > 0)
        QTimer::singleShot(m_replyDelay, this, send);
    else
        send();
}

} // namespace corvale::sim

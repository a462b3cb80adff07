#include "RtHttpServer.h"

#include <QTcpSocket>

namespace corvale::sim {

namespace {

constexpr qsizetype requestLimit = 1 << 20;

} // namespace

RtHttpServer::RtHttpServer(HttpRegister &rt, QObject *parent)
    : LocalServer(parent)
    , m_rt(rt) {}

void RtHttpServer::setCredentials(const QString &user, const QString &password) {
    m_authorization =
        user.isEmpty() ? QByteArray() : "Basic " + (user + u':' + password).toUtf8().toBase64();
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

void RtHttpServer::received(QTcpSocket *socket, QByteArray &buffer) {
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
    stopReading(socket);
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
    const HttpRegister::Result result = m_rt.handle(body);
    Q_EMIT requestHandled(result.silent ? QStringLiteral("(nessuna risposta)")
                          : result.drop ? QStringLiteral("(connessione interrotta)")
                                        : QString::fromUtf8(result.answer));
    if (result.silent)
        return; // the socket stays open until the program gives up
    later(socket, [this, result](QTcpSocket *s) {
        if (result.drop)
            s->abort();
        else
            respond(s, 200, result.answer);
    });
}

} // namespace corvale::sim

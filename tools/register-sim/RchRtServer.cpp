#include "RchRtServer.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace corvale::sim {

namespace {

constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;

QByteArray check(const QByteArray &from) {
    unsigned char x = 0;
    for (char c : from)
        x ^= static_cast<unsigned char>(c);
    return QByteArray::number(x, 16).toUpper().rightJustified(2, '0');
}

} // namespace

RchRtServer::RchRtServer(SimulatedRchRt &rt, QObject *parent)
    : QObject(parent)
    , m_rt(rt)
    , m_server(new QTcpServer(this)) {
    connect(m_server, &QTcpServer::newConnection, this, &RchRtServer::onConnection);
}

RchRtServer::~RchRtServer() = default;

bool RchRtServer::listen(quint16 port) {
    return m_server->listen(QHostAddress::LocalHost, port);
}

quint16 RchRtServer::port() const {
    return m_server->serverPort();
}

QString RchRtServer::address() const {
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

QString RchRtServer::errorString() const {
    return m_server->errorString();
}

QByteArray RchRtServer::frame(char sequence, const QByteArray &data) {
    QByteArray out = STX + QByteArray("01") +
                     QByteArray::number(data.size()).rightJustified(3, '0') + 'N' + data +
                     char('0' + static_cast<unsigned char>(sequence) % 10);
    return out + check(out) + ETX;
}

void RchRtServer::onConnection() {
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        ++m_connections;
        socket->setParent(this);
        m_buffers.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void RchRtServer::onReadable(QTcpSocket *socket) {
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    while (!buffer.isEmpty()) {
        if (buffer.front() != STX) {
            buffer.remove(0, 1); // the program's ACK, or noise
            continue;
        }
        const qsizetype etx = buffer.indexOf(ETX);
        if (etx < 0) {
            if (buffer.size() > 2000)
                buffer.clear();
            return;
        }
        const QByteArray raw = buffer.left(etx + 1);
        buffer.remove(0, etx + 1);
        const QByteArray data = raw.mid(7, raw.size() - 11);
        const bool good = raw.size() >= 11 && raw.at(6) == 'N' &&
                          raw.mid(3, 3).toInt() == data.size() &&
                          check(raw.left(raw.size() - 3)) == raw.mid(raw.size() - 3, 2);
        if (!good) {
            socket->write(QByteArray(1, NAK));
            continue;
        }
        const SimulatedRchRt::Result result = m_rt.handle(data);
        Q_EMIT requestHandled(
            result.silent ? QStringLiteral("%1 (nessuna risposta)").arg(QString::fromLatin1(data))
            : result.drop
                ? QStringLiteral("%1 (connessione interrotta)").arg(QString::fromLatin1(data))
                : QStringLiteral("%1 -> %2")
                      .arg(QString::fromLatin1(data), QString::fromLatin1(result.data)));
        if (result.silent)
            continue; // the program gives up on its own
        QByteArray answer = frame(raw.at(raw.size() - 4), result.data);
        if (result.corrupt)
            answer[answer.size() - 2] = answer.at(answer.size() - 2) == '0' ? '1' : '0';
        QPointer<QTcpSocket> guarded(socket);
        auto send = [guarded, result, answer] {
            if (!guarded)
                return;
            if (result.drop) {
                guarded->abort();
                return;
            }
            guarded->write(QByteArray(1, ACK) + answer);
        };
        if (m_replyDelay > 0)
            QTimer::singleShot(m_replyDelay, this, send);
        else
            send();
        if (result.drop)
            return;
    }
}

} // namespace corvale::sim

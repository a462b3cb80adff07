#include "RchRtServer.h"

#include <QTcpSocket>

namespace corvale::sim {

RchRtServer::RchRtServer(SimulatedRchRt &rt, QObject *parent)
    : LocalServer(parent)
    , m_line(rt) {
    m_line.setLog([this](const QString &line) { Q_EMIT requestHandled(line); });
}

void RchRtServer::received(QTcpSocket *socket, QByteArray &buffer) {
    while (const auto frame = RchRtLine::take(buffer)) {
        QByteArray now;
        QByteArray then;
        bool drop = false;
        for (const LineRegister::Reply &reply : m_line.answer(*frame)) {
            drop = drop || reply.drop;
            (reply.delayed ? then : now) += reply.bytes;
        }
        if (drop) {
            later(socket, [](QTcpSocket *s) { s->abort(); });
            return; // nothing more is read from a connection about to drop
        }
        socket->write(now);
        if (!then.isEmpty())
            later(socket, [then](QTcpSocket *s) { s->write(then); });
    }
}

} // namespace corvale::sim

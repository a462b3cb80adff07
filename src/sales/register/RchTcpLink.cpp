#include "sales/register/RchTcpLink.h"

#include "sales/register/RchRtCommands.h"

#include <QTcpSocket>

namespace corvale {

RchTcpLink::RchTcpLink(QObject *parent)
    : RtLink(parent)
    , m_socket(new QTcpSocket(this)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { end(std::nullopt); });
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_reached = true;
        sendNext();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &RchTcpLink::onReadable);
    connect(m_socket, &QTcpSocket::disconnected, this, [this] { end(std::nullopt); });
    connect(m_socket, &QTcpSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError) { end(std::nullopt); });
}

RchTcpLink::~RchTcpLink() {
    m_socket->disconnect(this);
    m_socket->abort();
}

bool RchTcpLink::send(const Request &request) {
    if (m_busy)
        return false;
    m_commands = RchRtCommands::split(request.body);
    if (m_commands.isEmpty())
        return false;
    m_busy = true;
    m_reached = false;
    m_received.clear();
    m_answers.clear();
    m_next = 0;
    m_sequence = 0;
    m_timeoutMs = request.timeoutMs;
    m_timer.start(m_timeoutMs);
    m_socket->abort();
    m_socket->connectToHost(request.host, quint16(request.port));
    return true;
}

void RchTcpLink::sendNext() {
    m_sequence = m_next % 10;
    m_socket->write(RchRtCommands::frame(m_sequence, m_commands.at(m_next)));
    ++m_next;
    // Each command has the whole wait: closing a receipt takes the longest.
    m_timer.start(m_timeoutMs);
}

void RchTcpLink::onReadable() {
    if (!m_busy)
        return;
    m_received += m_socket->readAll();
    using Kind = RchRtCommands::Taken::Kind;
    while (m_busy) {
        const RchRtCommands::Taken t = RchRtCommands::take(m_received);
        if (t.kind == Kind::Incomplete)
            return;
        m_received.remove(0, t.used);
        switch (t.kind) {
        case Kind::Ack:
        case Kind::Noise:
            break;
        case Kind::Nak:
        case Kind::Bad:
            end(std::nullopt);
            return;
        case Kind::Frame:
            // A late answer to an earlier command is not this one's.
            if (t.sequence != RchRtCommands::answerSequence(m_sequence))
                break;
            m_answers << t.data;
            if (!t.data.startsWith('N') || m_next >= m_commands.size())
                end(m_answers.join('\n'));
            else
                sendNext();
            break;
        case Kind::Incomplete:
            return;
        }
    }
}

void RchTcpLink::end(const std::optional<QByteArray> &answers) {
    if (!m_busy)
        return;
    m_busy = false;
    m_timer.stop();
    m_socket->abort();
    QMetaObject::invokeMethod(
        this, [this, answers, reached = m_reached] { Q_EMIT finished(answers, reached); },
        Qt::QueuedConnection);
}

} // namespace corvale

#include "register/RtHttpClient.h"

#include <QTcpSocket>

namespace corvale {

namespace {

using Parsed = RtHttpClient::Parsed;

Parsed bad() {
    Parsed p;
    p.state = Parsed::State::Bad;
    return p;
}

// The body of a chunked answer; nothing while incomplete, Bad when broken.
Parsed dechunk(const QByteArray &data, qsizetype from) {
    Parsed out;
    qsizetype at = from;
    while (true) {
        const qsizetype lineEnd = data.indexOf("\r\n", at);
        if (lineEnd < 0)
            return out;
        QByteArray sizeText = data.mid(at, lineEnd - at);
        if (const qsizetype semicolon = sizeText.indexOf(';'); semicolon >= 0)
            sizeText.truncate(semicolon);
        bool ok = false;
        const qlonglong size = sizeText.trimmed().toLongLong(&ok, 16);
        if (!ok || size < 0 || size > RtHttpClient::answerLimit ||
            out.body.size() + size > RtHttpClient::answerLimit)
            return bad();
        at = lineEnd + 2;
        if (size == 0) {
            out.state = Parsed::State::Complete;
            return out;
        }
        if (data.size() < at + size + 2)
            return out;
        out.body += data.mid(at, size);
        if (data.mid(at + size, 2) != "\r\n")
            return bad();
        at += size + 2;
    }
}

} // namespace

RtHttpClient::Parsed RtHttpClient::parse(const QByteArray &raw, bool atEnd) {
    const qsizetype headEnd = raw.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        if (raw.size() > 64 * 1024)
            return bad();
        return atEnd ? bad() : Parsed();
    }
    const QList<QByteArray> lines = raw.left(headEnd).split('\n');
    const QList<QByteArray> statusLine = lines.value(0).trimmed().split(' ');
    if (statusLine.size() < 2 || !statusLine.at(0).startsWith("HTTP/1."))
        return bad();
    bool ok = false;
    const int status = statusLine.at(1).toInt(&ok);
    if (!ok || status < 100 || status > 599)
        return bad();
    qlonglong length = -1;
    bool chunked = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "content-length") {
            length = value.toLongLong(&ok);
            if (!ok || length < 0 || length > answerLimit)
                return bad();
        } else if (name == "transfer-encoding" && value.toLower().contains("chunked")) {
            chunked = true;
        }
    }
    const qsizetype bodyStart = headEnd + 4;
    Parsed out;
    if (chunked) {
        out = dechunk(raw, bodyStart);
        if (out.state == Parsed::State::Incomplete && atEnd)
            return bad();
    } else if (length >= 0) {
        if (raw.size() - bodyStart < length)
            return atEnd ? bad() : Parsed();
        out.state = Parsed::State::Complete;
        out.body = raw.mid(bodyStart, length);
    } else {
        if (!atEnd)
            return raw.size() - bodyStart > answerLimit ? bad() : Parsed();
        out.state = Parsed::State::Complete;
        out.body = raw.mid(bodyStart);
    }
    out.status = status;
    return out;
}

RtHttpClient::RtHttpClient(QObject *parent)
    : RtLink(parent)
    , m_socket(new QTcpSocket(this)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { end(std::nullopt); });
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_reached = true;
        m_socket->write(m_request);
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &RtHttpClient::onReadable);
    connect(m_socket, &QTcpSocket::disconnected, this, &RtHttpClient::onClosed);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        // The far end closing after its answer is the normal end.
        if (m_socket->error() == QAbstractSocket::RemoteHostClosedError)
            onClosed();
        else
            end(std::nullopt);
    });
}

RtHttpClient::~RtHttpClient() {
    m_socket->disconnect(this);
    m_socket->abort();
}

bool RtHttpClient::post(const QString &host, int port, const QString &target,
                        const QByteArray &body, int timeoutMs) {
    Request r;
    r.host = host;
    r.port = port;
    r.target = target;
    r.body = body;
    r.timeoutMs = timeoutMs;
    return send(r);
}

bool RtHttpClient::send(const Request &request) {
    if (m_busy)
        return false;
    m_busy = true;
    m_reached = false;
    m_unauthorized = false;
    m_received.clear();
    QByteArray auth;
    if (!request.user.isEmpty())
        auth = "Authorization: Basic " +
               (request.user + u':' + request.password).toUtf8().toBase64() + "\r\n";
    m_request = "POST " + request.target.toUtf8() + " HTTP/1.1\r\nHost: " + request.host.toUtf8() +
                ':' + QByteArray::number(request.port) +
                "\r\nContent-Type: text/xml; charset=utf-8\r\nSOAPAction: \"\"\r\n" + auth +
                "Content-Length: " + QByteArray::number(request.body.size()) +
                "\r\nConnection: close\r\n\r\n" + request.body;
    m_timer.start(request.timeoutMs);
    m_socket->abort();
    m_socket->connectToHost(request.host, quint16(request.port));
    return true;
}

void RtHttpClient::onReadable() {
    if (!m_busy)
        return;
    m_received += m_socket->readAll();
    const Parsed p = parse(m_received, false);
    m_unauthorized = p.state == Parsed::State::Complete && p.status == 401;
    if (p.state == Parsed::State::Complete)
        end(p.status == 200 ? std::optional<QByteArray>(p.body) : std::nullopt);
    else if (p.state == Parsed::State::Bad)
        end(std::nullopt);
}

void RtHttpClient::onClosed() {
    if (!m_busy)
        return;
    m_received += m_socket->readAll();
    const Parsed p = parse(m_received, true);
    m_unauthorized = p.state == Parsed::State::Complete && p.status == 401;
    end(p.state == Parsed::State::Complete && p.status == 200 ? std::optional<QByteArray>(p.body)
                                                              : std::nullopt);
}

void RtHttpClient::end(const std::optional<QByteArray> &body) {
    if (!m_busy)
        return;
    m_busy = false;
    m_timer.stop();
    m_socket->abort();
    // Out of the socket's own signals: the receiver may post again at once.
    QMetaObject::invokeMethod(
        this, [this, body, reached = m_reached] { Q_EMIT finished(body, reached); },
        Qt::QueuedConnection);
}

} // namespace corvale

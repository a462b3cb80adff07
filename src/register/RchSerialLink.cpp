#include "register/RchSerialLink.h"

namespace corvale {

RchSerialLink::RchSerialLink(QObject *parent)
    : RchFramedLink(parent) {
    m_poll.setInterval(pollMs);
    connect(&m_poll, &QTimer::timeout, this, &RchSerialLink::poll);
}

RchSerialLink::~RchSerialLink() {
    m_line.close();
}

bool RchSerialLink::send(const Request &request) {
    const QByteArray first = begin(request);
    if (first.isEmpty())
        return false;
    if (!m_line.open(request.device) || !m_line.setQueueSizes(queueSize, queueSize) ||
        !m_line.setLineSettings(request.line)) {
        end(std::nullopt);
        return true;
    }
    // An answer that came after its request gave up is not this request's.
    if (const int stale = m_line.inputCount(); stale > 0)
        m_line.read(stale);
    if (!put(first)) {
        end(std::nullopt);
        return true;
    }
    wait();
    m_poll.start();
    return true;
}

void RchSerialLink::poll() {
    const int waiting = m_line.inputCount();
    if (waiting < 0)
        end(std::nullopt); // the cable was pulled
    else if (waiting > 0)
        received(m_line.read(waiting));
}

void RchSerialLink::release() {
    m_poll.stop();
    m_line.close();
}

} // namespace corvale

#include "register/RchFramedLink.h"

#include "register/RchRtCommands.h"

namespace corvale {

RchFramedLink::RchFramedLink(QObject *parent)
    : RtLink(parent) {
    m_silence.setSingleShot(true);
    connect(&m_silence, &QTimer::timeout, this, [this] { end(std::nullopt); });
}

QByteArray RchFramedLink::begin(const Request &request) {
    if (m_busy)
        return {};
    const QByteArray first = m_exchange.start(RchRtCommands::split(request.body));
    m_busy = !first.isEmpty();
    m_timeoutMs = request.timeoutMs;
    return first;
}

void RchFramedLink::received(const QByteArray &bytes) {
    if (!m_busy)
        return;
    const RchExchange::Step step = m_exchange.feed(bytes);
    using State = RchExchange::Step::State;
    if (step.state == State::Done) {
        end(step.answers);
    } else if (step.state == State::Failed) {
        end(std::nullopt);
    } else if (!step.write.isEmpty()) {
        if (!put(step.write)) {
            end(std::nullopt);
            return;
        }
        // Each command has the whole wait: closing a receipt takes the longest.
        wait();
    }
}

void RchFramedLink::end(const std::optional<QByteArray> &answers) {
    if (!m_busy)
        return;
    m_busy = false;
    m_silence.stop();
    const bool wasReached = reached();
    release();
    // Out of the transport's own signals: the receiver may send again at once.
    QMetaObject::invokeMethod(
        this, [this, answers, wasReached] { Q_EMIT finished(answers, wasReached); },
        Qt::QueuedConnection);
}

} // namespace corvale

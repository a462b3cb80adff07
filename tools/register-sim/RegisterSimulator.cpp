#include "RegisterSimulator.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cmath>

namespace corvale::sim {

RegisterSimulator::RegisterSimulator(SimulatedRegister::Protocol protocol,
                                     SimulatedRegister::Options options, Pacing pacing,
                                     QObject *parent)
    : RegisterSimulator(std::make_unique<SimulatedRegister>(protocol, options), pacing,
                        options.seed, parent) {}

RegisterSimulator::RegisterSimulator(std::unique_ptr<LineRegister> device, Pacing pacing,
                                     quint32 seed, QObject *parent)
    : QObject(parent)
    , m_register(std::move(device))
    , m_pacing(pacing)
    , m_random(seed * 2654435761u + 1) {
    m_pumpTimer.setTimerType(Qt::PreciseTimer);
    m_pumpTimer.setInterval(1);
    connect(&m_pumpTimer, &QTimer::timeout, this, &RegisterSimulator::pump);
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(pacing.idleMs);
    connect(&m_idleTimer, &QTimer::timeout, this, &RegisterSimulator::onIdle);
    m_clock.start();
}

RegisterSimulator::~RegisterSimulator() = default;

bool RegisterSimulator::open() {
    if (!m_pty.open())
        return false;
    m_notifier = std::make_unique<QSocketNotifier>(m_pty.masterDescriptor(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &RegisterSimulator::onReadable);
    return true;
}

QList<QByteArray> RegisterSimulator::messageTexts() const {
    QList<QByteArray> out;
    for (const auto &f : m_frames) {
        if (f.kind == u"FRAME" || f.kind == u"COMMAND" || f.kind == u"DATA")
            out << f.text;
    }
    return out;
}

void RegisterSimulator::unplug() {
    m_notifier.reset();
    m_pumpTimer.stop();
    m_idleTimer.stop();
    m_queue.clear();
    m_frontStarted = false;
    m_pty.closeMaster();
}

quint32 RegisterSimulator::random() {
    m_random = m_random * 1664525u + 1013904223u;
    return m_random >> 8;
}

void RegisterSimulator::onReadable() {
    const QByteArray bytes = m_pty.readAvailable();
    if (bytes.isEmpty())
        return;
    handle(m_register->feed(bytes));
    m_idleTimer.start();
}

void RegisterSimulator::onIdle() {
    handle(m_register->idle());
}

void RegisterSimulator::handle(const QList<SimulatedRegister::Frame> &frames) {
    for (const auto &frame : frames) {
        m_frames << frame;
        const QString line = m_register->describe(frame);
        m_log << line;
        Q_EMIT frameReceived(line);
        const double t = now();
        for (const auto &reply : m_register->answer(frame)) {
            if (reply.drop)
                continue; // lost on the line: nothing arrives
            if (!reply.delayed) {
                enqueue(Pending{reply.bytes, t}, true);
                continue;
            }
            // The register works through its frames one after the other.
            const double at = std::max(
                t + (reply.closing ? m_pacing.closeDelayMs : m_pacing.replyDelayMs), m_lastReplyAt);
            m_lastReplyAt = at;
            enqueue(Pending{reply.bytes, at}, false);
        }
    }
    if (!m_queue.isEmpty() && !m_pumpTimer.isActive()) {
        m_pumpTimer.start();
        pump();
    }
}

void RegisterSimulator::enqueue(Pending pending, bool atOnce) {
    // An ACK or NAK goes out as soon as the line is free: after the bytes
    // already due, never inside a frame being sent, but before replies
    // still being worked on.
    qsizetype i = m_frontStarted ? 1 : 0;
    const double limit = atOnce ? now() : pending.notBefore;
    while (i < m_queue.size() && m_queue.at(i).notBefore <= limit)
        ++i;
    m_queue.insert(i, std::move(pending));
}

void RegisterSimulator::pump() {
    const double t = now();
    while (!m_queue.isEmpty()) {
        Pending &front = m_queue.first();
        double base = std::max(m_nextByteAt, front.notBefore);
        if (t < base)
            break;
        if (base < t - m_pacing.byteDelayMs)
            base = t; // the line was idle: no burst to catch up
        qsizetype n = 1;
        double next = 0;
        if (m_pacing.randomChunks) {
            n = 1 + qsizetype(random() % 7);
            next = t + double(n) * m_pacing.byteDelayMs +
                   m_pacing.maxChunkPauseMs * double(random() % 1000) / 1000.0;
        } else if (m_pacing.byteDelayMs > 0) {
            n = 1 + qsizetype(std::floor((t - base) / m_pacing.byteDelayMs));
            next = base + double(n) * m_pacing.byteDelayMs;
        } else {
            n = front.bytes.size();
            next = t;
        }
        n = std::min(n, front.bytes.size());
        const qint64 written = m_pty.write(front.bytes.left(n));
        if (written <= 0)
            break;
        front.bytes.remove(0, written);
        m_frontStarted = true;
        m_nextByteAt = written == n ? next : t + m_pacing.byteDelayMs;
        if (front.bytes.isEmpty()) {
            m_queue.removeFirst();
            m_frontStarted = false;
        }
        if (m_nextByteAt > t)
            break;
    }
    if (m_queue.isEmpty())
        m_pumpTimer.stop();
}

} // namespace corvale::sim

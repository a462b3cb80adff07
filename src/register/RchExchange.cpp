#include "register/RchExchange.h"

#include "register/RchRtCommands.h"

namespace corvale {

QByteArray RchExchange::start(const QList<QByteArray> &commands) {
    m_commands = commands;
    m_answers.clear();
    m_received.clear();
    m_next = 0;
    m_heard = false;
    m_running = !commands.isEmpty();
    return m_running ? nextFrame() : QByteArray();
}

QByteArray RchExchange::nextFrame() {
    m_sequence = m_next % 10;
    return RchRtCommands::frame(m_sequence, m_commands.at(m_next++));
}

RchExchange::Step RchExchange::feed(const QByteArray &bytes) {
    Step step;
    if (!m_running)
        return step;
    if (!bytes.isEmpty())
        m_heard = true;
    m_received += bytes;
    using Kind = RchRtCommands::Taken::Kind;
    while (true) {
        const RchRtCommands::Taken t = RchRtCommands::take(m_received);
        if (t.kind == Kind::Incomplete)
            return step;
        m_received.remove(0, t.used);
        switch (t.kind) {
        case Kind::Ack:
        case Kind::Noise:
        case Kind::Incomplete:
            break;
        case Kind::Nak:
        case Kind::Bad:
            m_running = false;
            step.state = Step::State::Failed;
            return step;
        case Kind::Frame:
            // A late answer to an earlier command is not this one's.
            if (t.sequence != RchRtCommands::answerSequence(m_sequence))
                break;
            m_answers << t.data;
            if (!t.data.startsWith('N') || m_next >= m_commands.size()) {
                m_running = false;
                step.state = Step::State::Done;
                step.answers = m_answers.join('\n');
                return step;
            }
            step.write += nextFrame();
            // Whatever follows belongs to the next command's answer.
            break;
        }
    }
}

} // namespace corvale

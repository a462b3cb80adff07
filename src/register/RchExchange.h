#pragma once

#include <QByteArray>
#include <QList>

namespace corvale {

// The commands of one request to an RCH RT, one frame at a time, whatever
// carries the bytes (a TCP connection or a serial line): each command goes
// out in its frame and waits for the register's ACK and response frame
// before the next; the first response with an error ends the request. A
// NAK or a broken frame ends it without an answer. The register's frames are
// not acknowledged (public captures show no ACK from the host). It knows
// nothing of time: the link keeps the silence limit.
class RchExchange {
public:
    struct Step {
        enum class State {
            Waiting, // for more bytes
            Done,    // `answers` holds the answers, one a line
            Failed   // no answer to give: a NAK or a broken frame
        };
        State state = State::Waiting;
        QByteArray write; // the next command's frame, to send now
        QByteArray answers;
    };

    // Begins a request; returns the first command's frame (empty when there
    // is no command).
    QByteArray start(const QList<QByteArray> &commands);
    // Bytes from the register, however they were cut.
    Step feed(const QByteArray &bytes);
    bool isRunning() const { return m_running; }
    // Something came back from the register during this request.
    bool heard() const { return m_heard; }

private:
    QByteArray nextFrame();

    QList<QByteArray> m_commands;
    QList<QByteArray> m_answers;
    QByteArray m_received;
    int m_next = 0;
    int m_sequence = 0;
    bool m_running = false;
    bool m_heard = false;
};

} // namespace corvale

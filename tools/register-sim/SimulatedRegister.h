#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace corvale::sim {

// The far side of the cable: takes the bytes the program sends, cuts them
// into frames whatever way they arrive, and says what a register of the
// chosen protocol answers. It knows nothing of time or devices; the
// RegisterSimulator paces the answers onto a pseudo-terminal.
class SimulatedRegister {
public:
    enum class Protocol { Ela, Dataprocess, Epson, RchGlobe, RchMizar };

    struct Options {
        int silentAfter = -1; // stop answering after this many frames (-1: never)
        int nakEvery = 0;     // answer every n-th frame with NAK (0: never)
        bool garbage = false; // put line noise before each answer
        quint32 seed = 1;
    };

    // A frame received, decoded.
    struct Frame {
        QString kind;             // "FRAME", "COMMAND", "DATA", "POLL", "ACK", "EOT"
        int sequence = -1;        // Dataprocess/Epson/Globe
        QByteArray text;          // the message text (ELA: the payload bytes)
        QList<QByteArray> fields; // ELA fields
        bool checksumOk = true;
        QByteArray raw;
    };

    // One piece of an answer: bytes to send `delay` ms after the previous piece.
    struct Reply {
        QByteArray bytes;
        bool delayed = false; // after processing rather than at once
        bool closing = false; // the receipt is being closed: printing takes longer
    };

    SimulatedRegister(Protocol protocol, Options options);

    static std::optional<Protocol> protocolFromName(const QString &name);
    static QString protocolName(Protocol protocol);

    // Feeds received bytes; returns the frames completed by them.
    QList<Frame> feed(const QByteArray &bytes);
    // No byte for a while: a lone EOT waiting for its continuation is a
    // bare end of transmission (Mizar).
    QList<Frame> idle();
    // The answer to a frame (empty when the register stays silent).
    QList<Reply> answer(const Frame &frame);

    // One line of the traffic log.
    QString describe(const Frame &frame) const;

    int framesAnswered() const { return m_answered; }
    Protocol protocol() const { return m_protocol; }

private:
    std::optional<Frame> takeFrame(bool flushEot);
    std::optional<Frame> takeStxFrame();
    std::optional<Frame> takeMizarFrame(bool flushEot);
    QByteArray noise();
    QByteArray replyFrame(const Frame &request);
    bool closesReceipt(const Frame &frame) const;

    Protocol m_protocol;
    Options m_options;
    QByteArray m_buffer;
    int m_received = 0;
    int m_answered = 0;
    quint32 m_random;
};

} // namespace corvale::sim

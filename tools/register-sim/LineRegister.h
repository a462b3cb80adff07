#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace corvale::sim {

// The control bytes of the serial protocols.
namespace line {
constexpr char SOH = 0x01;
constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr char EOT = 0x04;
constexpr char ENQ = 0x05;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;

inline unsigned char byteXor(QByteArrayView bytes) {
    unsigned char x = 0;
    for (char c : bytes)
        x ^= static_cast<unsigned char>(c);
    return x;
}
} // namespace line

// The far side of a cable that carries frames: takes the bytes the program
// sends, cuts them into frames whatever way they arrive, and says what the
// register answers. It knows nothing of time or devices; the
// RegisterSimulator paces the answers onto a pseudo-terminal.
class LineRegister {
public:
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
        bool drop = false;    // the answer is lost on its way: a connection closes
    };

    virtual ~LineRegister() = default;

    // Feeds received bytes; returns the frames completed by them.
    virtual QList<Frame> feed(const QByteArray &bytes) = 0;
    // No byte for a while: what waits for a continuation ends.
    virtual QList<Frame> idle() { return {}; }
    // The answer to a frame (empty when the register stays silent).
    virtual QList<Reply> answer(const Frame &frame) = 0;
    // One line of the traffic log.
    virtual QString describe(const Frame &frame) const = 0;
};

} // namespace corvale::sim

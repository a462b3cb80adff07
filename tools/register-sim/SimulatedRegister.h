#pragma once

#include "LineRegister.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace corvale::sim {

// The far side of the cable for the registers from before the telematic
// ones: what a register of the chosen protocol answers.
class SimulatedRegister : public LineRegister {
public:
    enum class Protocol { Ela, Dataprocess, Epson, RchGlobe, RchMizar };

    struct Options {
        int silentAfter = -1; // stop answering after this many frames (-1: never)
        int nakEvery = 0;     // answer every n-th frame with NAK (0: never)
        bool garbage = false; // put line noise before each answer
        quint32 seed = 1;
    };

    SimulatedRegister(Protocol protocol, Options options);

    static std::optional<Protocol> protocolFromName(const QString &name);
    static QString protocolName(Protocol protocol);

    // Feeds received bytes; returns the frames completed by them.
    QList<Frame> feed(const QByteArray &bytes) override;
    // No byte for a while: a lone EOT waiting for its continuation is a
    // bare end of transmission (Mizar).
    QList<Frame> idle() override;
    // The answer to a frame (empty when the register stays silent).
    QList<Reply> answer(const Frame &frame) override;

    // One line of the traffic log.
    QString describe(const Frame &frame) const override;

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

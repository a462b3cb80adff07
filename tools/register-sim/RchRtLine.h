#pragma once

#include "LineRegister.h"
#include "SimulatedRchRt.h"

#include <functional>
#include <optional>

namespace corvale::sim {

// A simulated RCH telematic register in the frames of the serial RCH
// protocol, whatever carries them (TCP with RchRtServer, a pseudo-terminal
// with the RegisterSimulator): each command frame is answered with a lone ACK
// and a response frame whose sequence digit is the request's ASCII code
// modulo 10; a frame failing its check gets a NAK; the program's stray ACKs
// are ignored.
class RchRtLine : public LineRegister {
public:
    explicit RchRtLine(SimulatedRchRt &rt)
        : m_rt(rt) {}

    // Told one line for each command: "=c -> N0000000", "=c (nessuna risposta)".
    void setLog(std::function<void(const QString &)> log) { m_log = std::move(log); }

    QList<Frame> feed(const QByteArray &bytes) override;
    QList<Reply> answer(const Frame &frame) override;
    QString describe(const Frame &frame) const override;

    // The first frame at the start of `buffer`, taken from it; bytes before
    // a frame (the program's ACK, noise) are dropped.
    static std::optional<Frame> take(QByteArray &buffer);
    static QByteArray frame(char sequence, const QByteArray &data);

private:
    SimulatedRchRt &m_rt;
    QByteArray m_buffer;
    std::function<void(const QString &)> m_log;
};

} // namespace corvale::sim

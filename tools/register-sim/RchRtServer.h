#pragma once

#include "LocalServer.h"
#include "RchRtLine.h"

namespace corvale::sim {

// Serves a simulated RCH telematic register on a local TCP port, in the
// frames of the serial RCH protocol (RchRtLine). One connection may carry
// many commands; a lost answer closes the connection.
class RchRtServer : public LocalServer {
    Q_OBJECT
public:
    explicit RchRtServer(SimulatedRchRt &rt, QObject *parent = nullptr);

    static QByteArray frame(char sequence, const QByteArray &data) {
        return RchRtLine::frame(sequence, data);
    }

protected:
    void received(QTcpSocket *socket, QByteArray &buffer) override;

private:
    RchRtLine m_line;
};

} // namespace corvale::sim

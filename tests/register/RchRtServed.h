#pragma once

// The simulated RCH telematic register served one of its ways, for the tests
// of the driver and of the counter sale.

#include "RchRtLine.h"
#include "RchRtServer.h"
#include "RchServiceCgi.h"
#include "RegisterSimulator.h"
#include "RtHttpServer.h"
#include "register/RegisterSettings.h"

#include <memory>

namespace corvale::sim {

// The simulated register served one way: its TCP port, its service.cgi, or a
// pseudo-terminal paced like a serial line (quicker, in random pieces).
class RchRtServed {
public:
    RchRtServed(SimulatedRchRt &rt, RegisterSettings::Transport transport) {
        if (transport == RegisterSettings::Transport::Serial) {
            RegisterSimulator::Pacing pacing;
            pacing.byteDelayMs = 0.05;
            pacing.replyDelayMs = 2;
            pacing.closeDelayMs = 6;
            pacing.randomChunks = true;
            pacing.maxChunkPauseMs = 1;
            m_pty = std::make_unique<RegisterSimulator>(std::make_unique<RchRtLine>(rt), pacing);
        } else if (transport == RegisterSettings::Transport::Http) {
            m_cgi = std::make_unique<RchServiceCgi>(rt);
            m_server = std::make_unique<RtHttpServer>(*m_cgi);
        } else {
            m_server = std::make_unique<RchRtServer>(rt);
        }
    }
    bool listen() { return m_pty ? m_pty->open() : m_server->listen(); }
    QString address() const { return m_pty ? m_pty->devicePath() : m_server->address(); }

private:
    std::unique_ptr<RchServiceCgi> m_cgi;
    std::unique_ptr<LocalServer> m_server;
    std::unique_ptr<RegisterSimulator> m_pty;
};

// Every way the register is reached. Pseudo-terminals are Unix's: on Windows
// the serial way is left to the Linux run.
inline const QList<std::pair<const char *, RegisterSettings::Transport>> rchTransports{
    {"tcp", RegisterSettings::Transport::Tcp},
#ifndef Q_OS_WIN
    {"serial", RegisterSettings::Transport::Serial},
#endif
    {"service.cgi", RegisterSettings::Transport::Http}};

} // namespace corvale::sim

#include "platform/PtyPair.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace corvale {

PtyPair::~PtyPair() {
    close();
}

bool PtyPair::open() {
    close();
#ifdef Q_OS_UNIX
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    // Our copy of the slave end keeps the pair alive while the program has
    // not opened it yet or has closed it between two receipts.
    m_master = master;
    m_slave = slave;
    m_path = QString::fromLocal8Bit(name);
    return true;
#else
    m_error = QStringLiteral("pseudo-terminals are not available");
    return false;
#endif
}

qint64 PtyPair::write(const QByteArray &bytes) {
#ifdef Q_OS_UNIX
    if (m_master < 0)
        return -1;
    const ssize_t n = ::write(m_master, bytes.constData(), size_t(bytes.size()));
    if (n < 0)
        return errno == EAGAIN ? 0 : -1;
    return n;
#else
    Q_UNUSED(bytes);
    return -1;
#endif
}

QByteArray PtyPair::readAvailable() {
    QByteArray out;
#ifdef Q_OS_UNIX
    if (m_master < 0)
        return out;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        out.append(buffer, n);
    }
#endif
    return out;
}

bool PtyPair::waitForReadable(int msecs) {
#ifdef Q_OS_UNIX
    if (m_master < 0)
        return false;
    pollfd pfd{m_master, POLLIN, 0};
    return ::poll(&pfd, 1, msecs) > 0 && (pfd.revents & POLLIN);
#else
    Q_UNUSED(msecs);
    return false;
#endif
}

void PtyPair::closeMaster() {
#ifdef Q_OS_UNIX
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
    // Without our slave copy the program's end is the last one: it sees the hang-up.
    if (m_slave >= 0)
        ::close(m_slave);
    m_slave = -1;
#endif
}

void PtyPair::close() {
    closeMaster();
    m_path.clear();
}

} // namespace corvale

#pragma once

#include <QByteArray>
#include <QString>

namespace corvale {

// A pseudo-terminal pair in raw mode: the program opens the device path as
// its serial port, the other end (this object's descriptor) plays the device
// on the far side of the cable. Used by the register simulators and the tests.
// Available on Unix systems only; open() fails elsewhere.
class PtyPair {
public:
    PtyPair() = default;
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    // Creates the pair and switches it to raw mode at once: a fresh terminal
    // echoes and turns CR into CR LF, which would corrupt the first frames.
    bool open();
    bool isOpen() const { return m_master >= 0; }
    QString errorString() const { return m_error; }

    // Path of the end the program opens, e.g. "/dev/pts/3".
    QString devicePath() const { return m_path; }
    // Non-blocking descriptor of our end.
    int masterDescriptor() const { return m_master; }

    // Writes what the descriptor takes now; returns the count written, -1 on error.
    qint64 write(const QByteArray &bytes);
    // Reads what is waiting, without blocking.
    QByteArray readAvailable();
    // Waits up to `msecs` for something to read.
    bool waitForReadable(int msecs);

    // Closes our end: the program's port sees the cable pulled.
    void closeMaster();
    void close();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QString m_error;
};

} // namespace corvale

#pragma once

#include "SimulatedRegister.h"
#include "platform/PtyPair.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <memory>

class QSocketNotifier;

namespace corvale::sim {

// A simulated cash register on a pseudo-terminal: the program opens
// devicePath() as its serial port. Answers go out paced like a real line
// (about 1.04 ms a byte at 9600 baud), the reply frame after a pause, so the
// program's "answer stopped growing" test meets realistic traffic.
class RegisterSimulator : public QObject {
    Q_OBJECT
public:
    struct Pacing {
        double byteDelayMs = 1.04;
        double replyDelayMs = 250;  // between a frame and its reply frame
        double closeDelayMs = 1500; // the same when the receipt is printed and closed
        bool randomChunks = false;  // answers in random pieces with short pauses
        double maxChunkPauseMs = 2; // longest pause between two pieces
        int idleMs = 20;            // silence that ends a lone EOT (Mizar)
    };

    RegisterSimulator(SimulatedRegister::Protocol protocol, SimulatedRegister::Options options,
                      Pacing pacing, QObject *parent = nullptr);
    // Any register that takes frames on a line.
    RegisterSimulator(std::unique_ptr<LineRegister> device, Pacing pacing, quint32 seed = 1,
                      QObject *parent = nullptr);
    ~RegisterSimulator() override;

    bool open();
    QString devicePath() const { return m_pty.devicePath(); }
    QString errorString() const { return m_pty.errorString(); }

    // Every frame received so far, decoded, and the same as log lines.
    QList<SimulatedRegister::Frame> frames() const { return m_frames; }
    QStringList log() const { return m_log; }
    // Frames of the kinds that carry a message (not ACK, EOT, noise).
    QList<QByteArray> messageTexts() const;
    // True when no answer is waiting to go out.
    bool isIdle() const { return m_queue.isEmpty(); }
    // Pulls the cable: our end of the pair closes.
    void unplug();

Q_SIGNALS:
    void frameReceived(const QString &line);

private:
    struct Pending {
        QByteArray bytes;
        double notBefore = 0;
    };

    void onReadable();
    void onIdle();
    void handle(const QList<SimulatedRegister::Frame> &frames);
    void pump();
    void enqueue(Pending pending, bool atOnce);
    double now() const { return double(m_clock.nsecsElapsed()) / 1e6; }
    quint32 random();

    std::unique_ptr<LineRegister> m_register;
    Pacing m_pacing;
    PtyPair m_pty;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_pumpTimer;
    QTimer m_idleTimer;
    QElapsedTimer m_clock;
    QList<Pending> m_queue;
    double m_nextByteAt = 0;
    double m_lastReplyAt = 0;
    bool m_frontStarted = false;
    QList<SimulatedRegister::Frame> m_frames;
    QStringList m_log;
    quint32 m_random;
};

} // namespace corvale::sim

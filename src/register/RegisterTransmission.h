#pragma once

#include "platform/SerialLine.h"
#include "register/Receipt.h"
#include "register/RegisterSettings.h"

#include <QObject>
#include <QTimer>
#include <memory>

namespace corvale {

class Prompter;
class RegisterProtocol;
class SerialRegisterLink;

// One receipt on its way to the cash register: opens and prepares the port,
// runs the protocol of the configured brand on a timer of the user-interface
// thread and reports the end. The sale binds busyChanged() to its hourglass and
// sheet area and presses "Salva" when finished() asks for it. A receiver may
// delete this object (deleteLater) from its finished() slot.
class RegisterTransmission : public QObject {
    Q_OBJECT
public:
    static inline const QString openFailedText =
        QStringLiteral("Apertura porta seriale non riuscita!");
    static inline const QString silentText = QStringLiteral("Il Reg. di Cassa non risponde!");

    explicit RegisterTransmission(Prompter &prompter, QObject *parent = nullptr);
    ~RegisterTransmission() override;

    // Overrides the protocols' timer intervals (100 and 50 ms) so that tests
    // run the same tick counts fast; 0 restores them.
    void setTickInterval(int msecs) { m_tickOverride = msecs; }

    // Opens the port and starts the protocol. False, after reporting
    // "Apertura porta seriale non riuscita!", when the port cannot be opened
    // or prepared; false without a message when a transmission is running.
    bool start(const RegisterSettings &settings, const Receipt &receipt);
    bool isRunning() const { return m_running; }
    // Closes the port without a message: a brand without a protocol holds it
    // until the sale is saved or cancelled.
    void stop();

    const RegisterProtocol *protocol() const { return m_protocol.get(); }
    // Line settings the device refused (a pseudo-terminal refuses 7 bits).
    QStringList lineWarnings() const { return m_warnings; }

Q_SIGNALS:
    void busyChanged(bool busy);
    // completed: the register took the whole receipt; saveSale: the protocol
    // asks the sale to save itself (Olivetti ELA, Dataprocess, Epson).
    void finished(bool completed, bool saveSale);

private:
    void onTick();
    void release();

    Prompter &m_prompter;
    SerialLine m_line;
    std::unique_ptr<SerialRegisterLink> m_link;
    std::unique_ptr<RegisterProtocol> m_protocol;
    QTimer m_timer;
    QStringList m_warnings;
    int m_tickOverride = 0;
    bool m_running = false;
};

} // namespace corvale

#pragma once

#include "register/FiscalDevice.h"
#include "register/SerialFiscalDevice.h"
#include "sales/SalePayment.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace corvale {

class NetworkFiscalDevice;
class Prompter;
struct SaleSettings;

// "Scontrino": the payment (the cash received and the change when the shop
// calculates it) and the one transmission of the sale to the cash register.
// A receipt is sent only when the operator asks: never a second time while
// one is on its way, never again after the register took it (or may have
// taken it) unless the operator confirms, and after a failure the sale waits
// for the operator. A telematic register's confirmed receipt saves the sale
// with the register's number. When the telematic register cannot be reached
// at all (nothing was sent), the operator may store the sale as "non
// fiscalizzata", to be sent later: the counter never waits for a broken
// device. An answer lost after sending never takes that way.
class SaleCheckout : public QObject {
    Q_OBJECT
public:
    enum class State {
        Idle,
        Sending, // the register is being talked to
        Holding  // a brand without a protocol holds the port until the sale ends
    };

    static inline const QString busyText = QStringLiteral(
        "Invio dello scontrino al Reg. di Cassa in corso!\rAttendere la fine dell'invio.");
    static inline const QString sentAgainText =
        QStringLiteral("Lo scontrino di questa vendita è già stato emesso.\rEmetterlo di nuovo?");
    static inline const QString unconfirmedAgainText = QStringLiteral(
        "Il registratore non aveva confermato lo scontrino di questa vendita.\rVerificato sul "
        "registratore che non è stato emesso, inviarlo di nuovo?");
    static inline const QString insufficientText = QStringLiteral("Credito Insufficiente!");
    // The question after `reason`, why the telematic register was not reached.
    static QString offlineQuestion(const QString &reason);

    explicit SaleCheckout(Prompter &prompter, QObject *parent = nullptr);
    ~SaleCheckout() override;

    // The serial registers' transmission (tests shorten its ticks).
    RegisterTransmission &transmission() { return m_serial.transmission(); }
    State state() const { return m_state; }
    bool isSending() const { return m_state == State::Sending; }
    // The register took this sale's whole receipt.
    bool receiptTaken() const { return m_taken; }
    // The register could not be reached and the operator chose to store the
    // sale without it.
    bool storedWithoutRegister() const { return m_offline; }
    // The sale is to be stored as it was paid: its receipt was taken, or it
    // goes without one for now.
    bool settled() const { return m_taken || m_offline; }
    // Whether an unreachable telematic register offers to store the sale
    // without it: not for a sale the register already numbered.
    void setOfflineAllowed(bool allowed) { m_offlineAllowed = allowed; }
    // The register's identity of the receipt taken (a telematic register).
    const FiscalOutcome &lastOutcome() const { return m_outcome; }
    // What the sale keeps of the receipt taken.
    const SaleFiscalRecord &record() const { return m_record; }

    // The device of `settings`: the serial registers or a telematic one.
    FiscalDevice &device(const SaleSettings &settings);

    // The payment for `net`: the net total, or with "Calcolo del resto" the
    // cash asked for, the change shown. Nothing when the box is cancelled, the
    // text is not a number or the cash does not cover the total.
    std::optional<double> askPayment(double net, bool calcResto);

    // Sends the receipt that `describe` puts on the device (between begin()
    // and end()) for the payment `chosen` (all cash without it). With
    // "Calcolo del resto" the cash handed over is asked for the cash part.
    // False when refused, when `describe` gives up or when the register could
    // not be reached at all.
    bool send(const SaleSettings &settings, double net,
              const std::function<bool(FiscalDevice &, const SalePayment &)> &describe,
              std::optional<SalePayment> chosen = std::nullopt);

    // The sale is saved or cancelled: a held port is let go and the next
    // sale starts afresh.
    void reset();

Q_SIGNALS:
    void busyChanged(bool busy);
    // A completed receipt of a protocol that saves the sale itself.
    void saveRequested();
    void ended(bool completed);

private:
    void onFinished(const FiscalOutcome &outcome);

    Prompter &m_prompter;
    SerialFiscalDevice m_serial;
    std::unique_ptr<NetworkFiscalDevice> m_network;
    FiscalDevice *m_active = nullptr;
    State m_state = State::Idle;
    FiscalOutcome m_outcome;
    SaleFiscalRecord m_record;
    SalePayment m_payment;
    bool m_taken = false;
    bool m_unconfirmed = false;
    bool m_offline = false;
    bool m_offlineAllowed = true;
};

} // namespace corvale

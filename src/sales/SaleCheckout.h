#pragma once

#include "sales/register/RegisterTransmission.h"

#include <QObject>

#include <functional>
#include <optional>

namespace corvale {

class Prompter;
struct SaleSettings;

// "Scontrino": the payment (the cash received and the change when the shop
// calculates it) and the one transmission of the sale to the cash register.
// A receipt is sent only when the operator asks: never a second time while
// one is on its way, never again after the register took it unless the
// operator confirms, and after a failure the sale waits for the operator.
class SaleCheckout : public QObject {
    Q_OBJECT
public:
    enum class State {
        Idle,
        Sending, // a protocol is talking to the register
        Holding  // a brand without a protocol holds the port until the sale ends
    };

    static inline const QString busyText = QStringLiteral(
        "Invio dello scontrino al Reg. di Cassa in corso!\rAttendere la fine dell'invio.");
    static inline const QString sentAgainText =
        QStringLiteral("Lo scontrino di questa vendita è già stato emesso.\rEmetterlo di nuovo?");
    static inline const QString insufficientText = QStringLiteral("Credito Insufficiente!");

    explicit SaleCheckout(Prompter &prompter, QObject *parent = nullptr);

    RegisterTransmission &transmission() { return m_transmission; }
    State state() const { return m_state; }
    bool isSending() const { return m_state == State::Sending; }
    // The register took this sale's whole receipt.
    bool receiptTaken() const { return m_taken; }

    // The payment for `net`: the net total, or with "Calcolo del resto" the
    // cash asked for, the change shown. Nothing when the box is cancelled, the
    // text is not a number or the cash does not cover the total.
    std::optional<double> askPayment(double net, bool calcResto);

    // Sends the receipt the sale makes for `payment` (none: nothing is sent).
    // False when refused, when there is no receipt or when the port could not
    // be opened.
    bool send(const SaleSettings &settings, double net,
              const std::function<std::optional<Receipt>(double payment)> &receiptFor);

    // The sale is saved or cancelled: a held port is let go and the next
    // sale starts afresh.
    void reset();

Q_SIGNALS:
    void busyChanged(bool busy);
    // A completed receipt of a protocol that saves the sale itself.
    void saveRequested();
    void ended(bool completed);

private:
    void onFinished(bool completed, bool saveSale);

    Prompter &m_prompter;
    RegisterTransmission m_transmission;
    State m_state = State::Idle;
    bool m_taken = false;
};

} // namespace corvale

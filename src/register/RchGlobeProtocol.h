#pragma once

#include "register/RegisterProtocol.h"

namespace corvale {

// RCH, variant Globe (models Globe, Nucleo, Onda): frames with protocol letter
// 'N', a sequence digit and an XOR check. A completed receipt does not save
// the sale; the operator does.
class RchGlobeProtocol : public RegisterProtocol {
public:
    // Each message goes out in one state and the answer is awaited in the
    // common AwaitingAnswer, which then moves on to the state kept aside
    // (or first to the line discount left waiting).
    enum class State {
        Starting = 0,            // the start message goes out
        SendingLines = 3,        // the next sheet row's item, or the subtotal at the end
        AwaitingAnswer = 4,      // acknowledges the answer and moves on
        SendingLineDiscount = 5, // the discount of the item just answered
        SendingSaleDiscount = 30,
        SendingTotal = 40,
        PausingAfterTotal = 42, // one tick after the answer to the total
        Finished = 43
    };

    RchGlobeProtocol(RegisterLink &link, Receipt receipt, int timeoutSetting);

    int tickInterval() const override { return 50; }
    bool savesSale() const override { return false; }

    // STX, "01", length as three digits, 'N', text, sequence digit, two hex
    // digits of the XOR from STX to the sequence digit, ETX.
    static QByteArray frame(int sequence, const QByteArray &text);

    static QByteArray startText();
    static QByteArray itemText(const ReceiptLine &line);
    static QByteArray lineDiscountText(const ReceiptLine &line);
    static QByteArray subtotalText();
    static QByteArray saleDiscountText(const Receipt &receipt);
    static QByteArray totalText();

    State state() const { return m_state; }
    static constexpr int silenceLimit = 101;

protected:
    Step step() override;
    bool acknowledgesEtx() const override { return false; }

private:
    void sendText(const QByteArray &text);

    State m_state = State::Starting;
    State m_afterAnswer = State::SendingLines;
    int m_sequence = 0;
    QByteArray m_waitingDiscount;
};

} // namespace corvale

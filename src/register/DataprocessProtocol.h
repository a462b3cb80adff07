#pragma once

#include "register/RegisterProtocol.h"

namespace corvale {

// Dataprocess, and the Epson T81/T90 that speaks the same frames with its own
// messages: STX, two sequence digits, text, two digits of the byte sum mod
// 100, ETX. The discount on the whole sale is not sent to these registers.
class DataprocessProtocol : public RegisterProtocol {
public:
    enum class Variant { Dataprocess, Epson };

    // Every state but the first waits for the register's answer.
    enum class State {
        Opening = 0,             // first tick: the open message goes out
        SendingLines = 1,        // the next sheet row's item, or the payment at the end
        SendingLineDiscount = 2, // the discount of the item just sent
        PaymentSent = 10,        // two answers to the payment complete the receipt
        PaymentAnswered = 11
    };

    DataprocessProtocol(Variant variant, RegisterLink &link, Receipt receipt, int timeoutSetting);

    int tickInterval() const override { return 100; }
    bool savesSale() const override { return true; }

    static QByteArray frame(int sequence, const QByteArray &text);

    static QByteArray openText(Variant variant);
    static QByteArray itemText(Variant variant, const ReceiptLine &line);
    static QByteArray lineDiscountText(Variant variant, const ReceiptLine &line);
    static QByteArray paymentText(Variant variant, const Receipt &receipt);

    State state() const { return m_state; }
    int sequence() const { return m_sequence; }
    static constexpr int silenceLimit = 101;

protected:
    Step step() override;

private:
    void sendText(const QByteArray &text);

    const Variant m_variant;
    State m_state = State::Opening;
    int m_sequence = 0;
};

} // namespace corvale

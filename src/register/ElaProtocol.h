#pragma once

#include "register/RegisterProtocol.h"

namespace corvale {

// Olivetti ELA: messages of length-prefixed fields, each field led by one
// byte 20 hex + its length. The messages are built as bytes, so a "!" in a
// description is sent as itself and counted in its field's length.
class ElaProtocol : public RegisterProtocol {
public:
    // Apart from the pause before an item, every state waits for the
    // register's answer and is named after what that answer lets us send.
    enum class State {
        Idle = 0,                // begin() not called yet
        PausingBeforeItem = 1,   // counting ticks, then the held item goes out
        SendingLines = 2,        // the next sheet row's item, or the subtotal at the end
        SendingLineDiscount = 3, // the discount held with the item just sent
        SendingSaleDiscount = 8,
        SendingPayment = 10,
        ClosingReceipt = 11,
        SendingLast = 12,
        AwaitingLastAnswer = 13 // the answer to "last" completes the receipt
    };

    ElaProtocol(RegisterLink &link, Receipt receipt, int timeoutSetting);

    int tickInterval() const override { return 100; }
    bool savesSale() const override { return true; }
    void begin() override;

    // STX, payload, four upper-case hex digits of the payload's byte sum, ETX.
    static QByteArray frame(const QByteArray &payload);
    static QByteArray field(const QByteArray &content);

    static QByteArray openReceipt();
    static QByteArray item(const ReceiptLine &line);
    static QByteArray lineDiscount(const ReceiptLine &line);
    static QByteArray subtotal();
    static QByteArray saleDiscount(const Receipt &receipt);
    static QByteArray payment(const Receipt &receipt);
    static QByteArray closeReceipt();
    static QByteArray last();

    State state() const { return m_state; }
    static constexpr int silenceLimit = 201;

protected:
    Step step() override;

private:
    State m_state = State::Idle;
    QByteArray m_heldItem;
    QByteArray m_heldDiscount;
    int m_ticksInState = 0;
};

} // namespace corvale

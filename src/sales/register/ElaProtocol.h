#pragma once

#include "sales/register/RegisterProtocol.h"

namespace corvale {

// Olivetti ELA: messages of length-prefixed fields, each field led by one
// byte 20 hex + its length. The messages are built as bytes, so a "!" in a
// description is sent as itself and counted in its field's length.
class ElaProtocol : public RegisterProtocol {
public:
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

    static constexpr int silenceLimit = 201;

protected:
    Step step() override;

private:
    QByteArray m_heldItem;
    QByteArray m_heldDiscount;
    int m_ticksInState = 0;
};

} // namespace corvale

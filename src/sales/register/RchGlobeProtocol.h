#pragma once

#include "sales/register/RegisterProtocol.h"

namespace corvale {

// RCH, variant Globe (models Globe, Nucleo, Onda): frames with protocol letter
// 'N', a sequence digit and an XOR check. A completed receipt does not save
// the sale; the operator does.
class RchGlobeProtocol : public RegisterProtocol {
public:
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

    static constexpr int silenceLimit = 101;

protected:
    Step step() override;
    bool acknowledgesEtx() const override { return false; }

private:
    void sendText(const QByteArray &text);

    int m_sequence = 0;
    int m_next = 3;
    QByteArray m_waitingDiscount;
};

} // namespace corvale

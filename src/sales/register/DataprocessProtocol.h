#pragma once

#include "sales/register/RegisterProtocol.h"

namespace corvale {

// Dataprocess, and the Epson T81/T90 that speaks the same frames with its own
// messages: STX, two sequence digits, text, two digits of the byte sum mod
// 100, ETX. The discount on the whole sale is not sent to these registers.
class DataprocessProtocol : public RegisterProtocol {
public:
    enum class Variant { Dataprocess, Epson };

    DataprocessProtocol(Variant variant, RegisterLink &link, Receipt receipt, int timeoutSetting);

    int tickInterval() const override { return 100; }
    bool savesSale() const override { return true; }

    static QByteArray frame(int sequence, const QByteArray &text);

    static QByteArray openText(Variant variant);
    static QByteArray itemText(Variant variant, const ReceiptLine &line);
    static QByteArray lineDiscountText(Variant variant, const ReceiptLine &line);
    static QByteArray paymentText(Variant variant, const Receipt &receipt);

    int sequence() const { return m_sequence; }
    static constexpr int silenceLimit = 101;

protected:
    Step step() override;

private:
    void sendText(const QByteArray &text);

    const Variant m_variant;
    int m_sequence = 0;
};

} // namespace corvale

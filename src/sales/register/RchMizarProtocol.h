#pragma once

#include "sales/register/RegisterProtocol.h"

namespace corvale {

// RCH, variant Mizar: commands and key sequences in poll/select frames with a
// BCC. The discount on the whole sale is not sent; a completed receipt does
// not save the sale.
class RchMizarProtocol : public RegisterProtocol {
public:
    RchMizarProtocol(RegisterLink &link, Receipt receipt, int timeoutSetting);

    int tickInterval() const override { return 50; }
    bool savesSale() const override { return false; }

    // EOT "01" STX text ETX BCC
    static QByteArray command(const QByteArray &text);
    // SOH "0100" STX text ETX BCC
    static QByteArray data(const QByteArray &text);
    // EOT "01" ENQ
    static QByteArray poll();
    // The keys typing a number: "," is "1046", a digit d is "120d".
    static QByteArray keys(const QString &text);

    static QByteArray lineText(const ReceiptLine &line);
    static QByteArray quantityKeys(const ReceiptLine &line);
    static QByteArray discountKeys(const ReceiptLine &line);
    static QByteArray closingKeys();

    static constexpr int silenceLimit = 101;

protected:
    Step step() override;
    bool acknowledgesEtx() const override { return false; }

private:
    void sendFrame(const QByteArray &frame);

    QByteArray m_line;
    QByteArray m_quantity;
    QByteArray m_discount;
};

} // namespace corvale

#pragma once

#include "register/RegisterProtocol.h"

namespace corvale {

// RCH, variant Mizar: commands and key sequences in poll/select frames with a
// BCC. The discount on the whole sale is not sent; a completed receipt does
// not save the sale.
class RchMizarProtocol : public RegisterProtocol {
public:
    // Each row is one to three select/poll dialogues (quantity keys, line,
    // discount keys), the receipt ends with one for the closing keys. A
    // dialogue selects the mode with a command, then on each answer polls,
    // acknowledges the register's data, sends its own data frame and (but
    // for the line) ends the transmission. Every state but StartingRow and
    // Finished waits for an answer and is named after what it then sends.
    enum class State {
        StartingRow = 0, // prepares the next sheet row and selects its first dialogue
        PollingLine = 1,
        AcknowledgingLine = 2,
        SendingLine = 3,
        LineSent = 4, // selects the discount dialogue, or goes to the next row
        PollingQuantity = 5,
        AcknowledgingQuantity = 6,
        SendingQuantityKeys = 7,
        EndingQuantityKeys = 8,
        SelectingLine = 9, // after the quantity keys, the line mode is selected
        PollingDiscount = 10,
        AcknowledgingDiscount = 11,
        SendingDiscountKeys = 12,
        EndingDiscountKeys = 13,
        PollingClosing = 25,
        AcknowledgingClosing = 26,
        SendingClosingKeys = 27,
        EndingClosingKeys = 28,
        Finished = 40
    };

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

    State state() const { return m_state; }
    static constexpr int silenceLimit = 101;

protected:
    Step step() override;
    bool acknowledgesEtx() const override { return false; }

private:
    void sendFrame(const QByteArray &frame);
    void startRow();
    void onAnswer();

    State m_state = State::StartingRow;
    QByteArray m_line;
    QByteArray m_quantity;
    QByteArray m_discount;
};

} // namespace corvale

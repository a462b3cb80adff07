#include "register/DataprocessProtocol.h"

#include "register/RegisterText.h"

#include <cmath>

namespace corvale {

namespace {

// "3" for one piece, "5" for a fractional quantity, "4" for several pieces.
char itemKind(double quantity) {
    if (quantity == 1)
        return '3';
    return quantity != std::trunc(quantity) ? '5' : '4';
}

QByteArray ascii(const QString &text) {
    return RegisterText::bytes(text);
}

} // namespace

DataprocessProtocol::DataprocessProtocol(Variant variant, RegisterLink &link, Receipt receipt,
                                         int timeoutSetting)
    : RegisterProtocol(link, std::move(receipt), timeoutSetting)
    , m_variant(variant) {}

QByteArray DataprocessProtocol::frame(int sequence, const QByteArray &text) {
    const QByteArray body = RegisterText::twoDigits(sequence) + text;
    unsigned sum = 0;
    for (char c : body)
        sum += static_cast<unsigned char>(c);
    return STX + body + RegisterText::twoDigits(int(sum % 100)) + ETX;
}

QByteArray DataprocessProtocol::openText(Variant variant) {
    return variant == Variant::Epson ? QByteArray("E4201") : QByteArray("V121700");
}

QByteArray DataprocessProtocol::itemText(Variant variant, const ReceiptLine &line) {
    const bool epson = variant == Variant::Epson;
    QByteArray out = epson ? "E100" : "V100";
    out += itemKind(line.quantity);
    out += epson ? "01" : "00";
    out += epson ? QByteArray(40, '0') : "1" + QByteArray(39, '0');
    out += ascii(RegisterText::fixedWidth(line.description, epson ? 20 : 16));
    out += ascii(RegisterText::zeroFilled("%7.0f", line.quantity * 1000));
    out += '1';
    out += ascii(RegisterText::zeroFilled("%9.0f", line.price * 100));
    out += "01";
    return out;
}

QByteArray DataprocessProtocol::lineDiscountText(Variant variant, const ReceiptLine &line) {
    return (variant == Variant::Epson ? "E102301" : "V102300") +
           ascii(RegisterText::zeroFilled("%4.0f", line.discount * 100));
}

QByteArray DataprocessProtocol::paymentText(Variant variant, const Receipt &receipt) {
    if (variant == Variant::Epson) {
        // Without the change calculation the register takes the exact total.
        return "E103601" + (receipt.calcResto
                                ? ascii(RegisterText::zeroFilled("%9.0f", receipt.payment * 100))
                                : QByteArray("000000000"));
    }
    return "V103600" + ascii(RegisterText::zeroFilled("%9.0f", receipt.payment * 100));
}

void DataprocessProtocol::sendText(const QByteArray &text) {
    send(frame(m_sequence, text));
    m_sequence = (m_sequence + 1) % 100;
}

RegisterProtocol::Step DataprocessProtocol::step() {
    switch (m_state) {
    case State::Opening:
        firstRow();
        m_sequence = m_variant == Variant::Epson ? 1 : 0;
        sendText(openText(m_variant));
        m_state = State::SendingLines;
        break;
    case State::SendingLines:
        if (answered()) {
            if (const ReceiptLine *line = currentLine()) {
                sendText(itemText(m_variant, *line));
                if (line->discount > 0)
                    m_state = State::SendingLineDiscount;
                else
                    nextRow();
            } else {
                m_state = State::PaymentSent;
                sendText(paymentText(m_variant, m_receipt));
            }
            m_silence = 0;
        }
        break;
    case State::SendingLineDiscount:
        if (answered()) {
            sendText(lineDiscountText(m_variant, *currentLine()));
            m_state = State::SendingLines;
            nextRow();
        }
        break;
    case State::PaymentSent:
        if (answered())
            m_state = State::PaymentAnswered;
        break;
    case State::PaymentAnswered:
        if (answered())
            return Step::Completed;
        break;
    }
    if (m_silence < silenceLimit) {
        ++m_silence;
        return Step::Running;
    }
    return Step::Silent;
}

} // namespace corvale

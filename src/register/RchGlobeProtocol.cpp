#include "register/RchGlobeProtocol.h"

#include "register/RegisterText.h"

namespace corvale {

RchGlobeProtocol::RchGlobeProtocol(RegisterLink &link, Receipt receipt, int timeoutSetting)
    : RegisterProtocol(link, std::move(receipt), timeoutSetting) {}

QByteArray RchGlobeProtocol::frame(int sequence, const QByteArray &text) {
    QByteArray out;
    out += STX;
    out += "01";
    out += QByteArray::number(text.size() % 1000).rightJustified(3, '0');
    out += 'N';
    out += text;
    out += char('0' + sequence % 10);
    unsigned char x = 0;
    for (char c : out)
        x ^= static_cast<unsigned char>(c);
    out += QByteArray::number(x, 16).toUpper().rightJustified(2, '0');
    out += ETX;
    return out;
}

QByteArray RchGlobeProtocol::startText() {
    return "=K";
}

QByteArray RchGlobeProtocol::itemText(const ReceiptLine &line) {
    QByteArray out = "=R1/$" + RegisterText::bytes(RegisterText::cents(line.price));
    if (line.quantity != 1)
        out += "/*" + RegisterText::bytes(RegisterText::decimalPoint(line.quantity));
    out += "/(" + RegisterText::bytes(line.description.left(20)) + ")";
    return out;
}

QByteArray RchGlobeProtocol::lineDiscountText(const ReceiptLine &line) {
    return "=%/*" + RegisterText::bytes(RegisterText::decimalPoint(line.discount));
}

QByteArray RchGlobeProtocol::subtotalText() {
    return "=S";
}

QByteArray RchGlobeProtocol::saleDiscountText(const Receipt &receipt) {
    return "=V/*" + RegisterText::bytes(RegisterText::cents(receipt.discountAmount));
}

QByteArray RchGlobeProtocol::totalText() {
    return "=T1";
}

void RchGlobeProtocol::sendText(const QByteArray &text) {
    send(frame(m_sequence, text));
    m_sequence = (m_sequence + 1) % 10;
    m_silence = 0;
}

RegisterProtocol::Step RchGlobeProtocol::step() {
    switch (m_state) {
    case State::Starting:
        firstRow();
        m_sequence = 0;
        m_waitingDiscount.clear();
        m_afterAnswer = State::SendingLines;
        sendText(startText());
        m_state = State::AwaitingAnswer;
        break;
    case State::SendingLines:
        if (const ReceiptLine *line = currentLine()) {
            sendText(itemText(*line));
            if (line->discount != 0)
                m_waitingDiscount = lineDiscountText(*line);
            nextRow();
            m_afterAnswer = State::SendingLines;
        } else {
            sendText(subtotalText());
            m_afterAnswer =
                m_receipt.saleDiscount != 0 ? State::SendingSaleDiscount : State::SendingTotal;
        }
        m_state = State::AwaitingAnswer;
        break;
    case State::AwaitingAnswer:
        if (answered()) {
            const char lastByte = lastBlock().back();
            if (lastByte == ETX || lastByte == ACK) {
                send(QByteArray(1, ACK));
                m_silence = 0;
            }
            m_state = m_waitingDiscount.isEmpty() ? m_afterAnswer : State::SendingLineDiscount;
        }
        break;
    case State::SendingLineDiscount:
        sendText(m_waitingDiscount);
        m_waitingDiscount.clear();
        m_state = State::AwaitingAnswer;
        break;
    case State::SendingSaleDiscount:
        sendText(saleDiscountText(m_receipt));
        m_afterAnswer = State::SendingTotal;
        m_state = State::AwaitingAnswer;
        break;
    case State::SendingTotal:
        sendText(totalText());
        m_afterAnswer = State::PausingAfterTotal;
        m_state = State::AwaitingAnswer;
        break;
    case State::PausingAfterTotal:
        m_state = State::Finished;
        break;
    case State::Finished:
        return Step::Completed;
    }
    if (m_silence < silenceLimit) {
        ++m_silence;
        return Step::Running;
    }
    return Step::Silent;
}

} // namespace corvale

#include "register/RchMizarProtocol.h"

#include "register/RegisterText.h"

namespace corvale {

namespace {

// STX text ETX followed by the XOR of those bytes.
QByteArray block(const QByteArray &text) {
    QByteArray out;
    out += RegisterProtocol::STX;
    out += text;
    out += RegisterProtocol::ETX;
    unsigned char bcc = 0;
    for (char c : out)
        bcc ^= static_cast<unsigned char>(c);
    out += char(bcc);
    return out;
}

} // namespace

RchMizarProtocol::RchMizarProtocol(RegisterLink &link, Receipt receipt, int timeoutSetting)
    : RegisterProtocol(link, std::move(receipt), timeoutSetting) {}

QByteArray RchMizarProtocol::command(const QByteArray &text) {
    return EOT + QByteArray("01") + block(text);
}

QByteArray RchMizarProtocol::data(const QByteArray &text) {
    return SOH + QByteArray("0100") + block(text);
}

QByteArray RchMizarProtocol::poll() {
    return EOT + QByteArray("01") + ENQ;
}

QByteArray RchMizarProtocol::keys(const QString &text) {
    QByteArray out;
    for (QChar c : text) {
        if (c == u',')
            out += "1046";
        else if (c >= u'0' && c <= u'9')
            out += "120" + QByteArray(1, char(c.unicode()));
    }
    return out;
}

QByteArray RchMizarProtocol::lineText(const ReceiptLine &line) {
    return 'r' + RegisterText::bytes(RegisterText::fixedWidth(line.description, 20)) +
           RegisterText::bytes(RegisterText::zeroFilled("%8.0f", line.price * 100)) + " 01" + EM;
}

QByteArray RchMizarProtocol::quantityKeys(const ReceiptLine &line) {
    return 'u' + keys(RegisterText::number(line.quantity)) + "1053" + EM;
}

QByteArray RchMizarProtocol::discountKeys(const ReceiptLine &line) {
    return "u1067" + keys(RegisterText::number(line.discount)) + "1015" + EM;
}

QByteArray RchMizarProtocol::closingKeys() {
    return QByteArray("u10351001") + EM;
}

void RchMizarProtocol::sendFrame(const QByteArray &frame) {
    send(frame);
    m_silence = 0;
}

void RchMizarProtocol::startRow() {
    if (const ReceiptLine *line = currentLine()) {
        m_line = data(lineText(*line));
        m_discount = line->discount != 0 ? data(discountKeys(*line)) : QByteArray();
        if (line->quantity != 1) {
            m_quantity = data(quantityKeys(*line));
            sendFrame(command("p100"));
            m_state = State::PollingQuantity;
        } else {
            sendFrame(command("p110"));
            m_state = State::PollingLine;
        }
        nextRow();
    } else {
        sendFrame(command("p100"));
        m_state = State::PollingClosing;
    }
}

void RchMizarProtocol::onAnswer() {
    switch (m_state) {
    case State::PollingQuantity:
        sendFrame(poll());
        m_state = State::AcknowledgingQuantity;
        break;
    case State::AcknowledgingQuantity:
        sendFrame(QByteArray(1, ACK));
        m_state = State::SendingQuantityKeys;
        break;
    case State::SendingQuantityKeys:
        sendFrame(m_quantity);
        m_state = State::EndingQuantityKeys;
        break;
    case State::EndingQuantityKeys:
        sendFrame(QByteArray(1, EOT));
        m_state = State::SelectingLine;
        break;
    case State::SelectingLine:
        sendFrame(command("p110"));
        m_state = State::PollingLine;
        break;

    case State::PollingLine:
        sendFrame(poll());
        m_state = State::AcknowledgingLine;
        break;
    case State::AcknowledgingLine:
        sendFrame(QByteArray(1, ACK));
        m_state = State::SendingLine;
        break;
    case State::SendingLine:
        sendFrame(m_line);
        m_state = State::LineSent;
        break;
    case State::LineSent:
        if (!m_discount.isEmpty()) {
            sendFrame(command("p100"));
            m_state = State::PollingDiscount;
        } else {
            m_state = State::StartingRow;
        }
        break;

    case State::PollingDiscount:
        sendFrame(poll());
        m_state = State::AcknowledgingDiscount;
        break;
    case State::AcknowledgingDiscount:
        sendFrame(QByteArray(1, ACK));
        m_state = State::SendingDiscountKeys;
        break;
    case State::SendingDiscountKeys:
        sendFrame(m_discount);
        m_state = State::EndingDiscountKeys;
        break;
    case State::EndingDiscountKeys:
        sendFrame(QByteArray(1, EOT));
        m_state = State::StartingRow;
        break;

    case State::PollingClosing:
        sendFrame(poll());
        m_state = State::AcknowledgingClosing;
        break;
    case State::AcknowledgingClosing:
        sendFrame(QByteArray(1, ACK));
        m_state = State::SendingClosingKeys;
        break;
    case State::SendingClosingKeys:
        sendFrame(data(closingKeys()));
        m_state = State::EndingClosingKeys;
        break;
    case State::EndingClosingKeys:
        sendFrame(QByteArray(1, EOT));
        m_state = State::Finished;
        break;

    case State::StartingRow:
    case State::Finished:
        // Not waiting for an answer: step() handles these without one.
        break;
    }
}

RegisterProtocol::Step RchMizarProtocol::step() {
    if (m_state == State::Finished)
        return Step::Completed;
    if (m_state == State::StartingRow)
        startRow();
    else if (answered())
        onAnswer();
    if (m_silence < silenceLimit) {
        ++m_silence;
        return Step::Running;
    }
    return Step::Silent;
}

} // namespace corvale

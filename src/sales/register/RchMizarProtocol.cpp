#include "sales/register/RchMizarProtocol.h"

#include "sales/register/RegisterText.h"

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

RegisterProtocol::Step RchMizarProtocol::step() {
    if (m_state == 40)
        return Step::Completed;
    if (m_state == 0) {
        if (const ReceiptLine *line = currentLine()) {
            m_line = data(lineText(*line));
            m_discount = line->discount != 0 ? data(discountKeys(*line)) : QByteArray();
            if (line->quantity != 1) {
                m_quantity = data(quantityKeys(*line));
                sendFrame(command("p100"));
                m_state = 5;
            } else {
                sendFrame(command("p110"));
                m_state = 1;
            }
            nextRow();
        } else {
            sendFrame(command("p100"));
            m_state = 25;
        }
    } else if (answered()) {
        switch (m_state) {
        case 1:
        case 5:
        case 10:
        case 25:
            sendFrame(poll());
            ++m_state;
            break;
        case 2:
        case 6:
        case 11:
        case 26:
            sendFrame(QByteArray(1, ACK));
            ++m_state;
            break;
        case 7:
            sendFrame(m_quantity);
            m_state = 8;
            break;
        case 3:
            sendFrame(m_line);
            m_state = 4;
            break;
        case 12:
            sendFrame(m_discount);
            m_state = 13;
            break;
        case 27:
            sendFrame(data(closingKeys()));
            m_state = 28;
            break;
        case 8:
            sendFrame(QByteArray(1, EOT));
            m_state = 9;
            break;
        case 13:
            sendFrame(QByteArray(1, EOT));
            m_state = 0;
            break;
        case 28:
            sendFrame(QByteArray(1, EOT));
            m_state = 40;
            break;
        case 9:
            sendFrame(command("p110"));
            m_state = 1;
            break;
        case 4:
            if (!m_discount.isEmpty()) {
                sendFrame(command("p100"));
                m_state = 10;
            } else {
                m_state = 0;
            }
            break;
        default:
            break;
        }
    }
    if (m_silence < silenceLimit) {
        ++m_silence;
        return Step::Running;
    }
    return Step::Silent;
}

} // namespace corvale

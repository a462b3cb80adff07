#include "register/ElaProtocol.h"

#include "register/RegisterText.h"

namespace corvale {

namespace {

QByteArray ascii(const QString &text) {
    return RegisterText::bytes(text);
}

} // namespace

ElaProtocol::ElaProtocol(RegisterLink &link, Receipt receipt, int timeoutSetting)
    : RegisterProtocol(link, std::move(receipt), timeoutSetting) {}

QByteArray ElaProtocol::frame(const QByteArray &payload) {
    unsigned sum = 0;
    for (char c : payload)
        sum += static_cast<unsigned char>(c);
    QByteArray out;
    out.reserve(payload.size() + 6);
    out += STX;
    out += payload;
    out += QByteArray::number(sum & 0xFFFF, 16).toUpper().rightJustified(4, '0');
    out += ETX;
    return out;
}

QByteArray ElaProtocol::field(const QByteArray &content) {
    return char(0x20 + content.size()) + content;
}

QByteArray ElaProtocol::openReceipt() {
    return field("1322");
}

QByteArray ElaProtocol::item(const ReceiptLine &line) {
    QByteArray out = field("1325");
    out += field(ascii(RegisterText::amount(line.price * line.quantity)));
    out += field(ascii(line.description.left(29)));
    out += field(ascii(RegisterText::number(line.vat)));
    if (line.quantity > 1)
        out += field(ascii(RegisterText::number(line.quantity) + QStringLiteral(" x ") +
                           RegisterText::amount(line.price)));
    else
        out += field({});
    out += field("0");
    return out;
}

QByteArray ElaProtocol::lineDiscount(const ReceiptLine &line) {
    return field("1327") +
           field(ascii(RegisterText::amount(line.price * line.quantity - line.amount))) +
           field(ascii(RegisterText::number(line.discount).trimmed() + u'%'));
}

QByteArray ElaProtocol::subtotal() {
    return field("1332");
}

QByteArray ElaProtocol::saleDiscount(const Receipt &receipt) {
    return field("1327") + field(ascii(RegisterText::amount(receipt.discountAmount))) +
           field(ascii(RegisterText::number(receipt.saleDiscount).trimmed() + u'%'));
}

QByteArray ElaProtocol::payment(const Receipt &receipt) {
    return field("1329") + field(ascii(RegisterText::amount(receipt.payment))) + field("CONTANTI");
}

QByteArray ElaProtocol::closeReceipt() {
    return field("1323");
}

QByteArray ElaProtocol::last() {
    return field("912") + field("1");
}

void ElaProtocol::begin() {
    send(frame(openReceipt()));
    firstRow();
    m_state = State::SendingLines;
}

RegisterProtocol::Step ElaProtocol::step() {
    ++m_silence;
    switch (m_state) {
    case State::Idle:
        break;
    case State::SendingLines:
        if (answered()) {
            const ReceiptLine *line = currentLine();
            if (!line) {
                send(frame(subtotal()));
                m_state =
                    m_receipt.saleDiscount > 0 ? State::SendingSaleDiscount : State::SendingPayment;
            } else {
                m_heldItem = frame(item(*line));
                m_heldDiscount = line->discount != 0 ? frame(lineDiscount(*line)) : QByteArray();
                nextRow();
                m_ticksInState = 0;
                m_state = State::PausingBeforeItem;
            }
        }
        break;
    case State::PausingBeforeItem:
        // The register needs a pause before each item.
        if (++m_ticksInState >= 3) {
            send(m_heldItem);
            m_state = m_heldDiscount.isEmpty() ? State::SendingLines : State::SendingLineDiscount;
        }
        break;
    case State::SendingLineDiscount:
        if (answered()) {
            send(m_heldDiscount);
            m_heldDiscount.clear();
            m_state = State::SendingLines;
        }
        break;
    case State::SendingSaleDiscount:
        if (answered()) {
            send(frame(saleDiscount(m_receipt)));
            m_state = State::SendingPayment;
        }
        break;
    case State::SendingPayment:
        if (answered()) {
            send(frame(payment(m_receipt)));
            m_state = State::ClosingReceipt;
        }
        break;
    case State::ClosingReceipt:
        if (answered()) {
            send(frame(closeReceipt()));
            m_state = State::SendingLast;
        }
        break;
    case State::SendingLast:
        if (answered()) {
            send(frame(last()));
            m_state = State::AwaitingLastAnswer;
        }
        break;
    case State::AwaitingLastAnswer:
        if (answered())
            return Step::Completed;
        break;
    }
    return m_silence < silenceLimit ? Step::Running : Step::Silent;
}

} // namespace corvale

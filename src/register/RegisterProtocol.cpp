#include "register/RegisterProtocol.h"

#include "register/RegisterLink.h"

namespace corvale {

RegisterProtocol::RegisterProtocol(RegisterLink &link, Receipt receipt, int timeoutSetting)
    : m_link(link)
    , m_receipt(std::move(receipt))
    , m_timeout(timeoutSetting) {}

RegisterProtocol::Step RegisterProtocol::tick() {
    if (m_writeFailed || m_link.hasFailed())
        return Step::Silent;
    const Step result = step();
    if (result == Step::Running && (m_writeFailed || m_link.hasFailed()))
        return Step::Silent;
    return result;
}

bool RegisterProtocol::answered() {
    const int count = m_link.inputCount();
    if (count <= 0)
        return false;
    if (count != m_lastCount) {
        m_lastCount = count;
        return false;
    }
    m_block = m_link.read(qMin(count, inputQueueSize));
    m_lastCount = 0;
    m_silence = m_timeout;
    if (acknowledgesEtx() && m_block.endsWith(ETX))
        send(QByteArray(1, ACK));
    return true;
}

void RegisterProtocol::send(const QByteArray &frame) {
    if (!m_link.write(frame))
        m_writeFailed = true;
}

const ReceiptLine *RegisterProtocol::currentLine() {
    while (m_row < m_receipt.lines.size() && !m_receipt.lines.at(m_row).isLine())
        ++m_row;
    return m_row < m_receipt.lines.size() ? &m_receipt.lines.at(m_row) : nullptr;
}

} // namespace corvale

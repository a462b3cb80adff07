#include "sales/SaleCheckout.h"

#include "platform/Formats.h"
#include "platform/Prompter.h"
#include "sales/SaleArithmetic.h"
#include "sales/SaleSettings.h"

namespace corvale {

SaleCheckout::SaleCheckout(Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_prompter(prompter)
    , m_transmission(prompter) {
    connect(&m_transmission, &RegisterTransmission::busyChanged, this, &SaleCheckout::busyChanged);
    connect(&m_transmission, &RegisterTransmission::finished, this, &SaleCheckout::onFinished);
}

std::optional<double> SaleCheckout::askPayment(double net, bool calcResto) {
    if (!calcResto)
        return net;
    const auto typed =
        m_prompter.input(QStringLiteral("Pagamento"), QStringLiteral("Contanti"), QString());
    if (!typed)
        return std::nullopt;
    const auto cash = Formats::parseNumber(typed->trimmed());
    if (!cash)
        return std::nullopt;
    const auto change = SaleArithmetic::change(*cash, net);
    if (!change) {
        m_prompter.error(insufficientText);
        return std::nullopt;
    }
    m_prompter.information(QStringLiteral("RESTO:\r\r") + QChar(0x20AC) +
                           Formats::format(u"%10.2n", *change));
    return *cash;
}

bool SaleCheckout::send(const SaleSettings &settings, double net,
                        const std::function<std::optional<Receipt>(double payment)> &receiptFor) {
    if (m_state != State::Idle) {
        m_prompter.error(busyText);
        return false;
    }
    if (m_taken && !m_prompter.confirm(sentAgainText))
        return false;
    const auto payment = askPayment(net, settings.calcResto);
    if (!payment)
        return false;
    std::optional<Receipt> receipt = receiptFor(*payment);
    if (!receipt)
        return false;
    receipt->calcResto = settings.calcResto;
    if (!m_transmission.start(settings.register_, *receipt))
        return false;
    m_state = m_transmission.protocol() ? State::Sending : State::Holding;
    return true;
}

void SaleCheckout::reset() {
    if (m_state == State::Holding)
        m_transmission.stop();
    if (m_state != State::Sending)
        m_state = State::Idle;
    m_taken = false;
}

void SaleCheckout::onFinished(bool completed, bool saveSale) {
    m_state = State::Idle;
    if (completed)
        m_taken = true;
    Q_EMIT ended(completed);
    if (completed && saveSale)
        Q_EMIT saveRequested();
}

} // namespace corvale

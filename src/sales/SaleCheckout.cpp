#include "sales/SaleCheckout.h"

#include "platform/Formats.h"
#include "platform/Prompter.h"
#include "register/NetworkFiscalDevice.h"
#include "sales/SaleArithmetic.h"
#include "sales/SaleSettings.h"

namespace corvale {

SaleCheckout::SaleCheckout(Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_prompter(prompter)
    , m_serial(prompter) {
    connect(&m_serial, &FiscalDevice::busyChanged, this, &SaleCheckout::busyChanged);
    connect(&m_serial, &FiscalDevice::finished, this, &SaleCheckout::onFinished);
}

SaleCheckout::~SaleCheckout() = default;

FiscalDevice &SaleCheckout::device(const SaleSettings &settings) {
    if (!settings.register_.isTelematic()) {
        m_serial.setSettings(settings.register_);
        return m_serial;
    }
    if (!m_network) {
        m_network = std::make_unique<NetworkFiscalDevice>(std::make_unique<EpsonRtDialect>());
        connect(m_network.get(), &FiscalDevice::busyChanged, this, &SaleCheckout::busyChanged);
        connect(m_network.get(), &FiscalDevice::finished, this, &SaleCheckout::onFinished);
    }
    m_network->setSettings(settings.register_);
    return *m_network;
}

QString SaleCheckout::offlineQuestion(const QString &reason) {
    QString text = reason;
    if (!text.isEmpty())
        text += QStringLiteral("\r\r");
    return text +
           QStringLiteral("Salvare la vendita come \"non fiscalizzata\"?\rVa scritta nel "
                          "registro dei corrispettivi di emergenza e inviata al registratore "
                          "quando torna in funzione (\"Non fiscalizzate\" nell'archivio "
                          "vendite).");
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
                        const std::function<bool(FiscalDevice &, const SalePayment &)> &describe,
                        std::optional<SalePayment> chosen) {
    if (m_state != State::Idle) {
        m_prompter.error(busyText);
        return false;
    }
    if (m_taken && !m_prompter.confirm(sentAgainText))
        return false;
    m_offline = false;
    if (!m_taken && m_unconfirmed && !m_prompter.confirm(unconfirmedAgainText))
        return false;
    SalePayment payment;
    if (chosen)
        payment = *chosen;
    else
        payment.tenders << Tender{PaymentType::Cash, Money::of(net)};
    // The change is worked out on the cash part only.
    const Money cashPart = payment.part(PaymentType::Cash);
    if (settings.calcResto && !cashPart.isZero()) {
        const auto paid = askPayment(cashPart == Money::of(net) ? net : cashPart.toDouble(), true);
        if (!paid)
            return false;
        payment.cashGiven = *paid;
    }
    FiscalDevice &device = this->device(settings);
    device.changeCalculated(settings.calcResto);
    device.begin();
    if (!describe(device, payment))
        return false;
    m_payment = payment;
    m_outcome = FiscalOutcome();
    m_active = &device;
    m_state = State::Sending;
    if (!device.end()) {
        if (m_state == State::Sending)
            m_state = State::Idle;
        return false;
    }
    if (&device == &m_serial && m_serial.holdsPort())
        m_state = State::Holding;
    return true;
}

void SaleCheckout::reset() {
    if (m_state == State::Holding)
        m_serial.release();
    if (m_state != State::Sending)
        m_state = State::Idle;
    m_taken = false;
    m_unconfirmed = false;
    m_offline = false;
    m_offlineAllowed = true;
    m_outcome = FiscalOutcome();
    m_record = SaleFiscalRecord();
}

void SaleCheckout::onFinished(const FiscalOutcome &outcome) {
    m_state = State::Idle;
    m_outcome = outcome;
    const bool completed = outcome.confirmed();
    const bool numbered = m_active && m_active->numbersDocuments();
    auto keep = [&] {
        m_record = SaleFiscalRecord();
        m_record.document = outcome.document;
        m_record.payment = m_payment;
        if (m_active) {
            m_record.lotteryCode = m_active->document().lotteryCode;
            m_record.customerTaxCode = m_active->document().customerTaxCode;
        }
    };
    if (completed) {
        m_taken = true;
        m_unconfirmed = false;
        keep();
    } else if (outcome.status == FiscalOutcome::Status::Unconfirmed) {
        m_unconfirmed = true;
    }
    // A telematic register that was never reached printed nothing: the sale
    // may be stored without it. One that may have printed (Unconfirmed) may
    // not, or the same takings would be told twice.
    const bool offer = !completed && numbered && m_offlineAllowed &&
                       outcome.status == FiscalOutcome::Status::Unreachable;
    if (offer) {
        if (m_prompter.confirm(offlineQuestion(outcome.message))) {
            m_offline = true;
            m_unconfirmed = false;
            keep();
            m_record.notFiscalised = true;
        }
    } else if (!outcome.message.isEmpty()) {
        m_prompter.error(outcome.message);
    }
    Q_EMIT ended(completed);
    // A telematic register's receipt is stored as soon as it is numbered.
    if ((completed && (outcome.saveSale || numbered)) || m_offline)
        Q_EMIT saveRequested();
}

} // namespace corvale

#include "register/SerialFiscalDevice.h"

#include "platform/Prompter.h"

namespace corvale {

SerialFiscalDevice::SerialFiscalDevice(Prompter &prompter, QObject *parent)
    : FiscalDevice(parent)
    , m_prompter(prompter)
    , m_transmission(prompter) {
    connect(&m_transmission, &RegisterTransmission::busyChanged, this,
            &SerialFiscalDevice::busyChanged);
    connect(&m_transmission, &RegisterTransmission::finished, this,
            &SerialFiscalDevice::onFinished);
}

Receipt SerialFiscalDevice::legacyReceipt(const FiscalDocument &document) {
    Receipt r;
    r.lines = document.lines;
    r.saleDiscount = document.saleDiscountPercent;
    r.discountAmount = document.saleDiscountAmount;
    r.calcResto = document.calcResto;
    // These registers take one cash payment: the cash handed over when the
    // change is worked out (with what is paid otherwise), the amount due
    // otherwise.
    if (document.calcResto && document.cashGiven) {
        const Money other = document.tendered() - document.tendered(PaymentType::Cash);
        r.payment = *document.cashGiven;
        if (!other.isZero())
            r.payment += other.toDouble();
    } else {
        r.payment = document.net;
    }
    return r;
}

bool SerialFiscalDevice::transmit(const FiscalDocument &document) {
    if (document.kind != FiscalDocument::Kind::Sale) {
        m_prompter.error(notAvailableText);
        return false;
    }
    return m_transmission.start(m_settings, legacyReceipt(document));
}

bool SerialFiscalDevice::report(Report) {
    m_prompter.error(notAvailableText);
    return false;
}

bool SerialFiscalDevice::queryStatus() {
    m_prompter.error(notAvailableText);
    return false;
}

void SerialFiscalDevice::onFinished(bool completed, bool saveSale) {
    FiscalOutcome outcome;
    // The transmission has told the operator what went wrong.
    outcome.status =
        completed ? FiscalOutcome::Status::Confirmed : FiscalOutcome::Status::Unreachable;
    outcome.saveSale = saveSale;
    Q_EMIT finished(outcome);
}

} // namespace corvale

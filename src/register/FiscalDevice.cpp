#include "register/FiscalDevice.h"

namespace corvale {

Money FiscalDocument::tendered() const {
    Money sum;
    for (const Tender &t : tenders)
        sum += t.amount;
    return sum;
}

Money FiscalDocument::tendered(PaymentType type) const {
    Money sum;
    for (const Tender &t : tenders)
        if (t.type == type)
            sum += t.amount;
    return sum;
}

std::optional<Money> FiscalDocument::change() const {
    const Money cash = tendered(PaymentType::Cash);
    if (!cashGiven)
        return Money();
    const Money given = Money::of(*cashGiven);
    if (given < cash)
        return std::nullopt;
    return given - cash;
}

void FiscalDevice::begin(FiscalDocument::Kind kind, std::optional<FiscalDocumentRef> quoted) {
    const bool calcResto = m_document.calcResto;
    m_document = FiscalDocument();
    m_document.kind = kind;
    m_document.quoted = std::move(quoted);
    m_document.calcResto = calcResto;
}

void FiscalDevice::line(const QString &description, double quantity, double price, double vat,
                        double amount) {
    ReceiptLine l;
    l.description = description;
    l.quantity = quantity;
    l.price = price;
    l.vat = vat;
    l.amount = amount;
    m_document.lines << l;
}

void FiscalDevice::lineDiscount(double percent, double amount) {
    if (m_document.lines.isEmpty())
        return;
    m_document.lines.last().discount = percent;
    m_document.lines.last().amount = amount;
}

void FiscalDevice::lineReduction(double previous, int percent, const QString &campaign) {
    if (m_document.lines.isEmpty())
        return;
    m_document.reductions.insert(m_document.lines.size() - 1,
                                 LineReduction{previous, percent, campaign});
}

void FiscalDevice::subtotalDiscount(double percent, double amount, double net) {
    m_document.saleDiscountPercent = percent;
    m_document.saleDiscountAmount = amount;
    m_document.net = net;
}

void FiscalDevice::lotteryCode(const QString &code) {
    m_document.lotteryCode = code;
}

void FiscalDevice::customerTaxCode(const QString &code) {
    m_document.customerTaxCode = code;
}

void FiscalDevice::payment(PaymentType type, Money amount) {
    if (!amount.isZero())
        m_document.tenders << Tender{type, amount};
}

void FiscalDevice::cashGiven(double cash) {
    m_document.cashGiven = cash;
}

bool FiscalDevice::end() {
    return transmit(m_document);
}

} // namespace corvale

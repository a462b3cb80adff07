#include "sales/SalePayment.h"

#include "platform/Formats.h"

#include <QRegularExpression>

namespace corvale {

Money SalePayment::part(PaymentType type) const {
    Money sum;
    for (const Tender &t : tenders)
        if (t.type == type)
            sum += t.amount;
    return sum;
}

std::optional<SalePayment> SalePaymentChoice::make(Mode mode, Money net, const QString &cardText,
                                                   QString *error, Money voucher) {
    SalePayment p;
    if (voucher > Money()) {
        p.tenders << Tender{PaymentType::Voucher, voucher};
        net -= voucher;
        // The voucher covers it all: nothing is left to choose.
        if (net <= Money())
            return p;
    }
    switch (mode) {
    case Mode::Cash:
        p.tenders << Tender{PaymentType::Cash, net};
        return p;
    case Mode::Card:
        p.tenders << Tender{PaymentType::Card, net};
        return p;
    case Mode::Split:
        break;
    }
    const auto typed = Formats::parseNumber(cardText.trimmed());
    const Money card = typed ? Money::of(*typed) : Money();
    if (!typed || card <= Money() || card >= net) {
        if (error)
            *error = cardPartText;
        return std::nullopt;
    }
    p.tenders << Tender{PaymentType::Card, card} << Tender{PaymentType::Cash, net - card};
    return p;
}

bool SalePaymentChoice::lotteryCodeValid(const QString &code) {
    static const QRegularExpression pattern(QStringLiteral("^[A-Z0-9]{8}$"));
    return code.isEmpty() || pattern.match(code).hasMatch();
}

} // namespace corvale

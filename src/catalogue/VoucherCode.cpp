#include "catalogue/VoucherCode.h"

namespace corvale::voucherCode {

int checkDigit(const QString &twelveDigits) {
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += twelveDigits.at(i).digitValue() * (i % 2 == 0 ? 1 : 3);
    return (10 - sum % 10) % 10;
}

QString barcode(qint64 number) {
    const QString twelve = prefix + QStringLiteral("%1").arg(number, 9, 10, QLatin1Char('0'));
    return twelve + QString::number(checkDigit(twelve));
}

std::optional<qint64> number(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 13)
        return std::nullopt;
    for (QChar c : t)
        if (!c.isDigit() || c.unicode() > 0x7f)
            return std::nullopt;
    if (t.size() == 13) {
        if (!t.startsWith(prefix) || checkDigit(t.left(12)) != t.at(12).digitValue())
            return std::nullopt;
        const qint64 n = t.mid(prefix.size(), 9).toLongLong();
        return n > 0 ? std::optional(n) : std::nullopt;
    }
    if (t.size() > 9)
        return std::nullopt;
    const qint64 n = t.toLongLong();
    return n > 0 ? std::optional(n) : std::nullopt;
}

bool isReserved(const QString &articleCode) {
    return articleCode.trimmed().startsWith(prefix);
}

} // namespace corvale::voucherCode

#include "sales/einvoice/FiscalIdentity.h"

#include <QRegularExpression>

#include <algorithm>

namespace corvale {

QString FiscalIdentity::clean(const QString &text) {
    QString out = text.toUpper();
    out.remove(u' ');
    out.remove(u'.');
    out.remove(u'-');
    static const QRegularExpression prefixed(QStringLiteral("^IT\\d{11}$"));
    if (prefixed.match(out).hasMatch())
        out = out.mid(2);
    return out;
}

FiscalIdentity FiscalIdentity::of(const QString &vat, const QString &fiscal, const QString &old) {
    FiscalIdentity out{clean(vat), clean(fiscal)};
    if (!out.vatNumber.isEmpty() || !out.fiscalCode.isEmpty())
        return out;
    const QString single = clean(old);
    static const QRegularExpression elevenDigits(QStringLiteral("^\\d{11}$"));
    if (elevenDigits.match(single).hasMatch())
        out.vatNumber = single;
    else if (single.size() == 16)
        out.fiscalCode = single;
    return out;
}

bool FiscalIdentity::isValidVatNumber(const QString &vat) {
    static const QRegularExpression elevenDigits(QStringLiteral("^\\d{11}$"));
    if (!elevenDigits.match(vat).hasMatch())
        return false;
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        int d = vat[i].digitValue();
        if (i % 2 == 1) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        sum += d;
    }
    return (10 - sum % 10) % 10 == vat[10].digitValue();
}

bool FiscalIdentity::isValidFiscalCode(const QString &code) {
    if (code.size() == 11)
        return isValidVatNumber(code);
    // Letters may stand for digits (omocodia), so only the shape is checked.
    static const QRegularExpression person(
        QStringLiteral("^[A-Z]{6}[0-9LMNPQRSTUV]{2}[A-EHLMPR-T][0-9LMNPQRSTUV]{2}[A-Z]"
                       "[0-9LMNPQRSTUV]{3}[A-Z]$"));
    if (!person.match(code).hasMatch())
        return false;
    return checkCharacter(code.left(15)) == code[15];
}

QChar FiscalIdentity::checkCharacter(const QString &first15) {
    // Characters in odd places (the first, third, ...) count by this table.
    static const int odd[] = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                              20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
    int sum = 0;
    for (int i = 0; i < 15 && i < first15.size(); ++i) {
        const QChar c = first15[i];
        const int v = c.isDigit() ? c.digitValue() : std::clamp(c.unicode() - 'A', 0, 25);
        sum += i % 2 == 0 ? odd[v] : v;
    }
    return QChar(u'A' + sum % 26);
}

} // namespace corvale

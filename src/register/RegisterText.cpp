#include "register/RegisterText.h"

#include "platform/Cp1252.h"
#include "platform/Formats.h"

#include <cmath>

namespace corvale {

QString RegisterText::number(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    QString text = QString::number(value, 'g', 15);
    text.replace(u'.', Formats::decimalSeparator);
    return text;
}

QString RegisterText::amount(double value) {
    return Formats::trimLeading(Formats::format(u"%10.2f", value));
}

QString RegisterText::zeroFilled(const char *pattern, double value) {
    return Formats::formatZeroFilled(QString::fromLatin1(pattern), value);
}

// The wire's own figure of cents, worked as the registers expect; not Money.
QString RegisterText::cents(double value) {
    return Formats::format(u"%8.0f", value * 100).trimmed();
}

QString RegisterText::decimalPoint(double value) {
    QString text = Formats::format(u"%8.2f", value).trimmed();
    text.replace(u',', u'.');
    return text;
}

QString RegisterText::fixedWidth(const QString &text, int width) {
    return text.left(width).leftJustified(width, u' ');
}

QByteArray RegisterText::bytes(const QString &text) {
    QByteArray out = Cp1252::encode(text);
    for (char &c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';
    }
    return out;
}

QByteArray RegisterText::twoDigits(int value) {
    return QByteArray::number(value % 100).rightJustified(2, '0');
}

} // namespace corvale

#pragma once

#include <QByteArray>
#include <QString>

namespace corvale {

// Number and text conversions shared by the register messages.
class RegisterText {
public:
    // A number as the system writes it in full: "2", "1,5", "19,9".
    static QString number(double value);
    // "%10.2f" without its leading blanks: "39,80".
    static QString amount(double value);
    // A pattern such as "%9.0f" of value, zero-filled over the pattern's width.
    static QString zeroFilled(const char *pattern, double value);
    // value x 100 as "%8.0f" without blanks: the cents of an amount.
    static QString cents(double value);
    // "%8.2f" without blanks and with a decimal point: "2.00".
    static QString decimalPoint(double value);
    // The first `width` characters, padded with blanks to `width`.
    static QString fixedWidth(const QString &text, int width);
    // Text as the register's code page holds it; control characters, which
    // would break the framing, become blanks.
    static QByteArray bytes(const QString &text);
    // The text after two decimal digits on the wire: "00".."99".
    static QByteArray twoDigits(int value);
};

} // namespace corvale

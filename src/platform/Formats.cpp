#include "platform/Formats.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdio>

namespace corvale {

namespace {

struct Fixed {
    bool negative = false;
    QString integer; // at least "0"
    QString fraction;
};

// Adds one unit in the last place of a digit string; true when it overflowed.
bool incrementDigits(QString &digits) {
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] == u'9') {
            digits[i] = u'0';
        } else {
            digits[i] = QChar(digits[i].unicode() + 1);
            return false;
        }
    }
    return true;
}

Fixed toFixed(double value, int decimals) {
    Fixed out;
    decimals = std::clamp(decimals, 0, 18);
    if (!std::isfinite(value) || value == 0.0) {
        out.integer = QStringLiteral("0");
        out.fraction = QString(decimals, u'0');
        return out;
    }
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    // buf = "d.dddddddddddddde[+-]XX"
    QString digits;
    const char *p = buf;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits += QChar(*p);
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    int point = exponent + 1; // digits before the decimal point
    if (point <= 0) {
        digits.prepend(QString(-point, u'0'));
        point = 0;
    }
    if (point > digits.size())
        digits.append(QString(point - digits.size(), u'0'));
    QString integer = digits.left(point);
    QString fraction = digits.mid(point);
    if (fraction.size() > decimals) {
        const bool up = fraction[decimals] >= u'5';
        fraction.truncate(decimals);
        if (up) {
            QString all = integer + fraction;
            if (incrementDigits(all))
                all.prepend(u'1');
            integer = all.left(all.size() - decimals);
            fraction = all.right(decimals);
        }
    } else {
        fraction.append(QString(decimals - fraction.size(), u'0'));
    }
    qsizetype lead = 0;
    while (lead < integer.size() - 1 && integer[lead] == u'0')
        ++lead;
    integer = integer.mid(lead);
    if (integer.isEmpty())
        integer = QStringLiteral("0");
    const bool zero =
        integer == u"0" && !fraction.contains(QRegularExpression(QStringLiteral("[1-9]")));
    out.negative = value < 0 && !zero;
    out.integer = integer;
    out.fraction = fraction;
    return out;
}

QString groupThousands(const QString &integer) {
    QString out;
    const qsizetype n = integer.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += Formats::thousandSeparator;
        out += integer[i];
    }
    return out;
}

struct Pattern {
    int width = 0;
    int decimals = -1; // -1: from the argument ('*')
    QChar kind;        // 'n' or 'f'
    bool valid = false;
};

Pattern parsePattern(QStringView pattern) {
    static const QRegularExpression re(QStringLiteral("^%(\\d*)(?:\\.(\\d+|\\*))?([nfNF])$"));
    Pattern p;
    const auto m = re.match(pattern);
    if (!m.hasMatch())
        return p;
    p.width = m.captured(1).toInt();
    const QString dec = m.captured(2);
    if (dec == u"*")
        p.decimals = -1;
    else if (dec.isEmpty())
        p.decimals = 2; // the routine's default precision
    else
        p.decimals = dec.toInt();
    p.kind = m.captured(3).at(0).toLower();
    p.valid = true;
    return p;
}

} // namespace

QString Formats::format(QStringView pattern, double value, int decimals) {
    const Pattern p = parsePattern(pattern);
    if (!p.valid)
        return QString::number(value);
    const int d = p.decimals >= 0 ? p.decimals : std::max(decimals, 0);
    const Fixed f = toFixed(value, d);
    QString text = p.kind == u'n' ? groupThousands(f.integer) : f.integer;
    if (d > 0)
        text += decimalSeparator + f.fraction;
    if (f.negative)
        text.prepend(u'-');
    if (text.size() < p.width)
        text.prepend(QString(p.width - text.size(), u' '));
    return text;
}

QString Formats::formatZeroFilled(QStringView pattern, double value, int decimals) {
    const Pattern p = parsePattern(pattern);
    QString text = format(pattern, value, decimals);
    for (int i = 0; i < std::min<qsizetype>(p.width, text.size()); ++i) {
        if (text[i] == u' ')
            text[i] = u'0';
    }
    return text;
}

QString Formats::display(QStringView pattern, double value) {
    const bool thousands = pattern.contains(u',');
    const qsizetype dot = pattern.indexOf(u'.');
    const QStringView intSpec = dot < 0 ? pattern : pattern.left(dot);
    const QStringView fracSpec = dot < 0 ? QStringView() : pattern.mid(dot + 1);
    const int requiredInt = int(intSpec.count(u'0'));
    int minDec = 0;
    while (minDec < fracSpec.size() && fracSpec[minDec] == u'0')
        ++minDec;
    const int maxDec = int(fracSpec.count(u'0') + fracSpec.count(u'#'));

    const Fixed f = toFixed(value, maxDec);
    QString fraction = f.fraction;
    while (fraction.size() > minDec && fraction.endsWith(u'0'))
        fraction.chop(1);
    QString integer = f.integer;
    if (integer == u"0" && requiredInt == 0)
        integer.clear();
    if (integer.size() < requiredInt)
        integer.prepend(QString(requiredInt - integer.size(), u'0'));
    QString text = thousands ? groupThousands(integer) : integer;
    if (!fraction.isEmpty())
        text += decimalSeparator + fraction;
    if (f.negative && !text.isEmpty())
        text.prepend(u'-');
    return text;
}

std::optional<double> Formats::parseNumber(QStringView input) {
    QString text = input.trimmed().toString();
    if (text.isEmpty())
        return std::nullopt;
    QString sign;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        sign = text.left(1);
        text = text.mid(1).trimmed();
    }
    static const QRegularExpression grouped(QStringLiteral("^\\d{1,3}(\\.\\d{3})+$"));
    static const QRegularExpression plain(QStringLiteral("^\\d*$"));
    QString integer, fraction;
    const qsizetype comma = text.indexOf(u',');
    if (comma >= 0) {
        integer = text.left(comma);
        fraction = text.mid(comma + 1);
        if (integer.contains(u'.')) {
            if (!grouped.match(integer).hasMatch())
                return std::nullopt;
            integer.remove(u'.');
        }
    } else if (grouped.match(text).hasMatch()) {
        integer = text;
        integer.remove(u'.');
    } else {
        const qsizetype dot = text.indexOf(u'.');
        integer = dot < 0 ? text : text.left(dot);
        fraction = dot < 0 ? QString() : text.mid(dot + 1);
    }
    if (!plain.match(integer).hasMatch() || !plain.match(fraction).hasMatch())
        return std::nullopt;
    if (integer.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = (sign + (integer.isEmpty() ? QStringLiteral("0") : integer) + u'.' +
                      (fraction.isEmpty() ? QStringLiteral("0") : fraction))
                         .toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<qint64> Formats::parseInteger(QStringView text) {
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<QDate> Formats::parseDate(QStringView input) {
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{1,4})$"));
    const auto m = re.match(input.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int day = m.captured(1).toInt();
    const int month = m.captured(2).toInt();
    int year = m.captured(3).toInt();
    if (m.captured(3).size() <= 2)
        year += 2000;
    const QDate d(year, month, day);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

QString Formats::formatDate(QDate date) {
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

qint64 Formats::roundHalfEven(double x) {
    const double r = std::nearbyint(x); // the default rounding mode ties to even
    return static_cast<qint64>(r);
}

double Formats::roundDecimal(double x, int decimals) {
    const Fixed f = toFixed(x, decimals);
    QString text = f.integer;
    if (decimals > 0)
        text += u'.' + f.fraction;
    const double v = text.toDouble();
    return f.negative ? -v : v;
}

QString Formats::trimLeading(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    return text.mid(i).toString();
}

} // namespace corvale

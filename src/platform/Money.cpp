#include "platform/Money.h"

#include "platform/Formats.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace corvale {

Money Money::of(double amount) {
    if (!std::isfinite(amount))
        return {};
    // Beyond this no amount of the shop lies, and llround would overflow.
    constexpr double limit = double(std::numeric_limits<qint64>::max() / 1000);
    const double scaled = std::clamp(amount * 100, -limit, limit);
    const double fraction = std::fabs(scaled - std::trunc(scaled));
    // Away from a half the nearest cent is plain; near one, binary noise may
    // stand on either side (2.675 is held as 2.67499999…), so the amount's
    // decimal digits decide, as the printed figures do.
    const double noise = 1e-6 + std::fabs(scaled) * 1e-12;
    if (std::fabs(fraction - 0.5) > noise)
        return fromCents(std::llround(scaled));
    return fromCents(std::llround(Formats::roundDecimal(amount, 2) * 100));
}

QString Money::exportText(Cents cents) const {
    const qint64 magnitude = m_cents < 0 ? -m_cents : m_cents;
    QString text = QString::number(magnitude / 100);
    const qint64 fraction = magnitude % 100;
    if (cents == Cents::Always || fraction != 0) {
        QString digits = QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
        if (cents == Cents::AsNeeded && digits.endsWith(u'0'))
            digits.chop(1);
        text += Formats::decimalSeparator + digits;
    }
    return m_cents < 0 ? QString(u'-' + text) : text;
}

} // namespace corvale

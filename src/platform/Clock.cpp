#include "platform/Clock.h"

namespace corvale {

QDate Clock::today() const {
    return m_fixed ? *m_fixed : QDate::currentDate();
}

QDateTime Clock::now() const {
    const QDateTime real = QDateTime::currentDateTime();
    if (!m_fixed)
        return real;
    return QDateTime(*m_fixed, real.time());
}

} // namespace corvale

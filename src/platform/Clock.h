#pragma once

#include <QDate>
#include <QDateTime>
#include <optional>

namespace corvale {

// Today's date and the time of day. The program takes them from the system;
// the --today option and the tests fix the date so that yearly numbering and
// "current month" filters behave the same on any day.
class Clock {
public:
    Clock() = default;
    explicit Clock(QDate fixedDate)
        : m_fixed(fixedDate) {}

    QDate today() const;
    // The fixed date, when set, with the system's time of day.
    QDateTime now() const;

    void setFixedDate(QDate date) { m_fixed = date; }
    void clearFixedDate() { m_fixed.reset(); }
    bool isFixed() const { return m_fixed.has_value(); }

private:
    std::optional<QDate> m_fixed;
};

} // namespace corvale

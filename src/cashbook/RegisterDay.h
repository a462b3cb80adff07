#pragma once

#include "platform/Money.h"

#include <QString>

#include <optional>

namespace corvale {

// One day of counter takings beside what the telematic register closed for it.
struct RegisterDay {
    QString date; // "dd/mm/yyyy"
    QString key;  // MYDATA
    // The counter sales of the day, every tender, returns and voids less.
    Money takings;
    // The sum of the day's closures; nothing on a day the register did not close.
    std::optional<Money> registerTotal;
    int closures = 0;

    // The register's total less the program's takings; nothing without a closure,
    // so that a day not closed never reads as a difference.
    std::optional<Money> difference() const {
        if (!registerTotal)
            return std::nullopt;
        return *registerTotal - takings;
    }
    bool differs() const {
        const std::optional<Money> d = difference();
        return d && !d->isZero();
    }
};

} // namespace corvale

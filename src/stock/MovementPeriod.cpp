#include "stock/MovementPeriod.h"

#include "platform/Formats.h"

namespace corvale {

namespace {
const QDate earliest(1000, 1, 1);
const QDate latest(3000, 12, 31);
} // namespace

QDate MovementPeriod::first(QDate today) const {
    switch (kind) {
    case Kind::Any:
        return earliest;
    case Kind::CurrentYear:
        return QDate(today.year(), 1, 1);
    case Kind::CurrentMonth:
        return QDate(today.year(), today.month(), 1);
    case Kind::Range:
        return from;
    }
    return {};
}

QDate MovementPeriod::last(QDate today) const {
    switch (kind) {
    case Kind::Any:
        return latest;
    case Kind::CurrentYear:
        return QDate(today.year(), 12, 31);
    case Kind::CurrentMonth:
        // The month's own last day, never a day 31 that a short month lacks.
        return QDate(today.year(), today.month(), today.daysInMonth());
    case Kind::Range:
        return to;
    }
    return {};
}

bool MovementPeriod::contains(QDate date, QDate today) const {
    return date.isValid() && date >= first(today) && date <= last(today);
}

QString MovementPeriod::title(QDate today) const {
    switch (kind) {
    case Kind::Any:
        return QStringLiteral("ELENCO MOVIMENTI COMPLETO");
    case Kind::CurrentYear:
        return QStringLiteral("ELENCO MOVIMENTI NELL'ANNO ") +
               today.toString(QStringLiteral("yyyy"));
    case Kind::CurrentMonth:
        return QStringLiteral("ELENCO MOVIMENTI NEL MESE ") + today.toString(QStringLiteral("MM")) +
               u'/' + today.toString(QStringLiteral("yyyy"));
    case Kind::Range:
        return QStringLiteral("ELENCO MOVIMENTI DAL ") + Formats::formatDate(from) +
               QStringLiteral(" AL ") + Formats::formatDate(to);
    }
    return {};
}

} // namespace corvale

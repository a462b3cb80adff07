#pragma once

#include "catalogue/Campaign.h"

#include <QList>

namespace corvale {

// One change of an article's own price: from `day` on it sells at its list
// price less its own discount.
struct PriceChange {
    QDate day;
    Money list;
    double discount = 0;
    Money price; // list less discount, to the cent
};

// The prices an article was sold at, day by day: its own price changes and
// the campaigns that covered it. A day may see more than one price (a change
// made during the day): each counts.
class PriceTimeline {
public:
    // `changes` in the order they were made; `campaigns` those covering the
    // article. An article without recorded changes has sold at `current` since
    // ever.
    PriceTimeline(QList<PriceChange> changes, QList<Campaign> campaigns, PriceChange current);

    // The change in force at the end of `day`; nothing before the article's
    // first price.
    std::optional<PriceChange> changeOn(QDate day) const;
    // The campaign active on `day`, if any.
    const Campaign *campaignOn(QDate day) const;
    // The price applied at the end of `day`: the campaign's while one is active.
    std::optional<Money> priceOn(QDate day) const;
    // The lowest price applied in the `days` days before `day` (not `day`
    // itself); nothing when the article had no price then.
    std::optional<Money> lowestBefore(QDate day, int days = 30) const;

private:
    Money applied(const PriceChange &change, QDate day) const;

    QList<PriceChange> m_changes;
    QList<Campaign> m_campaigns;
};

} // namespace corvale

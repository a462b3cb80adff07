#include "catalogue/PriceTimeline.h"

#include <algorithm>

namespace corvale {

PriceTimeline::PriceTimeline(QList<PriceChange> changes, QList<Campaign> campaigns,
                             PriceChange current)
    : m_changes(std::move(changes))
    , m_campaigns(std::move(campaigns)) {
    if (m_changes.isEmpty()) {
        current.day = QDate(1, 1, 1);
        m_changes << current;
    }
    // Changes made on one day stay in the order they were made.
    std::stable_sort(m_changes.begin(), m_changes.end(),
                     [](const PriceChange &x, const PriceChange &y) { return x.day < y.day; });
}

std::optional<PriceChange> PriceTimeline::changeOn(QDate day) const {
    auto after = std::upper_bound(m_changes.begin(), m_changes.end(), day,
                                  [](QDate d, const PriceChange &c) { return d < c.day; });
    if (after == m_changes.begin())
        return std::nullopt;
    return *(after - 1);
}

const Campaign *PriceTimeline::campaignOn(QDate day) const {
    for (const Campaign &c : m_campaigns)
        if (c.activeOn(day))
            return &c;
    return nullptr;
}

Money PriceTimeline::applied(const PriceChange &change, QDate day) const {
    const Campaign *campaign = campaignOn(day);
    return campaign ? campaign->priceFor(change.list) : change.price;
}

std::optional<Money> PriceTimeline::priceOn(QDate day) const {
    const auto change = changeOn(day);
    if (!change)
        return std::nullopt;
    return applied(*change, day);
}

std::optional<Money> PriceTimeline::lowestBefore(QDate day, int days) const {
    std::optional<Money> lowest;
    auto take = [&](Money m) {
        if (!lowest || m < *lowest)
            lowest = m;
    };
    for (QDate d = day.addDays(-days); d < day; d = d.addDays(1)) {
        // The price in force when the day began, then every change made on it.
        if (const auto start = changeOn(d.addDays(-1)))
            take(applied(*start, d));
        auto from = std::lower_bound(m_changes.begin(), m_changes.end(), d,
                                     [](const PriceChange &c, QDate x) { return c.day < x; });
        for (auto it = from; it != m_changes.end() && it->day == d; ++it)
            take(applied(*it, d));
    }
    return lowest;
}

} // namespace corvale

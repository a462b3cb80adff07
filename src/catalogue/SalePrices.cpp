#include "catalogue/SalePrices.h"

#include "catalogue/CampaignBook.h"
#include "platform/Formats.h"

#include <cmath>

namespace corvale {

namespace {

const QChar minus(0x2212);

} // namespace

QString SalePrices::euro(Money amount) {
    return QStringLiteral("€ ") + Formats::format(u"%10.2n", amount.toDouble()).trimmed();
}

QString EffectivePrice::reductionText() const {
    if (!reduced())
        return {};
    return QStringLiteral("Prezzo precedente %1 %2%3%")
        .arg(SalePrices::euro(previous), minus)
        .arg(percent);
}

QString EffectivePrice::labelText() const {
    if (!reduced())
        return {};
    return reductionText() + u' ' + SalePrices::euro(price);
}

SalePrices::SalePrices(db::Database &database)
    : m_history(database)
    , m_db(database) {}

SalePrices::~SalePrices() = default;

void SalePrices::load() {
    m_campaigns = CampaignBook(m_db).load();
    m_loaded = true;
}

PriceTimeline SalePrices::timeline(const ArticleFacts &article,
                                   const QList<PriceChange> &changes) const {
    QList<Campaign> mine;
    for (const Campaign &c : m_campaigns)
        if (c.covers(article))
            mine << c;
    PriceChange current;
    current.list = Money::of(article.list);
    current.discount = article.discount;
    current.price = PriceHistory::ownPrice(article.list, article.discount);
    return PriceTimeline(changes, mine, current);
}

std::optional<Money> SalePrices::lowestPrice(const ArticleFacts &article, QDate day) {
    if (!m_loaded)
        load();
    return timeline(article, m_history.changes(article.key)).lowestBefore(day);
}

EffectivePrice SalePrices::on(const ArticleFacts &article, QDate day) {
    if (!m_loaded)
        load();
    return on(article, day, m_history.changes(article.key));
}

EffectivePrice SalePrices::on(const ArticleFacts &article, QDate day,
                              const QList<PriceChange> &changes) {
    EffectivePrice out;
    // Today's values of the article are what it sells at: a change not yet
    // recorded (an article written by another program) still counts.
    out.list = Money::of(article.list);
    out.ownDiscount = article.discount;
    out.price = PriceHistory::ownPrice(article.list, article.discount);
    out.linePrice = out.list.toDouble();
    out.lineDiscount = article.discount;
    const PriceTimeline line = timeline(article, changes);
    const Campaign *campaign = line.campaignOn(day);
    if (!campaign)
        return out;
    out.campaign = *campaign;
    out.price = campaign->priceFor(out.list);
    if (campaign->fixedPrice) {
        out.linePrice = out.price.toDouble();
        out.lineDiscount = 0;
    } else if (Money::of(out.list.toDouble() * (1 - campaign->percent / 100) * 100) !=
               Money::fromCents(out.price.cents() * 100)) {
        // A percentage that leaves a fraction of a cent: the line takes the
        // campaign's price itself, so that any number of pieces costs that
        // price times the pieces, as announced.
        out.linePrice = out.price.toDouble();
        out.lineDiscount = 0;
    } else {
        out.lineDiscount = campaign->percent;
    }
    // A new article has no price before the campaign: its own price stands.
    const auto lowest = line.lowestBefore(campaign->first);
    out.previous = lowest ? *lowest : PriceHistory::ownPrice(article.list, article.discount);
    if (out.previous > Money())
        out.percent = int(std::lround(100.0 * double((out.previous - out.price).cents()) /
                                      double(out.previous.cents())));
    return out;
}

QList<SalePrices::PreviewLine> SalePrices::preview(const Campaign &campaign,
                                                   const QList<ArticleFacts> &articles) {
    if (!m_loaded)
        load();
    const QList<Campaign> saved = m_campaigns;
    m_campaigns.clear();
    for (const Campaign &c : saved)
        if (c.key != campaign.key || campaign.key == 0)
            m_campaigns << c;
    m_campaigns << campaign;
    const QHash<qint64, QList<PriceChange>> changes = m_history.allChanges();
    QList<PreviewLine> out;
    for (const ArticleFacts &f : articles) {
        if (!campaign.covers(f))
            continue;
        PreviewLine line{f, on(f, campaign.first, changes.value(f.key)), {}};
        line.warning = announcementWarning(campaign, line.price);
        out << line;
    }
    m_campaigns = saved;
    return out;
}

QString SalePrices::announcementWarning(const Campaign &campaign, const EffectivePrice &price) {
    if (campaign.fixedPrice || !price.campaign)
        return {};
    if (price.percent == int(std::lround(campaign.percent)))
        return {};
    return QStringLiteral("Il prezzo più basso degli ultimi 30 giorni è %1: lo sconto effettivo è "
                          "%2%")
        .arg(euro(price.previous))
        .arg(price.percent);
}

} // namespace corvale

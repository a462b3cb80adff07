#pragma once

#include "catalogue/Campaign.h"
#include "catalogue/PriceHistory.h"

#include <QHash>
#include <QString>

namespace corvale {

namespace db {
class Database;
}

// The price of an article on a day, as the counter, the invoice and the
// labels show it: its list price less its own discount, or, while a campaign
// covers it, the campaign's price announced against the lowest price applied
// in the 30 days before the campaign (or before the step of a campaign that
// deepens, which is a campaign of its own).
struct EffectivePrice {
    Money list;
    double ownDiscount = 0;
    Money price;                      // what the customer pays
    std::optional<Campaign> campaign; // the campaign of the day, if any
    Money previous;                   // the 30-day lowest before the campaign
    int percent = 0;                  // the reduction from `previous`, whole
    // What a document line takes: PREZZO and SCONTO (a campaign's
    // percentage on the list price, or its price when the percentage leaves a
    // fraction of a cent).
    double linePrice = 0;
    double lineDiscount = 0;

    bool reduced() const { return campaign && previous > price; }
    // "Prezzo precedente € 79,90 −30% € 55,93"; empty without a campaign.
    QString labelText() const;
    // "Prezzo precedente € 79,90 −30%", as the counter's printout shows it.
    QString reductionText() const;
};

class SalePrices {
public:
    explicit SalePrices(db::Database &database);
    ~SalePrices();

    // Reads the campaigns again (they are kept until the next load).
    void load();
    const QList<Campaign> &campaigns() const { return m_campaigns; }

    EffectivePrice on(const ArticleFacts &article, QDate day);
    // The lowest price applied in the 30 days before `day`.
    std::optional<Money> lowestPrice(const ArticleFacts &article, QDate day);
    // The price of the article on a day from known changes (one pass over
    // many articles: see PriceHistory::allChanges).
    EffectivePrice on(const ArticleFacts &article, QDate day, const QList<PriceChange> &changes);

    // What a campaign, saved or not, does on its first day to each article it
    // covers, with the warning when its announced percentage is not the one
    // computed against the 30-day lowest.
    struct PreviewLine {
        ArticleFacts article;
        EffectivePrice price;
        QString warning;
    };
    QList<PreviewLine> preview(const Campaign &campaign, const QList<ArticleFacts> &articles);

    // The announced percentage against the 30-day lowest, when it differs:
    // "Il prezzo più basso degli ultimi 30 giorni è € 69,90: lo sconto
    // effettivo è 20%"; empty when it agrees.
    static QString announcementWarning(const Campaign &campaign, const EffectivePrice &price);

    // "€ 79,90"
    static QString euro(Money amount);

private:
    PriceTimeline timeline(const ArticleFacts &article, const QList<PriceChange> &changes) const;

    PriceHistory m_history;
    QList<Campaign> m_campaigns;
    bool m_loaded = false;
    db::Database &m_db;
};

} // namespace corvale

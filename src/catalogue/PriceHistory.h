#pragma once

#include "catalogue/PriceTimeline.h"

#include <QHash>

#include <memory>

namespace corvale {

namespace db {
class Database;
class Table;
} // namespace db

// The price history of the articles (PREZZI): every change of an article's
// own price (list price less its own discount) with its day and its cause,
// as the article card, the bulk changes and the upgrade of an older folder
// wrote them, and the start and end of every campaign on each article it
// covers. The prices of campaign days are worked out from the campaigns
// themselves, so a campaign changed or removed never leaves a stale price.
class PriceHistory {
public:
    explicit PriceHistory(db::Database &database);
    ~PriceHistory();

    // List price less discount, to the cent.
    static Money ownPrice(double list, double discount);

    // Records that from `day` the article sells at `list` less `discount`;
    // nothing is written when that is already its last recorded price.
    // Returns whether a change was written.
    bool record(qint64 article, QDate day, double list, double discount, const QString &cause);
    // Notes, for every article the campaign covers, its start (the campaign's
    // price) and the day after its end (the article's own price), replacing
    // what was noted for it before.
    void recordCampaign(const Campaign &campaign, const QList<ArticleFacts> &articles);
    void forgetCampaign(qint64 key);
    // The article's own price changes in the order they were made.
    QList<PriceChange> changes(qint64 article);
    // Every article's changes, read in one pass.
    QHash<qint64, QList<PriceChange>> allChanges();

    // The causes written by the program.
    static QString cardCause() { return QStringLiteral("Scheda articolo"); }
    static QString newArticleCause() { return QStringLiteral("Nuovo articolo"); }
    static QString bulkCause() { return QStringLiteral("Variazione prezzi"); }

private:
    db::Table &table();

    db::Database &m_db;
    std::unique_ptr<db::Table> m_table;
};

} // namespace corvale

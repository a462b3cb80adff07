#pragma once

#include "catalogue/Campaign.h"

#include <QList>
#include <QStringList>

namespace corvale {

namespace db {
class Database;
}

// The campaigns of the shop (SALDI, with the articles chosen one by one in
// SALDIART): reading, checking, saving and removing them, and the articles
// each one covers. Campaigns may not share a day on one article.
class CampaignBook {
public:
    explicit CampaignBook(db::Database &database);

    // Every campaign, in first-day order.
    QList<Campaign> load();

    // The first reason the campaign cannot be saved, in the user's words;
    // empty when it can. `articles`: the articles in ARTICOLI.
    QString refusal(const Campaign &campaign, const QList<ArticleFacts> &articles);
    // Saves a new (key 0, which it then receives) or changed campaign; the
    // caller has asked refusal() first. Returns its key.
    qint64 save(Campaign &campaign);
    void remove(qint64 key);

    // Every article of ARTICOLI, read in one pass.
    QList<ArticleFacts> articles();
    // The codes (BARCODE) of the articles a filter of the article archive
    // lists, in code order: a campaign's list of articles taken from it.
    QStringList codesListedBy(const QString &filter);
    static QList<ArticleFacts> covered(const Campaign &campaign,
                                       const QList<ArticleFacts> &articles);

private:
    qint64 nextKey();

    db::Database &m_db;
};

} // namespace corvale

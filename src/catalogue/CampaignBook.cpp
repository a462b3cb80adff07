#include "catalogue/CampaignBook.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/PriceHistory.h"
#include "catalogue/SeasonSaleColumns.h"
#include "db/Database.h"
#include "db/Table.h"
#include "platform/Formats.h"

#include <QHash>
#include <algorithm>

namespace corvale {

namespace c = seasonSaleColumns;
namespace a = articleColumns;

CampaignBook::CampaignBook(db::Database &database)
    : m_db(database) {}

QList<Campaign> CampaignBook::load() {
    QHash<qint64, QSet<qint64>> chosen;
    {
        db::Table t(m_db);
        t.setTableName(c::campaignArticles);
        t.open();
        for (t.first(); !t.eof(); t.next())
            chosen[t.asInteger(c::campaignKey)].insert(t.asInteger(c::campaignArticle));
    }
    db::Table t(m_db);
    t.setTableName(c::campaigns);
    t.open();
    QList<Campaign> out;
    for (t.first(); !t.eof(); t.next()) {
        Campaign k;
        k.key = t.asInteger(c::campaignKey);
        k.name = t.asString(c::campaignName).trimmed();
        k.first = t.asDate(c::campaignFirst);
        k.last = t.asDate(c::campaignLast);
        k.selection = CampaignSelection(t.asInteger(c::campaignKind));
        k.value = t.asInteger(c::campaignValue);
        k.season = t.asString(c::campaignSeason).trimmed();
        k.year = int(t.asInteger(c::campaignYear));
        k.articles = chosen.value(k.key);
        k.percent = t.asFloat(c::campaignPercent);
        if (!t.isNull(c::campaignPrice) && t.asFloat(c::campaignPrice) > 0)
            k.fixedPrice = Money::of(t.asFloat(c::campaignPrice));
        out << k;
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Campaign &x, const Campaign &y) { return x.first < y.first; });
    return out;
}

QList<ArticleFacts> CampaignBook::articles() {
    db::Table t(m_db);
    t.setTableName(a::articles);
    t.open();
    QList<ArticleFacts> out;
    for (t.first(); !t.eof(); t.next())
        out << ArticleFacts::read(t);
    return out;
}

QStringList CampaignBook::codesListedBy(const QString &filter) {
    db::Table t(m_db);
    t.setTableName(a::articles);
    t.setIndexName(a::code);
    t.open();
    if (!filter.isEmpty()) {
        t.setFilter(filter);
        t.setFiltered(true);
    }
    QStringList out;
    for (t.first(); !t.eof(); t.next())
        out << t.asString(a::code).trimmed();
    return out;
}

QList<ArticleFacts> CampaignBook::covered(const Campaign &campaign,
                                          const QList<ArticleFacts> &articles) {
    QList<ArticleFacts> out;
    for (const ArticleFacts &f : articles)
        if (campaign.covers(f))
            out << f;
    return out;
}

QString CampaignBook::refusal(const Campaign &campaign, const QList<ArticleFacts> &articles) {
    if (campaign.name.trimmed().isEmpty())
        return QStringLiteral("Indicare il nome della campagna.");
    if (!campaign.first.isValid() || !campaign.last.isValid())
        return QStringLiteral("Indicare il primo e l'ultimo giorno della campagna.");
    if (campaign.first > campaign.last)
        return QStringLiteral("Il primo giorno della campagna non può seguire l'ultimo.");
    if (campaign.fixedPrice ? *campaign.fixedPrice <= Money()
                            : (campaign.percent <= 0 || campaign.percent >= 100))
        return QStringLiteral(
            "Indicare uno sconto maggiore di 0 e minore di 100, oppure un prezzo fisso.");
    const QList<ArticleFacts> mine = covered(campaign, articles);
    if (mine.isEmpty())
        return QStringLiteral("La campagna non comprende alcun articolo.");
    for (const Campaign &other : load()) {
        if (other.key == campaign.key || !other.sharesDaysWith(campaign))
            continue;
        for (const ArticleFacts &f : mine) {
            if (other.covers(f))
                return QStringLiteral("L'articolo %1 è già in saldo nella campagna \"%2\" dal %3 "
                                      "al %4: le campagne non possono sovrapporsi.")
                    .arg(f.description, other.name, Formats::formatDate(other.first),
                         Formats::formatDate(other.last));
        }
    }
    return {};
}

qint64 CampaignBook::nextKey() {
    db::Table t(m_db);
    t.setTableName(c::campaigns);
    t.open();
    qint64 top = 0;
    for (t.first(); !t.eof(); t.next())
        top = std::max(top, t.asInteger(c::campaignKey));
    return top + 1;
}

qint64 CampaignBook::save(Campaign &k) {
    if (k.key == 0)
        k.key = nextKey();
    remove(k.key);
    db::Table t(m_db);
    t.setTableName(c::campaigns);
    t.open();
    t.append();
    t.setInteger(c::campaignKey, k.key);
    t.setString(c::campaignName, k.name.trimmed().left(c::campaignNameLength));
    t.setDate(c::campaignFirst, k.first);
    t.setDate(c::campaignLast, k.last);
    t.setInteger(c::campaignKind, int(k.selection));
    t.setInteger(c::campaignValue, k.value);
    t.setString(c::campaignSeason, k.season.trimmed());
    t.setInteger(c::campaignYear, k.year);
    t.setFloat(c::campaignPercent, k.fixedPrice ? 0 : k.percent);
    t.setFloat(c::campaignPrice, k.fixedPrice ? k.fixedPrice->toDouble() : 0);
    t.post();
    if (k.selection == CampaignSelection::Articles) {
        db::Table list(m_db);
        list.setTableName(c::campaignArticles);
        list.open();
        QList<qint64> keys(k.articles.begin(), k.articles.end());
        std::sort(keys.begin(), keys.end());
        for (qint64 article : keys) {
            list.append();
            list.setInteger(c::campaignKey, k.key);
            list.setInteger(c::campaignArticle, article);
            list.post();
        }
    }
    PriceHistory(m_db).recordCampaign(k, articles());
    return k.key;
}

void CampaignBook::remove(qint64 key) {
    PriceHistory(m_db).forgetCampaign(key);
    for (const QString &name : {c::campaigns, c::campaignArticles}) {
        db::Table t(m_db);
        t.setTableName(name);
        t.setIndexName(c::campaignKey);
        t.open();
        t.setRange(key, key);
        for (t.first(); !t.eof(); t.first())
            t.remove();
        t.cancelRange();
    }
}

} // namespace corvale

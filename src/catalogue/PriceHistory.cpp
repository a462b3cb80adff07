#include "catalogue/PriceHistory.h"

#include "catalogue/SeasonSaleColumns.h"
#include "db/Database.h"
#include "db/Table.h"

namespace corvale {

namespace c = seasonSaleColumns;

namespace {

PriceChange readChange(const db::Table &t) {
    PriceChange p;
    p.day = t.asDate(c::historyDay);
    p.list = Money::of(t.asFloat(c::historyList));
    p.discount = t.asFloat(c::historyDiscount);
    p.price = Money::of(t.asFloat(c::historyPrice));
    return p;
}

} // namespace

PriceHistory::PriceHistory(db::Database &database)
    : m_db(database) {}

PriceHistory::~PriceHistory() = default;

Money PriceHistory::ownPrice(double list, double discount) {
    return Money::of(list * (1 - discount / 100));
}

db::Table &PriceHistory::table() {
    if (!m_table) {
        m_table = std::make_unique<db::Table>(m_db);
        m_table->setTableName(c::history);
        m_table->setIndexName(c::historyArticle);
        m_table->open();
    }
    return *m_table;
}

QList<PriceChange> PriceHistory::changes(qint64 article) {
    db::Table &t = table();
    t.setRange(article, article);
    QList<PriceChange> out;
    for (t.first(); !t.eof(); t.next())
        if (t.asInteger(c::historyCampaign) == 0)
            out << readChange(t);
    t.cancelRange();
    return out;
}

QHash<qint64, QList<PriceChange>> PriceHistory::allChanges() {
    db::Table t(m_db);
    t.setTableName(c::history);
    t.open();
    const auto article = t.fieldRef(c::historyArticle);
    const auto campaign = t.fieldRef(c::historyCampaign);
    QHash<qint64, QList<PriceChange>> out;
    for (t.first(); !t.eof(); t.next())
        if (t.asInteger(campaign) == 0)
            out[t.asInteger(article)] << readChange(t);
    return out;
}

bool PriceHistory::record(qint64 article, QDate day, double list, double discount,
                          const QString &cause) {
    const Money listPrice = Money::of(list);
    const Money price = ownPrice(list, discount);
    const QList<PriceChange> before = changes(article);
    if (!before.isEmpty()) {
        const PriceChange &last = before.last();
        if (last.list == listPrice && qFuzzyCompare(1 + last.discount, 1 + discount))
            return false;
    }
    db::Table &t = table();
    t.append();
    t.setInteger(c::historyArticle, article);
    t.setDate(c::historyDay, day);
    t.setFloat(c::historyList, listPrice.toDouble());
    t.setFloat(c::historyDiscount, discount);
    t.setFloat(c::historyPrice, price.toDouble());
    t.setString(c::historyCause, cause.left(c::causeLength));
    t.setInteger(c::historyCampaign, 0);
    t.post();
    return true;
}

void PriceHistory::recordCampaign(const Campaign &campaign, const QList<ArticleFacts> &articles) {
    forgetCampaign(campaign.key);
    db::Table &t = table();
    auto write = [&](const ArticleFacts &a, QDate day, double discount, Money price,
                     const QString &cause) {
        t.append();
        t.setInteger(c::historyArticle, a.key);
        t.setDate(c::historyDay, day);
        t.setFloat(c::historyList, Money::of(a.list).toDouble());
        t.setFloat(c::historyDiscount, discount);
        t.setFloat(c::historyPrice, price.toDouble());
        t.setString(c::historyCause, cause.left(c::causeLength));
        t.setInteger(c::historyCampaign, campaign.key);
        t.post();
    };
    for (const ArticleFacts &a : articles) {
        if (!campaign.covers(a))
            continue;
        write(a, campaign.first, campaign.fixedPrice ? 0 : campaign.percent,
              campaign.priceFor(Money::of(a.list)), QStringLiteral("Campagna ") + campaign.name);
        write(a, campaign.last.addDays(1), a.discount, ownPrice(a.list, a.discount),
              QStringLiteral("Fine campagna ") + campaign.name);
    }
}

void PriceHistory::forgetCampaign(qint64 key) {
    db::Table t(m_db);
    t.setTableName(c::history);
    t.setIndexName(c::historyCampaign);
    t.open();
    t.setRange(key, key);
    for (t.first(); !t.eof(); t.first())
        t.remove();
    t.cancelRange();
}

} // namespace corvale

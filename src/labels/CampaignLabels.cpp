#include "labels/CampaignLabels.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/SalePrices.h"
#include "db/Table.h"

#include <QHash>

namespace corvale {

void CampaignLabels::apply(QList<LabelRow> &rows, db::Database &database, QDate day) {
    SalePrices prices(database);
    prices.load();
    if (prices.campaigns().isEmpty())
        return;
    db::Table articles(database);
    articles.setTableName(articleColumns::articles);
    articles.setIndexName(articleColumns::key);
    articles.open();
    QHash<qint64, EffectivePrice> known;
    for (LabelRow &r : rows) {
        if (r.article == 0)
            continue;
        auto it = known.find(r.article);
        if (it == known.end()) {
            if (!articles.findKey(r.article))
                continue;
            it = known.insert(r.article, prices.on(ArticleFacts::read(articles), day));
        }
        if (!it->campaign)
            continue;
        r.price = it->price.toDouble();
        r.discount = 0;
        r.reduction = it->labelText();
    }
}

} // namespace corvale

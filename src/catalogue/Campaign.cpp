#include "catalogue/Campaign.h"

#include "catalogue/ArticleColumns.h"
#include "db/Table.h"

namespace corvale {

namespace a = articleColumns;

ArticleFacts ArticleFacts::read(const db::Table &t) {
    ArticleFacts f;
    f.key = t.asInteger(a::key);
    f.description = t.asString(a::description).trimmed();
    f.list = t.asFloat(a::salePrice);
    f.discount = t.asFloat(a::discount);
    f.category = t.asInteger(a::categoryKey);
    f.brand = t.asInteger(a::brandKey);
    f.supplier = t.asInteger(a::supplierKey);
    f.sizeType = t.asInteger(a::sizeType);
    f.season = t.asString(a::season).trimmed();
    f.year = int(t.asInteger(a::year));
    return f;
}

bool Campaign::covers(const ArticleFacts &article) const {
    switch (selection) {
    case CampaignSelection::Category:
        return article.category == value;
    case CampaignSelection::Brand:
        return article.brand == value;
    case CampaignSelection::Supplier:
        return article.supplier == value;
    case CampaignSelection::SizeType:
        return article.sizeType == value;
    case CampaignSelection::Season:
        return article.season.compare(season.trimmed(), Qt::CaseInsensitive) == 0 &&
               (year == 0 || article.year == year);
    case CampaignSelection::Articles:
        return articles.contains(article.key);
    }
    return false;
}

Money Campaign::priceFor(Money list) const {
    if (fixedPrice)
        return *fixedPrice;
    return Money::of(list.toDouble() * (1 - percent / 100));
}

QString Campaign::seasonText(const QString &season, int year) {
    return year == 0 ? season.trimmed() : QStringLiteral("%1 %2").arg(season.trimmed()).arg(year);
}

} // namespace corvale

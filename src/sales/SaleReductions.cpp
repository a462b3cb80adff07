#include "sales/SaleReductions.h"

#include "catalogue/ArticleColumns.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"

namespace corvale {

QList<std::optional<EffectivePrice>> SaleReductions::of(db::Database &database,
                                                        const QList<SheetRow> &rows, QDate day) {
    QList<std::optional<EffectivePrice>> out;
    SalePrices prices(database);
    prices.load();
    if (prices.campaigns().isEmpty()) {
        out.resize(rows.size());
        return out;
    }
    db::Table articles(database);
    articles.setTableName(articleColumns::articles);
    articles.setIndexName(articleColumns::key);
    articles.open();
    for (const SheetRow &row : rows) {
        std::optional<EffectivePrice> reduction;
        const qint64 article = row.values.value(sheet::CODICE).toLongLong();
        if (article != 0 && articles.findKey(article)) {
            const EffectivePrice p = prices.on(ArticleFacts::read(articles), day);
            const Money sold =
                Money::of(row.number(sheet::PREZZO) * (1 - row.number(sheet::SCONTO) / 100));
            if (p.reduced() && sold == p.price)
                reduction = p;
        }
        out << reduction;
    }
    return out;
}

} // namespace corvale

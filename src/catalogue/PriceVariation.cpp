#include "catalogue/PriceVariation.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/ArticlePricing.h"
#include "catalogue/PriceHistory.h"
#include "db/Database.h"
#include "db/Table.h"
#include "platform/Formats.h"
#include "platform/Money.h"

#include <QStringList>

namespace corvale {

PriceVariation::PriceVariation(db::Database &database)
    : m_db(database) {}

QString PriceVariation::filterText(const Request &request) {
    QStringList conditions;
    if (request.brand)
        conditions << QStringLiteral("(N_MARCHI = '%1')").arg(*request.brand);
    if (request.supplier)
        conditions << QStringLiteral("(N_FOR = '%1')").arg(*request.supplier);
    return conditions.join(QStringLiteral(" AND "));
}

int PriceVariation::run(const Request &request, QDate day) {
    PriceHistory history(m_db);
    const double p = Formats::parseNumber(request.percentText).value_or(0);
    const QString filter = filterText(request);

    db::Table articles(m_db);
    articles.setTableName(articleColumns::articles);
    articles.open();
    if (!filter.isEmpty()) {
        articles.setFilter(filter);
        articles.setFiltered(true);
    }
    int changed = 0;
    for (articles.first(); !articles.eof(); articles.next()) {
        const double purchase = articles.asFloat(articleColumns::purchasePrice);
        const double sale = articles.asFloat(articleColumns::salePrice);
        const double markup = articles.asFloat(articleColumns::markup);
        const double vat = articles.asFloat(articleColumns::vat);
        articles.edit();
        switch (request.target) {
        case Target::PurchasePrice: {
            // Both prices to the cent: the sale price follows the purchase
            // price as stored, as the article card works it out.
            const double newPurchase = roundToCents(purchase * (1 + p / 100));
            const double newSale = request.markupWithoutVat
                                       ? newPurchase * (1 + markup / 100)
                                       : ArticlePricing::salePrice(newPurchase, markup, vat, false);
            articles.setFloat(articleColumns::purchasePrice, newPurchase);
            articles.setFloat(articleColumns::salePrice, roundToCents(newSale));
            break;
        }
        case Target::SalePrice: {
            const double newSale = roundToCents(sale * (1 + p / 100));
            const double newMarkup = purchase != 0
                                         ? ArticlePricing::markupFromSale(newSale, purchase, vat,
                                                                          request.markupWithoutVat)
                                         : 0;
            articles.setFloat(articleColumns::markup, newMarkup);
            articles.setFloat(articleColumns::salePrice, newSale);
            break;
        }
        case Target::Discount:
            articles.setFloat(articleColumns::discount, p);
            break;
        }
        articles.post();
        history.record(articles.asInteger(articleColumns::key), day,
                       articles.asFloat(articleColumns::salePrice),
                       articles.asFloat(articleColumns::discount), PriceHistory::bulkCause());
        ++changed;
    }
    articles.close();
    return changed;
}

} // namespace corvale

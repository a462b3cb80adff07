#include "catalogue/SizeRunArticles.h"

#include "catalogue/ArticleColumns.h"
#include "db/Error.h"
#include "db/Table.h"

namespace corvale {

using namespace articleColumns;

bool SizeRunArticle::matches(const SizeRunSelection &s) const {
    if (s.supplier != 0 && supplierKey != s.supplier)
        return false;
    if (s.brand != 0 && brandKey != s.brand)
        return false;
    if (s.category != 0 && categoryKey != s.category)
        return false;
    if (!s.season.trimmed().isEmpty() && season != s.season.trimmed())
        return false;
    if (s.year != 0 && year != s.year)
        return false;
    if (s.sizeType != 0 && sizeType != s.sizeType)
        return false;
    return true;
}

QHash<qint64, SizeRunArticle> SizeRunArticles::read(db::Database &database,
                                                    const SizeRunSelection &selection) {
    QHash<qint64, SizeRunArticle> out;
    db::Table t(database);
    t.setTableName(articles);
    t.open();
    const auto fKey = t.fieldRef(key);
    const auto fSupplier = t.fieldRef(supplierKey);
    const auto fBrand = t.fieldRef(brandKey);
    const auto fCategory = t.fieldRef(categoryKey);
    const auto fYear = t.fieldRef(year);
    const auto fSizeType = t.fieldRef(sizeType);
    const auto fPrice = t.fieldRef(purchasePrice);
    const auto fSale = t.fieldRef(salePrice);
    const auto fVat = t.fieldRef(vat);
    for (t.first(); !t.eof(); t.next()) {
        SizeRunArticle a;
        try {
            a.key = t.asInteger(fKey);
            a.supplierKey = t.asInteger(fSupplier);
            a.brandKey = t.asInteger(fBrand);
            a.categoryKey = t.asInteger(fCategory);
            a.year = int(t.asInteger(fYear));
            a.sizeType = t.asInteger(fSizeType);
            a.season = t.asString(season).trimmed();
            if (a.key <= 0 || !a.matches(selection))
                continue;
            a.purchasePrice = Money::of(t.asFloat(fPrice));
            a.salePrice = t.asFloat(fSale);
            a.vat = t.asFloat(fVat);
        } catch (const db::Error &) {
            continue; // a record that does not read is no article of the report
        }
        a.code = t.asString(code).trimmed();
        a.description = t.asString(description).trimmed();
        a.supplier = t.asString(supplier).trimmed();
        a.brand = t.asString(brand).trimmed();
        a.typology = t.asString(typology).trimmed();
        out.insert(a.key, a);
    }
    return out;
}

} // namespace corvale

#include "sales/SaleLine.h"

#include "catalogue/ArticleColumns.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"

namespace corvale {

namespace a = articleColumns;

SaleLine SaleLine::ofArticle(const db::Table &article) {
    SaleLine line;
    line.article = article.asInteger(a::key);
    line.barcode = article.asString(a::code);
    line.description = article.asString(a::description);
    line.brand = article.asString(a::brand);
    line.sizeType = article.asInteger(a::sizeType);
    line.price = Money::of(article.asFloat(a::salePrice));
    line.discount = article.asFloat(a::discount);
    line.vat = article.asFloat(a::vat);
    return line;
}

void SaleLine::writeTo(db::Table &row) const {
    row.setString(sheet::DESCRIZION, description);
    row.setString(sheet::MARCHIO, brand);
    row.setString(sheet::BARCODE, barcode);
    row.setInteger(sheet::CODICE, article);
    row.setInteger(sheet::TIPOTAGLIA, sizeType);
    row.setFloat(sheet::PREZZO, price.toDouble());
    row.setFloat(sheet::QUANTITA, quantity);
    row.setFloat(sheet::SCONTO, discount);
    row.setFloat(sheet::IVA, vat);
    row.setInteger(sheet::TAGLIA, position);
    row.setString(sheet::COLORE, colour);
    row.setString(sheet::CTAGLIA, sizeLabel);
}

} // namespace corvale

#include "stock/StockFilter.h"

#include "catalogue/ArticleColumns.h"
#include "shell/CommonRoutines.h"
#include "stock/StockColumns.h"

#include <QStringList>

namespace corvale {

namespace {

QString quoted(const QString &text) {
    return u'\'' + CommonRoutines::QuoteSql(text) + u'\'';
}

QString equals(const QString &field, const QString &value) {
    return u'(' + field + QStringLiteral(" = ") + quoted(value) + u')';
}

QString startsWith(const QString &field, const QString &text) {
    return QStringLiteral("((") + field + QStringLiteral(" >= ") + quoted(text) +
           QStringLiteral(") AND (") + field + QStringLiteral(" <= ") + quoted(text + u'z') +
           QStringLiteral("))");
}

} // namespace

QString StockFilter::text(const StockFilterBoxes &b) {
    using namespace articleColumns;
    QStringList conditions;
    if (!b.code.isEmpty()) {
        if (b.code.size() < wholeCodeLength)
            conditions << startsWith(code, b.code);
        else
            conditions << equals(code, b.code.left(wholeCodeLength));
    }
    if (!b.description.isEmpty())
        conditions << startsWith(description, b.description);
    if (!b.brand.isEmpty())
        conditions << equals(brandKey, b.brand);
    if (!b.supplier.isEmpty())
        conditions << equals(stockColumns::supplierKey, b.supplier);
    if (!b.season.trimmed().isEmpty())
        conditions << equals(season, b.season);
    if (b.inUseOnly)
        conditions << u'(' + inUse + u')';
    return conditions.join(QStringLiteral(" AND "));
}

} // namespace corvale

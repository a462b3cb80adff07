#include "catalogue/ArticleFilter.h"

#include "catalogue/ArticleColumns.h"
#include "shell/CommonRoutines.h"

#include <QStringList>

namespace corvale {

namespace {

QString quoted(const QString &text) {
    return u'\'' + CommonRoutines::QuoteSql(text) + u'\'';
}

QString equals(const QString &field, const QString &value) {
    return u'(' + field + QStringLiteral(" = ") + quoted(value) + u')';
}

// The list-search range: from the text to the text followed by "z".
QString startsWith(const QString &field, const QString &text) {
    return QStringLiteral("((") + field + QStringLiteral(" >= ") + quoted(text) +
           QStringLiteral(") AND (") + field + QStringLiteral(" <= ") + quoted(text + u'z') +
           QStringLiteral("))");
}

} // namespace

QString ArticleFilter::text(const ArticleFilterBoxes &b) {
    using namespace articleColumns;
    QStringList conditions;
    if (!b.code.isEmpty()) {
        if (b.code.size() < articleCodeLength)
            conditions << startsWith(code, b.code);
        else
            conditions << equals(code, b.code.left(articleCodeLength));
    }
    if (!b.description.isEmpty())
        conditions << startsWith(description, b.description);
    if (!b.brand.isEmpty())
        conditions << equals(brandKey, b.brand);
    if (!b.typology.isEmpty())
        conditions << equals(typologyKey, b.typology);
    if (!b.material.isEmpty())
        conditions << equals(materialKey, b.material);
    if (!b.category.isEmpty())
        conditions << equals(categoryKey, b.category);
    if (!b.season.trimmed().isEmpty())
        conditions << equals(season, b.season);
    if (!b.sizeType.isEmpty())
        conditions << equals(sizeType, b.sizeType);
    if (!CommonRoutines::TrimLeading(b.year).isEmpty())
        conditions << equals(year, b.year);
    return conditions.join(QStringLiteral(" AND "));
}

} // namespace corvale

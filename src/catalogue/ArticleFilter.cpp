#include "catalogue/ArticleFilter.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/FilterConditions.h"
#include "shell/CommonRoutines.h"

namespace corvale {

QString ArticleFilter::text(const ArticleFilterBoxes &b) {
    using namespace articleColumns;
    FilterConditions c;
    c.code(code, b.code, articleCodeLength)
        .startsWith(description, b.description)
        .equals(brandKey, b.brand)
        .equals(typologyKey, b.typology)
        .equals(materialKey, b.material)
        .equals(categoryKey, b.category);
    if (!b.season.trimmed().isEmpty())
        c.equals(season, b.season);
    c.equals(sizeType, b.sizeType);
    if (!CommonRoutines::TrimLeading(b.year).isEmpty())
        c.equals(year, b.year);
    return c.text();
}

} // namespace corvale

#pragma once

#include <QString>

namespace corvale {

// What the boxes of the article archive's filter bar hold: typed texts as
// typed, chosen list entries by their record number (empty when none).
struct ArticleFilterBoxes {
    QString code;
    QString description;
    QString brand;
    QString typology;
    QString material;
    QString category;
    QString season;
    QString sizeType;
    QString year;
};

// The filter text of the article list: one condition per filled box, in the
// order of the bar's columns, joined by " AND "; empty when every box is.
// Every text is quoted, so an apostrophe in a description (or a scanned code)
// never breaks the filter.
class ArticleFilter {
public:
    static QString text(const ArticleFilterBoxes &boxes);
    // Codes of six characters or more are line barcodes: their first six name the article.
    static constexpr int articleCodeLength = 6;
};

} // namespace corvale

#pragma once

#include "platform/Money.h"

#include <QDate>
#include <QSet>
#include <QString>

#include <optional>

namespace corvale {

namespace db {
class Table;
}

// What a campaign chooses its articles by (SALDI.SELEZIONE).
enum class CampaignSelection { Category = 1, Brand, Supplier, SizeType, Season, Articles };

// The values of an article that its prices and its campaigns depend on.
struct ArticleFacts {
    qint64 key = 0;
    QString description;
    double list = 0;     // PREZZOVND
    double discount = 0; // SCONTO, the article's own
    qint64 category = 0;
    qint64 brand = 0;
    qint64 supplier = 0;
    qint64 sizeType = 0;
    QString season;
    int year = 0;

    // Read from the current record of ARTICOLI.
    static ArticleFacts read(const db::Table &articles);
};

// A sale campaign ("Saldi e promozioni"): from its first to its last day the
// articles it selects sell at their list price less its percentage, or at its
// fixed price. It replaces the article's own discount for those days and
// never rewrites the article.
struct Campaign {
    qint64 key = 0;
    QString name;
    QDate first;
    QDate last;
    CampaignSelection selection = CampaignSelection::Category;
    qint64 value = 0;      // category, brand, supplier or size type chosen
    QString season;        // with CampaignSelection::Season
    int year = 0;          // with CampaignSelection::Season; 0 = every year
    QSet<qint64> articles; // with CampaignSelection::Articles
    double percent = 0;
    std::optional<Money> fixedPrice;

    bool covers(const ArticleFacts &article) const;
    bool activeOn(QDate day) const { return day >= first && day <= last; }
    bool sharesDaysWith(const Campaign &other) const {
        return first <= other.last && other.first <= last;
    }
    // The price the campaign asks for an article of list price `list`.
    Money priceFor(Money list) const;
    // "Autunno/Inverno 2026", "Autunno/Inverno" for every year.
    static QString seasonText(const QString &season, int year);
};

} // namespace corvale

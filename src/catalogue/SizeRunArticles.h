#pragma once

#include "platform/Money.h"

#include <QHash>
#include <QList>
#include <QString>

namespace corvale {

namespace db {
class Database;
}

// Which articles a size-run report looks at: a supplier, a brand, a
// category (0 = any) and a season as the articles carry it, STAGIONE and
// ANNO (empty text or 0 = any).
struct SizeRunSelection {
    qint64 supplier = 0; // FORNITOR.CODICE
    qint64 brand = 0;    // MARCHI.NUMREG
    qint64 category = 0; // CATEGOR.NUMREG
    QString season;      // STAGIONE, compared without outer blanks
    int year = 0;        // ANNO
    qint64 sizeType = 0; // TAGLIE.NUMREG

    bool isEmpty() const {
        return supplier == 0 && brand == 0 && category == 0 && season.trimmed().isEmpty() &&
               year == 0 && sizeType == 0;
    }
};

// One article as the size-run reports show and select it.
struct SizeRunArticle {
    qint64 key = 0;
    QString code;
    QString description;
    qint64 supplierKey = 0;
    QString supplier;
    qint64 brandKey = 0;
    QString brand;
    qint64 categoryKey = 0;
    QString season;
    int year = 0;
    qint64 sizeType = 0;
    Money purchasePrice;
    double vat = 0;
    double salePrice = 0;
    QString typology;

    bool matches(const SizeRunSelection &selection) const;
};

class SizeRunArticles {
public:
    // The articles of ARTICOLI that `selection` takes, by number; one pass
    // over the table.
    static QHash<qint64, SizeRunArticle> read(db::Database &database,
                                              const SizeRunSelection &selection);
};

} // namespace corvale

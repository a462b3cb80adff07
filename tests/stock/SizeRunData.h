#pragma once

#include "StockData.h"

#include <QMap>
#include <QStringList>

// Size types with their core sizes and stock records, planted straight into
// the tables for the size-run reports.
namespace sizerun {

// Labels by position (1..20); an empty text leaves the position unused.
inline void addSizeType(ShopFixture &f, qint64 key, const QString &name,
                        const QMap<int, QString> &labels, int coreFrom = 0, int coreTo = 0) {
    QVariantMap values{{QStringLiteral("NUMREG"), key},
                       {QStringLiteral("DESCRIZION"), name},
                       {QStringLiteral("NUCLEODA"), coreFrom},
                       {QStringLiteral("NUCLEOA"), coreTo}};
    for (auto it = labels.begin(); it != labels.end(); ++it)
        values.insert(QStringLiteral("TG%1").arg(it.key()), it.value());
    f.add(QStringLiteral("TAGLIE"), values);
}

// S M L XL XXL at positions 1..5, core M..XL.
inline void addGarments(ShopFixture &f, qint64 key = 1) {
    addSizeType(f, key, QStringLiteral("CONFEZIONI"),
                {{1, QStringLiteral("S")},
                 {2, QStringLiteral("M")},
                 {3, QStringLiteral("L")},
                 {4, QStringLiteral("XL")},
                 {5, QStringLiteral("XXL")}},
                2, 4);
}

inline void stockRow(ShopFixture &f, qint64 article, const QString &colour,
                     const QMap<int, int> &cells) {
    QVariantMap values{{QStringLiteral("ARTCODE"), article}, {QStringLiteral("COLORE"), colour}};
    for (auto it = cells.begin(); it != cells.end(); ++it)
        values.insert(QStringLiteral("TG%1").arg(it.key()), it.value());
    f.add(QStringLiteral("ARCARTTG"), values);
}

inline stockdata::Article article(qint64 key, const QString &description, qint64 sizeType,
                                  double price = 10) {
    stockdata::Article a{key, description, price};
    a.sizeType = sizeType;
    return a;
}

} // namespace sizerun

namespace sizerun {

// Sets one column of the article `key`.
inline void setArticle(ShopFixture &f, qint64 key, const QString &field, const QVariant &value) {
    corvale::db::Table t(f.db());
    t.setTableName(QStringLiteral("ARTICOLI"));
    t.open();
    for (t.first(); !t.eof(); t.next()) {
        if (t.asInteger(QStringLiteral("NUMREG")) != key)
            continue;
        t.edit();
        t.setValue(field, value);
        t.post();
        return;
    }
    qFatal("no article %lld", key);
}

} // namespace sizerun

#pragma once

#include "common/ShopFixture.h"

// Articles, size types, colours and stock rows for the article archive's tests.
namespace articledata {

inline void sizeType(ShopFixture &f, qint64 key, const QString &name, const QStringList &labels) {
    QVariantMap values{{QStringLiteral("NUMREG"), key}, {QStringLiteral("DESCRIZION"), name}};
    for (int n = 1; n <= labels.size(); ++n)
        values.insert(QStringLiteral("TG%1").arg(n), labels.at(n - 1));
    f.add(QStringLiteral("TAGLIE"), values);
}

inline void article(ShopFixture &f, qint64 key, const QString &description, QVariantMap more = {}) {
    more.insert(QStringLiteral("NUMREG"), key);
    more.insert(QStringLiteral("BARCODE"), QString::number(800000 + key));
    more.insert(QStringLiteral("DESCRIZION"), description);
    if (!more.contains(QStringLiteral("INUSO")))
        more.insert(QStringLiteral("INUSO"), true);
    f.add(QStringLiteral("ARTICOLI"), more);
}

// One stock row: the cells given from TG1 on (a null QVariant leaves a cell empty).
inline void stockRow(ShopFixture &f, qint64 article, const QString &colour,
                     const QVariantList &cells) {
    QVariantMap values{{QStringLiteral("ARTCODE"), article}, {QStringLiteral("COLORE"), colour}};
    for (int n = 1; n <= cells.size(); ++n) {
        if (!cells.at(n - 1).isNull())
            values.insert(QStringLiteral("TG%1").arg(n), cells.at(n - 1));
    }
    f.add(QStringLiteral("ARCARTTG"), values);
}

inline void colour(ShopFixture &f, qint64 key, const QString &name) {
    f.add(QStringLiteral("COLORI"),
          {{QStringLiteral("NUMREG"), key}, {QStringLiteral("COLORE"), name}});
}

} // namespace articledata

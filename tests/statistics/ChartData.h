#pragma once

#include "common/ShopFixture.h"

#include <QDate>

// Sales and sale lines as the counter sale leaves them, for the chart tests.
namespace chartdata {

inline void sale(ShopFixture &f, const QDate &date, double total) {
    f.add(QStringLiteral("VENDITE"), {{QStringLiteral("MYDATA"), date.toString(u"yyyyMMdd")},
                                      {QStringLiteral("DATADOC"), date},
                                      {QStringLiteral("TOTALE"), total}});
}

// A sale header with a date key as it may be found in an old or damaged table.
inline void saleWithKey(ShopFixture &f, const QString &key, double total) {
    f.add(QStringLiteral("VENDITE"),
          {{QStringLiteral("MYDATA"), key}, {QStringLiteral("TOTALE"), total}});
}

inline void article(ShopFixture &f, qint64 key, const QString &description) {
    f.add(QStringLiteral("ARTICOLI"), {{QStringLiteral("NUMREG"), key},
                                       {QStringLiteral("BARCODE"), QString::number(800000 + key)},
                                       {QStringLiteral("DESCRIZION"), description}});
}

inline void line(ShopFixture &f, qint64 article, const QDate &date, int quantity) {
    f.add(QStringLiteral("ARCART_V"), {{QStringLiteral("NUMVEN"), 1},
                                       {QStringLiteral("NUMART"), article},
                                       {QStringLiteral("DATAREG"), date},
                                       {QStringLiteral("QUANTITA"), quantity}});
}

} // namespace chartdata

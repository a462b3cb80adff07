#pragma once

#include "common/ShopFixture.h"

#include <QDate>
#include <QVariantMap>

// Articles and document lines planted straight into the tables, as the
// document windows would have saved them.
namespace stockdata {

struct Article {
    qint64 key;
    QString description;
    double purchasePrice = 0;
    QString brand = {};
    qint64 brandKey = 0;
    QString supplier = {};
    qint64 supplierKey = 0;
    QString season = {};
    bool inUse = true;
    qint64 sizeType = 0;
    qint64 category = 0;
};

inline QString codeOf(qint64 key) {
    return QString::number(800000 + key);
}

inline void addArticle(ShopFixture &f, const Article &a) {
    f.add(QStringLiteral("ARTICOLI"), {{QStringLiteral("NUMREG"), a.key},
                                       {QStringLiteral("BARCODE"), codeOf(a.key)},
                                       {QStringLiteral("DESCRIZION"), a.description},
                                       {QStringLiteral("PREZZOACQ"), a.purchasePrice},
                                       {QStringLiteral("MARCHIO"), a.brand},
                                       {QStringLiteral("N_MARCHI"), a.brandKey},
                                       {QStringLiteral("FORNITORE"), a.supplier},
                                       {QStringLiteral("N_FOR"), a.supplierKey},
                                       {QStringLiteral("STAGIONE"), a.season},
                                       {QStringLiteral("INUSO"), a.inUse},
                                       {QStringLiteral("TIPOTAGLIA"), a.sizeType},
                                       {QStringLiteral("N_CAT"), a.category}});
}

// A line of ARCART_A, ARCART_R or ARCART_V. A null date leaves DATAREG empty.
inline void addLine(ShopFixture &f, const QString &table, qint64 article, QDate date,
                    double quantity, double amount = 0, bool tipo = true) {
    QVariantMap values{{QStringLiteral("NUMART"), article},
                       {QStringLiteral("QUANTITA"), quantity},
                       {QStringLiteral("IMPORTO"), amount}};
    if (date.isValid())
        values.insert(QStringLiteral("DATAREG"), date);
    if (table == QLatin1String("ARCART_V"))
        values.insert(QStringLiteral("TIPO"), tipo);
    f.add(table, values);
}

inline void receipt(ShopFixture &f, qint64 article, QDate date, double q, double amount = 0) {
    addLine(f, QStringLiteral("ARCART_A"), article, date, q, amount);
}
inline void giveBack(ShopFixture &f, qint64 article, QDate date, double q, double amount = 0) {
    addLine(f, QStringLiteral("ARCART_R"), article, date, q, amount);
}
inline void sale(ShopFixture &f, qint64 article, QDate date, double q, double amount = 0,
                 bool tipo = true) {
    addLine(f, QStringLiteral("ARCART_V"), article, date, q, amount, tipo);
}

} // namespace stockdata

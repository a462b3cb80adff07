#pragma once

// The shop of the counter-sale tests: the articles, size type and colours of
// the document tests, the stock of "STIVALE CUOIO", extra codes and two
// customers with cards.

#include "documents/DocumentData.h"

#include "db/Table.h"
#include "documents/LineBarcode.h"
#include "documents/SheetColumns.h"

#include <QTest>

#include <optional>

// Stock of article 1 (size labels 38..42): ROSSO 2, 0, -, -1, 3 and BLU -, 1.
inline void addSaleData(ShopFixture &f) {
    addDocumentData(f);
    f.add(QStringLiteral("ARCARTTG"), {{QStringLiteral("ARTCODE"), 1},
                                       {QStringLiteral("COLORE"), QStringLiteral("ROSSO")},
                                       {QStringLiteral("TG1"), 2},
                                       {QStringLiteral("TG2"), 0},
                                       {QStringLiteral("TG4"), -1},
                                       {QStringLiteral("TG5"), 3}});
    f.add(QStringLiteral("ARCARTTG"), {{QStringLiteral("ARTCODE"), 1},
                                       {QStringLiteral("COLORE"), QStringLiteral("BLU")},
                                       {QStringLiteral("TG2"), 1}});
    f.add(QStringLiteral("BARCODE"),
          {{QStringLiteral("NUMREG"), 1}, {QStringLiteral("BARCODE"), QStringLiteral("EXTRA1")}});
    f.add(QStringLiteral("BARCODE"),
          {{QStringLiteral("NUMREG"), 3}, {QStringLiteral("BARCODE"), QStringLiteral("EXTRA3")}});
    f.add(QStringLiteral("CLIENTI"), {{QStringLiteral("CODICE"), 1},
                                      {QStringLiteral("NOME"), QStringLiteral("BIANCHI")},
                                      {QStringLiteral("BARCODE"), QStringLiteral("CARD100")},
                                      {QStringLiteral("DECPUNTI"), 20}});
    f.add(QStringLiteral("CLIENTI"), {{QStringLiteral("CODICE"), 6000},
                                      {QStringLiteral("NOME"), QStringLiteral("VERDI")},
                                      {QStringLiteral("BARCODE"), QStringLiteral("O'HARA")}});
    f.shop->texts().pointsPerEuro = 1;
}

// Gives an article another list price and, when given, another discount.
inline void setListPrice(ShopFixture &f, int article, double price,
                         std::optional<double> discount = std::nullopt) {
    corvale::db::Table articles(f.db());
    articles.setTableName(QStringLiteral("ARTICOLI"));
    articles.setIndexName(QStringLiteral("NUMREG"));
    articles.open();
    QVERIFY(articles.findKey(article));
    articles.edit();
    articles.setFloat(QStringLiteral("PREZZOVND"), price);
    if (discount)
        articles.setFloat(QStringLiteral("SCONTO"), *discount);
    articles.post();
}

// The line barcode of article 1 in a colour and size position.
inline QString saleCode(qint64 colour, int position, int article = 1) {
    return *corvale::lineBarcode(QString::number(800000 + article), colour, position);
}

// A column of the one stored sale (or how many sales there are instead).
inline QString saleValue(ShopFixture &f, const QString &column) {
    const QStringList values = f.column(QStringLiteral("VENDITE"), column);
    return values.size() == 1 ? values.first().trimmed()
                              : QStringLiteral("(%1 righe)").arg(values.size());
}

inline QList<QVariantMap> storedSaleLines(ShopFixture &f) {
    corvale::db::Table t(f.db());
    t.setTableName(QStringLiteral("ARCART_V"));
    t.open();
    QList<QVariantMap> out;
    for (t.first(); !t.eof(); t.next()) {
        QVariantMap v;
        for (const QString &c : t.fieldNames())
            v.insert(c, t.value(c));
        out << v;
    }
    return out;
}

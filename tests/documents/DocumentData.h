#pragma once

#include "common/ShopFixture.h"
#include "documents/SheetColumns.h"
#include "shell/CommonRoutines.h"

// A shop with one supplier, one size type with the labels 38..42 in positions
// 1..5, two colours and two articles of that size type.
inline void addDocumentData(ShopFixture &f) {
    f.add(QStringLiteral("FORNITOR"),
          {{QStringLiteral("CODICE"), 1}, {QStringLiteral("NOME"), QStringLiteral("ALFA")}});
    f.add(QStringLiteral("FORNITOR"),
          {{QStringLiteral("CODICE"), 2}, {QStringLiteral("NOME"), QStringLiteral("BETA")}});
    f.shop->routines().SetCounter(QStringLiteral("CLIENTI"), 2);
    QVariantMap sizes{{QStringLiteral("NUMREG"), 1},
                      {QStringLiteral("DESCRIZION"), QStringLiteral("CALZATURE")}};
    for (int p = 1; p <= 5; ++p)
        sizes.insert(QStringLiteral("TG%1").arg(p), QString::number(37 + p));
    f.add(QStringLiteral("TAGLIE"), sizes);
    f.add(QStringLiteral("COLORI"),
          {{QStringLiteral("NUMREG"), 1}, {QStringLiteral("COLORE"), QStringLiteral("ROSSO")}});
    f.add(QStringLiteral("COLORI"),
          {{QStringLiteral("NUMREG"), 2}, {QStringLiteral("COLORE"), QStringLiteral("BLU")}});
    f.shop->routines().SetCounter(QStringLiteral("COLORI"), 2);
    auto article = [&](int number, const char *description, int supplier, bool inUse) {
        f.add(QStringLiteral("ARTICOLI"),
              {{QStringLiteral("NUMREG"), number},
               {QStringLiteral("BARCODE"), QString::number(800000 + number)},
               {QStringLiteral("DESCRIZION"), QString::fromLatin1(description)},
               {QStringLiteral("MARCHIO"), QStringLiteral("ROSSI")},
               {QStringLiteral("TIPOLOGIA"), QStringLiteral("STIVALE")},
               {QStringLiteral("MATERIALE"), QStringLiteral("PELLE")},
               {QStringLiteral("TIPOTAGLIA"), 1},
               {QStringLiteral("PREZZOACQ"), 20.0},
               {QStringLiteral("PREZZOVND"), 59.9},
               {QStringLiteral("IVA"), 20.0},
               {QStringLiteral("SCONTO"), 5.0},
               {QStringLiteral("N_FOR"), supplier},
               {QStringLiteral("INUSO"), inUse}});
    };
    article(1, "STIVALE CUOIO", 1, true);
    article(2, "SANDALO", 2, true);
    article(3, "VECCHIO", 1, false);
    f.shop->routines().SetCounter(QStringLiteral("ARTICOLI"), 3);
}

// The stock cell of an article, colour and size position (0 when empty or absent).
inline double stockCell(ShopFixture &f, int article, const QString &colour, int position) {
    corvale::db::Table t(f.db());
    t.setTableName(QStringLiteral("ARCARTTG"));
    t.open();
    for (t.first(); !t.eof(); t.next()) {
        if (t.asInteger(QStringLiteral("ARTCODE")) == article &&
            t.asString(QStringLiteral("COLORE")) == colour)
            return t.asFloat(QStringLiteral("TG%1").arg(position));
    }
    return 0;
}

// Every stock cell that holds something, one text each ("S article colour
// position=quantity"), in record order.
inline QStringList stockCells(ShopFixture &f) {
    QStringList out;
    corvale::db::Table t(f.db());
    t.setTableName(QStringLiteral("ARCARTTG"));
    t.open();
    for (t.first(); !t.eof(); t.next())
        for (int p = 1; p <= 20; ++p)
            if (t.asFloat(QStringLiteral("TG%1").arg(p)) != 0)
                out << QStringLiteral("S %1 %2 %3=%4")
                           .arg(t.asString(QStringLiteral("ARTCODE")),
                                t.asString(corvale::sheet::COLORE))
                           .arg(p)
                           .arg(t.asString(QStringLiteral("TG%1").arg(p)));
    return out;
}

// Changes the quantity of the `row`-th row (from 0) of a document's sheet.
inline void setSheetQuantity(corvale::db::Table &sheet, int row, double quantity) {
    sheet.first();
    for (int i = 0; i < row; ++i)
        sheet.next();
    sheet.edit();
    sheet.setFloat(corvale::sheet::QUANTITA, quantity);
    sheet.post();
}

inline int recordCount(ShopFixture &f, const QString &table) {
    corvale::db::Table t(f.db());
    t.setTableName(table);
    t.open();
    return t.recordCount();
}

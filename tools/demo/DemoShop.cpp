#include "DemoShop.h"

#include "db/Database.h"
#include "db/Table.h"
#include "shell/CommonRoutines.h"

#include <QHash>
#include <QMap>
#include <array>
#include <functional>

namespace corvale {

namespace {

using Fill = std::function<void(db::Table &)>;

void append(db::Database &database, const QString &table, const Fill &fill) {
    db::Table t(database);
    t.setTableName(table);
    t.open();
    t.append();
    fill(t);
    t.post();
}

struct Article {
    int number;
    QString description;
    QString brand;
    int brandNumber;
    QString category;
    int categoryNumber;
    int sizeType;
    double purchase;
    double sale;
    int supplier;
};

struct Size {
    int type;
    QStringList labels;
    QString name;
};

QString dateKey(QDate d) {
    return d.toString(QStringLiteral("yyyyMMdd"));
}

} // namespace

void DemoShop::fill(db::Database &database, const QByteArray &blankPhoto, QDate today) {
    append(database, QStringLiteral("CONFIG"), [](db::Table &t) {
        t.setString(QStringLiteral("RAGIONE"), QStringLiteral("BOUTIQUE ESEMPIO"));
        t.setString(QStringLiteral("RAGION2"), QStringLiteral("Abbigliamento & Calzature"));
        t.setString(QStringLiteral("ADDRESS"), QStringLiteral("Via Roma 12"));
        t.setString(QStringLiteral("CITTA"), QStringLiteral("20121 MILANO"));
        t.setString(QStringLiteral("PIVA"), QStringLiteral("01234567890"));
        t.setString(QStringLiteral("TEL"), QStringLiteral("02 1234567"));
        t.setString(QStringLiteral("FAX"), QStringLiteral("02 7654321"));
        t.setInteger(QStringLiteral("IMPOBOL"), 22);
        t.setFloat(QStringLiteral("EURO"), 1);
        t.setBool(QStringLiteral("ISLOGO"), false);
    });

    const QList<Size> sizes{
        {1, {"XS", "S", "M", "L", "XL", "XXL"}, QStringLiteral("ABBIGLIAMENTO")},
        {2,
         {"36", "37", "38", "39", "40", "41", "42", "43", "44", "45"},
         QStringLiteral("CALZATURE")},
        {3, {"U"}, QStringLiteral("TAGLIA UNICA")}};
    for (const Size &s : sizes) {
        append(database, QStringLiteral("TAGLIE"), [&](db::Table &t) {
            t.setInteger(QStringLiteral("NUMREG"), s.type);
            t.setString(QStringLiteral("DESCRIZION"), s.name);
            for (int i = 0; i < s.labels.size(); ++i)
                t.setString(QStringLiteral("TG%1").arg(i + 1), s.labels[i]);
        });
    }

    const QStringList colours{"NERO", "BIANCO", "BLU NOTTE", "ROSSO", "BEIGE", "MARRONE"};
    for (int i = 0; i < colours.size(); ++i) {
        append(database, QStringLiteral("COLORI"), [&](db::Table &t) {
            t.setInteger(QStringLiteral("NUMREG"), i + 1);
            t.setString(QStringLiteral("COLORE"), colours[i]);
        });
    }
    // Brands, materials, soles and typologies share one numbering.
    int shared = 0;
    auto nameList = [&](const QString &table, const QStringList &names) {
        QHash<QString, int> numbers;
        for (const QString &n : names) {
            const int number = ++shared;
            numbers.insert(n, number);
            append(database, table, [&](db::Table &t) {
                t.setInteger(QStringLiteral("NUMREG"), number);
                t.setString(QStringLiteral("NOME"), n);
            });
        }
        return numbers;
    };
    const auto brands =
        nameList(QStringLiteral("MARCHI"), {"LANIFICIO ALPINO", "PASSO LEGGERO", "ATELIER NOVE"});
    nameList(QStringLiteral("MATERIAL"), {"COTONE", "LANA", "PELLE"});
    nameList(QStringLiteral("FONDI"), {"GOMMA", "CUOIO"});
    nameList(QStringLiteral("TIPOLOGI"), {"DONNA", "UOMO"});
    const QStringList categories{"MAGLIERIA", "PANTALONI", "SCARPE", "ACCESSORI"};
    for (int i = 0; i < categories.size(); ++i) {
        append(database, QStringLiteral("CATEGOR"), [&](db::Table &t) {
            t.setInteger(QStringLiteral("NUMREG"), i + 1);
            t.setString(QStringLiteral("NOME"), categories[i]);
        });
    }
    for (const char *m : {"3 CM", "5 CM", "8 CM"})
        append(database, QStringLiteral("MISURE"),
               [&](db::Table &t) { t.setString(QStringLiteral("NOME"), QString::fromLatin1(m)); });

    // Suppliers and customers share the CLIENTI counter.
    const QStringList suppliers{"LANIFICIO ALPINO SRL", "CALZATURIFICIO PASSO LEGGERO SPA",
                                "ATELIER NOVE SNC"};
    for (int i = 0; i < suppliers.size(); ++i) {
        append(database, QStringLiteral("FORNITOR"), [&](db::Table &t) {
            t.setInteger(QStringLiteral("CODICE"), i + 1);
            t.setString(QStringLiteral("NOME"), suppliers[i]);
            t.setString(QStringLiteral("ADDRESS"),
                        QStringLiteral("Via dell'Industria %1").arg(i + 3));
            t.setInteger(QStringLiteral("CAP"), 20100 + i);
            t.setString(QStringLiteral("CITTA"), QStringLiteral("MILANO"));
            t.setString(QStringLiteral("PIVACF"), QStringLiteral("0987654321%1").arg(i));
        });
    }
    const QStringList customers{"MARIA ROSSI", "GIULIA BIANCHI", "LUCA VERDI"};
    for (int i = 0; i < customers.size(); ++i) {
        append(database, QStringLiteral("CLIENTI"), [&](db::Table &t) {
            t.setInteger(QStringLiteral("CODICE"), 4 + i);
            t.setString(QStringLiteral("NOME"), customers[i]);
            t.setString(QStringLiteral("CITTA"), QStringLiteral("MILANO"));
            t.setString(QStringLiteral("BARCODE"), QStringLiteral("2000000000%1").arg(i + 1));
            t.setInteger(QStringLiteral("DECPUNTI"), 0);
        });
    }

    const QList<Article> articles{
        {1, "MAGLIONE GIROCOLLO", "LANIFICIO ALPINO", brands["LANIFICIO ALPINO"], "MAGLIERIA", 1, 1,
         32.5, 79.9, 1},
        {2, "CARDIGAN LUNGO", "LANIFICIO ALPINO", brands["LANIFICIO ALPINO"], "MAGLIERIA", 1, 1, 41,
         99, 1},
        {3, "PANTALONE CHINO", "ATELIER NOVE", brands["ATELIER NOVE"], "PANTALONI", 2, 1, 24, 59.9,
         3},
        {4, "JEANS SLIM", "ATELIER NOVE", brands["ATELIER NOVE"], "PANTALONI", 2, 1, 28, 69, 3},
        {5, "DECOLLETE PELLE", "PASSO LEGGERO", brands["PASSO LEGGERO"], "SCARPE", 3, 2, 45, 119,
         2},
        {6, "MOCASSINO UOMO", "PASSO LEGGERO", brands["PASSO LEGGERO"], "SCARPE", 3, 2, 52, 129, 2},
        {7, "STIVALETTO", "PASSO LEGGERO", brands["PASSO LEGGERO"], "SCARPE", 3, 2, 60, 149, 2},
        {8, "SCIARPA LANA", "LANIFICIO ALPINO", brands["LANIFICIO ALPINO"], "ACCESSORI", 4, 3, 9.5,
         25, 1},
    };
    for (const Article &a : articles) {
        append(database, QStringLiteral("ARTICOLI"), [&](db::Table &t) {
            t.setInteger(QStringLiteral("NUMREG"), a.number);
            t.setString(QStringLiteral("BARCODE"), QString::number(800000 + a.number));
            t.setString(QStringLiteral("DESCRIZION"), a.description);
            t.setString(QStringLiteral("MARCHIO"), a.brand);
            t.setInteger(QStringLiteral("N_MARCHI"), a.brandNumber);
            t.setString(QStringLiteral("CATEGORIA"), a.category);
            t.setInteger(QStringLiteral("N_CAT"), a.categoryNumber);
            t.setString(QStringLiteral("FORNITORE"), suppliers[a.supplier - 1]);
            t.setInteger(QStringLiteral("N_FOR"), a.supplier);
            t.setInteger(QStringLiteral("TIPOTAGLIA"), a.sizeType);
            t.setString(QStringLiteral("MISURA"), sizes[a.sizeType - 1].name);
            t.setFloat(QStringLiteral("PREZZOACQ"), a.purchase);
            t.setFloat(QStringLiteral("PREZZOVND"), a.sale);
            t.setFloat(QStringLiteral("RICARICO"), (a.sale / (a.purchase * 1.22) - 1) * 100);
            t.setFloat(QStringLiteral("IVA"), 22);
            t.setFloat(QStringLiteral("SCONTO"), 0);
            t.setString(QStringLiteral("UM"), QStringLiteral("PZ"));
            t.setString(QStringLiteral("STAGIONE"), QStringLiteral("Quattro Stagioni"));
            t.setInteger(QStringLiteral("ANNO"), today.year());
            t.setBlob(QStringLiteral("FOTO"), blankPhoto);
            t.setBool(QStringLiteral("INUSO"), true);
        });
    }

    // Stock as the documents leave it: (article, colour) -> 20 cells.
    QMap<std::pair<int, QString>, std::array<int, 20>> stock;
    auto line = [&](const QString &table, const QString &keyField, int document, const Article &a,
                    const QString &colour, int position, int quantity, double price, QDate date) {
        const Size &s = sizes[a.sizeType - 1];
        append(database, table, [&](db::Table &t) {
            t.setInteger(keyField, document);
            t.setInteger(QStringLiteral("NUMART"), a.number);
            const QString code = QString::number(800000 + a.number) +
                                 QString::number(100 + int(colours.indexOf(colour)) + 1) +
                                 QString::number(100 + position);
            t.setString(QStringLiteral("BARCODE"), CommonRoutines::EanCheckDigit(code));
            t.setString(QStringLiteral("DESCRIZION"), a.description);
            t.setString(QStringLiteral("MARCHIO"), a.brand);
            t.setString(QStringLiteral("COLORE"), colour);
            t.setInteger(QStringLiteral("TAGLIA"), position);
            t.setString(QStringLiteral("CTAGLIA"), s.labels[position - 1]);
            t.setInteger(QStringLiteral("TIPOTAGLIA"), a.sizeType);
            t.setFloat(QStringLiteral("QUANTITA"), quantity);
            t.setFloat(QStringLiteral("PREZZO"), price);
            t.setFloat(QStringLiteral("IMPORTO"), quantity * price);
            t.setFloat(QStringLiteral("IVA"), 22);
            t.setDate(QStringLiteral("DATAREG"), date);
            if (table == QLatin1String("ARCART_V"))
                t.setBool(QStringLiteral("TIPO"), true);
        });
        auto &cells = stock[{a.number, colour}];
        cells[size_t(position - 1)] += table == QLatin1String("ARCART_V") ? -quantity : quantity;
    };

    // One receipt per supplier, a month ago.
    const QDate received = today.addDays(-30);
    int numreg = 0;
    for (int supplier = 1; supplier <= suppliers.size(); ++supplier) {
        const int document = ++numreg;
        double total = 0;
        int pieces = 0;
        for (const Article &a : articles) {
            if (a.supplier != supplier)
                continue;
            const Size &s = sizes[a.sizeType - 1];
            for (const QString &colour : {colours[0], colours[a.number % 3 + 1]}) {
                for (int p = 1; p <= s.labels.size(); ++p) {
                    const int quantity = 1 + (a.number + p) % 3;
                    line(QStringLiteral("ARCART_A"), QStringLiteral("NUMCAR"), document, a, colour,
                         p, quantity, a.purchase, received);
                    total += quantity * a.purchase;
                    pieces += quantity;
                }
            }
        }
        append(database, QStringLiteral("CARICHI"), [&](db::Table &t) {
            t.setDate(QStringLiteral("DATADOC"), received);
            t.setInteger(QStringLiteral("NUMDOC"), supplier);
            t.setFloat(QStringLiteral("IMPONIBILE"), total);
            t.setFloat(QStringLiteral("IMPOSTA"), total * 0.22);
            t.setFloat(QStringLiteral("TOTALE"), total * 1.22);
            t.setInteger(QStringLiteral("NUMREG"), document);
            t.setString(QStringLiteral("MYDATA"), dateKey(received));
            t.setInteger(QStringLiteral("NUMCAR"), 1000 + supplier);
            t.setInteger(QStringLiteral("NUMPEZZI"), pieces);
            t.setString(QStringLiteral("RAGSOC"), suppliers[supplier - 1]);
            t.setInteger(QStringLiteral("NUMRAG"), supplier);
            t.setFloat(QStringLiteral("SCONTO"), 0);
        });
    }

    // A few counter sales over the last days.
    int sale = 0;
    for (int day = 6; day >= 1; --day) {
        const QDate date = today.addDays(-day);
        const int document = ++sale;
        const Article &a = articles[size_t(day % articles.size())];
        const Article &b = articles[size_t((day * 3) % articles.size())];
        line(QStringLiteral("ARCART_V"), QStringLiteral("NUMVEN"), document, a, colours[0], 1, 1,
             a.sale, date);
        line(QStringLiteral("ARCART_V"), QStringLiteral("NUMVEN"), document, b, colours[0], 1, 1,
             b.sale, date);
        append(database, QStringLiteral("VENDITE"), [&](db::Table &t) {
            t.setInteger(QStringLiteral("NUMREG"), document);
            t.setInteger(QStringLiteral("NUMDOC"), document);
            t.setDate(QStringLiteral("DATADOC"), date);
            t.setString(QStringLiteral("MYDATA"), dateKey(date));
            if (day % 2 == 0) {
                t.setString(QStringLiteral("CLIENTE"), customers[day % customers.size()]);
                t.setInteger(QStringLiteral("NUMCLI"), 4 + day % customers.size());
            }
            t.setFloat(QStringLiteral("TOTALE"), a.sale + b.sale);
            t.setFloat(QStringLiteral("SCONTO"), 0);
            t.setBool(QStringLiteral("TIPO"), true);
            t.setBool(QStringLiteral("ISBANCA"), false);
        });
    }

    for (auto it = stock.begin(); it != stock.end(); ++it) {
        append(database, QStringLiteral("ARCARTTG"), [&](db::Table &t) {
            t.setInteger(QStringLiteral("ARTCODE"), it.key().first);
            t.setString(QStringLiteral("COLORE"), it.key().second);
            for (int p = 0; p < 20; ++p) {
                if (it.value()[size_t(p)] != 0)
                    t.setInteger(QStringLiteral("TG%1").arg(p + 1), it.value()[size_t(p)]);
            }
        });
    }

    append(database, QStringLiteral("COUNTERS"), [&](db::Table &t) {
        t.setInteger(QStringLiteral("ARTICOLI"), articles.size());
        t.setInteger(QStringLiteral("VENDITE"), sale);
        t.setInteger(QStringLiteral("ACQUISTI"), numreg);
        t.setInteger(QStringLiteral("CLIENTI"), suppliers.size() + customers.size());
        t.setInteger(QStringLiteral("CATEGORIE"), categories.size());
        t.setInteger(QStringLiteral("COLORI"), colours.size());
        t.setInteger(QStringLiteral("TAGLIE"), sizes.size());
        t.setInteger(QStringLiteral("COUNTER"), shared);
        t.setInteger(QStringLiteral("ACCONTI"), 0);
        t.setInteger(QStringLiteral("TAG"), 1);
    });
}

} // namespace corvale

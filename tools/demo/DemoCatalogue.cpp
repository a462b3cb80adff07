#include "DemoCatalogue.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/ContactColumns.h"
#include "db/Table.h"
#include "platform/Jpeg.h"
#include "sales/einvoice/FiscalIdentity.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"
#include "shell/ShopFiscalColumns.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <functional>

namespace corvale {

namespace {

namespace a = articleColumns;

using Fill = std::function<void(db::Table &)>;

void append(Shop &shop, const QString &table, const Fill &fill) {
    db::Table t(shop.database());
    t.setTableName(table);
    t.open();
    t.append();
    fill(t);
    t.post();
}

struct Piece {
    const char *description;
    const char *brand;
    const char *category;
    int sizeType;
    double purchase;
    double sale;
    int supplier;
    double discount;
};

// A plain picture of the piece: its colour band and outline, so that the
// article card, the archive's photo window and the photo catalogue show
// something that tells the articles apart.
QByteArray photoOf(int index, const QString &text) {
    QImage image(160, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const QColor colour = QColor::fromHsv((index * 47) % 360, 120, 200);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(20, 30, 120, 140, 16, 16);
    p.setBrush(colour.darker(140));
    p.drawRect(20, 150, 120, 20);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 172, 160, 28), Qt::AlignCenter, text);
    p.end();
    return Jpeg::encode(image);
}

} // namespace

DemoCatalogue DemoCatalogue::write(Shop &shop, QDate today) {
    DemoCatalogue out;
    CommonRoutines &routines = shop.routines();
    {
        // The new data folder has the shop's record already.
        db::Table t(shop.database());
        t.setTableName(shopFiscal::config);
        t.open();
        t.first();
        if (t.eof())
            t.append();
        else
            t.edit();
        t.setString(shopFiscal::name, QStringLiteral("BOUTIQUE ESEMPIO"));
        t.setString(shopFiscal::name2, QStringLiteral("Abbigliamento & Calzature"));
        t.setString(shopFiscal::address, QStringLiteral("Via Roma 12"));
        t.setString(shopFiscal::city, QStringLiteral("20121 MILANO"));
        t.setString(shopFiscal::vatNumber, QStringLiteral("01234567897"));
        t.setString(shopFiscal::province, QStringLiteral("MI"));
        t.setString(shopFiscal::phone, QStringLiteral("02 1234567"));
        t.setString(shopFiscal::fax, QStringLiteral("02 7654321"));
        t.setInteger(shopFiscal::vatRate, 22);
        t.setFloat(shopFiscal::pointsPerEuro, 1);
        t.setBool(shopFiscal::hasLogo, false);
        t.post();
    }

    struct Size {
        QStringList labels;
        QString name;
    };
    const QList<Size> sizes{
        {{"XS", "S", "M", "L", "XL", "XXL"}, QStringLiteral("ABBIGLIAMENTO")},
        {{"36", "37", "38", "39", "40", "41", "42", "43", "44", "45"}, QStringLiteral("CALZATURE")},
        {{"U"}, QStringLiteral("TAGLIA UNICA")}};
    for (const Size &s : sizes) {
        const int number = routines.NextCounter(QStringLiteral("TAGLIE"), true);
        append(shop, a::sizeTypes, [&](db::Table &t) {
            t.setInteger(a::key, number);
            t.setString(a::description, s.name);
            for (int i = 0; i < s.labels.size(); ++i)
                t.setString(a::sizeCell(i + 1), s.labels[i]);
        });
    }

    out.colours = QStringList{"NERO", "BIANCO", "BLU NOTTE", "ROSSO", "BEIGE", "MARRONE"};
    for (const QString &colour : out.colours) {
        const int number = routines.NextCounter(QStringLiteral("COLORI"), true);
        append(shop, a::colours, [&](db::Table &t) {
            t.setInteger(articleColumns::key, number);
            t.setString(a::colour, colour);
        });
    }
    // Brands, materials, soles and typologies share one counter.
    auto nameList = [&](const QString &table, const QString &counter, const QStringList &names) {
        QHash<QString, int> numbers;
        for (const QString &n : names) {
            const int number = routines.NextCounter(counter, true);
            numbers.insert(n, number);
            append(shop, table, [&](db::Table &t) {
                t.setInteger(articleColumns::key, number);
                t.setString(articleColumns::listName, n);
            });
        }
        return numbers;
    };
    const auto brands = nameList(QStringLiteral("MARCHI"), QStringLiteral("COUNTER"),
                                 {"LANIFICIO ALPINO", "PASSO LEGGERO", "ATELIER NOVE"});
    nameList(QStringLiteral("MATERIAL"), QStringLiteral("COUNTER"), {"COTONE", "LANA", "PELLE"});
    nameList(QStringLiteral("FONDI"), QStringLiteral("COUNTER"), {"GOMMA", "CUOIO"});
    nameList(QStringLiteral("TIPOLOGI"), QStringLiteral("COUNTER"), {"DONNA", "UOMO"});
    const auto categories =
        nameList(QStringLiteral("CATEGOR"), QStringLiteral("CATEGORIE"),
                 {"MAGLIERIA", "PANTALONI", "SCARPE", "ACCESSORI", "CAMICIE", "GIACCHE"});
    for (const char *m : {"3 CM", "5 CM", "8 CM"})
        append(shop, QStringLiteral("MISURE"), [&](db::Table &t) {
            t.setString(articleColumns::listName, QString::fromLatin1(m));
        });

    // Suppliers and customers share the CLIENTI counter.
    const QStringList suppliers{"LANIFICIO ALPINO SRL", "CALZATURIFICIO PASSO LEGGERO SPA",
                                "ATELIER NOVE SNC"};
    const QStringList supplierVatNumbers{"09876543209", "09876543217", "09876543225"};
    for (int i = 0; i < suppliers.size(); ++i) {
        const int code = routines.NextCounter(QStringLiteral("CLIENTI"), true);
        append(shop, QStringLiteral("FORNITOR"), [&](db::Table &t) {
            t.setInteger(contactColumns::code, code);
            t.setString(contactColumns::name, suppliers[i]);
            t.setString(contactColumns::address,
                        QStringLiteral("Via dell'Industria %1").arg(i + 3));
            t.setInteger(contactColumns::cap, 20100 + i);
            t.setString(contactColumns::city, QStringLiteral("MILANO"));
            t.setString(contactColumns::phone, QStringLiteral("02 55500%1").arg(i + 1));
            t.setString(contactColumns::vatOrFiscalCode, supplierVatNumbers[i]);
        });
        out.suppliers << Contact{code, suppliers[i], {}};
    }
    const QStringList customers{"ROSSI MARIA",   "BIANCHI GIULIA",  "VERDI LUCA",    "FERRARI ANNA",
                                "COLOMBO PAOLO", "RICCI FRANCESCA", "MARINO ANDREA", "GRECO SARA"};
    for (int i = 0; i < customers.size(); ++i) {
        const int code = routines.NextCounter(QStringLiteral("CLIENTI"), true);
        const QString card =
            CommonRoutines::EanCheckDigit(QStringLiteral("2000000000%1").arg(i + 10));
        append(shop, QStringLiteral("CLIENTI"), [&](db::Table &t) {
            t.setInteger(contactColumns::code, code);
            t.setString(contactColumns::name, customers[i]);
            t.setString(contactColumns::address, QStringLiteral("Via Garibaldi %1").arg(i + 1));
            t.setInteger(contactColumns::cap, 20121);
            t.setString(contactColumns::city, QStringLiteral("MILANO"));
            t.setString(contactColumns::mobile, QStringLiteral("333 12345%1").arg(i + 10));
            // Private customers by their codice fiscale in the old single field;
            // the last three are businesses with the electronic invoice's data.
            const QString first15 = QStringLiteral("RSSMRA80A%1F205").arg(41 + i);
            t.setString(contactColumns::vatOrFiscalCode,
                        first15 + FiscalIdentity::checkCharacter(first15));
            t.setString(contactColumns::province, QStringLiteral("MI"));
            if (i >= 5) {
                const QStringList vat{"01112223332", "04445556667", "07778889993"};
                t.setString(contactColumns::vatNumber, vat[i - 5]);
                if (i == 5)
                    t.setString(contactColumns::recipientCode, QStringLiteral("M5UXCR1"));
                else if (i == 6)
                    t.setString(contactColumns::pec, QStringLiteral("fatture@pec.esempio.it"));
            }
            t.setString(contactColumns::card, card);
            t.setInteger(contactColumns::usedPoints, 0);
        });
        out.customers << Contact{code, customers[i], card};
    }

    const QList<Piece> pieces{
        {"MAGLIONE GIROCOLLO", "LANIFICIO ALPINO", "MAGLIERIA", 1, 32.5, 79.9, 0, 0},
        {"CARDIGAN LUNGO", "LANIFICIO ALPINO", "MAGLIERIA", 1, 41, 99, 0, 0},
        {"DOLCEVITA CASHMERE", "LANIFICIO ALPINO", "MAGLIERIA", 1, 70, 169, 0, 10},
        {"PANTALONE CHINO", "ATELIER NOVE", "PANTALONI", 1, 24, 59.9, 2, 0},
        {"JEANS SLIM", "ATELIER NOVE", "PANTALONI", 1, 28, 69, 2, 0},
        {"CAMICIA OXFORD", "ATELIER NOVE", "CAMICIE", 1, 22, 55, 2, 0},
        {"GIACCA MONOPETTO", "ATELIER NOVE", "GIACCHE", 1, 95, 229, 2, 20},
        {"DECOLLETE PELLE", "PASSO LEGGERO", "SCARPE", 2, 45, 119, 1, 0},
        {"MOCASSINO UOMO", "PASSO LEGGERO", "SCARPE", 2, 52, 129, 1, 0},
        {"STIVALETTO", "PASSO LEGGERO", "SCARPE", 2, 60, 149, 1, 0},
        {"SNEAKER TELA", "PASSO LEGGERO", "SCARPE", 2, 25, 65, 1, 0},
        {"SCIARPA LANA", "LANIFICIO ALPINO", "ACCESSORI", 3, 9.5, 25, 0, 0},
        {"CINTURA CUOIO", "PASSO LEGGERO", "ACCESSORI", 3, 14, 39, 1, 0},
    };
    for (int i = 0; i < pieces.size(); ++i) {
        const Piece &piece = pieces[i];
        const int number = routines.NextCounter(QStringLiteral("ARTICOLI"), true);
        const QString code = QString::number(800000 + number);
        const QString description = QString::fromLatin1(piece.description);
        const QByteArray photo = photoOf(i, description);
        append(shop, a::articles, [&](db::Table &t) {
            t.setInteger(a::key, number);
            t.setString(a::code, code);
            t.setString(a::description, description);
            t.setString(a::brand, QString::fromLatin1(piece.brand));
            t.setInteger(a::brandKey, brands.value(QString::fromLatin1(piece.brand)));
            t.setString(a::category, QString::fromLatin1(piece.category));
            t.setInteger(a::categoryKey, categories.value(QString::fromLatin1(piece.category)));
            t.setString(a::supplier, suppliers[piece.supplier]);
            t.setInteger(a::supplierKey, out.suppliers[piece.supplier].code);
            t.setInteger(a::sizeType, piece.sizeType);
            t.setString(a::sizeTypeName, sizes[piece.sizeType - 1].name);
            t.setString(a::typology, piece.sizeType == 2 && i % 2 ? QStringLiteral("UOMO")
                                                                  : QStringLiteral("DONNA"));
            t.setFloat(a::purchasePrice, piece.purchase);
            t.setFloat(a::salePrice, piece.sale);
            t.setFloat(a::markup, (piece.sale / (piece.purchase * 1.22) - 1) * 100);
            t.setFloat(a::vat, 22);
            t.setFloat(a::discount, piece.discount);
            t.setString(a::unit, QStringLiteral("PZ"));
            t.setString(a::season, QStringLiteral("Quattro Stagioni"));
            t.setInteger(a::year, today.year());
            t.setBlob(a::photo, photo);
            t.setBool(a::inUse, true);
        });
        out.articles << Article{number, code, piece.supplier, piece.sizeType,
                                sizes[piece.sizeType - 1].labels};
    }
    return out;
}

} // namespace corvale

#include "LargeShop.h"

#include "cashbook/CashBookColumns.h"
#include "catalogue/ArticleColumns.h"
#include "catalogue/ContactColumns.h"
#include "db/Database.h"
#include "db/Table.h"
#include "documents/LineBarcode.h"
#include "documents/SheetColumns.h"
#include "platform/Money.h"
#include "purchasing/PaymentColumns.h"
#include "sales/CustomerColumns.h"
#include "sales/SaleColumns.h"
#include "shell/CommonRoutines.h"
#include "shell/ShopFiscalColumns.h"

#include <QHash>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace corvale {

namespace {

namespace a = articleColumns;

constexpr int coloursPerArticle = 3;
constexpr int receiptCount = 10000;
constexpr int linesPerInvoice = 4;

struct SizeType {
    QString name;
    QStringList labels;
};

const QList<SizeType> &sizeTypes() {
    static const QList<SizeType> types{
        {QStringLiteral("ABBIGLIAMENTO"), {"XS", "S", "M", "L", "XL", "XXL"}},
        {QStringLiteral("CALZATURE"),
         {"35", "36", "37", "38", "39", "40", "41", "42", "43", "44", "45", "46"}},
        {QStringLiteral("TAGLIA UNICA"), {"U"}},
        {QStringLiteral("TAGLIE ITALIANE"),
         {"38", "40", "42", "44", "46", "48", "50", "52", "54", "56", "58", "60"}},
        {QStringLiteral("BAMBINO"), {"2", "4", "6", "8", "10", "12", "14", "16"}},
        {QStringLiteral("MEZZE MISURE"),
         {"35", "35.5", "36", "36.5", "37", "37.5", "38", "38.5", "39", "39.5",
          "40", "40.5", "41", "41.5", "42", "42.5", "43", "43.5", "44", "44.5"}},
    };
    return types;
}

const QStringList colourNames{
    "NERO",      "BIANCO",  "BLU NOTTE", "ROSSO",    "BEIGE",   "MARRONE",  "GRIGIO",   "VERDE",
    "GIALLO",    "ROSA",    "AZZURRO",   "VIOLA",    "ARANCIO", "CAMMELLO", "BORDEAUX", "PANNA",
    "ANTRACITE", "SABBIA",  "CUOIO",     "TORTORA",  "BLU",     "SALVIA",   "CORALLO",  "OLIVA",
    "ORO",       "ARGENTO", "MELANZANA", "PETROLIO", "SENAPE",  "CIPRIA"};
const QStringList brandNames{
    "LANIFICIO ALPINO", "PASSO LEGGERO", "ATELIER NOVE",  "FILO DORATO",    "CORTE ANTICA",
    "VELA BLU",         "TERRA ROSSA",   "MONTE BIANCO",  "RIVA DEL LAGO",  "CAMPO FIORITO",
    "PORTA NUOVA",      "BORGO ALTO",    "STELLA MARINA", "VIA DEI SARTI",  "PONTE VECCHIO",
    "COLLE VERDE",      "ONDA LUNGA",    "FARO NORD",     "CASA DEL CUOIO", "PIUMA LEGGERA"};
const QStringList categoryNames{"MAGLIERIA", "PANTALONI", "SCARPE",   "ACCESSORI", "CAMICIE",
                                "GIACCHE",   "CAPPOTTI",  "GONNE",    "ABITI",     "BORSE",
                                "CINTURE",   "STIVALI",   "SANDALI",  "T-SHIRT",   "FELPE",
                                "INTIMO",    "CALZE",     "CAPPELLI", "SCIARPE",   "BAMBINO"};
const QStringList nouns{"MAGLIONE",   "CARDIGAN", "PANTALONE", "JEANS", "DECOLLETE", "MOCASSINO",
                        "STIVALETTO", "CAMICIA",  "GIACCA",    "GONNA", "ABITO",     "BORSA",
                        "CINTURA",    "SANDALO",  "T-SHIRT",   "FELPA", "POLO",      "GILET"};
const QStringList adjectives{"CLASSICO", "SLIM",  "COMFORT", "ELEGANTE", "SPORTIVO",
                             "VINTAGE",  "BASIC", "LUNGO",   "CORTO",    "MORBIDO"};
const QStringList firstNames{"MARIA",     "GIULIA", "LUCA",  "MARCO",   "ANNA",   "PAOLO",
                             "FRANCESCA", "ANDREA", "SARA",  "GIORGIO", "ELENA",  "STEFANO",
                             "CHIARA",    "DAVIDE", "LAURA", "MATTEO",  "SILVIA", "ROBERTO"};
const QStringList lastNames{"ROSSI",  "BIANCHI",  "VERDI",   "RUSSO",    "FERRARI",  "ESPOSITO",
                            "ROMANO", "COLOMBO",  "RICCI",   "MARINO",   "GRECO",    "BRUNO",
                            "GALLO",  "CONTI",    "DE LUCA", "COSTA",    "GIORDANO", "MANCINI",
                            "RIZZO",  "LOMBARDI", "MORETTI", "BARBIERI", "FONTANA",  "SANTORO"};
const QStringList cities{"MILANO", "MONZA", "SESTO SAN GIOVANNI", "RHO", "LEGNANO", "COMO"};

struct Article {
    QString code;
    QString description;
    int brand = 0;
    int category = 0;
    int sizeType = 0; // 1-based
    double purchase = 0;
    double sale = 0;
    int supplier = 0;
    std::array<int, coloursPerArticle> colours{}; // colour numbers
};

QString dateKey(QDate d) {
    return d.toString(QStringLiteral("yyyyMMdd"));
}

// NUMDOC restarts at 1 with each calendar year, per table.
class YearNumber {
public:
    int next(QDate d) {
        if (d.year() != m_year) {
            m_year = d.year();
            m_number = 0;
        }
        return ++m_number;
    }

private:
    int m_year = 0;
    int m_number = 0;
};

class Writer {
public:
    Writer(db::Database &database, const QByteArray &photo)
        : m_db(database)
        , m_photo(photo)
        , m_random(20260615)
        , m_stock(size_t(LargeShop::articleCount) * coloursPerArticle) {}

    void run() {
        config();
        lists();
        contacts();
        articles();
        receipts();
        sales();
        payments();
        books();
        stock();
        counters();
    }

private:
    int bounded(int low, int high) { return int(m_random.bounded(low, high)); }

    void config() {
        db::Table t(m_db);
        t.setTableName(QStringLiteral("CONFIG"));
        t.open();
        t.append();
        t.setString(shopFiscal::name, QStringLiteral("GRANDE MAGAZZINO ESEMPIO"));
        t.setString(shopFiscal::name2, QStringLiteral("Abbigliamento & Calzature"));
        t.setString(shopFiscal::address, QStringLiteral("Corso Italia 1"));
        t.setString(shopFiscal::city, QStringLiteral("20122 MILANO"));
        t.setString(shopFiscal::vatNumber, QStringLiteral("01234567890"));
        t.setInteger(shopFiscal::vatRate, 22);
        t.setFloat(shopFiscal::pointsPerEuro, 1);
        t.setBool(shopFiscal::hasLogo, false);
        t.post();
    }

    void nameList(const QString &table, const QStringList &names, bool shared) {
        db::Table t(m_db);
        t.setTableName(table);
        t.open();
        for (qsizetype i = 0; i < names.size(); ++i) {
            t.append();
            t.setInteger(a::key, shared ? ++m_shared : int(i) + 1);
            t.setString(a::listName, names[i]);
            t.post();
        }
    }

    void lists() {
        {
            db::Table t(m_db);
            t.setTableName(a::sizeTypes);
            t.open();
            for (qsizetype i = 0; i < sizeTypes().size(); ++i) {
                t.append();
                t.setInteger(a::key, i + 1);
                t.setString(a::description, sizeTypes()[i].name);
                for (qsizetype p = 0; p < sizeTypes()[i].labels.size(); ++p)
                    t.setString(a::sizeCell(int(p) + 1), sizeTypes()[i].labels[p]);
                t.post();
            }
        }
        {
            db::Table t(m_db);
            t.setTableName(a::colours);
            t.open();
            for (qsizetype i = 0; i < colourNames.size(); ++i) {
                t.append();
                t.setInteger(a::key, i + 1);
                t.setString(a::colour, colourNames[i]);
                t.post();
            }
        }
        // Brands, materials, soles and typologies share one numbering.
        m_brandBase = m_shared;
        nameList(QStringLiteral("MARCHI"), brandNames, true);
        nameList(QStringLiteral("MATERIAL"), {"COTONE", "LANA", "PELLE", "LINO", "SETA"}, true);
        nameList(QStringLiteral("FONDI"), {"GOMMA", "CUOIO"}, true);
        nameList(QStringLiteral("TIPOLOGI"), {"DONNA", "UOMO", "BAMBINO"}, true);
        nameList(QStringLiteral("CATEGOR"), categoryNames, false);
        db::Table t(m_db);
        t.setTableName(QStringLiteral("MISURE"));
        t.open();
        for (const char *m : {"3 CM", "5 CM", "8 CM"}) {
            t.append();
            t.setString(a::listName, QString::fromLatin1(m));
            t.post();
        }
    }

    QString personName(int i) {
        return lastNames[i % lastNames.size()] + QLatin1Char(' ') +
               firstNames[(i / lastNames.size()) % firstNames.size()];
    }

    void contacts() {
        {
            db::Table t(m_db);
            t.setTableName(QStringLiteral("FORNITOR"));
            t.open();
            for (int s = 1; s <= LargeShop::supplierCount; ++s) {
                t.append();
                t.setInteger(contactColumns::code, s);
                t.setString(contactColumns::name, supplierName(s));
                t.setString(contactColumns::address,
                            QStringLiteral("Via dell'Industria %1").arg(s));
                t.setInteger(contactColumns::cap, 20100 + s % 100);
                t.setString(contactColumns::city, cities[s % cities.size()]);
                t.setString(contactColumns::vatOrFiscalCode,
                            QStringLiteral("%1").arg(s, 11, 10, QLatin1Char('0')));
                t.post();
            }
        }
        // Suppliers and customers share the CLIENTI counter.
        db::Table t(m_db);
        t.setTableName(QStringLiteral("CLIENTI"));
        t.open();
        for (int c = 1; c <= LargeShop::customerCount; ++c) {
            t.append();
            t.setInteger(contactColumns::code, LargeShop::supplierCount + c);
            t.setString(contactColumns::name, personName(c));
            t.setString(contactColumns::address,
                        QStringLiteral("Via Garibaldi %1").arg(c % 300 + 1));
            t.setInteger(contactColumns::cap, 20100 + c % 100);
            t.setString(contactColumns::city, cities[c % cities.size()]);
            t.setString(contactColumns::phone, QStringLiteral("02 %1").arg(1000000 + c));
            t.setString(contactColumns::card, cardNumber(c));
            t.setInteger(contactColumns::usedPoints, (c % 7) * 10);
            t.post();
        }
    }

    static QString supplierName(int s) {
        return QStringLiteral("%1 SRL").arg(brandNames[(s - 1) % brandNames.size()]) +
               (s > brandNames.size() ? QStringLiteral(" %1").arg(s) : QString());
    }

    static QString cardNumber(int customer) {
        return CommonRoutines::EanCheckDigit(
            QStringLiteral("20%1").arg(customer, 10, 10, QLatin1Char('0')));
    }

    void articles() {
        db::Table t(m_db);
        t.setTableName(a::articles);
        t.open();
        m_articles.reserve(LargeShop::articleCount);
        for (int n = 1; n <= LargeShop::articleCount; ++n) {
            Article art;
            art.code = QString::number(800000 + n);
            art.category = bounded(0, int(categoryNames.size()));
            art.brand = bounded(0, int(brandNames.size()));
            // Mostly clothing and shoes; some one-size pieces and the odd wide grid.
            const int pick = bounded(0, 100);
            art.sizeType = pick < 35   ? 1
                           : pick < 60 ? 2
                           : pick < 70 ? 3
                           : pick < 85 ? 4
                           : pick < 95 ? 5
                                       : 6;
            art.description = nouns[bounded(0, int(nouns.size()))] + QLatin1Char(' ') +
                              adjectives[bounded(0, int(adjectives.size()))] +
                              QStringLiteral(" %1").arg(n);
            art.purchase = bounded(16, 240) / 2.0;
            art.sale = std::round(art.purchase * 2.4) - 0.1;
            art.supplier = (n - 1) % LargeShop::supplierCount + 1;
            const int first = bounded(0, int(colourNames.size()));
            for (int c = 0; c < coloursPerArticle; ++c)
                art.colours[size_t(c)] = (first + c * 7) % int(colourNames.size()) + 1;

            t.append();
            t.setInteger(a::key, n);
            t.setString(a::code, art.code);
            t.setString(a::description, art.description);
            t.setString(a::brand, brandNames[art.brand]);
            t.setInteger(a::brandKey, m_brandBase + art.brand + 1);
            t.setString(a::category, categoryNames[art.category]);
            t.setInteger(a::categoryKey, art.category + 1);
            t.setString(a::supplier, supplierName(art.supplier));
            t.setInteger(a::supplierKey, art.supplier);
            t.setInteger(a::sizeType, art.sizeType);
            t.setString(a::sizeTypeName, sizeTypes()[art.sizeType - 1].name);
            t.setFloat(a::purchasePrice, art.purchase);
            t.setFloat(a::salePrice, art.sale);
            t.setFloat(a::markup, (art.sale / (art.purchase * 1.22) - 1) * 100);
            t.setFloat(a::vat, 22);
            t.setFloat(a::discount, n % 10 == 0 ? 20 : 0);
            t.setString(a::unit, QStringLiteral("PZ"));
            t.setString(a::season, QStringLiteral("Quattro Stagioni"));
            t.setInteger(a::year,
                         LargeShop::firstDay().year() + (n - 1) * 10 / LargeShop::articleCount);
            if (!m_photo.isEmpty())
                t.setBlob(a::photo, m_photo);
            t.setBool(a::inUse, true);
            t.post();
            m_articles.push_back(std::move(art));
        }
    }

    QDate dateOf(qint64 i, qint64 count) const {
        const QDate first = LargeShop::firstDay();
        return first.addDays(i * first.daysTo(LargeShop::today()) / count);
    }

    // One line's article, colour and size position, and its stock cell.
    struct Pick {
        const Article *article;
        int colourSlot;
        int position;
    };

    Pick pick(int articleIndex) {
        const Article &art = m_articles[size_t(articleIndex)];
        const int positions = int(sizeTypes()[art.sizeType - 1].labels.size());
        return {&art, bounded(0, coloursPerArticle), bounded(1, positions + 1)};
    }

    int &cell(const Pick &p) {
        const size_t article = size_t(p.article->code.toInt() - 800001);
        return m_stock[article * coloursPerArticle + size_t(p.colourSlot)][size_t(p.position - 1)];
    }

    // A shop sells mostly what it has: a few tries at a size in stock.
    Pick pickInStock() {
        Pick p = pick(bounded(0, LargeShop::articleCount));
        for (int tries = 0; tries < 8 && cell(p) <= 0; ++tries)
            p = pick(bounded(0, LargeShop::articleCount));
        return p;
    }

    void writeLine(db::Table &t, const QString &keyField, int key, const Pick &p, double quantity,
                   double price, double discount, QDate date, bool sale) {
        const Article &art = *p.article;
        const int colour = art.colours[size_t(p.colourSlot)];
        t.append();
        t.setInteger(keyField, key);
        t.setInteger(doc::NUMART, art.code.toInt() - 800000);
        t.setString(sheet::BARCODE, *lineBarcode(art.code, colour, p.position));
        t.setString(sheet::DESCRIZION, art.description);
        t.setString(sheet::MARCHIO, brandNames[art.brand]);
        t.setString(sheet::COLORE, colourNames[colour - 1]);
        t.setInteger(sheet::TAGLIA, p.position);
        t.setString(sheet::CTAGLIA, sizeTypes()[art.sizeType - 1].labels[p.position - 1]);
        t.setInteger(sheet::TIPOTAGLIA, art.sizeType);
        t.setString(sheet::MISURA, sizeTypes()[art.sizeType - 1].name);
        t.setFloat(sheet::QUANTITA, quantity);
        t.setFloat(sheet::PREZZO, price);
        t.setFloat(doc::IMPORTO, roundToCents(quantity * price * (1 - discount / 100)));
        t.setFloat(sheet::IVA, 22);
        t.setFloat(sheet::PRZVND, art.sale);
        t.setDate(doc::DATAREG, date);
        if (sale) {
            t.setFloat(sheet::SCONTO, discount);
            t.setBool(doc::TIPO, true);
        }
        t.post();
        cell(p) += sale ? -int(quantity) : int(quantity);
    }

    void receipts() {
        db::Table header(m_db);
        header.setTableName(QStringLiteral("CARICHI"));
        header.open();
        db::Table lines(m_db);
        lines.setTableName(QStringLiteral("ARCART_A"));
        lines.open();
        const int perReceipt = LargeShop::receiptLineCount / receiptCount;
        const int perSupplier = LargeShop::articleCount / LargeShop::supplierCount;
        YearNumber numbers;
        for (int r = 1; r <= receiptCount; ++r) {
            const QDate date = dateOf(r - 1, receiptCount);
            const int supplier = (r * 37) % LargeShop::supplierCount + 1;
            double total = 0;
            int pieces = 0;
            for (int l = 0; l < perReceipt; ++l) {
                // Articles of the supplier: supplier, supplier + 200, ...
                const int index = supplier - 1 + bounded(0, perSupplier) * LargeShop::supplierCount;
                const Pick p = pick(index);
                const int quantity = bounded(3, 10);
                writeLine(lines, QStringLiteral("NUMCAR"), r, p, quantity, p.article->purchase, 0,
                          date, false);
                total += quantity * p.article->purchase;
                pieces += quantity;
            }
            header.append();
            header.setDate(doc::DATADOC, date);
            header.setInteger(doc::NUMDOC, numbers.next(date));
            header.setFloat(doc::IMPONIBILE, roundToCents(total));
            header.setFloat(doc::IMPOSTA, roundToCents(total * 0.22));
            header.setFloat(doc::TOTALE, (Money::of(total) + Money::of(total * 0.22)).toDouble());
            header.setInteger(doc::NUMREG, r);
            header.setString(doc::MYDATA, dateKey(date));
            header.setInteger(doc::NUMCAR, 1000 + r);
            header.setInteger(doc::NUMPEZZI, pieces);
            header.setString(doc::RAGSOC, supplierName(supplier));
            header.setInteger(doc::NUMRAG, supplier);
            header.setFloat(doc::SCONTO, 0);
            header.setBool(doc::ISBANCA, r % 3 == 0);
            header.post();
        }
    }

    void sales() {
        const int counterLines =
            LargeShop::saleLineCount - LargeShop::invoiceCount * linesPerInvoice;
        // Line counts of the counter sales (1 to 5) adding up exactly.
        std::vector<quint8> sizes;
        for (int left = counterLines; left > 0;) {
            const int n = std::min(left, bounded(1, 6));
            sizes.push_back(quint8(n));
            left -= n;
        }
        const qint64 documents = qint64(sizes.size()) + LargeShop::invoiceCount;

        db::Table sale(m_db);
        sale.setTableName(cashbook::counterSales);
        sale.open();
        db::Table invoice(m_db);
        invoice.setTableName(cashbook::invoices);
        invoice.open();
        db::Table lines(m_db);
        lines.setTableName(QStringLiteral("ARCART_V"));
        lines.open();
        YearNumber saleNumbers, invoiceNumbers;
        size_t nextSale = 0;
        for (qint64 j = 0; j < documents; ++j) {
            const int key = int(j) + 1; // VENDITE numbers sales and invoices alike
            const QDate date = dateOf(j, documents);
            const bool isInvoice = j * LargeShop::invoiceCount / documents !=
                                   (j + 1) * LargeShop::invoiceCount / documents;
            const int lineCount = isInvoice ? linesPerInvoice : sizes[nextSale++];
            const int customer =
                isInvoice || bounded(0, 3) == 0 ? bounded(1, LargeShop::customerCount + 1) : 0;
            double total = 0;
            int pieces = 0;
            for (int l = 0; l < lineCount; ++l) {
                const Pick p = pickInStock();
                const int quantity = bounded(0, 10) == 0 ? 2 : 1;
                const double discount = bounded(0, 8) == 0 ? 10 : 0;
                writeLine(lines, QStringLiteral("NUMVEN"), key, p, quantity, p.article->sale,
                          discount, date, true);
                total += roundToCents(quantity * p.article->sale * (1 - discount / 100));
                pieces += quantity;
            }
            const double saleDiscount = !isInvoice && bounded(0, 10) == 0 ? 5 : 0;
            total = roundToCents(total * (1 - saleDiscount / 100));
            const double taxable = roundToCents(total / 1.22);
            db::Table &h = isInvoice ? invoice : sale;
            h.append();
            h.setInteger(doc::NUMREG, key);
            h.setInteger(cashbook::NUMDOC,
                         isInvoice ? invoiceNumbers.next(date) : saleNumbers.next(date));
            h.setDate(cashbook::DATADOC, date);
            h.setString(cashbook::MYDATA, dateKey(date));
            h.setFloat(doc::IMPONIBILE, taxable);
            h.setFloat(doc::IMPOSTA, roundToCents(total - taxable));
            h.setFloat(cashbook::TOTALE, total);
            h.setBool(cashbook::ISBANCA, bounded(0, 4) == 0);
            if (isInvoice) {
                h.setString(cashbook::RAGSOC, personName(customer));
                h.setInteger(doc::NUMRAG, LargeShop::supplierCount + customer);
                h.setInteger(doc::NUMPEZZI, pieces);
            } else {
                if (customer != 0) {
                    h.setString(cashbook::CLIENTE, personName(customer));
                    h.setInteger(customerColumns::saleCustomer,
                                 LargeShop::supplierCount + customer);
                    h.setString(saleColumns::BARCODE, cardNumber(customer));
                }
                h.setFloat(doc::SCONTO, saleDiscount);
                h.setBool(saleColumns::TIPO, true);
            }
            h.post();
        }
        m_documents = int(documents);
    }

    void payments() {
        db::Table t(m_db);
        t.setTableName(cashbook::payments);
        t.open();
        for (int i = 1; i <= LargeShop::paymentCount; ++i) {
            const QDate d = dateOf(i - 1, LargeShop::paymentCount);
            const bool customer = i % 5 == 0;
            const int code =
                customer ? LargeShop::supplierCount + bounded(1, LargeShop::customerCount + 1)
                         : bounded(1, LargeShop::supplierCount + 1);
            t.append();
            t.setInteger(paymentColumns::key, i);
            t.setString(paymentColumns::partyKey, QString::number(code));
            t.setString(cashbook::CLIENTE, customer ? personName(code - LargeShop::supplierCount)
                                                    : supplierName(code));
            t.setBool(cashbook::ISCLIENTE, customer);
            t.setString(cashbook::COMMENTO, customer ? QStringLiteral("ACCONTO")
                                                     : QStringLiteral("PAGAMENTO FORNITURA"));
            t.setFloat(cashbook::ACCONTO, bounded(2000, 200000) / 100.0);
            t.setString(cashbook::DATA, d.toString(QStringLiteral("dd/MM/yyyy")));
            t.setString(cashbook::MYDATA, dateKey(d));
            t.setBool(cashbook::ISBANCA, i % 2 == 0);
            t.post();
        }
    }

    void books() {
        const QStringList reasons{"VERSAMENTO", "SPESE VARIE", "AFFITTO",
                                  "UTENZE",     "PRELIEVO",    "CANCELLERIA"};
        for (int book : {0, 1, 3}) {
            db::Table t(m_db);
            t.setTableName(cashbook::bookTable(book));
            t.open();
            const int count = LargeShop::bookMovementCount / 3 +
                              (book == 0 ? LargeShop::bookMovementCount % 3 : 0);
            for (int i = 0; i < count; ++i) {
                const QDate d = dateOf(i, count);
                t.append();
                t.setString(cashbook::DESCRIZION, reasons[bounded(0, int(reasons.size()))]);
                t.setString(cashbook::DATA, d.toString(QStringLiteral("dd/MM/yyyy")));
                t.setString(cashbook::MYDATA, dateKey(d));
                t.setFloat(bounded(0, 2) ? cashbook::IMPORTOI : cashbook::IMPORTOU,
                           bounded(100, 50000) / 100.0);
                t.post();
            }
        }
    }

    // As a rebuild from the lines leaves it: one record per article and colour
    // that holds stock, in article order.
    void stock() {
        db::Table t(m_db);
        t.setTableName(a::stock);
        t.open();
        for (int n = 0; n < LargeShop::articleCount; ++n) {
            const Article &art = m_articles[size_t(n)];
            for (int c = 0; c < coloursPerArticle; ++c) {
                const auto &cells = m_stock[size_t(n) * coloursPerArticle + size_t(c)];
                if (std::all_of(cells.begin(), cells.end(), [](int v) { return v == 0; }))
                    continue;
                t.append();
                t.setInteger(a::stockArticle, n + 1);
                t.setString(a::colour, colourNames[art.colours[size_t(c)] - 1]);
                for (int p = 0; p < a::sizeCount; ++p) {
                    if (cells[size_t(p)] != 0)
                        t.setInteger(a::sizeCell(p + 1), cells[size_t(p)]);
                }
                t.post();
            }
        }
    }

    void counters() {
        db::Table t(m_db);
        t.setTableName(QStringLiteral("COUNTERS"));
        t.open();
        t.append();
        t.setInteger(QStringLiteral("ARTICOLI"), LargeShop::articleCount);
        t.setInteger(QStringLiteral("VENDITE"), m_documents);
        t.setInteger(QStringLiteral("ACQUISTI"), receiptCount);
        t.setInteger(QStringLiteral("CLIENTI"),
                     LargeShop::supplierCount + LargeShop::customerCount);
        t.setInteger(QStringLiteral("CATEGORIE"), categoryNames.size());
        t.setInteger(QStringLiteral("COLORI"), colourNames.size());
        t.setInteger(QStringLiteral("TAGLIE"), sizeTypes().size());
        t.setInteger(QStringLiteral("COUNTER"), m_shared);
        t.setInteger(QStringLiteral("ACCONTI"), LargeShop::paymentCount);
        t.setInteger(QStringLiteral("TAG"), 1);
        t.post();
    }

    db::Database &m_db;
    QByteArray m_photo;
    QRandomGenerator m_random;
    std::vector<Article> m_articles;
    std::vector<std::array<int, a::sizeCount>> m_stock;
    int m_shared = 0;
    int m_brandBase = 0;
    int m_documents = 0;
};

} // namespace

void LargeShop::fill(db::Database &database, const QByteArray &photo) {
    Writer(database, photo).run();
}

} // namespace corvale

#include "DemoShop.h"

#include "DemoCatalogue.h"

#include "cashbook/BookMovements.h"
#include "catalogue/StockRoutines.h"
#include "db/Error.h"
#include "db/Table.h"
#include "documents/DocumentSaver.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"
#include "documents/SizeEntry.h"
#include "platform/Clock.h"
#include "platform/Formats.h"
#include "platform/Money.h"
#include "purchasing/OrderLoader.h"
#include "purchasing/TFAcconto.h"
#include "sales/CustomerCards.h"
#include "sales/CustomerColumns.h"
#include "sales/CustomerList.h"
#include "sales/PurchaseTotals.h"
#include "sales/SaleArithmetic.h"
#include "sales/SaleColumns.h"
#include "sales/einvoice/CreditNote.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMap>
#include <QRandomGenerator>

#include <cmath>
#include <functional>
#include <tuple>

namespace corvale {

namespace {

using Cell = std::tuple<qint64, QString, int>; // article, colour, size position

// One document of the shop's trade, built on the line sheet as its window
// builds it and stored by the window's saver.
class Trader {
public:
    Trader(Shop &shop, Clock &clock, const DemoCatalogue &catalogue)
        : m_shop(shop)
        , m_clock(clock)
        , m_catalogue(catalogue)
        , m_random(1965) {}

    void day(QDate d);
    // A customer cashes 100 points in for a reward, through the customer
    // archive's "Scala punti".
    void reward();

private:
    struct Line {
        const DemoCatalogue::Article *article;
        int colour;                               // COLORI number
        QList<std::pair<int, double>> quantities; // position, quantity
        double discount = -1;                     // -1: the article's own
    };

    int bounded(int low, int high) { return int(m_random.bounded(low, high)); }

    QDate today() const { return m_clock.today(); }

    // The header's own columns from the lines the save stores.
    using HeaderWriter = std::function<void(db::Table &, const QList<SheetRow> &)>;
    qint64 store(const DocumentKind &kind, const QList<Line> &lines,
                 const HeaderWriter &writeHeader);
    static void purchaseTotals(db::Table &h, const QList<SheetRow> &rows);
    void receipt(int supplier);
    void supplierDocument(const DocumentKind &kind, int supplier, int pieces);
    void counterSale();
    void invoice();
    // Goods of the last invoice brought back: a credit note.
    void creditNote();
    void payment(const DemoCatalogue::Contact &partner, bool customer, double amount);
    void bookMovements();
    QList<Line> pickFromStock(int count);

    Shop &m_shop;
    Clock &m_clock;
    const DemoCatalogue &m_catalogue;
    QRandomGenerator m_random;
    QMap<Cell, double> m_stock;
    QList<qint64> m_orders;
    QMap<qint64, QList<Line>> m_orderLines;
    bool m_orderLoaded = false;
    qint64 m_lastInvoice = 0;
};

void Trader::purchaseTotals(db::Table &h, const QList<SheetRow> &rows) {
    const SheetTotals totals = LineSheet::totalsOf(rows, 0);
    h.setFloat(doc::NUMPEZZI, double(totals.pieces));
    h.setFloat(doc::IMPONIBILE, totals.taxable);
    h.setFloat(doc::IMPOSTA, totals.tax);
    h.setFloat(doc::TOTALE, totals.total);
}

qint64 Trader::store(const DocumentKind &kind, const QList<Line> &lines,
                     const HeaderWriter &writeHeader) {
    db::Database &database = m_shop.database();
    LineSheet sheet(database, kind);
    sheet.open();
    db::Table articles(database);
    articles.setTableName(QStringLiteral("ARTICOLI"));
    articles.setIndexName(QStringLiteral("NUMREG"));
    articles.open();
    for (const Line &line : lines) {
        if (!articles.findKey(line.article->number))
            throw db::Error(QStringLiteral("Articolo %1 non trovato").arg(line.article->number));
        // The size panel: the article on a new row, a colour, one quantity per size.
        db::Table &row = sheet.table();
        row.append();
        sheet.takeArticle(articles);
        if (line.discount >= 0)
            row.setFloat(sheet::SCONTO, line.discount);
        SizeEntry entry;
        entry.setLabels(line.article->labels);
        entry.setColour(line.colour, m_catalogue.colours[line.colour - 1]);
        for (const auto &[position, quantity] : line.quantities)
            entry.setQuantity(position, quantity);
        sheet.writeSizeLines(entry.lines(line.article->code), entry.colourName());
        const int sign = kind.stock == DocumentKind::Stock::Add        ? 1
                         : kind.stock == DocumentKind::Stock::Subtract ? -1
                                                                       : 0;
        for (const auto &[position, quantity] : line.quantities)
            m_stock[{line.article->number, entry.colourName(), position}] += sign * quantity;
    }
    articles.close();
    const QList<SheetRow> rows = sheet.allLines();

    db::Table header(database);
    header.setTableName(kind.headerTable);
    header.setIndexName(QStringLiteral("NUMREG"));
    header.open();
    const int number = m_shop.routines().NextYearNumber(kind.headerTable);
    header.append();
    header.setDate(doc::DATADOC, today());
    header.setInteger(doc::NUMDOC, number);
    StockRoutines stock(database);
    DocumentSaver saver(database, stock, m_shop.routines(), kind);
    const qint64 key = saver.save(header, 0, rows, today(), [&](db::Table &h) {
        h.setDate(doc::DATADOC, today());
        h.setString(doc::MYDATA, CommonRoutines::DateKey(Formats::formatDate(today())));
        writeHeader(h, rows);
    });
    header.close();
    sheet.close();
    return key;
}

void Trader::receipt(int supplier) {
    QList<Line> lines;
    for (const DemoCatalogue::Article &article : m_catalogue.articles) {
        if (article.supplier != supplier || bounded(0, 3) == 0)
            continue;
        // Two colours of each piece, a run of sizes heavier in the middle.
        for (int c = 0; c < 2; ++c) {
            Line line{&article, c == 0 ? 1 : bounded(2, int(m_catalogue.colours.size()) + 1), {}};
            const int count = int(article.labels.size());
            for (int p = 1; p <= count; ++p) {
                const bool middle = count > 2 && p > count / 4 && p <= count - count / 4;
                line.quantities << std::pair{p, double(bounded(1, 3) + (middle ? 2 : 0))};
            }
            lines << line;
        }
    }
    if (lines.isEmpty())
        return;
    const DemoCatalogue::Contact &partner = m_catalogue.suppliers[supplier];
    store(DocumentKind::receipt(), lines, [&](db::Table &h, const QList<SheetRow> &rows) {
        h.setInteger(doc::NUMRAG, partner.code);
        h.setString(doc::RAGSOC, partner.name);
        purchaseTotals(h, rows);
        h.setFloat(doc::SCONTO, 0);
    });
}

void Trader::supplierDocument(const DocumentKind &kind, int supplier, int pieces) {
    QList<Line> lines;
    for (const DemoCatalogue::Article &article : m_catalogue.articles) {
        if (article.supplier != supplier || lines.size() >= pieces)
            continue;
        const int position = int(article.labels.size() + 1) / 2;
        const Cell cell{article.number, m_catalogue.colours[0], position};
        // A return sends back goods the shop has.
        if (kind.stock == DocumentKind::Stock::Subtract && m_stock.value(cell) < 1)
            continue;
        lines << Line{&article, 1, {{position, 1}}};
    }
    if (lines.isEmpty())
        return;
    const DemoCatalogue::Contact &partner = m_catalogue.suppliers[supplier];
    const qint64 key = store(kind, lines, [&](db::Table &h, const QList<SheetRow> &rows) {
        h.setInteger(doc::NUMRAG, partner.code);
        h.setString(doc::RAGSOC, partner.name);
        purchaseTotals(h, rows);
    });
    if (kind.headerTable == DocumentKind::supplierOrder().headerTable) {
        m_orders << key;
        m_orderLines.insert(key, lines);
    }
}

QList<Trader::Line> Trader::pickFromStock(int count) {
    QList<Cell> cells;
    for (auto it = m_stock.cbegin(); it != m_stock.cend(); ++it) {
        if (it.value() >= 1)
            cells << it.key();
    }
    QList<Line> lines;
    for (int i = 0; i < count && !cells.isEmpty(); ++i) {
        const Cell cell = cells.takeAt(bounded(0, int(cells.size())));
        const auto &[number, colour, position] = cell;
        for (const DemoCatalogue::Article &article : m_catalogue.articles) {
            if (article.number == number) {
                Line line{&article, int(m_catalogue.colours.indexOf(colour)) + 1, {{position, 1}}};
                // Now and then a line discount at the counter.
                if (bounded(0, 6) == 0)
                    line.discount = 10;
                lines << line;
            }
        }
    }
    return lines;
}

void Trader::counterSale() {
    const QList<Line> lines = pickFromStock(bounded(1, 4));
    if (lines.isEmpty())
        return;
    const double discount = bounded(0, 8) == 0 ? 5 : 0;
    const bool withCard = bounded(0, 3) == 0;
    const DemoCatalogue::Contact &customer =
        m_catalogue.customers[bounded(0, int(m_catalogue.customers.size()))];
    const bool byCard = bounded(0, 4) == 0;
    store(DocumentKind::counterSale(), lines, [&](db::Table &h, const QList<SheetRow> &rows) {
        h.setFloat(doc::SCONTO, discount);
        h.setFloat(doc::TOTALE, SaleArithmetic::totals(rows, discount).net);
        h.setBool(doc::TIPO, true);
        h.setBool(doc::ISBANCA, byCard);
        if (withCard) {
            h.setString(saleColumns::CLIENTE, customer.name);
            h.setInteger(customerColumns::saleCustomer, customer.code);
            h.setString(saleColumns::BARCODE, customer.card);
        }
    });
}

void Trader::invoice() {
    const QList<Line> lines = pickFromStock(2);
    if (lines.isEmpty())
        return;
    const DemoCatalogue::Contact &customer =
        m_catalogue.customers[bounded(0, int(m_catalogue.customers.size()))];
    m_lastInvoice =
        store(DocumentKind::invoice(), lines, [&](db::Table &h, const QList<SheetRow> &rows) {
            // Prices include VAT: the total is the sum of the lines, split at 22%.
            const SaleTotals amounts = SaleArithmetic::totals(rows, 0);
            const double taxable = roundToCents(amounts.net / 1.22);
            h.setString(doc::RAGSOC, customer.name);
            h.setInteger(doc::NUMRAG, customer.code);
            h.setFloat(doc::NUMPEZZI, double(amounts.pieces));
            h.setFloat(doc::IMPONIBILE, taxable);
            h.setFloat(doc::IMPOSTA, roundToCents(amounts.net - taxable));
            h.setFloat(doc::TOTALE, amounts.net);
            h.setBool(doc::ISBANCA, true);
        });
}

void Trader::creditNote() {
    if (m_lastInvoice == 0)
        return;
    const QList<CreditNote::InvoiceLine> lines = CreditNote::linesOf(m_shop, m_lastInvoice);
    if (lines.isEmpty())
        return;
    // The first line comes back whole.
    QList<double> quantities(lines.size(), 0);
    quantities[0] = lines[0].returnable();
    if (quantities[0] <= 0)
        return;
    QString error;
    if (CreditNote::create(m_shop, m_lastInvoice, quantities, &error) == 0)
        throw db::Error(error);
    const SheetRow &row = lines[0].row;
    m_stock[{qint64(row.number(sheet::CODICE)), row.text(sheet::COLORE),
             int(row.number(sheet::TAGLIA))}] += quantities[0];
    m_lastInvoice = 0;
}

// Through the payment window, as the supplier payments and the customer
// archive open it.
void Trader::payment(const DemoCatalogue::Contact &partner, bool customer, double amount) {
    TFAcconto window(m_shop);
    window.PaymentKey = 0;
    window.PartnerName = partner.name;
    window.PartnerCode = QString::number(partner.code);
    window.IsCustomer = customer;
    window.show();
    window.findChild<QLineEdit *>(QStringLiteral("Descrizione"))
        ->setText(customer ? QStringLiteral("Acconto su ordine")
                           : QStringLiteral("Bonifico fattura"));
    window.findChild<QLineEdit *>(QStringLiteral("Data"))->setText(Formats::formatDate(today()));
    window.findChild<QLineEdit *>(QStringLiteral("Acconto"))
        ->setText(QString::number(amount, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')));
    window.findChild<QCheckBox *>(QStringLiteral("Banca"))->setChecked(!customer);
    window.BSalvaClick();
    if (!window.Saved)
        throw db::Error(QStringLiteral("Pagamento non salvato: %1").arg(partner.name));
    window.hide();
}

void Trader::bookMovements() {
    const QString date = Formats::formatDate(today());
    BookMovements cash(m_shop.database(), cashbook::Book::Cash);
    cash.open();
    cash.add(BookMovements::Direction::Out, {date, QStringLiteral("VERSAMENTO IN BANCA"), 800});
    cash.add(BookMovements::Direction::Out, {date, QStringLiteral("CANCELLERIA"), 35.5});
    cash.close();
    BookMovements bank(m_shop.database(), cashbook::Book::Bank);
    bank.open();
    bank.add(BookMovements::Direction::In, {date, QStringLiteral("VERSAMENTO CONTANTI"), 800});
    bank.add(BookMovements::Direction::Out, {date, QStringLiteral("AFFITTO NEGOZIO"), 1200});
    bank.add(BookMovements::Direction::Out, {date, QStringLiteral("UTENZE"), 180});
    bank.close();
    BookMovements other(m_shop.database(), cashbook::Book::Other);
    other.open();
    other.add(BookMovements::Direction::In, {date, QStringLiteral("BUONI REGALO"), 150});
    other.close();
}

void Trader::reward() {
    db::Database &db = m_shop.database();
    CustomerList list(db);
    m_shop.routines().LoadShopTexts();
    list.activate(m_shop.texts().pointsPerEuro);
    for (const DemoCatalogue::Contact &c : m_catalogue.customers) {
        const auto stored = findCustomerByCode(db, c.code);
        if (c.card.isEmpty() || !stored)
            continue;
        const qint64 balance = PurchaseTotals::pointsBalance(
            list.totals().total(c.code), list.pointsPerEuro(), stored->usedPoints);
        if (balance < 100)
            continue;
        list.search(QString(), c.card);
        if (list.hasCurrent() && list.spendPoints(QStringLiteral("100")))
            break;
    }
    list.close();
}

void Trader::day(QDate d) {
    m_clock.setFixedDate(d);
    const int suppliers = int(m_catalogue.suppliers.size());
    // Deliveries at the start of each season's month, then a restock mid-month.
    if (d.day() == 2 || (d.day() == 16 && d.month() % 3 == 0)) {
        for (int s = 0; s < suppliers; ++s)
            receipt(s);
    }
    if (d.day() == 10 && d.month() % 4 == 0)
        supplierDocument(DocumentKind::supplierReturn(), d.month() % suppliers, 2);
    if (d.day() == 20 && d.month() % 6 == 0)
        supplierDocument(DocumentKind::supplierOrder(), d.month() % suppliers, 3);
    // The first order arrives: loaded into stock as a receipt; the others stay open.
    if (d.day() == 5 && !m_orderLoaded && !m_orders.isEmpty()) {
        const qint64 order = m_orders.first();
        OrderLoader loader(m_shop.database(), m_shop.routines(), d);
        if (loader.load(order).outcome != OrderLoader::Outcome::Loaded)
            throw db::Error(QStringLiteral("Ordine %1 non caricato").arg(order));
        m_orderLoaded = true;
        // What the receipt brought in is now stock to sell.
        for (const Line &line : m_orderLines.take(order)) {
            for (const auto &[position, quantity] : line.quantities)
                m_stock[{line.article->number, m_catalogue.colours[line.colour - 1], position}] +=
                    quantity;
        }
    }
    if (d.dayOfWeek() != Qt::Sunday) {
        const int sales = bounded(1, d.dayOfWeek() == Qt::Saturday ? 5 : 3);
        for (int i = 0; i < sales; ++i)
            counterSale();
    }
    if (d.day() == 20)
        invoice();
    if (d.day() == 22 && d.month() % 3 == 0)
        creditNote();
    if (d.day() == 28)
        payment(m_catalogue.suppliers[d.month() % suppliers], false, 500 + 50 * d.month());
    if (d.day() == 12 && d.month() % 3 == 0)
        payment(m_catalogue.customers[d.month() % m_catalogue.customers.size()], true, 100);
    if (d.day() == 1)
        bookMovements();
    if (d.day() == 25 && d.month() % 4 == 0)
        reward();
}

} // namespace

void DemoShop::fill(Shop &shop, Clock &clock, QDate today) {
    const QDate first(today.year() - 1, 1, 1);
    clock.setFixedDate(first);
    const DemoCatalogue catalogue = DemoCatalogue::write(shop, first);
    Trader trader(shop, clock, catalogue);
    for (QDate d = first; d <= today; d = d.addDays(1))
        trader.day(d);
    clock.setFixedDate(today);
}

} // namespace corvale

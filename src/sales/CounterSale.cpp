#include "sales/CounterSale.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/StockRoutines.h"
#include "db/Table.h"
#include "documents/ArticleList.h"
#include "documents/DocumentSaver.h"
#include "documents/SheetColumns.h"
#include "register/FiscalDevice.h"
#include "sales/CustomerColumns.h"
#include "sales/ReceiptLines.h"
#include "sales/SaleColumns.h"
#include "sales/SaleLine.h"
#include "sales/SaleReductions.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

namespace corvale {

namespace a = articleColumns;
namespace s = saleColumns;

CounterSale::CounterSale(Shop &shop)
    : m_shop(shop)
    , m_sheet(std::make_unique<LineSheet>(shop.database(), DocumentKind::counterSale()))
    , m_header(std::make_unique<db::Table>(shop.database()))
    , m_articles(std::make_unique<ArticleList>(shop.database(), true))
    , m_articlesByKey(std::make_unique<db::Table>(shop.database()))
    , m_lookup(shop.database()) {
    m_header->setTableName(s::headerTable);
    m_header->setIndexName(doc::NUMREG);
    m_articlesByKey->setTableName(a::articles);
    m_articlesByKey->setIndexName(a::key);
    // Lines take the price of the sale's day: a campaign's, while one runs.
    m_sheet->setPriceDay([this] { return priceDay(); });
}

QDate CounterSale::priceDay() const {
    const QDate day = m_header->isOpen() ? m_header->asDate(doc::DATADOC) : QDate();
    return day.isValid() ? day : m_shop.clock().today();
}

CounterSale::~CounterSale() = default;

bool CounterSale::begin(qint64 key) {
    m_key = key;
    m_new = key == 0;
    m_stock.clear();
    m_settings = SaleSettings::read(m_shop.ini());
    m_sheet->TotalsSuspended = true;
    m_sheet->open();
    m_header->close();
    m_header->open();
    bool found = true;
    if (m_new) {
        const int number = m_shop.routines().NextYearNumber(s::headerTable);
        m_header->append();
        m_header->setDate(doc::DATADOC, m_shop.clock().today());
        m_header->setInteger(doc::NUMDOC, number);
        m_header->setBool(s::TIPO, true);
        m_header->setBool(s::ISBANCA, false);
    } else {
        m_sheet->loadLines(key);
        found = m_header->findKey(key);
        if (found)
            m_header->edit();
    }
    m_sheet->appendBlankRows();
    m_sheet->table().first();
    m_articles->open();
    m_articlesByKey->close();
    m_articlesByKey->open();
    m_lookup.open();
    m_agreed = found && !m_new ? storedAgreement() : std::nullopt;
    m_sheet->TotalsSuspended = false;
    return found;
}

void CounterSale::close() {
    m_lookup.close();
    m_articlesByKey->close();
    m_articles->close();
    m_sheet->close();
    m_header->close();
    m_stock.clear();
}

void CounterSale::cancel() {
    m_sheet->TotalsSuspended = true;
    if (m_header->isOpen() && m_header->state() != db::Table::State::Browse)
        m_header->cancel();
    close();
}

void CounterSale::toNextRow() {
    db::Table &t = m_sheet->table();
    t.next();
    if (t.eof()) {
        t.append();
        t.setNull(sheet::QUANTITA);
        t.post();
    }
}

SaleCodeLookup::Result CounterSale::enterCode(const QString &code) {
    SaleCodeLookup::Result found = m_lookup.find(code);
    switch (found.kind) {
    case SaleCodeLookup::Result::Kind::Line: {
        db::Table &t = m_sheet->table();
        const bool suspended = m_sheet->TotalsSuspended;
        m_sheet->TotalsSuspended = true;
        if (t.state() == db::Table::State::Browse)
            t.edit();
        found.line.writeTo(t);
        m_lastArticle = found.line.article;
        if (m_articlesByKey->findKey(m_lastArticle))
            m_sheet->priceFromArticle(*m_articlesByKey);
        t.post();
        toNextRow();
        m_sheet->TotalsSuspended = suspended;
        break;
    }
    case SaleCodeLookup::Result::Kind::ChooseSize:
        if (!chooseByKey(found.article))
            found.kind = SaleCodeLookup::Result::Kind::NotFound;
        break;
    case SaleCodeLookup::Result::Kind::NotFound:
        break;
    }
    return found;
}

bool CounterSale::chooseByDescription(const QString &description) {
    if (!m_articles->findByDescription(description))
        return false;
    takeArticle(m_articles->table());
    return true;
}

bool CounterSale::chooseByKey(qint64 article) {
    if (!m_articlesByKey->findKey(article))
        return false;
    takeArticle(*m_articlesByKey);
    return true;
}

void CounterSale::takeArticle(const db::Table &article) {
    m_sheet->TotalsSuspended = true;
    db::Table &t = m_sheet->table();
    if (t.state() == db::Table::State::Browse)
        t.edit();
    SaleLine::ofArticle(article).writeTo(t);
    m_sheet->priceFromArticle(article);
    m_chosenDescription = article.asString(a::description).trimmed();
    m_chosenSizeType = article.asString(a::sizeTypeName).trimmed();
    m_lastArticle = article.asInteger(a::key);
    m_stock.load(m_shop.database(), article.asInteger(a::key), article.asString(a::code),
                 article.asInteger(a::sizeType));
}

bool CounterSale::chooseSize(int stockRow, int position) {
    const auto choice = m_stock.choose(m_shop.database(), stockRow, position);
    if (!choice)
        return false;
    db::Table &t = m_sheet->table();
    if (t.state() == db::Table::State::Browse)
        t.edit();
    t.setInteger(sheet::TAGLIA, choice->position);
    t.setString(sheet::CTAGLIA, choice->label);
    t.setString(sheet::COLORE, choice->colour);
    t.setString(sheet::BARCODE, choice->barcode);
    t.post();
    toNextRow();
    m_stock.clear();
    m_sheet->TotalsSuspended = false;
    return true;
}

void CounterSale::cancelSize() {
    db::Table &t = m_sheet->table();
    if (t.isOpen() && t.state() != db::Table::State::Browse)
        t.cancel();
    m_stock.clear();
    m_sheet->TotalsSuspended = false;
}

bool CounterSale::deleteLine() {
    return m_sheet->deleteCurrentRow();
}

void CounterSale::setCustomer(qint64 code, const QString &name, const QString &card) {
    if (m_header->state() == db::Table::State::Browse)
        m_header->edit();
    if (code > 0)
        m_header->setInteger(customerColumns::saleCustomer, code);
    else
        m_header->setNull(customerColumns::saleCustomer);
    m_header->setString(s::CLIENTE, name);
    m_header->setString(s::BARCODE, card);
}

QList<SheetRow> CounterSale::lines() {
    return m_sheet->allLines();
}

std::optional<AgreedPrice> CounterSale::storedAgreement() {
    const double percent = m_header->asFloat(doc::SCONTO);
    if (percent == 0)
        return std::nullopt;
    const double gross = SaleArithmetic::totals(lines(), percent).gross;
    const auto agreed = SaleArithmetic::agreePrice(gross, m_header->asFloat(doc::TOTALE));
    // A total that the shown percent does not account for was not agreed here.
    if (!agreed || !agreed->holdsFor(gross, percent))
        return std::nullopt;
    return agreed;
}

std::optional<double> CounterSale::agreePrice(double price) {
    m_agreed = SaleArithmetic::agreePrice(SaleArithmetic::totals(lines(), 0).gross, price);
    if (!m_agreed)
        return std::nullopt;
    return m_agreed->percent;
}

SaleTotals CounterSale::totals(double discountPercent) {
    return SaleArithmetic::totals(lines(), discountPercent, m_agreed);
}

Receipt CounterSale::receipt(double discountPercent, double payment) {
    const QList<SheetRow> rows = lines();
    const SaleTotals t = SaleArithmetic::totals(rows, discountPercent, m_agreed);
    Receipt r;
    for (const SheetRow &row : rows)
        r.lines << ReceiptLine{row.text(sheet::DESCRIZION), row.number(sheet::QUANTITA),
                               row.number(sheet::PREZZO),   row.number(sheet::SCONTO),
                               row.number(sheet::IVA),      row.amount.toDouble()};
    r.saleDiscount = discountPercent;
    r.discountAmount = t.discountAmount;
    r.payment = payment;
    r.calcResto = m_settings.calcResto;
    return r;
}

void CounterSale::describe(FiscalDevice &device, double discountPercent,
                           const SalePayment &payment) {
    const QList<SheetRow> rows = lines();
    const SaleTotals t = SaleArithmetic::totals(rows, discountPercent, m_agreed);
    const auto reductions = SaleReductions::of(m_shop.database(), rows, priceDay());
    putReceiptLines(device, rows, reductions);
    device.subtotalDiscount(discountPercent, t.discountAmount, t.net);
    for (const Tender &tender : payment.tenders)
        device.payment(tender.type, tender.amount);
    if (payment.cashGiven)
        device.cashGiven(*payment.cashGiven);
}

qint64 CounterSale::saveRows(const QList<SheetRow> &rows, QDate date,
                             const std::function<void(db::Table &)> &writeHeader) {
    StockRoutines stock(m_shop.database());
    DocumentSaver saver(m_shop.database(), stock, m_shop.routines(), DocumentKind::counterSale());
    m_key = saver.save(*m_header, m_key, rows, date, writeHeader);
    return m_key;
}

bool CounterSale::hasRegisterDocument() const {
    return m_header->isOpen() && m_header->asInteger(s::rtNumber) > 0;
}

SaleFiscalState CounterSale::fiscalState() const {
    return m_header->isOpen() ? saleFiscalState(m_header->asInteger(s::fiscalState))
                              : SaleFiscalState::Ordinary;
}

QString CounterSale::customerTaxCode() {
    const qint64 code = m_header->asInteger(customerColumns::saleCustomer);
    if (code <= 0)
        return {};
    db::Table customers(m_shop.database());
    customers.setTableName(customerColumns::customers);
    customers.setIndexName(customerColumns::code);
    customers.open();
    if (!customers.findKey(code))
        return {};
    const QString taxCode = customers.asString(customerColumns::fiscalCode).trimmed().toUpper();
    // A partita IVA in the field is no codice fiscale of a person.
    return taxCode.size() == 16 ? taxCode : QString();
}

// --- What a telematic register gave the sale ---
void CounterSale::storeFiscalRecord(db::Table &h, const SaleFiscalRecord &record) {
    const Money cash = record.payment.part(PaymentType::Cash);
    const Money card = record.payment.part(PaymentType::Card);
    const Money voucher = record.payment.part(PaymentType::Voucher);
    h.setFloat(s::paidCash, cash.toDouble());
    h.setFloat(s::paidCard, card.toDouble());
    h.setFloat(s::paidVoucher, voucher.toDouble());
    // A sale paid wholly by card is money of the bank.
    h.setBool(s::ISBANCA, cash.isZero() && voucher.isZero() && !card.isZero());
    h.setString(s::lotteryCode, record.lotteryCode);
    h.setString(s::customerTaxCode, record.customerTaxCode);
    if (record.notFiscalised) {
        // Waits for the register; a sale that already waited keeps the time
        // it was first stored.
        h.setInteger(s::fiscalState, qint64(SaleFiscalState::Pending));
        if (h.asString(s::offlineTime).trimmed().isEmpty())
            h.setString(s::offlineTime,
                        m_shop.clock().now().time().toString(QStringLiteral("HH:mm:ss")));
        return;
    }
    if (!record.document.isValid())
        return;
    // Sent at last: the sale no longer waits.
    h.setNull(s::fiscalState);
    h.setInteger(s::rtNumber, record.document.number);
    h.setInteger(s::rtClosure, record.document.closure);
    h.setDate(s::rtDate, record.document.dateTime.date());
    h.setString(s::rtTime, record.document.dateTime.time().toString(QStringLiteral("HH:mm:ss")));
    h.setString(s::rtSerial, record.document.serial.left(s::rtSerialLength));
}

// A stored sale changed without a new receipt: the payment it keeps must still
// add up to its total, or the Prima nota would book the old amounts. The card
// and voucher parts were paid as recorded; the difference is settled at the
// till, so it goes to the cash part. A sale that keeps no payment split is
// booked by its total and needs nothing.
void CounterSale::keepPaymentWithTotal(db::Table &h, Money net) {
    const Money cash = Money::of(h.asFloat(s::paidCash));
    const Money card = Money::of(h.asFloat(s::paidCard));
    const Money voucher = Money::of(h.asFloat(s::paidVoucher));
    if (cash.isZero() && card.isZero() && voucher.isZero())
        return;
    const Money settled = net - card - voucher;
    if (settled == cash)
        return;
    h.setFloat(s::paidCash, settled.toDouble());
    h.setBool(s::ISBANCA, settled.isZero() && voucher.isZero() && !card.isZero());
}

qint64 CounterSale::save(QDate date, double discountPercent) {
    m_sheet->postPending();
    const QList<SheetRow> rows = lines();
    const SaleTotals t = SaleArithmetic::totals(rows, discountPercent, m_agreed);
    StockRoutines stock(m_shop.database());
    DocumentSaver saver(m_shop.database(), stock, m_shop.routines(), DocumentKind::counterSale());
    m_key = saver.save(*m_header, m_key, rows, date, [&](db::Table &h) {
        h.setFloat(doc::SCONTO, discountPercent);
        h.setFloat(doc::TOTALE, t.net);
        h.setBool(s::TIPO, true);
        if (m_fiscal)
            storeFiscalRecord(h, *m_fiscal);
        else
            keepPaymentWithTotal(h, Money::of(t.net));
    });
    m_fiscal.reset();
    return m_key;
}

} // namespace corvale

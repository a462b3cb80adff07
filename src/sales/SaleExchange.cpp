#include "sales/SaleExchange.h"

#include "platform/Money.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/Campaign.h"
#include "catalogue/SalePrices.h"
#include "catalogue/StockRoutines.h"
#include "db/Error.h"
#include "db/Table.h"
#include "documents/DocumentSaver.h"
#include "documents/SheetColumns.h"
#include "platform/Clock.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "platform/Prompter.h"
#include "register/NetworkFiscalDevice.h"
#include "sales/CustomerColumns.h"
#include "sales/ReceiptLines.h"
#include "sales/SaleArithmetic.h"
#include "sales/SaleColumns.h"
#include "sales/SaleReductions.h"
#include "sales/SaleSettings.h"
#include "sales/TelematicDevice.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

namespace corvale {

namespace a = articleColumns;
namespace s = saleColumns;

namespace {

void openSales(db::Table &t) {
    t.setTableName(s::headerTable);
    t.setIndexName(doc::NUMREG);
    t.open();
}

QString tenderWords(PaymentType type) {
    switch (type) {
    case PaymentType::Cash:
        return QStringLiteral("in contanti");
    case PaymentType::Card:
        return QStringLiteral("con pagamento elettronico");
    case PaymentType::Voucher:
        return QStringLiteral("con il buono");
    }
    return {};
}

QString euros(Money amount) {
    return QChar(0x20AC) + QStringLiteral(" ") + Formats::format(u"%.2n", amount.toDouble());
}

void addTender(QList<Tender> &tenders, PaymentType type, Money amount) {
    if (amount.isZero())
        return;
    for (Tender &t : tenders)
        if (t.type == type) {
            t.amount += amount;
            return;
        }
    tenders << Tender{type, amount};
}

} // namespace

void ExchangePlan::settle(PaymentType type) {
    returnTenders.clear();
    saleTenders.clear();
    const Money common = std::min(back.refund, saleTotal);
    addTender(returnTenders, PaymentType::Cash, common);
    addTender(saleTenders, PaymentType::Cash, common);
    const Money rest = difference();
    if (rest > Money())
        addTender(saleTenders, type, rest);
    else
        addTender(returnTenders, type, -rest);
}

SaleExchange::SaleExchange(Shop &shop, QObject *parent)
    : QObject(parent)
    , m_shop(shop)
    , m_void(shop)
    , m_lookup(shop.database()) {}

SaleExchange::~SaleExchange() = default;

std::optional<FiscalDocumentRef> SaleExchange::quote(qint64 key, QString *reason) {
    const auto quoted = m_void.quoteReturn(key, reason);
    if (!quoted)
        return std::nullopt;
    db::Table t(m_shop.database());
    openSales(t);
    if (!t.findKey(key))
        throw db::Error(QStringLiteral("Vendita non trovata!"));
    const QDate day = t.asDate(doc::DATADOC);
    if (day != m_shop.clock().today()) {
        *reason = sameDayText.arg(Formats::formatDate(day));
        return std::nullopt;
    }
    return quoted;
}

SheetRow SaleExchange::rowOf(const db::Table &article, const QVariantMap &values) {
    QVariantMap v = values;
    v.insert(sheet::CODICE, article.asInteger(a::key));
    v.insert(sheet::DESCRIZION, article.asString(a::description).trimmed());
    v.insert(sheet::MARCHIO, article.asString(a::brand).trimmed());
    v.insert(sheet::TIPOTAGLIA, article.value(a::sizeType));
    v.insert(sheet::IVA, article.value(a::vat));
    v.insert(sheet::QUANTITA, 1.0);
    // To the cent, as the counter's lines and the register's amounts are.
    double price = Money::of(article.asFloat(a::salePrice)).toDouble();
    double discount = article.asFloat(a::discount);
    // The price of today: a campaign's while one runs, as at the counter.
    SalePrices prices(m_shop.database());
    prices.load();
    const EffectivePrice effective = prices.on(ArticleFacts::read(article), m_shop.clock().today());
    if (effective.campaign) {
        price = effective.linePrice;
        discount = effective.lineDiscount;
    }
    v.insert(sheet::PREZZO, price);
    v.insert(sheet::SCONTO, discount);
    return SheetRow{v, (1 - discount * 0.01) * price};
}

SaleExchange::Found SaleExchange::lookup(const QString &code) {
    m_lookup.open();
    const SaleCodeLookup::Result result = m_lookup.find(code);
    m_lookup.close();
    Found out;
    const qint64 article =
        result.kind == SaleCodeLookup::Result::Kind::Line ? result.line.article : result.article;
    if (result.kind == SaleCodeLookup::Result::Kind::NotFound)
        return out;
    out.article = article;
    if (result.kind == SaleCodeLookup::Result::Kind::ChooseSize)
        return out;
    db::Table articles(m_shop.database());
    articles.setTableName(a::articles);
    articles.setIndexName(a::key);
    articles.open();
    if (!articles.findKey(article))
        return Found{};
    const QVariantMap values{{sheet::BARCODE, result.line.barcode},
                             {sheet::COLORE, result.line.colour},
                             {sheet::CTAGLIA, result.line.sizeLabel},
                             {sheet::TAGLIA, result.line.position}};
    out.row = rowOf(articles, values);
    return out;
}

SaleExchange::ArticleStock SaleExchange::stockOf(qint64 article) {
    ArticleStock out;
    db::Table articles(m_shop.database());
    articles.setTableName(a::articles);
    articles.setIndexName(a::key);
    articles.open();
    if (articles.findKey(article)) {
        out.stock.load(m_shop.database(), article, articles.asString(a::code),
                       articles.asInteger(a::sizeType));
        out.description = articles.asString(a::description).trimmed();
        out.sizeTypeName = articles.asString(a::sizeTypeName).trimmed();
    }
    return out;
}

std::optional<SheetRow> SaleExchange::fromStock(const SaleStock &stock, int row, int position) {
    const auto choice = stock.choose(m_shop.database(), row, position);
    if (!choice)
        return std::nullopt;
    db::Table articles(m_shop.database());
    articles.setTableName(a::articles);
    articles.setIndexName(a::key);
    articles.open();
    if (!articles.findKey(stock.article()))
        return std::nullopt;
    return rowOf(articles, {{sheet::BARCODE, choice->barcode},
                            {sheet::COLORE, choice->colour},
                            {sheet::CTAGLIA, choice->label},
                            {sheet::TAGLIA, choice->position}});
}

std::optional<ExchangePlan> SaleExchange::plan(qint64 key, const QList<ReturnPick> &picks,
                                               const QList<SheetRow> &rows, PaymentType difference,
                                               QString *reason) {
    const auto back = m_void.planReturn(key, picks, reason);
    if (!back)
        return std::nullopt;
    if (rows.isEmpty()) {
        *reason = noReplacementText;
        return std::nullopt;
    }
    ExchangePlan out;
    out.back = *back;
    out.rows = rows;
    out.saleTotal = Money::of(SaleArithmetic::totals(rows, 0).net);
    out.settle(difference);
    return out;
}

void SaleExchange::setStage(Stage stage) {
    m_stage = stage;
    Q_EMIT stageChanged(stage);
}

bool SaleExchange::start(qint64 key, const FiscalDocumentRef &quoted, const ExchangePlan &plan,
                         const QString &voucher) {
    if (m_stage == Stage::SendingReturn || m_stage == Stage::SendingSale ||
        m_stage == Stage::SalePending)
        return false;
    const SaleSettings settings = SaleSettings::read(m_shop.ini());
    if (!settings.register_.isTelematic()) {
        m_shop.prompter().error(notTelematicText);
        return false;
    }
    m_key = key;
    m_plan = plan;
    m_returnKey = m_saleKey = 0;
    m_returnDocument = m_saleDocument = FiscalDocumentRef();
    m_voucher.reset();
    m_unconfirmed = false;
    // A difference paid with a voucher is taken from it before anything is
    // printed: a second window spending it meanwhile is refused.
    Money fromVoucher;
    for (const Tender &t : plan.saleTenders)
        if (t.type == PaymentType::Voucher)
            fromVoucher += t.amount;
    if (!fromVoucher.isZero()) {
        QString problem;
        qint64 claim = 0;
        if (!runReportingEngineErrors(m_shop.prompter(), [&] {
                VoucherStore store(m_shop.database());
                const auto found =
                    store.usable(voucher.trimmed(), m_shop.clock().today(), &problem);
                if (found)
                    claim = store.claim(found->number, fromVoucher, m_shop.clock().today(),
                                        m_shop.clock().now().time(), &problem);
            }))
            return false;
        if (claim == 0) {
            m_shop.prompter().error(problem);
            return false;
        }
        m_voucherClaim = claim;
    }
    telematicDevice(m_device, this, &SaleExchange::onFinished, settings.register_);
    m_device->begin(FiscalDocument::Kind::Return, quoted);
    for (const ReceiptLine &line : plan.back.receiptLines)
        m_device->line(line.description, line.quantity, line.price, line.vat, line.amount);
    m_device->subtotalDiscount(0, 0, plan.back.refund.toDouble());
    for (const Tender &t : plan.returnTenders)
        m_device->payment(t.type, t.amount);
    setStage(Stage::SendingReturn);
    if (!m_device->end()) {
        giveBackVoucher();
        setStage(Stage::Idle);
        return false;
    }
    return true;
}

bool SaleExchange::sendSale() {
    QString taxCode;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            db::Table t(m_shop.database());
            openSales(t);
            if (t.findKey(m_key))
                taxCode = t.asString(s::customerTaxCode).trimmed();
        }))
        return false;
    m_device->setSettings(SaleSettings::read(m_shop.ini()).register_);
    m_device->begin();
    const QList<SheetRow> &rows = m_plan.rows;
    QList<std::optional<EffectivePrice>> reductions;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        reductions = SaleReductions::of(m_shop.database(), rows, m_shop.clock().today());
    });
    putReceiptLines(*m_device, rows, reductions);
    const SaleTotals totals = SaleArithmetic::totals(rows, 0);
    m_device->subtotalDiscount(0, totals.discountAmount, m_plan.saleTotal.toDouble());
    m_device->customerTaxCode(taxCode);
    for (const Tender &t : m_plan.saleTenders)
        m_device->payment(t.type, t.amount);
    setStage(Stage::SendingSale);
    if (!m_device->end()) {
        setStage(Stage::SalePending);
        return false;
    }
    return true;
}

void SaleExchange::onFinished(const FiscalOutcome &outcome) {
    if (m_stage == Stage::SendingReturn)
        afterReturn(outcome);
    else if (m_stage == Stage::SendingSale)
        afterSale(outcome);
}

void SaleExchange::afterReturn(const FiscalOutcome &outcome) {
    if (!outcome.confirmed()) {
        // Nothing was printed (or the operator must check, as for any
        // receipt): nothing is stored and the sale may be exchanged again.
        if (!outcome.message.isEmpty())
            m_shop.prompter().error(outcome.message);
        fail();
        return;
    }
    m_returnDocument = outcome.document;
    const QDate date = outcome.document.dateTime.isValid() ? outcome.document.dateTime.date()
                                                           : m_shop.clock().today();
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            m_returnKey = m_void.storeReturn(m_key, m_plan.back, outcome.document, date,
                                             m_plan.returnTenders);
        })) {
        m_shop.prompter().error(returnNotStoredText.arg(outcome.document.number));
        fail();
        return;
    }
    m_voucher = m_void.issuedVoucher();
    sendSale();
}

void SaleExchange::afterSale(const FiscalOutcome &outcome) {
    if (!outcome.confirmed()) {
        m_unconfirmed = outcome.status == FiscalOutcome::Status::Unconfirmed;
        if (!outcome.message.isEmpty())
            m_shop.prompter().error(outcome.message);
        m_shop.prompter().error(pendingText.arg(m_returnDocument.number));
        setStage(Stage::SalePending);
        return;
    }
    m_saleDocument = outcome.document;
    const QDate date = outcome.document.dateTime.isValid() ? outcome.document.dateTime.date()
                                                           : m_shop.clock().today();
    if (!runReportingEngineErrors(m_shop.prompter(),
                                  [&] { m_saleKey = storeSale(outcome.document, date); })) {
        m_shop.prompter().error(saleNotStoredText.arg(outcome.document.number));
        m_voucherClaim = 0; // the register took the voucher's part
        setStage(Stage::Idle);
        Q_EMIT finished(false);
        return;
    }
    setStage(Stage::Done);
    Q_EMIT finished(true);
}

qint64 SaleExchange::storeSale(const FiscalDocumentRef &done, QDate date) {
    db::Table original(m_shop.database());
    openSales(original);
    if (!original.findKey(m_key))
        throw db::Error(QStringLiteral("Vendita non trovata!"));
    QVariantMap copied;
    for (const QString &f :
         {s::CLIENTE, s::BARCODE, customerColumns::saleCustomer, s::customerTaxCode})
        copied.insert(f, original.value(f));
    Money cash, card, voucher;
    for (const Tender &t : m_plan.saleTenders)
        (t.type == PaymentType::Cash   ? cash
         : t.type == PaymentType::Card ? card
                                       : voucher) += t.amount;

    db::Table header(m_shop.database());
    openSales(header);
    header.append();
    header.setInteger(doc::NUMDOC, m_shop.routines().NextYearNumber(s::headerTable));
    header.setBool(s::TIPO, true);
    StockRoutines stock(m_shop.database());
    DocumentSaver saver(m_shop.database(), stock, m_shop.routines(), DocumentKind::counterSale());
    const qint64 saleKey = saver.save(header, 0, m_plan.rows, date, [&](db::Table &h) {
        for (auto it = copied.begin(); it != copied.end(); ++it)
            if (!it.value().isNull())
                h.setValue(it.key(), it.value());
        h.setFloat(doc::SCONTO, 0);
        h.setFloat(doc::TOTALE, m_plan.saleTotal.toDouble());
        h.setBool(s::TIPO, true);
        h.setFloat(s::paidCash, cash.toDouble());
        h.setFloat(s::paidCard, card.toDouble());
        h.setFloat(s::paidVoucher, voucher.toDouble());
        h.setBool(s::ISBANCA, cash.isZero() && voucher.isZero() && !card.isZero());
        h.setInteger(s::rtNumber, done.number);
        h.setInteger(s::rtClosure, done.closure);
        h.setDate(s::rtDate, done.dateTime.date());
        h.setString(s::rtTime, done.dateTime.time().toString(QStringLiteral("HH:mm:ss")));
        h.setString(s::rtSerial, done.serial.left(s::rtSerialLength));
        h.setInteger(s::exchangeLink, m_returnKey);
    });
    if (m_voucherClaim != 0)
        VoucherStore(m_shop.database()).attach(std::exchange(m_voucherClaim, 0), saleKey);
    if (original.findKey(m_returnKey)) {
        original.edit();
        original.setInteger(s::exchangeLink, saleKey);
        original.post();
    }
    return saleKey;
}

bool SaleExchange::retry() {
    if (m_stage != Stage::SalePending)
        return false;
    if (m_unconfirmed && !m_shop.prompter().confirm(unconfirmedAgainText))
        return false;
    return sendSale();
}

QString SaleExchange::refundWords() const {
    QStringList parts;
    for (const Tender &t : m_plan.returnTenders)
        parts << euros(t.amount) + QStringLiteral(" ") + tenderWords(t.type);
    return parts.join(QStringLiteral(", "));
}

void SaleExchange::abandon() {
    if (m_stage != Stage::SalePending)
        return;
    giveBackVoucher();
    m_shop.prompter().information(abandonedText.arg(m_returnDocument.number).arg(refundWords()));
    setStage(Stage::Idle);
    Q_EMIT finished(false);
}

void SaleExchange::giveBackVoucher() {
    if (m_voucherClaim == 0)
        return;
    const qint64 claim = std::exchange(m_voucherClaim, 0);
    runReportingEngineErrors(m_shop.prompter(), [&] {
        VoucherStore(m_shop.database())
            .giveBack(claim, m_shop.clock().today(), m_shop.clock().now().time());
    });
}

void SaleExchange::fail() {
    giveBackVoucher();
    setStage(Stage::Idle);
    Q_EMIT finished(false);
}

} // namespace corvale

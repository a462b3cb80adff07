#include "sales/SaleVoid.h"

#include "sales/StoredSaleLines.h"

#include "catalogue/StockRoutines.h"
#include "db/Error.h"
#include "db/Table.h"
#include "documents/DocumentSaver.h"
#include "documents/SheetColumns.h"
#include "platform/Clock.h"
#include "platform/EngineError.h"
#include "platform/Prompter.h"
#include "register/NetworkFiscalDevice.h"
#include "sales/CustomerColumns.h"
#include "sales/SaleColumns.h"
#include "sales/SaleFiscalState.h"
#include "sales/SaleSettings.h"
#include "sales/StoredSaleLines.h"
#include "sales/TelematicDevice.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

#include <cmath>

namespace corvale {

namespace s = saleColumns;

namespace {

void openSales(db::Table &t) {
    t.setTableName(s::headerTable);
    t.setIndexName(doc::NUMREG);
    t.open();
}

// Why a sale stored without the telematic register cannot be quoted; empty
// for any other sale.
QString withoutRegister(const db::Table &t) {
    const SaleFiscalState state = saleFiscalState(t.asInteger(s::fiscalState));
    if (isWaiting(state))
        return SaleVoid::notFiscalisedText;
    if (state == SaleFiscalState::ByHand)
        return SaleVoid::byHandText;
    return {};
}

FiscalDocumentRef documentOf(const db::Table &t) {
    FiscalDocumentRef ref;
    ref.number = int(t.asInteger(s::rtNumber));
    ref.closure = int(t.asInteger(s::rtClosure));
    ref.dateTime = QDateTime(t.asDate(s::rtDate), QTime::fromString(t.asString(s::rtTime).trimmed(),
                                                                    QStringLiteral("HH:mm:ss")));
    ref.serial = t.asString(s::rtSerial).trimmed();
    return ref;
}

// The same piece of goods on two lines: article, colour, size, description.
bool samePiece(const SheetRow &a, const SheetRow &b) {
    return a.values.value(sheet::CODICE).toLongLong() ==
               b.values.value(sheet::CODICE).toLongLong() &&
           a.text(sheet::COLORE) == b.text(sheet::COLORE) &&
           a.number(sheet::TAGLIA) == b.number(sheet::TAGLIA) &&
           a.text(sheet::DESCRIZION) == b.text(sheet::DESCRIZION);
}

// `refund` for `quantity` pieces as the register prints it: each line to
// the cent, so that the register's total is the refund.
void addReceiptLines(QList<ReceiptLine> &out, const SheetRow &row, double quantity, Money refund) {
    ReceiptLine line;
    line.description = row.text(sheet::DESCRIZION);
    line.vat = row.number(sheet::IVA);
    const double whole = std::round(quantity);
    if (whole != quantity || whole < 1) {
        line.quantity = 1;
        line.price = refund.toDouble();
        line.amount = refund.toDouble();
        out << line;
        return;
    }
    const qint64 pieces = qint64(whole);
    const qint64 each = refund.cents() / pieces;
    const qint64 last = refund.cents() - each * (pieces - 1);
    if (each == last || pieces == 1) {
        line.quantity = double(pieces);
        line.price = Money::fromCents(last).toDouble();
        line.amount = refund.toDouble();
        out << line;
        return;
    }
    line.quantity = double(pieces - 1);
    line.price = Money::fromCents(each).toDouble();
    line.amount = Money::fromCents(each * (pieces - 1)).toDouble();
    out << line;
    line.quantity = 1;
    line.price = Money::fromCents(last).toDouble();
    line.amount = line.price;
    out << line;
}

} // namespace

SaleVoid::SaleVoid(Shop &shop, QObject *parent)
    : QObject(parent)
    , m_shop(shop) {}

SaleVoid::~SaleVoid() = default;

bool SaleVoid::isRunning() const {
    return m_device && m_device->isRunning();
}

QList<qint64> SaleVoid::returnsOf(qint64 key, qint64 voidKey) {
    QList<qint64> out;
    db::Table t(m_shop.database());
    openSales(t);
    for (t.first(); !t.eof(); t.next()) {
        const qint64 at = t.asInteger(doc::NUMREG);
        if (t.asInteger(s::voidLink) == key && at != voidKey && at != key &&
            t.asFloat(doc::TOTALE) <= 0)
            out << at;
    }
    return out;
}

// The receipt of sale `key` as a void or a return quotes it; nothing, with
// the reason in the words of `texts`, when the sale has none to quote or is
// itself a void or a return.
std::optional<FiscalDocumentRef> SaleVoid::quotable(qint64 key, QString *reason,
                                                    const QuoteTexts &texts) {
    db::Table t(m_shop.database());
    openSales(t);
    const bool found = t.findKey(key);
    if (!found || t.asInteger(s::rtNumber) <= 0) {
        const QString offline = found ? withoutRegister(t) : QString();
        *reason = offline.isEmpty() ? texts.noDocument : offline;
        return std::nullopt;
    }
    const qint64 link = t.asInteger(s::voidLink);
    if (link > 0) {
        if (t.asFloat(doc::TOTALE) >= 0) {
            *reason = texts.voided;
            return std::nullopt;
        }
        // A copy: the void of its sale, or one of its returns.
        const bool isVoid = t.findKey(link) && t.asInteger(s::voidLink) == key;
        *reason = isVoid ? texts.isVoid : isReturnText;
        return std::nullopt;
    }
    return documentOf(t);
}

std::optional<FiscalDocumentRef> SaleVoid::quote(qint64 key, QString *reason) {
    const auto ref = quotable(key, reason, {noDocumentText, alreadyVoidedText, isVoidText});
    if (ref && !returnsOf(key, 0).isEmpty()) {
        *reason = hasReturnsText;
        return std::nullopt;
    }
    return ref;
}

std::optional<FiscalDocumentRef> SaleVoid::quoteReturn(qint64 key, QString *reason) {
    const auto ref =
        quotable(key, reason, {noDocumentReturnText, voidedReturnText, isVoidReturnText});
    if (!ref)
        return std::nullopt;
    bool anyLeft = false;
    for (const ReturnableLine &line : returnable(key))
        anyLeft = anyLeft || line.left() > 0;
    if (!anyLeft) {
        *reason = allReturnedText;
        return std::nullopt;
    }
    return ref;
}

QList<SheetRow> SaleVoid::storedLines(qint64 key) {
    return storedSaleLines(m_shop.database(), key);
}

QList<ReturnableLine> SaleVoid::returnable(qint64 key) {
    db::Table t(m_shop.database());
    openSales(t);
    if (!t.findKey(key))
        throw db::Error(QStringLiteral("Vendita non trovata!"));
    const qint64 voidKey = t.asInteger(s::voidLink);
    QList<ReturnableLine> out;
    for (const SheetRow &row : storedLines(key))
        out << ReturnableLine{row, row.number(sheet::QUANTITA), 0};
    for (const qint64 stored : returnsOf(key, voidKey)) {
        for (const SheetRow &back : storedLines(stored)) {
            double pieces = -back.number(sheet::QUANTITA);
            for (ReturnableLine &line : out) {
                if (pieces <= 0)
                    break;
                if (!samePiece(line.row, back) || line.left() <= 0)
                    continue;
                const double taken = std::min(pieces, line.left());
                line.returned += taken;
                pieces -= taken;
            }
        }
    }
    return out;
}

std::optional<ReturnPlan> SaleVoid::planReturn(qint64 key, const QList<ReturnPick> &picks,
                                               QString *reason) {
    const QList<ReturnableLine> lines = returnable(key);
    db::Table t(m_shop.database());
    openSales(t);
    if (!t.findKey(key))
        throw db::Error(QStringLiteral("Vendita non trovata!"));
    const Money saleTotal = Money::of(t.asFloat(doc::TOTALE));
    Money returnedSoFar; // negative: the returns' totals
    for (const qint64 stored : returnsOf(key, t.asInteger(s::voidLink)))
        if (t.findKey(stored))
            returnedSoFar += Money::of(t.asFloat(doc::TOTALE));
    // The sale's discount on the subtotal is shared by its lines.
    double gross = 0;
    for (const ReturnableLine &line : lines)
        gross += line.row.amount.toDouble();
    const double ratio = gross != 0 ? saleTotal.toDouble() / gross : 1;

    QList<double> chosen(lines.size(), 0);
    for (const ReturnPick &pick : picks) {
        if (pick.line < 0 || pick.line >= lines.size() || pick.quantity < 0)
            continue;
        chosen[pick.line] += pick.quantity;
    }
    bool any = false;
    bool completes = true;
    for (int i = 0; i < lines.size(); ++i) {
        const ReturnableLine &line = lines.at(i);
        if (chosen.at(i) > line.left() + 1e-9) {
            *reason = tooManyText.arg(line.row.text(sheet::DESCRIZION))
                          .arg(QString::number(std::max(0.0, line.left())));
            return std::nullopt;
        }
        any = any || chosen.at(i) > 0;
        completes = completes && chosen.at(i) >= line.left() - 1e-9;
    }
    if (!any) {
        *reason = nothingChosenText;
        return std::nullopt;
    }
    ReturnPlan plan;
    QList<int> picked;
    QList<Money> refunds;
    for (int i = 0; i < lines.size(); ++i) {
        if (chosen.at(i) <= 0)
            continue;
        const ReturnableLine &line = lines.at(i);
        const double share = chosen.at(i) / line.sold;
        refunds << Money::of(line.row.amount.toDouble() * share * ratio);
        picked << i;
        plan.refund += refunds.last();
    }
    // The last pieces of a sale give back what is left of its total, to the cent.
    if (completes) {
        const Money rest = saleTotal + returnedSoFar;
        refunds.last() += rest - plan.refund;
        plan.refund = rest;
    }
    for (int n = 0; n < picked.size(); ++n) {
        const ReturnableLine &line = lines.at(picked.at(n));
        SheetRow row = line.row;
        const double quantity = chosen.at(picked.at(n));
        row.values[sheet::QUANTITA] = -quantity;
        row.amount = -(line.row.amount.toDouble() * quantity / line.sold);
        plan.rows << row;
        addReceiptLines(plan.receiptLines, line.row, quantity, refunds.at(n));
    }
    return plan;
}

bool SaleVoid::send(qint64 key) {
    const SaleSettings settings = SaleSettings::read(m_shop.ini());
    if (!settings.register_.isTelematic()) {
        m_shop.prompter().error(m_operation == Operation::Void ? noDocumentText
                                                               : noDocumentReturnText);
        return false;
    }
    telematicDevice(m_device, this, &SaleVoid::onFinished, settings.register_);
    m_key = key;
    m_voucher.reset();
    return true;
}

bool SaleVoid::start(qint64 key, const FiscalDocumentRef &quoted,
                     std::optional<PaymentType> refund) {
    if (isRunning())
        return false;
    m_operation = Operation::Void;
    m_plan.reset();
    m_refund = refund;
    if (!send(key))
        return false;
    m_device->begin(FiscalDocument::Kind::Void, quoted);
    return m_device->end();
}

bool SaleVoid::startReturn(qint64 key, const FiscalDocumentRef &quoted, const ReturnPlan &plan,
                           PaymentType refund) {
    if (isRunning())
        return false;
    m_operation = Operation::Return;
    m_plan = plan;
    m_refund = refund;
    if (!send(key))
        return false;
    m_device->begin(FiscalDocument::Kind::Return, quoted);
    for (const ReceiptLine &line : plan.receiptLines)
        m_device->line(line.description, line.quantity, line.price, line.vat, line.amount);
    m_device->subtotalDiscount(0, 0, plan.refund.toDouble());
    m_device->payment(refund, plan.refund);
    return m_device->end();
}

void SaleVoid::onFinished(const FiscalOutcome &outcome) {
    if (!outcome.confirmed()) {
        m_shop.prompter().error(outcome.message);
        Q_EMIT finished(false, 0);
        return;
    }
    qint64 stored = 0;
    const QDate date = outcome.document.dateTime.isValid() ? outcome.document.dateTime.date()
                                                           : m_shop.clock().today();
    const bool isReturn = m_operation == Operation::Return && m_plan;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            stored = isReturn ? storeReturn(m_key, *m_plan, outcome.document, date, *m_refund)
                              : storeCopy(m_key, outcome.document, date, m_refund);
        }))
        m_shop.prompter().error(
            (isReturn ? QStringLiteral("Il registratore ha emesso il reso (documento n. %1) ma "
                                       "il reso non è stato registrato nell'archivio.")
                      : QStringLiteral("Il registratore ha annullato lo scontrino (documento n. "
                                       "%1) ma l'annullo non è stato registrato nell'archivio."))
                .arg(outcome.document.number));
    Q_EMIT finished(true, stored);
}

qint64 SaleVoid::storeCopy(qint64 key, const FiscalDocumentRef &done, QDate date,
                           std::optional<PaymentType> refund) {
    db::Table t(m_shop.database());
    openSales(t);
    if (!t.findKey(key))
        throw db::Error(QStringLiteral("Vendita non trovata!"));
    const Money total = Money::of(t.asFloat(doc::TOTALE));
    QList<SheetRow> rows = storedLines(key);
    for (SheetRow &row : rows) {
        row.values[sheet::QUANTITA] = -row.number(sheet::QUANTITA);
        if (!row.amount.isNull())
            row.amount = -row.amount.toDouble();
    }
    return storeNegative(key, rows, total, done, date,
                         refund ? std::optional(QList<Tender>{{*refund, total}}) : std::nullopt,
                         true);
}

qint64 SaleVoid::storeReturn(qint64 key, const ReturnPlan &plan, const FiscalDocumentRef &done,
                             QDate date, PaymentType refund) {
    return storeReturn(key, plan, done, date, QList<Tender>{{refund, plan.refund}});
}

qint64 SaleVoid::storeReturn(qint64 key, const ReturnPlan &plan, const FiscalDocumentRef &done,
                             QDate date, const QList<Tender> &refunds) {
    return storeNegative(key, plan.rows, plan.refund, done, date, refunds, false);
}

qint64 SaleVoid::storeNegative(qint64 key, const QList<SheetRow> &rows, Money total,
                               const FiscalDocumentRef &done, QDate date,
                               const std::optional<QList<Tender>> &refunds, bool linkBack) {
    m_voucher.reset();
    db::Table original(m_shop.database());
    openSales(original);
    if (!original.findKey(key))
        throw db::Error(QStringLiteral("Vendita non trovata!"));
    QVariantMap copied;
    for (const QString &f :
         {s::CLIENTE, s::BARCODE, doc::SCONTO, customerColumns::saleCustomer, s::ISBANCA})
        copied.insert(f, original.value(f));
    // Without a refund of its own the copy gives back the sale's own split.
    QMap<QString, Money> parts;
    Money voucherPart;
    bool cardOnly = false;
    if (refunds) {
        parts.insert(s::paidCash, Money());
        parts.insert(s::paidCard, Money());
        parts.insert(s::paidVoucher, Money());
        cardOnly = !refunds->isEmpty();
        for (const Tender &t : *refunds) {
            const QString column = t.type == PaymentType::Cash   ? s::paidCash
                                   : t.type == PaymentType::Card ? s::paidCard
                                                                 : s::paidVoucher;
            parts[column] -= t.amount;
            cardOnly = cardOnly && t.type == PaymentType::Card;
            if (t.type == PaymentType::Voucher)
                voucherPart += t.amount;
        }
    } else {
        for (const QString &f : {s::paidCash, s::paidCard, s::paidVoucher})
            if (!original.isNull(f))
                parts.insert(f, -Money::of(original.asFloat(f)));
    }

    // The copy is written apart from the sale window's sheet, which may be
    // holding a sale being made.
    db::Table header(m_shop.database());
    openSales(header);
    header.append();
    header.setInteger(doc::NUMDOC, m_shop.routines().NextYearNumber(s::headerTable));
    header.setBool(s::TIPO, true);
    StockRoutines stock(m_shop.database());
    DocumentSaver saver(m_shop.database(), stock, m_shop.routines(), DocumentKind::counterSale());
    const qint64 copyKey = saver.save(header, 0, rows, date, [&](db::Table &c) {
        for (auto it = copied.begin(); it != copied.end(); ++it)
            if (!it.value().isNull())
                c.setValue(it.key(), it.value());
        c.setFloat(doc::TOTALE, -total.toDouble());
        for (auto it = parts.begin(); it != parts.end(); ++it)
            c.setFloat(it.key(), it.value().toDouble());
        if (refunds)
            c.setBool(s::ISBANCA, cardOnly);
        c.setBool(s::TIPO, true);
        c.setInteger(s::voidLink, key);
        c.setInteger(s::rtNumber, done.number);
        c.setInteger(s::rtClosure, done.closure);
        c.setDate(s::rtDate, done.dateTime.date());
        c.setString(s::rtTime, done.dateTime.time().toString(QStringLiteral("HH:mm:ss")));
        c.setString(s::rtSerial, done.serial.left(s::rtSerialLength));
    });

    if (linkBack && original.findKey(key)) {
        original.edit();
        original.setInteger(s::voidLink, copyKey);
        original.post();
    }
    if (voucherPart > Money())
        m_voucher = VoucherStore(m_shop.database())
                        .issue(voucherPart, copyKey, date,
                               done.dateTime.isValid() ? done.dateTime.time()
                                                       : m_shop.clock().now().time());
    return copyKey;
}

} // namespace corvale

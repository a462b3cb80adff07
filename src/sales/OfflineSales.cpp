#include "sales/OfflineSales.h"

#include "db/Error.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "platform/Prompter.h"
#include "register/NetworkFiscalDevice.h"
#include "sales/ReceiptLines.h"
#include "sales/SaleArithmetic.h"
#include "sales/SaleColumns.h"
#include "sales/SaleReductions.h"
#include "sales/SaleSettings.h"
#include "sales/StoredSaleLines.h"
#include "sales/TelematicDevice.h"
#include "shell/Shop.h"

#include <algorithm>

namespace corvale {

namespace s = saleColumns;

namespace {

void openSales(db::Table &t) {
    t.setTableName(s::headerTable);
    t.setIndexName(doc::NUMREG);
    t.open();
}

// The sales stored without the register, whatever their state: through the
// state's tag, so that the shop's other sales are never read.
void openStored(db::Table &t) {
    t.setTableName(s::headerTable);
    t.setIndexName(s::fiscalState);
    t.open();
    t.setRange(qint64(SaleFiscalState::Pending), qint64(SaleFiscalState::Unconfirmed));
}

SaleFiscalState stateOf(const db::Table &t) {
    return saleFiscalState(t.asInteger(s::fiscalState));
}

QString euros(Money m) {
    return Formats::format(u"%.2n", m.toDouble());
}

} // namespace

OfflineSales::OfflineSales(Shop &shop, QObject *parent)
    : QObject(parent)
    , m_shop(shop) {}

OfflineSales::~OfflineSales() = default;

QList<OfflineSale> OfflineSales::list(bool byHand) {
    QList<OfflineSale> out;
    db::Table t(m_shop.database());
    openStored(t);
    for (t.first(); !t.eof(); t.next()) {
        const SaleFiscalState state = stateOf(t);
        if (!isWaiting(state) && !(byHand && state == SaleFiscalState::ByHand))
            continue;
        OfflineSale sale;
        sale.key = t.asInteger(doc::NUMREG);
        sale.number = t.asInteger(doc::NUMDOC);
        sale.date = t.asDate(doc::DATADOC);
        sale.time = t.asString(s::offlineTime).trimmed();
        sale.total = Money::of(t.asFloat(doc::TOTALE));
        sale.cash = Money::of(t.asFloat(s::paidCash));
        sale.card = Money::of(t.asFloat(s::paidCard));
        sale.voucher = Money::of(t.asFloat(s::paidVoucher));
        sale.state = state;
        out << sale;
    }
    // In the order they were stored.
    std::sort(out.begin(), out.end(),
              [](const OfflineSale &a, const OfflineSale &b) { return a.key < b.key; });
    return out;
}

int OfflineSales::waiting(db::Database &database) {
    db::Table t(database);
    openStored(t);
    int count = 0;
    for (t.first(); !t.eof(); t.next())
        count += isWaiting(stateOf(t)) ? 1 : 0;
    return count;
}

bool OfflineSales::isRunning() const {
    return m_running;
}

bool OfflineSales::describe(qint64 key, FiscalDevice &device, QString *reason) {
    db::Table t(m_shop.database());
    openSales(t);
    if (!t.findKey(key))
        throw db::Error(QStringLiteral("Vendita non trovata!"));
    const Money net = Money::of(t.asFloat(doc::TOTALE));
    const Money voucher = Money::of(t.asFloat(s::paidVoucher));
    const Money card = Money::of(t.asFloat(s::paidCard));
    const Money cash = Money::of(t.asFloat(s::paidCash));
    // A sale changed after it was stored may no longer match its payment:
    // the register would print a receipt the takings do not hold.
    if (voucher + card + cash != net) {
        *reason = paymentMismatchText.arg(t.asInteger(doc::NUMDOC))
                      .arg(euros(voucher + card + cash), euros(net));
        return false;
    }
    const QList<SheetRow> rows = storedSaleLines(m_shop.database(), key);
    const auto reductions = SaleReductions::of(m_shop.database(), rows, t.asDate(doc::DATADOC));
    device.changeCalculated(false);
    device.begin();
    putReceiptLines(device, rows, reductions);
    // The stored total is what the customer paid, an agreed price included.
    const double gross = SaleArithmetic::totals(rows, 0).gross;
    device.subtotalDiscount(t.asFloat(doc::SCONTO), gross - net.toDouble(), net.toDouble());
    const QString lottery = t.asString(s::lotteryCode).trimmed();
    if (!lottery.isEmpty())
        device.lotteryCode(lottery);
    else
        device.customerTaxCode(t.asString(s::customerTaxCode).trimmed());
    // As the counter tells them: the voucher first, then card and cash.
    device.payment(PaymentType::Voucher, voucher);
    device.payment(PaymentType::Card, card);
    device.payment(PaymentType::Cash, cash);
    return true;
}

bool OfflineSales::send(const QList<qint64> &keys) {
    if (m_running || keys.isEmpty())
        return false;
    const SaleSettings settings = SaleSettings::read(m_shop.ini());
    if (!settings.register_.isTelematic()) {
        m_shop.prompter().error(notTelematicText);
        return false;
    }
    telematicDevice(m_device, this, &OfflineSales::onFinished, settings.register_);
    m_queue = keys;
    m_sent = 0;
    m_running = true;
    next();
    return true;
}

void OfflineSales::next() {
    while (!m_queue.isEmpty()) {
        const qint64 key = m_queue.takeFirst();
        // Read again: another window may have sent it or written it by hand.
        SaleFiscalState state = SaleFiscalState::Ordinary;
        qint64 number = 0;
        if (!runReportingEngineErrors(m_shop.prompter(), [&] {
                db::Table t(m_shop.database());
                openSales(t);
                if (t.findKey(key)) {
                    state = stateOf(t);
                    number = t.asInteger(doc::NUMDOC);
                }
            })) {
            end(false);
            return;
        }
        if (!isWaiting(state))
            continue;
        if (state == SaleFiscalState::Unconfirmed &&
            !m_shop.prompter().confirm(checkAgainText.arg(number))) {
            end(false);
            return;
        }
        QString reason;
        bool described = false;
        if (!runReportingEngineErrors(m_shop.prompter(),
                                      [&] { described = describe(key, *m_device, &reason); })) {
            end(false);
            return;
        }
        if (!described) {
            m_shop.prompter().error(reason);
            end(false);
            return;
        }
        m_current = key;
        if (!m_device->end()) {
            m_current = 0;
            end(false);
        }
        // The answer comes with onFinished(), which goes on with the rest.
        return;
    }
    end(true);
}

void OfflineSales::onFinished(const FiscalOutcome &outcome) {
    const qint64 key = std::exchange(m_current, 0);
    if (key == 0)
        return;
    if (outcome.confirmed()) {
        if (!runReportingEngineErrors(m_shop.prompter(),
                                      [&] { storeDocument(key, outcome.document); })) {
            m_shop.prompter().error(storeFailedText.arg(outcome.document.number).arg(key));
            end(false);
            return;
        }
        ++m_sent;
        next();
        return;
    }
    // The register may have printed it: it is not sent again unchecked.
    if (outcome.status == FiscalOutcome::Status::Unconfirmed)
        runReportingEngineErrors(m_shop.prompter(),
                                 [&] { setState(key, SaleFiscalState::Unconfirmed); });
    if (!outcome.message.isEmpty())
        m_shop.prompter().error(outcome.message);
    end(false);
}

void OfflineSales::end(bool complete) {
    m_queue.clear();
    m_running = false;
    Q_EMIT finished(m_sent, complete);
}

void OfflineSales::setState(qint64 key, SaleFiscalState state) {
    db::Table t(m_shop.database());
    openSales(t);
    if (!t.findKey(key))
        return;
    t.edit();
    t.setInteger(s::fiscalState, qint64(state));
    t.post();
}

bool OfflineSales::markByHand(qint64 key) {
    db::Table t(m_shop.database());
    openSales(t);
    if (!t.findKey(key) || !isWaiting(stateOf(t)))
        return false;
    t.edit();
    t.setInteger(s::fiscalState, qint64(SaleFiscalState::ByHand));
    t.post();
    return true;
}

void OfflineSales::storeDocument(qint64 key, const FiscalDocumentRef &done) {
    db::Table t(m_shop.database());
    openSales(t);
    if (!t.findKey(key))
        throw db::Error(QStringLiteral("Vendita non trovata!"));
    t.edit();
    t.setInteger(s::rtNumber, done.number);
    t.setInteger(s::rtClosure, done.closure);
    t.setDate(s::rtDate, done.dateTime.date());
    t.setString(s::rtTime, done.dateTime.time().toString(QStringLiteral("HH:mm:ss")));
    t.setString(s::rtSerial, done.serial.left(s::rtSerialLength));
    t.setNull(s::fiscalState);
    t.post();
}

} // namespace corvale

#include "sales/VoucherStore.h"

#include "catalogue/VoucherCode.h"
#include "db/Error.h"
#include "db/Table.h"
#include "platform/Formats.h"
#include "sales/VoucherColumns.h"

namespace corvale {

namespace v = voucherColumns;

namespace {

const QString timeFormat = QStringLiteral("HH:mm:ss");

void openVouchers(db::Table &t, const QString &tag) {
    t.setTableName(v::vouchers);
    t.setIndexName(tag);
    t.open();
}

Voucher read(const db::Table &t) {
    Voucher out;
    out.number = t.asInteger(v::key);
    out.barcode = t.asString(v::barcode).trimmed();
    out.amount = Money::of(t.asFloat(v::amount));
    out.residual = Money::of(t.asFloat(v::residual));
    out.issued = t.asDate(v::issued);
    out.expiry = t.asDate(v::expiry);
    out.originSale = t.asInteger(v::originSale);
    return out;
}

qint64 nextKey(db::Table &t, const QString &keyColumn) {
    t.setIndexName(keyColumn);
    t.last();
    return t.eof() && t.bof() ? 1 : t.asInteger(keyColumn) + 1;
}

} // namespace

VoucherStore::VoucherStore(db::Database &database)
    : m_db(database) {}

Voucher VoucherStore::issue(Money amount, qint64 originSale, QDate date, QTime time) {
    db::Table t(m_db);
    openVouchers(t, v::key);
    const qint64 number = nextKey(t, v::key);
    if (number > voucherCode::largestNumber)
        throw db::Error(QStringLiteral("Numerazione dei buoni esaurita."));
    t.append();
    t.setInteger(v::key, number);
    t.setString(v::barcode, voucherCode::barcode(number));
    t.setFloat(v::amount, amount.toDouble());
    t.setFloat(v::residual, amount.toDouble());
    t.setDate(v::issued, date);
    t.setDate(v::expiry, date.addMonths(validityMonths));
    t.setInteger(v::originSale, originSale);
    t.post();
    addMovement(number, date, time, amount, originSale, issueCause);
    return read(t);
}

std::optional<Voucher> VoucherStore::find(qint64 number) {
    db::Table t(m_db);
    openVouchers(t, v::key);
    if (!t.findKey(number))
        return std::nullopt;
    return read(t);
}

std::optional<Voucher> VoucherStore::find(const QString &text) {
    const auto number = voucherCode::number(text);
    return number ? find(*number) : std::nullopt;
}

std::optional<Voucher> VoucherStore::usable(const QString &text, QDate today, QString *reason) {
    const auto voucher = find(text);
    if (!voucher) {
        *reason = unknownText;
        return std::nullopt;
    }
    if (voucher->residual <= Money()) {
        *reason = spentText.arg(voucher->number);
        return std::nullopt;
    }
    if (voucher->expiry.isValid() && today > voucher->expiry) {
        *reason = expiredText.arg(voucher->number).arg(Formats::formatDate(voucher->expiry));
        return std::nullopt;
    }
    return voucher;
}

qint64 VoucherStore::claim(qint64 number, Money amount, QDate today, QTime time, QString *reason) {
    // A handle of its own reads the record as it is now, whatever another
    // window took from it meanwhile; nothing runs between the check and the
    // write.
    db::Table t(m_db);
    openVouchers(t, v::key);
    if (!t.findKey(number)) {
        *reason = unknownText;
        return 0;
    }
    const Voucher now = read(t);
    if (now.residual <= Money()) {
        *reason = spentText.arg(number);
        return 0;
    }
    if (now.expiry.isValid() && today > now.expiry) {
        *reason = expiredText.arg(number).arg(Formats::formatDate(now.expiry));
        return 0;
    }
    if (amount > now.residual) {
        *reason = shortText.arg(number).arg(Formats::format(u"%.2n", now.residual.toDouble()));
        return 0;
    }
    t.edit();
    t.setFloat(v::residual, (now.residual - amount).toDouble());
    t.post();
    return addMovement(number, today, time, Money() - amount, 0, spendCause);
}

void VoucherStore::giveBack(qint64 movement, QDate today, QTime time) {
    db::Table m(m_db);
    m.setTableName(v::movements);
    m.setIndexName(v::movementKey);
    m.open();
    if (!m.findKey(movement) || m.asString(v::movementCause).trimmed() != spendCause)
        return;
    const qint64 number = m.asInteger(v::movementVoucher);
    const Money spent = Money() - Money::of(m.asFloat(v::movementAmount));
    db::Table t(m_db);
    openVouchers(t, v::key);
    if (!t.findKey(number))
        return;
    t.edit();
    t.setFloat(v::residual, (Money::of(t.asFloat(v::residual)) + spent).toDouble());
    t.post();
    addMovement(number, today, time, spent, 0, giveBackCause);
}

void VoucherStore::attach(qint64 movement, qint64 sale) {
    db::Table m(m_db);
    m.setTableName(v::movements);
    m.setIndexName(v::movementKey);
    m.open();
    if (!m.findKey(movement))
        return;
    m.edit();
    m.setInteger(v::movementSale, sale);
    m.post();
}

QList<Voucher> VoucherStore::all() {
    QList<Voucher> out;
    db::Table t(m_db);
    openVouchers(t, v::key);
    for (t.first(); !t.eof(); t.next())
        out << read(t);
    return out;
}

QList<VoucherMovement> VoucherStore::history(qint64 number) {
    QList<VoucherMovement> out;
    db::Table m(m_db);
    m.setTableName(v::movements);
    m.setIndexName(v::movementVoucher);
    m.open();
    m.setRange(number, number);
    for (m.first(); !m.eof(); m.next()) {
        VoucherMovement line;
        line.key = m.asInteger(v::movementKey);
        line.date = m.asDate(v::movementDate);
        line.time = m.asString(v::movementTime).trimmed();
        line.amount = Money::of(m.asFloat(v::movementAmount));
        line.sale = m.asInteger(v::movementSale);
        line.cause = m.asString(v::movementCause).trimmed();
        out << line;
    }
    std::sort(out.begin(), out.end(),
              [](const VoucherMovement &a, const VoucherMovement &b) { return a.key < b.key; });
    return out;
}

qint64 VoucherStore::addMovement(qint64 voucher, QDate date, QTime time, Money amount, qint64 sale,
                                 const QString &cause) {
    db::Table m(m_db);
    m.setTableName(v::movements);
    m.open();
    const qint64 key = nextKey(m, v::movementKey);
    m.append();
    m.setInteger(v::movementKey, key);
    m.setInteger(v::movementVoucher, voucher);
    m.setDate(v::movementDate, date);
    m.setString(v::movementTime, time.toString(timeFormat));
    m.setFloat(v::movementAmount, amount.toDouble());
    if (sale > 0)
        m.setInteger(v::movementSale, sale);
    m.setString(v::movementCause, cause);
    m.post();
    return key;
}

} // namespace corvale

#pragma once

#include "platform/Money.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

#include <optional>

namespace corvale {

namespace db {
class Database;
}

// A store-credit voucher ("Buono") as BUONI keeps it.
struct Voucher {
    qint64 number = 0;
    QString barcode;
    Money amount;
    Money residual;
    QDate issued;
    QDate expiry;
    qint64 originSale = 0;
};

// One line of a voucher's history (BUONIMOV).
struct VoucherMovement {
    qint64 key = 0;
    QDate date;
    QString time;
    Money amount; // + issued or given back, - spent
    qint64 sale = 0;
    QString cause;
};

// The shop's vouchers: issued as the refund of a return or a void, spent in
// later sales (the balance stays on the voucher), each use in the history.
// A claim reads the voucher again and takes the amount only while the
// residual still covers it, so that two sale windows never spend the same
// credit: whoever claims second is refused.
class VoucherStore {
public:
    static inline const QString unknownText =
        QStringLiteral("Buono inesistente: controllare il numero o il codice a barre del buono.");
    static inline const QString spentText = QStringLiteral("Il buono n. %1 è già stato speso.");
    static inline const QString expiredText = QStringLiteral("Il buono n. %1 è scaduto il %2.");
    static inline const QString shortText =
        QStringLiteral("Sul buono n. %1 restano solo %2 euro: ripetere il pagamento.");
    static inline const QString issueCause = QStringLiteral("Emissione");
    static inline const QString spendCause = QStringLiteral("Pagamento");
    static inline const QString giveBackCause = QStringLiteral("Storno pagamento");
    // How long a voucher is good for.
    static constexpr int validityMonths = 12;

    explicit VoucherStore(db::Database &database);

    // A new voucher worth `amount`, the refund of sale `originSale`, good
    // until `validityMonths` after `date`. Throws db::Error.
    Voucher issue(Money amount, qint64 originSale, QDate date, QTime time);
    // The voucher a typed number or a scanned barcode names. Throws db::Error.
    std::optional<Voucher> find(const QString &text);
    std::optional<Voucher> find(qint64 number);
    // The voucher named by `text` when it can pay on `today`; nothing with
    // the reason otherwise. Throws db::Error.
    std::optional<Voucher> usable(const QString &text, QDate today, QString *reason);
    // Takes `amount` from voucher `number`, read again first: refused (0, the
    // reason told) when unknown, expired or its residual no longer covers
    // it. Returns the key of the history line. Throws db::Error.
    qint64 claim(qint64 number, Money amount, QDate today, QTime time, QString *reason);
    // A claim whose sale was not stored: the amount goes back on the voucher.
    void giveBack(qint64 movement, QDate today, QTime time);
    // The sale a claim paid, once stored.
    void attach(qint64 movement, qint64 sale);

    QList<Voucher> all();
    QList<VoucherMovement> history(qint64 number);

private:
    qint64 addMovement(qint64 voucher, QDate date, QTime time, Money amount, qint64 sale,
                       const QString &cause);
    db::Database &m_db;
};

} // namespace corvale

#pragma once

#include "platform/Money.h"
#include "register/FiscalDevice.h"
#include "sales/SaleFiscalState.h"

#include <QDate>
#include <QList>
#include <QObject>

#include <memory>

namespace corvale {

class NetworkFiscalDevice;
class Shop;

namespace db {
class Database;
class Table;
} // namespace db

// A counter sale stored without the telematic register, as the emergency
// register of takings lists it.
struct OfflineSale {
    qint64 key = 0;
    qint64 number = 0;
    QDate date;
    QString time; // "HH:MM:SS", when it was stored
    Money total;
    Money cash;
    Money card;
    Money voucher;
    SaleFiscalState state = SaleFiscalState::Pending;
};

// The sales stored while the telematic register could not be reached: listed
// for the emergency register, sent to the register when it is back (through
// the device's own checks, so that a receipt is never printed twice; the
// register's numbers are stored and the sale no longer waits), or marked as
// written by hand. A sending the register does not confirm leaves the sale
// to be checked: it goes out again only after the operator says so.
class OfflineSales : public QObject {
    Q_OBJECT
public:
    static inline const QString notTelematicText = QStringLiteral(
        "Il registratore configurato non è telematico: le vendite non fiscalizzate vanno "
        "registrate a mano.");
    static inline const QString paymentMismatchText = QStringLiteral(
        "Il pagamento registrato della vendita n. %1 (€ %2) non corrisponde al suo totale "
        "(€ %3): aprire la vendita e inviarla con \"Scontrino\".");
    static inline const QString storeFailedText = QStringLiteral(
        "Il registratore ha emesso lo scontrino n. %1 della vendita n. %2, ma la vendita non è "
        "stata aggiornata nell'archivio: non inviarla di nuovo, segnarla come registrata a mano.");
    static inline const QString checkAgainText = QStringLiteral(
        "Il registratore non aveva confermato lo scontrino della vendita n. %1.\rVerificato sul "
        "registratore che non è stato emesso, inviarlo di nuovo?");

    explicit OfflineSales(Shop &shop, QObject *parent = nullptr);
    ~OfflineSales() override;

    // The sales still to reach the register, oldest first; with `byHand` also
    // those written by hand. Throws db::Error.
    QList<OfflineSale> list(bool byHand = false);
    // How many sales wait for the register. Throws db::Error.
    static int waiting(db::Database &database);

    // Sends sales `keys` one after the other; finished() follows unless
    // false (the reason told). A sale no longer waiting is passed over; the
    // first failure ends the run, its reason told.
    bool send(const QList<qint64> &keys);
    bool isRunning() const;
    // Marks sale `key` as written by hand in the emergency register (a sale
    // that no longer waits is left alone). Throws db::Error.
    bool markByHand(qint64 key);

    // The receipt of stored sale `key` on `device`; false (with the reason)
    // when its payment does not add up to its total. Throws db::Error.
    bool describe(qint64 key, FiscalDevice &device, QString *reason);

Q_SIGNALS:
    // The run is over: `sent` sales are now fiscalised; `complete` when
    // every one was sent or passed over.
    void finished(int sent, bool complete);

private:
    void next();
    void onFinished(const FiscalOutcome &outcome);
    void end(bool complete);
    void setState(qint64 key, SaleFiscalState state);
    void storeDocument(qint64 key, const FiscalDocumentRef &done);

    Shop &m_shop;
    std::unique_ptr<NetworkFiscalDevice> m_device;
    QList<qint64> m_queue;
    qint64 m_current = 0;
    int m_sent = 0;
    bool m_running = false;
};

} // namespace corvale

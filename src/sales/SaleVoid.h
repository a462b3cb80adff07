#pragma once

#include "sales/register/FiscalDevice.h"

#include <QDate>
#include <QObject>

#include <memory>
#include <optional>

namespace corvale {

class NetworkFiscalDevice;
class Shop;

// "Annullo" of a stored counter sale: the telematic register voids the
// receipt quoting it (closure, number, date, serial), and the void is stored
// as a negative copy of the sale (its lines back in stock); nothing is
// deleted. The copy and the sale hold each other's key in RIFVEN, so that a
// sale is never voided twice.
class SaleVoid : public QObject {
    Q_OBJECT
public:
    static inline const QString noDocumentText = QStringLiteral(
        "La vendita non ha un documento del registratore telematico da citare: non si può "
        "annullare con il registratore.");
    static inline const QString alreadyVoidedText =
        QStringLiteral("Lo scontrino di questa vendita è già stato annullato.");
    static inline const QString isVoidText =
        QStringLiteral("Questa vendita è l'annullo di un'altra: non si può annullare.");

    explicit SaleVoid(Shop &shop, QObject *parent = nullptr);
    ~SaleVoid() override;

    // The register's document of sale `key`; nothing (with the reason in
    // `reason`) when the sale cannot be voided. Throws db::Error.
    std::optional<FiscalDocumentRef> quote(qint64 key, QString *reason);
    // Sends the void of sale `key` quoting `quoted`; finished() follows
    // unless false (the reason told).
    bool start(qint64 key, const FiscalDocumentRef &quoted);
    bool isRunning() const;

    // Stores the negative copy of sale `key` with the void document `done`,
    // dated `date`, and links the two. Returns the copy's key. Throws db::Error.
    qint64 storeCopy(qint64 key, const FiscalDocumentRef &done, QDate date);

Q_SIGNALS:
    // stored: the void's copy key (0 when the register did not void it or
    // the copy could not be stored, the operator told).
    void finished(bool voided, qint64 stored);

private:
    void onFinished(const FiscalOutcome &outcome);

    Shop &m_shop;
    std::unique_ptr<NetworkFiscalDevice> m_device;
    qint64 m_key = 0;
};

} // namespace corvale

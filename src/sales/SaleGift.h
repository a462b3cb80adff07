#pragma once

#include "register/FiscalDevice.h"

#include <QObject>

#include <memory>

namespace corvale {

class NetworkFiscalDevice;
class Shop;

// The gift receipt of a stored sale. A register that prints one of its own
// (the RCH RT) does so only for the document it has just issued, so its copy
// is asked right after the sale's receipt; any other register, or a sale of
// earlier, gets the printout without prices on the shop's printer. A copy
// the register refuses is printed on the shop's printer instead.
class SaleGift : public QObject {
    Q_OBJECT
public:
    static inline const QString printTitle = QStringLiteral("Scontrino di cortesia");
    static inline const QString fallbackText =
        QStringLiteral("Il registratore non ha stampato lo scontrino di cortesia: viene stampato "
                       "sulla stampante del negozio.");
    static inline const QString notFoundText = QStringLiteral("Vendita non trovata!");
    static inline const QString returnText =
        QStringLiteral("Questa vendita è un reso o un annullo: non ha uno scontrino di cortesia.");

    explicit SaleGift(Shop &shop, QObject *parent = nullptr);
    ~SaleGift() override;

    // The gift receipt of sale `key`; `justIssued` when the register's last
    // document is that sale's receipt. done() follows unless false.
    bool issue(qint64 key, bool justIssued);
    // The printout of sale `key` on the shop's printer.
    bool print(qint64 key);
    bool isRunning() const;

Q_SIGNALS:
    // byRegister: the register printed its own copy.
    void done(bool byRegister);

private:
    void onFinished(const FiscalOutcome &outcome);

    Shop &m_shop;
    std::unique_ptr<NetworkFiscalDevice> m_device;
    qint64 m_key = 0;
};

} // namespace corvale

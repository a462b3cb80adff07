#pragma once

#include "register/FiscalDevice.h"

#include <QObject>

#include <memory>

namespace corvale {

class NetworkFiscalDevice;
class Shop;

// "Chiusura giornaliera" (Z) and "Lettura giornaliera" (X) of the telematic
// register, and its state: asked of the register configured in Dati.ini. A
// closure the register confirms is stored in CHIUSURE with its number, date
// and total.
class DailyClosure : public QObject {
    Q_OBJECT
public:
    static inline const QString notTelematicText = QStringLiteral(
        "Il registratore configurato non è telematico: la chiusura giornaliera si esegue sul "
        "registratore.");

    explicit DailyClosure(Shop &shop, QObject *parent = nullptr);
    ~DailyClosure() override;

    // False (after telling why) when no telematic register is configured or
    // a request is running; otherwise finished() follows.
    bool report(FiscalDevice::Report report);
    bool queryStatus();
    bool isRunning() const;

    // The answer in words, for the window.
    static QString describe(FiscalDevice::Report report, const FiscalOutcome &outcome);

Q_SIGNALS:
    void finished(const corvale::FiscalOutcome &outcome, const QString &text);

private:
    bool prepare();
    void onFinished(const FiscalOutcome &outcome);
    void store(const FiscalOutcome &outcome);

    Shop &m_shop;
    std::unique_ptr<NetworkFiscalDevice> m_device;
    std::optional<FiscalDevice::Report> m_report;
};

} // namespace corvale

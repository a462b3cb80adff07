#pragma once

#include "register/FiscalDevice.h"
#include "register/RegisterSettings.h"
#include "register/RegisterTransmission.h"

namespace corvale {

class Prompter;

// The registers on a serial line from before the telematic ones: the receipt
// goes out through the protocol of the configured make, byte for byte as
// ever. They number nothing and take every payment as cash; reports and the
// status query are not theirs.
class SerialFiscalDevice : public FiscalDevice {
    Q_OBJECT
public:
    static inline const QString notAvailableText =
        QStringLiteral("Operazione non disponibile con questo registratore di cassa.");

    SerialFiscalDevice(Prompter &prompter, QObject *parent = nullptr);

    void setSettings(const RegisterSettings &settings) { m_settings = settings; }
    RegisterTransmission &transmission() { return m_transmission; }
    // A make without a protocol holds the port until the sale ends.
    bool holdsPort() const { return m_transmission.isRunning() && !m_transmission.protocol(); }
    void release() { m_transmission.stop(); }

    // The receipt the serial protocols take for `document`.
    static Receipt legacyReceipt(const FiscalDocument &document);

    bool isRunning() const override { return m_transmission.isRunning(); }
    bool report(Report report) override;
    bool queryStatus() override;
    bool numbersDocuments() const override { return false; }

protected:
    bool transmit(const FiscalDocument &document) override;

private:
    void onFinished(bool completed, bool saveSale);

    Prompter &m_prompter;
    RegisterSettings m_settings;
    RegisterTransmission m_transmission;
};

} // namespace corvale

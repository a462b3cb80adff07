#pragma once

#include "register/FiscalDevice.h"
#include "register/RegisterSettings.h"
#include "register/RtDialect.h"
#include "register/RtLink.h"

#include <memory>

namespace corvale {

// A telematic register on the shop's network (or, for some makes, on the
// serial line). A receipt is never printed
// twice: the register's last document is read before the receipt goes out;
// when the answer to the receipt is lost, the last document is read again and
// compared with the one sent, and the receipt is sent again only when the
// register surely did not print it. A receipt counts as issued only with the
// number the register gave it.
class NetworkFiscalDevice : public FiscalDevice {
    Q_OBJECT
public:
    static inline const QString unconfirmedText = QStringLiteral(
        "Il registratore non ha confermato lo scontrino: verificare sul registratore se è stato "
        "emesso prima di inviarlo di nuovo. La vendita non è stata salvata e resta modificabile.");
    static inline const QString notIssuedText = QStringLiteral(
        "Il registratore non ha risposto e lo scontrino non è stato emesso: controllare il "
        "registratore e inviarlo di nuovo.");
    static inline const QString reportUnconfirmedText = QStringLiteral(
        "Il registratore non ha confermato l'operazione: verificare sul registratore se è stata "
        "eseguita.");

    // The make's dialect comes with the settings.
    explicit NetworkFiscalDevice(QObject *parent = nullptr);
    NetworkFiscalDevice(std::unique_ptr<RtDialect> dialect, QObject *parent = nullptr);
    ~NetworkFiscalDevice() override;

    // Settings of another telematic make change the dialect (between requests).
    void setSettings(const RegisterSettings &settings);
    const RegisterSettings &settings() const { return m_settings; }

    bool isRunning() const override { return m_phase != Phase::Idle; }
    bool report(Report report) override;
    bool queryStatus() override;
    bool numbersDocuments() const override { return true; }
    // The register prints a gift receipt of its last document itself.
    bool hasGiftReceipt() const { return m_dialect && !m_dialect->giftReceipt().isEmpty(); }
    // Asks for that gift receipt; finished() follows unless false (no such
    // receipt, or a request running).
    bool giftReceipt();

    // Requests sent so far (receipts, reports, queries), for the curious.
    int requestsSent() const { return m_requests; }

    static inline const QString credentialsText =
        QStringLiteral("Il registratore di cassa ha rifiutato utente e password: correggerli nella "
                       "configurazione.");

    static inline const QString unquotedText = QStringLiteral(
        "Il reso o l'annullo deve indicare lo scontrino originale (numero e chiusura del "
        "registratore): nulla è stato inviato.");

    static QString unreachableText(const QString &address);
    // The same for a register on a serial line.
    static QString silentPortText(const QString &device);
    // The register's refusal in words.
    static QString refusalText(const QString &code);
    // The register's state in words, from a status answer.
    static QString statusText(const RtAnswer &answer);

protected:
    bool transmit(const FiscalDocument &document) override;

private:
    enum class Phase {
        Idle,
        ReadingBefore, // the last document before the receipt goes out
        Sending,       // the receipt
        Verifying,     // the last document after a lost answer
        Reporting,     // a Z or X report
        Querying,      // the status query
        Gift           // the gift receipt of the last document
    };

    bool post(const QByteArray &body);
    void onReply(const std::optional<QByteArray> &body, bool reached);
    void onAnswer(const std::optional<RtAnswer> &answer);
    void afterReadingBefore(const std::optional<RtAnswer> &answer);
    void afterSending(const std::optional<RtAnswer> &answer);
    void afterVerifying(const std::optional<RtAnswer> &answer);
    void finish(FiscalOutcome outcome);
    bool start(Phase phase, const QByteArray &body);
    FiscalDocumentRef refOf(const RtAnswer &answer) const;
    // The register does not answer where the settings say it is.
    QString unreachable() const;
    void setDialect(std::unique_ptr<RtDialect> dialect);

    std::unique_ptr<RtDialect> m_dialect;
    RegisterSettings m_settings;
    std::unique_ptr<RtLink> m_link;
    Phase m_phase = Phase::Idle;
    FiscalDocument m_sending;
    QByteArray m_receiptBody;
    RtAnswer m_before;
    int m_retriesLeft = 0;
    int m_requests = 0;
    bool m_reached = false; // the last request reached the register
};

} // namespace corvale

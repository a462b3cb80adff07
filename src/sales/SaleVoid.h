#pragma once

#include "documents/LineSheet.h"
#include "register/FiscalDevice.h"
#include "sales/VoucherStore.h"

#include <QDate>
#include <QObject>

#include <memory>
#include <optional>

namespace corvale {

class NetworkFiscalDevice;
class Shop;

// A line of a stored sale and how much of it is still to be returned.
struct ReturnableLine {
    SheetRow row;
    double sold = 0;
    double returned = 0; // by the returns stored so far
    double left() const { return sold - returned; }
};

// The pieces chosen for a return: `quantity` of line `line` of the sale.
struct ReturnPick {
    int line = 0;
    double quantity = 0;
};

// A return worked out: the lines as the return stores them (negative
// quantities), what the register prints for each and the refund.
struct ReturnPlan {
    QList<SheetRow> rows;
    QList<ReceiptLine> receiptLines; // positive, each to the cent
    Money refund;
};

// "Annullo" and "Reso" of a stored counter sale. The telematic register
// prints a void of the whole receipt, or a return of some of its pieces,
// quoting the receipt (closure, number, date, serial); either is stored as a
// sale with negative quantities and total (its pieces back in stock) that
// holds the sale's key in RIFVEN; nothing is deleted. The voided sale holds
// its void's key, so a sale is never voided twice; the pieces returned are
// counted from the returns stored, so none is returned twice. The refund is
// paid in cash, by card or as a store-credit voucher ("Buono").
class SaleVoid : public QObject {
    Q_OBJECT
public:
    enum class Operation { Void, Return };

    static inline const QString noDocumentText = QStringLiteral(
        "La vendita non ha un documento del registratore telematico da citare: non si può "
        "annullare con il registratore.");
    static inline const QString alreadyVoidedText =
        QStringLiteral("Lo scontrino di questa vendita è già stato annullato.");
    static inline const QString isVoidText =
        QStringLiteral("Questa vendita è l'annullo di un'altra: non si può annullare.");
    static inline const QString isReturnText =
        QStringLiteral("Questa vendita è un reso: non si può annullare né rendere.");
    static inline const QString hasReturnsText = QStringLiteral(
        "Alcuni capi di questa vendita sono già stati resi: non si può annullare lo scontrino, "
        "si può fare il reso dei capi rimasti.");
    static inline const QString noDocumentReturnText = QStringLiteral(
        "La vendita non ha un documento del registratore telematico da citare: non si può fare "
        "il reso con il registratore.");
    static inline const QString voidedReturnText = QStringLiteral(
        "Lo scontrino di questa vendita è stato annullato: non c'è nulla da rendere.");
    static inline const QString isVoidReturnText =
        QStringLiteral("Questa vendita è l'annullo di un'altra: non c'è nulla da rendere.");
    static inline const QString allReturnedText =
        QStringLiteral("Tutti i capi di questa vendita sono già stati resi.");
    static inline const QString nothingChosenText =
        QStringLiteral("Scegliere almeno un capo da rendere.");
    static inline const QString tooManyText =
        QStringLiteral("Di «%1» si possono rendere al massimo %2 pezzi.");
    // A sale stored while the register could not be reached has no receipt
    // to quote until it is sent.
    static inline const QString notFiscalisedText = QStringLiteral(
        "La vendita non è ancora fiscalizzata: inviarla al registratore (\"Non fiscalizzate\") "
        "prima di farne il reso o l'annullo.");
    static inline const QString byHandText = QStringLiteral(
        "La vendita è stata registrata a mano nel registro dei corrispettivi di emergenza: il "
        "registratore non ha uno scontrino da citare, il reso o l'annullo va registrato a mano.");

    explicit SaleVoid(Shop &shop, QObject *parent = nullptr);
    ~SaleVoid() override;

    // The register's document of sale `key`; nothing (with the reason in
    // `reason`) when the sale cannot be voided. Throws db::Error.
    std::optional<FiscalDocumentRef> quote(qint64 key, QString *reason);
    // The same for a return of some of its pieces.
    std::optional<FiscalDocumentRef> quoteReturn(qint64 key, QString *reason);
    // The lines of sale `key` with the pieces already returned. Throws db::Error.
    QList<ReturnableLine> returnable(qint64 key);
    // The return of `picks` from sale `key`; nothing (the reason told) when
    // no piece is chosen or more than are left. Throws db::Error.
    std::optional<ReturnPlan> planReturn(qint64 key, const QList<ReturnPick> &picks,
                                         QString *reason);

    // Sends the void of sale `key` quoting `quoted`; finished() follows
    // unless false (the reason told). Without `refund` the void gives back
    // the sale's own payment split.
    bool start(qint64 key, const FiscalDocumentRef &quoted,
               std::optional<PaymentType> refund = std::nullopt);
    // Sends the return `plan` of sale `key`, refunded as `refund`.
    bool startReturn(qint64 key, const FiscalDocumentRef &quoted, const ReturnPlan &plan,
                     PaymentType refund);
    bool isRunning() const;

    // Stores the negative copy of sale `key` with the void document `done`,
    // dated `date`, and links the two. Returns the copy's key. Throws db::Error.
    qint64 storeCopy(qint64 key, const FiscalDocumentRef &done, QDate date,
                     std::optional<PaymentType> refund = std::nullopt);
    // Stores the return `plan` of sale `key` with its document `done`.
    qint64 storeReturn(qint64 key, const ReturnPlan &plan, const FiscalDocumentRef &done,
                       QDate date, PaymentType refund);
    // The same refunded with `refunds`, whose sum is the plan's refund.
    qint64 storeReturn(qint64 key, const ReturnPlan &plan, const FiscalDocumentRef &done,
                       QDate date, const QList<Tender> &refunds);

    Operation lastOperation() const { return m_operation; }
    // The voucher the last refund was paid with.
    const std::optional<Voucher> &issuedVoucher() const { return m_voucher; }

Q_SIGNALS:
    // stored: the copy's key (0 when the register did not take it or the
    // copy could not be stored, the operator told).
    void finished(bool voided, qint64 stored);

private:
    struct QuoteTexts {
        QString noDocument;
        QString voided;
        QString isVoid;
    };
    std::optional<FiscalDocumentRef> quotable(qint64 key, QString *reason, const QuoteTexts &texts);
    bool send(qint64 key);
    void onFinished(const FiscalOutcome &outcome);
    // The returns stored of sale `key` (not its void).
    QList<qint64> returnsOf(qint64 key, qint64 voidKey);
    qint64 storeNegative(qint64 key, const QList<SheetRow> &rows, Money total,
                         const FiscalDocumentRef &done, QDate date,
                         const std::optional<QList<Tender>> &refunds, bool linkBack);
    // The stored lines of sale `key`, as the sale sheet holds them.
    QList<SheetRow> storedLines(qint64 key);

    Shop &m_shop;
    std::unique_ptr<NetworkFiscalDevice> m_device;
    qint64 m_key = 0;
    Operation m_operation = Operation::Void;
    std::optional<ReturnPlan> m_plan;
    std::optional<PaymentType> m_refund;
    std::optional<Voucher> m_voucher;
};

} // namespace corvale

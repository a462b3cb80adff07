#pragma once

#include "sales/SaleCodeLookup.h"
#include "sales/SaleStock.h"
#include "sales/SaleVoid.h"

#include <QObject>

#include <memory>
#include <optional>

namespace corvale {

class NetworkFiscalDevice;
class Shop;

// An exchange worked out: the pieces going back (a return of the sale), the
// pieces taking their place (a new sale) and the tenders of each document.
//
// The two documents settle only the difference. The part the two have in
// common, the smaller of the two totals, is refunded in cash by the return
// and paid in cash by the sale, so that the register's cash, the cash book
// and the takings see it come in and go out on the same day: no money moves
// for it. The difference goes with the tender chosen: on the sale when the
// customer pays more, on the return (cash, card or a voucher issued) when the
// customer gets some back.
struct ExchangePlan {
    ReturnPlan back;
    QList<SheetRow> rows; // the new pieces, as the sale stores them
    Money saleTotal;
    QList<Tender> returnTenders;
    QList<Tender> saleTenders;

    // What the customer pays (positive) or gets back (negative).
    Money difference() const { return saleTotal - back.refund; }
    // The tenders of both documents for `back` and `saleTotal`.
    void settle(PaymentType difference);
};

// "Cambio taglia": a same-day exchange at the counter as one operation. The
// pieces chosen from a sale of today go back into stock through a return
// that quotes the sale's receipt, the new pieces are sold by a second
// receipt, and the return and the sale hold each other's key (RIFCAMBIO).
// The return goes first: when the register does not take the sale after
// it, the return is already stored and the exchange waits, saying so, until
// the sale is sent again or the operator gives up, in which case the return
// stands alone as an ordinary return and the customer is refunded as it
// says. Nothing is ever left half-stored without the operator being told.
class SaleExchange : public QObject {
    Q_OBJECT
public:
    enum class Stage {
        Idle,
        SendingReturn,
        SendingSale,
        SalePending, // the return is stored, the sale is not
        Done
    };

    static inline const QString sameDayText = QStringLiteral(
        "Il cambio taglia si fa solo nel giorno della vendita: questa vendita è del %1.\rPer una "
        "vendita di un altro giorno usare «Reso».");
    static inline const QString noReplacementText =
        QStringLiteral("Scegliere o leggere almeno un capo nuovo da dare al cliente.");
    static inline const QString notTelematicText = QStringLiteral(
        "Il cambio taglia richiede il registratore telematico: configurarlo in «Registratore di "
        "cassa».");
    static inline const QString returnNotStoredText =
        QStringLiteral("Il registratore ha emesso il reso (documento n. %1) ma il reso non è stato "
                       "registrato nell'archivio: il cambio si è fermato, la nuova vendita non è "
                       "stata inviata.");
    static inline const QString saleNotStoredText =
        QStringLiteral("Il registratore ha emesso la nuova vendita (documento n. %1) ma non è "
                       "stata registrata nell'archivio.");
    static inline const QString pendingText = QStringLiteral(
        "Il reso (documento n. %1) è stato emesso e registrato, la nuova vendita no.\r«Riprova» la "
        "invia di nuovo; «Rinuncia» lascia il reso da solo.");
    static inline const QString unconfirmedAgainText = QStringLiteral(
        "Il registratore non aveva confermato la nuova vendita.\rVerificato sul registratore che "
        "non è stata emessa, inviarla di nuovo?");
    static inline const QString abandonedText = QStringLiteral(
        "Cambio non completato: il reso (documento n. %1) resta registrato da solo.\rDare al "
        "cliente: %2. I capi nuovi restano in negozio.");

    explicit SaleExchange(Shop &shop, QObject *parent = nullptr);
    ~SaleExchange() override;

    // The register's document of sale `key` when its pieces can be exchanged
    // today; nothing with the reason otherwise. Throws db::Error.
    std::optional<FiscalDocumentRef> quote(qint64 key, QString *reason);
    QList<ReturnableLine> returnable(qint64 key) { return m_void.returnable(key); }
    // The pieces going back alone. Throws db::Error.
    std::optional<ReturnPlan> planBack(qint64 key, const QList<ReturnPick> &picks,
                                       QString *reason) {
        return m_void.planReturn(key, picks, reason);
    }

    // A code typed or scanned for a new piece: a whole line (`row` set), or
    // the article whose colour and size are still to be chosen from its
    // stock. Throws db::Error.
    struct Found {
        std::optional<SheetRow> row;
        qint64 article = 0;
    };
    Found lookup(const QString &code);
    // The stock of `article` by colour and size, with its description and
    // size type. Throws db::Error.
    struct ArticleStock {
        SaleStock stock;
        QString description;
        QString sizeTypeName;
    };
    ArticleStock stockOf(qint64 article);
    // The piece of stock cell (row, position); nothing when it sells
    // nothing. Throws db::Error.
    std::optional<SheetRow> fromStock(const SaleStock &stock, int row, int position);

    // The exchange of `picks` of sale `key` for `rows`, the difference
    // settled as `difference`; nothing with the reason when a choice is
    // missing or wrong. Throws db::Error.
    std::optional<ExchangePlan> plan(qint64 key, const QList<ReturnPick> &picks,
                                     const QList<SheetRow> &rows, PaymentType difference,
                                     QString *reason);

    // Sends the return, then the sale; finished() follows unless false (the
    // reason told). A difference paid with a voucher names it in `voucher`.
    bool start(qint64 key, const FiscalDocumentRef &quoted, const ExchangePlan &plan,
               const QString &voucher = {});
    // The sale again after a failure, or the return left alone.
    bool retry();
    void abandon();

    Stage stage() const { return m_stage; }
    bool isRunning() const {
        return m_stage == Stage::SendingReturn || m_stage == Stage::SendingSale;
    }
    qint64 returnKey() const { return m_returnKey; }
    qint64 saleKey() const { return m_saleKey; }
    const FiscalDocumentRef &returnDocument() const { return m_returnDocument; }
    const FiscalDocumentRef &saleDocument() const { return m_saleDocument; }
    // The voucher the return issued for the difference.
    const std::optional<Voucher> &issuedVoucher() const { return m_voucher; }
    // What the customer is given when the return stays alone, in words.
    QString refundWords() const;

Q_SIGNALS:
    void stageChanged(corvale::SaleExchange::Stage stage);
    // completed: both documents are issued, stored and linked.
    void finished(bool completed);

private:
    void setStage(Stage stage);
    void onFinished(const FiscalOutcome &outcome);
    void afterReturn(const FiscalOutcome &outcome);
    void afterSale(const FiscalOutcome &outcome);
    bool sendSale();
    qint64 storeSale(const FiscalDocumentRef &done, QDate date);
    SheetRow rowOf(const db::Table &article, const QVariantMap &values);
    void giveBackVoucher();
    void fail();

    Shop &m_shop;
    SaleVoid m_void;
    SaleCodeLookup m_lookup;
    std::unique_ptr<NetworkFiscalDevice> m_device;
    Stage m_stage = Stage::Idle;
    qint64 m_key = 0;
    ExchangePlan m_plan;
    qint64 m_voucherClaim = 0;
    bool m_unconfirmed = false;
    qint64 m_returnKey = 0;
    qint64 m_saleKey = 0;
    FiscalDocumentRef m_returnDocument;
    FiscalDocumentRef m_saleDocument;
    std::optional<Voucher> m_voucher;
};

} // namespace corvale

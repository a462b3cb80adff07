#pragma once

#include "register/FiscalDocument.h"

#include <optional>

namespace corvale {

// How the customer pays: the tenders (their sum is the amount due) and, when
// the change is worked out, the cash handed over.
struct SalePayment {
    QList<Tender> tenders;
    std::optional<double> cashGiven;

    Money part(PaymentType type) const;
};

// What a sale keeps of its receipt: the register's document (a telematic
// register numbers it), the payment split, the lottery code and the
// customer's codice fiscale sent with it. A sale stored while the register
// could not be reached has no document and waits to be sent.
struct SaleFiscalRecord {
    FiscalDocumentRef document;
    SalePayment payment;
    QString lotteryCode;
    QString customerTaxCode;
    bool notFiscalised = false;
};

// The payment the counter chooses: up to three tenders. A voucher's part
// comes first; what it leaves is paid all in cash, all by card
// ("Elettronico"), or split, the card part typed and the rest in cash.
class SalePaymentChoice {
public:
    enum class Mode { Cash, Card, Split };

    static inline const QString cardPartText = QStringLiteral(
        "Importo elettronico non valido: deve essere maggiore di zero e minore del totale.");
    static inline const QString lotteryText =
        QStringLiteral("Il codice lotteria deve avere 8 caratteri, lettere maiuscole e cifre.");
    static inline const QString lotteryCashText =
        QStringLiteral("Il codice lotteria vale solo con un pagamento elettronico.");

    // The tenders for `net`, `voucher` of it paid by a voucher; nothing (with
    // the reason in `error`) when the card part is not a number between zero
    // and what the voucher leaves.
    static std::optional<SalePayment> make(Mode mode, Money net, const QString &cardText,
                                           QString *error, Money voucher = Money());
    // An empty code is none; a code is 8 upper-case letters or digits.
    static bool lotteryCodeValid(const QString &code);
};

} // namespace corvale

#pragma once

#include "register/FiscalDocument.h"

#include <QObject>

namespace corvale {

// How a request to the register ended.
struct FiscalOutcome {
    enum class Status {
        Confirmed,   // the register took it (and numbered it, for an RT)
        Refused,     // the register answered no: nothing was printed
        Unconfirmed, // the answer was lost and the register could not tell
                     // whether it printed: the operator must check
        Unreachable  // no register to talk to
    };
    Status status = Status::Unreachable;
    FiscalDocumentRef document; // a receipt's identity, or the closure of a Z report
    QString message;            // for the operator; empty when already shown
    QString deviceStatus;       // the register's state in words (status query)
    Money amount;               // the total the register recorded
    bool saveSale = false;      // the register's protocol asks the sale to save itself

    bool confirmed() const { return status == Status::Confirmed; }
};

// One fiscal register, whatever its make: the sale describes its document
// with begin(), line(), lineDiscount(), subtotalDiscount(), lotteryCode(),
// customerTaxCode(), payment() and sends it with end(); the answer comes with
// finished(). Z and X reports and the status query go the same way. At most
// one request runs at a time.
class FiscalDevice : public QObject {
    Q_OBJECT
public:
    enum class Report { Z, X };

    using QObject::QObject;

    void begin(FiscalDocument::Kind kind = FiscalDocument::Kind::Sale,
               std::optional<FiscalDocumentRef> quoted = {});
    void line(const QString &description, double quantity, double price, double vat, double amount);
    // The discount of the line last added, in percent; `amount` is the line's
    // amount after it.
    void lineDiscount(double percent, double amount);
    // The line last added is sold at the price of `campaign`, announced as
    // `percent` off `previous`, the lowest price of the 30 days before it.
    void lineReduction(double previous, int percent, const QString &campaign);
    // The discount on the whole sale, bringing the lines' total to `net`.
    void subtotalDiscount(double percent, double amount, double net);
    void lotteryCode(const QString &code);
    void customerTaxCode(const QString &code);
    void payment(PaymentType type, Money amount);
    // The cash handed over, when the change is worked out.
    void cashGiven(double cash);
    void changeCalculated(bool on) { m_document.calcResto = on; }
    // Sends the document. False when it could not even start (the reason has
    // been told); otherwise finished() follows.
    bool end();

    // Whole documents, for callers that hold one.
    void setDocument(const FiscalDocument &document) { m_document = document; }
    const FiscalDocument &document() const { return m_document; }

    virtual bool isRunning() const = 0;
    virtual bool report(Report report) = 0;
    virtual bool queryStatus() = 0;
    // The register numbers its documents (a telematic register).
    virtual bool numbersDocuments() const = 0;

Q_SIGNALS:
    void busyChanged(bool busy);
    void finished(const corvale::FiscalOutcome &outcome);

protected:
    virtual bool transmit(const FiscalDocument &document) = 0;

private:
    FiscalDocument m_document;
};

} // namespace corvale

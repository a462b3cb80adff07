#pragma once

#include "platform/Money.h"
#include "register/Receipt.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace corvale {

// How a tender is paid, as a telematic register records it.
enum class PaymentType {
    Cash,   // "Contanti"
    Card,   // "Elettronico": card or other electronic payment
    Voucher // store credit ("Buono"): not takings of the day
};

struct Tender {
    PaymentType type = PaymentType::Cash;
    Money amount; // the part of the total paid this way
};

// The identity a telematic register gives a document: the number within the
// day, the closure ("azzeramento") it belongs to, when and on which device.
struct FiscalDocumentRef {
    int number = 0;
    int closure = 0;
    QDateTime dateTime;
    QString serial;

    bool isValid() const { return number > 0; }
    friend bool operator==(const FiscalDocumentRef &, const FiscalDocumentRef &) = default;
};

// A line sold at a campaign's price: the lowest price of the 30 days before
// the campaign, the reduction announced against it and the campaign's name.
// Registers that take amounts show the line at the previous price less the
// reduction; the others print its price and discount as they are.
struct LineReduction {
    double previous = 0;
    int percent = 0;
    QString campaign;
};

// One document for the register, whatever the device. Built by the calls of
// FiscalDevice (begin, line, lineDiscount, ...) and rendered by each driver
// in its own language.
struct FiscalDocument {
    enum class Kind {
        Sale,
        Return, // quotes the sale it takes goods back from
        Void    // quotes the sale it cancels
    };

    Kind kind = Kind::Sale;
    std::optional<FiscalDocumentRef> quoted;
    // The lines as the sale works them (amount after the line discount).
    QList<ReceiptLine> lines;
    QMap<qsizetype, LineReduction> reductions; // by the line's index in `lines`
    double saleDiscountPercent = 0;            // on the subtotal
    double saleDiscountAmount = 0;             // gross of the lines - net total
    double net = 0;                            // the amount due, as the sale stores it
    QString lotteryCode;
    QString customerTaxCode;
    QList<Tender> tenders;
    // Cash handed over by the customer when the change is worked out; the
    // change comes from the cash tender only.
    std::optional<double> cashGiven;
    bool calcResto = false;

    Money total() const { return Money::of(net); }
    Money tendered() const;
    Money tendered(PaymentType type) const;
    // The change on the cash tender: nothing when the cash given does not
    // cover it.
    std::optional<Money> change() const;
};

} // namespace corvale

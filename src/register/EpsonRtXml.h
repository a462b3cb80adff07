#pragma once

#include "register/FiscalDevice.h"
#include "register/RtAnswer.h"

#include <QByteArray>
#include <QMap>

#include <functional>
#include <optional>

namespace corvale {

// The figures of a document as a telematic register takes them: each line's
// price and the discounts in cents, so that the register's total is the
// sale's total to the cent.
struct RtLine {
    QString description;
    double quantity = 0;
    Money unitPrice;
    Money discount; // the line's own discount, an amount
    double discountPercent = 0;
    int department = 0;
    // The description of the line's discount ("SCONTO 10%" when empty) and a
    // text printed under the line: a line sold at a campaign's price shows
    // the previous price and the campaign's reduction from it.
    QString adjustment;
    QString note;
    // A line sold at a campaign's price, and the campaign's name.
    bool reduced = false;
    QString campaign;
};

struct RtFigures {
    QList<RtLine> lines;
    Money subtotal;         // the lines after their own discounts
    Money subtotalDiscount; // on the subtotal; negative: a surcharge
};

// The lines with a description and a quantity, their departments from
// `department`, and the discounts; nothing (with the offending rate) when a
// VAT rate has no department.
struct RtFiguresResult {
    std::optional<RtFigures> figures;
    double missingRate = 0;
};
RtFiguresResult rtFigures(const FiscalDocument &document,
                          const std::function<std::optional<int>(double vat)> &department);
// "SALDI ESTIVI -30%", at most `width` characters: the name is cut, never the
// percentage.
QString reductionDescription(const QString &campaign, int percent, int width = 38);
// "Prezzo precedente € 79,90"
QString previousPriceNote(Money previous);

// What sets one make's XML documents apart from Epson's.
struct RtXmlStyle {
    bool envelope = true;      // the command inside a SOAP envelope
    bool justification = true; // the "justification" attribute of printed lines
    QString lotteryElement = QStringLiteral("printRecLotteryID");
};

// "Fiscal ePOS-Print": the documents an Epson RT takes over HTTP and the
// answers it gives, as SOAP envelopes. The Custom RT takes documents of the
// same shape, written in its own style.
class EpsonRtXml {
public:
    static inline const QString path = QStringLiteral("/cgi-bin/fpmate.cgi");

    using Style = RtXmlStyle;

    static QByteArray envelope(const QByteArray &command);
    static QByteArray receipt(const FiscalDocument &document, const RtFigures &figures,
                              const QString &serial, const Style &style = Style());
    static QByteArray report(FiscalDevice::Report report, const Style &style = Style());
    static QByteArray statusQuery(const Style &style = Style());

    // "REFUND zzzz nnnn ddmmyyyy serial", "VOID ..." for a quoted document.
    static QString quoteText(FiscalDocument::Kind kind, const FiscalDocumentRef &quoted);
    // An amount as the register writes it: "12,50".
    static QString amountText(Money amount);
    static QString quantityText(double quantity);
    // "12,50" or "12.50" back to cents; nothing for anything else.
    static std::optional<Money> parseAmount(const QString &text);

    static RtAnswer parse(const QByteArray &answer);

    static QString paymentDescription(PaymentType type);
    static int paymentTypeCode(PaymentType type);
};

} // namespace corvale

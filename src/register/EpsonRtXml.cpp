#include "register/EpsonRtXml.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>

namespace corvale {

namespace {

const QString operatorId = QStringLiteral("1");

QString percentText(double percent) {
    QString text = QString::number(percent, 'f', 2);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text.replace(u'.', u',');
}

QString discountDescription(double percent) {
    return percent > 0 ? QStringLiteral("SCONTO %1%").arg(percentText(percent))
                       : QStringLiteral("SCONTO");
}

// Free text goes to the register as it prints it: no control characters, at
// most `width` characters.
QString printable(const QString &text, int width) {
    QString out;
    for (QChar c : text)
        out += c.unicode() < 0x20 || c.unicode() == 0x7f ? u' ' : c;
    return out.trimmed().left(width);
}

QByteArray command(const EpsonRtXml::Style &style,
                   const std::function<void(QXmlStreamWriter &)> &body) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    body(w);
    if (style.envelope)
        return EpsonRtXml::envelope(out);
    return QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n") + out;
}

void message(QXmlStreamWriter &w, const QString &text) {
    w.writeEmptyElement(QStringLiteral("printRecMessage"));
    w.writeAttribute(QStringLiteral("operator"), operatorId);
    w.writeAttribute(QStringLiteral("messageType"), QStringLiteral("4"));
    w.writeAttribute(QStringLiteral("message"), text);
}

} // namespace

RtFiguresResult rtFigures(const FiscalDocument &document,
                          const std::function<std::optional<int>(double vat)> &department) {
    RtFiguresResult result;
    RtFigures f;
    for (qsizetype i = 0; i < document.lines.size(); ++i) {
        const ReceiptLine &line = document.lines[i];
        if (!line.isLine() || line.quantity == 0)
            continue;
        const auto dept = department(line.vat);
        if (!dept) {
            result.missingRate = line.vat;
            return result;
        }
        RtLine l;
        l.description = line.description;
        l.quantity = line.quantity;
        l.unitPrice = Money::of(line.price);
        l.department = *dept;
        const Money gross = Money::of(line.price * line.quantity);
        const Money amount = Money::of(line.amount);
        const LineReduction reduction = document.reductions.value(i);
        const Money previousGross = Money::of(reduction.previous * line.quantity);
        // A campaign's line goes at its previous price, less the reduction down
        // to the amount the sale charges for it.
        if (reduction.previous > 0 && document.kind == FiscalDocument::Kind::Sale &&
            line.quantity > 0 && previousGross > amount) {
            l.unitPrice = Money::of(reduction.previous);
            l.discount = previousGross - amount;
            l.discountPercent = reduction.percent;
            l.adjustment = reductionDescription(reduction.campaign, reduction.percent);
            l.reduced = true;
            l.campaign = reduction.campaign;
            l.note = previousPriceNote(l.unitPrice);
            f.subtotal += amount;
            f.lines << l;
            continue;
        }
        if (line.discount != 0) {
            l.discount = gross - amount;
            l.discountPercent = line.discount;
        }
        f.subtotal += gross - l.discount;
        f.lines << l;
    }
    // Whatever the rounding of the lines, the register's total is the sale's.
    f.subtotalDiscount = f.subtotal - document.total();
    result.figures = f;
    return result;
}

QString reductionDescription(const QString &campaign, int percent, int width) {
    const QString suffix = QStringLiteral(" -%1%").arg(percent);
    QString name = printable(campaign, width);
    if (name.isEmpty())
        name = QStringLiteral("RIBASSO");
    return name.left(width - int(suffix.size())).trimmed() + suffix;
}

QString previousPriceNote(Money previous) {
    return QStringLiteral("Prezzo precedente € ") + EpsonRtXml::amountText(previous);
}

QByteArray EpsonRtXml::envelope(const QByteArray &command) {
    return QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                      "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                      "<s:Body>") +
           command + QByteArray("</s:Body></s:Envelope>");
}

QString EpsonRtXml::amountText(Money amount) {
    const qint64 cents = amount.cents();
    const qint64 whole = cents / 100;
    const int rest = int(std::abs(cents % 100));
    return QStringLiteral("%1%2,%3")
        .arg(cents < 0 && whole == 0 ? QStringLiteral("-") : QString())
        .arg(whole)
        .arg(rest, 2, 10, QChar(u'0'));
}

QString EpsonRtXml::quantityText(double quantity) {
    QString text = QString::number(quantity, 'f', 3);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text.replace(u'.', u',');
}

std::optional<Money> EpsonRtXml::parseAmount(const QString &text) {
    QString t = text.trimmed();
    t.replace(u',', u'.');
    if (t.isEmpty() || t.size() > 20)
        return std::nullopt;
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return Money::of(value);
}

QString EpsonRtXml::quoteText(FiscalDocument::Kind kind, const FiscalDocumentRef &quoted) {
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(kind == FiscalDocument::Kind::Void ? QStringLiteral("VOID") : QStringLiteral("REFUND"))
        .arg(quoted.closure, 4, 10, QChar(u'0'))
        .arg(quoted.number, 4, 10, QChar(u'0'))
        .arg(quoted.dateTime.date().toString(QStringLiteral("ddMMyyyy")), quoted.serial);
}

QString EpsonRtXml::paymentDescription(PaymentType type) {
    switch (type) {
    case PaymentType::Cash:
        return QStringLiteral("CONTANTI");
    case PaymentType::Card:
        return QStringLiteral("ELETTRONICO");
    case PaymentType::Voucher:
        return QStringLiteral("BUONO");
    }
    return {};
}

int EpsonRtXml::paymentTypeCode(PaymentType type) {
    switch (type) {
    case PaymentType::Cash:
        return 0;
    case PaymentType::Card:
        return 2;
    case PaymentType::Voucher:
        return 3;
    }
    return 0;
}

QByteArray EpsonRtXml::receipt(const FiscalDocument &document, const RtFigures &figures,
                               const QString &serial, const Style &style) {
    auto justify = [&](QXmlStreamWriter &w, const char *value) {
        if (style.justification)
            w.writeAttribute(QStringLiteral("justification"), QLatin1String(value));
    };
    return command(style, [&](QXmlStreamWriter &w) {
        using K = FiscalDocument::Kind;
        w.writeStartElement(QStringLiteral("printerFiscalReceipt"));
        if (document.kind != K::Sale && document.quoted) {
            FiscalDocumentRef quoted = *document.quoted;
            if (quoted.serial.isEmpty())
                quoted.serial = serial;
            message(w, quoteText(document.kind, quoted));
        }
        w.writeEmptyElement(QStringLiteral("beginFiscalReceipt"));
        w.writeAttribute(QStringLiteral("operator"), operatorId);
        if (document.kind != K::Void) {
            const bool refund = document.kind == K::Return;
            for (const RtLine &line : figures.lines) {
                w.writeEmptyElement(refund ? QStringLiteral("printRecRefund")
                                           : QStringLiteral("printRecItem"));
                w.writeAttribute(QStringLiteral("operator"), operatorId);
                w.writeAttribute(QStringLiteral("description"), printable(line.description, 38));
                w.writeAttribute(QStringLiteral("quantity"), quantityText(line.quantity));
                w.writeAttribute(QStringLiteral("unitPrice"), amountText(line.unitPrice));
                w.writeAttribute(QStringLiteral("department"), QString::number(line.department));
                justify(w, "1");
                if (!line.discount.isZero() && !refund) {
                    w.writeEmptyElement(QStringLiteral("printRecItemAdjustment"));
                    w.writeAttribute(QStringLiteral("operator"), operatorId);
                    w.writeAttribute(QStringLiteral("adjustmentType"), QStringLiteral("0"));
                    w.writeAttribute(QStringLiteral("description"),
                                     line.adjustment.isEmpty()
                                         ? discountDescription(line.discountPercent)
                                         : line.adjustment);
                    w.writeAttribute(QStringLiteral("amount"), amountText(line.discount));
                    w.writeAttribute(QStringLiteral("department"),
                                     QString::number(line.department));
                    justify(w, "1");
                }
                if (!line.note.isEmpty() && !refund)
                    message(w, line.note);
            }
            if (!figures.subtotalDiscount.isZero() && !refund) {
                const bool surcharge = figures.subtotalDiscount < Money();
                w.writeEmptyElement(QStringLiteral("printRecSubtotalAdjustment"));
                w.writeAttribute(QStringLiteral("operator"), operatorId);
                w.writeAttribute(QStringLiteral("adjustmentType"),
                                 surcharge ? QStringLiteral("6") : QStringLiteral("1"));
                w.writeAttribute(QStringLiteral("description"),
                                 surcharge ? QStringLiteral("ARROTONDAMENTO")
                                           : discountDescription(document.saleDiscountPercent));
                w.writeAttribute(
                    QStringLiteral("amount"),
                    amountText(surcharge ? -figures.subtotalDiscount : figures.subtotalDiscount));
                justify(w, "1");
            }
            if (!document.lotteryCode.isEmpty()) {
                w.writeEmptyElement(style.lotteryElement);
                w.writeAttribute(QStringLiteral("operator"), operatorId);
                w.writeAttribute(QStringLiteral("code"), document.lotteryCode);
            }
            if (!document.customerTaxCode.isEmpty())
                message(w, QStringLiteral("C.F. CLIENTE: ") + document.customerTaxCode);
            for (const Tender &t : document.tenders) {
                Money paid = t.amount;
                // The register works out the change on the cash handed over.
                if (t.type == PaymentType::Cash && document.cashGiven &&
                    Money::of(*document.cashGiven) > paid)
                    paid = Money::of(*document.cashGiven);
                w.writeEmptyElement(QStringLiteral("printRecTotal"));
                w.writeAttribute(QStringLiteral("operator"), operatorId);
                w.writeAttribute(QStringLiteral("description"), paymentDescription(t.type));
                w.writeAttribute(QStringLiteral("payment"), amountText(paid));
                w.writeAttribute(QStringLiteral("paymentType"),
                                 QString::number(paymentTypeCode(t.type)));
                w.writeAttribute(QStringLiteral("index"),
                                 QString::number(t.type == PaymentType::Cash ? 0 : 1));
                justify(w, "2");
            }
        }
        w.writeEmptyElement(QStringLiteral("endFiscalReceipt"));
        w.writeAttribute(QStringLiteral("operator"), operatorId);
        w.writeEndElement();
    });
}

QByteArray EpsonRtXml::report(FiscalDevice::Report report, const Style &style) {
    return command(style, [&](QXmlStreamWriter &w) {
        w.writeStartElement(QStringLiteral("printerFiscalReport"));
        w.writeEmptyElement(report == FiscalDevice::Report::Z ? QStringLiteral("printZReport")
                                                              : QStringLiteral("printXReport"));
        w.writeAttribute(QStringLiteral("operator"), operatorId);
        w.writeEndElement();
    });
}

QByteArray EpsonRtXml::statusQuery(const Style &style) {
    return command(style, [&](QXmlStreamWriter &w) {
        w.writeStartElement(QStringLiteral("printerCommand"));
        w.writeEmptyElement(QStringLiteral("queryPrinterStatus"));
        w.writeAttribute(QStringLiteral("operator"), operatorId);
        w.writeAttribute(QStringLiteral("statusType"), QStringLiteral("1"));
        w.writeEndElement();
    });
}

RtAnswer EpsonRtXml::parse(const QByteArray &answer) {
    RtAnswer out;
    if (answer.size() > 1 << 20)
        return out;
    QXmlStreamReader r(answer);
    bool inResponse = false;
    bool seenResponse = false;
    QString success;
    QString dateText;
    QString timeText;
    bool numbersOk = true;
    auto number = [&](const QString &text) {
        bool ok = false;
        const int n = text.trimmed().toInt(&ok);
        if (!ok || n < 0) {
            numbersOk = false;
            return 0;
        }
        return n;
    };
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            const QStringView name = r.name();
            if (name == u"response" && !seenResponse) {
                inResponse = seenResponse = true;
                success = r.attributes().value(QStringLiteral("success")).toString();
                out.code = r.attributes().value(QStringLiteral("code")).toString();
                out.printerStatus = r.attributes().value(QStringLiteral("status")).toString();
            } else if (inResponse) {
                if (name == u"fiscalReceiptNumber") {
                    out.documentNumber = number(r.readElementText());
                } else if (name == u"zRepNumber") {
                    out.closure = number(r.readElementText());
                } else if (name == u"fiscalReceiptAmount") {
                    const auto amount = parseAmount(r.readElementText());
                    out.hasAmount = amount.has_value();
                    out.amount = amount.value_or(Money());
                } else if (name == u"fiscalReceiptDate") {
                    dateText = r.readElementText().trimmed();
                } else if (name == u"fiscalReceiptTime") {
                    timeText = r.readElementText().trimmed();
                } else if (name == u"serialNumber") {
                    out.serial = r.readElementText().trimmed().left(20);
                } else if (name == u"printerStatus") {
                    out.printerStatus = r.readElementText().trimmed().left(20);
                }
            }
        } else if (r.isEndElement() && r.name() == u"response") {
            inResponse = false;
        }
    }
    if (r.hasError() || !seenResponse || !numbersOk)
        return RtAnswer();
    if (!dateText.isEmpty()) {
        QDate date = QDate::fromString(dateText, QStringLiteral("d/M/yyyy"));
        QTime time = QTime::fromString(timeText, QStringLiteral("H:mm:ss"));
        if (!time.isValid())
            time = QTime::fromString(timeText, QStringLiteral("H:mm"));
        if (date.isValid())
            out.dateTime = QDateTime(date, time.isValid() ? time : QTime(0, 0));
    }
    if (success == u"true")
        out.kind = RtAnswer::Kind::Accepted;
    else if (success == u"false")
        out.kind = RtAnswer::Kind::Refused;
    else
        return RtAnswer();
    return out;
}

} // namespace corvale

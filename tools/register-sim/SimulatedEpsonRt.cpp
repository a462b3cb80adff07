#include "SimulatedEpsonRt.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>

namespace corvale::sim {

namespace {

std::optional<Money> amount(const QString &text) {
    QString t = text.trimmed();
    t.replace(u',', u'.');
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 1e9)
        return std::nullopt;
    return Money::of(v);
}

QString amountText(Money m) {
    const qint64 c = m.cents();
    return QStringLiteral("%1%2,%3")
        .arg(c < 0 ? QStringLiteral("-") : QString())
        .arg(std::abs(c) / 100)
        .arg(int(std::abs(c) % 100), 2, 10, QChar(u'0'));
}

} // namespace

QString EpsonRtElement::attribute(const QString &key) const {
    for (const auto &[k, v] : attributes)
        if (k == key)
            return v;
    return {};
}

QString EpsonRtElement::text() const {
    QString out = name;
    for (const auto &[k, v] : attributes)
        out += u' ' + k + u'=' + v;
    return out;
}

QStringList EpsonRtDocument::lines() const {
    QStringList out;
    for (const EpsonRtElement &e : elements)
        out << e.text();
    return out;
}

SimulatedEpsonRt::SimulatedEpsonRt() {
    setSerial(QStringLiteral("99MEX000001"));
}

QByteArray SimulatedEpsonRt::answer(bool success, const QString &code,
                                    const QString &printerStatus) const {
    QString info;
    info += QStringLiteral("<printerStatus>%1</printerStatus>").arg(printerStatus);
    info += QStringLiteral("<fiscalReceiptNumber>%1</fiscalReceiptNumber>").arg(lastNumber());
    info += QStringLiteral("<fiscalReceiptAmount>%1</fiscalReceiptAmount>")
                .arg(amountText(lastAmount()));
    const QDateTime when = lastWhen();
    info += QStringLiteral("<fiscalReceiptDate>%1</fiscalReceiptDate>")
                .arg(when.toString(QStringLiteral("d/M/yyyy")));
    info += QStringLiteral("<fiscalReceiptTime>%1</fiscalReceiptTime>")
                .arg(when.toString(QStringLiteral("HH:mm:ss")));
    info += QStringLiteral("<zRepNumber>%1</zRepNumber>").arg(closure());
    info += QStringLiteral("<serialNumber>%1</serialNumber>").arg(serial());
    return wrap(QStringLiteral("<response success=\"%1\" code=\"%2\" status=\"%3\"><addInfo>%4"
                               "</addInfo></response>")
                    .arg(success ? QStringLiteral("true") : QStringLiteral("false"), code,
                         printerStatus, info));
}

QByteArray SimulatedEpsonRt::wrap(const QString &response) const {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                          "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/"
                          "envelope/\"><soapenv:Body>%1</soapenv:Body></soapenv:Envelope>")
        .arg(response)
        .toUtf8();
}

SimulatedEpsonRt::Result SimulatedEpsonRt::refuse(const QString &code,
                                                  const QString &printerStatus) {
    Result r;
    r.answer = answer(false, code, printerStatus);
    return r;
}

SimulatedEpsonRt::Result SimulatedEpsonRt::handle(const QByteArray &body) {
    ++m_requests;
    QXmlStreamReader reader(body);
    QString command;
    QList<Element> elements;
    int depth = 0;
    int commandDepth = -1;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            ++depth;
            const QString name = reader.name().toString();
            if (commandDepth < 0 && (name == u"printerFiscalReceipt" ||
                                     name == u"printerFiscalReport" || name == u"printerCommand")) {
                command = name;
                commandDepth = depth;
            } else if (commandDepth >= 0 && depth == commandDepth + 1) {
                Element e;
                e.name = name;
                for (const QXmlStreamAttribute &a : reader.attributes())
                    e.attributes << qMakePair(a.name().toString(), a.value().toString());
                elements << e;
            }
        } else if (reader.isEndElement()) {
            if (depth == commandDepth)
                commandDepth = -2; // the command is complete; anything after is ignored
            --depth;
        }
    }
    if (reader.hasError() || command.isEmpty())
        return refuse(badDocumentCode);
    if (command == u"printerFiscalReceipt")
        return receipt(elements);
    if (command == u"printerFiscalReport")
        return report(elements);
    // printerCommand: the status query.
    if (takeSilentQuery()) {
        Result r;
        r.silent = true;
        return r;
    }
    for (const Element &e : elements)
        if (e.name == u"queryPrinterStatus") {
            Result r;
            r.answer = answer(true, QString(), QStringLiteral("00110"));
            return r;
        }
    return refuse(badDocumentCode);
}

SimulatedEpsonRt::Result SimulatedEpsonRt::receipt(const QList<Element> &elements) {
    const Fault fault = takeFault();
    if (fault == Fault::NoAnswer) {
        Result r;
        r.silent = true;
        return r;
    }
    if (fault == Fault::PaperOut)
        return refuse(paperOutCode, QStringLiteral("30110"));
    if (fault == Fault::CoverOpen)
        return refuse(coverOpenCode, QStringLiteral("30110"));
    if (closureOverdue())
        return refuse(closureOverdueCode);

    Document doc;
    doc.kind = Document::Kind::Sale;
    doc.elements = elements;
    Money total;
    Money paid;
    Money nonCash;
    bool begun = false;
    bool ended = false;
    static const QRegularExpression lottery(QStringLiteral("^[A-Z0-9]{8}$"));
    static const QRegularExpression quote(
        QStringLiteral("^(REFUND|VOID) (\\d{4}) (\\d{4}) (\\d{8}) (\\S+)$"));
    for (const Element &e : elements) {
        if (ended)
            return refuse(badDocumentCode);
        if (e.name == u"printRecMessage") {
            const auto m = quote.match(e.attribute(QStringLiteral("message")));
            if (m.hasMatch() && !begun)
                doc.kind = m.captured(1) == u"VOID" ? Document::Kind::Void : Document::Kind::Return;
            continue;
        }
        if (e.name == u"beginFiscalReceipt") {
            if (begun)
                return refuse(badDocumentCode);
            begun = true;
            continue;
        }
        if (!begun)
            return refuse(badDocumentCode);
        if (e.name == u"endFiscalReceipt") {
            ended = true;
        } else if (e.name == u"printRecItem" || e.name == u"printRecRefund") {
            const auto price = amount(e.attribute(QStringLiteral("unitPrice")));
            const auto qty = amount(e.attribute(QStringLiteral("quantity")));
            const int dept = e.attribute(QStringLiteral("department")).toInt();
            if (!price || !qty || dept < 1 || dept > 99)
                return refuse(badDocumentCode);
            total += Money::of(price->toDouble() * qty->toDouble());
        } else if (e.name == u"printRecItemAdjustment" || e.name == u"printRecSubtotalAdjustment") {
            const auto a = amount(e.attribute(QStringLiteral("amount")));
            if (!a)
                return refuse(badDocumentCode);
            const QString type = e.attribute(QStringLiteral("adjustmentType"));
            total += type == u"6" ? *a : -*a;
        } else if (e.name == lotteryElement()) {
            if (!lottery.match(e.attribute(QStringLiteral("code"))).hasMatch())
                return refuse(badLotteryCode);
        } else if (e.name == u"printRecTotal") {
            const auto a = amount(e.attribute(QStringLiteral("payment")));
            if (!a)
                return refuse(badDocumentCode);
            paid += *a;
            if (e.attribute(QStringLiteral("paymentType")) != u"0")
                nonCash += *a;
        }
    }
    // The change comes from the cash only; a void needs no payment.
    const bool void_ = doc.kind == Document::Kind::Void;
    if (!ended || (!void_ && (paid < total || nonCash > total)))
        return refuse(badDocumentCode);

    doc.total = total;
    keepPrinted(doc);

    Result r;
    if (fault == Fault::LostAfterPrint) {
        r.drop = true;
        return r;
    }
    if (fault == Fault::MalformedXml) {
        r.answer = "<response success=\"true\"><addInfo><fiscalReceiptNumber>";
        return r;
    }
    r.answer = answer(true, QString(), QStringLiteral("00110"));
    return r;
}

SimulatedEpsonRt::Result SimulatedEpsonRt::report(const QList<Element> &elements) {
    for (const Element &e : elements) {
        if (e.name == u"printZReport" || e.name == u"printXReport") {
            Document doc;
            const bool z = e.name == u"printZReport";
            doc.kind = z ? Document::Kind::ZReport : Document::Kind::XReport;
            doc.elements = elements;
            Core::report(doc);
            // The answer tells the day's total and the closure just made.
            setLastAmount(documents().last().total);
            Result r;
            r.answer = answer(true, QString(), QStringLiteral("00110"));
            if (z)
                closeDay();
            return r;
        }
    }
    return refuse(badDocumentCode);
}

} // namespace corvale::sim

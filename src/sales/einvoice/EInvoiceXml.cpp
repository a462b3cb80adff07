#include "sales/einvoice/EInvoiceXml.h"

#include "sales/einvoice/EInvoiceDocument.h"

#include <QBuffer>
#include <QXmlStreamWriter>

#include <cstdlib>

namespace corvale {

namespace {

const QString fatturaNamespace =
    QStringLiteral("http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2");
const QString signatureNamespace = QStringLiteral("http://www.w3.org/2000/09/xmldsig#");

// The plain form of the characters shops type most often outside Latin-1.
QString replacement(char32_t c) {
    switch (c) {
    case 0x20AC:
        return QStringLiteral("EUR");
    case 0x2018:
    case 0x2019:
    case 0x201A:
    case 0x2032:
        return QStringLiteral("'");
    case 0x201C:
    case 0x201D:
    case 0x201E:
    case 0x2033:
        return QStringLiteral("\"");
    case 0x2013:
    case 0x2014:
    case 0x2212:
        return QStringLiteral("-");
    case 0x2026:
        return QStringLiteral("...");
    case 0x2022:
        return QStringLiteral("*");
    default:
        return QStringLiteral("?");
    }
}

QString keep(const QString &text, int length, char32_t highest) {
    QString out;
    const QList<uint> codes = text.toUcs4();
    for (uint c : codes) {
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            out += u' '; // control characters: tabs, line breaks
        else if (c <= highest)
            out += QChar(char16_t(c));
        else
            out += replacement(c);
    }
    out = out.simplified();
    if (out.size() > length)
        out = out.left(length).trimmed();
    return out;
}

QString digits(qint64 value, int decimals) {
    const bool negative = value < 0;
    quint64 v = negative ? quint64(-value) : quint64(value);
    quint64 unit = 1;
    for (int i = 0; i < decimals; ++i)
        unit *= 10;
    QString fraction = QString::number(v % unit).rightJustified(decimals, u'0');
    return (negative ? QStringLiteral("-") : QString()) + QString::number(v / unit) + u'.' +
           fraction;
}

class Writer {
public:
    explicit Writer(QXmlStreamWriter &xml)
        : m_xml(xml) {}

    void text(const QString &name, const QString &value) { m_xml.writeTextElement(name, value); }
    void optional(const QString &name, const QString &value) {
        if (!value.isEmpty())
            text(name, value);
    }
    void begin(const QString &name) { m_xml.writeStartElement(name); }
    void end() { m_xml.writeEndElement(); }

    void fiscalId(const QString &element, const QString &country, const QString &code) {
        begin(element);
        text(QStringLiteral("IdPaese"), country);
        text(QStringLiteral("IdCodice"), EInvoiceXml::basicLatin(code, 28));
        end();
    }

    void seat(const EInvoiceParty &p) {
        begin(QStringLiteral("Sede"));
        text(QStringLiteral("Indirizzo"), EInvoiceXml::latin(p.address, 60));
        text(QStringLiteral("CAP"), p.postcode);
        text(QStringLiteral("Comune"), EInvoiceXml::latin(p.town, 60));
        optional(QStringLiteral("Provincia"), p.province);
        text(QStringLiteral("Nazione"), p.country);
        end();
    }

    void registry(const EInvoiceParty &p, bool seller) {
        begin(QStringLiteral("DatiAnagrafici"));
        if (!p.vatNumber.isEmpty())
            fiscalId(QStringLiteral("IdFiscaleIVA"), p.country, p.vatNumber);
        optional(QStringLiteral("CodiceFiscale"), p.fiscalCode);
        begin(QStringLiteral("Anagrafica"));
        text(QStringLiteral("Denominazione"), EInvoiceXml::latin(p.name, 80));
        end();
        if (seller)
            text(QStringLiteral("RegimeFiscale"), p.regime);
        end();
    }

private:
    QXmlStreamWriter &m_xml;
};

} // namespace

QString EInvoiceDocument::fileName() const {
    return transmitterCountry + transmitterCode + u'_' + progressive + QStringLiteral(".xml");
}

QString EInvoiceXml::latin(const QString &text, int length) {
    return keep(text, length, 0xFF);
}

QString EInvoiceXml::basicLatin(const QString &text, int length) {
    return keep(text, length, 0x7E);
}

QString EInvoiceXml::amount2(qint64 cents) {
    return digits(cents, 2);
}

QString EInvoiceXml::amount8(qint64 units) {
    QString s = digits(units, 8);
    // Two decimals at least, eight at most, without trailing zeros beyond two.
    while (s.size() > 3 && s.endsWith(u'0') && s.indexOf(u'.') < s.size() - 3)
        s.chop(1);
    return s;
}

QString EInvoiceXml::quantity(qint64 thousandths) {
    QString s = digits(thousandths, 3);
    if (s.endsWith(u'0'))
        s.chop(1);
    return s;
}

QString EInvoiceXml::rate(int hundredths) {
    return digits(hundredths, 2);
}

QByteArray EInvoiceXml::write(const EInvoiceDocument &d) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter xml(&buffer);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument(QStringLiteral("1.0"));
    xml.writeNamespace(fatturaNamespace, QStringLiteral("p"));
    xml.writeNamespace(signatureNamespace, QStringLiteral("ds"));
    xml.writeStartElement(fatturaNamespace, QStringLiteral("FatturaElettronica"));
    xml.writeAttribute(QStringLiteral("versione"), d.version);
    Writer w(xml);

    w.begin(QStringLiteral("FatturaElettronicaHeader"));
    w.begin(QStringLiteral("DatiTrasmissione"));
    w.fiscalId(QStringLiteral("IdTrasmittente"), d.transmitterCountry, d.transmitterCode);
    w.text(QStringLiteral("ProgressivoInvio"), d.progressive);
    w.text(QStringLiteral("FormatoTrasmissione"), d.format);
    w.text(QStringLiteral("CodiceDestinatario"), d.recipientCode);
    w.optional(QStringLiteral("PECDestinatario"), d.recipientPec);
    w.end();

    w.begin(QStringLiteral("CedentePrestatore"));
    w.registry(d.seller, true);
    w.seat(d.seller);
    const QString phone = basicLatin(d.seller.phone, 12);
    if (phone.size() >= 5) {
        w.begin(QStringLiteral("Contatti"));
        w.text(QStringLiteral("Telefono"), phone);
        w.end();
    }
    w.end();

    w.begin(QStringLiteral("CessionarioCommittente"));
    w.registry(d.buyer, false);
    w.seat(d.buyer);
    w.end();
    w.end(); // FatturaElettronicaHeader

    w.begin(QStringLiteral("FatturaElettronicaBody"));
    w.begin(QStringLiteral("DatiGenerali"));
    w.begin(QStringLiteral("DatiGeneraliDocumento"));
    w.text(QStringLiteral("TipoDocumento"), d.documentType);
    w.text(QStringLiteral("Divisa"), d.currency);
    w.text(QStringLiteral("Data"), d.date.toString(Qt::ISODate));
    w.text(QStringLiteral("Numero"), basicLatin(d.number, 20));
    if (d.stampDuty) {
        w.begin(QStringLiteral("DatiBollo"));
        w.text(QStringLiteral("BolloVirtuale"), QStringLiteral("SI"));
        w.text(QStringLiteral("ImportoBollo"), amount2(stampDutyAmount));
        w.end();
    }
    w.text(QStringLiteral("ImportoTotaleDocumento"), amount2(d.total));
    if (!d.reason.isEmpty())
        w.text(QStringLiteral("Causale"), latin(d.reason, 200));
    w.end();
    if (!d.linkedNumber.isEmpty()) {
        w.begin(QStringLiteral("DatiFattureCollegate"));
        w.text(QStringLiteral("IdDocumento"), basicLatin(d.linkedNumber, 20));
        if (d.linkedDate.isValid())
            w.text(QStringLiteral("Data"), d.linkedDate.toString(Qt::ISODate));
        w.end();
    }
    w.end(); // DatiGenerali

    w.begin(QStringLiteral("DatiBeniServizi"));
    for (const EInvoiceLine &line : d.lines) {
        w.begin(QStringLiteral("DettaglioLinee"));
        w.text(QStringLiteral("NumeroLinea"), QString::number(line.number));
        const QString code = basicLatin(line.code, 35);
        if (!code.isEmpty()) {
            w.begin(QStringLiteral("CodiceArticolo"));
            w.text(QStringLiteral("CodiceTipo"), QStringLiteral("EAN"));
            w.text(QStringLiteral("CodiceValore"), code);
            w.end();
        }
        w.text(QStringLiteral("Descrizione"), latin(line.description, 1000));
        w.text(QStringLiteral("Quantita"), quantity(line.amounts.quantity));
        w.text(QStringLiteral("PrezzoUnitario"), amount8(line.amounts.unitPrice));
        if (line.amounts.discount != 0) {
            w.begin(QStringLiteral("ScontoMaggiorazione"));
            w.text(QStringLiteral("Tipo"),
                   line.amounts.discount > 0 ? QStringLiteral("SC") : QStringLiteral("MG"));
            w.text(QStringLiteral("Percentuale"), rate(std::abs(line.amounts.discount)));
            w.end();
        }
        w.text(QStringLiteral("PrezzoTotale"), amount8(line.amounts.net * 1000000));
        w.text(QStringLiteral("AliquotaIVA"), rate(line.rate));
        w.optional(QStringLiteral("Natura"), line.nature);
        w.end();
    }
    for (const VatSummary &s : d.summaries) {
        w.begin(QStringLiteral("DatiRiepilogo"));
        w.text(QStringLiteral("AliquotaIVA"), rate(s.rate));
        w.optional(QStringLiteral("Natura"), s.nature);
        w.text(QStringLiteral("ImponibileImporto"), amount2(s.taxable));
        w.text(QStringLiteral("Imposta"), amount2(s.tax));
        if (s.nature.isEmpty())
            w.text(QStringLiteral("EsigibilitaIVA"), QStringLiteral("I"));
        else
            w.optional(QStringLiteral("RiferimentoNormativo"), latin(s.reference, 100));
        w.end();
    }
    w.end(); // DatiBeniServizi
    w.end(); // FatturaElettronicaBody
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

} // namespace corvale

#include "sales/einvoice/EInvoiceBuilder.h"

#include "catalogue/ContactColumns.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "sales/CustomerColumns.h"
#include "sales/einvoice/EInvoiceColumns.h"
#include "sales/einvoice/FiscalIdentity.h"
#include "shell/FiscalCodes.h"

#include <QRegularExpression>

namespace corvale {

namespace {

const QString recipientForPrivate = QStringLiteral("0000000");
const QString recipientAbroad = QStringLiteral("XXXXXXX");

QString field(const db::Table &t, const QString &name) {
    return t.hasField(name) ? t.asString(name).trimmed() : QString();
}

bool isProvince(const QString &text) {
    static const QRegularExpression two(QStringLiteral("^[A-Z]{2}$"));
    return two.match(text).hasMatch();
}

bool isPostcode(const QString &text) {
    static const QRegularExpression five(QStringLiteral("^\\d{5}$"));
    return five.match(text).hasMatch();
}

} // namespace

EInvoiceBuilder::EInvoiceBuilder(db::Database &database)
    : m_db(database)
    , m_shop(ShopFiscalData::load(database))
    , m_invoices(std::make_unique<db::Table>(database))
    , m_linked(std::make_unique<db::Table>(database))
    , m_lines(std::make_unique<db::Table>(database))
    , m_customers(std::make_unique<db::Table>(database)) {
    m_invoices->setTableName(customerColumns::invoices);
    m_invoices->setIndexName(doc::NUMREG);
    m_invoices->open();
    m_linked->setTableName(customerColumns::invoices);
    m_linked->setIndexName(doc::NUMREG);
    m_linked->open();
    m_lines->setTableName(QStringLiteral("ARCART_V"));
    m_lines->setIndexName(QStringLiteral("NUMVEN"));
    m_lines->open();
    m_customers->setTableName(customerColumns::customers);
    m_customers->setIndexName(customerColumns::code);
    m_customers->open();
}

EInvoiceBuilder::~EInvoiceBuilder() = default;

QString EInvoiceBuilder::lineDescription(const QString &description, const QString &brand,
                                         const QString &colour, const QString &size) {
    QString out = description.trimmed();
    if (!brand.trimmed().isEmpty())
        out += QStringLiteral(" / ") + brand.trimmed();
    if (!colour.trimmed().isEmpty())
        out += QStringLiteral(" - colore ") + colour.trimmed();
    if (!size.trimmed().isEmpty())
        out += QStringLiteral(" - taglia ") + size.trimmed();
    return out.isEmpty() ? QStringLiteral("Articolo") : out;
}

void EInvoiceBuilder::seller(EInvoiceDocument &d, QStringList &problems) const {
    const EInvoiceParty &s = m_shop.seller;
    const QString where = QStringLiteral(" in Configurazione, \"Dati fiscali\".");
    const QString registry = QStringLiteral(" in Configurazione, \"Anagrafica\".");
    if (s.vatNumber.isEmpty())
        problems << QStringLiteral("Manca la partita IVA del negozio: compilare \"Partita IVA\"") +
                        registry;
    else if (s.country == QLatin1String("IT") && !FiscalIdentity::isValidVatNumber(s.vatNumber))
        problems << QStringLiteral("La partita IVA del negozio non è valida: correggere "
                                   "\"Partita IVA\"") +
                        registry;
    if (!s.fiscalCode.isEmpty() && !FiscalIdentity::isValidFiscalCode(s.fiscalCode))
        problems << QStringLiteral("Il codice fiscale del negozio non è valido: correggere "
                                   "\"Codice fiscale\"") +
                        where;
    if (s.name.isEmpty())
        problems << QStringLiteral("Manca la ragione sociale del negozio: compilare \"Ragione "
                                   "Sociale\"") +
                        registry;
    if (s.address.isEmpty())
        problems << QStringLiteral("Manca l'indirizzo del negozio: compilare \"Via/P.zza\"") +
                        registry;
    if (!isPostcode(s.postcode))
        problems << QStringLiteral("Manca il CAP del negozio (cinque cifre): compilare \"CAP\"") +
                        where;
    if (s.town.isEmpty())
        problems << QStringLiteral("Manca il comune del negozio: compilare \"Comune\"") + where;
    if (!s.province.isEmpty() && !isProvince(s.province))
        problems << QStringLiteral("La provincia del negozio va scritta con due lettere: "
                                   "correggere \"Provincia\"") +
                        where;
    if (!fiscalCodes::isRegime(s.regime))
        problems << QStringLiteral("Regime fiscale del negozio non valido: sceglierlo in "
                                   "\"Regime fiscale\"") +
                        where;
    if (m_shop.transmitterCode.isEmpty())
        problems << QStringLiteral("Manca il codice di chi trasmette le fatture: compilare "
                                   "\"Partita IVA\" o \"Codice del trasmittente\"") +
                        where;
    d.seller = s;
    if (!isProvince(d.seller.province))
        d.seller.province.clear();
    d.transmitterCountry = m_shop.transmitterCountry;
    d.transmitterCode = m_shop.transmitterCode;
}

void EInvoiceBuilder::buyer(qint64 code, EInvoiceDocument &d, QStringList &problems) {
    namespace c = contactColumns;
    const QString where = QStringLiteral(" nella scheda del cliente.");
    if (!m_customers->findKey(code)) {
        problems << QStringLiteral("Il cliente della fattura non è più in archivio: sceglierne "
                                   "uno nella fattura.");
        return;
    }
    const db::Table &t = *m_customers;
    EInvoiceParty &b = d.buyer;
    b.name = field(t, c::name);
    b.address = field(t, c::address);
    b.town = field(t, c::city);
    b.province = field(t, c::province).toUpper();
    b.country = field(t, c::country).toUpper();
    if (b.country.isEmpty())
        b.country = QStringLiteral("IT");
    const bool italian = b.country == QLatin1String("IT");
    // The numeric CAP lost its leading zeros: "00184" is kept as 184.
    if (!t.isNull(c::cap) && t.asInteger(c::cap) > 0)
        b.postcode = QStringLiteral("%1").arg(t.asInteger(c::cap), 5, 10, QLatin1Char('0'));
    else if (!italian)
        b.postcode = QStringLiteral("00000");
    const FiscalIdentity id = FiscalIdentity::of(field(t, c::vatNumber), field(t, c::fiscalCode),
                                                 field(t, c::vatOrFiscalCode));
    b.vatNumber = id.vatNumber;
    b.fiscalCode = id.fiscalCode;

    if (b.name.isEmpty())
        problems << QStringLiteral("Manca la ragione sociale del cliente: compilare \"Rag. "
                                   "Sociale\"") +
                        where;
    if (b.address.isEmpty())
        problems << QStringLiteral("Manca l'indirizzo del cliente: compilare \"Indirizzo\"") +
                        where;
    if (!isPostcode(b.postcode) || b.postcode.size() > 5)
        problems << QStringLiteral("Manca il C.A.P. del cliente: compilare \"C.A.P.\"") + where;
    if (b.town.isEmpty())
        problems << QStringLiteral("Manca la città del cliente: compilare \"Città\"") + where;
    if (!b.province.isEmpty() && !isProvince(b.province))
        problems << QStringLiteral("La provincia del cliente va scritta con due lettere: "
                                   "correggere \"Provincia\"") +
                        where;
    if (italian && !b.vatNumber.isEmpty() && !FiscalIdentity::isValidVatNumber(b.vatNumber))
        problems << QStringLiteral("La partita IVA del cliente non è valida: correggere "
                                   "\"Partita IVA\"") +
                        where;
    if (italian && !b.fiscalCode.isEmpty() && !FiscalIdentity::isValidFiscalCode(b.fiscalCode))
        problems << QStringLiteral("Il codice fiscale del cliente non è valido: correggere "
                                   "\"Codice fiscale\"") +
                        where;

    const QString recipient = field(t, c::recipientCode).toUpper();
    const QString pec = field(t, c::pec);
    if (!italian) {
        d.recipientCode = recipientAbroad;
    } else if (b.vatNumber.isEmpty()) {
        // A private customer finds the invoice in the tax office's reserved area.
        d.recipientCode = recipientForPrivate;
        d.recipientPec = pec;
    } else if (!recipient.isEmpty()) {
        d.recipientCode = recipient;
        if (recipient == recipientForPrivate)
            d.recipientPec = pec;
        else if (!pec.isEmpty())
            problems << QStringLiteral("La PEC del cliente si indica solo con il codice "
                                       "destinatario 0000000: nella scheda del cliente lasciare "
                                       "vuoto \"PEC\" oppure \"Codice destinatario\".");
    } else {
        d.recipientCode = recipientForPrivate;
        d.recipientPec = pec;
    }
    static const QRegularExpression lettersAndDigits(QStringLiteral("^[A-Z0-9]*$"));
    if (!lettersAndDigits.match(d.recipientCode).hasMatch())
        problems << QStringLiteral("Il codice destinatario ha solo lettere e cifre: correggere "
                                   "\"Codice destinatario\"") +
                        where;
}

EInvoiceBuilder::Result EInvoiceBuilder::build(qint64 key, const QString &progressive) {
    Result out;
    if (!m_invoices->findKey(key)) {
        out.problems << QStringLiteral("La fattura non è più in archivio.");
        return out;
    }
    namespace e = einvoiceColumns;
    const db::Table &h = *m_invoices;
    EInvoiceDocument d;
    d.progressive = progressive;
    const bool credit = field(h, e::documentType) == e::creditNoteType;
    d.documentType = credit ? e::creditNoteType : e::invoiceType;
    d.date = h.asDate(doc::DATADOC);
    d.number = field(h, doc::NUMDOC);
    if (!d.date.isValid())
        out.problems << QStringLiteral("La fattura non ha una data valida: correggere \"Data\" "
                                       "nella fattura.");
    // A credit note is stored with negative amounts, so that every sum
    // counts it against the invoice; its file states them as they are given back.
    const double sign = credit ? -1 : 1;
    const qint64 total = VatBreakdown::cents(sign * h.asFloat(doc::TOTALE));
    if (credit) {
        d.reason = QStringLiteral("Reso merce");
        const qint64 linked = h.asInteger(e::creditedInvoice);
        if (linked != 0 && m_linked->findKey(linked)) {
            d.linkedNumber = field(*m_linked, doc::NUMDOC);
            d.linkedDate = m_linked->asDate(doc::DATADOC);
        } else {
            out.problems << QStringLiteral("La fattura a cui si riferisce la nota di credito non "
                                           "è più in archivio.");
        }
    }
    seller(d, out.problems);
    buyer(h.asInteger(doc::NUMRAG), d, out.problems);

    QList<VatLine> vatLines;
    m_lines->setRange(key, key);
    for (m_lines->first(); !m_lines->eof(); m_lines->next()) {
        const db::Table &l = *m_lines;
        VatLine v;
        v.quantity = sign * l.asFloat(sheet::QUANTITA);
        v.price = l.asFloat(sheet::PREZZO);
        v.discount = l.asFloat(sheet::SCONTO);
        v.rate = m_shop.rateOf(l.asFloat(sheet::IVA));
        v.nature = m_shop.natureOf(v.rate);
        vatLines << v;
        EInvoiceLine line;
        line.number = int(vatLines.size());
        line.code = field(l, sheet::BARCODE);
        line.description = lineDescription(field(l, sheet::DESCRIZION), field(l, sheet::MARCHIO),
                                           field(l, sheet::COLORE), field(l, sheet::CTAGLIA));
        line.rate = v.rate;
        line.nature = v.nature;
        d.lines << line;
    }
    if (d.lines.isEmpty()) {
        out.problems << QStringLiteral("La fattura non ha righe.");
        return out;
    }
    QString error;
    const auto vat = VatBreakdown::compute(vatLines, total, &error);
    if (!vat) {
        out.problems << error;
        return out;
    }
    for (qsizetype i = 0; i < d.lines.size(); ++i)
        d.lines[i].amounts = vat->lines()[i];
    d.summaries = vat->summaries();
    qint64 withoutVat = 0;
    for (VatSummary &s : d.summaries) {
        s.reference = m_shop.referenceOf(s.nature);
        if (!s.nature.isEmpty())
            withoutVat += s.taxable;
    }
    d.total = total;
    d.stampDuty = m_shop.flatRate() && withoutVat > stampDutyThreshold;
    if (out.problems.isEmpty())
        out.document = d;
    return out;
}

} // namespace corvale

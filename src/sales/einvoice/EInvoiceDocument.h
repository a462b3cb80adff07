#pragma once

#include "sales/einvoice/VatBreakdown.h"

#include <QDate>
#include <QList>
#include <QString>

namespace corvale {

// One side of the invoice: the shop (cedente) or its customer (cessionario).
struct EInvoiceParty {
    QString name;
    QString country = QStringLiteral("IT"); // IdPaese of the partita IVA and Nazione of the seat
    QString vatNumber;                      // partita IVA, without the country
    QString fiscalCode;
    QString address;
    QString postcode; // five digits
    QString town;
    QString province; // two capitals, may be empty
    QString regime;   // the shop's only
    QString phone;    // the shop's only
};

struct EInvoiceLine {
    int number = 0;
    QString code; // the line barcode, as CodiceArticolo EAN
    QString description;
    VatBreakdown::LineAmounts amounts;
    int rate = 0; // hundredths of a percent
    QString nature;
};

// Everything one FatturaPA file states, in the values it writes: built from
// the tables by EInvoiceBuilder, written by EInvoiceXml, checked by SdiRules.
struct EInvoiceDocument {
    // DatiTrasmissione
    QString transmitterCountry = QStringLiteral("IT");
    QString transmitterCode;
    QString progressive; // ProgressivoInvio, also the file name's
    QString format = QStringLiteral("FPR12");
    QString version = QStringLiteral("FPR12"); // the root's "versione"
    QString recipientCode;
    QString recipientPec;

    EInvoiceParty seller;
    EInvoiceParty buyer;

    // DatiGeneraliDocumento
    QString documentType = QStringLiteral("TD01");
    QString currency = QStringLiteral("EUR");
    QDate date;
    QString number;
    bool stampDuty = false; // DatiBollo: virtual stamp of 2 euro
    qint64 total = 0;       // cents: ImportoTotaleDocumento
    QString reason;         // Causale
    // DatiFattureCollegate, for a credit note.
    QString linkedNumber;
    QDate linkedDate;

    QList<EInvoiceLine> lines;
    QList<VatSummary> summaries;

    // The file name the exchange system expects: IdPaese IdCodice _ progressive .xml
    QString fileName() const;
};

// The stamp duty of an invoice without VAT above this amount, in cents.
constexpr qint64 stampDutyThreshold = 7747;
constexpr qint64 stampDutyAmount = 200;

} // namespace corvale

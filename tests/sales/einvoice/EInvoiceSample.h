#pragma once

#include "sales/einvoice/EInvoiceDocument.h"
#include "sales/einvoice/VatBreakdown.h"

// A complete, valid invoice of a shop to a private customer, made of `lines`
// (their gross amounts add up to the total).
inline corvale::EInvoiceDocument sampleInvoice(const QList<corvale::VatLine> &lines) {
    using namespace corvale;
    EInvoiceDocument d;
    d.transmitterCode = QStringLiteral("01234567897");
    d.progressive = QStringLiteral("0000A");
    d.recipientCode = QStringLiteral("0000000");
    d.seller.name = QStringLiteral("BOUTIQUE ESEMPIO");
    d.seller.vatNumber = QStringLiteral("01234567897");
    d.seller.address = QStringLiteral("Via Roma 12");
    d.seller.postcode = QStringLiteral("20121");
    d.seller.town = QStringLiteral("MILANO");
    d.seller.province = QStringLiteral("MI");
    d.seller.regime = QStringLiteral("RF01");
    d.buyer.name = QStringLiteral("ROSSI MARIA");
    d.buyer.fiscalCode = QStringLiteral("RSSMRA80A41F205Z");
    d.buyer.address = QStringLiteral("Via Garibaldi 1");
    d.buyer.postcode = QStringLiteral("00184");
    d.buyer.town = QStringLiteral("ROMA");
    d.date = QDate(2026, 3, 15);
    d.number = QStringLiteral("7");
    qint64 total = 0;
    for (const VatLine &l : lines)
        total += VatBreakdown::grossOf(l);
    const auto vat = VatBreakdown::compute(lines, total);
    int n = 0;
    for (const VatBreakdown::LineAmounts &a : vat->lines()) {
        EInvoiceLine line;
        line.number = ++n;
        line.code = QStringLiteral("8000011010010");
        line.description = QStringLiteral("MAGLIONE / ROSSI - colore BLU - taglia M");
        line.amounts = a;
        line.rate = lines[n - 1].rate;
        line.nature = lines[n - 1].nature;
        d.lines << line;
    }
    d.summaries = vat->summaries();
    for (VatSummary &s : d.summaries) {
        if (!s.nature.isEmpty())
            s.reference = QStringLiteral("Art. 10 DPR 633/72");
    }
    d.total = total;
    return d;
}

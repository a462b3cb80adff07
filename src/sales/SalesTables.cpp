#include "sales/SalesTables.h"

#include "catalogue/ArticleColumns.h"
#include "purchasing/PaymentColumns.h"
#include "sales/SaleColumns.h"
#include "sales/VoucherColumns.h"
#include "sales/einvoice/EInvoiceColumns.h"

namespace corvale {

using namespace columns;

db::FieldList counterSaleFields() {
    return {recordNumber(QStringLiteral("NUMREG")), recordNumber(QStringLiteral("NUMDOC")),
            date(QStringLiteral("DATADOC")),        text(QStringLiteral("MYDATA"), 8),
            text(QStringLiteral("CLIENTE"), 40),    number(QStringLiteral("NUMCLI"), 10, 0),
            text(QStringLiteral("BARCODE"), 20),    money(QStringLiteral("IMPONIBILE")),
            money(QStringLiteral("IMPOSTA")),       money(QStringLiteral("TOTALE")),
            number(QStringLiteral("SCONTO"), 6, 2), logical(QStringLiteral("TIPO")),
            logical(QStringLiteral("ISBANCA")),     logical(QStringLiteral("FINDV"))};
}

// --- Telematic register ---
db::FieldList counterSaleRtFields() {
    namespace s = saleColumns;
    return {number(s::rtNumber, 5, 0),
            number(s::rtClosure, 5, 0),
            date(s::rtDate),
            text(s::rtTime, s::rtTimeLength),
            text(s::rtSerial, s::rtSerialLength),
            number(s::paidCash, 12, 2),
            number(s::paidCard, 12, 2),
            number(s::paidVoucher, 12, 2),
            text(s::lotteryCode, s::lotteryCodeLength),
            text(s::customerTaxCode, s::customerTaxCodeLength),
            recordNumber(s::voidLink)};
}

// --- Same-day size exchange ---
db::FieldList counterSaleExchangeFields() {
    return {recordNumber(saleColumns::exchangeLink)};
}

// --- A sale stored without the telematic register ---
db::FieldList counterSaleOfflineFields() {
    namespace s = saleColumns;
    return {number(s::fiscalState, 1, 0), text(s::offlineTime, s::rtTimeLength)};
}

TableLayouts salesTables() {
    TableLayouts out;
    out << TableLayout{QStringLiteral("ELEMENTI"),
                       {recordNumber(QStringLiteral("NUMREG")), text(QStringLiteral("BARCODE"), 13),
                        text(QStringLiteral("DESCRIZION"), 40), text(QStringLiteral("MARCHIO"), 20),
                        text(QStringLiteral("MISURA"), 20), text(QStringLiteral("COLORE"), 20),
                        text(QStringLiteral("CTAGLIA"), 10), quantity(QStringLiteral("QUANTITA")),
                        money(QStringLiteral("PREZZO")), recordNumber(QStringLiteral("CODICE")),
                        small(QStringLiteral("TIPOTAGLIA")), small(QStringLiteral("TAGLIA")),
                        number(QStringLiteral("PRZVND"), 15, 5),
                        number(QStringLiteral("LABELS"), 5, 0), percent(QStringLiteral("SCONTO")),
                        percent(QStringLiteral("IVA"))},
                       {}};

    out << TableLayout{
        QStringLiteral("VENDITE"),
        counterSaleFields() + counterSaleRtFields() + counterSaleExchangeFields() +
            counterSaleOfflineFields(),
        tags({QStringLiteral("NUMREG"), QStringLiteral("NUMDOC"), QStringLiteral("MYDATA"),
              QStringLiteral("NUMCLI"), saleColumns::fiscalState})};

    out << TableLayout{QStringLiteral("FATTURE"),
                       {recordNumber(QStringLiteral("NUMREG")),
                        recordNumber(QStringLiteral("NUMDOC")), date(QStringLiteral("DATADOC")),
                        text(QStringLiteral("MYDATA"), 8), text(QStringLiteral("RAGSOC"), 40),
                        recordNumber(QStringLiteral("NUMRAG")), money(QStringLiteral("TOTALE")),
                        logical(QStringLiteral("ISBANCA")), money(QStringLiteral("IMPONIBILE")),
                        money(QStringLiteral("IMPOSTA")), recordNumber(QStringLiteral("NUMCAR")),
                        quantity(QStringLiteral("NUMPEZZI")), text(QStringLiteral("BARCODE"), 20),
                        logical(QStringLiteral("FINDV")),
                        text(einvoiceColumns::documentType, einvoiceColumns::documentTypeLength),
                        recordNumber(einvoiceColumns::creditedInvoice),
                        text(einvoiceColumns::fileName, einvoiceColumns::fileNameLength),
                        number(einvoiceColumns::state, 1, 0),
                        text(einvoiceColumns::notes, einvoiceColumns::notesLength)},
                       tags({QStringLiteral("NUMREG"), QStringLiteral("NUMDOC"),
                             QStringLiteral("MYDATA"), QStringLiteral("RAGSOC")})};

    out << TableLayout{
        QStringLiteral("ARCART_V"),
        {recordNumber(QStringLiteral("NUMVEN")), recordNumber(articleColumns::lineArticle),
         text(QStringLiteral("BARCODE"), 13), text(QStringLiteral("DESCRIZION"), 30),
         text(QStringLiteral("MARCHIO"), 20), text(articleColumns::colour, 20),
         small(articleColumns::lineSize), text(QStringLiteral("CTAGLIA"), 10),
         small(QStringLiteral("TIPOTAGLIA")), quantity(articleColumns::lineQuantity),
         money(QStringLiteral("PREZZO")), money(QStringLiteral("IMPORTO")),
         percent(QStringLiteral("SCONTO")), percent(QStringLiteral("IVA")),
         date(QStringLiteral("DATAREG")), logical(QStringLiteral("TIPO")),
         text(QStringLiteral("MISURA"), 20), number(QStringLiteral("PRZVND"), 15, 5)},
        tags({QStringLiteral("NUMVEN")})};

    // --- Telematic register: the daily closures it made ---
    out << TableLayout{saleColumns::closures,
                       {recordNumber(saleColumns::closureKey), date(saleColumns::closureDate),
                        text(saleColumns::closureTime, saleColumns::rtTimeLength),
                        text(saleColumns::closureDateKey, 8),
                        number(saleColumns::closureNumber, 5, 0), money(saleColumns::closureTotal),
                        text(saleColumns::closureSerial, saleColumns::rtSerialLength)},
                       tags({saleColumns::closureKey, saleColumns::closureDateKey})};

    // --- Store-credit vouchers and their history ---
    {
        namespace v = voucherColumns;
        out << TableLayout{v::vouchers,
                           {recordNumber(v::key), text(v::barcode, 13), number(v::amount, 12, 2),
                            number(v::residual, 12, 2), date(v::issued), date(v::expiry),
                            recordNumber(v::originSale)},
                           tags({v::key, v::barcode})};
        out << TableLayout{v::movements,
                           {recordNumber(v::movementKey), recordNumber(v::movementVoucher),
                            date(v::movementDate), text(v::movementTime, saleColumns::rtTimeLength),
                            number(v::movementAmount, 12, 2), recordNumber(v::movementSale),
                            text(v::movementCause, v::movementCauseLength)},
                           tags({v::movementKey, v::movementVoucher})};
    }

    {
        namespace p = paymentColumns;
        out << TableLayout{p::payments,
                           {recordNumber(p::key), text(p::partyKey, 10), text(p::party, 50),
                            logical(p::fromCustomer), text(p::comment, 50), money(p::amount),
                            text(p::date, 10), text(p::dateKey, 8), logical(p::toBank)},
                           tags({p::key, p::partyKey})};
    }
    return out;
}

} // namespace corvale

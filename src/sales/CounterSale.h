#pragma once

#include "documents/LineSheet.h"
#include "register/Receipt.h"
#include "sales/SaleArithmetic.h"
#include "sales/SaleCodeLookup.h"
#include "sales/SaleFiscalState.h"
#include "sales/SalePayment.h"
#include "sales/SaleSettings.h"
#include "sales/SaleStock.h"

#include <QDate>

#include <functional>
#include <memory>
#include <optional>

namespace corvale {

class ArticleList;
class FiscalDevice;
class Shop;

namespace db {
class Table;
}

// One counter sale being edited: its header in VENDITE, its lines on the line
// sheet, the ways a line is made (a code, a description, a picked article and
// a stock cell), the totals, the receipt for the register and the save, which
// stores the header and the lines and takes each line out of the stock. The
// sale window shows it; nothing here knows of widgets.
class CounterSale {
public:
    explicit CounterSale(Shop &shop);
    ~CounterSale();

    LineSheet &sheet() { return *m_sheet; }
    db::Table &header() { return *m_header; }
    ArticleList &articles() { return *m_articles; }
    const SaleStock &stock() const { return m_stock; }
    const SaleSettings &settings() const { return m_settings; }

    qint64 documentKey() const { return m_key; }
    bool isNew() const { return m_new; }

    // Begins a sale: the settings are read again, the sheet emptied and
    // filled with the stored lines of `key` (0: a new sale, whose header is
    // appended with today's date and the next number of the year) and 200
    // blank rows. False when the stored sale is not there. Throws db::Error.
    bool begin(qint64 key);
    // Closes every table; the pending header is dropped by cancel() first.
    void close();
    // "Annulla": a new sale leaves no record, a stored one keeps its values.
    void cancel();

    // A code typed or scanned on the current row. A line is written there
    // and the sheet moves to the next row; an extra code, or a code without
    // a colour for an article stocked by colour, chooses its article (colour
    // and size are still to choose on the size panel). A code that makes
    // nothing comes back with the reason to show.
    SaleCodeLookup::Result enterCode(const QString &code);

    // The current row takes the article (in editing, one piece at its price of
    // the sale's day, size position 1 of no colour) and the stock
    // of the article is read for the size panel. False when the article is
    // not there (or, by description, not in use).
    bool chooseByDescription(const QString &description);
    bool chooseByKey(qint64 article);
    // Description and size type name (MISURA) of the article being chosen.
    QString chosenDescription() const { return m_chosenDescription; }
    QString chosenSizeTypeName() const { return m_chosenSizeType; }
    // NUMREG of the article last entered, by code or chosen; 0 before any.
    qint64 lastArticle() const { return m_lastArticle; }

    // A click on a stock cell: the row gets colour, size and line barcode and
    // is stored, the sheet moves on. False when the cell sells nothing.
    bool chooseSize(int stockRow, int position);
    // The size panel's "Annulla": the row returns to what it was.
    void cancelSize();

    bool deleteLine();

    // The customer of the sale, into the header (code 0: none).
    void setCustomer(qint64 code, const QString &name, const QString &card);

    // "Calcolo dal prezzo scontato": the customer is to pay `price` for the
    // lines as they are. Returns the percent for "Sconto %"; nothing when
    // there is nothing to discount. A stored sale keeps its agreed price.
    std::optional<double> agreePrice(double price);

    // The lines the save stores and the totals over them: the amount due,
    // the register's receipt and the stored lines always agree.
    QList<SheetRow> lines();
    // The day whose prices the lines take: the sale's date, or today.
    QDate priceDay() const;
    SaleTotals totals(double discountPercent);
    Receipt receipt(double discountPercent, double payment);
    // The same receipt told to a fiscal device, with the payment's tenders;
    // lines sold at a campaign's price carry its previous price.
    void describe(FiscalDevice &device, double discountPercent, const SalePayment &payment);

    // The codice fiscale of the sale's customer, when their card has one.
    QString customerTaxCode();
    // What the register gave the receipt, stored with the next save.
    void setFiscalRecord(std::optional<SaleFiscalRecord> record) { m_fiscal = std::move(record); }
    // The sale holds a telematic register's document: it was fiscalised.
    bool hasRegisterDocument() const;
    // Where the stored sale stands with the telematic register.
    SaleFiscalState fiscalState() const;

    // Stores `rows` as this (new) sale, its header set by `writeHeader`: the
    // negative copy that records a void. Throws db::Error after undoing.
    qint64 saveRows(const QList<SheetRow> &rows, QDate date,
                    const std::function<void(db::Table &)> &writeHeader);

    // Stores the sale with the date and discount of the window; the header
    // gets its number (a new sale), date key, total and TIPO. Returns the key.
    // Throws db::Error after undoing what it had done.
    qint64 save(QDate date, double discountPercent);

private:
    void takeArticle(const db::Table &article);
    void keepPaymentWithTotal(db::Table &h, Money net);
    void storeFiscalRecord(db::Table &header, const SaleFiscalRecord &record);
    void toNextRow();
    // The price a stored sale was agreed at, read back from its total.
    std::optional<AgreedPrice> storedAgreement();

    Shop &m_shop;
    SaleSettings m_settings;
    std::unique_ptr<LineSheet> m_sheet;
    std::unique_ptr<db::Table> m_header;
    std::unique_ptr<ArticleList> m_articles;
    std::unique_ptr<db::Table> m_articlesByKey;
    SaleCodeLookup m_lookup;
    SaleStock m_stock;
    QString m_chosenDescription;
    QString m_chosenSizeType;
    qint64 m_key = 0;
    qint64 m_lastArticle = 0;
    std::optional<AgreedPrice> m_agreed;
    std::optional<SaleFiscalRecord> m_fiscal;
    bool m_new = true;
};

} // namespace corvale

#pragma once

#include <QString>

namespace corvale {

class PageCanvas;
class Shop;

// The routines every window shares: named counters, the yearly document
// number, the date key, text helpers for filters and codes, the EAN-13 check
// digit, the copies prompt, the shop texts and the shop's printed heading.
// Plain logic over the shop's database, clock, prompter and Dati.ini: callable
// from any window and from tests without one. Every table a routine opens is
// closed again before it returns.
class CommonRoutines {
public:
    explicit CommonRoutines(Shop &shop);
    ~CommonRoutines();

    // Next number of the counter column `name` of COUNTERS.DBF; with `store`
    // the counter advances. An empty table gets its record. A column the table
    // lacks throws the engine's error.
    int NextCounter(const QString &name, bool store);
    void SetCounter(const QString &name, qint64 value);
    // Next NUMDOC of a document table within the current calendar year.
    int NextYearNumber(const QString &table);

    // "yyyymmdd" of a date typed "dd/mm/yyyy"; a year 19xx becomes 20xx;
    // "errore" when the text is not a date. Never throws.
    static QString DateKey(const QString &text);
    // Doubles every single quote, for literals in filters and SQL.
    static QString QuoteSql(const QString &text);
    static QString TrimLeading(const QString &text);
    // 1..4 characters zero-padded to five, then a blank; otherwise empty.
    static QString PadCode5(const QString &text);
    // The first twelve characters followed by the EAN-13 check digit. A
    // character that is not a digit (or fewer than twelve) throws
    // std::invalid_argument with an Italian message.
    static QString EanCheckDigit(const QString &text);

    // Asks how many copies to print (at most 5); 0 when cancelled.
    int AskCopies();
    // Refreshes the shop texts from CONFIG.DBF (an empty table keeps them).
    void LoadShopTexts();
    // Prints the shop's heading on the left half of the page from `y`;
    // returns the position below it.
    int PrintCompanyHeader(PageCanvas &canvas, int y);
    // The credit line the document printouts write at their foot; set by
    // PrintCompanyHeader.
    QString creditText() const { return m_creditText; }

private:
    Shop &m_shop;
    QString m_creditText;
};

} // namespace corvale

#pragma once

#include <QList>
#include <QString>

namespace corvale {

class PageCanvas;

// The printed list of the sales or invoice archive: the shop's name lines, the
// period's title, one row per document under a column header repeated on
// every page, the page number at each page's foot and the archive's sum at
// the end. Sales fill the left half of the page (number, date, total);
// invoices its width (customer, number, date, total).
struct SalesArchivePrintout {
    enum class Layout { Sales, Invoices };
    struct Row {
        QString customer; // invoices only
        QString number;
        QString date;
        double total = 0;
    };

    Layout layout = Layout::Sales;
    QString nameLine1;
    QString nameLine2;
    QString title;
    QList<Row> rows;
    double sum = 0;

    void draw(PageCanvas &canvas) const;

    // The printed titles: "ELENCO COMPLETO VENDITE", "ELENCO VENDITE ESEGUITE
    // NELL'ANNO 2026", "ELENCO FATTURE EMESSE NEL MESE 03/2026", ...
    enum class Period { Any, Year, Month, Range };
    static QString titleFor(Layout layout, Period period, const QString &year, const QString &month,
                            const QString &fromText, const QString &toText);
};

} // namespace corvale

#pragma once

#include "catalogue/SizeRunArticles.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace corvale {

class IniFile;

namespace db {
class Database;
}

// The two settings of the reorder: the weeks of sales looked at and the
// weeks of sales the stock should cover. Kept in "Dati.ini", section
// "RIORDINO".
struct ReorderSettings {
    int salesWeeks = 8;
    int coverWeeks = 4;

    static ReorderSettings read(const IniFile &ini);
    void write(IniFile &ini) const;
    bool isValid() const {
        return salesWeeks >= 1 && salesWeeks <= 520 && coverWeeks >= 0 && coverWeeks <= 520;
    }
};

// One article, colour and size of the reorder grid.
struct ReorderRow {
    qint64 article = 0;
    QString code;
    QString description;
    qint64 supplierKey = 0;
    QString supplier;
    QString colour;
    int position = 0;
    QString label;
    qint64 sold = 0;      // pieces sold in the weeks looked at (returns taken off)
    qint64 stock = 0;     // the stock cell as it stands
    qint64 onOrder = 0;   // pieces on supplier orders not yet loaded
    qint64 suggested = 0; // what the cover asks for
    qint64 quantity = 0;  // what will be ordered: the suggestion until the user edits it
};

// "Riordino": for the selection, per article, colour and size, the pieces
// sold in the last `salesWeeks` weeks (up to today), the stock and the pieces
// on open supplier orders, and the whole pieces to order so that the stock
// covers `coverWeeks` weeks of such sales:
//
//   suggested = max(0, ceil(sold x coverWeeks / salesWeeks) - max(stock, 0) - onOrder)
//
// A negative cell is no stock to sell, but not a debt to order either (it is
// an error of the records), so it counts as 0. An order is open until it is
// loaded into stock: once loaded, its goods are in the stock and its lines
// count no more. A row is listed when anything was sold, stocked or ordered.
// Rows come by supplier, description, article, colour and size position.
class ReorderSuggestions {
public:
    static QList<ReorderRow> compute(db::Database &database, const SizeRunSelection &selection,
                                     const ReorderSettings &settings, QDate today);

    static qint64 suggestion(qint64 sold, qint64 stock, qint64 onOrder,
                             const ReorderSettings &settings);

    // The first day whose sales count.
    static QDate firstSalesDay(QDate today, const ReorderSettings &settings);

    static const QStringList &columnTitles();
    static QStringList exportLines(const QList<ReorderRow> &rows, QDate today,
                                   const ReorderSettings &settings);
};

} // namespace corvale

#pragma once

#include "documents/LineSheet.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace corvale {

class PageCanvas;

namespace db {
class Database;
}

// The printed counter sale: the shop's heading centred on the left third of
// the page, the lines in five columns under a boxed header (repeated on every
// page), then the sale discount and the total.
struct SalePrintout {
    QString name;      // RAGIONE, bold
    QString name2;     // RAGION2
    QString address;   // ADDRESS + " " + CITTA
    QString vatLine;   // "P.IVA " + PIVA
    QString phoneLine; // "Tel " + TEL, " Fax " + FAX, each only when given
    QList<SheetRow> rows;
    // Under each line sold at a campaign's price, the previous price and the
    // reduction ("Prezzo precedente € 79,90 −30%"); empty otherwise.
    QStringList reductions;
    double discount = 0;
    double total = 0;

    // The heading from the shop's CONFIG record.
    void readShop(db::Database &database);
    void draw(PageCanvas &canvas) const;

    // The reductions of `rows` sold on `day`.
    static QStringList reductionsOf(db::Database &database, const QList<SheetRow> &rows, QDate day);

    // A percentage as the sale prints it: "10", "12,5"; empty for 0.
    static QString percentText(double value);
};

} // namespace corvale

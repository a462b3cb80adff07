#pragma once

#include <QDate>
#include <QList>
#include <QString>

namespace corvale {

class PageCanvas;

namespace db {
class Database;
}

// "Scontrino di cortesia" on the shop's printer, for registers that print
// none of their own: the shop's heading, the sale's number and date, the
// register's document when it has one, each piece (article, description,
// colour, size, quantity) and the note on exchanges. No price anywhere: the
// gift goes to someone who must not see it.
struct GiftReceiptPrintout {
    static inline const QString title = QStringLiteral("SCONTRINO DI CORTESIA");
    static inline const QString exchangeNote = QStringLiteral(
        "Per il cambio di taglia o di colore presentare questo scontrino insieme alla merce.");

    struct Piece {
        QString article; // the line's code (BARCODE)
        QString description;
        QString colour;
        QString size;
        double quantity = 0;
    };

    QString name;      // RAGIONE, bold
    QString name2;     // RAGION2
    QString address;   // ADDRESS + " " + CITTA
    QString vatLine;   // "P.IVA " + PIVA
    QString phoneLine; // "Tel " + TEL, " Fax " + FAX
    QString saleNumber;
    QDate saleDate;
    QString documentLine; // the register's document, empty without one
    QList<Piece> pieces;
    bool isReturn = false; // a return or a void: pieces taken back, not given

    // The stored sale `key` with the shop's heading; false when the sale is
    // not there. Throws db::Error.
    bool read(db::Database &database, qint64 key);
    void draw(PageCanvas &canvas) const;
};

} // namespace corvale

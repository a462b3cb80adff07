#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace corvale {

namespace db {
class Database;
}

// The bulk change of "Variazioni": a percentage applied at once to the
// purchase price, the sale price or the discount of every article of a brand
// and/or a supplier (or of all articles).
//
// Prices are rewritten rounded to the cent. The mark-up that links the two
// prices follows the same rule as the article card, so that a change keeps
// the VAT in the sale price when the shop reckons its mark-up with VAT.
class PriceVariation {
public:
    enum class Target { PurchasePrice, SalePrice, Discount };

    struct Request {
        Target target = Target::PurchasePrice;
        QString percentText;            // "del (%)"; not a number counts as 0
        std::optional<qint64> brand;    // MARCHI.NUMREG; nothing = every brand
        std::optional<qint64> supplier; // FORNITOR.CODICE; nothing = every supplier
        bool markupWithoutVat = false;  // "Calcola il ricarico senza Iva"
    };

    explicit PriceVariation(db::Database &database);

    // The filter text over ARTICOLI for the chosen brand and supplier; empty
    // when every article is concerned.
    static QString filterText(const Request &request);
    // Applies the change on `day`, which the price history records for every
    // article whose price changed; returns how many articles were rewritten.
    int run(const Request &request, QDate day);

private:
    db::Database &m_db;
};

} // namespace corvale

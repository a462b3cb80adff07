#pragma once

#include "stock/InventoryScan.h"
#include "stock/ReportArticles.h"

#include <QString>

#include <optional>

namespace corvale {

// One article's line of the inventory.
struct InventoryFigures {
    qint64 previous = 0;         // "Giac. Prec."
    qint64 loads = 0;            // "Carichi"
    qint64 sales = 0;            // "Scarichi"
    qint64 stock = 0;            // "Giacenza"
    std::optional<double> value; // "Valore": only for a positive stock value

    // With `exclude` ("Escludi") the stock leaves the previous stock out.
    static InventoryFigures of(const InventorySums &sums, double purchasePrice, bool exclude);
    // "Solo articoli con movimenti?" keeps the articles for which this holds.
    bool hasMovements() const { return previous != 0 || loads != 0 || sales != 0 || value; }
};

struct InventoryRow : ReportArticle {
    double purchasePrice = 0;
    InventoryFigures figures;
};

// The sums of the bottom bar over the rows in view.
struct InventoryTotals {
    qint64 previous = 0;
    qint64 loads = 0;
    qint64 sales = 0;
    qint64 stock = 0;
    double value = 0;

    static InventoryTotals of(const QList<InventoryRow> &rows, bool exclude);
    // The texts the bottom bar shows, in its order: "Giac. Prec.",
    // "Carichi", "Scarichi", "Giacenza", "Valore".
    QStringList texts() const;
};

} // namespace corvale

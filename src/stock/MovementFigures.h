#pragma once

#include "stock/ReportArticles.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvale {

// What moved for one article in the period.
struct MovementSums {
    double purchases = 0; // IMPORTO of receipts − returns
    qint64 loads = 0;     // QUANTITA of receipts − returns
    double sales = 0;     // IMPORTO of sale lines, those with TIPO false taken off
    qint64 unloads = 0;   // QUANTITA likewise
};

// One article's line of the load and unload summary; an amount of 0 stays empty.
struct MovementFigures {
    qint64 loads = 0;                // "Carichi"
    std::optional<double> purchases; // "Acquisti"
    qint64 unloads = 0;              // "Scarichi"
    std::optional<double> sales;     // "Vendite"
    std::optional<double> margin;    // "Ricavo"

    static MovementFigures of(const MovementSums &sums);
    // "Solo articoli con movimenti?" keeps the articles for which this holds.
    bool hasMovements() const { return loads != 0 || unloads != 0 || purchases || sales; }
};

struct MovementRow : ReportArticle {
    MovementFigures figures;
};

// The totals band over the rows in view.
struct MovementTotals {
    qint64 loads = 0;
    qint64 unloads = 0;
    double purchases = 0;
    double sales = 0;

    static MovementTotals of(const QList<MovementRow> &rows);
    // The band's texts in its order: "Carichi", "Scarichi", "Acquisti",
    // "Vendite", "Ricavo".
    QStringList texts() const;
};

} // namespace corvale

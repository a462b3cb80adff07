#pragma once

#include <QTableView>

namespace corvale {

// The label list's grid: its prices, discounts and counts are edited in place.
class LabelGrid : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

    // Stores what is being typed in a cell, as leaving the cell would.
    void postEdit();
};

} // namespace corvale

#pragma once

#include "labels/LabelLayout.h"
#include "labels/LabelOptions.h"
#include "labels/LabelPrintout.h"

namespace corvale {

class Shop;

namespace db {
class Table;
}

// The label window's "Stampa": counts the labels of the list as its handle
// shows it, asks where a sheet starts, keeps the sheet layout in Dati.ini and
// hands the printout to the print service.
class LabelPrinting {
public:
    enum class Outcome { NoLabels, Cancelled, Printed, NotPrinted };

    static const QString noLabelsMessage;
    static const QString jobTitle;

    explicit LabelPrinting(Shop &shop);

    // `barcode` draws the bars (the window's control); empty for the drawer.
    Outcome print(db::Table &list, const LabelOptions &options, const LabelLayout &layout,
                  LabelPrintout::BarcodeDraw barcode = {});

private:
    Shop &m_shop;
};

} // namespace corvale

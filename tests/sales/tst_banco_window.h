#pragma once

// Driving the counter sale window as the shop does: a scanner typing into
// whatever has the focus, the size panel's cells clicked, the boxes typed.

#include "tst_banco_data.h"

#include "common/RecordingOpener.h"
#include "common/Widgets.h"
#include "documents/SheetGrid.h"
#include "sales/CounterSale.h"
#include "sales/SaleSizePanel.h"
#include "sales/TFBanco.h"
#include "widgets/OpenerWindow.h"
#include "widgets/TableModel.h"

#include <QApplication>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

using SaleOpener = RecordingOpener;

inline void showSale(corvale::TFBanco &w) {
    w.resize(1100, 700);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

// A scanner: every character, then Enter, to the widget that has the focus.
inline void scan(const QString &code) {
    for (QChar c : code) {
        QWidget *target = QApplication::focusWidget();
        QVERIFY2(target, "nothing has the focus");
        QTest::keyClick(target, c.toLatin1());
    }
    QWidget *target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, Qt::Key_Return);
}

inline QString labelText(QWidget &w, const char *name) {
    return testing::child<QLabel>(w, name)->text();
}

// A click on a cell of the size panel's stock grid (column 0: the colour).
inline void clickStockCell(corvale::TFBanco &w, int row, int column) {
    QTableWidget *grid = w.sizePanel().grid();
    QTableWidgetItem *item = grid->item(row, column);
    QVERIFY(item);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(item).center());
}

inline QStringList saleColumn(corvale::TFBanco &w, const QString &field) {
    QStringList out;
    for (const corvale::SheetRow &row : w.sale().lines())
        out << row.text(field);
    return out;
}

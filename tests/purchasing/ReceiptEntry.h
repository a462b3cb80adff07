#pragma once

#include "documents/DocumentData.h"

#include "common/RecordingOpener.h"
#include "common/Widgets.h"
#include "db/Table.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"
#include "documents/SheetGrid.h"
#include "documents/SizePanel.h"
#include "purchasing/TFCarico.h"
#include "widgets/LookupCombo.h"
#include "widgets/OpenerWindow.h"
#include "widgets/TableModel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// A control of the window itself, not of its size panel (both have "Annulla" and "Nuovo").
template <typename T = QPushButton> T *own(QWidget &w, const char *name) {
    T *c = w.findChild<T *>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly);
    if (!c)
        qFatal("no control named %s", name);
    return c;
}

// The helpers take the receipt and the return and order window alike.
template <typename Window> void chooseSupplier(Window &w, const QString &name) {
    auto *box = testing::child<corvale::LookupCombo>(w, "Fornitore");
    box->setCurrentIndex(box->findText(name));
}

// Chooses an article on the first row without one, as the user does: typing in
// the "Articolo" column opens the search box, Enter chooses.
template <typename Window> void typeArticle(Window &w, const QString &description) {
    corvale::SheetGrid &grid = w.grid();
    corvale::TableModel &model = grid.model();
    const int descriptionColumn = model.columnOf(corvale::sheet::DESCRIZION);
    int row = 0;
    while (row < model.rowCount() &&
           !model.data(model.index(row, descriptionColumn)).toString().trimmed().isEmpty())
        ++row;
    grid.setFocus();
    grid.setCurrentIndex(model.index(row, grid.articleColumn()));
    QTest::keyClicks(&grid, description.left(1));
    QComboBox *search = grid.searchBox();
    QVERIFY(search->isVisible());
    QCOMPARE(search->currentText(), description.left(1));
    search->setEditText(description);
    QTest::keyClick(search->lineEdit(), Qt::Key_Return);
}

// Fills the size panel for one colour and presses "Carica".
template <typename Window>
void loadSizes(Window &w, const QString &colour, const QList<double> &quantities) {
    corvale::SizePanel &panel = w.sizePanel();
    QVERIFY(panel.isVisible());
    panel.colourBox()->setCurrentIndex(panel.colourBox()->findText(colour));
    for (int p = 1; p <= quantities.size(); ++p)
        panel.quantityBox(p)->setText(QString::number(quantities[p - 1]));
    testing::click(panel, "Carica");
}

template <typename Window> QStringList sheetColumn(Window &w, const QString &field) {
    QStringList out;
    for (const corvale::SheetRow &row : w.sheet().allLines())
        out << row.text(field);
    return out;
}

// Copies the sheet's first line onto `row` (0-based) with another size and
// quantity, as a line entered there below empty rows.
template <typename Window> void copyFirstLineTo(Window &w, int row, int position, double quantity) {
    corvale::db::Table &t = w.sheet().table();
    t.first();
    QVariantMap values;
    for (const QString &c :
         {corvale::sheet::BARCODE, corvale::sheet::DESCRIZION, corvale::sheet::CODICE,
          corvale::sheet::MARCHIO, corvale::sheet::MISURA, corvale::sheet::COLORE,
          corvale::sheet::CTAGLIA, corvale::sheet::PREZZO, corvale::sheet::PRZVND,
          corvale::sheet::TIPOTAGLIA, corvale::sheet::IVA, corvale::sheet::SCONTO})
        values.insert(c, t.value(c));
    t.moveBy(row);
    t.edit();
    for (auto it = values.begin(); it != values.end(); ++it)
        t.setValue(it.key(), it.value());
    t.setInteger(corvale::sheet::TAGLIA, position);
    t.setFloat(corvale::sheet::QUANTITA, quantity);
    t.post();
    w.grid().reload();
    w.computeTotals();
}

// ALFA's document of `quantities` of STIVALE CUOIO in red, entered as the
// user does.
template <typename Window> void enterRedBoots(Window &w, const QList<double> &quantities) {
    chooseSupplier(w, QStringLiteral("ALFA"));
    typeArticle(w, QStringLiteral("STIVALE CUOIO"));
    loadSizes(w, QStringLiteral("ROSSO"), quantities);
}

// A line entered below empty rows is counted, stored and moves the stock
// like any other; a quantity typed on a row without an article is no line.
// `lines` and `header`: the window's tables; `stock`: size 3 in red after it.
template <typename Window>
void checkLineBelowEmptyRows(ShopFixture &f, Window &w, const QString &lines, const QString &header,
                             double stock) {
    w.resize(1000, 700);
    w.show();
    enterRedBoots(w, {2});
    // Rows 2 to 9 empty, a line on row 10.
    copyFirstLineTo(w, 9, 3, 4);
    QCOMPARE(testing::child<QLabel>(w, "NumeroPezzi")->text(), QStringLiteral("6"));
    QCOMPARE(testing::child<QLabel>(w, "Totale")->text(), QStringLiteral("144,00"));
    corvale::TableModel &model = w.grid().model();
    QVERIFY(model.setData(model.index(4, model.columnOf(corvale::sheet::QUANTITA)),
                          QStringLiteral("7")));
    QCOMPARE(testing::child<QLabel>(w, "NumeroPezzi")->text(), QStringLiteral("6"));
    own(w, "Salva")->click();
    QVERIFY(!w.isVisible());
    // Stored as shown.
    QCOMPARE(f.column(lines, corvale::sheet::TAGLIA), (QStringList{"1", "3"}));
    QCOMPARE(f.column(header, corvale::doc::NUMPEZZI), QStringList{"6"});
    QCOMPARE(f.column(header, corvale::doc::TOTALE), QStringList{"144"});
    QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), stock);
    QVERIFY(f.prompter.done());
}

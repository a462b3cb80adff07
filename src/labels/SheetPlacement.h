#pragma once

#include "labels/LabelLayout.h"

#include <QPoint>
#include <QString>

namespace corvale {

// Where the labels of a sheet printout go: down the rows of a column, then on
// to the next column, then to the first label of a new page. Pages have the
// printable width and height given, in printer pixels.
class SheetPlacement {
public:
    SheetPlacement(const LabelLayout &layout, int pageWidth, int pageHeight, int startRow,
                   int startColumn);

    // The starting row or column (from 0) of an answer to "Riga di partenza"
    // or "Colonna di partenza": the number typed less one, the first when it
    // is not a number, brought within the sheet's `count` rows or columns.
    static int startIndex(const QString &answer, int count);

    int row() const { return m_row; }
    int column() const { return m_column; }
    int columnWidth() const { return m_columnWidth; }
    int rowHeight() const { return m_rowHeight; }
    // The top-left corner of the current label.
    QPoint topLeft() const;
    // Moves to the next label; true when it is on a new page.
    bool advance();

private:
    LabelLayout m_layout;
    int m_columnWidth;
    int m_rowHeight;
    int m_row;
    int m_column;
};

} // namespace corvale

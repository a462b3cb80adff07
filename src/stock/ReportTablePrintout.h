#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace corvale {

class PageCanvas;

// A list report on paper: the shop's two name lines and the title centred,
// then the column titles (repeated on every page), one line per row with a
// rule under it, and a closing line in bold. Columns are given as shares of
// the printable width; numbers stand right-aligned in their column.
class ReportTablePrintout {
public:
    struct Column {
        QString title;
        int share = 1;      // of the sum of every column's share
        bool right = false; // right-aligned (numbers)
    };
    struct Document {
        QString nameLine1;
        QString nameLine2;
        QString title; // "TAGLIE ROTTE - " + date, say
        QList<Column> columns;
        QList<QStringList> rows;
        QStringList closing; // the totals line; empty for none
    };

    static void draw(PageCanvas &canvas, const Document &document);
};

} // namespace corvale

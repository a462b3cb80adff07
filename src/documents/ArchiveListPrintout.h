#pragma once

#include <QList>
#include <QString>

namespace corvale {

class PageCanvas;

// The printed list of an archive's documents: the shop's name lines, the
// period's title, one row per document (party, number, date, total) with the
// page number at each page's foot, and the archive's sum at the end.
struct ArchiveListPrintout {
    struct Row {
        QString party;
        QString number;
        QString date;
        double total = 0;
    };

    QString nameLine1; // RAGIONE
    QString nameLine2; // RAGION2
    QString title;
    QList<Row> rows;
    double sum = 0;

    void draw(PageCanvas &canvas) const;
};

} // namespace corvale

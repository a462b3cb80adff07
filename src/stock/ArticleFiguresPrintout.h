#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace corvale {

class PageCanvas;

// A stock report of figures per article on paper, as the inventory and the
// movements list print it: the shop's two name lines and the title centred,
// then on every page "Codice", "Articolo" and the figures' titles over a rule,
// with the page number at the foot; one ruled line per article, and the
// totals in bold at the end. The page is `units` equal parts wide: the code
// takes two, the article nine, and each figure two, right-aligned.
class ArticleFiguresPrintout {
public:
    struct Row {
        QString code;
        QString article;
        QStringList figures;
    };
    struct Document {
        QString nameLine1;
        QString nameLine2;
        QString title;
        int units = 0;
        QStringList titles;
        QList<Row> rows;
        QStringList totals;
        // The figure column of each total.
        QList<int> totalColumns;
    };

    static void draw(PageCanvas &canvas, const Document &document);
};

} // namespace corvale

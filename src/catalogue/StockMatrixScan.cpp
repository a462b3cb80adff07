#include "catalogue/StockMatrixScan.h"

#include "catalogue/ArticleColumns.h"
#include "db/Error.h"
#include "db/Table.h"

#include <QList>

namespace corvale {

using namespace articleColumns;

void StockMatrixScan::walk(db::Database &database, const Visitor &visit) {
    db::Table t(database);
    t.setTableName(stock);
    t.open();
    const auto fArticle = t.fieldRef(stockArticle);
    QList<db::Table::FieldRef> fCells;
    for (int p = 1; p <= sizeCount; ++p)
        fCells << t.fieldRef(sizeCell(p));
    Cells cells{};
    for (t.first(); !t.eof(); t.next()) {
        qint64 article = 0;
        try {
            article = t.asInteger(fArticle);
            for (int p = 0; p < sizeCount; ++p)
                cells[size_t(p)] = t.asInteger(fCells[p]);
        } catch (const db::Error &) {
            continue;
        }
        visit(article, t.asString(colour).trimmed(), cells);
    }
}

} // namespace corvale

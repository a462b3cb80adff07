// Measures the stock reports on the large shop (20,000 articles, 1,300,000
// document lines over ten years):
//   bench_stock
// Prints one Markdown table.
#include "common/LargeShop.h"
#include "demo/LargeShop.h"

#include "db/Database.h"
#include "db/Table.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"
#include "stock/Inventory.h"
#include "stock/Movements.h"
#include "stock/StockLevels.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace corvale;

namespace {

double ms(const QElapsedTimer &t) {
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    ProgramFolder programFolder(bench::largeShopFolder());
    Clock clock(bench::largeShopToday());
    ScriptedPrompter prompter;
    Shop shop(programFolder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();
    const int articles = LargeShop::articleCount;

    std::printf("| operation | ms |\n|---|---|\n");
    {
        QElapsedTimer t;
        t.start();
        Inventory inventory(shop);
        inventory.refresh();
        const double scan = ms(t);
        const InventoryTotals totals = inventory.totals();
        std::printf("| inventory of the year (scan) | %.0f |\n", scan);
        std::printf("| inventory of the year (scan + totals of %lld loads) | %.0f |\n",
                    qint64(totals.loads), ms(t));
    }
    {
        QElapsedTimer t;
        t.start();
        Movements movements(shop);
        MovementPeriod year;
        movements.compute(year);
        const double scan = ms(t);
        movements.totals();
        std::printf("| load and unload summary of the year (scan) | %.0f |\n", scan);
        std::printf("| load and unload summary of the year (scan + totals) | %.0f |\n", ms(t));
    }
    {
        QElapsedTimer t;
        t.start();
        StockLevels levels(shop);
        levels.rebuild(1);
        const auto listed = levels.rows().size();
        std::printf("| stock levels of size type 1 (%lld rows, of %d articles) | %.0f |\n",
                    qint64(listed), articles, ms(t));
    }
    return 0;
}

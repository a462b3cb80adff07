// Measures the customer archive on the large shop (50,000 customers with cards,
// 1,000,000 sale lines over ten years):
//   bench_customers [runs]
// - the purchase totals gathered from the sale and invoice headers;
// - the archive opened: totals gathered and every row's "csaldo" and "cpunti"
//   worked out (the list, no window);
// - the window shown: the same through TFClienti with its grid filled;
// - one customer's total read fresh, as the counter sale does for a card.
// Prints one Markdown table (best and median of the runs, in milliseconds).
#include "catalogue/TableGrid.h"
#include "common/LargeShop.h"
#include "db/Database.h"
#include "db/Table.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "sales/CustomerColumns.h"
#include "sales/CustomerList.h"
#include "sales/PurchaseTotals.h"
#include "sales/TFClienti.h"
#include "schema/DataFolderSchema.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace corvale;

namespace {

struct Figures {
    double best = 0;
    double median = 0;
    double cpuBest = 0; // processor time of this process: apart from what else the machine runs
};

double cpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

Figures measure(int runs, const std::function<void()> &work) {
    std::vector<double> times;
    double cpu = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        const double cpuStart = cpuMilliseconds();
        clock.start();
        work();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        cpu = std::min(cpu, cpuMilliseconds() - cpuStart);
    }
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2], cpu};
}

void row(const char *what, const Figures &f, const char *limit) {
    std::printf("| %s | %.1f | %.1f | %.1f | %s |\n", what, f.best, f.median, f.cpuBest, limit);
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    ProgramFolder folder(bench::largeShopFolder());
    Clock clock(bench::largeShopToday());
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();
    shop.routines().LoadShopTexts();
    db::Database &db = shop.database();

    // A customer with sales, for the single look-up.
    qint64 someone = 0;
    int customers = 0;
    {
        db::Table sales(db);
        sales.setTableName(QStringLiteral("VENDITE"));
        sales.open();
        for (sales.last(); !sales.bof() && someone == 0; sales.prior())
            someone = sales.asInteger(customerColumns::saleCustomer);
        db::Table list(db);
        list.setTableName(QStringLiteral("CLIENTI"));
        list.open();
        customers = list.recordCount();
    }

    PurchaseTotals totals;
    totals.rebuild(db); // the first read brings the files into the cache
    const Figures rebuild = measure(runs, [&] { totals.rebuild(db); });

    CustomerList list(db);
    double sink = 0;
    const Figures archive = measure(runs, [&] {
        list.activate(shop.texts().pointsPerEuro);
        db::Table &t = list.table();
        for (t.first(); !t.eof(); t.next())
            sink += t.asFloat(CustomerList::totalColumn) +
                    double(t.asInteger(CustomerList::pointsColumn));
    });
    list.close();

    TFClienti window(shop);
    window.resize(1000, 700);
    int rows = 0;
    const Figures shown = measure(runs, [&] {
        window.show();
        QApplication::processEvents();
        rows = window.grid().rowCount();
        window.hide();
    });

    double one = 0;
    const Figures single = measure(runs, [&] { one = PurchaseTotals::customerTotal(db, someone); });

    std::printf("Customer archive on the large shop: %d customers, %d listed; customer %lld "
                "bought %.2f (totals: %.2f)\n\n",
                customers, rows, static_cast<long long>(someone), one, totals.total(someone));
    std::printf(
        "| operation | best ms | median ms | best cpu ms | limit |\n|---|---|---|---|---|\n");
    row("purchase totals from the sale and invoice headers", rebuild, "");
    row("archive opened: totals and every row's balance", archive, "200 ms");
    row("TFClienti shown with its grid filled", shown, "200 ms");
    row("one customer's total read fresh", single, "");
    return sink < 0 ? 1 : 0;
}

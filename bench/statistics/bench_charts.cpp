// Measures the sales charts on the large shop (about 330,000 counter sales
// holding 1,000,000 sale lines over ten years):
//   bench_charts
// Each chart is timed as its window redraws it: the values read from the
// tables, then the image drawn. Prints one Markdown table.
#include "common/LargeShop.h"

#include "db/Database.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"
#include "statistics/ArticleChart.h"
#include "statistics/ArticleValues.h"
#include "statistics/TakingsChart.h"
#include "statistics/TakingsValues.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace corvale;

namespace {

double ms(const QElapsedTimer &t) {
    return double(t.nsecsElapsed()) / 1e6;
}

void measure(const char *what, int runs, const std::function<void()> &run) {
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        times << ms(t);
    }
    std::sort(times.begin(), times.end());
    std::printf("| %s | %.1f | %.1f | %d |\n", what, times.first(), times[times.size() / 2], runs);
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv); // fonts for the drawing
    ProgramFolder folder(bench::largeShopFolder());
    Clock clock(bench::largeShopToday());
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();
    db::Database &database = shop.database();
    const int year = clock.today().year();
    const QString subtitle = QStringLiteral("VENDITE AL BANCO");

    std::printf("| chart | best (ms) | median (ms) | runs |\n|---|---|---|---|\n");
    const ChartPeriod lastYear{ChartMode::Yearly, year - 1, 1};
    const ChartPeriod thisYear{ChartMode::Yearly, year, 1};
    const ChartPeriod month{ChartMode::Monthly, year - 1, 12};
    measure("takings, a whole year (values and image)", 9, [&] {
        const Takings takings = TakingsValues::read(database, lastYear);
        TakingsChart::render(takings, lastYear, subtitle);
    });
    measure("takings, the current year (values and image)", 9, [&] {
        const Takings takings = TakingsValues::read(database, thisYear);
        TakingsChart::render(takings, thisYear, subtitle);
    });
    measure("takings, one month by day (values and image)", 9, [&] {
        const Takings takings = TakingsValues::read(database, month);
        TakingsChart::render(takings, month, subtitle);
    });
    measure("takings image alone", 9, [&] {
        static const Takings takings = TakingsValues::read(database, lastYear);
        TakingsChart::render(takings, lastYear, subtitle);
    });
    measure("article chart of one article, current year (values and image)", 5, [&] {
        const ArticleSales sales = ArticleValues::read(database, 1234, thisYear);
        ArticleChart::render(sales, thisYear);
    });
    return 0;
}

// Measures the opening of the article archive on the large shop (20,000
// articles, about three stock rows each):
//   bench_articles
// Run on the offscreen platform (QT_QPA_PLATFORM=offscreen). Prints one
// Markdown table. Build it in a release configuration for figures worth quoting.
#include "common/LargeShop.h"
#include "demo/LargeShop.h"

#include "catalogue/CatalogueTables.h"
#include "catalogue/TFArcArt.h"
#include "catalogue/TableGrid.h"
#include "db/Database.h"
#include "db/Table.h"
#include "platform/ScriptedPrompter.h"
#include "shell/Shop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace corvale;

namespace {

struct Figures {
    double best = 0, median = 0;
};

Figures summarise(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    ProgramFolder folder(bench::largeShopFolder());
    Clock clock(bench::largeShopToday());
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    // The archive opens only catalogue tables.
    shop.setTableLayouts(catalogueTables());
    shop.openDatabase();
    const int articles = LargeShop::articleCount;

    TFArcArt window(shop);
    window.resize(1200, 800);
    std::vector<double> opening, filtering;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        window.show(); // reopens the tables, reads the list and the stock rows
        QApplication::processEvents();
        opening.push_back(double(t.nsecsElapsed()) / 1e6);
        if (window.grid().rowCount() != articles)
            std::fprintf(stderr, "listed %d of %d\n", window.grid().rowCount(), articles);
        auto *code = window.findChild<QLineEdit *>(QStringLiteral("FArticolo"));
        t.restart();
        code->setText(QStringLiteral("CAMICIA SLIM"));
        QApplication::processEvents();
        filtering.push_back(double(t.nsecsElapsed()) / 1e6);
        code->clear();
        window.hide();
    }
    const Figures open = summarise(opening);
    const Figures filter = summarise(filtering);
    std::printf("| %d articles | best ms | median ms |\n|---|---|---|\n", articles);
    std::printf("| opening the article archive (all articles) | %.1f | %.1f |\n", open.best,
                open.median);
    std::printf("| description filter \"CAMICIA SLIM\" | %.1f | %.1f |\n", filter.best,
                filter.median);
    return 0;
}

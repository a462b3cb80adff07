// Measures the size-run reports on the large shop (20,000 articles, 1,300,000
// document lines over ten years):
//   bench_sizeruns
// Prints one Markdown table: best and median of five runs of each.
#include "common/LargeShop.h"

#include "catalogue/SizeCurve.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"
#include "stock/BrokenSizes.h"
#include "stock/ReorderSuggestions.h"
#include "stock/TFRiordino.h"
#include "widgets/LookupCombo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardItemModel>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace corvale;

namespace {

// Runs `work` five times; prints the best and the median with `what`.
void measure(const char *what, const std::function<qint64()> &work) {
    QList<double> times;
    qint64 count = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        count = work();
        times << double(t.nsecsElapsed()) / 1e6;
    }
    std::sort(times.begin(), times.end());
    std::printf("| %s (%lld rows) | %.1f | %.1f |\n", what, count, times[0], times[2]);
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
    db::Database &database = shop.database();
    const QDate today = clock.today();

    std::printf("| operation | best ms | median ms |\n|---|---|---|\n");
    measure("broken size runs, whole shop",
            [&] { return qint64(BrokenSizes::compute(database, {}).size()); });
    const ReorderSettings settings{8, 4};
    measure("reorder suggestions, whole shop", [&] {
        return qint64(ReorderSuggestions::compute(database, {}, settings, today).size());
    });
    SizeRunSelection oneSupplier;
    oneSupplier.supplier = 1;
    measure("reorder suggestions, supplier 1", [&] {
        return qint64(ReorderSuggestions::compute(database, oneSupplier, settings, today).size());
    });
    for (qint64 type = 1; type <= 2; ++type) {
        SizeRunSelection ofType;
        ofType.sizeType = type;
        const QByteArray what =
            QByteArray("size curve of size type ") + QByteArray::number(type) + " over a year";
        measure(what.constData(), [&] {
            return qint64(SizeCurve::compute(database, ofType, today.addYears(-1).addDays(1), today)
                              .positions()
                              .size());
        });
    }

    // The reorder window's grid for one supplier: chosen in its box, computed and shown.
    TFRiordino window(shop);
    window.resize(1000, 700);
    window.show();
    auto *supplier = window.findChild<LookupCombo *>(QStringLiteral("FFornitore"));
    // Supplier 1 and 2 in turn: each choice computes and fills the grid once.
    int next = 0;
    measure("reorder grid of one supplier in the window", [&] {
        supplier->setCurrentKey(1 + next++ % 2);
        return qint64(window.model().rowCount());
    });
    return 0;
}

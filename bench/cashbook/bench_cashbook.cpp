// Measures the Prima nota rebuild (sources read, PRIMANOT written) on the
// large shop: about 330,000 counter sales and 5,000 invoices holding 1,000,000
// sale lines, 40,000 book movements and 6,000 payments over ten years:
//   bench_cashbook
// Prints one Markdown table.
#include "common/LargeShop.h"

#include "cashbook/CashBookColumns.h"
#include "cashbook/PrimaNota.h"
#include "db/Database.h"
#include "db/Table.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

using namespace corvale;
using namespace corvale::cashbook;

namespace {

double ms(const QElapsedTimer &t) {
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    // The rebuild writes PRIMANOT only, which every run empties first.
    ProgramFolder folder(bench::largeShopFolder());
    Clock clock(bench::largeShopToday());
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();

    std::printf("| operation | best (ms) | median (ms) | lines |\n|---|---|---|---|\n");
    auto measure = [&](const char *what, const QString &from, const QString &to) {
        QList<double> runs, reads;
        qsizetype lines = 0;
        for (int i = 0; i < 5; ++i) {
            PrimaNota book(shop.database());
            QElapsedTimer t;
            t.start();
            const PrimaNotaContent content = book.gather(from, to);
            reads << ms(t);
            book.write(content);
            runs << ms(t);
            lines = content.lines.size();
        }
        std::sort(runs.begin(), runs.end());
        std::sort(reads.begin(), reads.end());
        std::printf("| %s: rebuild | %.1f | %.1f | %lld |\n", what, runs.first(),
                    runs[runs.size() / 2], qint64(lines));
        std::printf("| %s: of which reading the sources | %.1f | %.1f | |\n", what, reads.first(),
                    reads[reads.size() / 2]);
    };
    measure("four years, 01/01/2023 - 15/06/2026", QStringLiteral("01/01/2023"),
            QStringLiteral("15/06/2026"));
    measure("one month, 01/06/2026 - 15/06/2026", QStringLiteral("01/06/2026"),
            QStringLiteral("15/06/2026"));
    measure("one month a year back, 01/06/2025 - 30/06/2025", QStringLiteral("01/06/2025"),
            QStringLiteral("30/06/2025"));
    return 0;
}

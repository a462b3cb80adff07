// Measures the opening of the article archive on a generated shop:
//   bench_articles [ARTICLES]   (default 20000; two stock rows per article)
// Run on the offscreen platform (QT_QPA_PLATFORM=offscreen). Prints one
// Markdown table. Build it in a release configuration for figures worth quoting.
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
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace corvale;

namespace {

void generate(db::Database &database, int articles) {
    static const char *brands[] = {"ALFA", "BETA", "GAMMA", "DELTA"};
    static const char *colours[] = {"ROSSO", "BLU", "NERO", "BIANCO"};
    db::Table sizes(database);
    sizes.setTableName(QStringLiteral("TAGLIE"));
    sizes.open();
    for (int s = 1; s <= 5; ++s) {
        sizes.append();
        sizes.setInteger(QStringLiteral("NUMREG"), s);
        sizes.setString(QStringLiteral("DESCRIZION"), QStringLiteral("TAGLIA %1").arg(s));
        for (int n = 1; n <= 12; ++n)
            sizes.setString(QStringLiteral("TG%1").arg(n), QString::number(34 + n));
        sizes.post();
    }
    db::Table list(database);
    list.setTableName(QStringLiteral("ARTICOLI"));
    list.open();
    db::Table stock(database);
    stock.setTableName(QStringLiteral("ARCARTTG"));
    stock.open();
    for (int i = 1; i <= articles; ++i) {
        list.append();
        list.setInteger(QStringLiteral("NUMREG"), i);
        list.setString(QStringLiteral("BARCODE"), QString::number(800000 + i));
        list.setString(
            QStringLiteral("DESCRIZION"),
            QStringLiteral("ARTICOLO %1").arg((i * 7919) % articles, 6, 10, QLatin1Char('0')));
        list.setString(QStringLiteral("MARCHIO"), QString::fromLatin1(brands[i % 4]));
        list.setInteger(QStringLiteral("N_MARCHI"), i % 4 + 1);
        list.setInteger(QStringLiteral("TIPOTAGLIA"), i % 5 + 1);
        list.setFloat(QStringLiteral("PREZZOVND"), 10 + i % 300);
        list.setFloat(QStringLiteral("SCONTO"), i % 30);
        list.setBool(QStringLiteral("INUSO"), true);
        list.post();
        for (int c = 0; c < 2; ++c) {
            stock.append();
            stock.setInteger(QStringLiteral("ARTCODE"), i);
            stock.setString(QStringLiteral("COLORE"), QString::fromLatin1(colours[(i + c) % 4]));
            for (int n = 1; n <= 12; ++n)
                stock.setInteger(QStringLiteral("TG%1").arg(n), (i + n + c) % 4);
            stock.post();
        }
    }
}

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
    const int articles = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20000;
    QTemporaryDir dir;
    ProgramFolder folder(dir.path());
    folder.prepare();
    Clock clock(QDate(2026, 3, 15));
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    // The archive opens only catalogue tables.
    shop.setTableLayouts(catalogueTables());
    shop.openDatabase();
    QElapsedTimer made;
    made.start();
    generate(shop.database(), articles);
    std::fprintf(stderr, "generated %d articles in %lld ms\n", articles, made.elapsed());

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
        code->setText(QStringLiteral("ARTICOLO 0001"));
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
    std::printf("| description filter \"ARTICOLO 0001\" | %.1f | %.1f |\n", filter.best,
                filter.median);
    return 0;
}

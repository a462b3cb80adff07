// Measures the stock reports on a generated shop of 20,000 articles and
// 1,000,000 document lines over ten years:
//   bench_stock [FOLDER] [LINES]
// Prints one Markdown table. The shop is generated once into FOLDER (kept when
// given) and reused by later runs on the same folder.
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
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

using namespace corvale;

namespace {

constexpr int articles = 20000;
constexpr int sizeTypes = 20;
const QDate today(2026, 6, 15);

double ms(const QElapsedTimer &t) {
    return double(t.nsecsElapsed()) / 1e6;
}

void generate(Shop &shop, int lines) {
    db::Database &db = shop.database();
    QRandomGenerator random(11);
    {
        db::Table t(db);
        t.setTableName(QStringLiteral("ARTICOLI"));
        t.open();
        for (int a = 1; a <= articles; ++a) {
            t.append();
            t.setInteger(QStringLiteral("NUMREG"), a);
            t.setString(QStringLiteral("BARCODE"), QString::number(800000 + a));
            t.setString(QStringLiteral("DESCRIZION"), QStringLiteral("ARTICOLO %1").arg(a));
            t.setInteger(QStringLiteral("TIPOTAGLIA"), 1 + a % sizeTypes);
            t.setFloat(QStringLiteral("PREZZOACQ"), 10 + a % 50);
            t.post();
        }
    }
    {
        db::Table t(db);
        t.setTableName(QStringLiteral("ARCARTTG"));
        t.open();
        for (int a = 1; a <= articles; ++a) {
            for (int c = 0; c < 3; ++c) {
                t.append();
                t.setInteger(QStringLiteral("ARTCODE"), a);
                t.setString(QStringLiteral("COLORE"), QStringLiteral("COLORE %1").arg(c));
                for (int p = 1; p <= 10; ++p)
                    t.setInteger(QStringLiteral("TG%1").arg(p), random.bounded(5));
                t.post();
            }
        }
    }
    // Receipts, returns and sales in the proportions of a shop: 4 : 1 : 5.
    const struct {
        const char *table;
        int share;
    } tables[] = {{"ARCART_A", 4}, {"ARCART_R", 1}, {"ARCART_V", 5}};
    for (const auto &[name, share] : tables) {
        db::Table t(db);
        t.setTableName(QString::fromLatin1(name));
        t.open();
        const bool sales = QByteArray(name) == "ARCART_V";
        for (int i = 0; i < lines * share / 10; ++i) {
            t.append();
            t.setInteger(QStringLiteral("NUMART"), random.bounded(1, articles + 1));
            t.setFloat(QStringLiteral("QUANTITA"), random.bounded(1, 6));
            t.setFloat(QStringLiteral("IMPORTO"), random.bounded(100, 20000) / 100.0);
            t.setDate(QStringLiteral("DATAREG"), QDate(2017, 1, 1).addDays(random.bounded(3650)));
            if (sales)
                t.setBool(QStringLiteral("TIPO"), true);
            t.post();
        }
    }
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTemporaryDir temporary;
    const QString folder = args.size() > 1 ? args[1] : temporary.path();
    const int lines = args.size() > 2 ? args[2].toInt() : 1000000;
    ProgramFolder programFolder(folder);
    programFolder.prepare();
    Clock clock(today);
    ScriptedPrompter prompter;
    Shop shop(programFolder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();
    const QString marker = QDir(folder).filePath(QStringLiteral("bench_stock.done"));
    if (!QFile::exists(marker)) {
        QElapsedTimer t;
        t.start();
        generate(shop, lines);
        QFile(marker).open(QIODevice::WriteOnly);
        std::printf("generated %d articles and %d lines in %.0f ms\n\n", articles, lines, ms(t));
    }

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
        levels.rows();
        std::printf("| stock levels of one size type (%d articles) | %.0f |\n",
                    articles / sizeTypes, ms(t));
    }
    return 0;
}

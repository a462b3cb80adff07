// Measures the electronic invoice on the large shop: a year of invoices read,
// written as FatturaPA files, each checked against the schema and the
// exchange system's offline rules:
//   bench_einvoice [runs]
// Works on a copy of the large shop (it marks the invoices as written), to
// which it gives the fiscal data the generator does not make.
// Prints one Markdown table (best and median of the runs, in milliseconds).
#include "catalogue/ContactColumns.h"
#include "common/LargeShop.h"
#include "db/Database.h"
#include "db/Table.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "sales/einvoice/EInvoiceExport.h"
#include "sales/einvoice/FiscalIdentity.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"
#include "shell/ShopFiscalColumns.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace corvale;

namespace {

// The shop's and its customers' fiscal data, as a shop would type them.
void addFiscalData(db::Database &database) {
    db::Table config(database);
    config.setTableName(QStringLiteral("CONFIG"));
    config.open();
    config.first();
    config.edit();
    config.setString(shopFiscal::vatNumber, QStringLiteral("01234567897"));
    config.setString(shopFiscal::regime, QStringLiteral("RF01"));
    config.setString(shopFiscal::country, QStringLiteral("IT"));
    config.post();
    db::Table customers(database);
    customers.setTableName(QStringLiteral("CLIENTI"));
    customers.open();
    int n = 0;
    for (customers.first(); !customers.eof(); customers.next(), ++n) {
        const QString first15 =
            QStringLiteral("BNCGLI75C%1F205").arg(41 + n % 30, 2, 10, QLatin1Char('0'));
        customers.edit();
        customers.setString(contactColumns::vatOrFiscalCode,
                            first15 + FiscalIdentity::checkCharacter(first15));
        customers.post();
    }
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QTemporaryDir root;
    bench::largeShopCopy(root.path());
    Clock clock(bench::largeShopToday());
    ScriptedPrompter prompter;
    Shop shop(ProgramFolder(root.path()), clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();
    addFiscalData(shop.database());

    const QDate to = bench::largeShopToday();
    const QDate from = to.addYears(-1).addDays(1);
    std::vector<double> times;
    qsizetype invoices = 0;
    for (int r = 0; r < runs; ++r) {
        QTemporaryDir out;
        QElapsedTimer timer;
        timer.start();
        EInvoiceExport writer(shop.database(), out.path());
        const auto outcomes = writer.writePeriod(from, to);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        invoices = outcomes.size();
        for (const auto &o : outcomes) {
            if (!o.written) {
                std::fprintf(stderr, "invoice %s not written: %s\n", qPrintable(o.number),
                             qPrintable(o.problems.join(QStringLiteral("; "))));
                return 1;
            }
        }
    }
    std::sort(times.begin(), times.end());
    const double best = times.front();
    const double median = times[times.size() / 2];
    std::printf("| e-invoice: a year of invoices (%lld) exported and validated | %.0f | %.0f |\n",
                qlonglong(invoices), best, median);
    std::printf("| e-invoice: one invoice (target < 5 ms) | %.2f | %.2f |\n",
                best / double(std::max<qsizetype>(1, invoices)),
                median / double(std::max<qsizetype>(1, invoices)));
    return 0;
}

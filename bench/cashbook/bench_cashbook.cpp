// Measures the Prima nota rebuild (sources read, PRIMANOT written) on a
// generated shop of 250,000 counter sales holding 1,000,000 sale lines,
// 40,000 book movements, 6,000 invoices and 6,000 payments over four and a
// half years:
//   bench_cashbook [FOLDER]
// Prints one Markdown table. The shop is generated once into FOLDER (kept when
// given) and reused by later runs on the same folder.
#include "cashbook/CashBookColumns.h"
#include "cashbook/PrimaNota.h"
#include "db/Database.h"
#include "db/Table.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace corvale;
using namespace corvale::cashbook;

namespace {

constexpr int sales = 250000;
constexpr int linesPerSale = 4;
constexpr int movements = 40000;
constexpr int invoiceCount = 6000;
constexpr int paymentCount = 6000;
const QDate first(2022, 1, 1);
const QDate today(2026, 6, 15);

double ms(const QElapsedTimer &t) {
    return double(t.nsecsElapsed()) / 1e6;
}

QDate dateAt(qint64 i, qint64 count) {
    return first.addDays(i * first.daysTo(today) / count);
}

void generate(db::Database &db) {
    QRandomGenerator random(18);
    {
        db::Table header(db);
        header.setTableName(counterSales);
        header.open();
        db::Table line(db);
        line.setTableName(QStringLiteral("ARCART_V"));
        line.open();
        for (int s = 1; s <= sales; ++s) {
            const QDate d = dateAt(s, sales);
            header.append();
            header.setInteger(QStringLiteral("NUMREG"), s);
            header.setInteger(NUMDOC, s);
            header.setDate(DATADOC, d);
            header.setString(MYDATA, d.toString(QStringLiteral("yyyyMMdd")));
            header.setFloat(TOTALE, 20 + random.bounded(30000) / 100.0);
            header.setBool(ISBANCA, random.bounded(4) == 0);
            header.post();
            for (int l = 0; l < linesPerSale; ++l) {
                line.append();
                line.setInteger(QStringLiteral("NUMVEN"), s);
                line.setInteger(QStringLiteral("NUMART"), int(random.bounded(20000)) + 1);
                line.setString(QStringLiteral("DESCRIZION"), QStringLiteral("ARTICOLO"));
                line.setFloat(QStringLiteral("QUANTITA"), 1);
                line.setFloat(QStringLiteral("PREZZO"), 25);
                line.setDate(QStringLiteral("DATAREG"), d);
                line.post();
            }
        }
    }
    {
        db::Table t(db);
        t.setTableName(invoices);
        t.open();
        for (int i = 1; i <= invoiceCount; ++i) {
            const QDate d = dateAt(i, invoiceCount);
            t.append();
            t.setInteger(NUMDOC, i);
            t.setDate(DATADOC, d);
            t.setString(MYDATA, d.toString(QStringLiteral("yyyyMMdd")));
            t.setString(RAGSOC, QStringLiteral("CLIENTE %1").arg(i % 300));
            t.setFloat(TOTALE, 100 + random.bounded(100000) / 100.0);
            t.setBool(ISBANCA, random.bounded(2));
            t.post();
        }
    }
    {
        db::Table t(db);
        t.setTableName(payments);
        t.open();
        for (int i = 1; i <= paymentCount; ++i) {
            const QDate d = dateAt(i, paymentCount);
            t.append();
            t.setInteger(QStringLiteral("NUMREG"), i);
            t.setString(DATA, d.toString(QStringLiteral("dd/MM/yyyy")));
            t.setString(MYDATA, d.toString(QStringLiteral("yyyyMMdd")));
            t.setString(COMMENTO, QStringLiteral("PAGAMENTO"));
            t.setString(CLIENTE, QStringLiteral("FORNITORE %1").arg(i % 40));
            t.setFloat(ACCONTO, 200 + random.bounded(200000) / 100.0);
            t.setBool(ISCLIENTE, random.bounded(5) == 0);
            t.setBool(ISBANCA, random.bounded(2));
            t.post();
        }
    }
    for (int book : {0, 1, 3}) {
        db::Table t(db);
        t.setTableName(bookTable(book));
        t.open();
        const int count = movements / 3 + (book == 0 ? movements % 3 : 0);
        for (int i = 1; i <= count; ++i) {
            const QDate d = dateAt(i, count);
            t.append();
            t.setString(DESCRIZION, QStringLiteral("MOVIMENTO %1").arg(i));
            t.setString(DATA, d.toString(QStringLiteral("dd/MM/yyyy")));
            t.setString(MYDATA, d.toString(QStringLiteral("yyyyMMdd")));
            t.setFloat(random.bounded(2) ? IMPORTOI : IMPORTOU, random.bounded(50000) / 100.0);
            t.post();
        }
    }
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    QDir().mkpath(root);
    ProgramFolder folder(root);
    folder.prepare();
    const bool fresh = !QFile::exists(folder.dataPath() + QStringLiteral("/VENDITE.DBF"));
    Clock clock(today);
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();
    double generation = 0;
    if (fresh) {
        QElapsedTimer t;
        t.start();
        generate(shop.database());
        generation = ms(t);
        shop.openDatabase();
    }

    std::printf("| operation | best (ms) | median (ms) | lines |\n|---|---|---|---|\n");
    if (fresh)
        std::printf("| generate the shop (once) | %.0f | | |\n", generation);
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

// Measures the supplier statement (rows rebuilt, documents, payments and
// balance of one supplier) of a supplier with 5,000 receipts, 500 returns and
// 2,000 payments over ten years, among 200 suppliers:
//   bench_statement
// Prints one Markdown table.
#include "catalogue/ContactColumns.h"
#include "db/Database.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "purchasing/PaymentColumns.h"
#include "purchasing/SupplierStatement.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace corvale;

namespace {

constexpr int suppliers = 200;
constexpr int receipts = 5000;
constexpr int returns = 500;
constexpr int payments = 2000;
const QDate today(2026, 6, 15);

void generate(db::Database &db) {
    {
        db::Table t(db);
        t.setTableName(contactColumns::suppliers);
        t.open();
        for (int c = 1; c <= suppliers; ++c) {
            t.append();
            t.setInteger(contactColumns::code, c);
            t.setString(contactColumns::name, QStringLiteral("FORNITORE %1").arg(c));
            t.post();
        }
    }
    const auto documents = [&](const QString &table, int count, qint64 firstKey) {
        db::Table t(db);
        t.setTableName(table);
        t.open();
        for (int i = 0; i < count; ++i) {
            const QDate date = today.addDays(-(i * 3650 / count));
            t.append();
            t.setInteger(doc::NUMREG, firstKey + i);
            t.setInteger(doc::NUMDOC, i % 500 + 1);
            t.setInteger(doc::NUMRAG, 1);
            t.setDate(doc::DATADOC, date);
            t.setString(doc::MYDATA, date.toString(QStringLiteral("yyyyMMdd")));
            t.setFloat(doc::TOTALE, 100 + i % 97);
            t.post();
        }
    };
    documents(QStringLiteral("CARICHI"), receipts, 1);
    documents(QStringLiteral("RESI"), returns, receipts + 1);
    db::Table t(db);
    t.setTableName(paymentColumns::payments);
    t.open();
    for (int i = 0; i < payments; ++i) {
        const QDate date = today.addDays(-(i * 3650 / payments));
        t.append();
        t.setInteger(paymentColumns::key, i + 1);
        t.setString(paymentColumns::partyKey, QStringLiteral("1"));
        t.setBool(paymentColumns::fromCustomer, false);
        t.setString(paymentColumns::date, date.toString(QStringLiteral("dd/MM/yyyy")));
        t.setString(paymentColumns::dateKey, date.toString(QStringLiteral("yyyyMMdd")));
        t.setFloat(paymentColumns::amount, 50);
        t.post();
    }
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    ProgramFolder folder(dir.path());
    folder.prepare();
    Clock clock(today);
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();
    generate(shop.database());

    QList<double> times;
    double owed = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        SupplierStatement statement(shop.database());
        statement.build(today.year() - run % 4);
        owed = statement.balance(1);
        times << double(timer.nsecsElapsed()) / 1e6;
    }
    std::sort(times.begin(), times.end());
    std::printf("| measure | ms |\n|---|---|\n");
    std::printf(
        "| supplier statement (%d receipts, %d returns, %d payments), median of 5 | %.1f |\n",
        receipts, returns, payments, times[2]);
    std::printf("| balance | %.2f |\n", owed);
    return times[2] < 200 ? 0 : 1;
}

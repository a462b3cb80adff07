// Measures the counter sale on the large shop (20,000 articles, 50,000
// customers, 1,000,000 sale lines): opening a new sale (the window created and
// shown, as its opener does), a scanned code to its line on the sheet (keys and
// Enter into whatever has the focus), and "Salva" of a 20-line sale. Sales are
// saved, so it runs on a copy.
//   bench_banco
// Prints one Markdown table: best and median in milliseconds.
#include "common/LargeShop.h"

#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "documents/SheetGrid.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "sales/CounterSale.h"
#include "sales/TFBanco.h"
#include "schema/DataFolderSchema.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace corvale;

namespace {

double ms(const QElapsedTimer &t) {
    return double(t.nsecsElapsed()) / 1e6;
}

void report(const QString &what, QList<double> runs) {
    std::sort(runs.begin(), runs.end());
    std::printf("| %s | %.1f | %.1f |\n", qPrintable(what), runs.first(), runs[runs.size() / 2]);
    std::fflush(stdout);
}

// Line barcodes sold before, spread over the whole lines table.
QStringList soldCodes(db::Database &db, int count) {
    db::Table lines(db);
    lines.setTableName(QStringLiteral("ARCART_V"));
    lines.open();
    const int step = std::max(1, lines.recordCount() / (count * 2));
    QStringList codes;
    for (lines.first(); !lines.eof() && codes.size() < count; lines.moveBy(step)) {
        const QString code = lines.asString(sheet::BARCODE).trimmed();
        if (code.size() == 13)
            codes << code;
    }
    return codes;
}

void scan(const QString &code) {
    for (QChar c : code)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

std::unique_ptr<TFBanco> openSale(Shop &shop) {
    auto w = std::make_unique<TFBanco>(shop);
    w->resize(1100, 700);
    w->show();
    w->activateWindow();
    QApplication::processEvents();
    return w;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString root = bench::largeShopCopy(temporary.path());
    ProgramFolder folder(root);
    folder.prepare();
    Clock clock(bench::largeShopToday());
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();
    shop.routines().LoadShopTexts();
    const QStringList codes = soldCodes(shop.database(), 200);
    if (codes.size() < 40) {
        std::fprintf(stderr, "too few sold codes (%lld)\n", qint64(codes.size()));
        return 1;
    }

    std::printf("| counter sale, large shop | best ms | median ms |\n|---|---|---|\n");
    QList<double> opening;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer t;
        t.start();
        auto w = openSale(shop);
        opening << ms(t);
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("Annulla")), Qt::LeftButton);
    }
    report(QStringLiteral("opening a new sale"), opening);

    QList<double> beginning;
    for (int run = 0; run < 7; ++run) {
        CounterSale sale(shop);
        QElapsedTimer t;
        t.start();
        sale.begin(0);
        beginning << ms(t);
        sale.cancel();
    }
    report(QStringLiteral("of which the tables of a new sale"), beginning);

    QList<double> scanning;
    QList<double> saving;
    int next = 0;
    for (int run = 0; run < 5; ++run) {
        auto w = openSale(shop);
        for (int i = 0; i < 20; ++i) {
            const QString code = codes[next++ % codes.size()];
            const qsizetype before = w->sale().lines().size();
            QElapsedTimer t;
            t.start();
            scan(code);
            scanning << ms(t);
            if (w->sale().lines().size() != before + 1) {
                std::fprintf(stderr, "code %s made no line\n", qPrintable(code));
                return 1;
            }
        }
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("Salva")), Qt::LeftButton);
        saving << ms(t);
        if (w->isVisible()) {
            std::fprintf(stderr, "the sale was not saved\n");
            return 1;
        }
    }
    report(QStringLiteral("a scanned code to its line"), scanning);
    report(QStringLiteral("saving a 20-line sale"), saving);
    return prompter.done() ? 0 : 1;
}

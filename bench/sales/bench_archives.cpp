// Measures the sales archive on the large shop (1,000,000 sale lines over ten
// years): the archive set to "Anno Corrente", and "Cerca" of an article code
// over that year. The search writes its marks, so it runs on a copy.
//   bench_archives
// Prints one Markdown table.
#include "common/LargeShop.h"

#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "sales/SalesArchiveSearch.h"
#include "sales/TFArcVen.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace corvale;

namespace {

double ms(const QElapsedTimer &t) {
    return double(t.nsecsElapsed()) / 1e6;
}

void report(const QString &what, QList<double> runs) {
    std::sort(runs.begin(), runs.end());
    std::printf("| %s | %.1f | %.1f |\n", qPrintable(what), runs.first(), runs[runs.size() / 2]);
}

// Codes sold this year, one from every `step`-th sale line of the year.
QStringList codesOfTheYear(db::Database &db, QDate today, int count) {
    const QString low = QString::number(today.year()) + QStringLiteral("0101");
    db::Table sales(db);
    sales.setTableName(QStringLiteral("VENDITE"));
    sales.setIndexName(doc::MYDATA);
    sales.open();
    sales.setRange(low, today.toString(QStringLiteral("yyyyMMdd")));
    QList<qint64> keys;
    for (; !sales.eof() && keys.size() < count; sales.next()) {
        keys << sales.asInteger(doc::NUMREG);
        sales.moveBy(97);
    }
    db::Table lines(db);
    lines.setTableName(QStringLiteral("ARCART_V"));
    lines.setIndexName(QStringLiteral("NUMVEN"));
    lines.open();
    QStringList codes;
    for (qint64 key : keys) {
        if (lines.findKey(key) && !lines.asString(sheet::BARCODE).trimmed().isEmpty())
            codes << lines.asString(sheet::BARCODE).trimmed();
    }
    return codes;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString source = bench::largeShopFolder();
    QTemporaryDir temporary;
    const QString root = bench::largeShopCopy(temporary.path());
    Q_UNUSED(source);
    ProgramFolder folder(root);
    folder.prepare();
    Clock clock(bench::largeShopToday());
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();

    std::printf("| operation | best (ms) | median (ms) |\n|---|---|---|\n");
    TFArcVen archive(shop);
    archive.resize(1000, 700);
    auto *period = archive.findChild<QComboBox *>(QStringLiteral("Periodo"));

    // Shown (today's sales), then "Anno Corrente".
    QList<double> showing, year;
    int listed = 0;
    for (int i = 0; i < 7; ++i) {
        archive.hide();
        QElapsedTimer t;
        t.start();
        archive.show();
        showing << ms(t);
        t.restart();
        period->setCurrentIndex(int(PeriodFilter::Period::CurrentYear));
        year << ms(t);
        listed = archive.list().rowCount();
    }
    report(QStringLiteral("sales archive shown (today's sales)"), showing);
    report(QStringLiteral("sales archive, \"Anno Corrente\" (%1 sales)").arg(listed), year);

    // "Cerca" of a code sold this year, within "Anno Corrente": the marks over
    // every sale, the list of the year's sales with the code and their sum.
    const QStringList codes = codesOfTheYear(shop.database(), clock.today(), 7);
    QList<double> searches, marking;
    int found = 0;
    for (const QString &code : codes) {
        prompter.expectInput(QStringLiteral("Ricerca Vendita"),
                             QStringLiteral("Inserici il codice dell'articolo"), code);
        QElapsedTimer t;
        t.start();
        archive.BCercaClick();
        searches << ms(t);
        found = archive.list().rowCount();
        t.restart();
        markSalesWithCode(shop.database(), code);
        marking << ms(t);
    }
    if (!searches.isEmpty()) {
        report(QStringLiteral("\"Cerca\" of a code over \"Anno Corrente\" (last: %1 sales listed)")
                   .arg(found),
               searches);
        report(QStringLiteral("  the same search without the window (lines read, marks written)"),
               marking);
    }
    return prompter.done() ? 0 : 1;
}

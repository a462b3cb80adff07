// Measures the purchase archive and the goods receipt on a copy of the large
// shop (20,000 articles, 300,000 receipt lines over ten years):
//   bench_documents
// Prints one Markdown table.
#include "common/LargeShop.h"

#include "catalogue/StockRoutines.h"
#include "catalogue/TableGrid.h"
#include "db/Database.h"
#include "db/Table.h"
#include "documents/DocumentSaver.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "purchasing/TFArcAcq.h"
#include "schema/DataFolderSchema.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace corvale;

namespace {

constexpr int linesPerReceipt = 50;

double ms(const QElapsedTimer &t) {
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The receipts saved here change the shop: they go to a copy of it.
    QTemporaryDir temporary;
    ProgramFolder folder(bench::largeShopCopy(temporary.path()));
    const QDate today = bench::largeShopToday();
    Clock clock(today);
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();

    std::printf("| operation | best (ms) | median (ms) |\n|---|---|---|\n");
    auto report = [](const char *what, QList<double> runs) {
        std::sort(runs.begin(), runs.end());
        std::printf("| %s | %.1f | %.1f |\n", what, runs.first(), runs[runs.size() / 2]);
    };

    // The purchase archive opened and set to "Anno Corrente".
    {
        QList<double> runs;
        int listed = 0;
        for (int i = 0; i < 5; ++i) {
            TFArcAcq archive(shop);
            archive.resize(1000, 700);
            QElapsedTimer t;
            t.start();
            archive.show();
            archive.findChild<QComboBox *>(QStringLiteral("Periodo"))->setCurrentIndex(1);
            runs << ms(t);
            listed = archive.list().rowCount();
        }
        report(qPrintable(
                   QStringLiteral("purchase archive, \"Anno Corrente\" (%1 receipts)").arg(listed)),
               runs);
    }

    // A 50-line receipt saved (header, lines and 50 stock movements), then saved again.
    {
        QList<double> firstSaves, reSaves;
        for (int i = 0; i < 5; ++i) {
            const DocumentKind kind = DocumentKind::receipt();
            LineSheet sheet(shop.database(), kind);
            sheet.open();
            for (int l = 0; l < linesPerReceipt; ++l) {
                db::Table &row = sheet.table();
                row.append();
                row.setString(sheet::DESCRIZION, QStringLiteral("ARTICOLO %1").arg(l * 97 + 1));
                row.setInteger(sheet::CODICE, l * 97 + 1);
                row.setString(sheet::COLORE, QStringLiteral("ROSSO"));
                row.setInteger(sheet::TAGLIA, l % 10 + 1);
                row.setFloat(sheet::QUANTITA, 2);
                row.setFloat(sheet::PREZZO, 20);
                row.post();
            }
            sheet.appendBlankRows();
            StockRoutines stock(shop.database());
            DocumentSaver saver(shop.database(), stock, shop.routines(), kind);
            db::Table header(shop.database());
            header.setTableName(QStringLiteral("CARICHI"));
            header.setIndexName(doc::NUMREG);
            header.open();
            auto writeHeader = [&](db::Table &h) {
                h.setString(doc::MYDATA, today.toString(QStringLiteral("yyyyMMdd")));
                h.setString(doc::RAGSOC, QStringLiteral("FORNITORE 1"));
            };
            QElapsedTimer t;
            t.start();
            header.append();
            const qint64 key = saver.save(header, 0, sheet.allLines(), today, writeHeader);
            firstSaves << ms(t);
            header.findKey(key);
            t.restart();
            header.edit();
            saver.save(header, key, sheet.allLines(), today, writeHeader);
            reSaves << ms(t);
        }
        report("save a new 50-line receipt", firstSaves);
        report("save a stored 50-line receipt again (undo + write)", reSaves);
    }
    return 0;
}

// Measures the purchase archive and the goods receipt on a generated shop of
// 20,000 articles and 300,000 receipt lines:
//   bench_documents [FOLDER]
// Prints one Markdown table. The shop is generated once into FOLDER (kept when
// given) and reused by later runs on the same folder.
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
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace corvale;

namespace {

constexpr int articles = 20000;
constexpr int lines = 300000;
constexpr int linesPerReceipt = 50;
const QDate today(2026, 6, 15);
const char *colours[] = {"ROSSO", "BLU", "NERO", "BIANCO", "VERDE", "GRIGIO", "BEIGE"};

double ms(const QElapsedTimer &t) {
    return double(t.nsecsElapsed()) / 1e6;
}

void generate(Shop &shop) {
    db::Database &db = shop.database();
    QRandomGenerator random(7);
    {
        db::Table t(db);
        t.setTableName(QStringLiteral("TAGLIE"));
        t.open();
        t.append();
        t.setInteger(QStringLiteral("NUMREG"), 1);
        t.setString(QStringLiteral("DESCRIZION"), QStringLiteral("CALZATURE"));
        for (int p = 1; p <= 10; ++p)
            t.setString(QStringLiteral("TG%1").arg(p), QString::number(34 + p));
        t.post();
    }
    {
        db::Table t(db);
        t.setTableName(QStringLiteral("COLORI"));
        t.open();
        for (int c = 0; c < 7; ++c) {
            t.append();
            t.setInteger(QStringLiteral("NUMREG"), c + 1);
            t.setString(QStringLiteral("COLORE"), QString::fromLatin1(colours[c]));
            t.post();
        }
    }
    {
        db::Table t(db);
        t.setTableName(QStringLiteral("ARTICOLI"));
        t.open();
        for (int a = 1; a <= articles; ++a) {
            t.append();
            t.setInteger(QStringLiteral("NUMREG"), a);
            t.setString(QStringLiteral("BARCODE"), QString::number(800000 + a));
            t.setString(QStringLiteral("DESCRIZION"), QStringLiteral("ARTICOLO %1").arg(a));
            t.setString(QStringLiteral("MARCHIO"), QStringLiteral("MARCA %1").arg(a % 40));
            t.setInteger(QStringLiteral("TIPOTAGLIA"), 1);
            t.setInteger(QStringLiteral("N_FOR"), a % 30 + 1);
            t.setFloat(QStringLiteral("PREZZOACQ"), 20 + a % 50);
            t.setFloat(QStringLiteral("PREZZOVND"), 50 + a % 80);
            t.setFloat(QStringLiteral("IVA"), 22);
            t.setBool(QStringLiteral("INUSO"), true);
            t.post();
        }
    }
    const int receipts = lines / linesPerReceipt;
    db::Table header(db);
    header.setTableName(QStringLiteral("CARICHI"));
    header.open();
    db::Table line(db);
    line.setTableName(QStringLiteral("ARCART_A"));
    line.open();
    const QDate start(2024, 1, 1);
    for (int r = 1; r <= receipts; ++r) {
        const QDate date = start.addDays(qint64(r) * start.daysTo(today) / receipts);
        header.append();
        header.setInteger(doc::NUMREG, r);
        header.setInteger(doc::NUMDOC, r);
        header.setDate(doc::DATADOC, date);
        header.setString(doc::MYDATA, date.toString(QStringLiteral("yyyyMMdd")));
        header.setString(doc::RAGSOC, QStringLiteral("FORNITORE %1").arg(r % 30 + 1));
        header.setInteger(doc::NUMRAG, r % 30 + 1);
        header.setFloat(doc::NUMPEZZI, linesPerReceipt);
        header.setFloat(doc::TOTALE, 1000 + r % 500);
        header.post();
        for (int i = 0; i < linesPerReceipt; ++i) {
            const int a = int(random.bounded(articles)) + 1;
            const int colour = int(random.bounded(7)) + 1;
            const int size = int(random.bounded(10)) + 1;
            line.append();
            line.setInteger(doc::NUMCAR, r);
            line.setInteger(doc::NUMART, a);
            line.setString(
                sheet::BARCODE,
                QStringLiteral("%1%2%3").arg(800000 + a).arg(100 + colour).arg(100 + size));
            line.setString(sheet::DESCRIZION, QStringLiteral("ARTICOLO %1").arg(a));
            line.setString(sheet::COLORE, QString::fromLatin1(colours[colour - 1]));
            line.setInteger(sheet::TAGLIA, size);
            line.setFloat(sheet::QUANTITA, 1);
            line.setFloat(sheet::PREZZO, 20);
            line.setDate(doc::DATAREG, date);
            line.post();
        }
    }
    shop.routines().SetCounter(QStringLiteral("ACQUISTI"), receipts);
    // The stock those lines made.
    StockRoutines(db).RebuildStock();
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    QDir().mkpath(root);
    ProgramFolder folder(root);
    folder.prepare();
    const bool fresh = !QFile::exists(folder.dataPath() + QStringLiteral("/CARICHI.DBF"));
    Clock clock(today);
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();
    double generation = 0;
    if (fresh) {
        QElapsedTimer t;
        t.start();
        generate(shop);
        generation = ms(t);
        shop.openDatabase();
    }

    std::printf("| operation | best (ms) | median (ms) |\n|---|---|---|\n");
    if (fresh)
        std::printf("| generate the shop (once) | %.0f | |\n", generation);
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
            auto writeHeader = [](db::Table &h) {
                h.setString(doc::MYDATA, today.toString(QStringLiteral("yyyyMMdd")));
                h.setString(doc::RAGSOC, QStringLiteral("FORNITORE 1"));
            };
            QElapsedTimer t;
            t.start();
            header.append();
            const qint64 key = saver.save(header, 0, sheet.savedLines(), today, writeHeader);
            firstSaves << ms(t);
            header.findKey(key);
            t.restart();
            header.edit();
            saver.save(header, key, sheet.savedLines(), today, writeHeader);
            reSaves << ms(t);
        }
        report("save a new 50-line receipt", firstSaves);
        report("save a stored 50-line receipt again (undo + write)", reSaves);
    }
    return 0;
}

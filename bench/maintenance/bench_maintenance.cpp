// Measures the archive copy ("Salva") and the restore ("Carica") of a large
// data folder against `zip -9 -j` and `unzip` of the same files:
//   bench_maintenance [FOLDER] [MEGABYTES]
// The shop (300 MB by default, mostly sale and receipt lines) is generated
// once into FOLDER and reused by later runs on the same folder. Prints one
// Markdown table; each figure is the best of three runs on a warm cache.
#include "db/Database.h"
#include "db/Table.h"
#include "maintenance/ArchiveContents.h"
#include "maintenance/DataFolderBackup.h"
#include "maintenance/DataFolderRestore.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace corvale;

namespace {

constexpr int seedLines = 40000;
const char *colours[] = {"ROSSO", "BLU", "NERO", "BIANCO", "VERDE", "GRIGIO", "BEIGE"};

void fillLines(db::Database &db, const QString &table, const QString &documentField) {
    QRandomGenerator random(11);
    db::Table t(db);
    t.setTableName(table);
    t.open();
    for (int i = 0; i < seedLines; ++i) {
        t.append();
        t.setInteger(documentField, 1 + i / 20);
        const int article = int(random.bounded(1, 20000));
        t.setInteger(QStringLiteral("NUMART"), article);
        t.setString(QStringLiteral("BARCODE"), QString::number(800000 + article));
        t.setString(QStringLiteral("DESCRIZION"), QStringLiteral("ARTICOLO %1").arg(article));
        t.setString(QStringLiteral("COLORE"), QString::fromLatin1(colours[random.bounded(7)]));
        t.setInteger(QStringLiteral("TAGLIA"), random.bounded(1, 11));
        t.setFloat(QStringLiteral("QUANTITA"), random.bounded(1, 5));
        t.setFloat(QStringLiteral("PREZZO"), random.bounded(1000, 20000) / 100.0);
        t.post();
    }
}

// Grows a table to about `bytes` by repeating its records (the index goes
// stale, which a copy of the files does not notice).
void inflate(const QString &path, qint64 bytes) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    QByteArray all = f.readAll();
    f.close();
    const auto *h = reinterpret_cast<const uchar *>(all.constData());
    const quint32 count = qFromLittleEndian<quint32>(h + 4);
    const quint16 headerLength = qFromLittleEndian<quint16>(h + 8);
    const quint16 recordLength = qFromLittleEndian<quint16>(h + 10);
    const QByteArray records = all.mid(headerLength, qsizetype(count) * recordLength);
    const qint64 copies = std::max<qint64>(1, bytes / records.size());
    QByteArray header = all.left(headerLength);
    qToLittleEndian<quint32>(quint32(count * copies), reinterpret_cast<uchar *>(header.data()) + 4);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(header);
    for (qint64 i = 0; i < copies; ++i)
        f.write(records);
    f.write("\x1A", 1);
}

double bestOf3(const std::function<void()> &setup, const std::function<void()> &run) {
    double best = 1e18;
    for (int i = 0; i < 3; ++i) {
        if (setup)
            setup();
        QElapsedTimer t;
        t.start();
        run();
        best = std::min(best, double(t.nsecsElapsed()) / 1e9);
    }
    return best;
}

void runProgram(const QString &program, const QStringList &arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, arguments);
    p.waitForFinished(-1);
    if (p.exitCode() != 0)
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
}

qint64 folderSize(const QString &path) {
    qint64 total = 0;
    for (const QFileInfo &i : QDir(path).entryInfoList(QDir::Files))
        total += i.size();
    return total;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    const qint64 megabytes = argc > 2 ? QByteArray(argv[2]).toLongLong() : 300;
    ProgramFolder folder(root);
    folder.prepare();
    Clock clock(QDate(2026, 6, 15));
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    const bool fresh = !QFileInfo(folder.dataPath()).isDir();
    shop.openDatabase();
    if (fresh) {
        fillLines(shop.database(), QStringLiteral("ARCART_V"), QStringLiteral("NUMVEN"));
        fillLines(shop.database(), QStringLiteral("ARCART_A"), QStringLiteral("NUMCAR"));
        shop.database().close();
        const QDir data(folder.dataPath());
        inflate(data.filePath(QStringLiteral("ARCART_V.DBF")), megabytes * 1024 * 1024 * 2 / 3);
        inflate(data.filePath(QStringLiteral("ARCART_A.DBF")), megabytes * 1024 * 1024 / 3);
        shop.openDatabase();
    }
    const QString data = folder.dataPath();
    QStringList files;
    for (const QString &name : ArchiveContents::dataFiles())
        if (QFileInfo::exists(QDir(data).filePath(name)))
            files << QDir(data).filePath(name);

    const QString archive = QDir(folder.archivePath()).filePath(QStringLiteral("BENCH.KVR"));
    const QString zipArchive = QDir(root).filePath(QStringLiteral("bench.zip"));
    const double save =
        bestOf3([&] { QFile::remove(archive); }, [&] { DataFolderBackup(shop).salva(archive); });
    const double zip = bestOf3(
        [&] { QFile::remove(zipArchive); },
        [&] {
            runProgram(QStringLiteral("zip"), QStringList{"-9", "-j", "-q", zipArchive} + files);
        });

    const QString unzipInto = QDir(root).filePath(QStringLiteral("unzipped"));
    const double unzip =
        bestOf3([&] { QDir(unzipInto).removeRecursively(); },
                [&] {
                    runProgram(QStringLiteral("unzip"), {"-q", "-o", archive, "-d", unzipInto});
                });
    QDir(unzipInto).removeRecursively();
    const double restore = bestOf3(
        [&] {
            // Each restore keeps the folder it replaces: drop the last one.
            for (const QFileInfo &kept :
                 QDir(folder.archivePath()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
                QDir(kept.absoluteFilePath()).removeRecursively();
        },
        [&] { DataFolderRestore(shop).ripristina(archive); });
    for (const QFileInfo &kept :
         QDir(folder.archivePath()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        QDir(kept.absoluteFilePath()).removeRecursively();
    std::printf("Data folder: %.0f MB in %lld listed files; archive %.1f MB (zip -9: %.1f MB)\n\n",
                folderSize(data) / 1048576.0, qlonglong(files.size()),
                QFileInfo(archive).size() / 1048576.0,
                QFileInfo(zipArchive).exists() ? QFileInfo(zipArchive).size() / 1048576.0 : 0.0);
    std::printf("| operation | CORVALE (s) | reference (s) | ratio |\n|---|---|---|---|\n");
    std::printf("| save vs zip -9 -j | %.2f | %.2f | %.2f |\n", save, zip, save / zip);
    std::printf("| restore vs unzip | %.2f | %.2f | %.2f |\n", restore, unzip, restore / unzip);
    QFile::remove(zipArchive);
    return 0;
}

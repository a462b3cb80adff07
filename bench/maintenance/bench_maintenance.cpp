// Measures the archive copy ("Salva") and the restore ("Carica") of the large
// shop's data folder (about 440 MB, mostly sale and receipt lines) against
// `zip -9 -j` and `unzip` of the same files:
//   bench_maintenance
// Prints one Markdown table; each figure is the best of three runs on a warm
// cache.
#include "common/LargeShop.h"

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
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace corvale;

namespace {

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
    // The restore replaces the data folder: it works on a copy of the large shop.
    QTemporaryDir temporary;
    const QString root = bench::largeShopCopy(temporary.path());
    ProgramFolder folder(root);
    Clock clock(bench::largeShopToday());
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();
    const QString data = folder.dataPath();
    QStringList files;
    for (const QString &name : ArchiveContents::dataFiles(shop.tableLayouts()))
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

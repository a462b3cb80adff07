// Measures the archive copy ("Salva", the exit backup) and the restore
// ("Carica") of the large shop's data folder (about 440 MB, mostly sale and
// receipt lines) against other tools on the same files, in one run:
//   bench_maintenance
// `zip -9 -j` and `zip -6 -j` write a ZIP archive of the same files; `pigz -p 2
// -9` and `libdeflate-gzip -6` (when installed) compress the same files read
// as one stream; `unzip` extracts our archive. Prints one Markdown table with
// time and archive size side by side, and the load average it ran under. Our
// figures are the best of three runs on a warm cache, the others' one run.
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
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace corvale;

namespace {

double timed(const std::function<void()> &run) {
    QElapsedTimer t;
    t.start();
    run();
    return double(t.nsecsElapsed()) / 1e9;
}

double bestOf3(const std::function<void()> &setup, const std::function<void()> &run) {
    double best = 1e18;
    for (int i = 0; i < 3; ++i) {
        if (setup)
            setup();
        best = std::min(best, timed(run));
    }
    return best;
}

bool runProgram(const QString &program, const QStringList &arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, arguments);
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        return false;
    }
    return true;
}

bool installed(const QString &program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

qint64 folderSize(const QString &path) {
    qint64 total = 0;
    for (const QFileInfo &i : QDir(path).entryInfoList(QDir::Files))
        total += i.size();
    return total;
}

double megabytes(const QString &file) {
    return QFileInfo(file).size() / 1e6;
}

QString loadAverage() {
    QFile load(QStringLiteral("/proc/loadavg"));
    if (!load.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(load.readAll().split(' ').mid(0, 3).join(' '));
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
    const QString other = QDir(root).filePath(QStringLiteral("other.out"));
    const QString loadBefore = loadAverage();

    struct Row {
        QString tool;
        double seconds;
        double size;
    };
    QList<Row> rows;
    const double save =
        bestOf3([&] { QFile::remove(archive); }, [&] { DataFolderBackup(shop).salva(archive); });
    rows << Row{QStringLiteral("CORVALE backup (\"Salva\")"), save, megabytes(archive)};
    auto reference = [&](const QString &tool, const QString &needs, const QString &program,
                         const QStringList &arguments, const QString &output) {
        if (!installed(needs))
            return;
        // zip adds to an archive that exists: every tool starts from none.
        QFile::remove(output);
        const double seconds = timed([&] { runProgram(program, arguments); });
        rows << Row{tool, seconds, megabytes(output)};
        QFile::remove(output);
    };
    const QString zipOut = other + QStringLiteral(".zip");
    reference(QStringLiteral("`zip -9 -j`"), QStringLiteral("zip"), QStringLiteral("zip"),
              QStringList{"-9", "-j", "-q", zipOut} + files, zipOut);
    reference(QStringLiteral("`zip -6 -j`"), QStringLiteral("zip"), QStringLiteral("zip"),
              QStringList{"-6", "-j", "-q", zipOut} + files, zipOut);
    // The streaming compressors read the tables one after the other.
    const QString concatenate = QStringLiteral("cat \"$@\" | %1 > '%2'");
    reference(
        QStringLiteral("`pigz -p 2 -9` (one stream)"), QStringLiteral("pigz"), QStringLiteral("sh"),
        QStringList{"-c", concatenate.arg(QStringLiteral("pigz -p 2 -9"), other), "sh"} + files,
        other);
    reference(
        QStringLiteral("`libdeflate-gzip -6` (one stream, one core)"),
        QStringLiteral("libdeflate-gzip"), QStringLiteral("sh"),
        QStringList{"-c", concatenate.arg(QStringLiteral("libdeflate-gzip -6 -c"), other), "sh"} +
            files,
        other);
    const double reading = timed([&] {
        for (const QString &file : files) {
            QFile f(file);
            f.open(QIODevice::ReadOnly);
            while (!f.read(1 << 20).isEmpty()) {
            }
        }
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

    std::printf("Data folder: %.0f MB in %lld listed files; %d cores; load average %s before, "
                "%s after\n\n",
                folderSize(data) / 1e6, qlonglong(files.size()), QThread::idealThreadCount(),
                qPrintable(loadBefore), qPrintable(loadAverage()));
    std::printf("| save | time (s) | archive (MB) | vs our time |\n|---|---|---|---|\n");
    for (const Row &row : rows)
        std::printf("| %s | %.2f | %.2f | %.1f× |\n", qPrintable(row.tool), row.seconds, row.size,
                    row.seconds / save);
    std::printf("| reading the tables | %.2f | — | |\n\n", reading);
    std::printf("| restore | time (s) | ratio |\n|---|---|---|\n");
    std::printf("| CORVALE restore (\"Carica\") vs `unzip` | %.2f vs %.2f | %.2f |\n", restore,
                unzip, restore / unzip);
    return 0;
}

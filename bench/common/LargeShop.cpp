#include "common/LargeShop.h"

#include "demo/LargeShop.h"
#include "demo/ShopFolder.h"

#include "db/Error.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>

#include <cstdio>
#include <cstdlib>

namespace corvale::bench {

namespace {

QString stampPath(const QString &root) {
    return QDir(root).filePath(QStringLiteral("large-shop.version"));
}

bool current(const QString &root) {
    QFile stamp(stampPath(root));
    if (!stamp.open(QIODevice::ReadOnly))
        return false;
    return stamp.readAll().trimmed().toInt() == LargeShop::version &&
           QDir(ProgramFolder(root).dataPath()).exists();
}

[[noreturn]] void fail(const QString &message) {
    std::fprintf(stderr, "large shop: %s\n", qPrintable(message));
    std::exit(1);
}

} // namespace

QString largeShopFolder() {
    QString root = qEnvironmentVariable("CORVALE_LARGE_SHOP");
    if (root.isEmpty())
        root = QStringLiteral(CORVALE_BINARY_DIR "/large-shop");
    root = QDir(root).absolutePath();
    QDir().mkpath(root);
    // Benchmarks started together wait for the one that makes the shop.
    QLockFile lock(root + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    if (!lock.lock())
        fail(QStringLiteral("cannot lock %1").arg(root));
    if (current(root))
        return root;

    const ProgramFolder folder(root);
    QFile::remove(stampPath(root));
    QDir(folder.dataPath()).removeRecursively();
    std::fprintf(stderr, "large shop: making it in %s ...\n", qPrintable(root));
    QElapsedTimer timer;
    timer.start();
    try {
        makeDataFolder(folder, &LargeShop::fill);
    } catch (const db::Error &e) {
        fail(e.message());
    }
    QFile stamp(stampPath(root));
    if (!stamp.open(QIODevice::WriteOnly))
        fail(QStringLiteral("cannot write %1").arg(stamp.fileName()));
    stamp.write(QByteArray::number(LargeShop::version) + '\n');
    std::fprintf(stderr, "large shop: made in %.1f s\n", double(timer.elapsed()) / 1000);
    return root;
}

QDate largeShopToday() {
    return LargeShop::today();
}

QString largeShopCopy(const QString &root) {
    const ProgramFolder source(largeShopFolder());
    const ProgramFolder target(root);
    QString error;
    if (!target.prepare(&error))
        fail(error);
    QDir(target.dataPath()).removeRecursively();
    QDir().mkpath(target.dataPath());
    QDirIterator files(source.dataPath(), QDir::Files);
    while (files.hasNext()) {
        files.next();
        if (!QFile::copy(files.filePath(), QDir(target.dataPath()).filePath(files.fileName())))
            fail(QStringLiteral("cannot copy %1").arg(files.filePath()));
    }
    return root;
}

} // namespace corvale::bench

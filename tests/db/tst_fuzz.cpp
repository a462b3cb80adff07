#include "../../fuzz/FuzzTargets.h"

#include <QDir>
#include <QFile>
#include <QTest>

// Replays every input kept from the fuzzers (seeds and the inputs that once crashed them)
// through the same target bodies, under the sanitizers of the test build.
class FuzzRegressionTest : public QObject {
    Q_OBJECT

private slots:
    void replay_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        const QDir root(QStringLiteral(CORVALE_TEST_DATA "/db/fuzz"));
        for (const char *name : {"dbf", "dbt", "mdx", "filter"}) {
            const QString target = QString::fromLatin1(name);
            const QDir dir(root.filePath(target));
            for (const QString &file : dir.entryList(QDir::Files))
                QTest::newRow(qPrintable(target + "/" + file)) << target << dir.filePath(file);
        }
    }

    void replay() {
        QFETCH(QString, target);
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const auto *data = reinterpret_cast<const uint8_t *>(bytes.constData());
        const size_t size = size_t(bytes.size());
        if (target == "dbf")
            corvale::db::fuzz::fuzzDbf(data, size);
        else if (target == "dbt")
            corvale::db::fuzz::fuzzDbt(data, size);
        else if (target == "mdx")
            corvale::db::fuzz::fuzzMdx(data, size);
        else
            corvale::db::fuzz::fuzzFilter(data, size);
    }
};

QTEST_GUILESS_MAIN(FuzzRegressionTest)
#include "tst_fuzz.moc"

#include "../../fuzz/ArchiveFuzzTarget.h"

#include <QDir>
#include <QFile>
#include <QTest>

// Replays the archive fuzzer's kept corpus (seeds, and the inputs it found
// that reach deep into the read) through the same body, under the sanitizers
// of the test build: the short run of the fuzzer in every test run.
class TestArchiveFuzz : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replay_data() {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(CORVALE_TEST_DATA "/maintenance/fuzz/archive"));
        const QStringList files = dir.entryList(QDir::Files);
        QVERIFY(!files.isEmpty());
        for (const QString &file : files)
            QTest::newRow(qPrintable(file)) << dir.filePath(file);
    }
    void replay() {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        corvale::fuzz::fuzzArchive(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                   size_t(bytes.size()));
    }
};

QTEST_GUILESS_MAIN(TestArchiveFuzz)
#include "tst_archivefuzz.moc"

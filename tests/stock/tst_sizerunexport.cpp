#include "SizeRunData.h"

#include "catalogue/SizeCurve.h"
#include "printing/SpreadsheetFile.h"
#include "stock/BrokenSizes.h"
#include "stock/ReorderSuggestions.h"

#include <QDir>
#include <QProcess>
#include <QTest>

using namespace corvale;
using namespace sizerun;

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

Outcome admin(const QStringList &arguments) {
    QProcess p;
    p.start(QStringLiteral(CORVALE_BINARY_DIR "/tools/admin/corvale-admin"), arguments);
    Outcome o;
    if (!p.waitForFinished(120000))
        return o;
    o.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    o.out = QString::fromUtf8(p.readAllStandardOutput());
    o.err = QString::fromUtf8(p.readAllStandardError());
    return o;
}

QByteArray bytes(const QStringList &lines) {
    const QString path = QDir::temp().filePath(QStringLiteral("sizerun-expected.xls"));
    SpreadsheetFile::write(path, lines);
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray out = f.readAll();
    f.close();
    QFile::remove(path);
    return out;
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// corvale-admin export broken-sizes|reorder|size-curve: the files the windows
// export, byte for byte, for the same selection.
class TestSizeRunExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exports() {
        ShopFixture f;
        addGarments(f);
        for (qint64 a = 1; a <= 3; ++a) {
            auto art = article(a, QStringLiteral("ART %1").arg(a), 1, 4.5 * a);
            art.supplierKey = a == 3 ? 71 : 70;
            art.season = QStringLiteral("Autunno/Inverno");
            stockdata::addArticle(f, art);
            stockRow(f, a, QStringLiteral("NERO"), {{1, int(a)}, {3, 2}});
            f.add(QStringLiteral("ARCART_V"), {{QStringLiteral("NUMART"), a},
                                               {QStringLiteral("COLORE"), QStringLiteral("NERO")},
                                               {QStringLiteral("TAGLIA"), 2},
                                               {QStringLiteral("QUANTITA"), 5},
                                               {QStringLiteral("DATAREG"), QDate(2026, 3, 10)},
                                               {QStringLiteral("TIPO"), true}});
        }
        SizeRunSelection bySupplier;
        bySupplier.supplier = 70;
        bySupplier.season = QStringLiteral("Autunno/Inverno");
        const QDate today(2026, 3, 15);
        const QByteArray broken =
            bytes(BrokenSizes::exportLines(BrokenSizes::compute(f.db(), bySupplier), today));
        const ReorderSettings settings{2, 6};
        const QByteArray reorder = bytes(ReorderSuggestions::exportLines(
            ReorderSuggestions::compute(f.db(), bySupplier, settings, today), today, settings));
        SizeRunSelection ofType;
        ofType.sizeType = 1;
        const QDate from(2025, 3, 16);
        const QByteArray curve =
            bytes(SizeCurve::compute(f.db(), ofType, from, today).exportLines(today, from, today));
        QVERIFY(broken.contains("ART 2\tNERO"));
        QVERIFY(!broken.contains("ART 3"));
        QVERIFY(reorder.contains("\t5\t0\t0\t15\t15\t")); // 5 sold in 2 weeks, 6 weeks of cover
        f.db().close();

        const QString home = f.shop->folder().root();
        const QString out = QDir(home).filePath(QStringLiteral("out.xls"));
        const QStringList base{QStringLiteral("--home"), home, QStringLiteral("--today"),
                               QStringLiteral("2026-03-15"), QStringLiteral("export")};
        const QStringList selection{QStringLiteral("--supplier"), QStringLiteral("70"),
                                    QStringLiteral("--season"), QStringLiteral("Autunno/Inverno")};
        Outcome o = admin(base + QStringList{QStringLiteral("broken-sizes")} + selection +
                          QStringList{out});
        QVERIFY2(o.status == 0, qPrintable(o.err));
        QCOMPARE(readAll(out), broken);
        o = admin(base +
                  QStringList{QStringLiteral("reorder"), QStringLiteral("--weeks"),
                              QStringLiteral("2"), QStringLiteral("--cover"), QStringLiteral("6")} +
                  selection + QStringList{out});
        QVERIFY2(o.status == 0, qPrintable(o.err));
        QCOMPARE(readAll(out), reorder);
        o = admin(base + QStringList{QStringLiteral("size-curve"), QStringLiteral("--size-type"),
                                     QStringLiteral("1"), out});
        QVERIFY2(o.status == 0, qPrintable(o.err));
        QCOMPARE(readAll(out), curve);

        for (const QStringList &wrong :
             {QStringList{"size-curve"}, QStringList{"broken-sizes", "--size-type", "1"},
              QStringList{"reorder", "--weeks", "0"}, QStringList{"inventory", "--supplier", "70"},
              QStringList{"broken-sizes", "--cover", "3"},
              QStringList{"reorder", "--brand", "x"}}) {
            o = admin(base + wrong);
            QVERIFY2(o.status == 2, qPrintable(wrong.join(u' ')));
        }
        o = admin(base + QStringList{"size-curve", "--size-type", "9"});
        QCOMPARE(o.status, 1);
    }
};

QTEST_MAIN(TestSizeRunExport)
#include "tst_sizerunexport.moc"

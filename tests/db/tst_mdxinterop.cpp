#include "db/Database.h"
#include "db/FieldCodec.h"
#include "db/LocalFileSystem.h"
#include "db/Table.h"
#include "db/TableChecker.h"
#include "db/TableFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>
#include <map>

using namespace corvale::db;

namespace {

uint32_t u32(const QByteArray &bytes, qint64 at) {
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData() + at);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// A tag's tree read straight from the MDX bytes, telling leaves from interior nodes the way
// other engines do: a node holding the tag's maximum of entries is a leaf, and so is one
// whose slot after the last entry has no block number.
struct TreeShape {
    int levels = 0;
    QStringList faults;
};

TreeShape inspectTag(const QString &mdxPath, const QString &tagName, uint32_t records,
                     bool strict) {
    TreeShape shape;
    QFile file(mdxPath);
    if (!file.open(QIODevice::ReadOnly)) {
        shape.faults << "illeggibile";
        return shape;
    }
    const QByteArray mdx = file.readAll();
    const int blockSize = int(uint8_t(mdx[22])) | int(uint8_t(mdx[23])) << 8;
    const int inUse = int(uint8_t(mdx[28]));
    qint64 header = -1;
    for (int i = 0; i < inUse; ++i) {
        const qint64 entry = 544 + 32 * i;
        if (QString::fromLatin1(mdx.constData() + entry + 4).trimmed() == tagName)
            header = qint64(u32(mdx, entry)) * 512;
    }
    if (header < 0 || header + blockSize > mdx.size()) {
        shape.faults << "indice mancante";
        return shape;
    }
    const uint32_t root = u32(mdx, header);
    const int maxKeys = int(uint8_t(mdx[header + 14])) | int(uint8_t(mdx[header + 15])) << 8;
    const int item = int(uint8_t(mdx[header + 18])) | int(uint8_t(mdx[header + 19])) << 8;
    std::map<uint32_t, int> seen;
    int leafDepth = -1;
    std::function<void(uint32_t, int)> visit = [&](uint32_t page, int depth) {
        const qint64 at = qint64(page) * 512;
        if (at + blockSize > mdx.size() || depth > 16) {
            shape.faults << QStringLiteral("pagina %1 fuori dal file").arg(page);
            return;
        }
        const int count = int(u32(mdx, at));
        if (count > maxKeys) {
            shape.faults << QStringLiteral("pagina %1: %2 chiavi").arg(page).arg(count);
            return;
        }
        const qint64 after = at + 8 + qint64(count) * item;
        const bool leaf = count == maxKeys || u32(mdx, after) == 0;
        if (leaf) {
            if (leafDepth >= 0 && leafDepth != depth)
                shape.faults << QStringLiteral("foglie a profondità diverse");
            leafDepth = depth;
            for (int i = 0; i < count; ++i)
                ++seen[u32(mdx, at + 8 + qint64(i) * item)];
            if (strict && count < maxKeys && mdx.mid(after, item) != QByteArray(item, '\0'))
                shape.faults << QStringLiteral("foglia %1: byte dopo l'ultima voce").arg(page);
            return;
        }
        if (strict && count < 1)
            shape.faults << QStringLiteral("nodo %1 con un solo figlio").arg(page);
        for (int i = 0; i <= count; ++i)
            visit(u32(mdx, at + 8 + qint64(i) * item), depth + 1);
    };
    visit(root, 1);
    shape.levels = leafDepth;
    for (uint32_t r = 1; r <= records; ++r)
        if (seen[r] != 1) {
            shape.faults << QStringLiteral("record %1 trovato %2 volte").arg(r).arg(seen[r]);
            break;
        }
    if (seen.size() > records)
        shape.faults << QStringLiteral("numeri di record fuori dalla tabella");
    return shape;
}

// One line per visible record in the tag's order, as mdxprobe prints it.
QString recordLine(const Table &t) {
    QStringList line{QString::number(t.recordNumber())};
    for (const FieldDef &field : t.fieldDefs()) {
        if (t.isNull(field.name))
            line << QString();
        else if (field.type == 'D')
            line << t.asDate(field.name).toString(Qt::ISODate);
        else if (field.type == 'N')
            line << QString::number(t.asFloat(field.name), 'g', 15);
        else
            line << t.asString(field.name);
    }
    return line.join(QLatin1Char('|'));
}

// No tag on the date: TDbf 3.2.2 keys dates by its own day count (days since 1899-12-30)
// instead of the Julian day, so it neither finds nor places dates in a dBASE date tag, and
// a record it deletes or changes takes another record's entry with it.
const QStringList tags{"DESCR", "PREZZO", "NUMERO"};

// TDbf leaves records of equal keys in the order it inserted them, the engine in record
// order: a walk is compared with each run of equal keys in record order.
QStringList inRecordOrderWithinKeys(QStringList lines, const QString &tag) {
    const int column = tag == "NUMERO" ? 1 : (tag == "DESCR" ? 2 : 3);
    auto key = [&](const QString &line) { return line.section('|', column, column); };
    for (qsizetype i = 0; i < lines.size();) {
        qsizetype j = i + 1;
        while (j < lines.size() && key(lines[j]) == key(lines[i]))
            ++j;
        std::sort(lines.begin() + i, lines.begin() + j, [](const QString &a, const QString &b) {
            return a.section('|', 0, 0).toUInt() < b.section('|', 0, 0).toUInt();
        });
        i = j;
    }
    return lines;
}

} // namespace

// The production index against Free Pascal's TDbf, an engine written independently: it
// walks and seeks the tags the engine writes, and it inserts, changes and deletes records
// in them for the engine to read back. Every tag grows to three levels or more.
class MdxInteropTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_probe;

    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }

    QStringList probe(const QStringList &arguments, const QByteArray &input = {}) {
        // TDbf looks for "INTEROP.mdx" beside a table it opens by its full path; on a file
        // system that tells letter case apart it would find no index (and clear the table's
        // index flag). The link lasts only while TDbf runs, so the engine never sees it.
        const QString link = path("INTEROP.mdx");
        const bool linked = QFile::link("INTEROP.MDX", link); // not where names ignore case
        const auto unlink = qScopeGuard([&] {
            if (linked)
                QFile::remove(link);
        });
        QProcess process;
        process.start(m_probe, arguments);
        process.write(input);
        process.closeWriteChannel();
        const bool ok = process.waitForFinished(120000) &&
                        process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        const QString err = QString::fromUtf8(process.readAllStandardError());
        if (!ok)
            qWarning("mdxprobe %s: %s", qPrintable(arguments.join(' ')), qPrintable(err));
        return ok ? QString::fromLatin1(process.readAllStandardOutput())
                        .split('\n', Qt::SkipEmptyParts)
                  : QStringList{QStringLiteral("errore")};
    }

    QStringList engineWalk(const QString &tag) {
        Database db;
        db.open(m_dir.path());
        Table t(db);
        t.setTableName("INTEROP");
        t.setIndexName(tag);
        t.open();
        QStringList lines;
        for (t.first(); !t.eof(); t.next())
            lines << recordLine(t);
        return lines;
    }

    QStringList engineSeek(const QString &tag, const QStringList &values) {
        Database db;
        db.open(m_dir.path());
        Table t(db);
        t.setTableName("INTEROP");
        t.setIndexName(tag);
        t.open();
        QStringList found;
        for (const QString &value : values)
            found << QString::number(tag == "PREZZO"
                                         ? (t.findKey(value.toDouble()) ? t.recordNumber() : 0)
                                         : (t.findKey(value) ? t.recordNumber() : 0));
        return found;
    }

    uint32_t records() {
        Database db;
        db.open(m_dir.path());
        Table t(db);
        t.setTableName("INTEROP");
        t.open();
        return t.physicalRecordCount();
    }

    // Every tag walked by both engines, the same records in the same order; the tree shape
    // checked. Returns the levels of each tag.
    QStringList crossWalk(bool strict) {
        QStringList levels;
        const uint32_t count = records();
        for (const QString &tag : tags) {
            const TreeShape shape = inspectTag(path("INTEROP.MDX"), tag, count, strict);
            if (!shape.faults.isEmpty())
                qWarning("%s: %s", qPrintable(tag), qPrintable(shape.faults.join("; ")));
            if (!shape.faults.isEmpty() || shape.levels < 3)
                return {QStringLiteral("%1: %2 livelli").arg(tag).arg(shape.levels)};
            const QStringList ours = engineWalk(tag);
            const QStringList theirs =
                inRecordOrderWithinKeys(probe({"walk", m_dir.path(), "INTEROP.DBF", tag}), tag);
            if (ours != theirs) {
                for (qsizetype i = 0; i < std::min(ours.size(), theirs.size()); ++i)
                    if (ours[i] != theirs[i]) {
                        qWarning("%s, riga %lld: %s / %s", qPrintable(tag), qlonglong(i),
                                 qPrintable(ours[i]), qPrintable(theirs[i]));
                        break;
                    }
                return {QStringLiteral("%1: %2 righe, TDbf %3")
                            .arg(tag)
                            .arg(ours.size())
                            .arg(theirs.size())};
            }
            levels << QStringLiteral("%1 %2").arg(tag).arg(shape.levels);
        }
        return levels;
    }

    QStringList tagsReadBack() {
        LocalFileSystem fs;
        const QStringList problems = TableChecker::check(fs, path("INTEROP.DBF"));
        if (!problems.isEmpty())
            return problems;
        TableFile file(fs, path("INTEROP.DBF"));
        for (const QString &tag : tags)
            if (!file.tag(tag))
                return {tag + " mancante"};
        if (!file.rebuildReason().isEmpty())
            return {file.rebuildReason()};
        return {};
    }

private slots:
    void initTestCase() {
#ifdef Q_OS_WIN
        QSKIP("il confronto con TDbf di Free Pascal si fa nella build Linux");
#endif
#ifdef CORVALE_MDXPROBE
        m_probe = QStringLiteral(CORVALE_MDXPROBE);
#else
        const QString fpc = QStandardPaths::findExecutable("fpc");
        if (fpc.isEmpty()) {
#ifdef Q_OS_LINUX
            QFAIL("Free Pascal mancante (fp-compiler, fp-units-db): eseguire scripts/setup");
#else
            QSKIP("Free Pascal non installato");
#endif
        }
        QDir().mkpath(path("units"));
        m_probe = path("mdxprobe");
        QProcess fpcRun;
        fpcRun.start(fpc, {"-v0", "-O1", "-FU" + path("units"), "-o" + m_probe,
                           QStringLiteral(CORVALE_MDXPROBE_SOURCE)});
        QVERIFY(fpcRun.waitForFinished(300000));
        QVERIFY2(fpcRun.exitCode() == 0, fpcRun.readAll().constData());
#endif
        QVERIFY(QFile::exists(m_probe));

        // Long text keys hold few entries per node, so a few thousand records make deep trees.
        Database db;
        db.open(m_dir.path());
        db.createTable("INTEROP.DBF",
                       {FieldDef::number("NUMERO", 8), FieldDef::text("DESCR", 60),
                        FieldDef::number("PREZZO", 12, 2), FieldDef::date("DATA")},
                       tags);
        Table t(db);
        t.setTableName("INTEROP");
        t.open();
        for (int i = 1; i <= 8000; ++i) {
            t.append();
            t.setInteger("NUMERO", i);
            t.setString("DESCR", QStringLiteral("ARTICOLO %1 %2")
                                     .arg((i * 7919) % 10007, 5, 10, QLatin1Char('0'))
                                     .arg(QChar('A' + i % 26)));
            t.setFloat("PREZZO", double((i * 3761) % 400000) / 100.0);
            t.setDate("DATA", QDate(2020, 1, 1).addDays((i * 13) % 2000));
            t.post();
        }
    }

    void mdxHeaderDatesCountFrom1900() {
        QFile mdx(path("INTEROP.MDX"));
        QVERIFY(mdx.open(QIODevice::ReadOnly));
        const QByteArray header = mdx.read(48);
        const QDate today = QDate::currentDate();
        for (int at : {1, 44}) {
            QCOMPARE(int(uint8_t(header[at])), today.year() - 1900);
            QCOMPARE(int(header[at + 1]), today.month());
            QCOMPARE(int(header[at + 2]), today.day());
        }
    }

    // Interior nodes one key short of full, leaves clean after their last entry, through
    // every way the engine writes the file.
    void nodesFollowTheLeafRule() {
        QStringList shapes = crossWalk(true);
        QVERIFY2(shapes.size() == tags.size(), qPrintable(shapes.join("; ")));
        qInfo("TDbf legge gli indici scritti dal motore: %s", qPrintable(shapes.join(", ")));
        QVERIFY2(tagsReadBack().isEmpty(), qPrintable(tagsReadBack().join('\n')));

        // Inserts (at the front, the middle and the end of every tag), deletes and key changes.
        {
            Database db;
            db.open(m_dir.path());
            Table t(db);
            t.setTableName("INTEROP");
            t.open();
            for (int i = 0; i < 700; ++i) {
                t.append();
                t.setInteger("NUMERO", 9000 + i);
                t.setString("DESCR", QStringLiteral("ARTICOLO %1").arg(i % 3 ? "00000" : "99999"));
                t.setFloat("PREZZO", i % 2 ? 0.01 * i : 1998.12);
                t.setDate("DATA", QDate(2019 + i % 9, 6, 1));
                t.post();
            }
            t.first();
            for (int i = 0; i < 500 && !t.eof(); ++i) {
                if (i % 3 == 0) {
                    t.remove();
                } else {
                    t.edit();
                    t.setString("DESCR", QStringLiteral("CAMBIATO %1").arg(i));
                    t.post();
                    t.next();
                }
            }
        }
        shapes = crossWalk(true);
        QVERIFY2(shapes.size() == tags.size(), qPrintable(shapes.join("; ")));
        QVERIFY2(tagsReadBack().isEmpty(), qPrintable(tagsReadBack().join('\n')));

        // A rebuild from the table.
        {
            Database db;
            db.open(m_dir.path());
            db.reindexTable("INTEROP");
        }
        shapes = crossWalk(true);
        QVERIFY2(shapes.size() == tags.size(), qPrintable(shapes.join("; ")));
    }

    // A key another engine packed from the binary double, with all 17 digits (1998.12 as
    // 1998.1199999999999): the check passes, the tag is read as it is and found by value.
    void seventeenDigitKeysMatchWithinTheDecimals() {
        QTemporaryDir dir;
        {
            Database db;
            db.open(dir.path());
            db.createTable("PREZZI.DBF", {FieldDef::number("PREZZO", 12, 2)}, {"PREZZO"});
            Table t(db);
            t.setTableName("PREZZI");
            t.open();
            for (double price : {5.0, 1998.12, 2500.5}) {
                t.append();
                t.setFloat("PREZZO", price);
                t.post();
            }
        }
        QFile mdx(dir.path() + "/PREZZI.MDX");
        QVERIFY(mdx.open(QIODevice::ReadWrite));
        QByteArray bytes = mdx.readAll();
        char ours[FieldCodec::packedLength];
        FieldCodec::packDecimal(1998.12, ours);
        const qsizetype at = bytes.indexOf(QByteArray(ours, FieldCodec::packedLength));
        QVERIFY(at > 0);
        bytes.replace(at, FieldCodec::packedLength,
                      QByteArray::fromHex("3845199811999999999990"
                                          "00"));
        mdx.seek(0);
        mdx.write(bytes);
        mdx.close();

        LocalFileSystem fs;
        const QStringList problems = TableChecker::check(fs, dir.path() + "/PREZZI.DBF");
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        {
            TableFile file(fs, dir.path() + "/PREZZI.DBF");
            QVERIFY(file.tag("PREZZO"));
            QCOMPARE(file.rebuildReason(), QString());
        }
        Database db;
        db.open(dir.path());
        Table t(db);
        t.setTableName("PREZZI");
        t.setIndexName("PREZZO");
        t.open();
        QVERIFY(t.findKey(1998.12));
        QCOMPARE(t.recordNumber(), 2u);
        QVERIFY(t.findKey("1998.12"));
        QVERIFY(t.findKey(1998.1199999)); // a computed value, within the column's decimals
        QVERIFY(!t.findKey(1998.13));
    }

    void tdbfSeeksTheEngineTags() {
        const QStringList descr{"ARTICOLO 00000", "ARTICOLO 07919 B", "CAMBIATO 2",
                                "ARTICOLO 99999", "NON ESISTE",       "ARTICOLO 05012 Q"};
        QCOMPARE(probe(QStringList{"seek", m_dir.path(), "INTEROP.DBF", "DESCR"} + descr),
                 engineSeek("DESCR", descr));
        const QStringList prices{"37.61", "1998.12", "0.01", "3999.99", "12345.67", "75.22"};
        const QStringList found = engineSeek("PREZZO", prices);
        QCOMPARE(probe(QStringList{"seek", m_dir.path(), "INTEROP.DBF", "PREZZO"} + prices), found);
        QVERIFY(found[1] != "0");
    }

    // TDbf inserts, changes and deletes records in the engine's tags; the engine reads its
    // tree as it left it, then writes it again for TDbf.
    void theEngineReadsWhatTdbfWrote() {
        QByteArray commands;
        for (int i = 0; i < 3000; ++i)
            commands += QStringLiteral("append NUMERO=%1|DESCR=TDBF %2|PREZZO=%3|DATA=2027-%4-15\n")
                            .arg(20000 + i)
                            .arg((i * 31) % 3001, 4, 10, QLatin1Char('0'))
                            .arg(i % 5 ? QString::number(i * 1.37, 'f', 2) : QString("1998.12"))
                            .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                            .toLatin1();
        for (int r = 50; r < 9000; r += 23)
            commands += "delete " + QByteArray::number(r) + "\n";
        for (int r = 60; r < 9000; r += 29)
            commands += "set " + QByteArray::number(r) + " DESCR=TDBF CAMBIO " +
                        QByteArray::number(r) + "|PREZZO=2026.12\n";
        QCOMPARE(probe({"edit", m_dir.path(), "INTEROP.DBF"}, commands), QStringList());

        const uint32_t count = records();
        QStringList shapes;
        for (const QString &tag : tags) {
            const TreeShape shape = inspectTag(path("INTEROP.MDX"), tag, count, false);
            QVERIFY2(shape.faults.isEmpty(), qPrintable(tag + ": " + shape.faults.join("; ")));
            QVERIFY2(shape.levels >= 3, qPrintable(tag));
            shapes << QStringLiteral("%1 %2").arg(tag).arg(shape.levels);
        }
        qInfo("il motore legge gli indici scritti da TDbf: %s", qPrintable(shapes.join(", ")));
        QVERIFY2(tagsReadBack().isEmpty(), qPrintable(tagsReadBack().join('\n')));
        for (const QString &tag : tags)
            QCOMPARE(engineWalk(tag), inRecordOrderWithinKeys(
                                          probe({"walk", m_dir.path(), "INTEROP.DBF", tag}), tag));
        // Keys TDbf packed from binary doubles are found by their written value.
        const QStringList found = engineSeek("PREZZO", {"1998.12", "2026.12", "4.11"});
        QVERIFY(!found.contains("0"));
        // (Each engine may land on another record of an equal key.)
        const QStringList theirs =
            probe({"seek", m_dir.path(), "INTEROP.DBF", "PREZZO", "1998.12", "2026.12", "4.11"});
        QCOMPARE(theirs.size(), 3);
        QVERIFY(!theirs.contains("0"));

        // The engine changes the table again and rewrites the file; TDbf reads it and edits on.
        {
            Database db;
            db.open(m_dir.path());
            Table t(db);
            t.setTableName("INTEROP");
            t.setIndexName("PREZZO");
            t.open();
            QVERIFY(t.findKey(2026.12));
            for (int i = 0; i < 40; ++i)
                t.remove();
            for (int i = 0; i < 200; ++i) {
                t.append();
                t.setInteger("NUMERO", 30000 + i);
                t.setString("DESCR", QStringLiteral("MOTORE %1").arg(i));
                t.setFloat("PREZZO", 1998.12 + i);
                t.post();
            }
        }
        const QStringList shapesAfter = crossWalk(true);
        QVERIFY2(shapesAfter.size() == tags.size(), qPrintable(shapesAfter.join("; ")));
        QCOMPARE(probe({"edit", m_dir.path(), "INTEROP.DBF"},
                       "append NUMERO=1|DESCR=ULTIMO|PREZZO=0.1\nset 2 PREZZO=1998.12\ndelete 3\n"),
                 QStringList());
        QVERIFY2(tagsReadBack().isEmpty(), qPrintable(tagsReadBack().join('\n')));
        for (const QString &tag : tags)
            QCOMPARE(engineWalk(tag), inRecordOrderWithinKeys(
                                          probe({"walk", m_dir.path(), "INTEROP.DBF", tag}), tag));
    }
};

QTEST_GUILESS_MAIN(MdxInteropTest)
#include "tst_mdxinterop.moc"

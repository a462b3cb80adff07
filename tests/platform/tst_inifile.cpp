#include "platform/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using corvale::IniFile;

namespace {

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private Q_SLOTS:
    void readsWindowsFileCaseInsensitively() {
        const QString p = path("win.ini");
        writeFile(p, "; impostazioni\r\n[GENERALI]\r\nNUMCOPIE = 3\r\nCalcResto=1\r\n"
                     "Negozio=Citt\xE0 \x80\r\n\r\n[RegCassa]\r\nSERIALE=COM2\r\n"
                     "SPEED=\"9600, 8, NO\"\r\n");
        IniFile ini(p);
        QCOMPARE(ini.readInteger(QStringLiteral("generali"), QStringLiteral("numcopie"), 1), 3);
        QVERIFY(ini.readBool(QStringLiteral("Generali"), QStringLiteral("CALCRESTO"), false));
        QCOMPARE(ini.readString(QStringLiteral("GENERALI"), QStringLiteral("negozio")),
                 QStringLiteral("Città €"));
        QCOMPARE(ini.readString(QStringLiteral("REGCASSA"), QStringLiteral("seriale")),
                 QStringLiteral("COM2"));
        QCOMPARE(ini.readString(QStringLiteral("REGCASSA"), QStringLiteral("SPEED")),
                 QStringLiteral("9600, 8, NO"));
        QVERIFY(ini.hasSection(QStringLiteral("regcassa")));
        QVERIFY(!ini.hasKey(QStringLiteral("REGCASSA"), QStringLiteral("DEVICE")));
    }

    void defaultsForMissingOrUnreadableValues() {
        const QString p = path("defaults.ini");
        writeFile(p, "[GENERALI]\nNUMCOPIE=tre\nFLAG=\n");
        IniFile ini(p);
        QCOMPARE(ini.readInteger(QStringLiteral("GENERALI"), QStringLiteral("NUMCOPIE"), 1), 1);
        QCOMPARE(ini.readInteger(QStringLiteral("NOSECTION"), QStringLiteral("X"), 7), 7);
        QCOMPARE(ini.readString(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"),
                                QStringLiteral("Olivetti (ELA)")),
                 QStringLiteral("Olivetti (ELA)"));
        QVERIFY(ini.readBool(QStringLiteral("GENERALI"), QStringLiteral("FLAG"), true));
        IniFile missing(path("absent.ini"));
        QCOMPARE(missing.readString(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("d")),
                 QStringLiteral("d"));
    }

    void writesKeepEverythingElse() {
        const QString p = path("keep.ini");
        const QByteArray original = "; commento iniziale\r\n[GENERALI]\r\nNUMCOPIE=1\r\n"
                                    "; nota\r\nALTRO=x\r\n\r\n[BARCODE]\r\nRIGHE=8\r\n";
        writeFile(p, original);
        IniFile ini(p);
        QVERIFY(ini.writeInteger(QStringLiteral("generali"), QStringLiteral("numcopie"), 5));
        QCOMPARE(readFile(p), QByteArray("; commento iniziale\r\n[GENERALI]\r\nnumcopie=5\r\n"
                                         "; nota\r\nALTRO=x\r\n\r\n[BARCODE]\r\nRIGHE=8\r\n"));
        QVERIFY(ini.writeBool(QStringLiteral("GENERALI"), QStringLiteral("AUTOSAVE"), true));
        QVERIFY(ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"),
                                QStringLiteral("RCH")));
        const QByteArray after = readFile(p);
        QVERIFY(after.contains("ALTRO=x\r\nAUTOSAVE=1\r\n\r\n[BARCODE]"));
        QVERIFY(after.endsWith("RIGHE=8\r\n\r\n[REGCASSA]\r\nMARCA=RCH\r\n"));
        QCOMPARE(ini.readInteger(QStringLiteral("GENERALI"), QStringLiteral("NUMCOPIE"), 1), 5);
        QVERIFY(ini.writeBool(QStringLiteral("GENERALI"), QStringLiteral("AUTOSAVE"), false));
        QCOMPARE(ini.readString(QStringLiteral("GENERALI"), QStringLiteral("AUTOSAVE")),
                 QStringLiteral("0"));
    }

    void createsMissingFileAndKeepsCodePage() {
        const QString p = path("new.ini");
        IniFile ini(p);
        QVERIFY(ini.writeString(QStringLiteral("DEFAULT"), QStringLiteral("STAGIONE"),
                                QStringLiteral("Primavera – Estate €")));
        QCOMPARE(readFile(p), QByteArray("[DEFAULT]\r\nSTAGIONE=Primavera \x96 Estate \x80\r\n"));
        QCOMPARE(ini.readString(QStringLiteral("DEFAULT"), QStringLiteral("STAGIONE")),
                 QStringLiteral("Primavera – Estate €"));
        QVERIFY(ini.removeKey(QStringLiteral("default"), QStringLiteral("stagione")));
        QVERIFY(!ini.hasKey(QStringLiteral("DEFAULT"), QStringLiteral("STAGIONE")));
    }

    void unixLineEndsStayUnix() {
        const QString p = path("unix.ini");
        writeFile(p, "[A]\nk=1\n");
        IniFile ini(p);
        QVERIFY(ini.writeString(QStringLiteral("A"), QStringLiteral("j"), QStringLiteral("2")));
        QCOMPARE(readFile(p), QByteArray("[A]\nk=1\nj=2\n"));
    }

    void unwritableFileReportsFailure() {
        IniFile ini(m_dir.filePath(QStringLiteral("no/such/dir/x.ini")));
        QVERIFY(!ini.writeString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v")));
        QVERIFY(!ini.errorString().isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestIniFile)
#include "tst_inifile.moc"

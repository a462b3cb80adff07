#include "LayerCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using corvale::testing::LayerCheck;

namespace {

using Files = QList<std::pair<QString, QString>>;

// Three layers a ← b ← c, each one library; the cases add files to it.
const Files base{
    {"src/CMakeLists.txt", "# lowest first\nadd_subdirectory(a)\nadd_subdirectory(b)\n"
                           "add_subdirectory(c)\n"},
    {"src/a/CMakeLists.txt", "corvale_add_library(lib_a SOURCES A.cpp LIBS Qt6::Core)\n"},
    {"src/b/CMakeLists.txt",
     "corvale_add_library(lib_b\n  SOURCES B.cpp\n  LIBS lib_a Qt6::Core)\n"},
    {"src/c/CMakeLists.txt", "corvale_add_library(lib_c SOURCES C.cpp LIBS lib_b)\n"},
    {"src/a/A.h", "#pragma once\n#include <QString>\n"},
    {"src/b/B.h", "#pragma once\n#include \"a/A.h\"\n"},
    {"src/c/C.cpp", "#include \"c/C.h\"\n#include \"b/B.h\"\n"},
};

} // namespace

class TestLayers : public QObject {
    Q_OBJECT
private:
    static QStringList check(const Files &files) {
        QTemporaryDir dir;
        for (const auto &[path, text] : files) {
            QFile file(dir.filePath(path));
            QDir().mkpath(QFileInfo(file).path());
            if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
                return {QStringLiteral("cannot write ") + path};
            file.write(text.toUtf8());
        }
        return LayerCheck::faults(dir.path());
    }

private Q_SLOTS:
    void faultsOfASmallTree_data() {
        QTest::addColumn<Files>("files");
        QTest::addColumn<QStringList>("faults");
        QTest::newRow("sound") << Files{} << QStringList{};
        QTest::newRow("later layer")
            << Files{{"src/a/A.cpp", "#include \"a/A.h\"\n\n  #  include \"b/B.h\" // why\n"}}
            << QStringList{"a/A.cpp:3: includes b/B.h, a later layer (b)"};
        QTest::newRow("commented out")
            << Files{{"src/a/A.cpp", "// #include \"b/B.h\"\n"}} << QStringList{};
        // c reaches a through b: b's links are public.
        QTest::newRow("linked through another layer")
            << Files{{"src/c/C.h", "#include \"a/A.h\"\n"}} << QStringList{};
        QTest::newRow("earlier layer not linked")
            << Files{{"src/CMakeLists.txt", "add_subdirectory(d)\n"},
                     {"src/d/CMakeLists.txt",
                      "corvale_add_library(lib_d SOURCES D.cpp LIBS lib_a)\n"},
                     {"src/d/D.cpp", "#include \"a/A.h\"\n#include \"b/B.h\"\n"}}
            << QStringList{"d/D.cpp:2: includes b/B.h, whose layer (b) d does not link"};
        QTest::newRow("link to a later layer")
            << Files{{"src/a/CMakeLists.txt", "target_link_libraries(lib_a PUBLIC lib_c)\n"}}
            << QStringList{"a/CMakeLists.txt: lib_a links lib_c, a later layer (c)"};
        QTest::newRow("out of the include root")
            << Files{{"src/c/C.h", "#include \"../a/A.h\"\n"}}
            << QStringList{"c/C.h:1: includes ../a/A.h outside the include root"};
        // c/reg is a library of its own that needs only a: b, below c, may use it.
        const Files nested{
            {"src/c/CMakeLists.txt", "add_subdirectory(reg)\n"},
            {"src/c/reg/CMakeLists.txt", "corvale_add_library(lib_reg SOURCES R.cpp LIBS lib_a)\n"},
            {"src/b/CMakeLists.txt", "target_link_libraries(lib_b PUBLIC lib_reg)\n"},
            {"src/b/B.cpp", "#include \"c/reg/R.h\"\n"}};
        QTest::newRow("library in a subfolder") << nested << QStringList{};
        QTest::newRow("its parent layer is still later")
            << nested + Files{{"src/b/B.cpp", "#include \"c/C.h\"\n"}}
            << QStringList{"b/B.cpp:2: includes c/C.h, a later layer (c)"};
        QTest::newRow("a subfolder library ranks above what it links")
            << nested + Files{{"src/c/reg/CMakeLists.txt",
                               "target_link_libraries(lib_reg PUBLIC lib_c)\n"},
                              {"src/c/reg/R.cpp", "#include \"c/C.h\"\n"}}
            << QStringList{"b/CMakeLists.txt: lib_b links lib_reg, a later layer (c/reg)",
                           "b/B.cpp:1: includes c/reg/R.h, a later layer (c/reg)"};
        QTest::newRow("a subfolder library not linked")
            << Files{nested[0], nested[1], nested[3]}
            << QStringList{"b/B.cpp:1: includes c/reg/R.h, whose layer (c/reg) b does not link"};
    }
    void faultsOfASmallTree() {
        QFETCH(Files, files);
        QFETCH(QStringList, faults);
        // Later texts for a file already in the base are appended to it.
        QCOMPARE(check(base + files), faults);
    }

    void emptyLayerListIsAFault() {
        QCOMPARE(check({{"src/CMakeLists.txt", "# nothing\n"}}),
                 QStringList{"src/CMakeLists.txt: no layers found"});
    }

    // The program's own tree. CORVALE_LAYERS_ROOT checks another checkout.
    void theProgramKeepsItsLayers() {
        QString root = qEnvironmentVariable("CORVALE_LAYERS_ROOT");
        if (root.isEmpty())
            root = QStringLiteral(CORVALE_SOURCE_DIR);
        const QStringList faults = LayerCheck::faults(root);
        QVERIFY2(faults.isEmpty(), qPrintable(u'\n' + faults.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(TestLayers)
#include "tst_layers.moc"

#include "platform/Prompter.h"
#include "platform/ScriptedPrompter.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

using corvale::Prompter;
using corvale::ScriptedPrompter;

class TestPrompter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersInOrder() {
        ScriptedPrompter p;
        p.expectConfirm(QStringLiteral("CHIUDERE IL PROGRAMMA ?"), false)
            .expectInput(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                         QStringLiteral("9"), QStringLiteral("1"))
            .expectInput(QStringLiteral("Pagamento"), QStringLiteral("Contanti"), std::nullopt)
            .expectInput(QStringLiteral("Pagamento"), QStringLiteral("Contanti"), QString())
            .expectConfirmCancel(QStringLiteral("Salvare?"), Prompter::Answer::Cancel)
            .expectPassword(QStringLiteral("Password"), QStringLiteral("segreta"))
            .expectError(QStringLiteral("Password errata!"))
            .expectOpenFile(QStringLiteral("/tmp/logo.bmp"));
        QVERIFY(!p.confirm(QStringLiteral("CHIUDERE IL PROGRAMMA ?")));
        QCOMPARE(p.input(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                         QStringLiteral("1")),
                 std::optional<QString>(QStringLiteral("9")));
        // Cancel and an empty answer are different things.
        QCOMPARE(p.input(QStringLiteral("Pagamento"), QStringLiteral("Contanti"), {}),
                 std::optional<QString>());
        const auto empty = p.input(QStringLiteral("Pagamento"), QStringLiteral("Contanti"), {});
        QVERIFY(empty.has_value() && empty->isEmpty());
        QCOMPARE(p.confirmWithCancel(QStringLiteral("Salvare?")), Prompter::Answer::Cancel);
        QCOMPARE(p.password(QString(), QStringLiteral("Password")),
                 std::optional<QString>(QStringLiteral("segreta")));
        p.error(QStringLiteral("Password errata!"));
        QCOMPARE(p.openFile(QStringLiteral("Logo"), QStringLiteral("Bitmap|*.bmp"), {}),
                 std::optional<QString>(QStringLiteral("/tmp/logo.bmp")));
        QVERIFY(p.done());
        QCOMPARE(p.transcript().size(), 8);
    }

    void surprisesAreFailures() {
        QStringList seen;
        ScriptedPrompter p;
        p.setFailureHandler([&](const QString &m) { seen << m; });
        p.expectError(QStringLiteral("Inserire almeno una taglia!"));
        // Another kind, then another text, then one question too many.
        QVERIFY(!p.confirm(QStringLiteral("Inserire almeno una taglia!")));
        p.expectError(QStringLiteral("A"));
        p.error(QStringLiteral("B"));
        p.information(QStringLiteral("C"));
        QCOMPARE(seen.size(), 3);
        QVERIFY(seen[0].contains(QStringLiteral("expected error")));
        QVERIFY(seen[1].contains(QStringLiteral("\"B\"")));
        QVERIFY(seen[2].contains(QStringLiteral("no more questions")));
        QVERIFY(!p.done());

        ScriptedPrompter q;
        q.setFailureHandler([&](const QString &m) { seen << m; });
        q.expectInput(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                      QStringLiteral("2"), QStringLiteral("1"));
        QCOMPARE(q.input(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                         QStringLiteral("3")),
                 std::optional<QString>());
        QVERIFY(seen.last().contains(QStringLiteral("proposing \"1\"")));
        ScriptedPrompter r;
        r.setFailureHandler([](const QString &) {});
        r.expectInformation(QStringLiteral("never asked"));
        QVERIFY(!r.done());
        QCOMPARE(r.pending(), 1);
    }

    // Without a handler, a surprise must stop the test program itself.
    void surpriseStopsTheProcessByDefault() {
        if (qEnvironmentVariableIsSet("CORVALE_PROMPTER_CHILD")) {
            ScriptedPrompter p;
            p.error(QStringLiteral("inatteso"));
            return;
        }
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CORVALE_PROMPTER_CHILD"), QStringLiteral("1"));
        // Without a console Qt on Windows sends its messages to the debugger instead.
        env.insert(QStringLiteral("QT_FORCE_STDERR_LOGGING"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("surpriseStopsTheProcessByDefault")});
        QVERIFY(child.waitForFinished(30000));
        QVERIFY(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0);
        QVERIFY(
            (child.readAllStandardError() + child.readAllStandardOutput()).contains("inatteso"));
    }

    void textsAndFilters() {
        QCOMPARE(Prompter::displayText(QStringLiteral("RESTO:\r\r€ 12,50")),
                 QStringLiteral("RESTO:\n\n€ 12,50"));
        QCOMPARE(Prompter::displayText(QStringLiteral("a\r\nb")), QStringLiteral("a\nb"));
        QCOMPARE(Prompter::qtFilter(QStringLiteral("Bitmap|*.bmp|Gif|*.gif")),
                 QStringLiteral("Bitmap (*.bmp);;Gif (*.gif)"));
        QCOMPARE(Prompter::qtFilter(QStringLiteral("Immagini|*.bmp;*.gif")),
                 QStringLiteral("Immagini (*.bmp *.gif)"));
    }
};

QTEST_GUILESS_MAIN(TestPrompter)
#include "tst_prompter.moc"

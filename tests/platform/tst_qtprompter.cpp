#include "platform/QtPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using corvale::Prompter;
using corvale::QtPrompter;

namespace {

// Answers the next modal dialog with `act` once it is up.
void whenModal(std::function<void(QWidget *)> act) {
    auto *poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(w);
        }
    });
    poll->start();
}

QAbstractButton *buttonWithText(QWidget *dialog, const QString &text) {
    for (auto *b : dialog->findChildren<QAbstractButton *>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

} // namespace

class TestQtPrompter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void questionsHaveItalianButtons() {
        QtPrompter prompter;
        QString shown;
        whenModal([&](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            QVERIFY(box);
            shown = box->text();
            QVERIFY(buttonWithText(box, QStringLiteral("&No")));
            buttonWithText(box, QStringLiteral("&Sì"))->click();
        });
        QVERIFY(prompter.confirm(QStringLiteral("CHIUDERE IL PROGRAMMA ?")));
        QCOMPARE(shown, QStringLiteral("CHIUDERE IL PROGRAMMA ?"));

        whenModal([&](QWidget *w) { buttonWithText(w, QStringLiteral("Annulla"))->click(); });
        QCOMPARE(prompter.confirmWithCancel(QStringLiteral("Salvare?")), Prompter::Answer::Cancel);

        whenModal([&](QWidget *w) {
            shown = qobject_cast<QMessageBox *>(w)->text();
            buttonWithText(w, QStringLiteral("OK"))->click();
        });
        prompter.information(QStringLiteral("RESTO:\r\r€ 12,50"));
        QCOMPARE(shown, QStringLiteral("RESTO:\n\n€ 12,50"));
    }

    void inputBoxTellsCancelFromEmpty() {
        QtPrompter prompter;
        QString proposal;
        whenModal([&](QWidget *w) {
            auto *dialog = qobject_cast<QInputDialog *>(w);
            QVERIFY(dialog);
            proposal = dialog->textValue();
            dialog->setTextValue(QStringLiteral("3"));
            dialog->accept();
        });
        QCOMPARE(prompter.input(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                                QStringLiteral("1")),
                 std::optional<QString>(QStringLiteral("3")));
        QCOMPARE(proposal, QStringLiteral("1"));

        whenModal([&](QWidget *w) { qobject_cast<QInputDialog *>(w)->reject(); });
        QCOMPARE(prompter.input(QStringLiteral("Pagamento"), QStringLiteral("Contanti"), {}),
                 std::optional<QString>());

        whenModal([&](QWidget *w) {
            auto *dialog = qobject_cast<QInputDialog *>(w);
            QCOMPARE(dialog->textEchoMode(), QLineEdit::Password);
            dialog->setTextValue(QString());
            dialog->accept();
        });
        const auto empty =
            prompter.password(QStringLiteral("Password"), QStringLiteral("Password"));
        QVERIFY(empty.has_value() && empty->isEmpty());
    }
};

QTEST_MAIN(TestQtPrompter)
#include "tst_qtprompter.moc"

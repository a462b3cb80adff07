#include "common/ShopFixture.h"

#include "purchasing/ContactChoice.h"
#include "purchasing/TFFornitore.h"
#include "widgets/LookupCombo.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace corvale;

Q_DECLARE_METATYPE(ContactChoice::Kind)

namespace {

// Saves the contact card that shows next under `name` (none: cancels it).
void answerCard(bool customerMode, const QString &name) {
    QTimer::singleShot(0, [=] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            auto *card = qobject_cast<TFFornitore *>(top);
            if (!card || !card->isVisible())
                continue;
            QCOMPARE(card->CustomerMode, customerMode);
            if (!name.isEmpty()) {
                card->findChild<QLineEdit *>(QStringLiteral("RagSociale"))->setText(name);
                card->BSalvaClick();
            }
            if (card->isVisible())
                card->reject();
        }
    });
}

QStringList items(const LookupCombo &box) {
    QStringList out;
    for (int i = 0; i < box.count(); ++i)
        out << box.itemText(i);
    return out;
}

} // namespace

class TestContactChoice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choosingAContact_data() {
        QTest::addColumn<ContactChoice::Kind>("kind");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("supplier") << ContactChoice::Kind::Supplier << QStringLiteral("FORNITOR")
                                  << QStringLiteral("Devi scegliere un Fornitore!");
        QTest::newRow("customer") << ContactChoice::Kind::Customer << QStringLiteral("CLIENTI")
                                  << QStringLiteral("Devi scegliere un cliente!");
    }
    void choosingAContact() {
        QFETCH(ContactChoice::Kind, kind);
        QFETCH(QString, table);
        QFETCH(QString, refusal);
        ShopFixture f;
        const QList<QPair<int, QString>> contacts{{7, QStringLiteral("ROSSI")},
                                                  {3, QStringLiteral("BIANCHI")},
                                                  {5, QStringLiteral("VERDI")}};
        for (const auto &[code, name] : contacts)
            f.add(table, {{QStringLiteral("CODICE"), code}, {QStringLiteral("NOME"), name}});
        LookupCombo box;
        ContactChoice choice(*f.shop, box, kind);

        choice.fill(7); // closed: nothing to fill from
        QCOMPARE(box.count(), 0);
        QVERIFY(!choice.chosen());

        choice.open();
        choice.fill(7);
        QCOMPARE(items(box), (QStringList{QStringLiteral("BIANCHI"), QStringLiteral("ROSSI"),
                                          QStringLiteral("VERDI")}));
        QCOMPARE(choice.chosen(), std::optional<qint64>(7));
        QCOMPARE(choice.chosenName(), QStringLiteral("ROSSI"));
        QVERIFY(choice.require());

        choice.fill(0);
        QVERIFY(!choice.chosen());
        QCOMPARE(choice.chosenName(), QString());
        f.prompter.expectError(refusal);
        QVERIFY(!choice.require());

        // A cancelled card keeps the choice; a saved one is chosen.
        choice.fill(3);
        const bool customerMode = kind == ContactChoice::Kind::Customer;
        answerCard(customerMode, {});
        choice.addNew(nullptr);
        QCOMPARE(choice.chosenName(), QStringLiteral("BIANCHI"));
        answerCard(customerMode, QStringLiteral("NERI"));
        choice.addNew(nullptr);
        QCOMPARE(choice.chosenName(), QStringLiteral("NERI"));
        QCOMPARE(box.count(), 4);
        QVERIFY(*choice.chosen() > 0);
        choice.close();
    }
};

QTEST_MAIN(TestContactChoice)
#include "tst_contactchoice.moc"

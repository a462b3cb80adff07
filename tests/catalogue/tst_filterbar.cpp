#include "catalogue/FilterBar.h"
#include "widgets/LookupCombo.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

using namespace corvale;

class TestFilterBar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stripAndTextBoxes() {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        QWidget *bar = filterbar::create(&window, layout);
        QCOMPARE(bar->objectName(), QStringLiteral("FilterBar"));
        QCOMPARE(bar->height(), filterbar::height);
        QCOMPARE(layout->indexOf(bar), 0);
        QLineEdit *code = filterbar::textBox(bar, "FCodice", 5);
        QCOMPARE(code->objectName(), QStringLiteral("FCodice"));
        QCOMPARE(code->parentWidget(), bar);
        QTest::keyClicks(code, QStringLiteral("ab'c1234"));
        QCOMPARE(code->text(), QStringLiteral("AB'C1"));
    }

    void backspaceTakesTheChoiceAway_data() {
        QTest::addColumn<bool>("lookup");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("index");
        QTest::newRow("list, backspace") << true << int(Qt::Key_Backspace) << -1;
        QTest::newRow("list, other key") << true << int(Qt::Key_Escape) << 1;
        QTest::newRow("plain box, backspace") << false << int(Qt::Key_Backspace) << -1;
        QTest::newRow("plain box, other key") << false << int(Qt::Key_Escape) << 1;
    }
    void backspaceTakesTheChoiceAway() {
        QFETCH(bool, lookup);
        QFETCH(int, key);
        QFETCH(int, index);
        QWidget bar;
        QComboBox *box = nullptr;
        if (lookup) {
            box = filterbar::listBox(&bar, "FMarchio");
            QCOMPARE(box->objectName(), QStringLiteral("FMarchio"));
        } else {
            box = new QComboBox(&bar);
            filterbar::clearOnBackspace(box);
        }
        box->addItems(filterbar::seasons());
        box->setCurrentIndex(1);
        QTest::keyClick(box, Qt::Key(key));
        QCOMPARE(box->currentIndex(), index);
    }

    void seasonChoices() {
        QCOMPARE(
            filterbar::seasons(),
            (QStringList{QStringLiteral(" "), QStringLiteral("Autunno/Inverno"),
                         QStringLiteral("Primavera/Estate"), QStringLiteral("Quattro Stagioni")}));
    }
};

QTEST_MAIN(TestFilterBar)
#include "tst_filterbar.moc"

#include "common/ShopFixture.h"

#include "catalogue/SizeTypeCore.h"
#include "catalogue/TFArcTag.h"
#include "catalogue/TFTipoTaglia.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "shell/CommonRoutines.h"
#include "widgets/TitleBand.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

using namespace corvale;

class TestSizeTypes : public QObject {
    Q_OBJECT
private:
    static QLineEdit *edit(QWidget &w, const QString &name) {
        auto *e = w.findChild<QLineEdit *>(name);
        Q_ASSERT(e);
        return e;
    }
    static QPushButton *button(QWidget &w, const char *name) {
        auto *b = w.findChild<QPushButton *>(QString::fromLatin1(name));
        Q_ASSERT(b);
        return b;
    }
    static QStringList names(TFArcTag &w) {
        QStringList out;
        TableModel &m = w.grid().model();
        for (int r = 0; r < m.rowCount(); ++r)
            out << m.data(m.index(r, 0)).toString();
        return out;
    }

private Q_SLOTS:
    void cardRulesAndNumbering() {
        ShopFixture f;
        f.shop->routines().SetCounter(QStringLiteral("TAGLIE"), 6);
        TFTipoTaglia card(*f.shop);
        QCOMPARE(card.windowTitle(), QStringLiteral("Taglia"));
        QCOMPARE(card.findChild<TitleBand *>()->heading(), QStringLiteral("TAGLIA"));

        // A cancelled new card uses up no number.
        card.SizeTypeKey = 0;
        card.show();
        QCOMPARE(card.SizeTypeKey, 7); // foreseen
        QVERIFY(!button(card, "BSalva")->isEnabled());
        QTest::keyClicks(edit(card, QStringLiteral("NomeTaglia")), QStringLiteral("   "));
        QVERIFY(!button(card, "BSalva")->isEnabled());
        button(card, "BAnnulla")->click();
        QCOMPARE(card.SizeTypeKey, 0);
        QVERIFY(card.SizeTypeName.isEmpty());
        QCOMPARE(f.counter(QStringLiteral("TAGLIE")), 6);
        QVERIFY(f.column(QStringLiteral("TAGLIE"), QStringLiteral("NUMREG")).isEmpty());

        // No label at all is refused and the card stays open.
        card.show();
        QVERIFY(edit(card, QStringLiteral("NomeTaglia"))->text().isEmpty());
        QTest::keyClicks(edit(card, QStringLiteral("NomeTaglia")), QStringLiteral("SCARPE DONNA"));
        QVERIFY(button(card, "BSalva")->isEnabled());
        f.prompter.expectError(QStringLiteral("Inserire almeno una taglia!"));
        button(card, "BSalva")->click();
        QVERIFY(card.isVisible());
        QVERIFY(f.prompter.done());
        QCOMPARE(card.focusWidget(), edit(card, QStringLiteral("Tg1")));

        // Labels may leave gaps.
        edit(card, QStringLiteral("Tg3"))->setText(QStringLiteral("36"));
        edit(card, QStringLiteral("Tg20"))->setText(QStringLiteral("41"));
        button(card, "BSalva")->click();
        QVERIFY(!card.isVisible());
        QCOMPARE(card.SizeTypeKey, 7);
        QCOMPARE(card.SizeTypeName, QStringLiteral("SCARPE DONNA"));

        // The next new one gets the following number.
        card.SizeTypeKey = 0;
        card.show();
        edit(card, QStringLiteral("NomeTaglia"))->setText(QStringLiteral("MAGLIE"));
        edit(card, QStringLiteral("Tg1"))->setText(QStringLiteral("S"));
        button(card, "BSalva")->click();
        QCOMPARE(card.SizeTypeKey, 8);
        QCOMPARE(f.column(QStringLiteral("TAGLIE"), QStringLiteral("NUMREG")),
                 (QStringList{QStringLiteral("7"), QStringLiteral("8")}));
        QCOMPARE(f.column(QStringLiteral("TAGLIE"), QStringLiteral("TG3")),
                 (QStringList{QStringLiteral("36"), QString()}));

        // Editing shows the stored labels and keeps the number.
        card.SizeTypeKey = 7;
        card.show();
        QCOMPARE(edit(card, QStringLiteral("Tg20"))->text(), QStringLiteral("41"));
        edit(card, QStringLiteral("Tg2"))->setText(QStringLiteral("35"));
        button(card, "BSalva")->click();
        QCOMPARE(card.SizeTypeKey, 7);
        QCOMPARE(f.column(QStringLiteral("TAGLIE"), QStringLiteral("TG2")),
                 (QStringList{QStringLiteral("35"), QString()}));
        QCOMPARE(f.counter(QStringLiteral("TAGLIE")), 8);
    }

    // The core sizes of the broken size runs: typed on the card, refused
    // when they make no range of labelled sizes, kept with the size type.
    void coreRange_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QList<int>>("core");
        const QString both =
            QStringLiteral("Indicare la prima e l'ultima taglia principale, o nessuna delle due.");
        QTest::newRow("none chosen: every size") << 0 << 0 << QString() << QList<int>{2, 3, 4, 6};
        QTest::newRow("M to XL") << 3 << 6 << QString() << QList<int>{3, 4, 6};
        QTest::newRow("one size") << 4 << 4 << QString() << QList<int>{4};
        QTest::newRow("only the first") << 3 << 0 << both << QList<int>{};
        QTest::newRow("only the last") << 0 << 4 << both << QList<int>{};
        QTest::newRow("reversed") << 6 << 3
                                  << QStringLiteral("La prima taglia principale non può seguire "
                                                    "l'ultima.")
                                  << QList<int>{};
        QTest::newRow("on a position without a label")
            << 3 << 5 << QStringLiteral("Le taglie principali devono cadere su taglie indicate.")
            << QList<int>{};
    }
    void coreRange() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, error);
        QFETCH(QList<int>, core);
        ShopFixture f;
        TFTipoTaglia card(*f.shop);
        card.SizeTypeKey = 0;
        card.show();
        edit(card, QStringLiteral("NomeTaglia"))->setText(QStringLiteral("MAGLIE"));
        const QStringList labels{"S", "M", "L", "", "XL"};
        for (int i = 0; i < labels.size(); ++i)
            edit(card, QStringLiteral("Tg%1").arg(i + 2))->setText(labels[i]);
        card.findChild<QSpinBox *>(QStringLiteral("NucleoDa"))->setValue(from);
        card.findChild<QSpinBox *>(QStringLiteral("NucleoA"))->setValue(to);
        if (!error.isEmpty())
            f.prompter.expectError(error);
        button(card, "BSalva")->click();
        QVERIFY2(f.prompter.done(), qPrintable(f.prompter.failures().join(u'\n')));
        QCOMPARE(card.isVisible(), !error.isEmpty());
        if (!error.isEmpty()) {
            button(card, "BAnnulla")->click();
            QVERIFY(f.column(QStringLiteral("TAGLIE"), QStringLiteral("NUMREG")).isEmpty());
            return;
        }
        const auto types = SizeTypeCore::readAll(f.db());
        QCOMPARE(types.value(card.SizeTypeKey).corePositions(), core);
        // Shown again when the card edits the size type.
        card.show();
        QCOMPARE(card.findChild<QSpinBox *>(QStringLiteral("NucleoDa"))->value(), from);
        QCOMPARE(card.findChild<QSpinBox *>(QStringLiteral("NucleoA"))->value(), to);
        button(card, "BAnnulla")->click();
    }

    // A width the layout gives is kept, however wide the style's minimum.
    void gridKeepsGivenWidths() {
        ShopFixture f;
        db::Table table(f.shop->database());
        table.setTableName(QStringLiteral("TAGLIE.DBF"));
        table.open();
        TableGrid grid(table);
        grid.addColumn(QStringLiteral("TG1"), QStringLiteral("TG1"), {}, 12);
        grid.addColumn(QStringLiteral("TG2"), QStringLiteral("TG2"), {}, 30);
        QCOMPARE(grid.columnWidth(0), 12);
        QCOMPARE(grid.columnWidth(1), 30);
    }

    void archiveWindow() {
        ShopFixture f;
        f.add(QStringLiteral("TAGLIE"), {{QStringLiteral("NUMREG"), 1},
                                         {QStringLiteral("DESCRIZION"), QStringLiteral("ZOCCOLI")},
                                         {QStringLiteral("TG1"), QStringLiteral("35")}});
        f.add(QStringLiteral("TAGLIE"), {{QStringLiteral("NUMREG"), 2},
                                         {QStringLiteral("DESCRIZION"), QStringLiteral("ABITI")},
                                         {QStringLiteral("TG2"), QStringLiteral("M")}});
        f.shop->routines().SetCounter(QStringLiteral("TAGLIE"), 2);
        TFArcTag w(*f.shop);
        w.resize(900, 500);
        w.show();
        QCOMPARE(w.findChild<TitleBand *>()->heading(), QStringLiteral("ARCHIVIO TAGLIE"));
        QCOMPARE(names(w), (QStringList{QStringLiteral("ABITI"), QStringLiteral("ZOCCOLI")}));
        QCOMPARE(w.grid().model().columnCount(), 21);
        QCOMPARE(w.grid().model().headerData(20, Qt::Horizontal).toString(),
                 QStringLiteral("TG20"));
        QCOMPARE(w.grid().columnWidth(5), (w.grid().width() - TFArcTag::nameColumnWidth - 24) / 20);
        // At the program's own 800 pixels the twenty sizes still fit beside the
        // name, whatever minimum the style's font would give a column.
        w.resize(800, 500);
        QTRY_COMPARE(w.grid().width() <= 800, true);
        int used = 0;
        for (int c = 0; c <= 20; ++c)
            used += w.grid().columnWidth(c);
        QVERIFY2(used <= w.grid().viewport()->width(), qPrintable(QString::number(used)));
        QVERIFY(!button(w, "Giacenze")->isEnabled());
        QVERIFY(!button(w, "Giacenze")->toolTip().isEmpty());
        // Once the stock-levels window is handed in, a label left empty gives a blank title.
        QList<TFArcTag::StockLevels> opened;
        w.setStockLevelsWindow([&](const TFArcTag::StockLevels &s) { opened << s; });
        w.grid().selectRow(0);
        button(w, "Giacenze")->click();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].sizeType, 2);
        QCOMPARE(opened[0].heading, QStringLiteral("TAGLIA ABITI"));
        QCOMPARE(opened[0].sizeTitles.size(), 20);
        QCOMPARE(opened[0].sizeTitles[1], QStringLiteral("M"));
        QCOMPARE(opened[0].sizeTitles[2], QStringLiteral(" "));

        // "Nuova" through the card, then the new size type is selected.
        QTimer::singleShot(0, &w, [&] {
            TFTipoTaglia &card = w.card();
            edit(card, QStringLiteral("NomeTaglia"))->setText(QStringLiteral("JEANS"));
            edit(card, QStringLiteral("Tg1"))->setText(QStringLiteral("42"));
            card.BSalvaClick();
        });
        button(w, "Nuova")->click();
        QCOMPARE(names(w), (QStringList{QStringLiteral("ABITI"), QStringLiteral("JEANS"),
                                        QStringLiteral("ZOCCOLI")}));
        QCOMPARE(w.grid().currentIndex().row(), 1);

        // Double click edits the selected one.
        w.grid().selectRow(2);
        QTimer::singleShot(0, &w, [&] {
            TFTipoTaglia &card = w.card();
            QCOMPARE(card.SizeTypeKey, 1);
            edit(card, QStringLiteral("NomeTaglia"))->setText(QStringLiteral("CIABATTE"));
            card.BSalvaClick();
        });
        Q_EMIT w.grid().doubleClicked(w.grid().model().index(2, 0));
        QCOMPARE(names(w), (QStringList{QStringLiteral("ABITI"), QStringLiteral("CIABATTE"),
                                        QStringLiteral("JEANS")}));

        // Deleting asks; No keeps it.
        w.grid().selectRow(0);
        f.prompter.expectConfirm(QStringLiteral("Eliminare la Taglia selezionata?"), false);
        button(w, "Elimina")->click();
        QCOMPARE(names(w).size(), 3);
        f.prompter.expectConfirm(QStringLiteral("Eliminare la Taglia selezionata?"), true);
        button(w, "Elimina")->click();
        QCOMPARE(names(w), (QStringList{QStringLiteral("CIABATTE"), QStringLiteral("JEANS")}));
        QVERIFY(f.prompter.done());
        button(w, "Uscita")->click();
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TestSizeTypes)
#include "tst_sizetypes.moc"

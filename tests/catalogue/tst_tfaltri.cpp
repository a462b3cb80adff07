#include "common/ShopFixture.h"

#include "catalogue/ListEntries.h"
#include "catalogue/TFAltri.h"
#include "catalogue/TableGrid.h"
#include "common/Widgets.h"
#include "shell/CommonRoutines.h"
#include "widgets/LookupCombo.h"
#include "widgets/TitleBand.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace corvale;

class TestTFAltri : public QObject {
    Q_OBJECT
private:
    static QPushButton *button(QWidget &w, const QString &name) {
        return testing::child<QPushButton>(w, name);
    }
    static QStringList listed(TFAltri &w, TFAltri::ListIndex list) {
        QStringList out;
        TableModel &m = w.grid(list).model();
        for (int r = 0; r < m.rowCount(); ++r)
            out << m.data(m.index(r, 0)).toString();
        return out;
    }
    static double price(ShopFixture &f, qint64 article, const char *field) {
        db::Table t(f.db());
        t.setTableName(QStringLiteral("ARTICOLI"));
        t.setIndexName(QStringLiteral("NUMREG"));
        t.open();
        return t.findKey(article) ? t.asFloat(QString::fromLatin1(field)) : -1;
    }

private Q_SLOTS:
    void newEntriesAndTheirCounters() {
        ShopFixture f;
        TFAltri w(*f.shop);
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Archivi Vari"));
        QCOMPARE(w.findChild<TitleBand *>()->heading(), QStringLiteral("VARIE"));
        const QString prompt = QStringLiteral("Inserisci la voce");
        f.prompter.expectInput(QStringLiteral("Nuovo Colore"), prompt, QStringLiteral("rosso"))
            .expectInput(QStringLiteral("Nuovo Colore"), prompt, QStringLiteral("blu"))
            .expectInput(QStringLiteral("Nuovo Marchio"), prompt, QStringLiteral("zeta"))
            .expectInput(QStringLiteral("Nuovo fondo"), prompt, QString())
            .expectInput(QStringLiteral("Nuova Categoria"), prompt, QStringLiteral("uomo"))
            .expectInput(QStringLiteral("Nuova Tipologia"), prompt, std::nullopt)
            .expectInput(QStringLiteral("Nuova Misura"), QStringLiteral("Inserisci"),
                         QStringLiteral("5 cm"));
        button(w, QStringLiteral("NuovoColore"))->click();
        button(w, QStringLiteral("NuovoColore"))->click();
        button(w, QStringLiteral("NuovoMarchio"))->click();
        button(w, QStringLiteral("NuovoFondo"))->click();
        button(w, QStringLiteral("NuovoCategoria"))->click();
        button(w, QStringLiteral("NuovoTipologia"))->click();
        button(w, QStringLiteral("NuovoTacco/Zeppa"))->click();
        QVERIFY(f.prompter.done());
        // In name order, in capitals, the new one selected.
        QCOMPARE(listed(w, TFAltri::Colours),
                 (QStringList{QStringLiteral("BLU"), QStringLiteral("ROSSO")}));
        QCOMPARE(w.grid(TFAltri::Colours).currentIndex().row(), 0);
        QCOMPARE(f.column(QStringLiteral("COLORI"), QStringLiteral("NUMREG")),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
        // Brands and soles share one counter; categories have their own.
        QCOMPARE(f.column(QStringLiteral("MARCHI"), QStringLiteral("NUMREG")),
                 QStringList{QStringLiteral("1")});
        QCOMPARE(f.column(QStringLiteral("FONDI"), QStringLiteral("NUMREG")),
                 QStringList{QStringLiteral("2")});
        QCOMPARE(f.column(QStringLiteral("FONDI"), QStringLiteral("NOME")), QStringList{QString()});
        QCOMPARE(f.column(QStringLiteral("CATEGOR"), QStringLiteral("NUMREG")),
                 QStringList{QStringLiteral("1")});
        QVERIFY(f.column(QStringLiteral("TIPOLOGI"), QStringLiteral("NOME")).isEmpty());
        QCOMPARE(listed(w, TFAltri::Measures), QStringList{QStringLiteral("5 CM")});
        // The brand list of "Variazioni" knows the new brand.
        QCOMPARE(w.findChild<LookupCombo *>(QStringLiteral("VarMarchio"))->count(), 1);
    }

    void deletingAndTheColourGuard() {
        ShopFixture f;
        const QString longColour = QStringLiteral("BLU NOTTE CON RIGHINE BIANCHE");
        int n = 1;
        for (const QString &c : {QStringLiteral("BIANCO"), QStringLiteral("NERO"), longColour})
            f.add(QStringLiteral("COLORI"),
                  {{QStringLiteral("NUMREG"), n++}, {QStringLiteral("COLORE"), c}});
        f.add(QStringLiteral("MARCHI"),
              {{QStringLiteral("NUMREG"), 1}, {QStringLiteral("NOME"), QStringLiteral("ZETA")}});
        // NERO is held by a stock record whose cells are all empty, the long colour by a
        // record that keeps its first 20 characters.
        f.add(QStringLiteral("ARCARTTG"),
              {{QStringLiteral("ARTCODE"), 1}, {QStringLiteral("COLORE"), QStringLiteral("NERO")}});
        f.add(QStringLiteral("ARCARTTG"), {{QStringLiteral("ARTCODE"), 1},
                                           {QStringLiteral("COLORE"), longColour},
                                           {QStringLiteral("TG1"), 2}});
        QVERIFY(ListEntries::colourInStock(f.db(), longColour));
        TFAltri w(*f.shop);
        w.show();
        QCOMPARE(listed(w, TFAltri::Colours),
                 (QStringList{QStringLiteral("BIANCO"), longColour, QStringLiteral("NERO")}));
        const QString question = QStringLiteral("Eliminare il Colore selezionato?");
        const QString refused =
            QStringLiteral("Ci sono articoli in giacenza con questo colore!\rIn questo caso non è "
                           "possibile eliminarlo");
        for (int row : {1, 2}) {
            w.grid(TFAltri::Colours).selectRow(row);
            f.prompter.expectConfirm(question, true).expectError(refused);
            button(w, QStringLiteral("EliminaColore"))->click();
        }
        QCOMPARE(listed(w, TFAltri::Colours).size(), 3);
        w.grid(TFAltri::Colours).selectRow(0);
        f.prompter.expectConfirm(question, false);
        button(w, QStringLiteral("EliminaColore"))->click();
        f.prompter.expectConfirm(question, true);
        button(w, QStringLiteral("EliminaColore"))->click();
        QCOMPARE(listed(w, TFAltri::Colours), (QStringList{longColour, QStringLiteral("NERO")}));

        f.prompter.expectConfirm(QStringLiteral("Eliminare il Marchio selezionato?"), true);
        button(w, QStringLiteral("EliminaMarchio"))->click();
        QVERIFY(listed(w, TFAltri::Brands).isEmpty());
        // An empty list asks nothing.
        button(w, QStringLiteral("EliminaMarchio"))->click();
        button(w, QStringLiteral("EliminaFondo"))->click();
        QVERIFY(f.prompter.done());
        button(w, QStringLiteral("Uscita"))->click();
        QVERIFY(!w.isVisible());
    }

    void bulkChangeThroughTheControls() {
        ShopFixture f;
        f.shop->preferences().markupWithoutVat = true;
        f.add(QStringLiteral("MARCHI"),
              {{QStringLiteral("NUMREG"), 1}, {QStringLiteral("NOME"), QStringLiteral("ALFA")}});
        f.add(QStringLiteral("MARCHI"),
              {{QStringLiteral("NUMREG"), 2}, {QStringLiteral("NOME"), QStringLiteral("BETA")}});
        f.add(QStringLiteral("FORNITOR"),
              {{QStringLiteral("CODICE"), 7}, {QStringLiteral("NOME"), QStringLiteral("ROSSI")}});
        f.add(QStringLiteral("ARTICOLI"), {{QStringLiteral("NUMREG"), 1},
                                           {QStringLiteral("N_MARCHI"), 1},
                                           {QStringLiteral("N_FOR"), 7},
                                           {QStringLiteral("PREZZOACQ"), 20.0},
                                           {QStringLiteral("RICARICO"), 50.0},
                                           {QStringLiteral("PREZZOVND"), 30.0}});
        f.add(QStringLiteral("ARTICOLI"), {{QStringLiteral("NUMREG"), 2},
                                           {QStringLiteral("N_MARCHI"), 2},
                                           {QStringLiteral("N_FOR"), 7},
                                           {QStringLiteral("PREZZOACQ"), 30.0},
                                           {QStringLiteral("RICARICO"), 66.66667},
                                           {QStringLiteral("PREZZOVND"), 50.0}});
        TFAltri w(*f.shop);
        w.show();
        auto *all = w.findChild<QCheckBox *>(QStringLiteral("Tutte"));
        auto *brand = w.findChild<LookupCombo *>(QStringLiteral("VarMarchio"));
        QVERIFY(all->isChecked());
        QVERIFY(w.findChild<QCheckBox *>(QStringLiteral("Tutti"))->isChecked());
        QVERIFY(!brand->isEnabled());
        QVERIFY(w.findChild<QRadioButton *>(QStringLiteral("Prezzo di Acquisto"))->isChecked());

        // Everything ticked: every article changes.
        const QString done = QStringLiteral("Variazione eseguita con successo!");
        w.findChild<QLineEdit *>(QStringLiteral("Percentuale"))->setText(QStringLiteral("10"));
        f.prompter.expectInformation(done);
        button(w, QStringLiteral("Esegui"))->click();
        QCOMPARE(price(f, 1, "PREZZOACQ"), 22.0);
        QCOMPARE(price(f, 1, "PREZZOVND"), 33.0);
        QCOMPARE(price(f, 2, "PREZZOACQ"), 33.0);
        QCOMPARE(price(f, 2, "PREZZOVND"), 55.0);
        QVERIFY(button(w, QStringLiteral("Esegui"))->isEnabled());

        // Only brand BETA: sale price -10 %.
        all->setChecked(false);
        QVERIFY(brand->isEnabled());
        brand->setCurrentIndex(brand->findText(QStringLiteral("BETA")));
        w.findChild<QRadioButton *>(QStringLiteral("Prezzo di Vendita"))->setChecked(true);
        w.findChild<QLineEdit *>(QStringLiteral("Percentuale"))->setText(QStringLiteral("-10"));
        f.prompter.expectInformation(done);
        button(w, QStringLiteral("Esegui"))->click();
        QCOMPARE(price(f, 2, "PREZZOVND"), 49.5);
        QCOMPARE(price(f, 2, "RICARICO"), 50.0);
        QCOMPARE(price(f, 1, "PREZZOVND"), 33.0);

        // The choices stay between showings.
        w.accept();
        w.show();
        QVERIFY(!all->isChecked());
        QCOMPARE(brand->currentText(), QStringLiteral("BETA"));
        QCOMPARE(w.findChild<QLineEdit *>(QStringLiteral("Percentuale"))->text(),
                 QStringLiteral("-10"));
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestTFAltri)
#include "tst_tfaltri.moc"

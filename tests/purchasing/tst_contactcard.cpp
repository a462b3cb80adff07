#include "common/ShopFixture.h"

#include "catalogue/TFScheda.h"
#include "common/Widgets.h"
#include "purchasing/ContactCard.h"
#include "purchasing/SupplierCardLink.h"
#include "purchasing/TFFornitore.h"
#include "shell/CommonRoutines.h"
#include "widgets/TitleBand.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace corvale;

class TestContactCard : public QObject {
    Q_OBJECT
private:
    static QLineEdit *edit(TFFornitore &w, const char *name) {
        return testing::child<QLineEdit>(w, name);
    }
    static QPushButton *button(TFFornitore &w, const char *name) {
        return testing::button(w, name);
    }

private Q_SLOTS:
    void newSupplierThenNewCustomerShareTheCounter() {
        ShopFixture f;
        f.shop->routines().SetCounter(QStringLiteral("CLIENTI"), 41);
        TFFornitore card(*f.shop);
        card.CustomerMode = false;
        card.NewRecord = true;
        card.show();
        QCOMPARE(card.windowTitle(), QStringLiteral("Nuovo Fornitore"));
        QCOMPARE(card.findChild<TitleBand *>()->heading(), QStringLiteral("SCHEDA FORNITORE"));
        QVERIFY(!edit(card, "NCarta")->isVisible());
        QVERIFY(!button(card, "BSalva")->isEnabled());
        QTest::keyClicks(edit(card, "RagSociale"), QStringLiteral("Calzaturificio Rossi"));
        QVERIFY(button(card, "BSalva")->isEnabled());
        QTest::keyClicks(edit(card, "PartIVA"), QStringLiteral("it01234567890"));
        QCOMPARE(edit(card, "PartIVA")->text(), QStringLiteral("IT01234567890"));
        QTest::keyClicks(edit(card, "CAP"), QStringLiteral("00a144"));
        QCOMPARE(edit(card, "CAP")->text(), QStringLiteral("00144"));
        button(card, "BSalva")->click();
        QVERIFY(!card.isVisible());
        QCOMPARE(card.result(), int(QDialog::Accepted));
        QCOMPARE(card.RecordCode, 42);
        QCOMPARE(card.SavedName, QStringLiteral("Calzaturificio Rossi"));
        QCOMPARE(f.column(QStringLiteral("FORNITOR"), QStringLiteral("PIVACF")),
                 QStringList{QStringLiteral("IT01234567890")});
        QCOMPARE(f.column(QStringLiteral("FORNITOR"), QStringLiteral("CAP")),
                 QStringList{QStringLiteral("144")});

        card.CustomerMode = true;
        card.show();
        QCOMPARE(card.windowTitle(), QStringLiteral("Nuovo Cliente"));
        QCOMPARE(card.findChild<TitleBand *>()->heading(), QStringLiteral("SCHEDA CLIENTE"));
        QVERIFY(edit(card, "NCarta")->isVisible());
        QCOMPARE(edit(card, "RagSociale")->text(), QString()); // a fresh record
        QTest::keyClicks(edit(card, "RagSociale"), QStringLiteral("Bianchi Anna"));
        QTest::keyClicks(edit(card, "NCarta"), QStringLiteral("C0007"));
        button(card, "BSalva")->click();
        QCOMPARE(card.RecordCode, 43);
        QCOMPARE(f.column(QStringLiteral("CLIENTI"), QStringLiteral("BARCODE")),
                 QStringList{QStringLiteral("C0007")});
        QCOMPARE(f.column(QStringLiteral("FORNITOR"), QStringLiteral("NOME")).size(), 1);

        // Editing the customer: caption, the stored values shown, postcode with five digits.
        card.NewRecord = false;
        card.RecordCode = 43;
        card.show();
        QCOMPARE(card.windowTitle(), QStringLiteral("Modifica Cliente"));
        QCOMPARE(edit(card, "NCarta")->text(), QStringLiteral("C0007"));
        QCOMPARE(card.OldName, QStringLiteral("Bianchi Anna"));
        card.close();
        QVERIFY(card.SavedName.isEmpty());
        QVERIFY(f.prompter.done());
    }

    void cancellingLeavesNothingBehind() {
        ShopFixture f;
        TFFornitore card(*f.shop);
        card.show();
        QTest::keyClicks(edit(card, "RagSociale"), QStringLiteral("Mai salvato"));
        button(card, "BAnnulla")->click();
        QVERIFY(card.SavedName.isEmpty());
        QVERIFY(f.column(QStringLiteral("FORNITOR"), QStringLiteral("NOME")).isEmpty());
        QCOMPARE(f.counter(QStringLiteral("CLIENTI")), 0);
        // Clearing the name disables the button again.
        card.show();
        QTest::keyClicks(edit(card, "RagSociale"), QStringLiteral("X"));
        edit(card, "RagSociale")->clear();
        QVERIFY(!button(card, "BSalva")->isEnabled());
        card.reject();
    }

    void renamingASupplierRewritesOnlyItsArticles() {
        ShopFixture f;
        f.add(QStringLiteral("FORNITOR"),
              {{QStringLiteral("CODICE"), 1}, {QStringLiteral("NOME"), QStringLiteral("ALFA")}});
        f.add(QStringLiteral("FORNITOR"),
              {{QStringLiteral("CODICE"), 2}, {QStringLiteral("NOME"), QStringLiteral("BETA")}});
        for (int n = 1; n <= 4; ++n)
            f.add(QStringLiteral("ARTICOLI"),
                  {{QStringLiteral("NUMREG"), n},
                   {QStringLiteral("N_FOR"), n == 3 ? 2 : 1},
                   {QStringLiteral("FORNITORE"), QStringLiteral("OLD COPY")}});
        TFFornitore card(*f.shop);
        // Saving without a change of name rewrites nothing.
        card.NewRecord = false;
        card.RecordCode = 1;
        card.show();
        QCOMPARE(card.windowTitle(), QStringLiteral("Modifica Fornitore"));
        edit(card, "Telefono")->setText(QStringLiteral("055 1234"));
        button(card, "BSalva")->click();
        QCOMPARE(card.RecordCode, 1);
        QCOMPARE(f.column(QStringLiteral("ARTICOLI"), QStringLiteral("FORNITORE")),
                 QStringList(4, QStringLiteral("OLD COPY")));

        card.show();
        QCOMPARE(edit(card, "Telefono")->text(), QStringLiteral("055 1234"));
        edit(card, "RagSociale")->setText(QStringLiteral("ALFA SPA"));
        button(card, "BSalva")->click();
        QCOMPARE(card.SavedName, QStringLiteral("ALFA SPA"));
        QCOMPARE(f.column(QStringLiteral("ARTICOLI"), QStringLiteral("FORNITORE")),
                 (QStringList{QStringLiteral("ALFA SPA"), QStringLiteral("ALFA SPA"),
                              QStringLiteral("OLD COPY"), QStringLiteral("ALFA SPA")}));
        QCOMPARE(f.column(QStringLiteral("FORNITOR"), QStringLiteral("NOME")),
                 (QStringList{QStringLiteral("ALFA SPA"), QStringLiteral("BETA")}));

        // A customer of the same code renamed leaves the articles alone.
        f.add(QStringLiteral("CLIENTI"),
              {{QStringLiteral("CODICE"), 2}, {QStringLiteral("NOME"), QStringLiteral("ROSSI")}});
        card.CustomerMode = true;
        card.RecordCode = 2;
        card.show();
        edit(card, "RagSociale")->setText(QStringLiteral("ROSSI MARIO"));
        button(card, "BSalva")->click();
        QCOMPARE(f.column(QStringLiteral("ARTICOLI"), QStringLiteral("FORNITORE"))[2],
                 QStringLiteral("OLD COPY"));
    }

    void editingAMissingCodeIsRefused() {
        ShopFixture f;
        f.add(QStringLiteral("FORNITOR"),
              {{QStringLiteral("CODICE"), 1}, {QStringLiteral("NOME"), QStringLiteral("ALFA")}});
        f.prompter.expectError(QStringLiteral("Il codice 9 non è presente in archivio."));
        TFFornitore card(*f.shop);
        card.NewRecord = false;
        card.RecordCode = 9;
        card.show();
        QVERIFY(!card.isVisible());
        QVERIFY(card.SavedName.isEmpty());
        QCOMPARE(f.column(QStringLiteral("FORNITOR"), QStringLiteral("NOME")),
                 QStringList{QStringLiteral("ALFA")});
        QVERIFY(f.prompter.done());
    }

    void newSupplierFromTheArticleCard() {
        ShopFixture f;
        f.shop->routines().SetCounter(QStringLiteral("CLIENTI"), 9);
        TFScheda article(*f.shop);
        TFFornitore card(*f.shop);
        card.CustomerMode = true; // left over from a customer; the article card wants a supplier
        article.setSupplierCard(supplierCardFor(card));
        article.show();
        auto *add =
            article.findChild<QToolButton *>(QStringLiteral("Inserisci un nuovo Fornitore"));
        QVERIFY(add->isEnabled());
        QTimer::singleShot(0, &card, [&] { card.BAnnullaClick(); });
        add->click();
        QCOMPARE(article.article().asInteger(QStringLiteral("N_FOR")), 0);
        QTimer::singleShot(0, &card, [&] {
            QCOMPARE(card.windowTitle(), QStringLiteral("Nuovo Fornitore"));
            edit(card, "RagSociale")->setText(QStringLiteral("GAMMA SNC"));
            card.BSalvaClick();
        });
        add->click();
        QCOMPARE(article.article().asInteger(QStringLiteral("N_FOR")), 10);
        QCOMPARE(article.article().asString(QStringLiteral("FORNITORE")),
                 QStringLiteral("GAMMA SNC"));
        QCOMPARE(f.column(QStringLiteral("FORNITOR"), QStringLiteral("NOME")),
                 QStringList{QStringLiteral("GAMMA SNC")});
        article.reject();
    }
};

QTEST_MAIN(TestContactCard)
#include "tst_contactcard.moc"

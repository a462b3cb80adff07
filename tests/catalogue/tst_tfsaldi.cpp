// "Saldi e promozioni" driven through its controls, and the season list kept
// among the auxiliary lists and given to the articles in bulk.

#include "ArticleData.h"
#include "catalogue/CampaignBook.h"
#include "catalogue/ListEntries.h"
#include "catalogue/PriceHistory.h"
#include "catalogue/SeasonAssignment.h"
#include "catalogue/TFSaldi.h"
#include "common/Widgets.h"

#include <QComboBox>
#include <QDateEdit>
#include <QTableWidget>
#include <QTest>

using namespace corvale;
using testing::child;
using testing::click;
using testing::type;

namespace {

void shop(ShopFixture &f) {
    f.add(QStringLiteral("CATEGOR"),
          {{QStringLiteral("NUMREG"), 5}, {QStringLiteral("NOME"), QStringLiteral("GIACCHE")}});
    f.add(QStringLiteral("CATEGOR"),
          {{QStringLiteral("NUMREG"), 6}, {QStringLiteral("NOME"), QStringLiteral("SCARPE")}});
    articledata::sizeType(f, 1, QStringLiteral("CONFEZIONE"), {QStringLiteral("46")});
    articledata::article(f, 1, QStringLiteral("GIACCA"),
                         {{"PREZZOVND", 79.9},
                          {"N_CAT", 5},
                          {"STAGIONE", "Autunno/Inverno"},
                          {"ANNO", 2026},
                          {"TIPOTAGLIA", 1}});
    articledata::stockRow(f, 1, QStringLiteral("BLU"), {2});
    articledata::article(
        f, 2, QStringLiteral("STIVALE"),
        {{"PREZZOVND", 120.0}, {"N_CAT", 6}, {"STAGIONE", "Autunno/Inverno"}, {"ANNO", 2025}});
    PriceHistory(f.db()).record(1, QDate(2026, 1, 1), 79.9, 0, PriceHistory::cardCause());
    PriceHistory(f.db()).record(2, QDate(2026, 1, 1), 100, 0, PriceHistory::cardCause());
    // Raised three weeks before the campaign of the tests.
    PriceHistory(f.db()).record(2, QDate(2026, 3, 8), 120, 0, PriceHistory::cardCause());
}

void describe(TFSaldi &w, const QString &name, QDate first, QDate last, const QString &kind,
              const QString &value, const QString &percent) {
    type(w, "Nome", name);
    child<QDateEdit>(w, "Dal")->setDate(first);
    child<QDateEdit>(w, "Al")->setDate(last);
    auto *kinds = child<QComboBox>(w, "Selezione");
    kinds->setCurrentIndex(kinds->findText(kind));
    auto *values = child<QComboBox>(w, "Voce");
    values->setCurrentIndex(values->findText(value));
    type(w, "Sconto", percent);
}

} // namespace

class TestTFSaldi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void campaignsSavedRefusedAndWarned() {
        ShopFixture f;
        shop(f);
        TFSaldi w(*f.shop);
        w.show();
        QVERIFY(!testing::button(w, "Etichette")->isEnabled());
        describe(w, QStringLiteral("saldi giacche"), QDate(2026, 3, 16), QDate(2026, 3, 31),
                 QStringLiteral("Categoria"), QStringLiteral("GIACCHE"), QStringLiteral("30"));
        click(w, "Salva");
        QVERIFY(f.prompter.done());
        QCOMPARE(child<QTableWidget>(w, "Campagne")->rowCount(), 1);
        QList<Campaign> saved = CampaignBook(f.db()).load();
        QCOMPARE(saved.size(), 1);
        QCOMPARE(saved[0].name, QStringLiteral("saldi giacche"));
        QCOMPARE(saved[0].value, qint64(5));
        QCOMPARE(saved[0].percent, 30.0);

        // A second campaign over the same articles and days is refused, naming the first.
        click(w, "Nuovo");
        describe(w, QStringLiteral("promo"), QDate(2026, 3, 30), QDate(2026, 4, 5),
                 QStringLiteral("Stagione"), QStringLiteral("Autunno/Inverno"),
                 QStringLiteral("10"));
        f.prompter.expectError(QStringLiteral(
            "L'articolo GIACCA è già in saldo nella campagna \"saldi giacche\" dal 16/03/2026 al "
            "31/03/2026: le campagne non possono sovrapporsi."));
        click(w, "Salva");
        QVERIFY(f.prompter.done());

        // The season of 2025 only: STIVALE, whose 30-day lowest is 100,00, not
        // 120,00: 25 % off 120,00 is only 10 % off 100,00.
        child<QComboBox>(w, "Anno")->setCurrentText(QStringLiteral("2025"));
        type(w, "Sconto", QStringLiteral("25"));
        f.prompter.expectInformation(
            QStringLiteral("La campagna comprende 1 articoli.\r\rSTIVALE: Il prezzo più basso "
                           "degli ultimi 30 giorni è € 100,00: lo sconto effettivo è 10%"));
        click(w, "Anteprima");
        f.prompter.expectConfirm(
            QStringLiteral("STIVALE: Il prezzo più basso degli ultimi 30 giorni è € 100,00: lo "
                           "sconto effettivo è 10%\r\rSalvare comunque la campagna?"),
            false);
        click(w, "Salva");
        QCOMPARE(CampaignBook(f.db()).load().size(), 1);
        f.prompter.expectConfirm(
            QStringLiteral("STIVALE: Il prezzo più basso degli ultimi 30 giorni è € 100,00: lo "
                           "sconto effettivo è 10%\r\rSalvare comunque la campagna?"),
            true);
        click(w, "Salva");
        saved = CampaignBook(f.db()).load();
        QCOMPARE(saved.size(), 2);
        QCOMPARE(saved[1].season, QStringLiteral("Autunno/Inverno"));
        QCOMPARE(saved[1].year, 2025);

        // Chosen in the list, shown again, its labels prepared for its first day, deleted.
        child<QTableWidget>(w, "Campagne")->selectRow(0);
        QCOMPARE(child<QLineEdit>(w, "Nome")->text(), QStringLiteral("saldi giacche"));
        QDate labelDay;
        w.setLabelWindow([&](QDate day) { labelDay = day; });
        f.prompter.expectConfirmCancel(
            QStringLiteral("Stampare solo le etichette relative agli articoli in giacenza?"),
            Prompter::Answer::Yes);
        click(w, "Etichette");
        QCOMPARE(labelDay, QDate(2026, 3, 16));
        QCOMPARE(f.column(QStringLiteral("ELEMENTI"), QStringLiteral("CODICE")),
                 QStringList{QStringLiteral("1")});
        f.prompter.expectConfirm(QStringLiteral("Eliminare la campagna selezionata?"), true);
        click(w, "Elimina");
        QCOMPARE(CampaignBook(f.db()).load().size(), 1);
        QVERIFY(f.prompter.done());
    }

    void articlesByCodeAndFixedPrice() {
        ShopFixture f;
        shop(f);
        TFSaldi w(*f.shop);
        w.show();
        describe(w, QStringLiteral("fuori tutto"), QDate(2026, 4, 1), QDate(2026, 4, 2),
                 QStringLiteral("Articoli"), QString(), QString());
        type(w, "Articoli", QStringLiteral("800002 8000099"));
        type(w, "Prezzo", QStringLiteral("49,90"));
        f.prompter.expectError(QStringLiteral("Articoli non trovati: 8000099"));
        click(w, "Salva");
        type(w, "Articoli", QStringLiteral("800002, 8000011011013"));
        click(w, "Salva");
        QVERIFY(f.prompter.done());
        // The articles the article archive lists, as its filter picks them.
        w.setArchiveFilter([] { return QStringLiteral("(N_CAT = '6')"); });
        click(w, "DallArchivio");
        QCOMPARE(child<QLineEdit>(w, "Articoli")->text(), QStringLiteral("800002"));
        w.setArchiveFilter([] { return QString(); });
        f.prompter.expectConfirm(QStringLiteral("L'archivio articoli non ha filtri: mettere "
                                                "nella campagna tutti gli articoli?"),
                                 true);
        click(w, "DallArchivio");
        QCOMPARE(child<QLineEdit>(w, "Articoli")->text(), QStringLiteral("800001 800002"));
        QCOMPARE(child<QComboBox>(w, "Selezione")->currentText(), QStringLiteral("Articoli"));
        QVERIFY(f.prompter.done());
        const QList<Campaign> saved = CampaignBook(f.db()).load();
        QCOMPARE(saved.size(), 1);
        QCOMPARE(saved[0].articles, (QSet<qint64>{1, 2}));
        QCOMPARE(saved[0].fixedPrice, std::optional<Money>(Money::of(49.9)));
        f.prompter.expectError(QStringLiteral("Indicare il nome della campagna."));
        click(w, "Nuovo");
        click(w, "Salva");
        QVERIFY(f.prompter.done());
    }

    void seasonsListedAndAssignedInBulk() {
        ShopFixture f;
        shop(f);
        // A new folder starts with the three seasons.
        QCOMPARE(ListEntries::seasonNames(f.db()),
                 (QStringList{"Autunno/Inverno", "Primavera/Estate", "Quattro Stagioni"}));
        ListEntries::add(*f.shop, ListEntries::seasons(), QStringLiteral("cerimonia"));
        QCOMPARE(SeasonAssignment::listedName(f.db(), QStringLiteral(" Cerimonia ")),
                 QStringLiteral("CERIMONIA"));
        QCOMPARE(SeasonAssignment::listedName(f.db(), QStringLiteral("Estate")), QString());
        QCOMPARE(SeasonAssignment::assign(f.db(), QStringLiteral("(N_CAT = '6')"),
                                          QStringLiteral("CERIMONIA"), 2027),
                 1);
        QCOMPARE(f.column(QStringLiteral("ARTICOLI"), QStringLiteral("STAGIONE")),
                 (QStringList{"Autunno/Inverno", "CERIMONIA"}));
        QCOMPARE(f.column(QStringLiteral("ARTICOLI"), QStringLiteral("ANNO")),
                 (QStringList{"2026", "2027"}));
    }
};

QTEST_MAIN(TestTFSaldi)
#include "tst_tfsaldi.moc"

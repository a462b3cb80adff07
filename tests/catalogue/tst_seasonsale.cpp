#include "catalogue/CampaignBook.h"
#include "catalogue/PriceHistory.h"
#include "catalogue/PriceTimeline.h"
#include "catalogue/PriceVariation.h"
#include "catalogue/SalePrices.h"

#include "ArticleData.h"

#include <QTest>

using namespace corvale;

namespace {

const QDate D(2026, 6, 1);

PriceChange change(QDate day, double list, double discount = 0) {
    return {day, Money::of(list), discount, PriceHistory::ownPrice(list, discount)};
}

Campaign percentOff(qint64 key, QDate first, QDate last, double percent) {
    Campaign c;
    c.key = key;
    c.name = QStringLiteral("SALDI %1").arg(key);
    c.first = first;
    c.last = last;
    c.selection = CampaignSelection::Articles;
    c.articles = {1};
    c.percent = percent;
    return c;
}

std::optional<Money> euros(double v) {
    return Money::of(v);
}

} // namespace

Q_DECLARE_METATYPE(PriceChange)
Q_DECLARE_METATYPE(Campaign)
Q_DECLARE_METATYPE(std::optional<Money>)

class TestSeasonSale : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lowestPriceOfThirtyDays_data() {
        QTest::addColumn<QList<PriceChange>>("changes");
        QTest::addColumn<QList<Campaign>>("campaigns");
        QTest::addColumn<std::optional<Money>>("lowest");
        const QDate old(2026, 1, 1);
        QTest::newRow("raised two weeks before, then lowered: the lowest, not the last")
            << QList<PriceChange>{change(old, 100), change(D.addDays(-14), 120),
                                  change(D.addDays(-3), 110)}
            << QList<Campaign>{} << euros(100);
        QTest::newRow("lowered the day before")
            << QList<PriceChange>{change(old, 100), change(D.addDays(-1), 90)} << QList<Campaign>{}
            << euros(90);
        QTest::newRow("raised the day before")
            << QList<PriceChange>{change(old, 100), change(D.addDays(-1), 120)} << QList<Campaign>{}
            << euros(100);
        QTest::newRow("created 10 days before")
            << QList<PriceChange>{change(D.addDays(-10), 80), change(D.addDays(-5), 95)}
            << QList<Campaign>{} << euros(80);
        QTest::newRow("created the same day: no previous price")
            << QList<PriceChange>{change(D, 80)} << QList<Campaign>{} << std::optional<Money>();
        QTest::newRow("a price left 31 days before is out of the window")
            << QList<PriceChange>{change(old, 80), change(D.addDays(-31), 100)} << QList<Campaign>{}
            << euros(100);
        QTest::newRow("a price left 30 days before was applied that morning")
            << QList<PriceChange>{change(old, 80), change(D.addDays(-30), 100)} << QList<Campaign>{}
            << euros(80);
        QTest::newRow("lowered and raised again within one day")
            << QList<PriceChange>{change(old, 100), change(D.addDays(-9), 70),
                                  change(D.addDays(-9), 100)}
            << QList<Campaign>{} << euros(70);
        QTest::newRow("the article's own discount counts")
            << QList<PriceChange>{change(old, 100, 15)} << QList<Campaign>{} << euros(85);
        QTest::newRow("an earlier campaign within the window")
            << QList<PriceChange>{change(old, 100)}
            << QList<Campaign>{percentOff(1, D.addDays(-20), D.addDays(-1), 30)} << euros(70);
        QTest::newRow("a campaign ended 31 days before")
            << QList<PriceChange>{change(old, 100)}
            << QList<Campaign>{percentOff(1, D.addDays(-60), D.addDays(-31), 30)} << euros(100);
    }
    void lowestPriceOfThirtyDays() {
        QFETCH(QList<PriceChange>, changes);
        QFETCH(QList<Campaign>, campaigns);
        QFETCH(std::optional<Money>, lowest);
        const PriceTimeline line(changes, campaigns, change(QDate(), 999));
        QCOMPARE(line.lowestBefore(D), lowest);
    }

    void priceOfADay() {
        const QList<PriceChange> changes{change(QDate(2026, 1, 1), 100, 10),
                                         change(QDate(2026, 6, 10), 120, 10)};
        const Campaign c = percentOff(1, QDate(2026, 6, 5), QDate(2026, 6, 15), 30);
        const PriceTimeline line(changes, {c}, change(QDate(), 999));
        QCOMPARE(line.priceOn(QDate(2026, 6, 4)), euros(90));
        // The campaign replaces the own discount: 100 less 30 %, not 90 less 30 %.
        QCOMPARE(line.priceOn(QDate(2026, 6, 5)), euros(70));
        // The list price raised during the campaign: the percentage follows it.
        QCOMPARE(line.priceOn(QDate(2026, 6, 10)), euros(84));
        QCOMPARE(line.priceOn(QDate(2026, 6, 15)), euros(84));
        QCOMPARE(line.priceOn(QDate(2026, 6, 16)), euros(108));
        QCOMPARE(line.priceOn(QDate(2025, 12, 31)), std::optional<Money>());
        // No recorded change: today's values since ever.
        const PriceTimeline bare({}, {}, change(QDate(), 55));
        QCOMPARE(bare.priceOn(QDate(2000, 1, 1)), euros(55));
    }

    void historyKeepsOnlyChanges() {
        ShopFixture f;
        PriceHistory h(f.db());
        QVERIFY(h.record(4, QDate(2026, 3, 1), 79.9, 0, PriceHistory::newArticleCause()));
        QVERIFY(!h.record(4, QDate(2026, 3, 2), 79.9, 0, PriceHistory::cardCause()));
        QVERIFY(h.record(4, QDate(2026, 3, 3), 79.9, 10, PriceHistory::cardCause()));
        QVERIFY(h.record(5, QDate(2026, 3, 3), 20, 0, PriceHistory::cardCause()));
        const QList<PriceChange> four = h.changes(4);
        QCOMPARE(four.size(), 2);
        QCOMPARE(four.at(1).day, QDate(2026, 3, 3));
        QCOMPARE(four.at(1).price, Money::of(71.91));
        QCOMPARE(f.column(QStringLiteral("PREZZI"), QStringLiteral("CAUSA")),
                 (QStringList{"Nuovo articolo", "Scheda articolo", "Scheda articolo"}));
        QCOMPARE(h.allChanges().value(5).size(), 1);
    }

    void bulkChangeWritesTheHistory() {
        ShopFixture f;
        articledata::article(f, 1, QStringLiteral("GIACCA"),
                             {{"PREZZOVND", 50.0}, {"PREZZOACQ", 30.0}, {"N_MARCHI", 2}});
        articledata::article(f, 2, QStringLiteral("GONNA"), {{"PREZZOVND", 40.0}, {"N_MARCHI", 3}});
        PriceVariation::Request r;
        r.target = PriceVariation::Target::SalePrice;
        r.percentText = QStringLiteral("-10");
        r.brand = 2;
        QCOMPARE(PriceVariation(f.db()).run(r, QDate(2026, 3, 10)), 1);
        PriceHistory h(f.db());
        QCOMPARE(h.changes(1).size(), 1);
        QCOMPARE(h.changes(1).at(0).price, Money::of(45));
        QCOMPARE(h.changes(2).size(), 0);
        r.target = PriceVariation::Target::Discount;
        r.percentText = QStringLiteral("20");
        PriceVariation(f.db()).run(r, QDate(2026, 3, 11));
        QCOMPARE(h.changes(1).at(1).price, Money::of(36));
        QCOMPARE(f.column(QStringLiteral("PREZZI"), QStringLiteral("CAUSA")).last(),
                 QStringLiteral("Variazione prezzi"));
    }

    void campaignSelections_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QString>("season");
        QTest::addColumn<int>("year");
        QTest::addColumn<QList<qint64>>("expected");
        QTest::newRow("category") << int(CampaignSelection::Category) << qint64(5) << QString() << 0
                                  << QList<qint64>{1, 3};
        QTest::newRow("brand") << int(CampaignSelection::Brand) << qint64(7) << QString() << 0
                               << QList<qint64>{2};
        QTest::newRow("supplier") << int(CampaignSelection::Supplier) << qint64(9) << QString() << 0
                                  << QList<qint64>{1, 2};
        QTest::newRow("size type")
            << int(CampaignSelection::SizeType) << qint64(4) << QString() << 0 << QList<qint64>{3};
        QTest::newRow("season and year")
            << int(CampaignSelection::Season) << qint64(0) << QStringLiteral("Autunno/Inverno")
            << 2026 << QList<qint64>{1};
        QTest::newRow("season, every year")
            << int(CampaignSelection::Season) << qint64(0) << QStringLiteral("autunno/inverno") << 0
            << QList<qint64>{1, 2};
        QTest::newRow("articles") << int(CampaignSelection::Articles) << qint64(0) << QString() << 0
                                  << QList<qint64>{2, 3};
    }
    void campaignSelections() {
        QFETCH(int, kind);
        QFETCH(qint64, value);
        QFETCH(QString, season);
        QFETCH(int, year);
        QFETCH(QList<qint64>, expected);
        ShopFixture f;
        articledata::article(f, 1, QStringLiteral("A"),
                             {{"N_CAT", 5},
                              {"N_MARCHI", 6},
                              {"N_FOR", 9},
                              {"TIPOTAGLIA", 1},
                              {"STAGIONE", "Autunno/Inverno"},
                              {"ANNO", 2026}});
        articledata::article(f, 2, QStringLiteral("B"),
                             {{"N_CAT", 6},
                              {"N_MARCHI", 7},
                              {"N_FOR", 9},
                              {"TIPOTAGLIA", 2},
                              {"STAGIONE", "Autunno/Inverno"},
                              {"ANNO", 2025}});
        articledata::article(f, 3, QStringLiteral("C"),
                             {{"N_CAT", 5},
                              {"N_MARCHI", 8},
                              {"N_FOR", 10},
                              {"TIPOTAGLIA", 4},
                              {"STAGIONE", "Primavera/Estate"},
                              {"ANNO", 2026}});
        Campaign c;
        c.name = QStringLiteral("PROVA");
        c.first = D;
        c.last = D.addDays(10);
        c.selection = CampaignSelection(kind);
        c.value = value;
        c.season = season;
        c.year = year;
        c.articles = {2, 3};
        c.percent = 20;
        CampaignBook book(f.db());
        QCOMPARE(book.refusal(c, book.articles()), QString());
        book.save(c);
        const QList<Campaign> saved = book.load();
        QCOMPARE(saved.size(), 1);
        QList<qint64> got;
        for (const ArticleFacts &a : CampaignBook::covered(saved.first(), book.articles()))
            got << a.key;
        QCOMPARE(got, expected);
    }

    void campaignsRefusedWithTheirReason() {
        ShopFixture f;
        articledata::article(f, 1, QStringLiteral("GIACCA"), {{"N_CAT", 5}, {"PREZZOVND", 100.0}});
        articledata::article(f, 2, QStringLiteral("GONNA"), {{"N_CAT", 6}, {"PREZZOVND", 50.0}});
        CampaignBook book(f.db());
        const QList<ArticleFacts> all = book.articles();
        Campaign winter = percentOff(0, QDate(2026, 1, 5), QDate(2026, 2, 28), 30);
        winter.name = QStringLiteral("SALDI INVERNALI");
        winter.selection = CampaignSelection::Category;
        winter.value = 5;
        QCOMPARE(book.refusal(winter, all), QString());
        book.save(winter);
        QCOMPARE(winter.key, 1);
        // The history notes the campaign's start and end for GIACCA only;
        // the article's own prices stay apart.
        QCOMPARE(f.column(QStringLiteral("PREZZI"), QStringLiteral("CAUSA")),
                 (QStringList{"Campagna SALDI INVERNALI", "Fine campagna SALDI INVERNALI"}));
        QCOMPARE(f.column(QStringLiteral("PREZZI"), QStringLiteral("DATA")),
                 (QStringList{"05/01/2026", "01/03/2026"}));
        QCOMPARE(f.column(QStringLiteral("PREZZI"), QStringLiteral("PREZZO")),
                 (QStringList{"70", "100"}));
        QVERIFY(PriceHistory(f.db()).changes(1).isEmpty());
        book.save(winter); // saved again: noted once
        QCOMPARE(f.column(QStringLiteral("PREZZI"), QStringLiteral("CAUSA")).size(), 2);

        Campaign promo = percentOff(0, QDate(2026, 2, 28), QDate(2026, 3, 10), 10);
        promo.name = QStringLiteral("PROMO");
        QCOMPARE(book.refusal(promo, all),
                 QStringLiteral("L'articolo GIACCA è già in saldo nella campagna \"SALDI "
                                "INVERNALI\" dal 05/01/2026 al 28/02/2026: le campagne non "
                                "possono sovrapporsi."));
        promo.first = QDate(2026, 3, 1); // the day after: allowed
        QCOMPARE(book.refusal(promo, all), QString());
        promo.articles = {2};
        promo.first = QDate(2026, 2, 1); // another article: allowed
        QCOMPARE(book.refusal(promo, all), QString());
        // The campaign itself, saved again, does not block itself.
        QCOMPARE(book.refusal(winter, all), QString());

        Campaign bad = promo;
        bad.name = QStringLiteral("  ");
        QCOMPARE(book.refusal(bad, all), QStringLiteral("Indicare il nome della campagna."));
        bad = promo;
        bad.last = bad.first.addDays(-1);
        QCOMPARE(book.refusal(bad, all),
                 QStringLiteral("Il primo giorno della campagna non può seguire l'ultimo."));
        for (double p : {0.0, 100.0, -5.0}) {
            bad = promo;
            bad.percent = p;
            QVERIFY(book.refusal(bad, all).startsWith(QStringLiteral("Indicare uno sconto")));
        }
        bad = promo;
        bad.articles = {42};
        QCOMPARE(book.refusal(bad, all),
                 QStringLiteral("La campagna non comprende alcun articolo."));
        book.remove(1);
        QVERIFY(book.load().isEmpty());
        QVERIFY(f.column(QStringLiteral("PREZZI"), QStringLiteral("CAUSA")).isEmpty());
    }

    void effectivePriceAndWhatTheLabelSays() {
        ShopFixture f;
        articledata::article(f, 1, QStringLiteral("GIACCA"), {{"PREZZOVND", 79.9}, {"N_CAT", 5}});
        PriceHistory h(f.db());
        // Sold at 89,90 less 10 % until it was lowered to 79,90 less 10 %:
        // then the discount was dropped two weeks before the sale.
        h.record(1, QDate(2026, 4, 1), 89.9, 10, PriceHistory::newArticleCause());
        h.record(1, QDate(2026, 5, 20), 79.9, 10, PriceHistory::cardCause());
        h.record(1, QDate(2026, 5, 25), 79.9, 0, PriceHistory::cardCause());
        CampaignBook book(f.db());
        Campaign c = percentOff(0, D, D.addDays(9), 30);
        c.selection = CampaignSelection::Category;
        c.value = 5;
        book.save(c);

        SalePrices prices(f.db());
        const ArticleFacts a = book.articles().first();
        const EffectivePrice before = prices.on(a, D.addDays(-1));
        QVERIFY(!before.campaign);
        QCOMPARE(before.price, Money::of(79.9));
        QCOMPARE(before.labelText(), QString());
        for (QDate day : {D, D.addDays(9)}) {
            const EffectivePrice p = prices.on(a, day);
            QVERIFY(p.campaign);
            QCOMPARE(p.price, Money::of(55.93));
            // 79,90 less 10 % = 71,91 was applied in the 30 days before.
            QCOMPARE(p.previous, Money::of(71.91));
            QCOMPARE(p.percent, 22);
            QCOMPARE(p.linePrice, 79.9);
            QCOMPARE(p.lineDiscount, 30.0);
            QCOMPARE(p.labelText(), QStringLiteral("Prezzo precedente € 71,91 −22% € 55,93"));
        }
        QVERIFY(!prices.on(a, D.addDays(10)).campaign);
        QCOMPARE(prices.lowestPrice(a, D), Money::of(71.91));

        // The warning before the start says which price and which percentage.
        const QList<SalePrices::PreviewLine> preview = prices.preview(c, book.articles());
        QCOMPARE(preview.size(), 1);
        QCOMPARE(preview.first().warning,
                 QStringLiteral("Il prezzo più basso degli ultimi 30 giorni è € 71,91: lo sconto "
                                "effettivo è 22%"));
    }

    void deepeningCampaignAnnouncesEachStep() {
        ShopFixture f;
        articledata::article(f, 1, QStringLiteral("GIACCA"), {{"PREZZOVND", 79.9}});
        PriceHistory(f.db()).record(1, QDate(2026, 1, 1), 79.9, 0, PriceHistory::cardCause());
        CampaignBook book(f.db());
        Campaign first = percentOff(0, D, D.addDays(13), 30);
        QCOMPARE(book.refusal(first, book.articles()), QString());
        book.save(first);
        Campaign deeper = percentOff(0, D.addDays(14), D.addDays(27), 50);
        QCOMPARE(book.refusal(deeper, book.articles()), QString());
        book.save(deeper);
        SalePrices prices(f.db());
        const ArticleFacts a = book.articles().first();
        const EffectivePrice one = prices.on(a, D);
        QCOMPARE(one.labelText(), QStringLiteral("Prezzo precedente € 79,90 −30% € 55,93"));
        QVERIFY(SalePrices::announcementWarning(first, one).isEmpty());
        // The second step against the lowest of its own 30 days: 55,93.
        const EffectivePrice two = prices.on(a, D.addDays(20));
        QCOMPARE(two.price, Money::of(39.95));
        QCOMPARE(two.previous, Money::of(55.93));
        QCOMPARE(two.labelText(), QStringLiteral("Prezzo precedente € 55,93 −29% € 39,95"));
        QCOMPARE(SalePrices::announcementWarning(deeper, two),
                 QStringLiteral("Il prezzo più basso degli ultimi 30 giorni è € 55,93: lo sconto "
                                "effettivo è 29%"));
    }

    void fixedPriceCampaign() {
        ShopFixture f;
        articledata::article(f, 1, QStringLiteral("SCARPA"),
                             {{"PREZZOVND", 120.0}, {"SCONTO", 5.0}});
        CampaignBook book(f.db());
        Campaign c = percentOff(0, D, D, 0);
        c.fixedPrice = Money::of(59);
        QCOMPARE(book.refusal(c, book.articles()), QString());
        book.save(c);
        QVERIFY(book.load().first().fixedPrice);
        SalePrices prices(f.db());
        const EffectivePrice p = prices.on(book.articles().first(), D);
        QCOMPARE(p.price, Money::of(59));
        QCOMPARE(p.linePrice, 59.0);
        QCOMPARE(p.lineDiscount, 0.0);
        // Without history: today's own price, 114,00.
        QCOMPARE(p.labelText(), QStringLiteral("Prezzo precedente € 114,00 −48% € 59,00"));
        QVERIFY(SalePrices::announcementWarning(c, p).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSeasonSale)
#include "tst_seasonsale.moc"

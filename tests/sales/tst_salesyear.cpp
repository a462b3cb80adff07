// A year of a shop with two sales seasons, run day by day: price changes made
// on the article card, winter sales that deepen from 30 % to 50 %, a brand
// promotion, summer sales, sales at the counter and sales of the day written
// as the archive holds them. The 30-day lowest prices, the percentages the
// campaigns announce, the prices the counter charges and the sell-through of
// each season are checked against figures worked out here from the raw
// records: a log of every price each article was sold at, day by day.

#include "documents/DocumentData.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/CampaignBook.h"
#include "catalogue/PriceHistory.h"
#include "catalogue/SalePrices.h"
#include "documents/LineBarcode.h"
#include "documents/SheetColumns.h"
#include "sales/CounterSale.h"
#include "sales/SaleColumns.h"
#include "sales/SaleReductions.h"
#include "stock/SellThrough.h"

#include <QRandomGenerator>
#include <QTest>

#include <map>

using namespace corvale;

namespace {

const QString winter = QStringLiteral("Autunno/Inverno");
const QString summer = QStringLiteral("Primavera/Estate");
const QStringList brands{QStringLiteral("ALFA"), QStringLiteral("BETA"), QStringLiteral("GAMMA"),
                         QStringLiteral("DELTA")};

// An article's own price from a day on: list price and own discount.
struct OwnPrice {
    QDate day;
    qint64 list = 0; // cents, a multiple of 10
    int discount = 0;
    qint64 price() const { return list * (100 - discount) / 100; }
};

struct Article {
    qint64 key = 0;
    int brand = 1; // N_MARCHI; MARCHIO is brands[brand - 1]
    QString season;
    int year = 0;
    qint64 purchase = 0;    // cents
    QList<OwnPrice> prices; // the first on the day it is created
    qint64 received = 0;
    qint64 returned = 0;
};

struct PlannedCampaign {
    Campaign campaign;
    int percent = 0;
};

// A sale line: at the counter (the price the counter takes) or written as
// the archive holds it (at the price worked out here).
struct SoldPiece {
    qint64 article = 0;
    QDate day;
    int quantity = 1;
    bool givesBack = false;
    qint64 amount = 0; // cents, for the quantity
    bool atCounter = false;
};

QString euro(qint64 cents) {
    return QStringLiteral("€ %1,%2").arg(cents / 100).arg(cents % 100, 2, 10, QChar(u'0'));
}

int roundedPercent(qint64 previous, qint64 price) {
    // Half up, in whole numbers.
    return int((200 * (previous - price) + previous) / (2 * previous));
}

// The plan of the year and what it leaves, worked out without the program.
class Year {
public:
    Year() { plan(); }

    QList<Article> articles;
    QList<PlannedCampaign> campaigns;
    QList<SoldPiece> sales;
    // Every price an article was sold at on each day, in the order applied.
    std::map<qint64, std::map<QDate, QList<qint64>>> log;
    std::map<qint64, OwnPrice> current;

    const Article &article(qint64 key) const {
        for (const Article &a : articles)
            if (a.key == key)
                return a;
        qFatal("no article");
    }

    static bool covers(const Article &a, const Campaign &c) {
        return c.selection == CampaignSelection::Season ? a.season == c.season && a.year == c.year
                                                        : a.brand == c.value;
    }
    // The campaign that covers the article on a day.
    const PlannedCampaign *campaignOn(const Article &a, QDate day) const {
        for (const PlannedCampaign &p : campaigns)
            if (day >= p.campaign.first && day <= p.campaign.last && covers(a, p.campaign))
                return &p;
        return nullptr;
    }
    int campaignPercent(const Article &a, QDate day) const {
        const PlannedCampaign *p = campaignOn(a, day);
        return p ? p->percent : 0;
    }

    qint64 applied(const Article &a, const OwnPrice &own, QDate day) const {
        const int percent = campaignPercent(a, day);
        return percent ? own.list * (100 - percent) / 100 : own.price();
    }

    // The lowest price in the 30 days before `day`; nothing before the article existed.
    std::optional<qint64> lowest(qint64 key, QDate day) const {
        std::optional<qint64> out;
        const auto &days = log.at(key);
        for (auto it = days.lower_bound(day.addDays(-30)); it != days.end() && it->first < day;
             ++it)
            for (qint64 p : it->second)
                if (!out || p < *out)
                    out = p;
        return out;
    }

private:
    void plan() {
        QRandomGenerator g(2026);
        // 240 articles: winter 2025 (on sale in January and February), summer
        // 2026 (on sale in July and August), winter 2026 (not on sale).
        for (int i = 0; i < 240; ++i) {
            Article a;
            a.key = 10 + i;
            a.brand = 1 + i % 4;
            const int kind = i % 3;
            a.season = kind == 1 ? summer : winter;
            a.year = kind == 0 ? 2025 : 2026;
            const qint64 list = (30 + qint64(g.bounded(150))) * 100 + 90;
            a.purchase = list * 4 / 10;
            const QDate created = kind == 0     ? QDate(2025, 9, 1)
                                  : kind == 2   ? QDate(2026, 9, 1)
                                  : i % 10 == 1 ? QDate(2026, 6, 24) // 10 days before the sales
                                                : QDate(2026, 2, 15);
            a.prices << OwnPrice{created, list, i % 7 == 0 ? 10 : 0};
            if (kind == 0) {
                if (i % 4 == 0) // its own 10 % from 10/12: the lowest before the sales
                    a.prices << OwnPrice{QDate(2025, 12, 10), list, 10};
                if (i % 5 == 0) // raised the day before the sales
                    a.prices << OwnPrice{QDate(2026, 1, 2), list + 1000, 0};
            } else if (kind == 1 && created.month() == 2) {
                if (i % 4 == 1) { // raised two weeks before the sales, then lowered
                    a.prices << OwnPrice{QDate(2026, 6, 20), list + 2000, 0};
                    a.prices << OwnPrice{QDate(2026, 6, 27), list + 1000, 0};
                }
                if (i % 5 == 1) // changed twice on one day during the promotion
                    a.prices << OwnPrice{QDate(2026, 5, 10), list - 500, 0}
                             << OwnPrice{QDate(2026, 5, 10), list + 500, 0};
            } else if (kind == 2 && i % 3 == 2 && i % 2 == 0) {
                a.prices << OwnPrice{QDate(2026, 11, 2), list, 20};
            }
            a.received = 30 + g.bounded(20);
            a.returned = i % 6 == 0 ? 2 : 0;
            articles << a;
        }
        auto season = [](const QString &name, QDate first, QDate last, const QString &s, int year,
                         int percent) {
            PlannedCampaign p;
            p.campaign.name = name;
            p.campaign.first = first;
            p.campaign.last = last;
            p.campaign.selection = CampaignSelection::Season;
            p.campaign.season = s;
            p.campaign.year = year;
            p.campaign.percent = percent;
            p.percent = percent;
            return p;
        };
        campaigns << season(QStringLiteral("SALDI INVERNALI"), QDate(2026, 1, 3),
                            QDate(2026, 1, 31), winter, 2025, 30);
        campaigns << season(QStringLiteral("SALDI INVERNALI -50%"), QDate(2026, 2, 1),
                            QDate(2026, 2, 28), winter, 2025, 50);
        PlannedCampaign promo;
        promo.campaign.name = QStringLiteral("PROMO BETA");
        promo.campaign.first = QDate(2026, 5, 2);
        promo.campaign.last = QDate(2026, 5, 16);
        promo.campaign.selection = CampaignSelection::Brand;
        promo.campaign.value = 2;
        promo.campaign.percent = 20;
        promo.percent = 20;
        campaigns << promo;
        campaigns << season(QStringLiteral("SALDI ESTIVI"), QDate(2026, 7, 4), QDate(2026, 8, 31),
                            summer, 2026, 30);
        // Sales of the day: about one line in three days per article once it exists.
        for (const Article &a : std::as_const(articles)) {
            for (QDate d = a.prices.first().day; d.year() <= 2026;
                 d = d.addDays(1 + g.bounded(6))) {
                if (d.year() < 2026 || g.bounded(3) != 0)
                    continue;
                SoldPiece s{a.key, d, 1 + int(g.bounded(2)), g.bounded(25) == 0, 0, false};
                sales << s;
            }
        }
    }
};

void appendAll(ShopFixture &f, const QString &table, const QList<QVariantMap> &records) {
    db::Table t(f.db());
    t.setTableName(table);
    t.open();
    for (const QVariantMap &r : records) {
        t.append();
        for (auto it = r.begin(); it != r.end(); ++it)
            t.setValue(it.key(), it.value());
        t.post();
    }
    t.close();
}

ArticleFacts factsOf(ShopFixture &f, qint64 key) {
    db::Table t(f.db());
    t.setTableName(articleColumns::articles);
    t.setIndexName(articleColumns::key);
    t.open();
    if (!t.findKey(key))
        qFatal("article not stored");
    return ArticleFacts::read(t);
}

} // namespace

class TestSalesYear : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aYearWithTwoSalesSeasons() {
        ShopFixture f;
        addDocumentData(f);
        Year year;
        PriceHistory history(f.db());
        {
            CampaignBook book(f.db());
            for (PlannedCampaign &p : year.campaigns)
                QVERIFY(book.save(p.campaign) > 0);
        }
        // Goods received and returned, and the stock they leave after the
        // sales of the day (the counter's own sales take theirs off).
        {
            QList<QVariantMap> received, returned, stock;
            std::map<qint64, qint64> soldOff;
            for (const SoldPiece &s : std::as_const(year.sales))
                soldOff[s.article] += s.givesBack ? -s.quantity : s.quantity;
            for (const Article &a : std::as_const(year.articles)) {
                received << QVariantMap{{"NUMART", a.key},
                                        {"QUANTITA", a.received},
                                        {"IMPORTO", a.received * a.purchase / 100.0},
                                        {"DATAREG", a.prices.first().day}};
                if (a.returned)
                    returned << QVariantMap{{"NUMART", a.key},
                                            {"QUANTITA", a.returned},
                                            {"IMPORTO", a.returned * a.purchase / 100.0},
                                            {"DATAREG", a.prices.first().day.addDays(20)}};
                stock << QVariantMap{{"ARTCODE", a.key},
                                     {"COLORE", QStringLiteral("ROSSO")},
                                     {"TG1", a.received - a.returned - soldOff[a.key]}};
            }
            appendAll(f, QStringLiteral("ARCART_A"), received);
            appendAll(f, QStringLiteral("ARCART_R"), returned);
            appendAll(f, articleColumns::stock, stock);
        }

        // The days the counter sells a sample of articles: each campaign's
        // first and last day and the day after, and some ordinary days.
        QList<QDate> counterDays{QDate(2026, 3, 10), QDate(2026, 6, 25), QDate(2026, 6, 27),
                                 QDate(2026, 11, 2)};
        for (const PlannedCampaign &p : std::as_const(year.campaigns))
            counterDays << p.campaign.first << p.campaign.last << p.campaign.last.addDays(1);
        int counterLines = 0;
        int previews = 0;
        int warnings = 0;

        for (QDate day(2025, 9, 1); day <= QDate(2026, 12, 31); day = day.addDays(1)) {
            // The day begins at yesterday's prices (under today's campaign).
            for (const auto &[key, own] : year.current)
                year.log[key][day] << year.applied(year.article(key), own, day);
            // Articles created and prices changed on the card today.
            for (const Article &a : std::as_const(year.articles)) {
                for (const OwnPrice &p : a.prices) {
                    if (p.day != day)
                        continue;
                    const bool created = !year.current.count(a.key);
                    if (created) {
                        f.add(articleColumns::articles,
                              {{"NUMREG", a.key},
                               {"BARCODE", QString::number(800000 + a.key)},
                               {"DESCRIZION", QStringLiteral("ART %1").arg(a.key)},
                               {"MARCHIO", brands[a.brand - 1]},
                               {"N_MARCHI", a.brand},
                               {"STAGIONE", a.season},
                               {"ANNO", a.year},
                               {"TIPOTAGLIA", 1},
                               {"PREZZOACQ", a.purchase / 100.0},
                               {"PREZZOVND", p.list / 100.0},
                               {"SCONTO", double(p.discount)},
                               {"IVA", 22.0},
                               {"INUSO", true}});
                    } else {
                        db::Table t(f.db());
                        t.setTableName(articleColumns::articles);
                        t.setIndexName(articleColumns::key);
                        t.open();
                        QVERIFY(t.findKey(a.key));
                        t.edit();
                        t.setFloat(articleColumns::salePrice, p.list / 100.0);
                        t.setFloat(articleColumns::discount, p.discount);
                        t.post();
                    }
                    history.record(a.key, day, p.list / 100.0, p.discount,
                                   created ? PriceHistory::newArticleCause()
                                           : PriceHistory::cardCause());
                    year.current[a.key] = p;
                    year.log[a.key][day] << year.applied(a, p, day);
                }
            }

            // The campaign starting tomorrow, previewed tonight: each article's
            // previous price and the reduction announced against it.
            for (const PlannedCampaign &p : std::as_const(year.campaigns)) {
                if (p.campaign.first != day.addDays(1))
                    continue;
                QList<ArticleFacts> facts;
                for (const auto &[key, own] : year.current)
                    facts << factsOf(f, key);
                SalePrices prices(f.db());
                const auto lines = prices.preview(p.campaign, facts);
                int covered = 0;
                for (const auto &[key, own] : year.current)
                    covered +=
                        year.campaignPercent(year.article(key), p.campaign.first) == p.percent;
                QCOMPARE(lines.size(), covered);
                for (const auto &line : lines) {
                    const qint64 key = line.article.key;
                    const OwnPrice own = year.current.at(key);
                    const qint64 price = own.list * (100 - p.percent) / 100;
                    const qint64 previous =
                        year.lowest(key, p.campaign.first).value_or(own.price());
                    const int percent = roundedPercent(previous, price);
                    const QString where =
                        QStringLiteral("%1, article %2").arg(p.campaign.name).arg(key);
                    QVERIFY2(line.price.price.cents() == price, qPrintable(where));
                    QVERIFY2(line.price.previous.cents() == previous, qPrintable(where));
                    QVERIFY2(line.price.percent == percent, qPrintable(where));
                    const QString warning =
                        percent == p.percent
                            ? QString()
                            : QStringLiteral("Il prezzo più basso degli ultimi 30 giorni è %1: "
                                             "lo sconto effettivo è %2%")
                                  .arg(euro(previous))
                                  .arg(percent);
                    QCOMPARE(line.warning, warning);
                    warnings += !warning.isEmpty();
                    ++previews;
                }
            }

            // The counter: one sale of a sample of articles, each at the price of the day.
            if (counterDays.contains(day)) {
                f.clock.setFixedDate(day);
                CounterSale sale(*f.shop);
                QVERIFY(sale.begin(0));
                sale.header().setDate(doc::DATADOC, day);
                QList<qint64> sold;
                for (const auto &[key, own] : year.current)
                    if ((key + day.dayOfYear()) % 11 == 0 && sold.size() < 16)
                        sold << key;
                for (qint64 key : std::as_const(sold))
                    QCOMPARE(sale.enterCode(*lineBarcode(QString::number(800000 + key), 1, 1)).kind,
                             SaleCodeLookup::Result::Kind::Line);
                const QList<SheetRow> rows = sale.lines();
                QCOMPARE(rows.size(), sold.size());
                const auto reductions = SaleReductions::of(f.db(), rows, day);
                for (int i = 0; i < rows.size(); ++i) {
                    const Article &a = year.article(sold[i]);
                    const OwnPrice own = year.current.at(a.key);
                    const qint64 expected = year.applied(a, own, day);
                    const Money charged = Money::of(rows[i].number(sheet::PREZZO) *
                                                    (1 - rows[i].number(sheet::SCONTO) / 100));
                    const QString where =
                        QStringLiteral("%1, article %2").arg(day.toString(Qt::ISODate)).arg(a.key);
                    QVERIFY2(charged.cents() == expected, qPrintable(where));
                    QCOMPARE(Money::of(rows[i].amount.toDouble()).cents(), expected);
                    // The reduction shown: against the lowest of the 30 days
                    // before the campaign, when it is one.
                    const PlannedCampaign *c = year.campaignOn(a, day);
                    const qint64 previous =
                        c ? year.lowest(a.key, c->campaign.first).value_or(own.price()) : 0;
                    const bool reduced = c && previous > expected;
                    QVERIFY2(reductions[i].has_value() == reduced, qPrintable(where));
                    if (reduced) {
                        QVERIFY2(reductions[i]->previous.cents() == previous, qPrintable(where));
                        QCOMPARE(reductions[i]->percent, roundedPercent(previous, expected));
                    }
                    year.sales << SoldPiece{a.key, day, 1, false, expected, true};
                    ++counterLines;
                }
                QVERIFY(sale.save(day, 0) > 0);
            }

            // The other sales of the day, at the price of the day.
            for (SoldPiece &s : year.sales)
                if (s.day == day && s.amount == 0)
                    s.amount =
                        year.applied(year.article(s.article), year.current.at(s.article), day) *
                        s.quantity;
        }
        // The sales written as the archive holds them (the counter's are stored).
        {
            QList<QVariantMap> lines;
            for (const SoldPiece &s : std::as_const(year.sales))
                if (!s.atCounter && s.day.year() == 2026)
                    lines << QVariantMap{{"NUMART", s.article},
                                         {"QUANTITA", s.quantity},
                                         {"IMPORTO", s.amount / 100.0},
                                         {"DATAREG", s.day},
                                         {"TIPO", !s.givesBack}};
            appendAll(f, QStringLiteral("ARCART_V"), lines);
        }

        // The 30-day lowest price on the 1st and the 15th of each month.
        {
            SalePrices prices(f.db());
            int checked = 0;
            for (const auto &[key, own] : year.current) {
                if (key % 4 != 0)
                    continue;
                const ArticleFacts facts = factsOf(f, key);
                for (int month = 1; month <= 12; ++month)
                    for (int d : {1, 15}) {
                        const QDate day(2026, month, d);
                        const auto lowest = prices.lowestPrice(facts, day);
                        const auto expected = year.lowest(key, day);
                        QVERIFY2(lowest.has_value() == expected.has_value() &&
                                     (!lowest || lowest->cents() == *expected),
                                 qPrintable(QStringLiteral("article %1 on %2")
                                                .arg(key)
                                                .arg(day.toString(Qt::ISODate))));
                        ++checked;
                    }
            }
            QVERIFY(checked > 1000);
        }

        // Sell-through of each season by brand.
        for (const auto &[season, seasonYear] :
             QList<std::pair<QString, int>>{{winter, 2025}, {summer, 2026}, {winter, 2026}}) {
            struct Ref {
                qint64 received = 0, returned = 0, sold = 0, listValue = 0, sales = 0, cost = 0;
                double netSales = 0;
            };
            std::map<QString, Ref> refs;
            for (const Article &a : std::as_const(year.articles)) {
                if (a.season != season || a.year != seasonYear)
                    continue;
                Ref &r = refs[brands[a.brand - 1]];
                r.received += a.received;
                r.returned += a.returned;
                for (const SoldPiece &s : std::as_const(year.sales)) {
                    if (s.article != a.key || s.day.year() != 2026)
                        continue;
                    const int sign = s.givesBack ? -1 : 1;
                    r.sold += sign * s.quantity;
                    r.listValue += sign * s.quantity * year.current.at(a.key).list;
                    r.sales += sign * s.amount;
                    r.netSales += sign * s.amount / 100.0 / 1.22;
                    r.cost += sign * s.quantity * a.purchase;
                }
            }
            const auto rows =
                SellThrough::compute(f.db(), {season, seasonYear, SellThrough::Grouping::Brand});
            QCOMPARE(rows.size(), int(refs.size()));
            for (const SellThrough::Row &row : rows) {
                QVERIFY(refs.count(row.group));
                const Ref &r = refs.at(row.group);
                const QString where =
                    QStringLiteral("%1 %2 %3").arg(season).arg(seasonYear).arg(row.group);
                QVERIFY2(row.received == r.received && row.returned == r.returned,
                         qPrintable(where));
                QVERIFY2(row.sold == r.sold, qPrintable(where));
                QVERIFY2(row.inStock == r.received - r.returned - r.sold, qPrintable(where));
                QVERIFY2(Money::of(row.sales).cents() == r.sales, qPrintable(where));
                QVERIFY2(Money::of(row.cost).cents() == r.cost, qPrintable(where));
                QVERIFY2(std::abs(row.netSales - r.netSales) < 0.011, qPrintable(where));
                QVERIFY2(std::abs(row.listValue - r.listValue / 100.0) < 0.005, qPrintable(where));
                QVERIFY2(std::abs(*row.sellThrough() -
                                  100.0 * r.sold / double(r.received - r.returned)) < 1e-9,
                         qPrintable(where));
                if (r.sold > 0)
                    QVERIFY2(std::abs(*row.averageDiscount() -
                                      100.0 * (1 - double(r.sales) / double(r.listValue))) < 1e-6,
                             qPrintable(where));
            }
        }
        QVERIFY(previews > 100);
        QVERIFY(warnings > 20);
        QVERIFY(counterLines > 100);
    }
};

QTEST_MAIN(TestSalesYear)
#include "tst_salesyear.moc"

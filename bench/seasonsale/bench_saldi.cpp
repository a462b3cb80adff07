// Measures season sales on the large shop (20,000 articles, 1,000,000 sale
// lines): the price of a scanned article on a campaign day (its record found
// by code, its history and the campaigns read), a campaign over 5,000
// articles checked against the others and previewed with its 30-day lowest
// prices, and the sell-through of one season. A price history of three
// changes per article and a campaign are written first, so it runs on a copy.
//   bench_saldi
// Prints one Markdown table: best and median in milliseconds.
#include "common/LargeShop.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/CampaignBook.h"
#include "catalogue/PriceHistory.h"
#include "catalogue/SalePrices.h"
#include "db/Table.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"
#include "stock/SellThrough.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace corvale;
namespace a = articleColumns;

namespace {

double ms(const QElapsedTimer &t) {
    return double(t.nsecsElapsed()) / 1e6;
}

void report(const QString &what, QList<double> runs) {
    std::sort(runs.begin(), runs.end());
    std::printf("| %s | %.3f | %.3f |\n", qPrintable(what), runs.first(), runs[runs.size() / 2]);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString root = bench::largeShopCopy(temporary.path());
    ProgramFolder folder(root);
    folder.prepare();
    const QDate today = bench::largeShopToday();
    Clock clock(today);
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();
    db::Database &db = shop.database();

    // Three changes per article: a year ago, 40 days ago, 10 days ago.
    QList<std::pair<qint64, QString>> articles;
    {
        db::Table t(db);
        t.setTableName(a::articles);
        t.open();
        PriceHistory history(db);
        for (t.first(); !t.eof(); t.next()) {
            const qint64 key = t.asInteger(a::key);
            const double list = t.asFloat(a::salePrice);
            history.record(key, today.addDays(-365), list * 1.1, 0, PriceHistory::cardCause());
            history.record(key, today.addDays(-40), list * 0.9, 0, PriceHistory::cardCause());
            history.record(key, today.addDays(-10), list, t.asFloat(a::discount),
                           PriceHistory::cardCause());
            articles.append({key, t.asString(a::code).trimmed()});
        }
    }
    CampaignBook book(db);
    Campaign campaign;
    campaign.name = QStringLiteral("SALDI ESTIVI");
    campaign.first = today.addDays(1);
    campaign.last = today.addDays(45);
    campaign.selection = CampaignSelection::Articles;
    for (qint64 k = 1; k <= 5000; ++k)
        campaign.articles.insert(k);
    campaign.percent = 30;
    Campaign other = campaign;
    other.name = QStringLiteral("PROMO CATEGORIA");
    other.selection = CampaignSelection::Category;
    other.value = 3;
    other.first = today.addDays(-60);
    other.last = today.addDays(-31);
    book.save(other);

    std::printf("| season sales, large shop | best ms | median ms |\n|---|---|---|\n");
    QList<double> checking, previewing, saving;
    qsizetype previewed = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        const QList<ArticleFacts> all = book.articles();
        const QString refusal = book.refusal(campaign, all);
        checking << ms(t);
        if (!refusal.isEmpty()) {
            std::fprintf(stderr, "refused: %s\n", qPrintable(refusal));
            return 1;
        }
        t.restart();
        previewed = SalePrices(db).preview(campaign, all).size();
        previewing << ms(t);
        t.restart();
        Campaign saved = campaign;
        book.save(saved);
        saving << ms(t);
        book.remove(saved.key);
    }
    report(QStringLiteral("campaign of %1 articles: articles read and overlap checked")
               .arg(campaign.articles.size()),
           checking);
    report(QStringLiteral("campaign previewed (%1 articles, 30-day lowest of each)").arg(previewed),
           previewing);
    report(QStringLiteral("campaign saved"), saving);
    book.save(campaign);

    // A scanned article on the campaign's first day: its record found by code,
    // its price worked out (history and campaigns already read by the sale).
    SalePrices prices(db);
    prices.load();
    db::Table byCode(db);
    byCode.setTableName(a::articles);
    byCode.setIndexName(a::code);
    byCode.open();
    QList<double> pricing;
    int reduced = 0;
    QRandomGenerator random(28);
    for (int i = 0; i < 2000; ++i) {
        const auto &[key, code] = articles[random.bounded(int(articles.size()))];
        QElapsedTimer t;
        t.start();
        if (!byCode.findKey(code))
            return 1;
        const EffectivePrice p = prices.on(ArticleFacts::read(byCode), campaign.first);
        pricing << ms(t);
        reduced += p.reduced() ? 1 : 0;
    }
    report(QStringLiteral("effective price of a scanned article (2,000 codes, %1 reduced)")
               .arg(reduced),
           pricing);

    QList<double> selling;
    qsizetype groups = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        const auto rows =
            SellThrough::compute(db, {QStringLiteral("Quattro Stagioni"), today.year() - 1,
                                      SellThrough::Grouping::Brand});
        selling << ms(t);
        groups = rows.size();
    }
    report(QStringLiteral("sell-through of a season (%1 brands)").arg(groups), selling);
    return 0;
}

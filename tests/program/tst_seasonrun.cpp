// A sales season run end to end on the demo shop: a season given to a
// category, a campaign over it, its labels, a sale at the counter on the
// campaign's first day and the sell-through of the season before and after.

#include "demo/DemoShop.h"

#include "catalogue/CampaignBook.h"
#include "catalogue/LabelPreparation.h"
#include "catalogue/SalePrices.h"
#include "catalogue/SeasonAssignment.h"
#include "db/Table.h"
#include "documents/LineBarcode.h"
#include "documents/SheetColumns.h"
#include "labels/CampaignLabels.h"
#include "labels/LabelList.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "sales/CounterSale.h"
#include "sales/SalePrintout.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"
#include "stock/SellThrough.h"

#include <QTemporaryDir>
#include <QTest>

using namespace corvale;

class TestSeasonRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void seasonOnTheDemoShop() {
        const QDate today(2026, 12, 9);
        QTemporaryDir dir;
        ProgramFolder folder(dir.path());
        folder.prepare();
        Clock clock(today);
        ScriptedPrompter prompter;
        Shop shop(folder, clock, prompter);
        shop.setTableLayouts(allTableLayouts());
        shop.openDatabase();
        DemoShop::fill(shop, clock, today);
        db::Database &db = shop.database();

        // An article in stock: its category becomes the season's.
        qint64 article = 0;
        QString colour;
        int position = 0;
        {
            db::Table stock(db);
            stock.setTableName(QStringLiteral("ARCARTTG"));
            stock.open();
            for (stock.first(); !stock.eof() && article == 0; stock.next())
                for (int n = 1; n <= 20 && article == 0; ++n)
                    if (stock.asInteger(QStringLiteral("TG%1").arg(n)) > 0 &&
                        !stock.asString(QStringLiteral("COLORE")).trimmed().isEmpty()) {
                        article = stock.asInteger(QStringLiteral("ARTCODE"));
                        colour = stock.asString(QStringLiteral("COLORE")).trimmed();
                        position = n;
                    }
        }
        QVERIFY(article != 0);
        db::Table articles(db);
        articles.setTableName(QStringLiteral("ARTICOLI"));
        articles.setIndexName(QStringLiteral("NUMREG"));
        articles.open();
        QVERIFY(articles.findKey(article));
        const qint64 category = articles.asInteger(QStringLiteral("N_CAT"));
        const QString code = articles.asString(QStringLiteral("BARCODE")).trimmed();
        const double list = articles.asFloat(QStringLiteral("PREZZOVND"));
        articles.close();
        const QString filter = QStringLiteral("(N_CAT = '%1')").arg(category);
        const int seasonArticles =
            SeasonAssignment::assign(db, filter, QStringLiteral("Autunno/Inverno"), 2026);
        QVERIFY(seasonArticles > 0);
        const SellThrough::Request report{QStringLiteral("Autunno/Inverno"), 2026,
                                          SellThrough::Grouping::Category};
        const SellThrough::Row before = SellThrough::total(SellThrough::compute(db, report));

        // The campaign: 30 % off from today for a month.
        CampaignBook book(db);
        Campaign c;
        c.name = QStringLiteral("SALDI INVERNALI");
        c.first = today;
        c.last = today.addDays(30);
        c.selection = CampaignSelection::Season;
        c.season = QStringLiteral("Autunno/Inverno");
        c.year = 2026;
        c.percent = 30;
        QCOMPARE(book.refusal(c, book.articles()), QString());
        const QList<SalePrices::PreviewLine> preview = SalePrices(db).preview(c, book.articles());
        QCOMPARE(preview.size(), seasonArticles);
        book.save(c);

        // Its labels: every row of the season's stock says the reduction.
        LabelPreparation(db).prepare(filter, true);
        db::Table sheetTable(db);
        sheetTable.setTableName(QStringLiteral("ELEMENTI"));
        sheetTable.open();
        QList<LabelRow> rows = LabelList::read(sheetTable);
        sheetTable.close();
        QVERIFY(!rows.isEmpty());
        CampaignLabels::apply(rows, db, today);
        for (const LabelRow &r : rows)
            QVERIFY2(r.reduction.startsWith(QStringLiteral("Prezzo precedente € ")),
                     qPrintable(r.description));

        // One piece sold at the counter on the first day.
        db::Table colours(db);
        colours.setTableName(QStringLiteral("COLORI"));
        colours.setIndexName(QStringLiteral("COLORE"));
        colours.open();
        QVERIFY(colours.findKey(colour));
        const qint64 colourNumber = colours.asInteger(QStringLiteral("NUMREG"));
        colours.close();
        CounterSale sale(shop);
        QVERIFY(sale.begin(0));
        QCOMPARE(sale.enterCode(*lineBarcode(code, colourNumber, position)).kind,
                 SaleCodeLookup::Result::Kind::Line);
        QCOMPARE(sale.lines().first().number(sheet::SCONTO), 30.0);
        const QString reduction = SalePrintout::reductionsOf(db, sale.lines(), today).first();
        QVERIFY2(reduction.startsWith(QStringLiteral("Prezzo precedente")), qPrintable(reduction));
        QVERIFY(sale.save(today, 0) > 0);
        sale.close();

        const SellThrough::Row after = SellThrough::total(SellThrough::compute(db, report));
        QCOMPARE(after.sold, before.sold + 1);
        QCOMPARE(after.received, before.received);
        QCOMPARE(Money::of(after.sales - before.sales), Money::of(list * 0.7));
        qInfo("season of %d articles, %lld label rows; sale line: %s; before: %s; after: %s",
              seasonArticles, qint64(rows.size()), qPrintable(reduction),
              qPrintable(SellThrough::texts(before).join(u' ')),
              qPrintable(SellThrough::texts(after).join(u' ')));
    }
};

QTEST_MAIN(TestSeasonRun)
#include "tst_seasonrun.moc"

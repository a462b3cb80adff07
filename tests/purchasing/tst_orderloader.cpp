#include "purchasing/ReturnData.h"

#include "catalogue/TableGrid.h"
#include "db/Error.h"
#include "db/FaultyFileSystem.h"
#include "documents/DocumentSaver.h"
#include "printing/PrintService.h"
#include "printing/RecordingCanvas.h"
#include "purchasing/OrderLoader.h"
#include "purchasing/TFAcconto.h"
#include "purchasing/TFArcOrdini.h"
#include "purchasing/TFArcRidiF.h"
#include "purchasing/TFReso.h"
#include "shell/Shop.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

using namespace corvale;

namespace {

struct OrderLine {
    int article;
    const char *colour;
    int size;
    double quantity;
    double price;
};

// A stored order of ALFA with its lines.
void addOrder(ShopFixture &f, qint64 key, const QList<OrderLine> &lines) {
    double taxable = 0;
    double pieces = 0;
    for (const OrderLine &l : lines) {
        f.add(QStringLiteral("ARCART_O"),
              {{doc::NUMCAR, key},
               {doc::NUMART, l.article},
               {sheet::BARCODE, QString::number(800000 + l.article)},
               {sheet::DESCRIZION, QStringLiteral("ARTICOLO %1").arg(l.article)},
               {sheet::COLORE, QString::fromLatin1(l.colour)},
               {sheet::TAGLIA, l.size},
               {sheet::QUANTITA, l.quantity},
               {sheet::PREZZO, l.price},
               {doc::IMPORTO, l.quantity * l.price},
               {sheet::IVA, 20.0},
               {doc::DATAREG, QDate(2026, 2, 1)}});
        taxable += l.quantity * l.price;
        pieces += l.quantity;
    }
    f.add(QStringLiteral("ORDINI"), {{doc::NUMREG, key},
                                     {doc::NUMDOC, 7},
                                     {doc::DATADOC, QDate(2026, 2, 1)},
                                     {doc::MYDATA, QStringLiteral("20260201")},
                                     {doc::RAGSOC, QStringLiteral("ALFA")},
                                     {doc::NUMRAG, 1},
                                     {doc::NUMPEZZI, pieces},
                                     {doc::IMPONIBILE, taxable},
                                     {doc::IMPOSTA, taxable * 0.2},
                                     {doc::TOTALE, taxable * 1.2}});
}

QStringList receipts(ShopFixture &f) {
    QStringList out;
    db::Table t(f.db());
    t.setTableName(QStringLiteral("CARICHI"));
    t.open();
    for (t.first(); !t.eof(); t.next())
        out << QStringLiteral("%1 %2 %3 %4 [%5] %6 %7 %8 %9 %10 %11")
                   .arg(t.asString(doc::NUMREG), t.asString(doc::NUMDOC), t.asString(doc::DATADOC),
                        t.asString(doc::MYDATA), t.asString(doc::NUMCAR), t.asString(doc::RAGSOC),
                        t.asString(doc::NUMRAG), t.asString(doc::NUMPEZZI),
                        t.asString(doc::IMPONIBILE))
                   .arg(t.asString(doc::IMPOSTA), t.asString(doc::TOTALE));
    return out;
}

const QList<OrderLine> threeLines = {
    {1, "ROSSO", 1, 2, 20}, {1, "BLU", 3, 1, 20}, {2, "ROSSO", 2, 4, 12.5}};

} // namespace

class TestOrderLoader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // "Carica" in the orders archive: one receipt dated today with the next
    // number of the year, the order's values and lines, the goods in stock; a
    // second "Carica" of the same order is refused while that receipt exists.
    void loadingAnOrderMakesExactlyOneReceipt() {
        ShopFixture f; // 15 March 2026
        addDocumentData(f);
        f.add(QStringLiteral("CARICHI"), {{doc::NUMREG, 3},
                                          {doc::NUMDOC, 4},
                                          {doc::DATADOC, QDate(2026, 1, 5)},
                                          {doc::MYDATA, QStringLiteral("20260105")}});
        f.shop->routines().SetCounter(QStringLiteral("ACQUISTI"), 3);
        addOrder(f, 2, threeLines);
        putInStock(f, 1, QStringLiteral("ROSSO"), 1, 1);

        TFArcOrdini archive(*f.shop);
        archive.resize(1000, 700);
        archive.show();
        testing::child<QComboBox>(archive, "Periodo")->setCurrentIndex(0);
        QCOMPARE(archive.list().model().rowCount(), 1);
        f.prompter.expectConfirm(QStringLiteral("Caricare l'Ordine in magazzino?"), false);
        testing::click(archive, "Carica");
        QCOMPARE(recordCount(f, QStringLiteral("CARICHI")), 1);

        f.prompter.expectConfirm(QStringLiteral("Caricare l'Ordine in magazzino?"), true);
        testing::click(archive, "Carica");
        QCOMPARE(f.counter(QStringLiteral("ACQUISTI")), 4);
        QCOMPARE(receipts(f).last(),
                 QStringLiteral("4 5 15/03/2026 20260315 [] ALFA 1 7 110 22 132"));
        QCOMPARE(f.column(QStringLiteral("ARCART_A"), doc::NUMCAR), (QStringList{"4", "4", "4"}));
        QCOMPARE(f.column(QStringLiteral("ARCART_A"), doc::DATAREG),
                 (QStringList{"15/03/2026", "15/03/2026", "15/03/2026"}));
        QCOMPARE(f.column(QStringLiteral("ARCART_A"), doc::IMPORTO),
                 (QStringList{"40", "20", "50"}));
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 3.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("BLU"), 3), 1.0);
        QCOMPARE(stockCell(f, 2, QStringLiteral("ROSSO"), 2), 4.0);
        // The order keeps its lines and values.
        QCOMPARE(recordCount(f, QStringLiteral("ARCART_O")), 3);
        QCOMPARE(f.column(QStringLiteral("ORDINI"), doc::NUMDOC), QStringList{"7"});

        const QStringList once = purchaseState(f);
        f.prompter.expectConfirm(QStringLiteral("Caricare l'Ordine in magazzino?"), true);
        f.prompter.expectError(QStringLiteral(
            "L'Ordine è già stato caricato in magazzino!\rPer caricarlo di nuovo elimina prima "
            "il suo carico dall'archivio acquisti."));
        testing::click(archive, "Carica");
        QCOMPARE(purchaseState(f), once);

        // Once its receipt is deleted the order can be loaded again, once.
        {
            StockRoutines stock(f.db());
            DocumentSaver saver(f.db(), stock, f.shop->routines(), DocumentKind::receipt());
            db::Table header(f.db());
            header.setTableName(QStringLiteral("CARICHI"));
            header.setIndexName(doc::NUMREG);
            header.open();
            QVERIFY(header.findKey(4));
            saver.remove(header, 4);
        }
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 1.0);
        OrderLoader loader(f.db(), f.shop->routines(), f.clock.today());
        QCOMPARE(loader.loadedInto(2), qint64(0));
        const auto again = loader.load(2);
        QCOMPARE(again.outcome, OrderLoader::Outcome::Loaded);
        QCOMPARE(loader.loadedInto(2), again.receipt);
        QCOMPARE(loader.load(2).outcome, OrderLoader::Outcome::AlreadyLoaded);
        QCOMPARE(recordCount(f, QStringLiteral("CARICHI")), 2);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 3.0);
        QCOMPARE(loader.load(99).outcome, OrderLoader::Outcome::NotFound);
        QVERIFY(f.prompter.done());
    }

    // The road of a supplier's goods: ordered, loaded into stock, partly sent
    // back, partly paid; the statement balances to the cent.
    void orderLoadReturnPayAndPrintTheStatement() {
        ShopFixture f; // 15 March 2026
        addDocumentData(f);
        auto service = std::make_unique<RecordingPrintService>();
        RecordingPrintService &jobs = *service;
        f.shop->setPrintService(std::move(service));
        const auto enter = [&](TFReso::Mode mode, const QList<double> &quantities) {
            TFReso w(*f.shop, mode);
            w.resize(1000, 700);
            w.show();
            enterRedBoots(w, quantities);
            own(w, "Salva")->click();
            QVERIFY(!w.isVisible());
        };
        enter(TFReso::Mode::Order, {2, 0, 4}); // 6 x 20 + 20% = 144
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), 0.0);
        {
            TFArcOrdini orders(*f.shop);
            orders.resize(1000, 700);
            orders.show();
            QCOMPARE(orders.list().model().rowCount(), 1);
            f.prompter.expectConfirm(QStringLiteral("Caricare l'Ordine in magazzino?"), true);
            testing::click(orders, "Carica");
        }
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), 4.0);
        enter(TFReso::Mode::Return, {1}); // 20 + 20% = 24
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 1.0);

        TFArcRidiF payments(*f.shop);
        payments.show();
        QTimer::singleShot(0, &payments, [] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *p = qobject_cast<TFAcconto *>(w);
                if (p && p->isVisible()) {
                    testing::type(*p, "Acconto", QStringLiteral("100,10"));
                    testing::click(*p, "Salva");
                }
            }
        });
        testing::click(payments, "Nuovo");
        QCOMPARE(testing::child<QLabel>(payments, "SaldoFornitore")->text().trimmed(),
                 QStringLiteral("19,90"));
        f.prompter.expectInput(QStringLiteral("STAMPA MOVIMENTI"), QStringLiteral("DATA INIZIO"),
                               QStringLiteral("01/03/2026"));
        testing::click(payments, "Stampa");
        QCOMPARE(jobs.jobs().size(), 1);
        const QStringList texts = jobs.jobs()[0].canvas->textsInReadingOrder();
        QVERIFY(texts.contains(QStringLiteral("SITUAZIONE PRIMA DEL 01/03/2026")));
        // Receipt 144, return -24, payment 100,10: the running balance.
        for (const char *value : {"144,00", "120,00", "100,10", "19,90", "SALDO AL 15/03/2026"})
            QVERIFY2(texts.contains(QString::fromUtf8(value)), value);
        QCOMPARE(texts.filter(QStringLiteral("19,90")).size(), 2);
        QVERIFY(f.prompter.done());
    }

    // An I/O error at any write of the load: no receipt, no line, no stock,
    // no mark on the order; the first load it does not reach is complete.
    void aLoadFailingHalfWayLeavesNothing() {
        db::test::FaultyFileSystem files;
        ShopFixture f(files);
        addDocumentData(f);
        addOrder(f, 2, threeLines);
        const QStringList before = purchaseState(f);
        OrderLoader loader(f.db(), f.shop->routines(), f.clock.today());
        int failures = 0;
        OrderLoader::Result result;
        for (int at = 1; at < 400; ++at) {
            files.arm(db::test::FaultyFileSystem::Fault::IoError, files.operations() + at);
            bool failed = false;
            try {
                result = loader.load(2);
            } catch (const db::Error &) {
                failed = true;
            }
            files.arm(db::test::FaultyFileSystem::Fault::None, 0);
            if (!failed)
                break;
            ++failures;
            QCOMPARE(purchaseState(f), before);
        }
        QVERIFY2(failures > 5, qPrintable(QString::number(failures)));
        QCOMPARE(result.outcome, OrderLoader::Outcome::Loaded);
        const QStringList after = purchaseState(f);
        QCOMPARE(after.filter(QStringLiteral("CARICHI ")).size(), 1);
        QCOMPARE(after.filter(QStringLiteral("ARCART_A ")).size(), 3);
        QVERIFY(after.contains(QStringLiteral("S 2 ROSSO 2=4")));
        QCOMPARE(loader.load(2).outcome, OrderLoader::Outcome::AlreadyLoaded);
    }
};

QTEST_MAIN(TestOrderLoader)
#include "tst_orderloader.moc"

#include "tst_arcven_data.h"

#include "printing/RecordingCanvas.h"
#include "sales/SalesArchivePrintout.h"
#include "sales/SalesArchiveSearch.h"
#include "sales/SalesArchiveSelection.h"

#include <QTest>

using namespace corvale;
using Period = PeriodFilter::Period;

namespace {

// A bare sale header on `date`.
void addHeader(ShopFixture &f, qint64 key, const QDate &date, double total = 1) {
    f.add(QStringLiteral("VENDITE"), {{doc::NUMREG, key},
                                      {doc::NUMDOC, int(key)},
                                      {doc::DATADOC, date},
                                      {doc::MYDATA, date.toString(QStringLiteral("yyyyMMdd"))},
                                      {doc::TOTALE, total}});
}

QList<qint64> keysOf(ShopFixture &f, const SalesArchiveSelection &selection) {
    QList<qint64> keys;
    selection.walk(f.db(), QStringLiteral("VENDITE"),
                   [&](const db::Table &t) { keys << t.asInteger(doc::NUMREG); });
    return keys;
}

// The keys the engine lists for a plain filter text, in record order.
QList<qint64> filtered(ShopFixture &f, const QString &filter) {
    db::Table t(f.db());
    t.setTableName(QStringLiteral("VENDITE"));
    t.open();
    t.setFilter(filter);
    t.setFiltered(true);
    QList<qint64> keys;
    for (t.first(); !t.eof(); t.next())
        keys << t.asInteger(doc::NUMREG);
    return keys;
}

} // namespace

class TestSalesArchiveLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void periodKeys() {
        auto keys = [](Period p, QDate today) {
            const auto k = SalesArchiveSelection::periodKeys(p, today, QStringLiteral("20260101"),
                                                             QStringLiteral("20260315"));
            return k ? k->low + QLatin1Char('-') + k->high : QStringLiteral("any");
        };
        QCOMPARE(keys(Period::Any, QDate(2026, 3, 15)), QStringLiteral("any"));
        QCOMPARE(keys(Period::CurrentYear, QDate(2026, 3, 15)),
                 QStringLiteral("20260101-20261231"));
        QCOMPARE(keys(Period::Range, QDate(2026, 3, 15)), QStringLiteral("20260101-20260315"));
        // Each month ends on its own last day.
        QCOMPARE(keys(Period::CurrentMonth, QDate(2026, 3, 15)),
                 QStringLiteral("20260301-20260331"));
        QCOMPARE(keys(Period::CurrentMonth, QDate(2026, 4, 30)),
                 QStringLiteral("20260401-20260430"));
        QCOMPARE(keys(Period::CurrentMonth, QDate(2026, 2, 1)),
                 QStringLiteral("20260201-20260228"));
        QCOMPARE(keys(Period::CurrentMonth, QDate(2024, 2, 10)),
                 QStringLiteral("20240201-20240229"));
    }

    // The month's real last day lists exactly what the old end key "31" listed,
    // for every key a stored date can have: one document on each day of a
    // leap and a common year, and the days either side of both.
    void monthEndsOnItsLastDayAsBeforeForStoredKeys() {
        ShopFixture f;
        {
            db::Table sales(f.db());
            sales.setTableName(QStringLiteral("VENDITE"));
            sales.open();
            qint64 key = 0;
            for (QDate d(2023, 12, 31); d <= QDate(2027, 1, 1); d = d.addDays(1)) {
                if (d.year() == 2025)
                    continue;
                sales.append();
                sales.setInteger(doc::NUMREG, ++key);
                sales.setString(doc::MYDATA, d.toString(QStringLiteral("yyyyMMdd")));
                sales.post();
            }
        }
        for (int year : {2024, 2026}) {
            for (int month = 1; month <= 12; ++month) {
                const QDate today(year, month, 1);
                const QString yyyymm = today.toString(QStringLiteral("yyyyMM"));
                const QList<qint64> before =
                    filtered(f, QStringLiteral("((MYDATA >= '") + yyyymm +
                                    QStringLiteral("01') AND (MYDATA <= '") + yyyymm +
                                    QStringLiteral("31'))"));
                SalesArchiveSelection selection;
                selection.tag = doc::MYDATA;
                selection.keys =
                    SalesArchiveSelection::periodKeys(Period::CurrentMonth, today, {}, {});
                QCOMPARE(keysOf(f, selection), before);
                QCOMPARE(before.size(), today.daysInMonth());
                // The same bounds as a filter on another tag.
                selection.tag = doc::NUMREG;
                QCOMPARE(keysOf(f, selection), before);
            }
        }
    }

    void selectionJoinsThePeriodAndTheCondition() {
        ShopFixture f;
        addHeader(f, 1, QDate(2026, 3, 2), 10);
        addHeader(f, 2, QDate(2026, 3, 20), 20.5);
        addHeader(f, 3, QDate(2026, 2, 28), 100);
        addHeader(f, 4, QDate(2025, 3, 3), 1000);
        db::Table t(f.db());
        t.setTableName(QStringLiteral("VENDITE"));
        t.open();
        t.first();
        t.edit();
        t.setBool(doc::FINDV, true); // sale 1
        t.post();
        t.last();
        t.edit();
        t.setBool(doc::FINDV, true); // sale 4
        t.post();

        SalesArchiveSelection s;
        s.tag = doc::MYDATA;
        s.keys = SalesArchiveSelection::periodKeys(Period::CurrentYear, QDate(2026, 3, 15), {}, {});
        QCOMPARE(keysOf(f, s), (QList<qint64>{3, 1, 2}));
        QCOMPARE(s.sum(f.db(), QStringLiteral("VENDITE")), 130.5);
        QCOMPARE(s.filterText(),
                 QStringLiteral("((MYDATA >= '20260101') AND (MYDATA <= '20261231'))"));
        s.condition = QStringLiteral("( FINDV )");
        QCOMPARE(keysOf(f, s), QList<qint64>{1});
        QCOMPARE(s.filterText(), QStringLiteral("((MYDATA >= '20260101') AND (MYDATA <= "
                                                "'20261231')) AND ( FINDV )"));
        s.keys.reset();
        QCOMPARE(keysOf(f, s), (QList<qint64>{4, 1}));
        QCOMPARE(s.filterText(), QStringLiteral("( FINDV )"));
        s.condition.clear();
        QCOMPARE(keysOf(f, s).size(), 4);
        QCOMPARE(s.sum(f.db(), QStringLiteral("VENDITE")), 1130.5);

        // A handle moved from one selection to another leaves the old range.
        s.keys =
            SalesArchiveSelection::periodKeys(Period::CurrentMonth, QDate(2026, 3, 15), {}, {});
        s.applyTo(t);
        QCOMPARE(t.asInteger(doc::NUMREG), 1);
        s.tag = doc::NUMREG;
        s.keys.reset();
        s.applyTo(t);
        QCOMPARE(t.recordCount(), 4);
    }

    void searchMarksSalesOfAnyKeyAndClearsEveryOtherMark() {
        ShopFixture f;
        addDocumentData(f);
        const QString code = lineCode(1, 1, 3);
        f.shop->routines().SetCounter(QStringLiteral("VENDITE"), 12000);
        const qint64 a = storeSale(f, QDate(2026, 3, 2), 1, {{1, "ROSSO", 3, 1, 10}});
        const qint64 b = storeSale(f, QDate(2026, 3, 3), 2, {{2, "BLU", 1, 1, 10}});
        f.shop->routines().SetCounter(QStringLiteral("VENDITE"), 99999);
        const qint64 c = storeSale(f, QDate(2024, 5, 1), 3, {{2, "ROSSO", 2}, {1, "ROSSO", 3}});
        const qint64 invoice =
            storeInvoice(f, QDate(2026, 3, 4), 1, QStringLiteral("ROSSI"), {{2, "BLU", 5, 1, 10}});
        QVERIFY(a > 10000 && c > 99999);

        QVERIFY(markSalesWithCode(f.db(), code));
        QCOMPARE(saleMarks(f), (QMap<qint64, bool>{{a, true}, {b, false}, {c, true}}));
        // The next search clears the marks of the last one everywhere, also on
        // sales no period would list together.
        QVERIFY(markSalesWithCode(f.db(), lineCode(2, 2, 1)));
        QCOMPARE(saleMarks(f), (QMap<qint64, bool>{{a, false}, {b, true}, {c, false}}));

        // A code on an invoice alone, or nowhere: not found, the marks stay.
        QVERIFY(!markSalesWithCode(f.db(), lineCode(2, 2, 5)));
        QVERIFY(!markSalesWithCode(f.db(), QStringLiteral("800001")));
        // A quote in the typed code is a character of the code, not of the filter.
        QVERIFY(!markSalesWithCode(f.db(), QStringLiteral("X' OR BARCODE<>'")));
        QCOMPARE(saleMarks(f), (QMap<qint64, bool>{{a, false}, {b, true}, {c, false}}));
        Q_UNUSED(invoice);
    }

    void printedTitles() {
        using L = SalesArchivePrintout::Layout;
        using P = SalesArchivePrintout::Period;
        auto title = [](L l, P p) {
            return SalesArchivePrintout::titleFor(
                l, p, QStringLiteral("2026"), QStringLiteral("03"), QStringLiteral("01/03/2026"),
                QStringLiteral("15/03/2026"));
        };
        QCOMPARE(title(L::Sales, P::Any), QStringLiteral("ELENCO COMPLETO VENDITE"));
        QCOMPARE(title(L::Sales, P::Year),
                 QStringLiteral("ELENCO VENDITE ESEGUITE NELL'ANNO 2026"));
        QCOMPARE(title(L::Sales, P::Month),
                 QStringLiteral("ELENCO VENDITE ESEGUITE NEL MESE 03/2026"));
        QCOMPARE(title(L::Sales, P::Range),
                 QStringLiteral("ELENCO VENDITE ESEGUITE DAL 01/03/2026 AL 15/03/2026"));
        QCOMPARE(title(L::Invoices, P::Any), QStringLiteral("ELENCO COMPLETO FATTURE"));
        QCOMPARE(title(L::Invoices, P::Year),
                 QStringLiteral("ELENCO FATTURE EMESSE NELL'ANNO 2026"));
        QCOMPARE(title(L::Invoices, P::Month),
                 QStringLiteral("ELENCO FATTURE EMESSE NEL MESE 03/2026"));
        QCOMPARE(title(L::Invoices, P::Range),
                 QStringLiteral("ELENCO FATTURE EMESSE DAL 01/03/2026 AL 15/03/2026"));
    }

    void salesListOnTheLeftHalfOverPages() {
        SalesArchivePrintout p;
        p.layout = SalesArchivePrintout::Layout::Sales;
        p.nameLine1 = QStringLiteral("CALZATURE ROSSI");
        p.nameLine2 = QStringLiteral("VIA ROMA 1");
        p.title = QStringLiteral("ELENCO COMPLETO VENDITE");
        for (int i = 1; i <= 200; ++i)
            p.rows << SalesArchivePrintout::Row{
                {}, QString::number(i), QStringLiteral("15/03/2026"), 1234.5};
        p.sum = 246900;
        RecordingCanvas canvas;
        p.draw(canvas);
        const int W = (canvas.pageWidth() - 100) / 2;
        const int u = W / 8;
        QVERIFY(canvas.pageCount() > 1);
        const int pages = canvas.pageCount();
        // The column header and the page number on every page.
        QCOMPARE(canvas.textsContaining(QStringLiteral("Numero")).size(), pages);
        QVERIFY(canvas.findText(QStringLiteral("- %1 -").arg(pages)));
        QVERIFY(!canvas.findText(QStringLiteral("- %1 -").arg(pages + 1)));
        const CanvasItem *header = canvas.findText(QStringLiteral("Data"));
        QVERIFY(header);
        QCOMPARE(header->position.x(), 50 + 2 * u + 10);
        QCOMPARE(canvas.findText(QStringLiteral("200"))->position.x(), 60);
        // Totals end 10 units inside the right edge of the left half's last column.
        const CanvasItem *total = canvas.findText(QStringLiteral("246.900,00"));
        QVERIFY(total);
        QCOMPARE(total->position.x() + canvas.textWidth(total->text), 50 + 8 * u - 10);
        QVERIFY(canvas.findText(QStringLiteral("TOTALE")));
        // Every row is above the bottom limit.
        const int bottom = canvas.pageHeight() * 97 / 100;
        for (const CanvasItem &item : canvas.items())
            if (item.text == QStringLiteral("15/03/2026"))
                QVERIFY(item.position.y() < bottom);
    }

    void invoiceListAcrossThePage() {
        SalesArchivePrintout p;
        p.layout = SalesArchivePrintout::Layout::Invoices;
        p.title = QStringLiteral("ELENCO FATTURE EMESSE NEL MESE 03/2026");
        p.rows << SalesArchivePrintout::Row{QStringLiteral("BIANCHI MARIO"), QStringLiteral("7"),
                                            QStringLiteral("02/03/2026"), 122};
        p.sum = 122;
        RecordingCanvas canvas;
        p.draw(canvas);
        const int d = (canvas.pageWidth() - 200) / 12;
        QCOMPARE(canvas.pageCount(), 1);
        QCOMPARE(canvas.findText(QStringLiteral("Cliente"))->position.x(), 110);
        QCOMPARE(canvas.findText(QStringLiteral("BIANCHI MARIO"))->position.x(), 110);
        QCOMPARE(canvas.findText(QStringLiteral("7"))->position.x(), 100 + 7 * d + 10);
        QCOMPARE(canvas.findText(QStringLiteral("02/03/2026"))->position.x(), 100 + 8 * d + 10);
        QCOMPARE(canvas.textsContaining(QStringLiteral("122,00")).size(), 2);
        QVERIFY(canvas.findText(QStringLiteral("- 1 -")));
    }
};

QTEST_MAIN(TestSalesArchiveLogic)
#include "tst_arcven_logic.moc"

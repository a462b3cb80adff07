#include "documents/DocumentData.h"

#include "db/Table.h"
#include "documents/ArchiveListPrintout.h"
#include "documents/ArticleList.h"
#include "documents/LineBarcode.h"
#include "documents/LineSheet.h"
#include "documents/PeriodFilter.h"
#include "documents/SheetColumns.h"
#include "documents/SizeEntry.h"
#include "printing/RecordingCanvas.h"
#include "shell/CommonRoutines.h"

#include <QTest>

using namespace corvale;

class TestDocuments : public QObject {
    Q_OBJECT
private:
    static SizeEntry entry(QList<double> quantities, qint64 colour = 1) {
        SizeEntry e;
        e.setLabels({QStringLiteral("38"), QStringLiteral("39"), QStringLiteral("40"),
                     QStringLiteral("41"), QStringLiteral("42")});
        for (int p = 1; p <= quantities.size(); ++p)
            e.setQuantity(p, quantities[p - 1]);
        if (colour)
            e.setColour(colour, QStringLiteral("ROSSO"));
        return e;
    }
    // Puts the article on the current row of the sheet as the search box does.
    static void takeArticle(ShopFixture &f, LineSheet &sheet, const QString &description) {
        ArticleList list(f.db(), true);
        list.open();
        QVERIFY(list.findByDescription(description));
        sheet.takeArticle(list.table());
    }
    static QStringList column(LineSheet &sheet, const QString &field) {
        QStringList out;
        for (const SheetRow &row : sheet.allLines())
            out << row.text(field);
        return out;
    }

private Q_SLOTS:
    void lineBarcodes() {
        const auto code = lineBarcode(QStringLiteral("800001"), 7, 3);
        QVERIFY(code);
        QCOMPARE(*code, CommonRoutines::EanCheckDigit(QStringLiteral("800001107103")));
        const auto parts = readLineBarcode(*code);
        QVERIFY(parts);
        QCOMPARE(parts->articlePrefix, QStringLiteral("800001"));
        QCOMPARE(parts->colourNumber, 7);
        QCOMPARE(parts->position, 3);
        // Only the first six characters of a longer code count.
        QCOMPARE(lineBarcode(QStringLiteral("8000012345"), 7, 3), code);
        // A colour that needs four digits would push the size out of its place.
        QVERIFY(!lineBarcode(QStringLiteral("800001"), 900, 1));
        QVERIFY(lineBarcode(QStringLiteral("800001"), 899, 20));
        QVERIFY(!lineBarcode(QStringLiteral("8001"), 1, 1));
        QVERIFY(!lineBarcode(QStringLiteral("80A001"), 1, 1));
        QVERIFY(!readLineBarcode(QStringLiteral("800001")));
        QString wrong = *code;
        wrong[12] = wrong[12] == u'0' ? u'1' : u'0';
        QVERIFY(!readLineBarcode(wrong));
    }

    void sizeEntryRules() {
        SizeEntry e = entry({2, 0, 3, 0, 1});
        QVERIFY(e.isVisible(5));
        QVERIFY(!e.isVisible(6));
        // A hidden position counts 0 whatever was typed into it.
        e.setQuantity(6, 9);
        QCOMPARE(e.sum(), 6.0);
        const auto lines = e.lines(QStringLiteral("800001"));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0].position, 1);
        QCOMPARE(lines[1].position, 3);
        QCOMPARE(lines[2].position, 5);
        QCOMPARE(lines[1].quantity, 3.0);
        QCOMPARE(lines[2].label, QStringLiteral("42"));
        QCOMPARE(lines[0].barcode.mid(6, 6), QStringLiteral("101101"));
        QCOMPARE(lines[1].barcode.mid(9, 3), QStringLiteral("103"));
        QCOMPARE(lines[2].barcode.mid(9, 3), QStringLiteral("105"));

        QVERIFY(entry({0, 0, 0}).lines(QStringLiteral("800001")).isEmpty());
        // Quantities that cancel out leave the panel open as an all-zero entry does.
        QVERIFY(entry({2, -2}).lines(QStringLiteral("800001")).isEmpty());
        QVERIFY(!entry({1}, 0).canLoad());
        QVERIFY(entry({1}).canLoad());
    }

    void sizePanelWritesLinesOnFreeRows() {
        ShopFixture f;
        addDocumentData(f);
        LineSheet sheet(f.db(), DocumentKind::receipt());
        sheet.open();
        sheet.appendBlankRows();
        sheet.table().first();
        takeArticle(f, sheet, QStringLiteral("STIVALE CUOIO"));
        sheet.writeSizeLines(entry({2, 0, 3, 0, 1}).lines(QStringLiteral("800001")),
                             QStringLiteral("ROSSO"));
        QCOMPARE(column(sheet, sheet::TAGLIA), (QStringList{"1", "3", "5"}));
        QCOMPARE(column(sheet, sheet::QUANTITA), (QStringList{"2", "3", "1"}));
        QCOMPARE(column(sheet, sheet::CTAGLIA), (QStringList{"38", "40", "42"}));
        QCOMPARE(column(sheet, sheet::COLORE), (QStringList{"ROSSO", "ROSSO", "ROSSO"}));
        QCOMPARE(column(sheet, sheet::SCONTO), (QStringList{"5", "5", "5"}));
        QCOMPARE(column(sheet, sheet::PREZZO), (QStringList{"20", "20", "20"}));
        const QStringList codes = column(sheet, sheet::BARCODE);
        QCOMPARE(codes[0].left(12), QStringLiteral("800001101101"));
        QCOMPARE(codes[2].left(12), QStringLiteral("800001101105"));
        // The cursor waits on the row after the last line.
        QVERIFY(!sheet.currentRowHasArticle());
        QCOMPARE(sheet.table().recordNumber(), 4u);

        // An article chosen on the first row above existing lines never overwrites them.
        sheet.table().first();
        sheet.table().edit();
        sheet.table().setNull(sheet::DESCRIZION);
        sheet.table().post();
        takeArticle(f, sheet, QStringLiteral("SANDALO"));
        sheet.writeSizeLines(entry({1, 1}, 2).lines(QStringLiteral("800002")),
                             QStringLiteral("BLU"));
        QCOMPARE(column(sheet, sheet::DESCRIZION),
                 (QStringList{"SANDALO", "STIVALE CUOIO", "STIVALE CUOIO", "SANDALO"}));
    }

    void totalsWithReceiptDiscount() {
        ShopFixture f;
        addDocumentData(f);
        LineSheet sheet(f.db(), DocumentKind::receipt());
        sheet.open();
        sheet.appendBlankRows(5);
        sheet.table().first();
        takeArticle(f, sheet, QStringLiteral("STIVALE CUOIO"));
        sheet.table().setFloat(sheet::QUANTITA, 3);
        sheet.table().post();
        const auto totals = sheet.computeTotals(10);
        QVERIFY(totals);
        QCOMPARE(totals->pieces, 3);
        QVERIFY(qFuzzyCompare(totals->taxable, 54.0));
        QVERIFY(qFuzzyCompare(totals->tax, 10.8));
        QVERIFY(qFuzzyCompare(totals->total, 64.8));
        // The receipt's amounts ignore the article's sale discount; a sale's take it off.
        QCOMPARE(sheet.currentRow().amount.toDouble(), 60.0);
        LineSheet sale(f.db(), DocumentKind::counterSale());
        QCOMPARE(
            sale.amountOf({{sheet::QUANTITA, 2.0}, {sheet::PREZZO, 10.0}, {sheet::SCONTO, 50.0}})
                .toDouble(),
            10.0);
        QVERIFY(sheet.amountOf({{sheet::QUANTITA, 0.0}, {sheet::PREZZO, 10.0}}).isNull());

        sheet.TotalsSuspended = true;
        QVERIFY(!sheet.computeTotals(10));
    }

    void everyRowWithAnArticleIsALine() {
        ShopFixture f;
        LineSheet sheet(f.db(), DocumentKind::receipt());
        sheet.open();
        sheet.appendBlankRows(12);
        // Lines on rows 1, 3, 5 and 11: the one below the fifth empty row is a line too.
        int row = 1;
        for (sheet.table().first(); !sheet.table().eof(); sheet.table().next(), ++row) {
            if (row == 1 || row == 3 || row == 5 || row == 11) {
                sheet.table().edit();
                sheet.table().setString(sheet::DESCRIZION, QStringLiteral("RIGA %1").arg(row));
                sheet.table().setFloat(sheet::QUANTITA, 1);
                sheet.table().post();
            }
        }
        QCOMPARE(column(sheet, sheet::DESCRIZION),
                 (QStringList{"RIGA 1", "RIGA 3", "RIGA 5", "RIGA 11"}));

        // "Etichette" writes the whole quantity on every row that has one.
        sheet.setLabelsFromQuantities();
        QCOMPARE(column(sheet, sheet::LABELS), (QStringList{"1", "1", "1", "1"}));
        // "Elimina" on an empty row does nothing.
        sheet.table().first();
        sheet.table().next();
        QVERIFY(!sheet.deleteCurrentRow());
        sheet.table().first();
        QVERIFY(sheet.deleteCurrentRow());
        QCOMPARE(column(sheet, sheet::DESCRIZION).size(), 3);
    }

    void articleListFilters() {
        ShopFixture f;
        addDocumentData(f);
        ArticleList inUse(f.db(), true);
        inUse.open();
        QCOMPARE(inUse.descriptions(), (QStringList{"SANDALO", "STIVALE CUOIO"}));
        inUse.setSupplier(1);
        QCOMPARE(inUse.filterText(), QStringLiteral("INUSO AND (N_FOR = 1)"));
        QCOMPARE(inUse.descriptions(), QStringList{"STIVALE CUOIO"});
        QVERIFY(!inUse.findByDescription(QStringLiteral("SANDALO")));
        inUse.setSupplier(std::nullopt);
        QVERIFY(inUse.findByDescription(QStringLiteral("SANDALO")));

        ArticleList all(f.db(), false);
        all.open();
        QCOMPARE(all.filterText(), QString());
        QCOMPARE(all.descriptions().size(), 3);
        all.setSupplier(1);
        QCOMPARE(all.filterText(), QStringLiteral("(N_FOR = 1)"));
        QCOMPARE(all.descriptions(), (QStringList{"STIVALE CUOIO", "VECCHIO"}));
        // A scanned line barcode finds its article.
        QVERIFY(all.findByCode(*lineBarcode(QStringLiteral("800003"), 2, 4)));
        QCOMPARE(all.table().asString(QStringLiteral("DESCRIZION")), QStringLiteral("VECCHIO"));
        QVERIFY(!all.findByCode(QStringLiteral("800002")));

        const SizeType sizes = loadSizeType(f.db(), 1);
        QCOMPARE(sizes.name, QStringLiteral("CALZATURE"));
        QCOMPARE(sizes.labels.size(), 20);
        QCOMPARE(sizes.labels[4], QStringLiteral("42"));
        QVERIFY(sizes.labels[5].isEmpty());
    }

    void periodFilters() {
        using P = PeriodFilter::Period;
        const QDate february(2026, 2, 10);
        QCOMPARE(PeriodFilter::filterText(P::Any, february, {}, {}), QString());
        QCOMPARE(PeriodFilter::filterText(P::Any, february, {}, {}, QStringLiteral("( FINDV )")),
                 QStringLiteral("( FINDV )"));
        QCOMPARE(PeriodFilter::filterText(P::CurrentYear, february, {}, {}),
                 QStringLiteral("((MYDATA >= '20260101') AND (MYDATA <= '20261231'))"));
        // The month ends on its real last day.
        QCOMPARE(PeriodFilter::filterText(P::CurrentMonth, february, {}, {}),
                 QStringLiteral("((MYDATA >= '20260201') AND (MYDATA <= '20260228'))"));
        QCOMPARE(PeriodFilter::filterText(P::CurrentMonth, QDate(2024, 2, 1), {}, {}),
                 QStringLiteral("((MYDATA >= '20240201') AND (MYDATA <= '20240229'))"));
        QCOMPARE(
            PeriodFilter::filterText(P::Range, february, QStringLiteral("20250105"),
                                     QStringLiteral("20250210"), QStringLiteral("( FINDV )")),
            QStringLiteral("((MYDATA >= '20250105') AND (MYDATA <= '20250210')) AND ( FINDV )"));
        const QString noun = QStringLiteral("ACQUISTI");
        QCOMPARE(PeriodFilter::title(P::Any, february, {}, {}, noun),
                 QStringLiteral("ELENCO COMPLETO ACQUISTI"));
        QCOMPARE(PeriodFilter::title(P::CurrentYear, february, {}, {}, noun),
                 QStringLiteral("ELENCO ACQUISTI ESEGUITI NELL'ANNO 2026"));
        QCOMPARE(PeriodFilter::title(P::CurrentMonth, february, {}, {}, noun),
                 QStringLiteral("ELENCO ACQUISTI ESEGUITI NEL MESE 02/2026"));
        QCOMPARE(PeriodFilter::title(P::Range, february, QStringLiteral("01/01/2026"),
                                     QStringLiteral("10/02/2026"), noun),
                 QStringLiteral("ELENCO ACQUISTI ESEGUITI DAL 01/01/2026 AL 10/02/2026"));
    }

    void archiveListPagesAreNumbered() {
        ArchiveListPrintout list;
        list.nameLine1 = QStringLiteral("CALZATURE BIANCHI");
        list.title = QStringLiteral("ELENCO COMPLETO ACQUISTI");
        for (int i = 1; i <= 120; ++i)
            list.rows << ArchiveListPrintout::Row{QStringLiteral("ALFA"), QString::number(i),
                                                  QStringLiteral("01/03/2026"), 10.5};
        list.sum = 1260;
        RecordingCanvas canvas;
        list.draw(canvas);
        QVERIFY(canvas.pageCount() >= 2);
        for (int page = 1; page <= canvas.pageCount(); ++page) {
            QVERIFY(canvas.findText(QStringLiteral("- %1 -").arg(page), page));
            QVERIFY(canvas.findText(QStringLiteral("Fornitore"), page));
        }
        const int last = canvas.pageCount();
        QVERIFY(canvas.findText(QStringLiteral("TOTALE"), last));
        QCOMPARE(canvas.textsContaining(QStringLiteral("1.260,00"), last).size(), 1);
        QVERIFY(!canvas.findText(QStringLiteral("TOTALE"), 1));
        QCOMPARE(canvas.textsContaining(QStringLiteral("10,50")).size(), 120);
        // Every row lies above the page's foot.
        for (const CanvasItem &item : canvas.textsContaining(QStringLiteral("10,50")))
            QVERIFY(item.position.y() < canvas.pageHeight() * 97 / 100);
    }
};

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"

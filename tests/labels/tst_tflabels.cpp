#include "common/ShopFixture.h"
#include "common/Widgets.h"

#include "labels/LabelFilter.h"
#include "labels/LabelLayout.h"
#include "labels/LabelList.h"
#include "labels/LabelPrinting.h"
#include "labels/LabelPrintout.h"
#include "labels/SheetPlacement.h"
#include "labels/TFLabels.h"
#include "printing/PrintService.h"
#include "printing/RecordingCanvas.h"
#include "widgets/TableModel.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QTest>

using namespace corvale;
using testing::child;

namespace {

const QString euro = QStringLiteral(" \u20AC ");

LabelRow row(const QString &barcode, int count, double price = 12.5, double discount = 0) {
    LabelRow r;
    r.barcode = barcode;
    r.brand = QStringLiteral("MARCA");
    r.description = QStringLiteral("GIACCA ") + barcode;
    r.colour = QStringLiteral("BLU");
    r.sizeLabel = QStringLiteral("46");
    r.price = price;
    r.discount = discount;
    r.count = count;
    return r;
}

LabelLayout sheet(int rows, int columns) {
    LabelLayout l;
    l.rows = rows;
    l.columns = columns;
    return l;
}

// The top-left corners of the labels, page by page, from the first text of
// each label (brand and description).
QList<QPair<int, QPoint>> labelCorners(const RecordingCanvas &canvas) {
    QList<QPair<int, QPoint>> out;
    for (const CanvasItem &item : canvas.items())
        if (item.kind == CanvasItem::Kind::Text && item.text.startsWith(u"MARCA - "))
            out.append({item.page, item.position});
    return out;
}

QStringList textsOfSize(const RecordingCanvas &canvas, double size) {
    QStringList out;
    for (const CanvasItem &item : canvas.items())
        if (item.kind == CanvasItem::Kind::Text && item.font.size == size)
            out << item.text;
    return out;
}

bool hasBars(const RecordingCanvas &canvas) {
    for (const CanvasItem &item : canvas.items())
        if (item.kind != CanvasItem::Kind::Text)
            return true;
    return false;
}

// Label-list rows as the receipt or the article archive leave them.
void addListRow(ShopFixture &f, const QString &barcode, const QString &description,
                const QVariant &labels, double price = 10, double discount = 0) {
    f.add(QStringLiteral("ELEMENTI"), {{QStringLiteral("BARCODE"), barcode},
                                       {QStringLiteral("DESCRIZION"), description},
                                       {QStringLiteral("MARCHIO"), QStringLiteral("MARCA")},
                                       {QStringLiteral("COLORE"), QStringLiteral("NERO")},
                                       {QStringLiteral("CTAGLIA"), QStringLiteral("42")},
                                       {QStringLiteral("PRZVND"), price},
                                       {QStringLiteral("SCONTO"), discount},
                                       {QStringLiteral("LABELS"), labels}});
}

RecordingPrintService &recordPrints(ShopFixture &f) {
    auto service = std::make_unique<RecordingPrintService>();
    RecordingPrintService &printed = *service;
    f.shop->setPrintService(std::move(service));
    return printed;
}

} // namespace

class TestTFLabels : public QObject {
    Q_OBJECT
private slots:
    // Sheets fill down a column, then the next column, then a new page.
    void sheetPlacementFromAStartingRowAndColumn() {
        LabelPrintout printout({row(u"8000010001013"_qs, 3)}, {}, sheet(3, 2), 2, 1);
        RecordingCanvas canvas;
        printout.draw(canvas);
        const int cw = canvas.pageWidth() / 2;
        const int rh = canvas.pageHeight() / 3;
        const QList<QPair<int, QPoint>> expected{
            {1, QPoint(5 + cw, 5 + 2 * rh)}, {2, QPoint(5, 5)}, {2, QPoint(5, 5 + rh)}};
        QCOMPARE(labelCorners(canvas), expected);
        QCOMPARE(canvas.pageCount(), 2);
    }

    void sheetSpacingAndMarginsMoveEveryLabel() {
        LabelLayout l = sheet(2, 2);
        l.rowSpacing = -40;
        l.columnSpacing = 30;
        l.leftMargin = 100;
        l.topMargin = 50;
        LabelPrintout printout({row(u"8000010001013"_qs, 4)}, {}, l);
        RecordingCanvas canvas;
        printout.draw(canvas);
        const int cw = canvas.pageWidth() / 2;
        const int rh = canvas.pageHeight() / 2;
        const QList<QPair<int, QPoint>> expected{{1, QPoint(100, 50)},
                                                 {1, QPoint(100, 50 + rh - 40)},
                                                 {1, QPoint(100 + cw + 30, 50)},
                                                 {1, QPoint(100 + cw + 30, 50 + rh - 40)}};
        QCOMPARE(labelCorners(canvas), expected);
        // A full sheet ends the job: no empty page after it.
        QCOMPARE(canvas.pageCount(), 1);
    }

    void startingRowAndColumnAnswers() {
        QCOMPARE(SheetPlacement::startIndex(u"9"_qs, 7), 6);
        QCOMPARE(SheetPlacement::startIndex(u"3"_qs, 7), 2);
        QCOMPARE(SheetPlacement::startIndex(u" 2 "_qs, 7), 1);
        QCOMPARE(SheetPlacement::startIndex(u"0"_qs, 7), 0);
        QCOMPARE(SheetPlacement::startIndex(u"-4"_qs, 7), 0);
        QCOMPARE(SheetPlacement::startIndex(u"due"_qs, 7), 0);
        QCOMPARE(SheetPlacement::startIndex(u""_qs, 7), 0);
        QCOMPARE(SheetPlacement::startIndex(u"99999999999999999"_qs, 4), 3);
    }

    void codeAndDescriptionFilter() {
        QCOMPARE(LabelFilter::build({}, {}), QString());
        QCOMPARE(LabelFilter::build(u"8000010001013"_qs, {}), u"(BARCODE = '8000010001013')"_qs);
        QCOMPARE(LabelFilter::build(u"800001"_qs, {}),
                 u"((BARCODE >= '800001') AND (BARCODE <= '800001z'))"_qs);
        QCOMPARE(LabelFilter::build(u"800001"_qs, u"GIA"_qs),
                 u"((BARCODE >= '800001') AND (BARCODE <= '800001z')) AND "
                 "((DESCRIZION >= 'GIA') AND (DESCRIZION <= 'GIAz'))"_qs);
        // Apostrophes in either box are quoted.
        QCOMPARE(LabelFilter::build(u"80'"_qs, u"L'ABITO"_qs),
                 u"((BARCODE >= '80''') AND (BARCODE <= '80''z')) AND "
                 "((DESCRIZION >= 'L''ABITO') AND (DESCRIZION <= 'L''ABITOz'))"_qs);
        // A code longer than any barcode finds nothing rather than everything.
        QCOMPARE(LabelFilter::build(u"80000100010131"_qs, {}),
                 u"((BARCODE >= '80000100010131') AND (BARCODE <= '80000100010131z'))"_qs);
    }

    void layoutInDatiIni() {
        ShopFixture f;
        QCOMPARE(LabelLayout::read(f.shop->ini()), LabelLayout());
        const LabelLayout l{7, 3, -20, 40, 60, 80};
        QVERIFY(l.write(f.shop->ini()));
        QCOMPARE(f.shop->ini().readInteger(u"BARCODE"_qs, u"NUR"_qs, 0), 7);
        QCOMPARE(f.shop->ini().readInteger(u"BARCODE"_qs, u"MTO"_qs, 0), 80);
        QCOMPARE(LabelLayout::read(f.shop->ini()), l);
        // Values beyond the fields' ranges come back inside them.
        QVERIFY(f.shop->ini().writeInteger(u"BARCODE"_qs, u"NUR"_qs, 0));
        QVERIFY(f.shop->ini().writeInteger(u"BARCODE"_qs, u"NUC"_qs, 50));
        QVERIFY(f.shop->ini().writeInteger(u"BARCODE"_qs, u"INR"_qs, -900));
        QVERIFY(f.shop->ini().writeInteger(u"BARCODE"_qs, u"MDX"_qs, 1));
        const LabelLayout read = LabelLayout::read(f.shop->ini());
        QCOMPARE(read.rows, 2);
        QCOMPARE(read.columns, 6);
        QCOMPARE(read.rowSpacing, -500);
        QCOMPARE(read.leftMargin, 5);
    }

    void barcodeOnlyPrintsBarsAndUnreadableCodesAsText() {
        LabelOptions o;
        o.barcodeOnly = true;
        o.discountedPrice = true;
        LabelPrintout printout({row(u"8000010001013"_qs, 1, 10, 20), row(u"ABC-1"_qs, 1)}, o,
                               sheet(10, 4));
        RecordingCanvas canvas;
        printout.draw(canvas);
        QVERIFY(hasBars(canvas));
        QVERIFY(canvas.textsContaining(u"MARCA"_qs).isEmpty());
        QVERIFY(canvas.textsContaining(u"BLU"_qs).isEmpty());
        QVERIFY(canvas.textsContaining(u"46"_qs).isEmpty());
        QVERIFY(canvas.textsContaining(euro).isEmpty());
        const CanvasItem *code = canvas.findText(u"ABC-1"_qs);
        QVERIFY(code);
        QCOMPARE(code->font.size, 12.0);
    }

    // Codes the EAN symbol cannot carry, or would carry unreadably, print as text.
    void codesThatCannotBeBarsPrintAsText_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("bars");
        QTest::newRow("13 digits") << u"8000010001013"_qs << true;
        QTest::newRow("12 digits") << u"800001000101"_qs << true;
        QTest::newRow("wrong check digit") << u"8000010001014"_qs << false;
        QTest::newRow("5 digits") << u"12345"_qs << false;
        QTest::newRow("letters") << u"80000A0001017"_qs << false;
        QTest::newRow("empty") << QString() << false;
    }
    void codesThatCannotBeBarsPrintAsText() {
        QFETCH(QString, code);
        QFETCH(bool, bars);
        QCOMPARE(LabelPrintout::drawableCode(code), bars);
        LabelPrintout printout({row(code, 1)}, {}, sheet(10, 4));
        RecordingCanvas canvas;
        printout.draw(canvas);
        QCOMPARE(hasBars(canvas), bars);
        if (!bars)
            QVERIFY(canvas.findText(code));
    }

    void sheetPrices() {
        LabelOptions o;
        o.discountedPrice = true;
        {
            // No discount: one price in size 12, even with "Prezzo scontato".
            LabelPrintout printout({row(u"8000010001013"_qs, 1, 1234.5, 0)}, o, sheet(10, 4));
            RecordingCanvas canvas;
            printout.draw(canvas);
            QCOMPARE(canvas.textsContaining(euro).size(), 1);
            const CanvasItem *price = canvas.findText(euro + u"1.234,50"_qs);
            QVERIFY(price);
            QCOMPARE(price->font.size, 12.0);
            QVERIFY(!price->font.strikeOut);
        }
        {
            LabelPrintout printout({row(u"8000010001013"_qs, 1, 50, 20)}, o, sheet(10, 4));
            RecordingCanvas canvas;
            printout.draw(canvas);
            const CanvasItem *full = canvas.findText(euro + u"50,00"_qs);
            const CanvasItem *discounted = canvas.findText(euro + u"40,00"_qs);
            QVERIFY(full && discounted);
            QCOMPARE(full->font.size, 8.0);
            QVERIFY(full->font.strikeOut);
            QCOMPARE(discounted->font.size, 12.0);
            QVERIFY(!discounted->font.strikeOut);
            QCOMPARE(discounted->position.x(), full->position.x());
            QVERIFY(discounted->position.y() > full->position.y());
        }
        {
            // The discount without "Prezzo scontato" prints the full price only.
            LabelPrintout printout({row(u"8000010001013"_qs, 1, 50, 20)}, {}, sheet(10, 4));
            RecordingCanvas canvas;
            printout.draw(canvas);
            QCOMPARE(canvas.textsContaining(euro).size(), 1);
            QVERIFY(canvas.findText(euro + u"50,00"_qs));
        }
        {
            LabelOptions none;
            none.printPrice = false;
            LabelPrintout printout({row(u"8000010001013"_qs, 1, 50, 20)}, none, sheet(10, 4));
            RecordingCanvas canvas;
            printout.draw(canvas);
            QVERIFY(canvas.textsContaining(euro).isEmpty());
            QVERIFY(canvas.findText(u"BLU"_qs));
        }
    }

    void sheetLabelLayout() {
        LabelPrintout printout({row(u"8000010001013"_qs, 1)}, {}, sheet(10, 4));
        RecordingCanvas canvas;
        printout.draw(canvas);
        const CanvasItem *head = canvas.findText(u"MARCA - GIACCA 8000010001013"_qs);
        const CanvasItem *colour = canvas.findText(u"BLU"_qs);
        const CanvasItem *size = canvas.findText(u"46"_qs);
        QVERIFY(head && colour && size);
        QCOMPARE(head->position, QPoint(5, 5));
        QCOMPARE(head->font.size, 8.0);
        // The size stands right-aligned to the barcode's right edge, in bold.
        const int barWidth = qRound(canvas.pageWidth() / 5.5);
        QCOMPARE(size->position.x() + size->rect.width(), 5 + barWidth);
        QVERIFY(size->font.bold);
        QCOMPARE(size->font.size, 16.0);
        QCOMPARE(colour->position.y(), size->position.y());
        QVERIFY(colour->position.y() > head->position.y() + qRound(0.25 * barWidth));
    }

    void labelPrinterPrintsOnePagePerLabel() {
        LabelOptions o;
        o.labelPrinter = true;
        o.discountedPrice = true;
        LabelPrintout printout(
            {row(u"8000010001013"_qs, 2, 30, 10), row(u"8000020001010"_qs, 0), row(u"X"_qs, 1)}, o,
            sheet(10, 4));
        RecordingCanvas canvas(1200, 800, 300);
        printout.draw(canvas);
        QCOMPARE(canvas.pageCount(), 3);
        for (int page = 1; page <= 3; ++page)
            QVERIFY(!canvas.itemsOnPage(page).isEmpty());
        const CanvasItem *full = canvas.findText(euro + u"30,00"_qs, 1);
        const CanvasItem *discounted = canvas.findText(euro + u"27,00"_qs, 1);
        QVERIFY(full && discounted);
        QVERIFY(full->font.strikeOut);
        QCOMPARE(full->font.size, 9.0);
        QCOMPARE(discounted->font.size, 12.0);
        QCOMPARE(full->position.x() + full->rect.width(), 1200 - 20);
        QCOMPARE(discounted->position.x() + discounted->rect.width(), 1200 - 20);
        const CanvasItem *description = canvas.findText(u"GIACCA 8000010001013"_qs, 2);
        QVERIFY(description);
        QCOMPARE(description->position, QPoint(0, 0));
        QVERIFY(canvas.findText(u"MARCA"_qs, 2));
        // The third page: a code that is no barcode, written instead.
        QVERIFY(canvas.findText(u"X"_qs, 3));
    }

    void labelPrinterWithoutDiscountPrintsTheLargePrice() {
        LabelOptions o;
        o.labelPrinter = true;
        o.discountedPrice = true;
        LabelPrintout printout({row(u"8000010001013"_qs, 1, 30, 0)}, o, sheet(10, 4));
        RecordingCanvas canvas(1200, 800, 300);
        printout.draw(canvas);
        QCOMPARE(canvas.pageCount(), 1);
        QCOMPARE(textsOfSize(canvas, 16), QStringList{euro + u"30,00"_qs});
        const CanvasItem *size = canvas.findText(u"46"_qs);
        QVERIFY(size);
        QCOMPARE(size->font.size, 24.0);
    }

    void countsOfTheList() {
        ShopFixture f;
        addListRow(f, u"8000010001013"_qs, u"GIACCA"_qs, 2);
        addListRow(f, u"8000010001020"_qs, u"GIACCA"_qs, QVariant());
        addListRow(f, u"8000020001010"_qs, u"L'ABITO"_qs, -3);
        addListRow(f, u"8000030001017"_qs, u"PANTALONE"_qs, 4);
        db::Table list(f.db());
        list.setTableName(u"ELEMENTI"_qs);
        list.open();
        const QList<LabelRow> rows = LabelList::read(list);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[1].count, 0);
        // A negative count is no label and takes none away from the others.
        QCOMPARE(rows[2].count, 0);
        QCOMPARE(LabelList::total(rows), 6);

        list.setFilter(LabelFilter::build({}, u"GIACCA"_qs));
        list.setFiltered(true);
        QCOMPARE(LabelList::total(LabelList::read(list)), 2);
        LabelList::clearCounts(list);
        QCOMPARE(LabelList::total(LabelList::read(list)), 0);
        list.setFiltered(false);
        // Rows outside the filter keep their counts.
        QCOMPARE(LabelList::total(LabelList::read(list)), 4);
        QCOMPARE(f.column(u"ELEMENTI"_qs, u"LABELS"_qs),
                 (QStringList{QString(), QString(), u"-3"_qs, u"4"_qs}));
    }

    void printingWithoutLabelsSaysSoAndWritesNothing() {
        ShopFixture f;
        RecordingPrintService &printed = recordPrints(f);
        addListRow(f, u"8000010001013"_qs, u"GIACCA"_qs, 0);
        addListRow(f, u"8000030001017"_qs, u"PANTALONE"_qs, 5);
        db::Table list(f.db());
        list.setTableName(u"ELEMENTI"_qs);
        list.open();
        list.setFilter(LabelFilter::build(u"8000010001013"_qs, {}));
        list.setFiltered(true);
        f.prompter.expectError(LabelPrinting::noLabelsMessage);
        QCOMPARE(LabelPrinting(*f.shop).print(list, {}, sheet(5, 2)),
                 LabelPrinting::Outcome::NoLabels);
        QVERIFY(f.prompter.done());
        QVERIFY(printed.jobs().isEmpty());
        QVERIFY(!f.shop->ini().hasSection(u"BARCODE"_qs));
    }

    void cancellingTheStartingRowPrintsNothing() {
        ShopFixture f;
        RecordingPrintService &printed = recordPrints(f);
        addListRow(f, u"8000010001013"_qs, u"GIACCA"_qs, 3);
        db::Table list(f.db());
        list.setTableName(u"ELEMENTI"_qs);
        list.open();
        f.prompter.expectInput(u"Riga di partenza"_qs, u"(1-5)"_qs, std::nullopt, u"1"_qs);
        QCOMPARE(LabelPrinting(*f.shop).print(list, {}, sheet(5, 2)),
                 LabelPrinting::Outcome::Cancelled);
        QVERIFY(f.prompter.done());
        QVERIFY(printed.jobs().isEmpty());
        QVERIFY(!f.shop->ini().hasSection(u"BARCODE"_qs));
    }

    void sheetPrintingAsksTheStartAndKeepsTheLayout() {
        ShopFixture f;
        RecordingPrintService &printed = recordPrints(f);
        addListRow(f, u"8000010001013"_qs, u"GIACCA"_qs, 2);
        addListRow(f, u"8000030001017"_qs, u"PANTALONE"_qs, 1);
        db::Table list(f.db());
        list.setTableName(u"ELEMENTI"_qs);
        list.open();
        f.prompter.expectInput(u"Riga di partenza"_qs, u"(1-3)"_qs, u"3"_qs, u"1"_qs)
            .expectInput(u"Colonna di partenza"_qs, u"(1-2)"_qs, u"7"_qs, u"1"_qs);
        LabelLayout l = sheet(3, 2);
        l.topMargin = 20;
        QCOMPARE(LabelPrinting(*f.shop).print(list, {}, l), LabelPrinting::Outcome::Printed);
        QVERIFY(f.prompter.done());
        QCOMPARE(LabelLayout::read(f.shop->ini()), l);
        QCOMPARE(printed.jobs().size(), 1);
        const RecordingCanvas &canvas = *printed.jobs().first().canvas;
        QCOMPARE(canvas.pageCount(), 2);
        const CanvasItem *first = canvas.findText(u"MARCA - GIACCA"_qs);
        QVERIFY(first);
        QCOMPARE(first->page, 1);
        QCOMPARE(first->position.y(), 20 + 2 * (canvas.pageHeight() / 3));
        QVERIFY(canvas.findText(u"MARCA - PANTALONE"_qs, 2));
    }

    void labelPrinterAsksNoStart() {
        ShopFixture f;
        RecordingPrintService &printed = recordPrints(f);
        addListRow(f, u"8000010001013"_qs, u"GIACCA"_qs, 2);
        db::Table list(f.db());
        list.setTableName(u"ELEMENTI"_qs);
        list.open();
        LabelOptions o;
        o.labelPrinter = true;
        QCOMPARE(LabelPrinting(*f.shop).print(list, o, sheet(3, 2)),
                 LabelPrinting::Outcome::Printed);
        QCOMPARE(printed.jobs().size(), 1);
        QCOMPARE(printed.jobs().first().canvas->pageCount(), 2);
        QVERIFY(!f.shop->ini().hasSection(u"BARCODE"_qs));
    }

    void windowOptionsEnableEachOther() {
        ShopFixture f;
        TFLabels w(*f.shop);
        w.show();
        auto *only = child<QCheckBox>(w, "Stampa solo barcode");
        auto *price = child<QCheckBox>(w, "Stampa il prezzo");
        auto *discounted = child<QCheckBox>(w, "Prezzo scontato");
        QVERIFY(!only->isChecked() && price->isChecked() && !discounted->isChecked());
        QVERIFY(price->isEnabled() && discounted->isEnabled());
        only->click();
        QVERIFY(!price->isEnabled());
        QVERIFY(!discounted->isEnabled());
        only->click();
        QVERIFY(price->isEnabled() && discounted->isEnabled());
        price->click();
        QVERIFY(!discounted->isEnabled());
        only->click();
        only->click();
        QVERIFY(!discounted->isEnabled());
        price->click();
        QVERIFY(discounted->isEnabled());

        auto *labelPrinter = child<QCheckBox>(w, "Usa Etichettatrice");
        QVERIFY(!labelPrinter->isChecked());
        QVERIFY(child(w, "nrig")->isVisible());
        labelPrinter->click();
        for (const char *name : {"nrig", "ncol", "IRiga", "icol", "mdestro", "mtop"})
            QVERIFY(!child(w, name)->isVisible());
        labelPrinter->click();
        QVERIFY(child(w, "mtop")->isVisible());
        QVERIFY(w.options().labelPrinter == false);
        w.BUscitaClick();
    }

    void windowListSearchClearAndPrint() {
        ShopFixture f;
        RecordingPrintService &printed = recordPrints(f);
        const LabelLayout stored{4, 3, 0, 0, 10, 10};
        QVERIFY(stored.write(f.shop->ini()));
        addListRow(f, u"8000010001013"_qs, u"GIACCA"_qs, 2);
        addListRow(f, u"8000010001020"_qs, u"GIACCA"_qs, 1);
        addListRow(f, u"8000030001017"_qs, u"L'ABITO"_qs, 3, 80, 25);
        TFLabels w(*f.shop);
        w.show();
        QVERIFY(w.list().isOpen());
        QCOMPARE(child<QSpinBox>(w, "nrig")->value(), 4);
        QCOMPARE(child<QSpinBox>(w, "ncol")->value(), 3);
        QCOMPARE(w.model().rowCount(), 3);
        QCOMPARE(w.model().headerData(7, Qt::Horizontal).toString(), u"Q.tà"_qs);

        testing::type(w, "EDescrizione", u"l'ab"_qs);
        QCOMPARE(w.model().rowCount(), 1);
        testing::type(w, "EDescrizione", {});
        testing::type(w, "ECodice", u"8000010001020"_qs);
        QCOMPARE(w.model().rowCount(), 1);
        testing::type(w, "ECodice", u"800001"_qs);
        QCOMPARE(w.model().rowCount(), 2);
        QCOMPARE(testing::button(w, "Cancella")->toolTip(),
                 u"Cancella tutte le quantità inserite"_qs);
        testing::click(w, "Cancella");
        testing::type(w, "ECodice", {});
        QCOMPARE(w.model().rowCount(), 3);
        QCOMPARE(f.column(u"ELEMENTI"_qs, u"LABELS"_qs),
                 (QStringList{QString(), QString(), u"3"_qs}));

        // A count and a price corrected in the grid are what prints.
        QVERIFY(w.model().setData(w.model().index(0, 7), u"1"_qs));
        QVERIFY(w.model().setData(w.model().index(2, 5), u"90"_qs));
        child<QCheckBox>(w, "Prezzo scontato")->click();
        f.prompter.expectInput(u"Riga di partenza"_qs, u"(1-4)"_qs, u"1"_qs, u"1"_qs)
            .expectInput(u"Colonna di partenza"_qs, u"(1-3)"_qs, u"1"_qs, u"1"_qs);
        testing::click(w, "Stampa");
        QVERIFY(f.prompter.done());
        QCOMPARE(printed.jobs().size(), 1);
        const RecordingCanvas &canvas = *printed.jobs().first().canvas;
        QCOMPARE(canvas.textsContaining(u"MARCA - "_qs).size(), 4);
        QCOMPARE(canvas.textsContaining(euro + u"67,50"_qs).size(), 3);
        QCOMPARE(canvas.pageCount(), 1);
        QVERIFY(w.isEnabled());

        testing::click(w, "Uscita");
        QVERIFY(!w.isVisible());
        QVERIFY(!w.list().isOpen());
    }
};

QTEST_MAIN(TestTFLabels)
#include "tst_tflabels.moc"

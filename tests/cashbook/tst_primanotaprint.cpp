#include "cashbook/PrimaNota.h"
#include "cashbook/PrimaNotaExport.h"
#include "cashbook/PrimaNotaPrintout.h"
#include "common/ShopFixture.h"
#include "platform/Cp1252.h"
#include "printing/RecordingCanvas.h"

#include <QFile>
#include <QTest>

using namespace corvale;
using namespace corvale::cashbook;

namespace {

PrimaNotaContent sample(int movements) {
    PrimaNotaContent c;
    c.fromText = QStringLiteral("01/03/2026");
    c.toText = QStringLiteral("31/03/2026");
    c.carriedIn = {100, 50, 0, 0};
    c.carriedOut = {10, 0, 0, 5};
    PrimaNotaLine carried{{}, QStringLiteral("PARZIALI PRIMA DEL 01/03/2026"), carriedKey};
    carried.in = c.carriedIn;
    carried.out = c.carriedOut;
    c.lines << carried;
    for (int i = 0; i < movements; ++i) {
        PrimaNotaLine line{QStringLiteral("02/03/2026"), QStringLiteral("SPESA %1").arg(i + 1),
                           QStringLiteral("20260302")};
        line.out[3] = 1.5;
        c.periodOut[3] += 1.5;
        c.lines << line;
    }
    PrimaNotaLine sale{QStringLiteral("03/03/2026"), QStringLiteral("Incasso con Vendite al Banco"),
                       QStringLiteral("20260303")};
    sale.in[0] = 1234.5;
    sale.in[1] = 20;
    c.periodIn[0] = 1234.5;
    c.periodIn[1] = 20;
    c.lines << sale;
    PrimaNotaLine period{{}, QStringLiteral("PARZIALI DAL 01/03/2026 AL 31/03/2026"), periodKey};
    period.in = c.periodIn;
    period.out = c.periodOut;
    c.lines << period;
    return c;
}

} // namespace

class TestPrimaNotaPrint : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void onePageWithTitleColumnsAndBalances();
    void longBookRepeatsTheHeaderAndEndsWithThePeriodTotalsAtTheFoot();
    void registerDaysFollowOnPagesOfTheirOwn();
    void exportWritesTheLinesAndBalances();
    void exportThroughTheDialogIntoTheArchiveFolder();
};

void TestPrimaNotaPrint::onePageWithTitleColumnsAndBalances() {
    const PrimaNotaContent c = sample(2);
    RecordingCanvas canvas;
    PrimaNotaPrintout{QStringLiteral("CALZATURE ROSSI"), QStringLiteral("01234567890"), &c}.draw(
        canvas);
    QCOMPARE(canvas.pageCount(), 1);
    const CanvasItem *title = canvas.findText(
        QStringLiteral("PRIMA NOTA - DAL 01/03/2026 AL 31/03/2026 - CALZATURE ROSSI 01234567890"));
    QVERIFY(title);
    QCOMPARE(title->position, QPoint(60, 70));
    QVERIFY(title->font.bold);
    for (const char *head :
         {"CASSA", "BANCA", "VARIE", "DATA", "OPERAZIONE", "Versamenti", "Prelievi", "TOTALI"})
        QVERIFY2(canvas.findText(QString::fromLatin1(head)), head);
    // Amounts right-aligned 10 dots inside their columns: cash in is column 7.
    const int u = (canvas.pageWidth() - 100) / 13;
    const CanvasItem *amount = canvas.findText(QStringLiteral("1.234,50"));
    QVERIFY(amount);
    QCOMPARE(amount->rect.right() + 1, 50 + 8 * u - 10);
    // Zeros of dated lines are left blank; the other book is never printed.
    QCOMPARE(canvas.textsContaining(QStringLiteral("1,50")).size(), 2);
    // The period totals stand at the foot of the page.
    const CanvasItem *period =
        canvas.findText(QStringLiteral("PARZIALI DAL 01/03/2026 AL 31/03/2026"));
    QVERIFY(period);
    QVERIFY(period->position.y() > canvas.pageHeight() * 93 / 100 - 200);
    // Balances: cash 100 - 10 + 1234,50; bank 70; other -8.
    QVERIFY(canvas.findText(QStringLiteral("1.324,50")));
    QVERIFY(canvas.findText(QStringLiteral("70,00")));
    QVERIFY(canvas.findText(QStringLiteral("-8,00")));
}

void TestPrimaNotaPrint::longBookRepeatsTheHeaderAndEndsWithThePeriodTotalsAtTheFoot() {
    const PrimaNotaContent c = sample(300);
    RecordingCanvas canvas;
    PrimaNotaPrintout{QStringLiteral("NEGOZIO"), QStringLiteral("1"), &c}.draw(canvas);
    QVERIFY(canvas.pageCount() >= 3);
    const int last = canvas.pageCount();
    for (int page = 1; page <= last; ++page)
        QVERIFY(canvas.findText(QStringLiteral("OPERAZIONE"), page));
    QCOMPARE(canvas.textsContaining(QStringLiteral("PRIMA NOTA - DAL")).size(), 1);
    QVERIFY(canvas.findText(QStringLiteral("SPESA 300"), last) ||
            canvas.findText(QStringLiteral("SPESA 300"), last - 1));
    QVERIFY(canvas.findText(QStringLiteral("PARZIALI DAL 01/03/2026 AL 31/03/2026"), last));
    QVERIFY(canvas.findText(QStringLiteral("TOTALI"), last));
    // No line is drawn below the page's grid.
    const int bottom = canvas.pageHeight() * 93 / 100;
    for (const CanvasItem &item : canvas.items())
        if (item.kind == CanvasItem::Kind::Text && item.text.startsWith(QStringLiteral("SPESA")))
            QVERIFY(item.position.y() < bottom);
}

void TestPrimaNotaPrint::registerDaysFollowOnPagesOfTheirOwn() {
    PrimaNotaContent c = sample(2);
    const QDate first(2026, 1, 1);
    for (int i = 0; i < 200; ++i) {
        RegisterDay day;
        day.date = first.addDays(i).toString(QStringLiteral("dd/MM/yyyy"));
        day.takings = Money::fromCents(10000 + i);
        if (i % 3 != 2)
            day.registerTotal = Money::fromCents(i % 3 == 0 ? 10000 + i : 10000);
        c.registerDays << day;
    }
    // Without the check, or with no day to show, the book alone.
    for (const bool with : {false, true}) {
        PrimaNotaContent without = c;
        if (with)
            without.registerDays.clear();
        RecordingCanvas canvas;
        PrimaNotaPrintout{QStringLiteral("NEGOZIO"), QStringLiteral("1"), &without, with}.draw(
            canvas);
        QCOMPARE(canvas.pageCount(), 1);
        QVERIFY(canvas.textsContaining(QStringLiteral("CONFRONTO")).isEmpty());
    }
    RecordingCanvas canvas;
    PrimaNotaPrintout{QStringLiteral("NEGOZIO"), QStringLiteral("1"), &c, true}.draw(canvas);
    QVERIFY(canvas.pageCount() >= 3);
    QVERIFY(!canvas.findText(QStringLiteral("CONFRONTO CON IL REGISTRATORE TELEMATICO - DAL "
                                            "01/03/2026 AL 31/03/2026"),
                             1));
    QVERIFY(canvas.findText(QStringLiteral("CONFRONTO CON IL REGISTRATORE TELEMATICO - DAL "
                                           "01/03/2026 AL 31/03/2026"),
                            2));
    const int bottom = canvas.pageHeight() * 93 / 100;
    for (int page = 2; page <= canvas.pageCount(); ++page)
        for (const char *head : {"DATA", "INCASSI", "TOTALE RT", "DIFFERENZA"})
            QVERIFY2(canvas.findText(QString::fromLatin1(head), page), head);
    int dates = 0, reds = 0, dashes = 0;
    for (const CanvasItem &item : canvas.items()) {
        if (item.kind != CanvasItem::Kind::Text || item.page < 2)
            continue;
        QVERIFY(item.position.y() < bottom);
        dates += item.text.size() == 10 && item.text.endsWith(QStringLiteral("/2026"));
        dashes += item.text == QStringLiteral("—");
        if (item.font.color == QColor(Qt::red)) {
            ++reds;
            QVERIFY2(item.text.startsWith(u'-'), qPrintable(item.text));
        }
    }
    QCOMPARE(dates, 200);
    QCOMPARE(dashes, 66);
    // A third of the days match, a third have no closure, the rest differ.
    QCOMPARE(reds, 67);
    // The amounts stand right-aligned at the ends of their columns.
    const int u = (canvas.pageWidth() - 100) / 13;
    const CanvasItem *difference = canvas.findText(QStringLiteral("-1,99"));
    QVERIFY(difference);
    QCOMPARE(difference->rect.right() + 1, 50 + 8 * u - 10);
}

void TestPrimaNotaPrint::exportWritesTheLinesAndBalances() {
    const QStringList lines = PrimaNotaExport::lines(sample(1));
    QCOMPARE(lines[0], QStringLiteral("PRIMA NOTA - DAL 01/03/2026 AL 31/03/2026"));
    QCOMPARE(lines[1], QStringLiteral(" "));
    QVERIFY(lines[2].startsWith(QStringLiteral("DATA\tOPERAZIONE\tCASSA ENTRATE\t")));
    QCOMPARE(lines[3],
             QStringLiteral("\tPARZIALI PRIMA DEL 01/03/2026\t100,00\t10,00\t50,00\t0,00\t"
                            "0,00\t5,00\t"));
    QCOMPARE(lines[4], QStringLiteral("02/03/2026\tSPESA 1\t\t\t\t\t\t1,50\t"));
    QCOMPARE(lines[5], QStringLiteral("03/03/2026\tIncasso con Vendite al Banco\t1234,50\t\t20,00"
                                      "\t\t\t\t"));
    QCOMPARE(lines.last(), QStringLiteral("\tTOTALI\t1324,50\t\t70,00\t\t-6,50\t\t"));

    // With the register's check, its days follow the balances: a day the
    // register did not close has no total and no difference.
    PrimaNotaContent c = sample(1);
    QCOMPARE(PrimaNotaExport::lines(c, true), lines);
    RegisterDay closed{QStringLiteral("03/03/2026"), QStringLiteral("20260303"),
                       Money::fromCents(123450), Money::fromCents(123350), 1};
    RegisterDay open{QStringLiteral("04/03/2026"), QStringLiteral("20260304"),
                     Money::fromCents(5000), std::nullopt, 0};
    c.registerDays = {closed, open};
    QCOMPARE(PrimaNotaExport::lines(c), lines);
    const QStringList with = PrimaNotaExport::lines(c, true);
    QCOMPARE(with.mid(0, lines.size()), lines);
    QCOMPARE(
        with.mid(lines.size()),
        (QStringList{QStringLiteral(" "), QStringLiteral("DATA\tINCASSI\tTOTALE RT\tDIFFERENZA\t"),
                     QStringLiteral("03/03/2026\t1234,50\t1233,50\t-1,00\t"),
                     QStringLiteral("04/03/2026\t50,00\t\t\t")}));
}

void TestPrimaNotaPrint::exportThroughTheDialogIntoTheArchiveFolder() {
    ShopFixture f;
    PrimaNotaContent c = sample(1);
    c.lines[1].description = QStringLiteral("CAFFÈ €");
    const QString path = f.shop->folder().archivePath() + QStringLiteral("/PN150326.XLS");
    QCOMPARE(PrimaNotaExport::proposedName(f.clock.today()), QStringLiteral("PN150326.XLS"));
    f.prompter.expectSaveFile(path).expectInformation(
        QStringLiteral("Esportazione dati eseguita con successo."));
    QVERIFY(PrimaNotaExport::exportWithDialog(*f.shop, c));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.contains("CAFF\xC8 \x80\t"));
    QVERIFY(bytes.contains("31/03/2026\r\n \r\nDATA\t"));
    // Cancelling writes nothing; a file that cannot be created is reported.
    f.prompter.expectSaveFile(std::nullopt);
    QVERIFY(!PrimaNotaExport::exportWithDialog(*f.shop, c));
    const QString bad = f.dir.path() + QStringLiteral("/manca/PN.XLS");
    f.prompter.expectSaveFile(bad).expectError(QStringLiteral("ERRORE creazione file\r") + bad);
    QVERIFY(!PrimaNotaExport::exportWithDialog(*f.shop, c));
    QVERIFY(f.prompter.done());
}

QTEST_MAIN(TestPrimaNotaPrint)
#include "tst_primanotaprint.moc"

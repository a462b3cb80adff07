#include "documents/DocumentData.h"

#include "db/Table.h"
#include "documents/CodeLine.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"
#include "printing/RecordingCanvas.h"
#include "sales/InvoiceAddressee.h"
#include "sales/InvoiceAmounts.h"
#include "sales/InvoicePrintout.h"
#include "sales/InvoiceStore.h"
#include "shell/CommonRoutines.h"

#include <QTest>

using namespace corvale;

namespace {

SheetRow line(int article, const QString &description, const QString &colour, int position,
              QVariant quantity, double price, double discount = 0) {
    QVariantMap v{
        {sheet::CODICE, article},         {sheet::BARCODE, QString::number(800000 + article)},
        {sheet::DESCRIZION, description}, {sheet::MARCHIO, QStringLiteral("ROSSI")},
        {sheet::COLORE, colour},          {sheet::CTAGLIA, QString::number(37 + position)},
        {sheet::TAGLIA, position},        {sheet::TIPOTAGLIA, 1},
        {sheet::QUANTITA, quantity},      {sheet::PREZZO, price},
        {sheet::SCONTO, discount},        {sheet::IVA, 22.0}};
    const double q = quantity.toDouble();
    return SheetRow{v, q == 0 ? QVariant() : QVariant((1 - discount * 0.01) * price * q)};
}

void addCustomer(ShopFixture &f) {
    f.add(QStringLiteral("CLIENTI"), {{QStringLiteral("CODICE"), 5},
                                      {QStringLiteral("NOME"), QStringLiteral("BIANCHI ANNA")},
                                      {QStringLiteral("ADDRESS"), QStringLiteral("VIA ROMA 1")},
                                      {QStringLiteral("CAP"), 123},
                                      {QStringLiteral("CITTA"), QStringLiteral("LECCO")},
                                      {QStringLiteral("PIVACF"), QStringLiteral("01234567890")}});
}

// A stored sale of this year numbered `number`, with its registration number.
void addSale(ShopFixture &f, int numreg, int number, const QString &dateKey) {
    f.add(QStringLiteral("VENDITE"), {{QStringLiteral("NUMREG"), numreg},
                                      {QStringLiteral("NUMDOC"), number},
                                      {QStringLiteral("MYDATA"), dateKey},
                                      {QStringLiteral("TOTALE"), 10.0}});
}

QStringList headerRow(ShopFixture &f, qint64 key) {
    db::Table t(f.db());
    t.setTableName(QStringLiteral("FATTURE"));
    t.setIndexName(QStringLiteral("NUMREG"));
    t.open();
    if (!t.findKey(key))
        return {};
    QStringList out;
    for (const char *c :
         {"NUMREG", "NUMDOC", "DATADOC", "MYDATA", "RAGSOC", "NUMRAG", "TOTALE", "ISBANCA"})
        out << t.asString(QString::fromLatin1(c));
    return out;
}

// "DESCRIZION QUANTITA IMPORTO TIPO" of each stored line of `key`.
QStringList storedLines(ShopFixture &f, qint64 key) {
    db::Table t(f.db());
    t.setTableName(QStringLiteral("ARCART_V"));
    t.setIndexName(QStringLiteral("NUMVEN"));
    t.open();
    t.setRange(key, key);
    QStringList out;
    for (t.first(); !t.eof(); t.next())
        out << QStringLiteral("%1|%2|%3|%4|%5")
                   .arg(t.asString(QStringLiteral("DESCRIZION")),
                        t.asString(QStringLiteral("QUANTITA")),
                        t.asString(QStringLiteral("IMPORTO")), t.asString(QStringLiteral("TIPO")),
                        t.asDate(QStringLiteral("DATAREG")).toString(Qt::ISODate));
    return out;
}

InvoicePrintout printoutOf(const QList<SheetRow> &rows) {
    InvoicePrintout p;
    p.customer = QStringLiteral("BIANCHI ANNA");
    p.address = QStringLiteral("VIA ROMA 1");
    p.postcode = QStringLiteral("123");
    p.town = QStringLiteral("LECCO");
    p.vatNumber = QStringLiteral("01234567890");
    p.numberText = QStringLiteral("7");
    p.dateText = QStringLiteral("15/03/2026");
    p.noteText = QStringLiteral("PAGAMENTO CONTANTI");
    p.privacyText = QStringLiteral("DATI TRATTATI A NORMA DI LEGGE");
    p.rows = rows;
    p.amounts = InvoiceAmounts::of(rows, 22);
    return p;
}

} // namespace

class TestFattura : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void amountsFromTheTotal() {
        // Prices include VAT: the taxable amount comes out of the total.
        InvoiceAmounts a = InvoiceAmounts::fromTotal(122, 22);
        QCOMPARE(a.taxable, 100.0);
        QCOMPARE(a.tax, 22.0);
        QCOMPARE(a.total, 122.0);
        // Both halves of 10.01 end in half a cent: rounded apart they would
        // print 5,01 + 5,01 under a total of 10,01.
        a = InvoiceAmounts::fromTotal(10.01, 100);
        QCOMPARE(a.taxable + a.tax, 10.01);
        QCOMPARE(a.taxable, 5.01);
        QCOMPARE(a.tax, 5.0);
        a = InvoiceAmounts::fromTotal(59.9, 0);
        QCOMPARE(a.taxable, 59.9);
        QCOMPARE(a.tax, 0.0);
        // A rate that would divide by nothing leaves the whole total taxable.
        a = InvoiceAmounts::fromTotal(50, -100);
        QCOMPARE(a.taxable, 50.0);
        QCOMPARE(a.tax, 0.0);
    }

    void theTotalIsThePlainSumOfTheLineAmounts() {
        // 10 % off 50.00 is 45.00 a piece; no discount applies to the whole invoice.
        const QList<SheetRow> rows = {
            line(1, QStringLiteral("A"), QStringLiteral("ROSSO"), 1, 1.0, 50, 10),
            line(1, QStringLiteral("B"), QStringLiteral("ROSSO"), 2, 2.0, 50, 10),
            line(2, QStringLiteral("C"), QString(), 1, QVariant(), 30)};
        const InvoiceAmounts a = InvoiceAmounts::of(rows, 22);
        QCOMPARE(rows[0].amount.toDouble(), 45.0);
        QCOMPARE(a.total, 135.0);
        QCOMPARE(a.pieces, 3);
        QCOMPARE(a.taxable + a.tax, 135.0);
    }

    // The year's first invoice is number 1 whatever the sales of the year or
    // last year's invoices reached; its registration number follows the
    // counter the sales share.
    void yearlyNumbersApartFromSalesAndTheSharedCounter() {
        ShopFixture f;
        addDocumentData(f);
        addCustomer(f);
        addSale(f, 118, 57, QStringLiteral("20260310"));
        f.add(QStringLiteral("FATTURE"), {{QStringLiteral("NUMREG"), 119},
                                          {QStringLiteral("NUMDOC"), 30},
                                          {QStringLiteral("MYDATA"), QStringLiteral("20251231")}});
        f.shop->routines().SetCounter(QStringLiteral("VENDITE"), 119);

        InvoiceStore store(*f.shop);
        QVERIFY(store.begin(0));
        QCOMPARE(store.header().asInteger(QStringLiteral("NUMDOC")), 1);
        QCOMPARE(store.header().asDate(QStringLiteral("DATADOC")), QDate(2026, 3, 15));
        QCOMPARE(store.header().asBool(QStringLiteral("ISBANCA")), false);
        const qint64 first = store.save(
            0, {line(1, QStringLiteral("STIVALE CUOIO"), QStringLiteral("ROSSO"), 1, 1.0, 59.9)},
            QDate(2026, 3, 15), {5, QStringLiteral("BIANCHI ANNA")});
        QCOMPARE(first, 120);
        QCOMPARE(f.counter(QStringLiteral("VENDITE")), 120);
        store.close();

        QVERIFY(store.begin(0));
        QCOMPARE(store.header().asInteger(QStringLiteral("NUMDOC")), 2);
        store.cancel();
        store.close();
        // An abandoned invoice leaves nothing behind and takes no number.
        QCOMPARE(recordCount(f, QStringLiteral("FATTURE")), 2);
        QCOMPARE(f.counter(QStringLiteral("VENDITE")), 120);
        // The sales keep their own numbering.
        QCOMPARE(f.shop->routines().NextYearNumber(QStringLiteral("VENDITE")), 58);
        QVERIFY(!store.begin(999));
    }

    void savingWritesHeaderLinesAndStockAndSavingAgainReplacesThem() {
        ShopFixture f;
        addDocumentData(f);
        addCustomer(f);
        const QString longName = QStringLiteral("STIVALE CUOIO CON FIBBIA E CERNIERA LATERALE");
        InvoiceStore store(*f.shop);
        QVERIFY(store.begin(0));
        const qint64 key = store.save(
            0,
            {line(1, longName, QStringLiteral("ROSSO"), 1, 2.0, 50, 10),
             line(2, QStringLiteral("SANDALO"), QStringLiteral("BLU"), 3, QVariant(), 30)},
            QDate(2026, 3, 14), {5, QStringLiteral("BIANCHI ANNA")});
        store.close();
        QCOMPARE(
            headerRow(f, key),
            (QStringList{QString::number(key), QStringLiteral("1"), QStringLiteral("14/03/2026"),
                         QStringLiteral("20260314"), QStringLiteral("BIANCHI ANNA"),
                         QStringLiteral("5"), QStringLiteral("90"), QStringLiteral("False")}));
        // The stored description keeps its first 30 characters; a line without
        // a quantity is stored with no amount.
        QCOMPARE(storedLines(f, key),
                 (QStringList{longName.left(30) + QStringLiteral("|2|90|True|2026-03-14"),
                              QStringLiteral("SANDALO|||True|2026-03-14")}));
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), -2.0);

        // Saving the stored invoice again gives the old lines' stock back first.
        QVERIFY(store.begin(key));
        QCOMPARE(store.header().asInteger(QStringLiteral("NUMDOC")), 1);
        const qint64 again = store.save(
            key, {line(1, QStringLiteral("STIVALE CUOIO"), QStringLiteral("ROSSO"), 1, 1.0, 59.9)},
            QDate(2026, 3, 14), {5, QStringLiteral("BIANCHI ANNA")});
        store.close();
        QCOMPARE(again, key);
        QCOMPARE(storedLines(f, key).size(), 1);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), -1.0);
        QCOMPARE(recordCount(f, QStringLiteral("FATTURE")), 1);
    }

    void aCodeFillsTheRowAsTyped() {
        ShopFixture f;
        addDocumentData(f);
        LineSheet sheet(f.db(), DocumentKind::invoice());
        sheet.open();
        sheet.appendBlankRows(2);
        sheet.table().first();
        // Article 1, colour 2 (BLU), size position 3 (label 40), with its check digit.
        QVERIFY(!takeCodeLine(f.db(), sheet, QStringLiteral("8000011021034")));
        // The bare article code: size position 1, no colour; an article no
        // longer in use is still sold by its code.
        QVERIFY(!takeCodeLine(f.db(), sheet, QStringLiteral("800003")));
        QCOMPARE(takeCodeLine(f.db(), sheet, QStringLiteral("800009")),
                 QStringLiteral("Articolo inesistente!"));
        QCOMPARE(takeCodeLine(f.db(), sheet, QStringLiteral("80000")),
                 QStringLiteral("Articolo inesistente!"));
        QCOMPARE(takeCodeLine(f.db(), sheet, QStringLiteral("8000011021256")),
                 QStringLiteral("Taglia inesistente nel codice!"));
        // A misread digit could name another colour or size: nothing is sold.
        QCOMPARE(takeCodeLine(f.db(), sheet, QStringLiteral("8000011021035")),
                 QStringLiteral("Cifra di controllo errata: controllare il codice!"));
        const QList<SheetRow> rows = sheet.allLines();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].text(sheet::BARCODE), QStringLiteral("8000011021034"));
        QCOMPARE(rows[0].text(sheet::DESCRIZION), QStringLiteral("STIVALE CUOIO"));
        QCOMPARE(rows[0].text(sheet::COLORE), QStringLiteral("BLU"));
        QCOMPARE(rows[0].text(sheet::CTAGLIA), QStringLiteral("40"));
        QCOMPARE(rows[0].number(sheet::TAGLIA), 3.0);
        QCOMPARE(rows[0].number(sheet::QUANTITA), 1.0);
        QCOMPARE(rows[0].number(sheet::PREZZO), 59.9);
        QCOMPARE(rows[0].number(sheet::SCONTO), 5.0);
        QCOMPARE(rows[1].text(sheet::DESCRIZION), QStringLiteral("VECCHIO"));
        QCOMPARE(rows[1].text(sheet::COLORE), QString());
        QCOMPARE(rows[1].text(sheet::CTAGLIA), QStringLiteral("38"));
        // The sheet grew by a row when the last one was used.
        QCOMPARE(sheet.table().recordCount(), 3);
    }

    void theCustomersAddress() {
        ShopFixture f;
        addCustomer(f);
        const InvoiceAddressee a = InvoiceAddressee::load(f.db(), 5);
        QCOMPARE(a.address, QStringLiteral("VIA ROMA 1"));
        QCOMPARE(a.postcode, QStringLiteral("123"));
        QCOMPARE(a.town, QStringLiteral("LECCO"));
        QCOMPARE(a.vatNumber, QStringLiteral("01234567890"));
        QCOMPARE(InvoiceAddressee::load(f.db(), 6).address, QString());
    }

    void onePagePrintsTheBoxesAndTheAmounts() {
        ShopFixture f;
        RecordingCanvas canvas;
        const InvoicePrintout p = printoutOf(
            {line(1, QStringLiteral("STIVALE"), QStringLiteral("ROSSO"), 1, 1.0, 72),
             line(2, QStringLiteral("SANDALO"), QStringLiteral("BLU"), 2, 1.0, 50, 0),
             line(2, QStringLiteral("CINTURA"), QStringLiteral("BLU"), 2, 0.5, 0, 12.5)});
        p.draw(canvas, f.shop->routines());
        QCOMPARE(canvas.pageCount(), 1);
        for (const char *text : {"SPETT.LE",
                                 "BIANCHI ANNA",
                                 "VIA ROMA 1",
                                 "00123 LECCO",
                                 "TIPO DOCUMENTO",
                                 "NUMERO",
                                 "DATA",
                                 "PARTITA IVA o COD. FISCALE",
                                 "FATTURA",
                                 "7",
                                 "15/03/2026",
                                 "01234567890",
                                 "CODICE",
                                 "DESCRIZIONE ARTICOLO",
                                 "QUANTITA'",
                                 "PREZZO",
                                 "SCONTO %",
                                 "IMPORTO ",
                                 "STIVALE / ROSSI",
                                 "CAUSALE",
                                 "IMPONIBILE",
                                 "IMPOSTA",
                                 "TOTALE FATTURA (€)",
                                 "VENDITA",
                                 "100,00",
                                 "22,00",
                                 "122,00",
                                 "0,50",
                                 "12,5",
                                 "ANNOTAZIONI E VARIAZIONI",
                                 "PAGAMENTO CONTANTI",
                                 "DATI TRATTATI A NORMA DI LEGGE"})
            QVERIFY2(canvas.findText(QString::fromUtf8(text)), text);
        QVERIFY(canvas.textsContaining(QStringLiteral("SEGUE")).isEmpty());
        // The total is bold, in the last box, right-aligned 10 units inside it.
        const CanvasItem *total = canvas.findText(QStringLiteral("122,00"));
        QVERIFY(total->font.bold);
        const int Z = (canvas.pageWidth() - 100) / 10;
        QCOMPARE(total->rect.right() + 1, 10 * Z + 50 - 10);
        // A discount of 0 prints nothing in its column.
        QVERIFY(!canvas.findText(QStringLiteral("0")));
        // The box values stand in their boxes' value line, below the captions.
        QVERIFY(canvas.findText(QStringLiteral("FATTURA"))->position.y() >
                canvas.findText(QStringLiteral("TIPO DOCUMENTO"))->position.y());
    }

    void manyLinesRepeatTheHeadingAndSayFollowsOnEveryPageButTheLast() {
        ShopFixture f;
        QList<SheetRow> rows;
        for (int i = 1; i <= 120; ++i)
            rows << line(1, QStringLiteral("RIGA %1").arg(i), QStringLiteral("ROSSO"), 1, 1.0, 1);
        RecordingCanvas canvas;
        printoutOf(rows).draw(canvas, f.shop->routines());
        const int pages = canvas.pageCount();
        QVERIFY(pages >= 3);
        for (int page = 1; page <= pages; ++page) {
            for (const char *text : {"SPETT.LE", "BIANCHI ANNA", "TIPO DOCUMENTO", "FATTURA",
                                     "CODICE", "ANNOTAZIONI E VARIAZIONI"})
                QVERIFY2(canvas.findText(QString::fromUtf8(text), page), text);
            const bool last = page == pages;
            QCOMPARE(canvas.findText(QStringLiteral("SEGUE"), page) != nullptr, !last);
            QCOMPARE(canvas.findText(QStringLiteral("VENDITA"), page) != nullptr, last);
            // No line runs into the totals at 0.88 of the page.
            for (const CanvasItem &item : canvas.textsContaining(QStringLiteral("RIGA "), page))
                QVERIFY(item.rect.bottom() < int(0.88 * canvas.pageHeight()));
        }
        QVERIFY(canvas.findText(QStringLiteral("SEGUE"), 1)->font.bold);
        // Every line once, in order.
        QStringList printed;
        for (const CanvasItem &item : canvas.textsContaining(QStringLiteral("RIGA ")))
            printed << item.text;
        QCOMPARE(printed.size(), 120);
        QCOMPARE(printed.first(), QStringLiteral("RIGA 1 / ROSSI"));
        QCOMPARE(printed.last(), QStringLiteral("RIGA 120 / ROSSI"));
        QVERIFY(canvas.findText(QStringLiteral("120,00"), pages));
    }
};

QTEST_MAIN(TestFattura)
#include "tst_fattura.moc"

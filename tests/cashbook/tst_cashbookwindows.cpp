#include "cashbook/RegisterDaysModel.h"
#include "cashbook/TFInOut.h"
#include "cashbook/TFNotaM.h"
#include "cashbook/TFPrimaNota.h"
#include "common/ShopFixture.h"
#include "common/Widgets.h"
#include "db/FaultyFileSystem.h"
#include "printing/PrintService.h"
#include "register/RegisterSettings.h"
#include "sales/SaleColumns.h"
#include "widgets/TableModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace corvale;
using namespace corvale::cashbook;
using testing::button;
using testing::child;
using testing::click;

namespace {

// Acts on the modal dialog of type T once it is shown; it is closed afterwards
// whatever happened, so that a failed check cannot hang the test.
template <typename T, typename Action> void onDialog(Action action) {
    QTimer::singleShot(0, qApp, [action] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<T *>(w);
            if (!dialog || !dialog->isVisible())
                continue;
            action(*dialog);
            if (dialog->isVisible())
                dialog->reject();
            return;
        }
        qWarning("no dialog shown");
    });
}

void addSale(ShopFixture &f, const QDate &d, double total, bool bank) {
    f.add(counterSales,
          {{MYDATA, d.toString(QStringLiteral("yyyyMMdd"))}, {TOTALE, total}, {ISBANCA, bank}});
}

void addClosure(ShopFixture &f, const QDate &d, double total) {
    namespace s = saleColumns;
    f.add(s::closures,
          {{s::closureDateKey, d.toString(QStringLiteral("yyyyMMdd"))}, {s::closureTotal, total}});
}

QString cell(TableModel &m, int row, int column) {
    return m.data(m.index(row, column)).toString();
}

QString total(const QWidget &w, const char *name) {
    return child<QLabel>(w, name)->text();
}

// Types a movement into the entry dialog and saves it.
void fillEntry(TFInOut &d, const QString &date, const QString &amount, const QString &text) {
    child<QLineEdit>(d, "Data")->setText(date);
    child<QLineEdit>(d, "Importo")->setText(amount);
    child<QLineEdit>(d, "Descrizione")->setText(text);
    click(d, "Salva");
}

} // namespace

class TestCashBookWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensOnTheCurrentMonthWithBalances();
    void periodChangesRebuildAndRefusals();
    void bankBookReadsAsBankAndItsMovementsReachThePrimaNota();
    void entryDialogChecksAndCancel();
    void deleteAsksOnlyWhenThereIsSomething();
    void printsThroughThePrintService();
    void failedRebuildShowsNothingAndSaysSo();
    void registerCheckShowsTheDifferenceInRed();
    void registerCheckStartsOnWithATelematicRegister();
};

void TestCashBookWindows::opensOnTheCurrentMonthWithBalances() {
    ShopFixture f;
    addSale(f, QDate(2026, 2, 27), 100, false);
    addSale(f, QDate(2026, 3, 2), 30, false);
    addSale(f, QDate(2026, 3, 2), 20, true);
    TFPrimaNota w(*f.shop);
    w.resize(1000, 700);
    w.show();
    QCOMPARE(child<QDateEdit>(w, "DAL")->text(), QStringLiteral("01/03/2026"));
    QCOMPARE(child<QDateEdit>(w, "AL")->text(), QStringLiteral("15/03/2026"));
    TableModel &grid = w.grid();
    QCOMPARE(grid.rowCount(), 3);
    QCOMPARE(grid.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Versamenti"));
    QCOMPARE(cell(grid, 0, 1), QStringLiteral("PARZIALI PRIMA DEL 01/03/2026"));
    QCOMPARE(cell(grid, 1, 1), QStringLiteral("Incasso con Vendite al Banco"));
    QCOMPARE(cell(grid, 1, 2), QStringLiteral("30,00"));
    QCOMPARE(cell(grid, 1, 4), QStringLiteral("20,00"));
    QCOMPARE(total(w, "TotaleCassa"), QStringLiteral("130,00"));
    QCOMPARE(total(w, "TotaleBanca"), QStringLiteral("20,00"));
    QCOMPARE(total(w, "TotaleVarie"), QStringLiteral("0,00"));
    // "Operazione" takes the width the other columns leave.
    auto *view = child<QTableView>(w, "Grid");
    int others = 0;
    for (int c = 0; c < grid.columnCount(); ++c)
        others += c == 1 ? 0 : view->columnWidth(c);
    QCOMPARE(view->columnWidth(1), view->width() - 36 - others);
    QVERIFY(f.prompter.done());
}

void TestCashBookWindows::periodChangesRebuildAndRefusals() {
    ShopFixture f;
    addSale(f, QDate(2004, 5, 10), 10, false);
    TFPrimaNota w(*f.shop);
    w.show();
    auto *from = child<QDateEdit>(w, "DAL");
    auto *to = child<QDateEdit>(w, "AL");
    // "AL" before "DAL": "DAL" follows it.
    to->setDate(QDate(2007, 12, 31));
    QCOMPARE(from->text(), QStringLiteral("31/12/2007"));
    from->setDate(QDate(2004, 1, 1));
    QCOMPARE(w.grid().rowCount(), 3);
    // Five calendar years: refused, the lines stay.
    f.prompter.expectError(QStringLiteral("L'intervallo massimo è 4 anni"));
    to->setDate(QDate(2008, 1, 1));
    QCOMPARE(w.grid().rowCount(), 3);
    QCOMPARE(w.content().toText, QStringLiteral("31/12/2007"));
    // "DAL" after "AL" becomes "AL": a single day.
    to->setDate(QDate(2004, 5, 10));
    from->setDate(QDate(2004, 6, 1));
    QCOMPARE(from->text(), QStringLiteral("10/05/2004"));
    QCOMPARE(w.content().fromText, QStringLiteral("10/05/2004"));
    QCOMPARE(total(w, "TotaleCassa"), QStringLiteral("10,00"));
    QVERIFY(f.prompter.done());
}

void TestCashBookWindows::bankBookReadsAsBankAndItsMovementsReachThePrimaNota() {
    ShopFixture f;
    TFPrimaNota w(*f.shop);
    w.show();
    bool checked = false;
    onDialog<TFNotaM>([&](TFNotaM &book) {
        QCOMPARE(book.windowTitle(), QStringLiteral("BANCA"));
        QCOMPARE(button(book, "Entrata")->text(), QStringLiteral("&Versamento"));
        QCOMPARE(button(book, "Uscita")->text(), QStringLiteral("&Prelievo"));
        QCOMPARE(book.list().headerData(2, Qt::Horizontal).toString(),
                 QStringLiteral("Versamenti"));
        QCOMPARE(book.list().headerData(3, Qt::Horizontal).toString(), QStringLiteral("Prelievi"));
        QCOMPARE(child<QDateEdit>(book, "DAL")->text(), QStringLiteral("01/03/2026"));
        onDialog<TFInOut>([](TFInOut &d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Nuova Entrata"));
            fillEntry(d, QStringLiteral("10/03/2026"), QStringLiteral("1.500,25"),
                      QStringLiteral("VERSAMENTO INCASSI"));
        });
        click(book, "Entrata");
        // Dated before the period: stored, not listed.
        onDialog<TFInOut>([](TFInOut &d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Nuova Uscita"));
            fillEntry(d, QStringLiteral("28/02/2026"), QStringLiteral("200"),
                      QStringLiteral("COMMISSIONI"));
        });
        click(book, "Uscita");
        QCOMPARE(book.list().rowCount(), 1);
        QCOMPARE(cell(book.list(), 0, 2), QStringLiteral("1.500,25"));
        checked = true;
        click(book, "Esci");
    });
    click(w, "BANCA");
    QVERIFY(checked);
    QCOMPARE(f.column(QStringLiteral("BANK1"), DESCRIZION).size(), 2);
    QCOMPARE(w.grid().rowCount(), 3);
    QCOMPARE(cell(w.grid(), 0, 5), QStringLiteral("200,00"));
    QCOMPARE(total(w, "TotaleBanca"), QStringLiteral("1.300,25"));
    QVERIFY(f.prompter.done());
}

void TestCashBookWindows::entryDialogChecksAndCancel() {
    ShopFixture f;
    TFNotaM book(*f.shop);
    book.setBook(Book::Cash);
    book.setPeriod(QDate(2026, 3, 1), QDate(2026, 3, 31));
    book.show();
    onDialog<TFInOut>([&](TFInOut &d) {
        QCOMPARE(child<QLineEdit>(d, "Data")->text(), QStringLiteral("15/03/2026"));
        QCOMPARE(child<QLineEdit>(d, "Importo")->text(), QStringLiteral("0"));
        QVERIFY(!button(d, "Salva")->isEnabled());
        child<QLineEdit>(d, "Descrizione")->setText(QStringLiteral("X"));
        QVERIFY(button(d, "Salva")->isEnabled());
        f.prompter.expectError(QStringLiteral("Data non valida!"));
        child<QLineEdit>(d, "Data")->setText(QStringLiteral("31/02/2026"));
        click(d, "Salva");
        QVERIFY(d.isVisible());
        click(d, "Annulla");
    });
    click(book, "Entrata");
    QVERIFY(f.column(QStringLiteral("BANK0"), DATA).isEmpty());
    // A movement changed by a double click keeps its direction.
    onDialog<TFInOut>([](TFInOut &d) {
        fillEntry(d, QStringLiteral("05/03/2026"), QStringLiteral("12,5"), QStringLiteral("POSTA"));
    });
    click(book, "Uscita");
    onDialog<TFInOut>([](TFInOut &d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Modifica Uscita"));
        QCOMPARE(child<QLineEdit>(d, "Descrizione")->text(), QStringLiteral("POSTA"));
        fillEntry(d, QStringLiteral("06/03/2026"), QStringLiteral("13"),
                  QStringLiteral("POSTA RACCOMANDATA"));
    });
    auto *grid = child<QTableView>(book, "Grid");
    grid->setCurrentIndex(grid->model()->index(0, 0));
    Q_EMIT grid->doubleClicked(grid->currentIndex());
    QCOMPARE(f.column(QStringLiteral("BANK0"), MYDATA), QStringList{QStringLiteral("20260306")});
    QCOMPARE(f.column(QStringLiteral("BANK0"), IMPORTOU), QStringList{QStringLiteral("13")});
    QVERIFY(f.prompter.done());
}

void TestCashBookWindows::deleteAsksOnlyWhenThereIsSomething() {
    ShopFixture f;
    f.add(bookTable(Book::Other), {{DESCRIZION, QStringLiteral("AFFITTO")},
                                   {DATA, QStringLiteral("01/03/2026")},
                                   {MYDATA, QStringLiteral("20260301")},
                                   {IMPORTOU, 900}});
    TFNotaM book(*f.shop);
    book.setBook(Book::Other);
    book.setPeriod(QDate(2026, 4, 1), QDate(2026, 4, 30));
    book.show();
    click(book, "Elimina"); // empty list: no question
    book.setPeriod(QDate(2026, 3, 1), QDate(2026, 3, 31));
    QCOMPARE(book.list().rowCount(), 1);
    f.prompter.expectConfirm(QStringLiteral("Eliminare l'operazione selezionata?"), false);
    click(book, "Elimina");
    QCOMPARE(book.list().rowCount(), 1);
    f.prompter.expectConfirm(QStringLiteral("Eliminare l'operazione selezionata?"), true);
    click(book, "Elimina");
    QCOMPARE(book.list().rowCount(), 0);
    QVERIFY(f.column(QStringLiteral("BANK3"), DATA).isEmpty());
    QVERIFY(f.prompter.done());
}

void TestCashBookWindows::printsThroughThePrintService() {
    ShopFixture f;
    addSale(f, QDate(2026, 3, 2), 30, false);
    auto service = std::make_unique<RecordingPrintService>();
    RecordingPrintService &printed = *service;
    f.shop->setPrintService(std::move(service));
    TFPrimaNota w(*f.shop);
    w.show();
    click(w, "Stampa");
    QCOMPARE(printed.jobs().size(), 1);
    const RecordingCanvas &page = *printed.jobs().first().canvas;
    QVERIFY(!page.textsContaining(QStringLiteral("PRIMA NOTA - DAL 01/03/2026 AL 15/03/2026"))
                 .isEmpty());
    QVERIFY(page.findText(QStringLiteral("Incasso con Vendite al Banco")));
    QVERIFY(page.findText(QStringLiteral("30,00")));
}

void TestCashBookWindows::failedRebuildShowsNothingAndSaysSo() {
    db::test::FaultyFileSystem files;
    ShopFixture f(files);
    addSale(f, QDate(2026, 3, 2), 30, false);
    TFPrimaNota w(*f.shop);
    w.show();
    QCOMPARE(w.grid().rowCount(), 3);
    // The fault strikes while the new lines are written.
    files.arm(db::test::FaultyFileSystem::Fault::IoError, files.operations() + 3);
    f.prompter.expectError({});
    QVERIFY(!w.Rebuild());
    QVERIFY(f.prompter.transcript().last().contains(QStringLiteral("svuotata")));
    QCOMPARE(w.grid().rowCount(), 0);
    QCOMPARE(total(w, "TotaleCassa"), QStringLiteral("0,00"));
    QVERIFY(f.column(primaNota, DESCRIZION).isEmpty());
    // The next rebuild runs as ever, and the cursor was given back.
    QVERIFY(w.Rebuild());
    QCOMPARE(w.grid().rowCount(), 3);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(f.prompter.done());
}

void TestCashBookWindows::registerCheckShowsTheDifferenceInRed() {
    ShopFixture f;
    addSale(f, QDate(2026, 3, 2), 30, false);
    addSale(f, QDate(2026, 3, 2), 20, true);
    addClosure(f, QDate(2026, 3, 2), 50);
    addSale(f, QDate(2026, 3, 3), 100, false);
    addSale(f, QDate(2026, 3, 3), -10, false);
    addClosure(f, QDate(2026, 3, 3), 89.5);
    addSale(f, QDate(2026, 3, 4), 15, false);
    auto service = std::make_unique<RecordingPrintService>();
    RecordingPrintService &printed = *service;
    f.shop->setPrintService(std::move(service));
    TFPrimaNota w(*f.shop);
    w.resize(1000, 700);
    w.show();
    // No telematic register in Dati.ini: the check waits to be asked for.
    auto *compare = child<QCheckBox>(w, "ConfrontoRT");
    auto *grid = child<QTableView>(w, "GrigliaRT");
    QVERIFY(!compare->isChecked());
    QVERIFY(!grid->isVisible());
    QCOMPARE(w.grid().rowCount(), 5);
    compare->click();
    QVERIFY(grid->isVisible());
    RegisterDaysModel &days = w.registerDays();
    QCOMPARE(days.rowCount(), 3);
    auto text = [&](int row, int column) { return days.index(row, column).data().toString(); };
    auto red = [&](int row) {
        const QVariant brush =
            days.index(row, RegisterDaysModel::Difference).data(Qt::ForegroundRole);
        return brush.isValid() && brush.value<QBrush>().color() == QColor(Qt::red);
    };
    const QStringList expected[] = {{"02/03/2026", "50,00", "50,00", "0,00"},
                                    {"03/03/2026", "90,00", "89,50", "-0,50"},
                                    {"04/03/2026", "15,00", "—", ""}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < RegisterDaysModel::ColumnCount; ++column)
            QCOMPARE(text(row, column), expected[row][column]);
    QVERIFY(!red(0));
    QVERIFY(red(1));
    QVERIFY(!red(2));
    QCOMPARE(days.headerData(RegisterDaysModel::RegisterTotal, Qt::Horizontal).toString(),
             QStringLiteral("Totale RT"));
    // A new period rebuilds the check with the book.
    child<QDateEdit>(w, "AL")->setDate(QDate(2026, 3, 2));
    QCOMPARE(days.rowCount(), 1);
    child<QDateEdit>(w, "AL")->setDate(QDate(2026, 3, 15));

    // Printed after the book, the difference in red.
    click(w, "Stampa");
    const RecordingCanvas &page = *printed.jobs().last().canvas;
    QCOMPARE(page.pageCount(), 2);
    QVERIFY(
        page.findText(QStringLiteral("CONFRONTO CON IL REGISTRATORE TELEMATICO - DAL 01/03/2026 "
                                     "AL 15/03/2026"),
                      2));
    const CanvasItem *difference = page.findText(QStringLiteral("-0,50"), 2);
    QVERIFY(difference);
    QCOMPARE(difference->font.color, QColor(Qt::red));
    QCOMPARE(page.findText(QStringLiteral("0,00"), 2)->font.color, QColor(Qt::black));
    // Turned off: gone from the window and from the printout.
    compare->click();
    QVERIFY(!grid->isVisible());
    QCOMPARE(days.rowCount(), 0);
    click(w, "Stampa");
    QCOMPARE(printed.jobs().last().canvas->pageCount(), 1);
    QVERIFY(f.prompter.done());
}

void TestCashBookWindows::registerCheckStartsOnWithATelematicRegister() {
    for (const int brand : {RegisterSettings::epsonRtBrand, 8}) {
        ShopFixture f;
        f.shop->ini().writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"), brand);
        addClosure(f, QDate(2026, 3, 2), 50);
        TFPrimaNota w(*f.shop);
        w.show();
        const bool telematic = brand == RegisterSettings::epsonRtBrand;
        QCOMPARE(child<QCheckBox>(w, "ConfrontoRT")->isChecked(), telematic);
        QCOMPARE(child<QTableView>(w, "GrigliaRT")->isVisible(), telematic);
        QCOMPARE(w.registerDays().rowCount(), telematic ? 1 : 0);
        // What the user chose holds when the window is shown again.
        child<QCheckBox>(w, "ConfrontoRT")->click();
        w.hide();
        w.show();
        QCOMPARE(child<QCheckBox>(w, "ConfrontoRT")->isChecked(), !telematic);
    }
}

QTEST_MAIN(TestCashBookWindows)
#include "tst_cashbookwindows.moc"

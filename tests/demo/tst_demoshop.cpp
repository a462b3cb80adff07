// The demo shop is made through the documents' own logic, so it must hold
// together the way a shop kept by hand does: checked here on a fresh one.
#include "demo/DemoShop.h"
#include "demo/ShopFolder.h"

#include "cashbook/PrimaNota.h"
#include "catalogue/StockRoutines.h"
#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"
#include "documents/LineBarcode.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/ScriptedPrompter.h"
#include "sales/CustomerList.h"
#include "sales/PurchaseTotals.h"
#include "sales/einvoice/EInvoiceExport.h"
#include "sales/einvoice/SchemaValidator.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"

#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace corvale;

namespace {

const QDate today(2026, 12, 9);

using Cell = std::tuple<qint64, QString, qint64>; // article, colour, size position

void addMovements(db::Database &database, const QString &table, double sign,
                  QMap<Cell, double> &out) {
    db::Table t(database);
    t.setTableName(table);
    t.open();
    for (t.first(); !t.eof(); t.next()) {
        out[{t.asInteger(QStringLiteral("NUMART")), t.asString(QStringLiteral("COLORE")),
             t.asInteger(QStringLiteral("TAGLIA"))}] +=
            sign * t.asFloat(QStringLiteral("QUANTITA"));
    }
}

QMap<Cell, double> stockMatrix(db::Database &database) {
    QMap<Cell, double> matrix;
    db::Table stock(database);
    stock.setTableName(QStringLiteral("ARCARTTG"));
    stock.open();
    for (stock.first(); !stock.eof(); stock.next()) {
        for (int p = 1; p <= 20; ++p) {
            const double q = stock.asFloat(QStringLiteral("TG%1").arg(p));
            if (q != 0)
                matrix[{stock.asInteger(QStringLiteral("ARTCODE")),
                        stock.asString(QStringLiteral("COLORE")), p}] = q;
        }
    }
    return matrix;
}

qint64 highest(db::Database &database, const QString &table, const QString &field) {
    db::Table t(database);
    t.setTableName(table);
    t.open();
    qint64 best = 0;
    for (t.first(); !t.eof(); t.next())
        best = std::max(best, t.asInteger(field));
    return best;
}

int count(db::Database &database, const QString &table, const QString &filter = {}) {
    db::Table t(database);
    t.setTableName(table);
    t.open();
    if (!filter.isEmpty()) {
        t.setFilter(filter);
        t.setFiltered(true);
    }
    return t.recordCount();
}

} // namespace

class TestDemoShop : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<ProgramFolder> m_folder;
    Clock m_clock{today};
    ScriptedPrompter m_prompter;
    std::unique_ptr<Shop> m_shop;

    db::Database &database() { return m_shop->database(); }

private Q_SLOTS:
    void initTestCase() {
        m_folder = std::make_unique<ProgramFolder>(m_dir.path());
        makeShopFolder(*m_folder,
                       [](Shop &shop, Clock &clock) { DemoShop::fill(shop, clock, today); });
        m_shop = std::make_unique<Shop>(*m_folder, m_clock, m_prompter);
        m_shop->setTableLayouts(allTableLayouts());
        m_shop->openDatabase();
    }

    void holdsEveryKindOfDocumentOverTwoYears() {
        for (const char *table : {"CARICHI", "RESI", "ORDINI", "VENDITE", "FATTURE"}) {
            const QString t = QString::fromLatin1(table);
            for (int year : {today.year() - 1, today.year()}) {
                const QString filter = QStringLiteral("(MYDATA >= '%1') AND (MYDATA <= '%2')")
                                           .arg(QDate(year, 1, 1).toString("yyyyMMdd"),
                                                QDate(year, 12, 31).toString("yyyyMMdd"));
                QVERIFY2(count(database(), t, filter) > 0, qPrintable(t));
            }
        }
        QCOMPARE(count(database(), QStringLiteral("VENDITE"),
                       QStringLiteral("MYDATA > '%1'").arg(today.toString("yyyyMMdd"))),
                 0);
        // One order loaded into stock (it keeps its receipt's key), the rest open.
        QCOMPARE(count(database(), QStringLiteral("ORDINI"), QStringLiteral("NUMCAR > 0")), 1);
        QVERIFY(count(database(), QStringLiteral("ORDINI")) > 1);
        // Sales with a sale discount and with a loyalty card; lines with their own discount.
        QVERIFY(count(database(), QStringLiteral("VENDITE"), QStringLiteral("SCONTO > 0")) > 0);
        QVERIFY(count(database(), QStringLiteral("VENDITE"), QStringLiteral("NUMCLI > 0")) > 0);
        QVERIFY(count(database(), QStringLiteral("ARCART_V"), QStringLiteral("SCONTO > 0")) > 0);
        // Points cashed in by customers with a card, never beyond what they earned.
        {
            CustomerList customers(database());
            customers.activate(1);
            int rewarded = 0;
            db::Table t(database());
            t.setTableName(QStringLiteral("CLIENTI"));
            t.open();
            for (t.first(); !t.eof(); t.next()) {
                const qint64 used = t.asInteger(QStringLiteral("DECPUNTI"));
                if (used == 0)
                    continue;
                ++rewarded;
                QVERIFY(!t.asString(QStringLiteral("BARCODE")).trimmed().isEmpty());
                QVERIFY(PurchaseTotals::pointsBalance(
                            customers.totals().total(t.asInteger(QStringLiteral("CODICE"))), 1,
                            used) >= 0);
            }
            QVERIFY(rewarded > 0);
        }
        // Supplier payments and customer deposits; the cash, bank and other books.
        QVERIFY(count(database(), QStringLiteral("ACCONTI"), QStringLiteral("ISCLIENTE")) > 0);
        QVERIFY(count(database(), QStringLiteral("ACCONTI"), QStringLiteral("NOT ISCLIENTE")) > 0);
        for (const char *book : {"BANK0", "BANK1", "BANK3"})
            QVERIFY(count(database(), QString::fromLatin1(book)) > 0);
        // Every article has its photo.
        db::Table articles(database());
        articles.setTableName(QStringLiteral("ARTICOLI"));
        articles.open();
        for (articles.first(); !articles.eof(); articles.next())
            QVERIFY(articles.asBlob(QStringLiteral("FOTO")).startsWith("\xff\xd8"));
    }

    void stockMatrixIsWhatTheLinesLeave() {
        // Receipts (and the loaded order) add; sales, invoices and returns take away.
        QMap<Cell, double> expected;
        addMovements(database(), QStringLiteral("ARCART_A"), 1, expected);
        addMovements(database(), QStringLiteral("ARCART_V"), -1, expected);
        addMovements(database(), QStringLiteral("ARCART_R"), -1, expected);
        expected.removeIf([](const auto &it) { return it.value() == 0; });
        const QMap<Cell, double> matrix = stockMatrix(database());
        QVERIFY(!matrix.isEmpty());
        QCOMPARE(matrix, expected);

        StockRoutines(database()).RebuildStock();
        QCOMPARE(stockMatrix(database()), matrix);
    }

    void countersFollowTheRecords() {
        db::Table counters(database());
        counters.setTableName(QStringLiteral("COUNTERS"));
        counters.open();
        QCOMPARE(counters.recordCount(), 1);
        counters.first();
        QCOMPARE(counters.asInteger(QStringLiteral("ARTICOLI")),
                 highest(database(), QStringLiteral("ARTICOLI"), QStringLiteral("NUMREG")));
        // Sales and invoices share one counter; receipts, returns and orders another.
        QCOMPARE(
            counters.asInteger(QStringLiteral("VENDITE")),
            std::max(highest(database(), QStringLiteral("VENDITE"), QStringLiteral("NUMREG")),
                     highest(database(), QStringLiteral("FATTURE"), QStringLiteral("NUMREG"))));
        qint64 purchases = 0;
        for (const char *t : {"CARICHI", "RESI", "ORDINI"})
            purchases = std::max(
                purchases, highest(database(), QString::fromLatin1(t), QStringLiteral("NUMREG")));
        QCOMPARE(counters.asInteger(QStringLiteral("ACQUISTI")), purchases);
        QCOMPARE(counters.asInteger(QStringLiteral("CLIENTI")),
                 highest(database(), QStringLiteral("CLIENTI"), QStringLiteral("CODICE")));
        QCOMPARE(counters.asInteger(QStringLiteral("TAGLIE")),
                 highest(database(), QStringLiteral("TAGLIE"), QStringLiteral("NUMREG")));
        QCOMPARE(counters.asInteger(QStringLiteral("COUNTER")),
                 highest(database(), QStringLiteral("TIPOLOGI"), QStringLiteral("NUMREG")));
        QCOMPARE(counters.asInteger(QStringLiteral("ACCONTI")),
                 highest(database(), QStringLiteral("ACCONTI"), QStringLiteral("NUMREG")));
    }

    void yearlyNumbersRestartEachYear() {
        for (const char *table : {"CARICHI", "RESI", "ORDINI", "VENDITE", "FATTURE"}) {
            db::Table t(database());
            t.setTableName(QString::fromLatin1(table));
            t.setIndexName(QStringLiteral("NUMREG"));
            t.open();
            QMap<int, int> last; // year -> last number
            for (t.first(); !t.eof(); t.next()) {
                const int year = t.asDate(QStringLiteral("DATADOC")).year();
                const int number = int(t.asInteger(QStringLiteral("NUMDOC")));
                QVERIFY2(number == last.value(year) + 1,
                         qPrintable(QStringLiteral("%1 %2/%3").arg(table).arg(number).arg(year)));
                last[year] = number;
            }
            QCOMPARE(last.size(), 2);
        }
    }

    void everyLineBarcodeIsItsArticleColourAndSize() {
        QMap<QString, qint64> colours;
        {
            db::Table t(database());
            t.setTableName(QStringLiteral("COLORI"));
            t.open();
            for (t.first(); !t.eof(); t.next())
                colours.insert(t.asString(QStringLiteral("COLORE")),
                               t.asInteger(QStringLiteral("NUMREG")));
        }
        QMap<qint64, QString> codes;
        {
            db::Table t(database());
            t.setTableName(QStringLiteral("ARTICOLI"));
            t.open();
            for (t.first(); !t.eof(); t.next())
                codes.insert(t.asInteger(QStringLiteral("NUMREG")),
                             t.asString(QStringLiteral("BARCODE")));
        }
        for (const char *table : {"ARCART_A", "ARCART_R", "ARCART_O", "ARCART_V"}) {
            db::Table t(database());
            t.setTableName(QString::fromLatin1(table));
            t.open();
            int lines = 0;
            for (t.first(); !t.eof(); t.next(), ++lines) {
                const QString code = t.asString(QStringLiteral("BARCODE"));
                // The check digit by hand, not by the routine under test.
                QCOMPARE(code.size(), 13);
                int sum = 0;
                for (int i = 0; i < 13; ++i)
                    sum += (code[i].unicode() - '0') * (i % 2 ? 3 : 1);
                QCOMPARE(sum % 10, 0);
                const auto parts = readLineBarcode(code);
                QVERIFY2(parts, qPrintable(code));
                QCOMPARE(parts->articlePrefix,
                         codes.value(t.asInteger(QStringLiteral("NUMART"))).left(6));
                QCOMPARE(parts->colourNumber, colours.value(t.asString(QStringLiteral("COLORE"))));
                QCOMPARE(qint64(parts->position), t.asInteger(QStringLiteral("TAGLIA")));
            }
            QVERIFY2(lines > 0, table);
        }
    }

    void primaNotaBalances() {
        PrimaNota book(database());
        // Four years at most: the whole life of the shop fits.
        QString from = QDate(today.year() - 1, 1, 1).toString(QStringLiteral("dd/MM/yyyy"));
        const QString to = today.toString(QStringLiteral("dd/MM/yyyy"));
        QCOMPARE(PrimaNota::checkPeriod(from, to), PrimaNota::Period::Valid);
        const PrimaNotaContent content = book.gather(from, to);
        BookAmounts in{}, out{};
        int dated = 0;
        for (const PrimaNotaLine &line : content.lines) {
            if (line.date.isEmpty())
                continue;
            ++dated;
            for (int k = 0; k < cashbook::bookCount; ++k) {
                in[size_t(k)] += line.in[size_t(k)];
                out[size_t(k)] += line.out[size_t(k)];
            }
        }
        QVERIFY(dated > 0);
        for (int k = 0; k < cashbook::bookCount; ++k) {
            // Nothing happened before the shop opened.
            QCOMPARE(content.carriedIn[size_t(k)], 0.0);
            QCOMPARE(content.carriedOut[size_t(k)], 0.0);
            QVERIFY(qAbs(in[size_t(k)] - content.periodIn[size_t(k)]) < 0.005);
            QVERIFY(qAbs(out[size_t(k)] - content.periodOut[size_t(k)]) < 0.005);
            QVERIFY(qAbs(content.balance(cashbook::Book(k)) -
                         (content.periodIn[size_t(k)] - content.periodOut[size_t(k)])) < 0.005);
        }
        // The takings reached the cash book and the bank.
        QVERIFY(content.periodIn[0] > 0);
        QVERIFY(content.periodIn[1] > 0);

        // Half a year ago: the carried totals are what the earlier months left.
        QString mid = QDate(today.year(), 7, 1).toString(QStringLiteral("dd/MM/yyyy"));
        QCOMPARE(PrimaNota::checkPeriod(mid, to), PrimaNota::Period::Valid);
        const PrimaNotaContent later = book.gather(mid, to);
        for (int k = 0; k < cashbook::bookCount; ++k)
            QVERIFY(qAbs(later.balance(cashbook::Book(k)) - content.balance(cashbook::Book(k))) <
                    0.005);
        book.write(later);
        QVERIFY(count(database(), QStringLiteral("PRIMANOT")) > 0);
    }

    void aSecondRunLeavesTheShopAlone() {
        const QString marker = QDir(m_folder->dataPath()).filePath(QStringLiteral("VENDITE.DBF"));
        const QDateTime before = QFileInfo(marker).lastModified();
        bool called = false;
        m_shop->database().close();
        bool refused = false;
        try {
            makeShopFolder(*m_folder, [&](Shop &, Clock &) { called = true; });
        } catch (const db::Error &) {
            refused = true;
        }
        QVERIFY(refused);
        QVERIFY(!called);
        QCOMPARE(QFileInfo(marker).lastModified(), before);
        m_shop->openDatabase();
    }

    // Last: it marks the invoices as written.
    void everyInvoiceAndCreditNoteMakesAValidFile() {
        QTemporaryDir out;
        EInvoiceExport writer(database(), out.path());
        const auto outcomes = writer.writePeriod(QDate(today.year() - 1, 1, 1), today);
        QVERIFY(outcomes.size() > 20);
        int creditNotes = 0;
        SchemaValidator validator;
        for (const EInvoiceExport::Outcome &o : outcomes) {
            QVERIFY2(o.written, qPrintable(o.number + u' ' + o.problems.join(u'\n')));
            QFile file(o.path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray xml = file.readAll();
            QCOMPARE(validator.validate(xml), QStringList());
            if (xml.contains("<TipoDocumento>TD04</TipoDocumento>")) {
                ++creditNotes;
                QVERIFY(xml.contains("<DatiFattureCollegate>"));
            }
        }
        QVERIFY(creditNotes > 0);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), outcomes.size());
    }
};

QTEST_MAIN(TestDemoShop)
#include "tst_demoshop.moc"

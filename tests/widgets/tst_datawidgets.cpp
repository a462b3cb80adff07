#include "db/Database.h"
#include "db/Table.h"
#include "widgets/FieldBinding.h"
#include "widgets/LookupCombo.h"
#include "widgets/TableModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace corvale;

namespace {

struct Fixture {
    QTemporaryDir dir;
    db::Database database;
    db::Table table{database};

    Fixture() {
        database.open(dir.path());
        database.createTable(QStringLiteral("ARTICOLI.DBF"),
                             {db::FieldDef::number(QStringLiteral("NUMREG"), 10),
                              db::FieldDef::text(QStringLiteral("DESCRIZION"), 30),
                              db::FieldDef::number(QStringLiteral("PREZZOVND"), 15, 5),
                              db::FieldDef::logical(QStringLiteral("INUSO")),
                              db::FieldDef::date(QStringLiteral("DATAACQ"))},
                             {QStringLiteral("NUMREG"), QStringLiteral("DESCRIZION")});
        table.setTableName(QStringLiteral("articoli"));
        table.open();
        const QList<std::tuple<int, const char *, double>> rows{
            {3, "MAGLIA", 19.9}, {1, "GONNA", 1234.5}, {2, "SCARPA", 0}};
        for (const auto &[n, d, p] : rows) {
            table.append();
            table.setInteger(QStringLiteral("NUMREG"), n);
            table.setString(QStringLiteral("DESCRIZION"), QString::fromLatin1(d));
            if (p != 0)
                table.setFloat(QStringLiteral("PREZZOVND"), p);
            table.setBool(QStringLiteral("INUSO"), n != 2);
            table.post();
        }
    }
};

} // namespace

class TestDataWidgets : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modelFollowsTagFilterAndFormats() {
        Fixture f;
        TableModel model(f.table);
        model.addColumn(QStringLiteral("DESCRIZION"), QStringLiteral("Articolo"));
        const int price = model.addColumn(QStringLiteral("PREZZOVND"), QStringLiteral("Prezzo"),
                                          QStringLiteral(",0.00"));
        f.table.setIndexName(QStringLiteral("DESCRIZION"));
        model.reload();
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("GONNA"));
        QCOMPARE(model.index(0, price).data().toString(), QStringLiteral("1.234,50"));
        QCOMPARE(model.index(2, price).data().toString(), QString()); // empty cell stays empty
        QCOMPARE(model.headerData(price, Qt::Horizontal).toString(), QStringLiteral("Prezzo"));

        f.table.setFilter(QStringLiteral("INUSO"));
        f.table.setFiltered(true);
        model.reload();
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("MAGLIA"));

        // The handle's current record is the grid's current row.
        model.setCurrentRow(1);
        QCOMPARE(f.table.asString(QStringLiteral("DESCRIZION")), QStringLiteral("MAGLIA"));
        QCOMPARE(model.currentRow(), 1);
        // Reading other rows leaves the handle where it was.
        model.refreshRow(0);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("GONNA"));
        QCOMPARE(f.table.asString(QStringLiteral("DESCRIZION")), QStringLiteral("MAGLIA"));
    }

    void modelEditsRecords() {
        Fixture f;
        TableModel model(f.table);
        const int price = model.addColumn(QStringLiteral("PREZZOVND"), QStringLiteral("Prezzo"),
                                          QStringLiteral(",0.00"));
        model.setColumnEditable(price, true);
        f.table.setIndexName(QStringLiteral("NUMREG"));
        model.reload();
        QVERIFY(model.flags(model.index(0, price)) & Qt::ItemIsEditable);
        QVERIFY(model.setData(model.index(0, price), QStringLiteral("1.250,75")));
        QCOMPARE(model.index(0, price).data().toString(), QStringLiteral("1.250,75"));
        f.table.first();
        QCOMPARE(f.table.asFloat(QStringLiteral("PREZZOVND")), 1250.75);
        QVERIFY(!model.setData(model.index(0, price), QStringLiteral("abc")));
        QCOMPARE(f.table.asFloat(QStringLiteral("PREZZOVND")), 1250.75);
        QCOMPARE(f.table.state(), db::Table::State::Browse);
        QVERIFY(model.setData(model.index(1, price), QString()));
        f.table.setIndexName(QStringLiteral("NUMREG"));
        QVERIFY(f.table.findKey(2));
        QVERIFY(f.table.isNull(QStringLiteral("PREZZOVND")));
    }

    void bindingShowsAndWrites() {
        Fixture f;
        QLineEdit description, price, date;
        QCheckBox inUse;
        FieldBinding binding(f.table);
        binding.bind(&description, QStringLiteral("DESCRIZION"));
        binding.bind(&price, QStringLiteral("PREZZOVND"), QStringLiteral(",0.00"));
        binding.bind(&inUse, QStringLiteral("INUSO"));
        binding.bind(&date, QStringLiteral("DATAACQ"));
        QCOMPARE(description.maxLength(), 30);
        f.table.setIndexName(QStringLiteral("NUMREG"));
        f.table.first();
        QSignalSpy changed(&binding, &FieldBinding::fieldChanged);
        binding.load();
        QCOMPARE(description.text(), QStringLiteral("GONNA"));
        QCOMPARE(price.text(), QStringLiteral("1.234,50"));
        QVERIFY(inUse.isChecked());
        QCOMPARE(changed.count(), 0); // filling writes nothing
        QCOMPARE(f.table.state(), db::Table::State::Browse);

        // A user change puts the record in edit mode and writes the field.
        description.setFocus();
        description.selectAll();
        QTest::keyClicks(&description, QStringLiteral("GONNA LUNGA"));
        QCOMPARE(f.table.state(), db::Table::State::Edit);
        QCOMPARE(f.table.asString(QStringLiteral("DESCRIZION")), QStringLiteral("GONNA LUNGA"));
        inUse.setChecked(false);
        QVERIFY(!f.table.asBool(QStringLiteral("INUSO")));
        price.setText(QStringLiteral("99,90"));
        date.setText(QStringLiteral("05/03/2026"));
        QVERIFY(binding.store());
        f.table.post();
        f.table.first();
        QCOMPARE(f.table.asFloat(QStringLiteral("PREZZOVND")), 99.9);
        QCOMPARE(f.table.asDate(QStringLiteral("DATAACQ")), QDate(2026, 3, 5));
        QVERIFY(changed.count() >= 2);

        QSignalSpy failed(&binding, &FieldBinding::writeFailed);
        f.table.edit();
        price.setText(QStringLiteral("dieci"));
        QVERIFY(!binding.store());
        QCOMPARE(failed.count(), 1);
        f.table.cancel();
    }

    void lookupShowsOneFieldStoresAnother() {
        Fixture f;
        f.table.setIndexName(QStringLiteral("DESCRIZION"));
        f.table.last();
        LookupCombo combo;
        combo.fill(f.table, QStringLiteral("DESCRIZION"), QStringLiteral("NUMREG"), true);
        QCOMPARE(combo.count(), 4);
        QCOMPARE(combo.itemText(1), QStringLiteral("GONNA"));
        QCOMPARE(f.table.asString(QStringLiteral("DESCRIZION")), QStringLiteral("SCARPA"));
        combo.setCurrentKey(3);
        QCOMPARE(combo.currentText(), QStringLiteral("MAGLIA"));
        QCOMPARE(combo.currentKey().toInt(), 3);
        combo.setCurrentKey(QVariant());
        QCOMPARE(combo.currentIndex(), 0);
        combo.setCurrentKey(99);
        QCOMPARE(combo.currentIndex(), -1);
    }
};

QTEST_MAIN(TestDataWidgets)
#include "tst_datawidgets.moc"

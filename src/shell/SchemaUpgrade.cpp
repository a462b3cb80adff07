#include "shell/SchemaUpgrade.h"

#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"
#include "platform/Money.h"
#include "shell/DataFolderSetup.h"

#include <QSet>

#include <QRegularExpression>

namespace corvale {

namespace {

QStringList numbered(const QString &pattern, int from, int to) {
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << pattern.arg(i);
    return out;
}

const QRegularExpression &alterPattern() {
    static const QRegularExpression re(
        QStringLiteral("^\\s*ALTER\\s+TABLE\\s+\"([^\"]+)\"\\s*(.*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return re;
}

const QRegularExpression &indexPattern() {
    static const QRegularExpression re(
        QStringLiteral(
            "^\\s*CREATE\\s+INDEX\\s+(\\w+)\\s+ON\\s+\"([^\"]+)\"\\s*\\(\\s*(\\w+)\\s*\\)"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

QString statementTable(const QString &statement) {
    auto m = alterPattern().match(statement);
    if (m.hasMatch())
        return m.captured(1);
    m = indexPattern().match(statement);
    return m.hasMatch() ? m.captured(2) : QString();
}

bool sameTable(const QString &a, const QString &b) {
    auto base = [](QString s) {
        if (s.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive))
            s.chop(4);
        return s.toUpper();
    };
    return base(a) == base(b);
}

} // namespace

SchemaUpgrade::SchemaUpgrade(db::Database &database)
    : m_db(database) {}

QString SchemaUpgrade::alterStatement(const QString &table, const QStringList &clauses) {
    QStringList lines{QStringLiteral("ALTER TABLE \"%1\"").arg(table)};
    for (int i = 0; i < clauses.size(); ++i)
        lines << QStringLiteral("ADD ") + clauses[i] +
                     (i + 1 < clauses.size() ? QStringLiteral(",") : QString());
    return lines.join(u'\n');
}

QString SchemaUpgrade::createIndexStatement(const QString &tag, const QString &table,
                                            const QString &column) {
    return QStringLiteral("CREATE INDEX %1 ON \"%2\" (%3)").arg(tag, table, column);
}

bool SchemaUpgrade::probe(const QString &table, const QString &column) {
    ++m_probes;
    db::Table t(m_db);
    t.setTableName(table);
    t.open(); // a missing table stops the list here, in the engine's words
    const bool present = t.hasField(column);
    t.close();
    return present;
}

QString SchemaUpgrade::remainder(const QString &statement) const {
    const QString table = statementTable(statement);
    if (table.isEmpty() || !m_db.tableExists(table))
        return statement; // let the engine report it
    db::Table t(m_db);
    t.setTableName(table);
    t.open();
    auto m = indexPattern().match(statement);
    if (m.hasMatch()) {
        const bool exists = t.indexNames().contains(m.captured(1), Qt::CaseInsensitive);
        return exists ? QString() : statement;
    }
    m = alterPattern().match(statement);
    QStringList kept;
    const QStringList lines = m.captured(2).split(u'\n', Qt::SkipEmptyParts);
    for (QString line : lines) {
        line = line.trimmed();
        if (line.endsWith(u','))
            line.chop(1);
        const QString column = line.section(u' ', 1, 1);
        if (!t.hasField(column))
            kept << line.mid(4); // without "ADD "
    }
    return kept.isEmpty() ? QString() : alterStatement(table, kept);
}

void SchemaUpgrade::execute(const QString &statement) {
    const QString todo = remainder(statement);
    if (todo.isEmpty())
        return;
    m_executed << todo;
    m_db.executeSql(todo);
}

void SchemaUpgrade::forEachRecord(const QString &table,
                                  const std::function<void(db::Table &)> &set) {
    db::Table t(m_db);
    t.setTableName(table);
    t.open();
    t.first();
    while (!t.eof()) {
        t.edit();
        set(t);
        t.post();
        t.next();
    }
    t.close();
}

bool SchemaUpgrade::runStep(const Step &step) {
    if (probe(step.probeTable, step.probeColumn))
        return true;
    QStringList own, others;
    for (const QString &s : step.statements)
        (sameTable(statementTable(s), step.probeTable) ? own : others) << s;
    for (const QString &s : others + own)
        execute(s);
    if (step.dataFix)
        step.dataFix();
    return false;
}

bool SchemaUpgrade::runList(const std::function<void()> &list) {
    m_error.clear();
    try {
        list();
        return true;
    } catch (const db::Error &e) {
        m_error = e.message();
        return false;
    }
}

bool SchemaUpgrade::runFirstList() {
    return runList([this] {
        const QStringList lineClauses{QStringLiteral("MARCHIO CHARACTER(20)"),
                                      QStringLiteral("PRZVND NUMERIC(15,5)")};
        runStep(
            {QStringLiteral("CONFIG.DBF"),
             QStringLiteral("ISLOGO"),
             {alterStatement(QStringLiteral("CONFIG.dbf"), {QStringLiteral("ISLOGO BOOLEAN"),
                                                            QStringLiteral("LOGO BLOB(10000)")})},
             {}});
        runStep({QStringLiteral("ARTICOLI.DBF"),
                 QStringLiteral("RICARICO"),
                 {alterStatement(QStringLiteral("ARTICOLI.dbf"),
                                 {QStringLiteral("RICARICO NUMERIC(10,5)")})},
                 {}});
        runStep({QStringLiteral("ARTICOLI.DBF"),
                 QStringLiteral("ANNO"),
                 {alterStatement(QStringLiteral("ARTICOLI.dbf"),
                                 {QStringLiteral("ANNO NUMERIC(4,0)")})},
                 {}});
        if (runStep(
                {QStringLiteral("ELEMENTI.DBF"),
                 QStringLiteral("PRZVND"),
                 {alterStatement(QStringLiteral("ELEMENTI.dbf"),
                                 lineClauses + QStringList{QStringLiteral("LABELS NUMERIC(5,0)")}),
                  alterStatement(QStringLiteral("ARCART_A.dbf"), lineClauses),
                  alterStatement(QStringLiteral("ARCART_R.dbf"), lineClauses),
                  alterStatement(QStringLiteral("ARCART_V.dbf"), lineClauses)},
                 {}}))
            return;
        if (runStep({QStringLiteral("TAGLIE.DBF"),
                     QStringLiteral("TG15"),
                     {alterStatement(QStringLiteral("TAGLIE.dbf"),
                                     numbered(QStringLiteral("TG%1 CHARACTER(10)"), 15, 20)),
                      alterStatement(QStringLiteral("ARCARTTG.dbf"),
                                     numbered(QStringLiteral("TG%1 NUMERIC(6,0)"), 16, 20)),
                      alterStatement(QStringLiteral("CARICO_I.dbf"),
                                     numbered(QStringLiteral("TG%1 NUMERIC(6,0)"), 16, 20))},
                     {}}))
            return;
        runStep({QStringLiteral("VENDITE.DBF"),
                 QStringLiteral("TIPO"),
                 {alterStatement(QStringLiteral("VENDITE.dbf"), {QStringLiteral("TIPO BOOLEAN")}),
                  alterStatement(QStringLiteral("ARCART_V.dbf"), {QStringLiteral("TIPO BOOLEAN")}),
                  alterStatement(QStringLiteral("ARTICOLI.dbf"),
                                 {QStringLiteral("STAGIONE CHARACTER(18)")})},
                 [this] {
                     auto tipo = [](db::Table &t) { t.setBool(QStringLiteral("TIPO"), true); };
                     forEachRecord(QStringLiteral("VENDITE.DBF"), tipo);
                     forEachRecord(QStringLiteral("ARCART_V.DBF"), tipo);
                     forEachRecord(QStringLiteral("ARTICOLI.DBF"), [](db::Table &t) {
                         t.setString(QStringLiteral("STAGIONE"),
                                     QStringLiteral("Quattro Stagioni"));
                     });
                 }});
    });
}

bool SchemaUpgrade::runSecondList() {
    return runList([this] {
        const QString scovnd = QStringLiteral("SCOVND NUMERIC(6,2)");
        runStep({QStringLiteral("ARCART_A.dbf"),
                 QStringLiteral("SCOVND"),
                 {alterStatement(QStringLiteral("ARCART_A.dbf"), {scovnd}),
                  alterStatement(QStringLiteral("ARCART_R.dbf"), {scovnd}),
                  alterStatement(QStringLiteral("ARCART_O.dbf"), {scovnd}),
                  alterStatement(QStringLiteral("VENDITE.dbf"),
                                 {QStringLiteral("SCONTO NUMERIC(6,2)")})},
                 {}});
        runStep(
            {QStringLiteral("CONFIG.DBF"),
             QStringLiteral("EURO"),
             {alterStatement(QStringLiteral("CONFIG.dbf"), {QStringLiteral("EURO NUMERIC(15,5)")})},
             [this] {
                 db::Table t(m_db);
                 t.setTableName(QStringLiteral("CONFIG.DBF"));
                 t.open();
                 t.first();
                 if (t.eof())
                     t.append();
                 else
                     t.edit();
                 t.setString(QStringLiteral("EURO"), QStringLiteral("1"));
                 t.post();
                 t.close();
             }});
        const QStringList cardClauses{QStringLiteral("BARCODE CHARACTER(20)"),
                                      QStringLiteral("DECPUNTI NUMERIC(10,0)")};
        runStep({QStringLiteral("CLIENTI.DBF"),
                 QStringLiteral("DECPUNTI"),
                 {alterStatement(QStringLiteral("CLIENTI.dbf"), cardClauses),
                  alterStatement(QStringLiteral("FORNITOR.dbf"), cardClauses),
                  alterStatement(QStringLiteral("VENDITE.dbf"),
                                 {QStringLiteral("BARCODE CHARACTER(20)"),
                                  QStringLiteral("NUMCLI NUMERIC(10,0)")}),
                  alterStatement(QStringLiteral("FATTURE.dbf"),
                                 {QStringLiteral("BARCODE CHARACTER(20)")}),
                  createIndexStatement(QStringLiteral("BARCODE"), QStringLiteral("CLIENTI.dbf"),
                                       QStringLiteral("BARCODE"))},
                 {}});
        runStep(
            {QStringLiteral("ARTICOLI.dbf"),
             QStringLiteral("INUSO"),
             {alterStatement(QStringLiteral("ARTICOLI.dbf"), {QStringLiteral("INUSO BOOLEAN")})},
             [this] {
                 forEachRecord(QStringLiteral("ARTICOLI.dbf"),
                               [](db::Table &t) { t.setBool(QStringLiteral("INUSO"), true); });
             }});
        const QString sconto = QStringLiteral("SCONTO NUMERIC(7,3)");
        runStep({QStringLiteral("CARICHI.dbf"),
                 QStringLiteral("SCONTO"),
                 {alterStatement(QStringLiteral("CARICHI.dbf"), {sconto}),
                  alterStatement(QStringLiteral("ORDINI.dbf"), {sconto})},
                 {}});
        const QString iva = QStringLiteral("IVA NUMERIC(6,2)");
        runStep({QStringLiteral("ARCART_A.dbf"),
                 QStringLiteral("IVA"),
                 {alterStatement(QStringLiteral("ARCART_A.dbf"), {iva}),
                  alterStatement(QStringLiteral("ARCART_R.dbf"), {iva})},
                 [this] {
                     auto twenty = [](db::Table &t) { t.setFloat(QStringLiteral("IVA"), 20); };
                     forEachRecord(QStringLiteral("ARCART_A.dbf"), twenty);
                     forEachRecord(QStringLiteral("ARCART_R.DBF"), twenty);
                 }});
        runStep({QStringLiteral("CARICHI.dbf"),
                 QStringLiteral("FINDV"),
                 {alterStatement(QStringLiteral("CARICHI.dbf"), {QStringLiteral("FINDV BOOLEAN")})},
                 {}});
        const QString isBanca = QStringLiteral("ISBANCA BOOLEAN");
        runStep({QStringLiteral("VENDITE.dbf"),
                 QStringLiteral("ISBANCA"),
                 {alterStatement(QStringLiteral("VENDITE.dbf"), {isBanca}),
                  alterStatement(QStringLiteral("FATTURE.dbf"), {isBanca}),
                  alterStatement(QStringLiteral("CARICHI.dbf"), {isBanca}),
                  createIndexStatement(QStringLiteral("NUMRAG"), QStringLiteral("CARICHI.dbf"),
                                       QStringLiteral("NUMRAG"))},
                 {}});
        runStep(
            {QStringLiteral("COUNTERS.dbf"),
             QStringLiteral("TAG"),
             {alterStatement(QStringLiteral("COUNTERS.dbf"), {QStringLiteral("TAG NUMERIC(1,0)")}),
              createIndexStatement(QStringLiteral("NUMDOC"), QStringLiteral("VENDITE.dbf"),
                                   QStringLiteral("NUMDOC")),
              createIndexStatement(QStringLiteral("NUMDOC"), QStringLiteral("RESI.dbf"),
                                   QStringLiteral("NUMDOC")),
              createIndexStatement(QStringLiteral("NUMDOC"), QStringLiteral("CARICHI.dbf"),
                                   QStringLiteral("NUMDOC")),
              createIndexStatement(QStringLiteral("NUMDOC"), QStringLiteral("FATTURE.dbf"),
                                   QStringLiteral("NUMDOC"))},
             {}});
        // The electronic invoice: the shop's and the contacts' fiscal data
        // apart, and the file sent for each invoice with its state.
        const QStringList contactFiscal{
            QStringLiteral("PARTIVA CHARACTER(28)"),  QStringLiteral("CODFISC CHARACTER(16)"),
            QStringLiteral("CODDEST CHARACTER(7)"),   QStringLiteral("PEC CHARACTER(80)"),
            QStringLiteral("PROVINCIA CHARACTER(2)"), QStringLiteral("NAZIONE CHARACTER(2)")};
        runStep(
            {QStringLiteral("FATTURE.dbf"),
             QStringLiteral("FEFILE"),
             {alterStatement(
                  QStringLiteral("CONFIG.dbf"),
                  {QStringLiteral("CODFISC CHARACTER(16)"), QStringLiteral("REGFISC CHARACTER(4)"),
                   QStringLiteral("CAPFISC CHARACTER(5)"), QStringLiteral("COMUNE CHARACTER(40)"),
                   QStringLiteral("PROVINCIA CHARACTER(2)"), QStringLiteral("NAZIONE CHARACTER(2)"),
                   QStringLiteral("FEPROG NUMERIC(10,0)"), QStringLiteral("TRASMPAE CHARACTER(2)"),
                   QStringLiteral("TRASMCOD CHARACTER(28)"), QStringLiteral("NATURA CHARACTER(5)"),
                   QStringLiteral("RIFNORMA CHARACTER(100)")}),
              alterStatement(QStringLiteral("CLIENTI.dbf"), contactFiscal),
              alterStatement(QStringLiteral("FORNITOR.dbf"), contactFiscal),
              alterStatement(
                  QStringLiteral("FATTURE.dbf"),
                  {QStringLiteral("TIPODOC CHARACTER(4)"), QStringLiteral("NUMRIF NUMERIC(10,0)"),
                   QStringLiteral("FEFILE CHARACTER(40)"), QStringLiteral("FESTATO NUMERIC(1,0)"),
                   QStringLiteral("FENOTE CHARACTER(100)")})},
             [this] {
                 // The ordinary regime in Italy until the shop says otherwise.
                 forEachRecord(QStringLiteral("CONFIG.dbf"), [](db::Table &t) {
                     t.setString(QStringLiteral("REGFISC"), QStringLiteral("RF01"));
                     t.setString(QStringLiteral("NAZIONE"), QStringLiteral("IT"));
                 });
             }});
        // --- size runs: the core sizes of each size type ---
        runStep({QStringLiteral("TAGLIE.dbf"),
                 QStringLiteral("NUCLEODA"),
                 {alterStatement(QStringLiteral("TAGLIE.dbf"),
                                 {QStringLiteral("NUCLEODA NUMERIC(2,0)"),
                                  QStringLiteral("NUCLEOA NUMERIC(2,0)")})},
                 {}});
        // --- end size runs ---
        // --- Telematic register: the document the RT gave each counter sale
        // and how the sale was paid (VENDITE only; RICEVUTE keeps its columns).
        runStep(
            {QStringLiteral("VENDITE.dbf"),
             QStringLiteral("RTNUMERO"),
             {alterStatement(
                 QStringLiteral("VENDITE.dbf"),
                 {QStringLiteral("RTNUMERO NUMERIC(5,0)"),
                  QStringLiteral("RTCHIUSURA NUMERIC(5,0)"), QStringLiteral("RTDATA DATE"),
                  QStringLiteral("RTORA CHARACTER(8)"), QStringLiteral("RTMATRIC CHARACTER(20)"),
                  QStringLiteral("PAGCONT NUMERIC(12,2)"), QStringLiteral("PAGELETT NUMERIC(12,2)"),
                  QStringLiteral("PAGBUONO NUMERIC(12,2)"), QStringLiteral("LOTTERIA CHARACTER(8)"),
                  QStringLiteral("CFCLIENTE CHARACTER(16)"),
                  QStringLiteral("RIFVEN NUMERIC(10,0)")})},
             {}});
        // --- end telematic register
        // --- Same-day size exchange: the return and the sale of an exchange
        // hold each other's key (VENDITE only).
        runStep({QStringLiteral("VENDITE.dbf"),
                 QStringLiteral("RIFCAMBIO"),
                 {alterStatement(QStringLiteral("VENDITE.dbf"),
                                 {QStringLiteral("RIFCAMBIO NUMERIC(10,0)")})},
                 {}});
        // --- end size exchange
        // --- Sales stored while the telematic register could not be reached:
        // their state (waiting, to be checked, written by hand), indexed so
        // that the counter finds the waiting ones at once, and the time they
        // were stored, for the emergency register (VENDITE only). The probed
        // column comes last: a step cut short is finished at the next start.
        runStep({QStringLiteral("VENDITE.dbf"),
                 QStringLiteral("NFORA"),
                 {alterStatement(QStringLiteral("VENDITE.dbf"),
                                 {QStringLiteral("NFSTATO NUMERIC(1,0)")}),
                  createIndexStatement(QStringLiteral("NFSTATO"), QStringLiteral("VENDITE.dbf"),
                                       QStringLiteral("NFSTATO")),
                  alterStatement(QStringLiteral("VENDITE.dbf"),
                                 {QStringLiteral("NFORA CHARACTER(8)")})},
                 {}});
        // --- end sales without the telematic register
    });
}

// ---- Tables added whole by a later release ------------------------------------------
// Price history (PREZZI), sale campaigns (SALDI, SALDIART) and the season list
// (STAGIONI). Column names are written out here: the shell sits below the
// catalogue, which names them for everyone else.

QList<QStringList> SchemaUpgrade::addedTableGroups() {
    QList<QStringList> out{{QStringLiteral("PREZZI"), QStringLiteral("SALDI"),
                            QStringLiteral("SALDIART"), QStringLiteral("STAGIONI")}};
    // --- store-credit vouchers (BUONI) and their history (BUONIMOV): an older
    // folder starts with none
    out << QStringList{QStringLiteral("BUONI"), QStringLiteral("BUONIMOV")};
    // --- end store-credit vouchers
    return out;
}

QStringList SchemaUpgrade::addedTables() {
    QStringList out;
    for (const QStringList &group : addedTableGroups())
        out << group;
    return out;
}

void SchemaUpgrade::seedSeasons(db::Database &database) {
    QStringList names{QStringLiteral("Autunno/Inverno"), QStringLiteral("Primavera/Estate"),
                      QStringLiteral("Quattro Stagioni")};
    if (database.tableExists(QStringLiteral("ARTICOLI.DBF"))) {
        db::Table a(database);
        a.setTableName(QStringLiteral("ARTICOLI.DBF"));
        a.open();
        if (a.hasField(QStringLiteral("STAGIONE"))) {
            for (a.first(); !a.eof(); a.next()) {
                const QString season = a.asString(QStringLiteral("STAGIONE")).trimmed();
                if (!season.isEmpty() && !names.contains(season, Qt::CaseInsensitive))
                    names << season;
            }
        }
    }
    db::Table t(database);
    t.setTableName(QStringLiteral("STAGIONI.DBF"));
    t.open();
    QSet<QString> present;
    for (t.first(); !t.eof(); t.next())
        present.insert(t.asString(QStringLiteral("NOME")).trimmed().toUpper());
    for (const QString &name : names) {
        if (present.contains(name.toUpper()))
            continue;
        t.append();
        t.setString(QStringLiteral("NOME"), name);
        t.post();
    }
}

bool SchemaUpgrade::runAddedTables(const TableLayouts &layouts, QDate today) {
    return runList([&] {
        TableLayouts missing;
        for (const TableLayout &layout : layouts)
            if (addedTables().contains(layout.name, Qt::CaseInsensitive) &&
                !m_db.tableExists(layout.fileName()))
                missing << layout;
        if (missing.isEmpty())
            return;
        DataFolderSetup::createTables(m_db, missing);
        for (const TableLayout &layout : missing)
            m_executed << QStringLiteral("CREATE TABLE \"%1\"").arg(layout.fileName());
        auto created = [&](const QString &name) {
            for (const TableLayout &layout : missing)
                if (layout.name.compare(name, Qt::CaseInsensitive) == 0)
                    return true;
            return false;
        };
        if (created(QStringLiteral("STAGIONI")))
            seedSeasons(m_db);
        if (created(QStringLiteral("PREZZI")) && m_db.tableExists(QStringLiteral("ARTICOLI.DBF"))) {
            // The history of an older folder starts today, at today's prices.
            db::Table a(m_db);
            a.setTableName(QStringLiteral("ARTICOLI.DBF"));
            a.open();
            db::Table h(m_db);
            h.setTableName(QStringLiteral("PREZZI.DBF"));
            h.open();
            for (a.first(); !a.eof(); a.next()) {
                const double list = a.asFloat(QStringLiteral("PREZZOVND"));
                const double discount =
                    a.hasField(QStringLiteral("SCONTO")) ? a.asFloat(QStringLiteral("SCONTO")) : 0;
                h.append();
                h.setInteger(QStringLiteral("ARTCODE"), a.asInteger(QStringLiteral("NUMREG")));
                h.setDate(QStringLiteral("DATA"), today);
                h.setFloat(QStringLiteral("LISTINO"), list);
                h.setFloat(QStringLiteral("SCONTO"), discount);
                h.setFloat(QStringLiteral("PREZZO"), roundToCents(list * (1 - discount / 100)));
                h.setString(QStringLiteral("CAUSA"), QStringLiteral("Inizio storico"));
                h.setInteger(QStringLiteral("CAMPAGNA"), 0);
                h.post();
            }
        }
    });
}
// ---- end of tables added whole -------------------------------------------------------

} // namespace corvale

#include "stock/ReorderSuggestions.h"

#include "catalogue/SizeTypeCore.h"
#include "catalogue/StockMatrixScan.h"
#include "db/Error.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "platform/Formats.h"
#include "platform/IniFile.h"
#include "printing/SpreadsheetFile.h"
#include "stock/StockColumns.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace corvale {

namespace {

const QString section = QStringLiteral("RIORDINO");
const QString salesKey = QStringLiteral("SETTIMANEVENDITE");
const QString coverKey = QStringLiteral("SETTIMANECOPERTURA");
const QString orders = QStringLiteral("ORDINI");
const QString orderLines = QStringLiteral("ARCART_O");

struct Key {
    qint64 article;
    QString colour;
    int position;
    friend bool operator==(const Key &, const Key &) = default;
};

size_t qHash(const Key &k, size_t seed = 0) {
    return qHashMulti(seed, k.article, k.colour, k.position);
}

struct Figures {
    qint64 sold = 0;
    qint64 stock = 0;
    qint64 onOrder = 0;
};

// One line of a line table as the reorder reads it.
struct Line {
    Key key;
    qint64 quantity = 0;
    QDate date;           // DATAREG
    bool countsUp = true; // TIPO, where the table has it: false for a return
    qint64 document = 0;  // NUMCAR, where the table has it
};

// Walks a line table, giving each line of the articles wanted that lies in
// the stock matrix (size 1..20) to `visit` when `keep` takes it: fields are
// looked up once, and the colour is read only for the lines kept.
void walkLines(db::Database &database, const QString &table,
               const QHash<qint64, SizeRunArticle> &articles,
               const std::function<bool(const Line &)> &keep,
               const std::function<void(const Line &)> &visit) {
    db::Table lines(database);
    lines.setTableName(table);
    lines.open();
    const auto fArticle = lines.fieldRef(doc::NUMART);
    const auto fSize = lines.fieldRef(sheet::TAGLIA);
    const auto fQuantity = lines.fieldRef(sheet::QUANTITA);
    const auto fDate = lines.fieldRef(doc::DATAREG);
    const bool typed = lines.hasField(doc::TIPO);
    const auto fType = typed ? lines.fieldRef(doc::TIPO) : db::Table::FieldRef{};
    const bool numbered = lines.hasField(doc::NUMCAR);
    const auto fDocument = numbered ? lines.fieldRef(doc::NUMCAR) : db::Table::FieldRef{};
    Line line;
    for (lines.first(); !lines.eof(); lines.next()) {
        try {
            line.key.article = lines.asInteger(fArticle);
            if (!articles.contains(line.key.article))
                continue;
            line.key.position = int(lines.asInteger(fSize));
            if (line.key.position < 1 || line.key.position > SizeTypeCore::positions)
                continue; // outside the stock matrix
            line.quantity = lines.asInteger(fQuantity);
            line.date = lines.asDate(fDate);
            line.countsUp = !typed || lines.asBool(fType);
            line.document = numbered ? lines.asInteger(fDocument) : 0;
            if (!keep(line))
                continue;
            line.key.colour = lines.asString(sheet::COLORE).trimmed();
        } catch (const db::Error &) {
            continue; // a line that does not read counts for nobody
        }
        visit(line);
    }
}

// The orders not yet loaded: those whose NUMCAR names no existing receipt.
QSet<qint64> openOrders(db::Database &database) {
    QSet<qint64> receipts;
    {
        db::Table t(database);
        t.setTableName(stockColumns::receipts);
        t.open();
        const auto f = t.fieldRef(doc::NUMREG);
        for (t.first(); !t.eof(); t.next())
            receipts.insert(t.asInteger(f));
    }
    QSet<qint64> open;
    db::Table t(database);
    t.setTableName(orders);
    t.open();
    const auto fKey = t.fieldRef(doc::NUMREG);
    const auto fLoaded = t.fieldRef(doc::NUMCAR);
    for (t.first(); !t.eof(); t.next()) {
        const qint64 loadedInto = t.asInteger(fLoaded);
        if (loadedInto <= 0 || !receipts.contains(loadedInto))
            open.insert(t.asInteger(fKey));
    }
    return open;
}

} // namespace

ReorderSettings ReorderSettings::read(const IniFile &ini) {
    ReorderSettings s;
    s.salesWeeks = ini.readInteger(section, salesKey, s.salesWeeks);
    s.coverWeeks = ini.readInteger(section, coverKey, s.coverWeeks);
    if (!s.isValid())
        s = {};
    return s;
}

void ReorderSettings::write(IniFile &ini) const {
    ini.writeInteger(section, salesKey, salesWeeks);
    ini.writeInteger(section, coverKey, coverWeeks);
}

qint64 ReorderSuggestions::suggestion(qint64 sold, qint64 stock, qint64 onOrder,
                                      const ReorderSettings &s) {
    if (s.salesWeeks <= 0 || sold <= 0)
        return 0;
    // Whole pieces, rounded up: the cover is reached, not nearly reached.
    const qint64 wanted = (sold * s.coverWeeks + s.salesWeeks - 1) / s.salesWeeks;
    return std::max<qint64>(0, wanted - std::max<qint64>(stock, 0) - std::max<qint64>(onOrder, 0));
}

QDate ReorderSuggestions::firstSalesDay(QDate today, const ReorderSettings &s) {
    return today.addDays(1 - 7 * qint64(s.salesWeeks));
}

QList<ReorderRow> ReorderSuggestions::compute(db::Database &database,
                                              const SizeRunSelection &selection,
                                              const ReorderSettings &settings, QDate today) {
    const QHash<qint64, SizeRunArticle> articles = SizeRunArticles::read(database, selection);
    const QHash<qint64, SizeTypeCore> types = SizeTypeCore::readAll(database);
    QHash<Key, Figures> figures;

    const QDate first = firstSalesDay(today, settings);
    walkLines(
        database, stockColumns::saleLines, articles,
        [&](const Line &l) { return l.date.isValid() && l.date >= first && l.date <= today; },
        // A line marked as a return (TIPO false) gives the pieces back.
        [&](const Line &l) { figures[l.key].sold += l.countsUp ? l.quantity : -l.quantity; });

    const QSet<qint64> open = openOrders(database);
    walkLines(
        database, orderLines, articles, [&](const Line &l) { return open.contains(l.document); },
        [&](const Line &l) { figures[l.key].onOrder += l.quantity; });

    StockMatrixScan::walk(
        database, [&](qint64 article, const QString &colour, const StockMatrixScan::Cells &cells) {
            if (!articles.contains(article))
                return;
            for (int p = 1; p <= SizeTypeCore::positions; ++p)
                if (cells[size_t(p - 1)] != 0)
                    figures[Key{article, colour, p}].stock += cells[size_t(p - 1)];
        });

    QList<ReorderRow> rows;
    rows.reserve(figures.size());
    for (auto it = figures.cbegin(); it != figures.cend(); ++it) {
        const Figures &f = it.value();
        if (f.sold == 0 && f.stock == 0 && f.onOrder == 0)
            continue;
        const SizeRunArticle &a = articles[it.key().article];
        ReorderRow r;
        r.article = a.key;
        r.code = a.code;
        r.description = a.description;
        r.supplierKey = a.supplierKey;
        r.supplier = a.supplier;
        r.colour = it.key().colour;
        r.position = it.key().position;
        const auto type = types.constFind(a.sizeType);
        r.label = type != types.cend() && type->isUsed(r.position)
                      ? type->label(r.position)
                      : QStringLiteral("Tg %1").arg(r.position);
        r.sold = f.sold;
        r.stock = f.stock;
        r.onOrder = f.onOrder;
        r.suggested = suggestion(f.sold, f.stock, f.onOrder, settings);
        r.quantity = r.suggested;
        rows << r;
    }
    std::sort(rows.begin(), rows.end(), [](const ReorderRow &x, const ReorderRow &y) {
        return std::tie(x.supplier, x.description, x.article, x.colour, x.position) <
               std::tie(y.supplier, y.description, y.article, y.colour, y.position);
    });
    return rows;
}

const QStringList &ReorderSuggestions::columnTitles() {
    static const QStringList titles{QStringLiteral("Fornitore"), QStringLiteral("Codice"),
                                    QStringLiteral("Articolo"),  QStringLiteral("Colore"),
                                    QStringLiteral("Taglia"),    QStringLiteral("Venduti"),
                                    QStringLiteral("Giacenza"),  QStringLiteral("In ordine"),
                                    QStringLiteral("Proposta"),  QStringLiteral("Da ordinare")};
    return titles;
}

QStringList ReorderSuggestions::exportLines(const QList<ReorderRow> &rows, QDate today,
                                            const ReorderSettings &settings) {
    QStringList lines = SpreadsheetFile::heading(today, columnTitles());
    lines[0] = QStringLiteral("RIORDINO - ") + Formats::formatDate(today);
    lines[1] = QStringLiteral("Vendite di %1 settimane, copertura di %2 settimane")
                   .arg(settings.salesWeeks)
                   .arg(settings.coverWeeks);
    for (const ReorderRow &r : rows)
        lines << SpreadsheetFile::row({r.supplier, u'\'' + r.code, r.description, r.colour, r.label,
                                       QString::number(r.sold), QString::number(r.stock),
                                       QString::number(r.onOrder), QString::number(r.suggested),
                                       QString::number(r.quantity)});
    return lines;
}

} // namespace corvale

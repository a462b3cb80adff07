#include "catalogue/SizeCurve.h"

#include "catalogue/ArticleColumns.h"
#include "db/Error.h"
#include "db/Table.h"

#include <algorithm>
#include <numeric>

namespace corvale {

namespace {

const QString saleLines = QStringLiteral("ARCART_V");
const QString receiptLines = QStringLiteral("ARCART_A");

qint64 positive(qint64 v) {
    return std::max<qint64>(v, 0);
}

SizeCurve::Counts positives(const SizeCurve::Counts &counts) {
    SizeCurve::Counts out{};
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = positive(counts[i]);
    return out;
}

qint64 sum(const SizeCurve::Counts &counts) {
    return std::accumulate(counts.begin(), counts.end(), qint64(0));
}

SizeCurve::Counts shares(const SizeCurve::Counts &counts) {
    return distributeByLargestRemainder(positives(counts), 1000).value_or(SizeCurve::Counts{});
}

void addLines(db::Database &database, const QString &table,
              const QHash<qint64, SizeRunArticle> &articles, QDate from, QDate to,
              SizeCurve::Counts &counts) {
    namespace a = articleColumns;
    db::Table lines(database);
    lines.setTableName(table);
    lines.open();
    const auto fArticle = lines.fieldRef(a::lineArticle);
    const auto fDate = lines.fieldRef(a::lineDate);
    const auto fSize = lines.fieldRef(a::lineSize);
    const auto fQuantity = lines.fieldRef(a::lineQuantity);
    const bool typed = lines.hasField(a::lineIsSale);
    const auto fType = typed ? lines.fieldRef(a::lineIsSale) : db::Table::FieldRef{};
    for (lines.first(); !lines.eof(); lines.next()) {
        try {
            if (!articles.contains(lines.asInteger(fArticle)))
                continue;
            const QDate date = lines.asDate(fDate);
            if (!date.isValid() || date < from || date > to)
                continue;
            const qint64 position = lines.asInteger(fSize);
            if (position < 1 || position > SizeTypeCore::positions)
                continue;
            const qint64 q = lines.asInteger(fQuantity);
            // A sale line marked as a return (TIPO false) gives the pieces back.
            counts[size_t(position - 1)] += !typed || lines.asBool(fType) ? q : -q;
        } catch (const db::Error &) {
            continue;
        }
    }
}

} // namespace

qint64 SizeCurve::soldTotal() const {
    return sum(positives(sold));
}

qint64 SizeCurve::receivedTotal() const {
    return sum(positives(received));
}

SizeCurve::Counts SizeCurve::soldShares() const {
    return shares(sold);
}

SizeCurve::Counts SizeCurve::receivedShares() const {
    return shares(received);
}

QList<int> SizeCurve::positions() const {
    QList<int> out;
    for (int p = 1; p <= SizeTypeCore::positions; ++p)
        if (type.isUsed(p) || sold[size_t(p - 1)] != 0 || received[size_t(p - 1)] != 0)
            out << p;
    return out;
}

SizeCurve SizeCurve::compute(db::Database &database, const SizeRunSelection &selection, QDate from,
                             QDate to) {
    SizeCurve curve;
    const QHash<qint64, SizeTypeCore> types = SizeTypeCore::readAll(database);
    curve.type = types.value(selection.sizeType);
    curve.type.key = selection.sizeType;
    if (selection.sizeType == 0)
        return curve; // a curve belongs to one size type
    const QHash<qint64, SizeRunArticle> articles = SizeRunArticles::read(database, selection);
    if (articles.isEmpty())
        return curve;
    addLines(database, saleLines, articles, from, to, curve.sold);
    addLines(database, receiptLines, articles, from, to, curve.received);
    return curve;
}

QString SizeCurve::shareText(qint64 tenths) {
    return QStringLiteral("%1,%2").arg(tenths / 10).arg(tenths % 10);
}

QStringList SizeCurve::exportLines(QDate today, QDate from, QDate to) const {
    auto date = [](QDate d) { return d.toString(QStringLiteral("dd/MM/yyyy")); };
    QStringList lines{
        QStringLiteral("CURVA TAGLIE - ") + date(today),
        QStringLiteral("TAGLIA %1 - dal %2 al %3").arg(type.name, date(from), date(to)),
        QStringLiteral("Taglia\tVenduti\tVenduti %\tRicevuti\tRicevuti %\t")};
    const Counts s = soldShares();
    const Counts r = receivedShares();
    for (int p : positions()) {
        const size_t i = size_t(p - 1);
        const QString label = type.isUsed(p) ? type.label(p) : QStringLiteral("Tg %1").arg(p);
        lines << QStringLiteral("%1\t%2\t%3\t%4\t%5\t")
                     .arg(label)
                     .arg(sold[i])
                     .arg(shareText(s[i]))
                     .arg(received[i])
                     .arg(shareText(r[i]));
    }
    lines << QStringLiteral("TOTALI\t%1\t%2\t%3\t%4\t")
                 .arg(soldTotal())
                 .arg(shareText(soldTotal() > 0 ? 1000 : 0))
                 .arg(receivedTotal())
                 .arg(shareText(receivedTotal() > 0 ? 1000 : 0));
    return lines;
}

std::optional<SizeCurve::Counts> distributeByLargestRemainder(const SizeCurve::Counts &weights,
                                                              qint64 total) {
    const SizeCurve::Counts w = positives(weights);
    const qint64 whole = sum(w);
    if (whole <= 0 || total < 0)
        return std::nullopt;
    SizeCurve::Counts out{};
    SizeCurve::Counts remainders{};
    qint64 given = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        // total x weight fits easily: pieces and counts stay far below 2^31.
        out[i] = total * w[i] / whole;
        remainders[i] = total * w[i] % whole;
        given += out[i];
    }
    std::array<size_t, SizeTypeCore::positions> order{};
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (remainders[a] != remainders[b])
            return remainders[a] > remainders[b];
        return w[a] > w[b];
    });
    for (size_t k = 0; given < total; ++k, ++given)
        ++out[order[k % order.size()]];
    return out;
}

} // namespace corvale

#include "catalogue/SizeTypeCore.h"

#include "catalogue/ArticleColumns.h"
#include "db/Table.h"

namespace corvale {

namespace cols = articleColumns;

QString SizeTypeCore::label(int position) const {
    if (position < 1 || position > positions)
        return {};
    return labels[size_t(position - 1)];
}

QList<int> SizeTypeCore::corePositions() const {
    QList<int> out;
    const int from = hasChosenCore() ? coreFrom : 1;
    const int to = hasChosenCore() ? coreTo : positions;
    for (int p = from; p <= to; ++p)
        if (isUsed(p))
            out << p;
    return out;
}

QHash<qint64, SizeTypeCore> SizeTypeCore::readAll(db::Database &database) {
    QHash<qint64, SizeTypeCore> out;
    db::Table types(database);
    types.setTableName(cols::sizeTypes);
    types.open();
    // A folder not yet upgraded has no core columns: every size is core.
    const bool hasCore = types.hasField(cols::coreFrom) && types.hasField(cols::coreTo);
    for (types.first(); !types.eof(); types.next()) {
        SizeTypeCore t;
        t.key = types.asInteger(cols::key);
        t.name = types.asString(cols::description).trimmed();
        for (int p = 1; p <= positions; ++p)
            t.labels[size_t(p - 1)] = types.asString(cols::sizeCell(p)).trimmed();
        if (hasCore) {
            t.coreFrom = int(types.asInteger(cols::coreFrom));
            t.coreTo = int(types.asInteger(cols::coreTo));
            // A range that does not read as one (typed by another program) is no choice.
            if (rangeProblem(t.labels, t.coreFrom, t.coreTo))
                t.coreFrom = t.coreTo = 0;
        }
        out.insert(t.key, t);
    }
    return out;
}

std::optional<QString> SizeTypeCore::rangeProblem(const std::array<QString, positions> &labels,
                                                  int from, int to) {
    if (from == 0 && to == 0)
        return std::nullopt;
    if (from == 0 || to == 0)
        return QStringLiteral(
            "Indicare la prima e l'ultima taglia principale, o nessuna delle due.");
    if (from < 1 || to > positions || from > to)
        return QStringLiteral("La prima taglia principale non può seguire l'ultima.");
    if (labels[size_t(from - 1)].trimmed().isEmpty() || labels[size_t(to - 1)].trimmed().isEmpty())
        return QStringLiteral("Le taglie principali devono cadere su taglie indicate.");
    return std::nullopt;
}

} // namespace corvale

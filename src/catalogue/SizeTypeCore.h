#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace corvale {

namespace db {
class Database;
}

// A size type as the size-run reports read it: its twenty labels and its
// core sizes, the positions from `coreFrom` to `coreTo` that a colour must
// hold for the run to sell. Positions without a label are no sizes of the
// type, also inside the core range. When the shop has not chosen a core
// (both 0), every labelled position is core.
struct SizeTypeCore {
    static constexpr int positions = 20;

    qint64 key = 0;
    QString name;
    std::array<QString, positions> labels;
    int coreFrom = 0;
    int coreTo = 0;

    QString label(int position) const;
    bool isUsed(int position) const { return !label(position).isEmpty(); }
    bool hasChosenCore() const { return coreFrom > 0 && coreTo > 0; }
    // The labelled positions of the core, in order.
    QList<int> corePositions() const;

    // Every size type of TAGLIE by its number.
    static QHash<qint64, SizeTypeCore> readAll(db::Database &database);

    // What is wrong with a core range typed on the size-type card, or nothing:
    // both bounds or neither, the first not after the last, each on a
    // position that has a label.
    static std::optional<QString> rangeProblem(const std::array<QString, positions> &labels,
                                               int from, int to);
};

} // namespace corvale

#pragma once

#include "catalogue/SizeRunArticles.h"
#include "catalogue/SizeTypeCore.h"

#include <QDate>
#include <QList>
#include <QStringList>

#include <array>
#include <optional>

namespace corvale {

namespace db {
class Database;
}

// "Curva taglie": how the pieces of one size type spread over its sizes: the
// pieces sold (returns taken off) and the pieces received in a period, per
// size position, for the articles of the selection. The counts are kept
// whole; the shares shown are tenths of a percent rounded so that they add
// up to exactly 100 % (largest remainder).
struct SizeCurve {
    using Counts = std::array<qint64, SizeTypeCore::positions>;

    SizeTypeCore type;
    Counts sold{};
    Counts received{};

    // Net sales below 0 at a size (more returned than sold) weigh nothing.
    qint64 soldTotal() const;
    qint64 receivedTotal() const;
    // Shares in tenths of a percent (sum 1000 unless every count is 0).
    Counts soldShares() const;
    Counts receivedShares() const;
    // The labelled positions, and those that hold a count outside them.
    QList<int> positions() const;

    static SizeCurve compute(db::Database &database, const SizeRunSelection &selection, QDate from,
                             QDate to);

    // The table as the ".XLS" export writes it.
    QStringList exportLines(QDate today, QDate from, QDate to) const;
    static QString shareText(qint64 tenths);
};

// Whole pieces in proportion to `weights` (negatives weigh 0): each position
// gets the floor of its quota and the pieces left go one each to the largest
// remainders (ties: the larger weight, then the lower position), so the
// result adds up to `total` exactly. Nothing when every weight is 0 or the
// total is below 0.
std::optional<SizeCurve::Counts> distributeByLargestRemainder(const SizeCurve::Counts &weights,
                                                              qint64 total);

} // namespace corvale

#pragma once

namespace corvale {

// What a chart shows: the months of a year or the days of one month.
enum class ChartMode { Yearly, Monthly };

struct ChartPeriod {
    ChartMode mode = ChartMode::Yearly;
    int year = 0;
    int month = 1; // 1..12, read only in the monthly mode

    // Every month gets 31 columns, so that months sit side by side alike.
    int columns() const { return mode == ChartMode::Yearly ? 12 : 31; }
};

} // namespace corvale

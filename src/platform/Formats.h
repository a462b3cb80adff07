#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace corvale {

// Number and date formatting with the Italian separators the shop's system
// uses: decimal ',' and thousands '.'. Printed numbers are rounded half away
// from zero on their decimal value taken to 15 significant digits, so binary
// noise never moves a cent (2.675 prints 2,68 and 1.005 prints 1,01).
class Formats {
public:
    static constexpr QChar decimalSeparator = u',';
    static constexpr QChar thousandSeparator = u'.';

    // printf-like patterns: "%10.2n" (thousands separators), "%10.2f" (fixed),
    // "%8.*n"/"%13.*f" take the decimals from `decimals`. The width pads on
    // the left with blanks. An unknown pattern falls back to plain text of v.
    static QString format(QStringView pattern, double value, int decimals = -1);

    // format() with every blank among the first `width` characters turned into
    // '0' ("zero-filled"), the width being the pattern's.
    static QString formatZeroFilled(QStringView pattern, double value, int decimals = -1);

    // Display patterns of grids and edit boxes: ",0.00", ",0.00#", ",#", "#",
    // "#.##", ",#.##", ",0" ('0' a required digit, '#' an optional one, ','
    // anywhere asks for thousands separators). An integer part of zero prints
    // nothing unless a '0' asks for it, so "#" of 0 is empty.
    static QString display(QStringView pattern, double value);

    // Typed numbers: "39,80", "1.234,50", "-5", " 12 ". When a text holds no
    // comma, a dot followed by exactly three digits (once or in groups) is a
    // thousands separator, any other dot the decimal point ("19.90").
    static std::optional<double> parseNumber(QStringView text);
    // Integers as typed: optional sign and digits, blanks around allowed.
    static std::optional<qint64> parseInteger(QStringView text);

    // Dates as typed with the process format "dd/mm/yyyy" (day and month of
    // one or two digits; a two-digit year is read in the current century).
    // Impossible dates (31/02/2005) give nothing.
    static std::optional<QDate> parseDate(QStringView text);
    static QString formatDate(QDate date); // "dd/mm/yyyy", empty for a null date

    // Nearest integer, halves to the even neighbour.
    static qint64 roundHalfEven(double x);
    // Rounds to `decimals` places, halves away from zero on the decimal value.
    static double roundDecimal(double x, int decimals);
    // Removes the blanks at the start of a text.
    static QString trimLeading(QStringView text);
};

} // namespace corvale

#pragma once

#include "labels/TBarCodeType.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

// The symbologies as plain sequences of bars and spaces, apart from any
// drawing: the drawer turns elements into rectangles, tests read them as they
// are.
namespace corvale::barcode {

// One bar or space. `width` is in modules or in pixels, as each encoder says.
struct BarElement {
    bool bar = false;
    int width = 1;
    bool guard = false; // EAN guard modules, drawn longer

    bool operator==(const BarElement &) const = default;
};
using Elements = std::vector<BarElement>;

// Total width of a run of elements.
int totalWidth(const Elements &elements);

// EAN check digit: weights 3, 1, 3, ... from the rightmost digit, so 1, 3, ...
// from the left for 12 digits and 3, 1, ... for 7. A character that is not a
// digit counts 0.
int eanCheckDigit(QStringView digits);

// EAN-13 (12 or 13 characters) or EAN-8 (7 or 8 characters).
struct EanSymbol {
    bool valid = false; // the length gave a layout
    bool ean13 = true;
    QString text;         // with the check digit appended when it was missing
    int totalModules = 0; // T: 113 or 81, margins included
    int leftMargin = 0;   // 11 or 7 modules before the left guard
    Elements modules;     // 95 or 67 one-module elements, guards flagged

    // Where each human-readable digit stands under the bars.
    struct Digit {
        int module; // index in `modules` of its first module
        QChar ch;
    };
    std::vector<Digit> digits;
};
EanSymbol encodeEan(const QString &text);

// The element widths of Code 39 and Interleaved 2 of 5.
struct WidthPair {
    int wide = 2;
    int narrow = 1;

    bool operator==(const WidthPair &) const = default;
};

// A symbol whose element widths come from the available width: Code 39,
// Interleaved 2 of 5, ITF-14.
struct LinearSymbol {
    enum class Status { Drawn, Empty, TooSmall };
    Status status = Status::Empty;
    QString text; // what is encoded ("0" in front, check digit, ...)
    WidthPair widths;
    int margin = 0;    // q, in narrow elements, before the symbol
    Elements elements; // pixel widths, margins included
    // Interleaved 2 of 5: the bearer bars over the whole symbol.
    int bearerX = 0;
    int bearerLength = 0;
    int bearerThickness = 0;
};

// Widest pair of the ladder whose Code 39 symbol of `characters` characters
// (start and stop excluded) fits into `available` pixels; beyond the ladder
// the elements grow as 8m and 3m.
WidthPair code39Widths(int characters, int available, bool clearZone);
LinearSymbol encodeCode39(const QString &text, int available, bool clearZone);

// The same for Interleaved 2 of 5 with `digits` digits (after the "0" that
// makes the count even).
WidthPair interleavedWidths(int digits, int available, bool clearZone);
LinearSymbol encodeInterleaved2Of5(const QString &text, int available, bool clearZone);
// The 14 (or more) digits an ITF-14 text stands for; nothing when the text
// is too short to be one.
std::optional<QString> itf14Text(const QString &text);

// Code 128 / EAN-128 values from the start character to the last data value,
// choosing code sets automatically. Nothing when a character is above 127.
std::optional<std::vector<int>> code128Values(const QString &text, bool ean128);
// The check value of a value list that starts with its start character.
int code128Check(const std::vector<int> &values);
// Modules of a complete value list (check included), the stop pattern and a
// quiet zone of `quietZone` modules on each side.
Elements code128Modules(const std::vector<int> &valuesWithCheck, int quietZone);
// The most values one symbol carries, start and check included.
inline constexpr int code128MaxValues = 400;

// POSTNET: the digit count a type expects for a text, the text with its check
// digit appended where the type wants one, and the bars (true = tall) with
// the two frame bars.
int postnetExpectedDigits(TBarCodeType type, int textLength);
QString postnetText(const QString &text, TBarCodeType type);
std::vector<bool> postnetBars(const QString &digits);

// The nine positions of a facing identification mark (true = bar).
std::array<bool, 9> fimPattern(TBarCodeType type);

// The text a data link puts into the control: zeros in front up to 12
// characters for EAN13 and ITF14, up to 7 for EAN8.
QString linkedText(const QString &fieldText, TBarCodeType type);

} // namespace corvale::barcode

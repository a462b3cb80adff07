#pragma once

namespace corvale {

class IniFile;

// The sheet of adhesive labels: rows and columns per page, the extra space
// between them and the margins, in printer pixels. Kept in Dati.ini, section
// "BARCODE"; every value is held inside the range its field allows.
struct LabelLayout {
    struct Range {
        int low;
        int high;
    };
    static constexpr Range rowRange{2, 20};
    static constexpr Range columnRange{2, 6};
    static constexpr Range spacingRange{-500, 500};
    static constexpr Range marginRange{5, 199};

    int rows = 10;
    int columns = 4;
    int rowSpacing = 0;
    int columnSpacing = 0;
    int leftMargin = 5;
    int topMargin = 5;

    bool operator==(const LabelLayout &) const = default;

    // The layout of Dati.ini, a missing key giving its default.
    static LabelLayout read(const IniFile &ini);
    // False when Dati.ini could not be written (the reason is the file's).
    bool write(IniFile &ini) const;
    LabelLayout clamped() const;
};

} // namespace corvale

#include "labels/LabelLayout.h"

#include "platform/IniFile.h"

#include <algorithm>

namespace corvale {

namespace {

const QString section = QStringLiteral("BARCODE");
const QString rowsKey = QStringLiteral("NUR");
const QString columnsKey = QStringLiteral("NUC");
const QString rowSpacingKey = QStringLiteral("INR");
const QString columnSpacingKey = QStringLiteral("INC");
const QString leftMarginKey = QStringLiteral("MDX");
const QString topMarginKey = QStringLiteral("MTO");

int within(int value, LabelLayout::Range range) {
    return std::clamp(value, range.low, range.high);
}

} // namespace

LabelLayout LabelLayout::read(const IniFile &ini) {
    const LabelLayout defaults;
    LabelLayout l;
    l.rows = ini.readInteger(section, rowsKey, defaults.rows);
    l.columns = ini.readInteger(section, columnsKey, defaults.columns);
    l.rowSpacing = ini.readInteger(section, rowSpacingKey, defaults.rowSpacing);
    l.columnSpacing = ini.readInteger(section, columnSpacingKey, defaults.columnSpacing);
    l.leftMargin = ini.readInteger(section, leftMarginKey, defaults.leftMargin);
    l.topMargin = ini.readInteger(section, topMarginKey, defaults.topMargin);
    // A hand-edited file must not give a sheet of no rows or a page-wide margin.
    return l.clamped();
}

bool LabelLayout::write(IniFile &ini) const {
    return ini.writeInteger(section, rowsKey, rows) &&
           ini.writeInteger(section, columnsKey, columns) &&
           ini.writeInteger(section, rowSpacingKey, rowSpacing) &&
           ini.writeInteger(section, columnSpacingKey, columnSpacing) &&
           ini.writeInteger(section, leftMarginKey, leftMargin) &&
           ini.writeInteger(section, topMarginKey, topMargin);
}

LabelLayout LabelLayout::clamped() const {
    LabelLayout l;
    l.rows = within(rows, rowRange);
    l.columns = within(columns, columnRange);
    l.rowSpacing = within(rowSpacing, spacingRange);
    l.columnSpacing = within(columnSpacing, spacingRange);
    l.leftMargin = within(leftMargin, marginRange);
    l.topMargin = within(topMargin, marginRange);
    return l;
}

} // namespace corvale

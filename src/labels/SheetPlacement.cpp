#include "labels/SheetPlacement.h"

#include "platform/Formats.h"

#include <algorithm>

namespace corvale {

SheetPlacement::SheetPlacement(const LabelLayout &layout, int pageWidth, int pageHeight,
                               int startRow, int startColumn)
    : m_layout(layout.clamped())
    , m_columnWidth(pageWidth / m_layout.columns)
    , m_rowHeight(pageHeight / m_layout.rows)
    , m_row(std::clamp(startRow, 0, m_layout.rows - 1))
    , m_column(std::clamp(startColumn, 0, m_layout.columns - 1)) {}

int SheetPlacement::startIndex(const QString &answer, int count) {
    const std::optional<qint64> n = Formats::parseInteger(answer);
    if (!n || count < 1)
        return 0;
    return int(std::clamp<qint64>(*n - 1, 0, count - 1));
}

QPoint SheetPlacement::topLeft() const {
    return {m_layout.leftMargin + m_column * (m_columnWidth + m_layout.columnSpacing),
            m_layout.topMargin + m_row * (m_rowHeight + m_layout.rowSpacing)};
}

bool SheetPlacement::advance() {
    if (++m_row < m_layout.rows)
        return false;
    m_row = 0;
    if (++m_column < m_layout.columns)
        return false;
    m_column = 0;
    return true;
}

} // namespace corvale

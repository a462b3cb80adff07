#pragma once

#include <QString>

namespace corvale::chartTexts {

// "GEN" .. "DIC": the captions of the month columns; month 1..12.
QString monthCaption(int month);
// "Gennaio" .. "Dicembre": the month selector and the chart's period line.
QString monthName(int month);

} // namespace corvale::chartTexts

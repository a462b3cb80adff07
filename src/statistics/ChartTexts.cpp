#include "statistics/ChartTexts.h"

#include <array>

namespace corvale::chartTexts {

namespace {

const std::array<const char *, 12> captions = {"GEN", "FEB", "MAR", "APR", "MAG", "GIU",
                                               "LUG", "AGO", "SET", "OTT", "NOV", "DIC"};
const std::array<const char *, 12> names = {"Gennaio",   "Febbraio", "Marzo",    "Aprile",
                                            "Maggio",    "Giugno",   "Luglio",   "Agosto",
                                            "Settembre", "Ottobre",  "Novembre", "Dicembre"};

} // namespace

QString monthCaption(int month) {
    return month >= 1 && month <= 12 ? QString::fromLatin1(captions[size_t(month - 1)]) : QString();
}

QString monthName(int month) {
    return month >= 1 && month <= 12 ? QString::fromLatin1(names[size_t(month - 1)]) : QString();
}

} // namespace corvale::chartTexts

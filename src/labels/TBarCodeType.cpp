#include "labels/TBarCodeType.h"

#include <array>

namespace corvale {

namespace {

constexpr std::array<const char *, barCodeTypeCount> names = {"Code39",     "Interleaved2Of5",
                                                              "Code128",    "PostNet",
                                                              "PostnetZip", "PostNetZipPlus4",
                                                              "Postnet11",  "EAN",
                                                              "EAN8",       "EAN13",
                                                              "ITF14",      "FIMA",
                                                              "FIMB",       "FIMC",
                                                              "EAN128"};

} // namespace

QString barCodeTypeName(TBarCodeType type) {
    const int i = int(type);
    if (i < 0 || i >= barCodeTypeCount)
        return {};
    return QString::fromLatin1(names[size_t(i)]);
}

std::optional<TBarCodeType> barCodeTypeFromName(const QString &name) {
    for (int i = 0; i < barCodeTypeCount; ++i)
        if (name.compare(QLatin1String(names[size_t(i)]), Qt::CaseInsensitive) == 0)
            return TBarCodeType(i);
    return std::nullopt;
}

} // namespace corvale

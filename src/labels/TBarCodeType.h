#pragma once

#include <QString>
#include <optional>

namespace corvale {

// The symbologies of the barcode control. The ordinal is what a stored window
// definition holds, so the order never changes.
enum class TBarCodeType {
    Code39 = 0,
    Interleaved2Of5 = 1,
    Code128 = 2,
    PostNet = 3,
    PostnetZip = 4,
    PostNetZipPlus4 = 5,
    Postnet11 = 6,
    EAN = 7,
    EAN8 = 8,
    EAN13 = 9,
    ITF14 = 10,
    FIMA = 11,
    FIMB = 12,
    FIMC = 13,
    EAN128 = 14,
};

inline constexpr int barCodeTypeCount = 15;

// "Code39", "EAN13", ...: the value's own name.
QString barCodeTypeName(TBarCodeType type);
// The type of a name (case-insensitive), or nothing for an unknown name.
std::optional<TBarCodeType> barCodeTypeFromName(const QString &name);

inline bool isPostnet(TBarCodeType t) {
    return t == TBarCodeType::PostNet || t == TBarCodeType::PostnetZip ||
           t == TBarCodeType::PostNetZipPlus4 || t == TBarCodeType::Postnet11;
}

inline bool isEan(TBarCodeType t) {
    return t == TBarCodeType::EAN || t == TBarCodeType::EAN8 || t == TBarCodeType::EAN13;
}

inline bool isFim(TBarCodeType t) {
    return t == TBarCodeType::FIMA || t == TBarCodeType::FIMB || t == TBarCodeType::FIMC;
}

} // namespace corvale

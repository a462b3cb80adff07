#pragma once

#include <QByteArray>
#include <QDate>

#include <cstdint>

namespace corvale::db {

// Conversions between the bytes of a record cell and values, shared by the table handle,
// the filters, the index tags and the tools. Nothing here allocates on the read paths
// that a filtered scan uses.
class FieldCodec {
public:
    static bool isBlank(const char *data, int length);

    // ASCII number of an N/F cell. Blank cells give 0 and *blank = true. Returns false
    // for bytes that are no number (for instance the '*' some writers put on overflow).
    static bool parseNumber(const char *data, int length, double *value, bool *blank = nullptr);

    // Right-aligned text of exactly `length` bytes with `decimals` digits after the point,
    // or an empty array when the value does not fit (the caller reports it).
    static QByteArray formatNumber(double value, int length, int decimals);
    // The same written straight into a cell of `length` bytes; false (cell untouched)
    // when the value does not fit.
    static bool writeNumber(double value, int length, int decimals, char *cell);
    static bool writeInteger(qint64 value, int length, int decimals, char *cell);
    static QByteArray formatInteger(qint64 value, int length, int decimals);

    // The block number of a memo cell: false for bytes that are no block number (or one
    // beyond 32 bits); a blank cell gives 0.
    static bool parseBlock(const char *data, int length, uint32_t *block);

    // "yyyymmdd"; an invalid date gives an empty QDate.
    static QDate parseDate(const char *data, int length);

    // Level-7 binary cells.
    static qint32 decodeLong(const char *data);
    static void encodeLong(qint32 value, char *data);
    static double decodeDouble(const char *data);
    static void encodeDouble(double value, char *data);

    // 8 memcmp-comparable bytes ordering doubles numerically (-0 = +0).
    static void orderedDouble(double value, char *key);
    static double fromOrderedDouble(const char *key);

    // The 12-byte packed decimal of MDX numeric keys.
    static constexpr int packedLength = 12;
    static void packDecimal(double value, char *key);
    static double unpackDecimal(const char *key);
    // The same rounded (half away from zero) to `decimals` digits after the point, as the
    // column would store it; a negative `decimals` keeps every digit. Other engines pack
    // the binary double (1998.12 as 1998.1199999999999): rounded, such a key equals the
    // key of the cell's text.
    static double unpackDecimal(const char *key, int decimals);

    // Julian day numbers as MDX date keys store them (1981-01-01 = 2444606).
    static double julianDay(const QDate &date) {
        return date.isValid() ? double(date.toJulianDay()) : 0.0;
    }
};

} // namespace corvale::db

#pragma once

#include <QByteArray>

namespace corvale {

// Turns a complete raw deflate stream into one that goes on: the final
// block's BFINAL bit is cleared and an empty stored block brings the end to a
// byte boundary, as zlib's sync flush does, so that the next piece's blocks
// may follow. The block boundaries are found by walking the stream's codes
// (nothing is written out). False, with the stream untouched, when it is not
// a well-formed stream ending exactly at its last byte.
class DeflateSyncEnd {
public:
    static bool apply(QByteArray &stream);

    // Where the final block starts and ends, in bits from the stream's start.
    struct FinalBlock {
        qint64 headerBit = -1;
        qint64 endBit = -1;
    };
    static FinalBlock find(const QByteArray &stream);
};

} // namespace corvale

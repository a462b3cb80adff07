#pragma once

#include <cstdint>

// Offsets of the production index (.MDX), as docs/dbase-format.md describes them.
namespace corvale::db::mdx {

constexpr int pageSize = 512;
constexpr int pagesPerBlock = 2;
constexpr int blockSize = pageSize * pagesPerBlock;
constexpr int headerPages = 4; // file header and tag table

constexpr int offsetVersion = 0;
constexpr int offsetDate = 1;
constexpr int offsetDbfName = 4;
constexpr int dbfNameLength = 16;
constexpr int offsetPagesPerBlock = 20;
constexpr int offsetBlockSize = 22;
constexpr int offsetProduction = 24;
constexpr int offsetTagSlots = 25;
constexpr int offsetSlotLength = 26;
// Reserved in the published layout; this engine sets it to 1 while it has the table
// open for writing and back to 0 when it writes the tags out, so an index left behind
// by a crash is known to be stale.
constexpr int offsetDirty = 27;
constexpr int offsetTagsInUse = 28;
constexpr int offsetFilePages = 32;
constexpr int offsetFirstFreePage = 36;
constexpr int offsetBlocksAvailable = 40;
constexpr int offsetUpdateDate = 44;

constexpr int tagSlots = 48;
constexpr int maxTags = 47;
constexpr int slotLength = 32;
constexpr int tagTable = 544;

// Tag table entry.
constexpr int entryHeaderPage = 0;
constexpr int entryName = 4;
constexpr int entryNameLength = 11;
constexpr int entryKeyFormat = 15;
constexpr int entryThreads = 16;
constexpr int entryMark = 19; // 0x02
constexpr int entryKeyType = 20;

// Tag header.
constexpr int tagRootPage = 0;
constexpr int tagPagesAllocated = 4;
constexpr int tagFlags = 8;
constexpr int tagKeyType = 9;
constexpr int tagKeyLength = 12;
constexpr int tagMaxKeys = 14;
constexpr int tagItemLength = 18;
constexpr int tagExpression = 24;
constexpr int tagExpressionLength = 220;
constexpr int tagHasFilter = 245;
constexpr int tagHasKeys = 246;

constexpr uint8_t flagDescending = 0x08;
constexpr uint8_t flagField = 0x10;
constexpr uint8_t flagUnique = 0x40;

constexpr int nodeEntries = 8;
constexpr int maxCharKey = 100;
constexpr int numericKeyLength = 12;
constexpr int dateKeyLength = 8;

} // namespace corvale::db::mdx

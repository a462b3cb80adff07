#pragma once

#include <cstdint>

// Offsets and flags of the dBASE files, as docs/dbase-format.md describes them.
namespace corvale::db::dbf {

// Version byte: bits 0-2 the level, bit 3 a dBASE IV memo, bit 7 any memo file.
constexpr uint8_t levelMask = 0x07;
constexpr uint8_t level3 = 0x03; // dBASE III, IV and 5
constexpr uint8_t level7 = 0x04;
constexpr uint8_t memoIvBit = 0x08;
constexpr uint8_t memoBit = 0x80;
constexpr uint8_t versionPlain = 0x03;  // what we create without memo columns
constexpr uint8_t versionIvMemo = 0x8B; // what we create with memo columns

constexpr int offsetDate = 1;
constexpr int offsetRecordCount = 4;
constexpr int offsetHeaderLength = 8;
constexpr int offsetRecordLength = 10;
constexpr int offsetTransaction = 14;
constexpr int offsetEncryption = 15;
constexpr int offsetMdxFlag = 28;
constexpr int offsetLanguageDriver = 29;
constexpr int headerSize = 32;
constexpr int descriptorSize = 32;

constexpr int level7DriverName = 32;
constexpr int level7DriverNameLength = 32;
constexpr int level7DescriptorsStart = 68;
constexpr int level7DescriptorSize = 48;

// 32-byte descriptor.
constexpr int fieldName = 0;
constexpr int fieldNameLength = 11;
constexpr int fieldType = 11;
constexpr int fieldLength = 16;
constexpr int fieldDecimals = 17;
constexpr int fieldWorkArea = 20;
constexpr int fieldMdxFlag = 31;
// 48-byte descriptor.
constexpr int field7NameLength = 32;
constexpr int field7Type = 32;
constexpr int field7Length = 33;
constexpr int field7Decimals = 34;
constexpr int field7MdxFlag = 37;
constexpr int field7NextAutoIncrement = 40; // 4 bytes, little-endian, '+' fields

constexpr char headerTerminator = 0x0D;
constexpr char endOfFile = 0x1A;
constexpr char liveFlag = ' ';
constexpr char deletedFlag = '*';

// Language drivers for Windows-1252.
constexpr uint8_t driverBinary = 0x57;     // "DBWINUS0", byte order
constexpr uint8_t driverDictionary = 0x58; // "DBWINWE0", case-insensitive, accents folded
constexpr uint8_t driverSpanish = 0x59;
constexpr uint8_t driverOtherAnsi = 0x03;

constexpr int maxFields = 255;
constexpr int maxRecordLength = 65535;
constexpr int maxTextLength = 254;
constexpr int maxNumberLength = 20;
constexpr int memoPointerLength = 10;

// DBT memo file.
constexpr int memoBlockSize = 512;
constexpr int memoNextFree = 0;
constexpr int memoDbfName = 8;
constexpr int memoBlockSizeOffset = 20;
constexpr uint8_t memoBlockMark[4] = {0xFF, 0xFF, 0x08, 0x00};
constexpr int memoBlockHeader = 8;

} // namespace corvale::db::dbf

#pragma once

#include "db/Collation.h"
#include "db/FieldDef.h"
#include "db/KeyExpression.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

namespace corvale::db {

// One index tag held in memory: every record of the table (deleted ones too, as dBASE
// keeps them) in key order, duplicates in record order.
//
// Keys are memcmp-comparable bytes (text through the table's collation, numbers and dates
// as ordered doubles). They are kept twice: once per record, to find a record's entry
// again, and in the order itself, a list of small blocks of (key, record number) entries.
// The last entry of every block is copied into one array, and that of every group of
// blocks into a shorter one, so a seek is three short binary searches over contiguous
// memory and an insert moves part of one block. Entries of appended records wait in a
// list until the order is next needed, and are then placed together in key order.
class IndexTag {
public:
    struct Position {
        size_t block = 0;
        size_t index = 0;
    };

    // Keys are at most two bytes per character of the widest text column, with room to spare.
    static constexpr size_t maxEntryBytes = 1024;

    // A tag on one column.
    IndexTag(const QString &name, int fieldIndex, const FieldDef &field, Collation collation);
    // A tag on a key expression of the table whose columns are `fields`.
    IndexTag(const QString &name, const KeyExpression &key, const FieldList &fields,
             Collation collation);

    const QString &name() const { return m_name; }
    // The column of a single-column tag, -1 for an expression of several pieces.
    int fieldIndex() const { return m_fieldIndex; }
    // The column, or for an expression a text column as wide as its key.
    const FieldDef &field() const { return m_field; }
    // As the index file stores it: the column name, or the expression.
    const QString &expression() const { return m_expression; }
    // 'C', 'N', 'D' (or 'L') as the MDX stores the tag.
    char keyType() const { return m_keyType; }
    int keyWidth() const { return m_keyWidth; }
    // Numeric keys compare within the column's decimals (0 for integer columns); -1 keeps
    // every digit (doubles, and tags that are not numeric).
    int keyDecimals() const;
    uint64_t version() const { return m_version; }
    bool isBuilt() const { return m_built; }
    uint32_t size() const { return m_size; }

    // The comparable key of a record's bytes (keyWidth() bytes written to `key`).
    void makeKey(const char *record, char *key) const;
    // For a text key: its field().length characters before collation.
    void keyText(const char *record, char *text) const;
    // The comparable key of a value given by the program; throws db::Error naming
    // `tableName` when the value cannot be a key of this tag.
    QByteArray keyFromValue(const QVariant &value, const QString &tableName) const;
    const char *keyOf(uint32_t recno) const { return m_keys.data() + size_t(recno) * m_keyWidth; }

    // Replaces the content with records 1..count whose bytes `record` gives.
    void build(uint32_t count, const std::function<const char *(uint32_t)> &record);
    // Replaces the content with entries given in key order (from an MDX file), one at a
    // time: loadEntry() is false for an entry out of key order, out of range or repeated, and
    // finishLoad() false when records are missing. After a failure, build() the tag.
    void beginLoad(uint32_t count);
    bool loadEntry(const char *key, uint32_t recno);
    uint32_t loadedCount() const { return m_size; }
    bool finishLoad();
    void clear();

    void insert(uint32_t recno, const char *key);
    // The entry of a record just appended, not placed yet: appended entries are placed
    // together by settle(), in key order, at a fraction of the cost of placing them one
    // by one. Reading the order needs a settled tag (TableFile settles a tag before
    // handing it out); insert, remove and update settle first.
    void append(uint32_t recno, const char *key);
    void settle();
    bool isSettled() const { return m_pending.empty(); }
    void remove(uint32_t recno);
    // Moves a record whose key changed.
    void update(uint32_t recno, const char *newKey);

    // First entry not less than (key, recno).
    Position lowerBound(const char *key, uint32_t recno = 0) const;
    // First entry greater than every entry with this key.
    Position upperBound(const char *key) const;
    Position begin() const { return {0, 0}; }
    Position find(uint32_t recno) const { return lowerBound(keyOf(recno), recno); }
    bool atEnd(const Position &p) const { return p.block >= m_blocks.size(); }
    uint32_t recnoAt(const Position &p) const {
        return entryRecno(m_blocks[p.block].data() + p.index * m_stride);
    }
    const char *keyAt(const Position &p) const {
        return m_blocks[p.block].data() + p.index * m_stride;
    }
    // Steps; a step before the first entry leaves atEnd() true.
    void advance(Position &p) const;
    void retreat(Position &p) const;
    Position last() const;

    // Every entry in order, key and record number.
    template <typename Visit> void forEachEntry(Visit &&visit) const {
        Q_ASSERT(m_pending.empty());
        for (const Block &block : m_blocks)
            for (size_t at = 0; at < block.size(); at += m_stride)
                visit(block.data() + at, entryRecno(block.data() + at));
    }

private:
    using Block = std::vector<char>; // entries of m_stride bytes: key, then record number

    uint32_t entryRecno(const char *entry) const {
        uint32_t recno;
        std::memcpy(&recno, entry + m_keyWidth, sizeof recno);
        return recno;
    }
    size_t blockCount(size_t b) const { return m_blocks[b].size() / m_stride; }
    size_t findBlock(const char *key, uint32_t recno) const;
    void refreshTop() const;
    void ensureKeySlots(uint32_t recno);
    void place(uint32_t recno, const char *key);
    void fillBlocks(const std::vector<uint32_t> &order);
    void setHigh(size_t b);

    void initKey();

    QString m_name;
    int m_fieldIndex;
    FieldDef m_field;
    QString m_expression;
    std::optional<KeyExpression> m_pieces; // an expression of several pieces
    Collation m_collation;
    char m_keyType = 'C';
    int m_keyWidth = 0;
    bool m_built = false;
    uint32_t m_size = 0;
    uint64_t m_version = 0;
    size_t m_stride = 4;      // bytes of one entry
    size_t m_blockTarget = 0; // entries of a freshly split block
    std::vector<char> m_keys; // by record number
    std::vector<Block> m_blocks;
    std::vector<char> m_high; // last entry of every block
    // The last entry of every group of blocks, rebuilt after a split or a block's removal.
    mutable std::vector<char> m_top;
    mutable bool m_topStale = true;
    std::vector<char> m_pending; // appended entries not placed yet, m_stride bytes each
    uint32_t m_loadCount = 0;
    bool m_loadUnsorted = false; // equal keys loaded out of record order
    std::vector<bool> m_loadSeen;
};

} // namespace corvale::db

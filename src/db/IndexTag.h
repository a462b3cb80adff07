#pragma once

#include "db/Collation.h"
#include "db/FieldDef.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <vector>

namespace corvale::db {

// One index tag held in memory: every record of the table (deleted ones too, as dBASE
// keeps them) in key order, duplicates in record order.
//
// Keys are stored once per record in a flat array of memcmp-comparable bytes (text
// through the table's collation, numbers and dates as ordered doubles), and the order
// is a list of blocks of record numbers, so that an insert moves at most one block and
// a seek is two binary searches.
class IndexTag {
public:
    struct Position {
        size_t block = 0;
        size_t index = 0;
    };

    IndexTag(const QString &name, int fieldIndex, const FieldDef &field, Collation collation);

    const QString &name() const { return m_name; }
    int fieldIndex() const { return m_fieldIndex; }
    const FieldDef &field() const { return m_field; }
    // 'C', 'N', 'D' (or 'L') as the MDX stores the tag.
    char keyType() const { return m_keyType; }
    int keyWidth() const { return m_keyWidth; }
    uint64_t version() const { return m_version; }
    bool isBuilt() const { return m_built; }
    uint32_t size() const { return m_size; }

    // The comparable key of a record's bytes (keyWidth() bytes written to `key`).
    void makeKey(const char *record, char *key) const;
    // The comparable key of a value given by the program; throws db::Error naming
    // `tableName` when the value cannot be a key of this tag.
    QByteArray keyFromValue(const QVariant &value, const QString &tableName) const;
    const char *keyOf(uint32_t recno) const { return m_keys.data() + size_t(recno) * m_keyWidth; }

    // Replaces the content with records 1..count whose bytes `record` gives.
    void build(uint32_t count, const std::function<const char *(uint32_t)> &record);
    // Replaces the content with keys given already in order (from an MDX file); returns
    // false when they are not in order or a record is missing or repeated.
    bool load(uint32_t count, const std::vector<uint32_t> &order, std::vector<char> &&keys);
    void clear();

    void insert(uint32_t recno, const char *key);
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
    uint32_t recnoAt(const Position &p) const { return m_blocks[p.block][p.index]; }
    // Steps; a step before the first entry leaves atEnd() true.
    void advance(Position &p) const;
    void retreat(Position &p) const;
    Position last() const;

    // Every record number in order.
    void forEach(const std::function<void(uint32_t)> &visit) const;

private:
    int compare(uint32_t recno, const char *key, uint32_t keyRecno) const;
    void ensureKeySlots(uint32_t recno);

    QString m_name;
    int m_fieldIndex;
    FieldDef m_field;
    Collation m_collation;
    char m_keyType = 'C';
    int m_keyWidth = 0;
    bool m_built = false;
    uint32_t m_size = 0;
    uint64_t m_version = 0;
    std::vector<char> m_keys;
    std::vector<std::vector<uint32_t>> m_blocks;
};

} // namespace corvale::db

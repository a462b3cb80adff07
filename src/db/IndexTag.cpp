#include "db/IndexTag.h"

#include "db/Error.h"
#include "db/FieldCodec.h"
#include "db/MdxFormat.h"
#include "platform/Cp1252.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace corvale::db {

namespace {

// Keys are compared a word at a time: numbers and dates are exactly one 8-byte word, and
// most text keys differ within their first eight bytes.
inline int compareKeys(const char *a, const char *b, size_t width) {
    if (width >= 8) {
        const quint64 x = qFromBigEndian<quint64>(a);
        const quint64 y = qFromBigEndian<quint64>(b);
        if (x != y)
            return x < y ? -1 : 1;
        return width == 8 ? 0 : std::memcmp(a + 8, b + 8, width - 8);
    }
    return std::memcmp(a, b, width);
}

// Entries of a block after a split: about 1 KB: a random insert touches few cache lines.
constexpr size_t blockBytes = 1024;
// Blocks per entry of the upper level of the search.
constexpr size_t topStep = 32;

char keyTypeOf(char fieldType) {
    switch (fieldType) {
    case 'N':
    case 'F':
    case 'I':
    case '+':
    case 'O':
    case '@':
        return 'N';
    case 'D':
        return 'D';
    case 'L':
        return 'L';
    default:
        return 'C';
    }
}

// (key, record number) against an entry laid out the same way.
inline int compareEntry(const char *entry, const char *key, uint32_t recno, size_t width) {
    const int c = compareKeys(entry, key, width);
    if (c != 0)
        return c;
    uint32_t r;
    std::memcpy(&r, entry + width, sizeof r);
    return r < recno ? -1 : (r > recno ? 1 : 0);
}

} // namespace

IndexTag::IndexTag(const QString &name, int fieldIndex, const FieldDef &field, Collation collation)
    : m_name(name.toUpper())
    , m_fieldIndex(fieldIndex)
    , m_field(field)
    , m_expression(field.name.toUpper())
    , m_collation(collation)
    , m_keyType(keyTypeOf(field.type)) {
    initKey();
}

IndexTag::IndexTag(const QString &name, const KeyExpression &key, const FieldList &fields,
                   Collation collation)
    : m_name(name.toUpper())
    , m_fieldIndex(key.fieldIndex())
    , m_expression(key.text())
    , m_collation(collation) {
    if (key.isSingleField()) {
        m_field = fields[m_fieldIndex];
        m_keyType = keyTypeOf(m_field.type);
    } else {
        m_field = FieldDef::text(m_name, key.length());
        m_keyType = 'C';
        m_pieces = key;
    }
    initKey();
}

void IndexTag::initKey() {
    switch (m_keyType) {
    case 'N':
    case 'D':
        m_keyWidth = 8;
        break;
    case 'L':
        m_keyWidth = 1;
        break;
    default:
        m_keyWidth = m_collation.sortKeyLength(m_field.length);
        break;
    }
    m_stride = size_t(m_keyWidth) + sizeof(uint32_t);
    m_blockTarget = std::clamp(blockBytes / m_stride, size_t(16), size_t(1024));
}

int IndexTag::keyDecimals() const {
    if (m_keyType != 'N')
        return -1;
    switch (m_field.type) {
    case 'N':
    case 'F':
        return m_field.decimals;
    case 'I':
    case '+':
        return 0;
    default:
        return -1;
    }
}

void IndexTag::keyText(const char *record, char *text) const {
    if (m_pieces)
        m_pieces->write(record, text);
    else
        std::memcpy(text, record + m_field.offset, size_t(m_field.length));
}

void IndexTag::makeKey(const char *record, char *key) const {
    const char *cell = record + m_field.offset;
    switch (m_field.type) {
    case 'N':
    case 'F': {
        double value = 0;
        if (!FieldCodec::parseNumber(cell, m_field.length, &value))
            value = 0;
        FieldCodec::orderedDouble(value, key);
        return;
    }
    case 'I':
    case '+':
        FieldCodec::orderedDouble(
            FieldCodec::isBlank(cell, 4) ? 0.0 : double(FieldCodec::decodeLong(cell)), key);
        return;
    case 'O':
    case '@':
        if (FieldCodec::isBlank(cell, 8))
            FieldCodec::orderedDouble(0.0, key);
        else
            std::memcpy(key, cell, 8); // already an ordered double
        return;
    case 'D':
        FieldCodec::orderedDouble(
            FieldCodec::julianDay(FieldCodec::parseDate(cell, m_field.length)), key);
        return;
    case 'L': {
        const char c = cell[0];
        key[0] = (c == 'T' || c == 't' || c == 'Y' || c == 'y')   ? 2
                 : (c == 'F' || c == 'f' || c == 'N' || c == 'n') ? 1
                                                                  : 0;
        return;
    }
    default:
        if (m_pieces) {
            char text[mdx::maxCharKey];
            m_pieces->write(record, text);
            m_collation.sortKey(text, m_field.length, key);
        } else {
            m_collation.sortKey(cell, m_field.length, key);
        }
        return;
    }
}

QByteArray IndexTag::keyFromValue(const QVariant &value, const QString &tableName) const {
    QByteArray key(m_keyWidth, '\0');
    auto bad = [&]() {
        return Error(QStringLiteral("Il valore \"%1\" non è una chiave valida per l'indice %2 "
                                    "della tabella %3")
                         .arg(value.toString(), m_name, tableName));
    };
    switch (m_keyType) {
    case 'N': {
        double number = 0;
        if (value.isNull() ||
            (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())) {
            number = 0;
        } else if (value.typeId() == QMetaType::QString) {
            const QByteArray text = value.toString().trimmed().toLatin1();
            if (!FieldCodec::parseNumber(text.constData(), int(text.size()), &number))
                throw bad();
        } else {
            bool ok = false;
            number = value.toDouble(&ok);
            if (!ok)
                throw bad();
        }
        // The value as the column would store it, so that 19.99 * 1.1 finds 21.99.
        char cell[64];
        if ((m_field.type == 'N' || m_field.type == 'F') && m_field.length <= int(sizeof cell) &&
            FieldCodec::writeNumber(number, m_field.length, m_field.decimals, cell))
            FieldCodec::parseNumber(cell, m_field.length, &number);
        FieldCodec::orderedDouble(number, key.data());
        break;
    }
    case 'D': {
        QDate date;
        if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime) {
            date = value.toDate();
        } else if (!value.isNull() && !value.toString().trimmed().isEmpty()) {
            const QString text = value.toString().trimmed();
            date = QDate::fromString(text, QStringLiteral("yyyyMMdd"));
            if (!date.isValid())
                date = QDate::fromString(text, QStringLiteral("dd/MM/yyyy"));
            if (!date.isValid())
                throw bad();
        }
        FieldCodec::orderedDouble(FieldCodec::julianDay(date), key.data());
        break;
    }
    case 'L': {
        const QString text = value.toString().trimmed().toUpper();
        const bool truth = value.typeId() == QMetaType::Bool
                               ? value.toBool()
                               : (text == QLatin1String("T") || text == QLatin1String("TRUE") ||
                                  text == QLatin1String("Y"));
        key[0] = value.isNull() ? 0 : (truth ? 2 : 1);
        break;
    }
    default: {
        QByteArray text = Cp1252::encode(value.toString());
        if (text.size() > m_field.length)
            text.truncate(m_field.length);
        text.append(QByteArray(m_field.length - text.size(), ' '));
        m_collation.sortKey(text.constData(), m_field.length, key.data());
        break;
    }
    }
    return key;
}

void IndexTag::ensureKeySlots(uint32_t recno) {
    const size_t needed = (size_t(recno) + 1) * size_t(m_keyWidth);
    if (m_keys.size() < needed) {
        if (m_keys.capacity() < needed)
            m_keys.reserve(std::max(needed, m_keys.capacity() * 3 / 2));
        m_keys.resize(needed);
    }
}

void IndexTag::setHigh(size_t b) {
    const char *last = m_blocks[b].data() + m_blocks[b].size() - m_stride;
    std::memcpy(m_high.data() + b * m_stride, last, m_stride);
    if (!m_topStale && (b + 1) % topStep == 0)
        std::memcpy(m_top.data() + (b / topStep) * m_stride, last, m_stride);
}

void IndexTag::fillBlocks(const std::vector<uint32_t> &order) {
    m_blocks.clear();
    m_high.clear();
    m_topStale = true;
    const size_t width = size_t(m_keyWidth);
    for (size_t i = 0; i < order.size(); i += m_blockTarget) {
        const size_t n = std::min(order.size() - i, m_blockTarget);
        Block block(n * m_stride);
        char *entry = block.data();
        for (size_t k = 0; k < n; ++k, entry += m_stride) {
            const uint32_t recno = order[i + k];
            std::memcpy(entry, keyOf(recno), width);
            std::memcpy(entry + width, &recno, sizeof recno);
        }
        m_blocks.push_back(std::move(block));
        m_high.resize(m_blocks.size() * m_stride);
        setHigh(m_blocks.size() - 1);
    }
}

void IndexTag::build(uint32_t count, const std::function<const char *(uint32_t)> &record) {
    m_loadSeen = {};
    m_pending.clear();
    m_keys.clear();
    ensureKeySlots(count);
    for (uint32_t r = 1; r <= count; ++r)
        makeKey(record(r), m_keys.data() + size_t(r) * m_keyWidth);
    std::vector<uint32_t> order(count);
    for (uint32_t r = 0; r < count; ++r)
        order[r] = r + 1;
    const char *keys = m_keys.data();
    const size_t width = size_t(m_keyWidth);
    std::sort(order.begin(), order.end(), [keys, width](uint32_t a, uint32_t b) {
        const int c = compareKeys(keys + a * width, keys + b * width, width);
        return c != 0 ? c < 0 : a < b;
    });
    fillBlocks(order);
    m_size = count;
    m_built = true;
    ++m_version;
}

void IndexTag::beginLoad(uint32_t count) {
    m_pending.clear();
    m_keys.assign((size_t(count) + 1) * size_t(m_keyWidth), '\0');
    m_blocks.clear();
    m_high.clear();
    m_topStale = true;
    m_size = 0;
    m_built = false;
    m_loadCount = count;
    m_loadUnsorted = false;
    m_loadSeen.assign(size_t(count) + 1, false);
    ++m_version;
}

bool IndexTag::loadEntry(const char *key, uint32_t recno) {
    const size_t width = size_t(m_keyWidth);
    if (recno == 0 || recno > m_loadCount || m_loadSeen[recno])
        return false;
    if (!m_blocks.empty()) {
        // Equal keys may come in any record order (other engines insert them so);
        // finishLoad() puts them in record order.
        const char *last = m_blocks.back().data() + m_blocks.back().size() - m_stride;
        const int c = compareKeys(last, key, width);
        if (c > 0)
            return false;
        if (c == 0 && entryRecno(last) > recno)
            m_loadUnsorted = true;
    }
    m_loadSeen[recno] = true;
    std::memcpy(m_keys.data() + size_t(recno) * width, key, width);
    if (m_blocks.empty() || m_blocks.back().size() >= m_blockTarget * m_stride) {
        m_blocks.emplace_back();
        m_blocks.back().reserve(m_blockTarget * m_stride);
    }
    Block &block = m_blocks.back();
    block.insert(block.end(), key, key + width);
    const char *number = reinterpret_cast<const char *>(&recno);
    block.insert(block.end(), number, number + sizeof recno);
    ++m_size;
    return true;
}

bool IndexTag::finishLoad() {
    m_loadSeen = {};
    if (m_size != m_loadCount)
        return false;
    if (m_loadUnsorted) {
        std::vector<uint32_t> order;
        order.reserve(m_size);
        forEachEntry([&](const char *, uint32_t recno) { order.push_back(recno); });
        const char *keys = m_keys.data();
        const size_t width = size_t(m_keyWidth);
        std::stable_sort(order.begin(), order.end(), [keys, width](uint32_t a, uint32_t b) {
            const int c = compareKeys(keys + a * width, keys + b * width, width);
            return c != 0 ? c < 0 : a < b;
        });
        fillBlocks(order);
    }
    m_high.resize(m_blocks.size() * m_stride);
    for (size_t b = 0; b < m_blocks.size(); ++b)
        setHigh(b);
    m_built = true;
    ++m_version;
    return true;
}

void IndexTag::clear() {
    m_pending.clear();
    m_keys.clear();
    m_blocks.clear();
    m_high.clear();
    m_topStale = true;
    m_size = 0;
    ++m_version;
}

void IndexTag::refreshTop() const {
    const size_t groups = m_blocks.size() / topStep;
    m_top.resize(groups * m_stride);
    for (size_t g = 0; g < groups; ++g)
        std::memcpy(m_top.data() + g * m_stride, m_high.data() + ((g + 1) * topStep - 1) * m_stride,
                    m_stride);
    m_topStale = false;
}

size_t IndexTag::findBlock(const char *key, uint32_t recno) const {
    const size_t width = size_t(m_keyWidth);
    if (m_topStale)
        refreshTop();
    // The group of blocks first, then the block: two short searches, each over a few
    // cache lines, instead of one long one over all the blocks.
    const size_t groups = m_top.size() / m_stride;
    size_t g = 0, gEnd = groups;
    while (g < gEnd) {
        const size_t mid = (g + gEnd) / 2;
        if (compareEntry(m_top.data() + mid * m_stride, key, recno, width) < 0)
            g = mid + 1;
        else
            gEnd = mid;
    }
    // First block whose last entry is not less than the key.
    size_t lo = g * topStep;
    size_t hi = g < groups ? lo + topStep : m_blocks.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (compareEntry(m_high.data() + mid * m_stride, key, recno, width) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

IndexTag::Position IndexTag::lowerBound(const char *key, uint32_t recno) const {
    Q_ASSERT(m_pending.empty());
    const size_t width = size_t(m_keyWidth);
    const size_t lo = findBlock(key, recno);
    if (lo == m_blocks.size())
        return {lo, 0};
    const char *entries = m_blocks[lo].data();
    size_t a = 0, b = blockCount(lo);
    while (a < b) {
        const size_t mid = (a + b) / 2;
        if (compareEntry(entries + mid * m_stride, key, recno, width) < 0)
            a = mid + 1;
        else
            b = mid;
    }
    return {lo, a};
}

IndexTag::Position IndexTag::upperBound(const char *key) const {
    return lowerBound(key, UINT32_MAX);
}

void IndexTag::advance(Position &p) const {
    if (p.block >= m_blocks.size())
        return;
    if (++p.index >= blockCount(p.block)) {
        ++p.block;
        p.index = 0;
    }
}

void IndexTag::retreat(Position &p) const {
    if (p.block >= m_blocks.size()) {
        p = last();
        return;
    }
    if (p.index > 0) {
        --p.index;
        return;
    }
    if (p.block == 0) {
        p = {m_blocks.size(), 0};
        return;
    }
    --p.block;
    p.index = blockCount(p.block) - 1;
}

IndexTag::Position IndexTag::last() const {
    Q_ASSERT(m_pending.empty());
    if (m_blocks.empty())
        return {0, 0};
    return {m_blocks.size() - 1, blockCount(m_blocks.size() - 1) - 1};
}

void IndexTag::place(uint32_t recno, const char *key) {
    const size_t width = size_t(m_keyWidth);
    Position p = lowerBound(key, recno);
    if (m_blocks.empty()) {
        m_blocks.emplace_back();
        m_high.resize(m_stride);
        m_topStale = true;
        p = {0, 0};
    } else if (p.block >= m_blocks.size()) {
        p = {m_blocks.size() - 1, blockCount(m_blocks.size() - 1)};
    }
    Block &block = m_blocks[p.block];
    char entry[maxEntryBytes];
    std::memcpy(entry, key, width);
    std::memcpy(entry + width, &recno, sizeof recno);
    block.insert(block.begin() + long(p.index * m_stride), entry, entry + m_stride);
    if (block.size() > 2 * m_blockTarget * m_stride) {
        Block upper(block.begin() + long(m_blockTarget * m_stride), block.end());
        block.resize(m_blockTarget * m_stride);
        m_blocks.insert(m_blocks.begin() + long(p.block) + 1, std::move(upper));
        m_high.insert(m_high.begin() + long((p.block + 1) * m_stride), m_stride, '\0');
        m_topStale = true;
        setHigh(p.block + 1);
    }
    setHigh(p.block);
}

void IndexTag::insert(uint32_t recno, const char *key) {
    settle();
    ensureKeySlots(recno);
    std::memcpy(m_keys.data() + size_t(recno) * size_t(m_keyWidth), key, size_t(m_keyWidth));
    place(recno, key);
    ++m_size;
    ++m_version;
}

void IndexTag::append(uint32_t recno, const char *key) {
    ensureKeySlots(recno);
    const size_t width = size_t(m_keyWidth);
    std::memcpy(m_keys.data() + size_t(recno) * width, key, width);
    const size_t at = m_pending.size();
    m_pending.resize(at + m_stride);
    std::memcpy(m_pending.data() + at, key, width);
    std::memcpy(m_pending.data() + at + width, &recno, sizeof recno);
    ++m_size;
    ++m_version;
}

void IndexTag::settle() {
    if (m_pending.empty())
        return;
    std::vector<char> pending;
    pending.swap(m_pending);
    const size_t count = pending.size() / m_stride;
    const size_t width = size_t(m_keyWidth);
    // In key order, so that the blocks are visited once each, front to back. The sort
    // compares the keys' first eight bytes held beside each entry's index, and reads the
    // entries themselves only on a tie.
    struct Item {
        uint64_t prefix;
        uint32_t index;
    };
    const char *entries = pending.data();
    const size_t stride = m_stride;
    std::vector<Item> order(count);
    for (size_t i = 0; i < count; ++i) {
        char head[8] = {};
        std::memcpy(head, entries + i * stride, std::min<size_t>(width, 8));
        order[i] = {qFromBigEndian<quint64>(head), uint32_t(i)};
    }
    std::sort(order.begin(), order.end(), [&](const Item &a, const Item &b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        const char *other = entries + size_t(b.index) * stride;
        return compareEntry(entries + size_t(a.index) * stride, other, entryRecno(other), width) <
               0;
    });
    for (const Item &item : order) {
        const char *entry = entries + size_t(item.index) * stride;
        place(entryRecno(entry), entry);
    }
    ++m_version;
}

void IndexTag::remove(uint32_t recno) {
    settle();
    const Position p = find(recno);
    if (atEnd(p) || recnoAt(p) != recno)
        return;
    Block &block = m_blocks[p.block];
    const auto at = block.begin() + long(p.index * m_stride);
    block.erase(at, at + long(m_stride));
    if (block.empty()) {
        m_blocks.erase(m_blocks.begin() + long(p.block));
        const auto high = m_high.begin() + long(p.block * m_stride);
        m_high.erase(high, high + long(m_stride));
        m_topStale = true;
    } else {
        setHigh(p.block);
    }
    --m_size;
    ++m_version;
}

void IndexTag::update(uint32_t recno, const char *newKey) {
    settle();
    if (std::memcmp(keyOf(recno), newKey, size_t(m_keyWidth)) == 0)
        return;
    remove(recno);
    insert(recno, newKey);
}

} // namespace corvale::db

#include "db/MdxFile.h"

#include "db/Error.h"
#include "db/LittleEndian.h"
#include "db/MdxFormat.h"

#include <QDate>
#include <QDir>

#include <algorithm>
#include <cstring>
#include <vector>

namespace corvale::db {

namespace {

QString latin(const char *p, int max) {
    int n = 0;
    while (n < max && p[n] != '\0')
        ++n;
    return QString::fromLatin1(p, n).trimmed();
}

int itemLengthFor(int keyLength) {
    return (keyLength + 4 + 3) / 4 * 4;
}

} // namespace

MdxFile::MdxFile(std::unique_ptr<File> file)
    : m_file(std::move(file)) {
    const QString name = QDir::toNativeSeparators(m_file->path());
    auto damaged = [&](const QString &why) {
        return Error(QStringLiteral("L'indice %1 è danneggiato: %2").arg(name, why));
    };
    m_size = m_file->size();
    const int headerBytes = mdx::headerPages * mdx::pageSize;
    if (m_size < headerBytes)
        throw damaged(QStringLiteral("file troppo corto"));
    std::vector<char> header(size_t(headerBytes), '\0');
    if (m_file->readAt(0, header.data(), headerBytes) != headerBytes)
        throw damaged(QStringLiteral("file troppo corto"));
    const char *h = header.data();
    m_dbfName = latin(h + mdx::offsetDbfName, mdx::dbfNameLength);
    m_blockSize = readU16(h + mdx::offsetBlockSize);
    if (m_blockSize < mdx::pageSize || m_blockSize > 32768 || m_blockSize % mdx::pageSize != 0)
        throw damaged(QStringLiteral("dimensione dei blocchi errata"));
    m_dirty = h[mdx::offsetDirty] != 0;
    const int inUse = readU16(h + mdx::offsetTagsInUse);
    const int slotLength = static_cast<unsigned char>(h[mdx::offsetSlotLength]);
    if (inUse > mdx::maxTags)
        throw damaged(QStringLiteral("numero di indici errato"));
    const int stride = slotLength >= 32 ? slotLength : mdx::slotLength;
    for (int i = 0; i < inUse; ++i) {
        const int at = mdx::tagTable + i * stride;
        if (at + mdx::slotLength > headerBytes)
            throw damaged(QStringLiteral("tabella degli indici incompleta"));
        const char *e = h + at;
        Tag tag;
        tag.headerPage = readU32(e + mdx::entryHeaderPage);
        tag.name = latin(e + mdx::entryName, mdx::entryNameLength).toUpper();
        const qint64 tagAt = qint64(tag.headerPage) * mdx::pageSize;
        if (tag.headerPage < mdx::headerPages || tagAt + mdx::pageSize > m_size)
            throw damaged(QStringLiteral("indice %1 fuori dal file").arg(tag.name));
        char th[mdx::pageSize];
        if (m_file->readAt(tagAt, th, mdx::pageSize) != mdx::pageSize)
            throw damaged(QStringLiteral("indice %1 illeggibile").arg(tag.name));
        tag.rootPage = readU32(th + mdx::tagRootPage);
        tag.flags = static_cast<uint8_t>(th[mdx::tagFlags]);
        tag.keyType = th[mdx::tagKeyType];
        tag.keyLength = readU16(th + mdx::tagKeyLength);
        tag.itemLength = readU16(th + mdx::tagItemLength);
        tag.expression = latin(th + mdx::tagExpression, mdx::tagExpressionLength).toUpper();
        tag.hasFilter = th[mdx::tagHasFilter] != 0;
        if (tag.keyLength <= 0 || tag.keyLength > mdx::maxCharKey ||
            tag.itemLength < tag.keyLength + 4 || tag.itemLength > m_blockSize - 12)
            throw damaged(QStringLiteral("chiave dell'indice %1 errata").arg(tag.name));
        const int fits = (m_blockSize - 12) / tag.itemLength;
        tag.maxKeys = readU16(th + mdx::tagMaxKeys);
        if (tag.maxKeys <= 0 || tag.maxKeys > fits)
            tag.maxKeys = fits;
        m_tags.append(tag);
    }
}

bool MdxFile::walk(const Tag &tag,
                   const std::function<bool(const char *key, uint32_t recno)> &visit,
                   QString *why) {
    auto fail = [&](const QString &text) {
        if (why)
            *why = QStringLiteral("indice %1: %2").arg(tag.name, text);
        return false;
    };
    const int maxEntries = (m_blockSize - 12) / tag.itemLength;
    // Nodes visited at most once each: the file cannot hold more.
    qint64 budget = m_size / mdx::pageSize + 1;
    struct Frame {
        const char *node = nullptr;
        std::vector<char> storage;
        int next = 0;
        int count = 0;
    };
    std::vector<Frame> stack;
    // Walk the mapped file when the file layer maps: no copy, no system call per node.
    const char *mapped = m_file->map();
    if (mapped && m_file->mappedSize() < m_size)
        mapped = nullptr;
    auto load = [&](uint32_t page, Frame &frame) -> bool {
        const qint64 at = qint64(page) * mdx::pageSize;
        if (page < mdx::headerPages || at + m_blockSize > m_size)
            return fail(QStringLiteral("pagina %1 fuori dal file").arg(page));
        if (--budget < 0)
            return fail(QStringLiteral("albero ciclico"));
        if (mapped) {
            frame.node = mapped + at;
        } else {
            frame.storage.assign(size_t(m_blockSize), '\0');
            if (m_file->readAt(at, frame.storage.data(), m_blockSize) != m_blockSize)
                return fail(QStringLiteral("pagina %1 illeggibile").arg(page));
            frame.node = frame.storage.data();
        }
        const uint32_t count = readU32(frame.node);
        if (count > uint32_t(maxEntries))
            return fail(QStringLiteral("pagina %1 con troppe chiavi").arg(page));
        frame.count = int(count);
        frame.next = 0;
        return true;
    };
    if (tag.rootPage == 0)
        return true; // an empty tag
    stack.emplace_back();
    if (!load(tag.rootPage, stack.back()))
        return false;
    while (!stack.empty()) {
        if (stack.size() > 64)
            return fail(QStringLiteral("albero troppo profondo"));
        Frame &frame = stack.back();
        const char *node = frame.node;
        const uint32_t after = readU32(node + mdx::nodeEntries + frame.count * tag.itemLength);
        const bool leaf = frame.count == tag.maxKeys || after == 0;
        if (leaf) {
            for (int i = 0; i < frame.count; ++i) {
                const char *entry = node + mdx::nodeEntries + i * tag.itemLength;
                if (!visit(entry + 4, readU32(entry)))
                    return fail(QStringLiteral("chiavi non valide"));
            }
            stack.pop_back();
            continue;
        }
        if (frame.next > frame.count) {
            stack.pop_back();
            continue;
        }
        const uint32_t child = readU32(node + mdx::nodeEntries + frame.next * tag.itemLength);
        ++frame.next;
        Frame next;
        if (!load(child, next))
            return false;
        stack.push_back(std::move(next));
    }
    return true;
}

namespace {

// The file header with its tag table empty: version, dates, table name and the
// block layout.
std::vector<char> fileHeader(const QString &dbfBaseName, qsizetype tagCount) {
    std::vector<char> header(size_t(mdx::headerPages * mdx::pageSize), '\0');
    char *h = header.data();
    const QDate today = QDate::currentDate();
    h[mdx::offsetVersion] = 2;
    // Years count from 1900, as in the DBF header (126 for 2026).
    h[mdx::offsetDate] = static_cast<char>(std::clamp(today.year() - 1900, 0, 255));
    h[mdx::offsetDate + 1] = static_cast<char>(today.month());
    h[mdx::offsetDate + 2] = static_cast<char>(today.day());
    const QByteArray name = dbfBaseName.toUpper().toLatin1().left(mdx::dbfNameLength - 1);
    std::memcpy(h + mdx::offsetDbfName, name.constData(), size_t(name.size()));
    putU16(h + mdx::offsetPagesPerBlock, mdx::pagesPerBlock);
    putU16(h + mdx::offsetBlockSize, mdx::blockSize);
    h[mdx::offsetProduction] = 1;
    h[mdx::offsetTagSlots] = mdx::tagSlots;
    h[mdx::offsetSlotLength] = mdx::slotLength;
    putU16(h + mdx::offsetTagsInUse, static_cast<uint16_t>(tagCount));
    h[mdx::offsetUpdateDate] = h[mdx::offsetDate];
    h[mdx::offsetUpdateDate + 1] = h[mdx::offsetDate + 1];
    h[mdx::offsetUpdateDate + 2] = h[mdx::offsetDate + 2];
    return header;
}

// Writes blocks one after the other from a first page through a large buffer,
// and says the page each one got.
class BlockWriter {
public:
    BlockWriter(File &file, uint32_t firstPage)
        : m_file(file)
        , m_nextPage(firstPage) {
        m_buffer.reserve(bufferBytes + size_t(mdx::blockSize));
    }

    uint32_t nextPage() const { return m_nextPage; }

    uint32_t put(const char *block) {
        const uint32_t page = m_nextPage;
        if (m_buffer.empty())
            m_bufferStart = qint64(page) * mdx::pageSize;
        m_buffer.insert(m_buffer.end(), block, block + mdx::blockSize);
        m_nextPage += mdx::pagesPerBlock;
        if (m_buffer.size() >= bufferBytes)
            flush();
        return page;
    }

    void flush() {
        if (!m_buffer.empty()) {
            m_file.writeAt(m_bufferStart, m_buffer.data(), qint64(m_buffer.size()));
            m_file.startSync(); // the tree goes to the disk while the rest is built
        }
        m_buffer.clear();
    }

private:
    static constexpr size_t bufferBytes = 4 << 20;

    File &m_file;
    uint32_t m_nextPage;
    std::vector<char> m_buffer;
    qint64 m_bufferStart = 0;
};

// One level of the tree as it is built: each node's page and highest key.
struct Level {
    std::vector<uint32_t> pages;
    std::vector<char> highKeys; // keyLength bytes per node
    void add(uint32_t page, const char *highKey, int keyLength) {
        pages.push_back(page);
        highKeys.insert(highKeys.end(), highKey, highKey + keyLength);
    }
};

struct WrittenTree {
    uint32_t root = 0;
    uint32_t entries = 0;
};

// The leaves of one tag, full but the last; an empty tag gets one empty leaf.
Level writeLeaves(const MdxFile::TagSource &tag, int maxKeys, BlockWriter &out, uint32_t &entries) {
    const int keyLength = tag.keyLength;
    const int item = itemLengthFor(keyLength);
    std::vector<char> node(size_t(mdx::blockSize), '\0');
    Level level;
    int count = 0;
    auto flushLeaf = [&]() {
        putU32(node.data(), uint32_t(count));
        const char *last = node.data() + mdx::nodeEntries + std::max(count - 1, 0) * item + 4;
        level.add(out.put(node.data()), last, keyLength);
        std::memset(node.data(), 0, node.size());
        count = 0;
    };
    entries = 0;
    tag.entries([&](const char *key, uint32_t recno) {
        char *entry = node.data() + mdx::nodeEntries + count * item;
        putU32(entry, recno);
        std::memcpy(entry + 4, key, size_t(keyLength));
        ++entries;
        if (++count == maxKeys)
            flushLeaf();
    });
    if (count > 0 || entries == 0)
        flushLeaf();
    return level;
}

// The interior levels over the leaves, up to the root. k children carry k - 1
// keys and a last pointer. Other engines take a node holding the maximum
// number of keys for a leaf, so an interior node holds at most maxKeys - 1
// keys; the children are shared out evenly, so that no node is left with a
// single child.
uint32_t writeInterior(Level level, int keyLength, int maxKeys, BlockWriter &out) {
    const int item = itemLengthFor(keyLength);
    std::vector<char> node(size_t(mdx::blockSize), '\0');
    while (level.pages.size() > 1) {
        Level upper;
        size_t i = 0;
        const size_t children = level.pages.size();
        const size_t nodes = (children + size_t(maxKeys) - 1) / size_t(maxKeys);
        for (size_t n = 0; n < nodes; ++n) {
            const size_t take = children / nodes + (n < children % nodes ? 1 : 0);
            std::memset(node.data(), 0, node.size());
            for (size_t k = 0; k < take; ++k) {
                char *entry = node.data() + mdx::nodeEntries + k * item;
                putU32(entry, level.pages[i + k]);
                if (k + 1 < take)
                    std::memcpy(entry + 4, level.highKeys.data() + (i + k) * size_t(keyLength),
                                size_t(keyLength));
            }
            putU32(node.data(), uint32_t(take - 1));
            upper.add(out.put(node.data()),
                      level.highKeys.data() + (i + take - 1) * size_t(keyLength), keyLength);
            i += take;
        }
        level = std::move(upper);
    }
    // An interior node of one child would have no keys; a single leaf is the root.
    return level.pages.front();
}

std::vector<char> tagHeader(const MdxFile::TagSource &tag, int maxKeys, const WrittenTree &tree,
                            uint32_t pagesAllocated) {
    std::vector<char> th(size_t(mdx::blockSize), '\0');
    putU32(th.data() + mdx::tagRootPage, tree.root);
    putU32(th.data() + mdx::tagPagesAllocated, pagesAllocated);
    th[mdx::tagFlags] = static_cast<char>(tag.field ? mdx::flagField : 0);
    th[mdx::tagKeyType] = tag.keyType;
    putU16(th.data() + mdx::tagKeyLength, static_cast<uint16_t>(tag.keyLength));
    putU16(th.data() + mdx::tagMaxKeys, static_cast<uint16_t>(maxKeys));
    putU16(th.data() + mdx::tagItemLength, static_cast<uint16_t>(itemLengthFor(tag.keyLength)));
    const QByteArray expression =
        tag.expression.toUpper().toLatin1().left(mdx::tagExpressionLength - 1);
    std::memcpy(th.data() + mdx::tagExpression, expression.constData(), size_t(expression.size()));
    th[mdx::tagHasKeys] = tree.entries > 0 ? 1 : 0;
    return th;
}

// The tag's slot in the file header's tag table.
void putTagSlot(char *slot, const MdxFile::TagSource &tag, uint32_t tagPage) {
    putU32(slot + mdx::entryHeaderPage, tagPage);
    const QByteArray tagName = tag.name.toUpper().toLatin1().left(mdx::entryNameLength - 1);
    std::memcpy(slot + mdx::entryName, tagName.constData(), size_t(tagName.size()));
    slot[mdx::entryKeyFormat] = tag.field ? 0x10 : 0x00;
    slot[mdx::entryMark] = 0x02;
    slot[mdx::entryKeyType] = tag.keyType;
}

} // namespace

void MdxFile::write(File &file, const QString &dbfBaseName, const QList<TagSource> &tags) {
    if (tags.size() > mdx::maxTags)
        throw Error(QStringLiteral("Troppi indici per il file %1").arg(file.path()));
    const uint32_t pagesPer = mdx::pagesPerBlock;
    const uint32_t firstTagPage = mdx::headerPages;
    std::vector<char> header = fileHeader(dbfBaseName, tags.size());

    // Tag headers take the blocks right after the file header, one per tag in order, so
    // that rewriting a file in place never overwrites the definition of a tag it keeps
    // before the new one is written. Nodes follow, written as they fill, level by level,
    // through a large buffer; the tag headers and then the file header go last, so that
    // a reader never sees a tag table pointing at unwritten pages.
    BlockWriter out(file, firstTagPage + uint32_t(tags.size()) * pagesPer);
    std::vector<std::pair<uint32_t, std::vector<char>>> tagHeaders;
    for (int t = 0; t < tags.size(); ++t) {
        const TagSource &tag = tags[t];
        const int maxKeys = (mdx::blockSize - 12) / itemLengthFor(tag.keyLength);
        const uint32_t tagPage = firstTagPage + uint32_t(t) * pagesPer;
        const uint32_t firstNodePage = out.nextPage();
        WrittenTree tree;
        Level leaves = writeLeaves(tag, maxKeys, out, tree.entries);
        tree.root = writeInterior(std::move(leaves), tag.keyLength, maxKeys, out);
        tagHeaders.emplace_back(
            tagPage, tagHeader(tag, maxKeys, tree, out.nextPage() - firstNodePage + pagesPer));
        putTagSlot(header.data() + mdx::tagTable + t * mdx::slotLength, tag, tagPage);
    }
    out.flush();
    for (const auto &[page, bytes] : tagHeaders)
        file.writeAt(qint64(page) * mdx::pageSize, bytes.data(), mdx::blockSize);
    const uint32_t filePages = out.nextPage();
    putU32(header.data() + mdx::offsetFilePages, filePages);
    putU32(header.data() + mdx::offsetFirstFreePage, filePages);
    file.resize(qint64(filePages) * mdx::pageSize);
    // The tree on the disk before the header that vouches for it.
    file.sync();
    file.writeAt(0, header.data(), qint64(header.size()));
}

bool MdxFile::hasFixedTagHeaders() const {
    for (int i = 0; i < m_tags.size(); ++i)
        if (m_tags[i].headerPage != uint32_t(mdx::headerPages + i * mdx::pagesPerBlock))
            return false;
    return m_blockSize == mdx::blockSize;
}

void MdxFile::setDirty(File &file, bool dirty) {
    const char flag = dirty ? 1 : 0;
    file.writeAt(mdx::offsetDirty, &flag, 1);
}

} // namespace corvale::db

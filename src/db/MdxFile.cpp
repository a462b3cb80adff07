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

void MdxFile::write(File &file, const QString &dbfBaseName, const QList<TagSource> &tags) {
    if (tags.size() > mdx::maxTags)
        throw Error(QStringLiteral("Troppi indici per il file %1").arg(file.path()));
    const int block = mdx::blockSize;
    const int pagesPer = mdx::pagesPerBlock;
    const uint32_t firstTagPage = mdx::headerPages;
    uint32_t nextPage = mdx::headerPages;
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
    putU16(h + mdx::offsetPagesPerBlock, pagesPer);
    putU16(h + mdx::offsetBlockSize, block);
    h[mdx::offsetProduction] = 1;
    h[mdx::offsetTagSlots] = mdx::tagSlots;
    h[mdx::offsetSlotLength] = mdx::slotLength;
    putU16(h + mdx::offsetTagsInUse, static_cast<uint16_t>(tags.size()));
    h[mdx::offsetUpdateDate] = h[mdx::offsetDate];
    h[mdx::offsetUpdateDate + 1] = h[mdx::offsetDate + 1];
    h[mdx::offsetUpdateDate + 2] = h[mdx::offsetDate + 2];

    // Tag headers take the blocks right after the file header, one per tag in order, so
    // that rewriting a file in place never overwrites the definition of a tag it keeps
    // before the new one is written. Nodes follow, written as they fill, level by level,
    // through a large buffer; the tag headers and then the file header go last, so that
    // a reader never sees a tag table pointing at unwritten pages.
    constexpr size_t bufferBytes = 4 << 20;
    std::vector<char> buffer;
    buffer.reserve(bufferBytes + size_t(block));
    qint64 bufferStart = 0;
    auto flushBuffer = [&]() {
        if (!buffer.empty()) {
            file.writeAt(bufferStart, buffer.data(), qint64(buffer.size()));
            file.startSync(); // the tree goes to the disk while the rest is built
        }
        buffer.clear();
    };
    auto putBlock = [&](const char *data) {
        const uint32_t page = nextPage;
        if (buffer.empty())
            bufferStart = qint64(page) * mdx::pageSize;
        buffer.insert(buffer.end(), data, data + block);
        nextPage += pagesPer;
        if (buffer.size() >= bufferBytes)
            flushBuffer();
        return page;
    };
    nextPage = firstTagPage + uint32_t(tags.size()) * uint32_t(pagesPer);
    std::vector<std::pair<uint32_t, std::vector<char>>> tagHeaders;
    std::vector<char> node(size_t(block), '\0');
    for (int t = 0; t < tags.size(); ++t) {
        const TagSource &tag = tags[t];
        const int keyLength = tag.keyLength;
        const int item = itemLengthFor(keyLength);
        const int maxKeys = (block - 12) / item;
        std::fill(node.begin(), node.end(), '\0');
        const uint32_t tagPage = firstTagPage + uint32_t(t) * uint32_t(pagesPer);
        const uint32_t firstNodePage = nextPage;

        // One level of the tree as it is built: each node's page and highest key.
        struct Level {
            std::vector<uint32_t> pages;
            std::vector<char> highKeys; // keyLength bytes per node
            void add(uint32_t page, const char *highKey, int keyLength) {
                pages.push_back(page);
                highKeys.insert(highKeys.end(), highKey, highKey + keyLength);
            }
        };
        Level level;
        // Leaves.
        int count = 0;
        auto flushLeaf = [&]() {
            putU32(node.data(), uint32_t(count));
            const char *last = node.data() + mdx::nodeEntries + std::max(count - 1, 0) * item + 4;
            level.add(putBlock(node.data()), last, keyLength);
            std::memset(node.data(), 0, node.size());
            count = 0;
        };
        uint32_t entries = 0;
        tag.entries([&](const char *key, uint32_t recno) {
            char *entry = node.data() + mdx::nodeEntries + count * item;
            putU32(entry, recno);
            std::memcpy(entry + 4, key, size_t(keyLength));
            ++entries;
            if (++count == maxKeys)
                flushLeaf();
        });
        if (count > 0 || (entries == 0))
            flushLeaf();
        // Interior levels: k children carry k - 1 keys and a last pointer. Other engines
        // take a node holding the maximum number of keys for a leaf, so an interior node
        // holds at most maxKeys - 1 keys; the children are shared out evenly, so that no
        // node is left with a single child.
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
                upper.add(putBlock(node.data()),
                          level.highKeys.data() + (i + take - 1) * size_t(keyLength), keyLength);
                i += take;
            }
            level = std::move(upper);
        }
        // An interior node of one child would have no keys; a single leaf is the root.
        const uint32_t root = level.pages.front();

        std::vector<char> th(size_t(block), '\0');
        putU32(th.data() + mdx::tagRootPage, root);
        putU32(th.data() + mdx::tagPagesAllocated, nextPage - firstNodePage + uint32_t(pagesPer));
        th[mdx::tagFlags] = static_cast<char>(tag.field ? mdx::flagField : 0);
        th[mdx::tagKeyType] = tag.keyType;
        putU16(th.data() + mdx::tagKeyLength, static_cast<uint16_t>(keyLength));
        putU16(th.data() + mdx::tagMaxKeys, static_cast<uint16_t>(maxKeys));
        putU16(th.data() + mdx::tagItemLength, static_cast<uint16_t>(item));
        const QByteArray expression =
            tag.expression.toUpper().toLatin1().left(mdx::tagExpressionLength - 1);
        std::memcpy(th.data() + mdx::tagExpression, expression.constData(),
                    size_t(expression.size()));
        th[mdx::tagHasKeys] = entries > 0 ? 1 : 0;
        tagHeaders.emplace_back(tagPage, std::move(th));

        char *e = h + mdx::tagTable + t * mdx::slotLength;
        putU32(e + mdx::entryHeaderPage, tagPage);
        const QByteArray tagName = tag.name.toUpper().toLatin1().left(mdx::entryNameLength - 1);
        std::memcpy(e + mdx::entryName, tagName.constData(), size_t(tagName.size()));
        e[mdx::entryKeyFormat] = tag.field ? 0x10 : 0x00;
        e[mdx::entryMark] = 0x02;
        e[mdx::entryKeyType] = tag.keyType;
    }
    flushBuffer();
    for (const auto &[page, bytes] : tagHeaders)
        file.writeAt(qint64(page) * mdx::pageSize, bytes.data(), block);
    putU32(h + mdx::offsetFilePages, nextPage);
    putU32(h + mdx::offsetFirstFreePage, nextPage);
    file.resize(qint64(nextPage) * mdx::pageSize);
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

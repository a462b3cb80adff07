#include "db/MemoFile.h"

#include "db/DbfFormat.h"
#include "db/Error.h"
#include "db/LittleEndian.h"

#include <QDir>

#include <cstring>

namespace corvale::db {

namespace {

// A memo larger than this is taken as a damaged length field.
constexpr qint64 maxValueLength = 256ll * 1024 * 1024;

} // namespace

MemoFile::MemoFile(std::unique_ptr<File> file, bool ivLayout, bool writable)
    : m_file(std::move(file))
    , m_ivLayout(ivLayout)
    , m_writable(writable) {
    char header[24] = {};
    const qint64 got = m_file->readAt(0, header, sizeof header);
    if (got < 4)
        throw Error(QStringLiteral("Il file memo %1 è danneggiato: intestazione mancante")
                        .arg(QDir::toNativeSeparators(path())));
    m_nextFree = readU32(header + dbf::memoNextFree);
    if (m_ivLayout && got >= 22) {
        const int size = static_cast<unsigned char>(header[dbf::memoBlockSizeOffset]) |
                         (static_cast<unsigned char>(header[dbf::memoBlockSizeOffset + 1]) << 8);
        if (size >= 64 && size % 64 == 0)
            m_blockSize = size;
    }
    // New values go after the end of the file, whatever the header says: a pointer
    // inside the used blocks would overwrite values, one far behind the end would grow
    // the file by the gap.
    const uint32_t bySize = blocksFor(m_file->size());
    m_nextFree = qMax<uint32_t>(1, bySize);
}

QByteArray MemoFile::emptyHeader(const QString &dbfBaseName, int blockSize) {
    QByteArray header(blockSize, '\0');
    putU32(header.data() + dbf::memoNextFree, 1);
    const QByteArray name = dbfBaseName.toUpper().toLatin1().left(8);
    std::memcpy(header.data() + dbf::memoDbfName, name.constData(), size_t(name.size()));
    header[dbf::memoBlockSizeOffset] = static_cast<char>(blockSize & 0xFF);
    header[dbf::memoBlockSizeOffset + 1] = static_cast<char>(blockSize >> 8);
    return header;
}

uint32_t MemoFile::blocksFor(qint64 bytes) const {
    return static_cast<uint32_t>((bytes + m_blockSize - 1) / m_blockSize);
}

qint64 MemoFile::valueLength(uint32_t block, bool *ivBlock) {
    const qint64 size = m_file->size();
    const qint64 start = qint64(block) * m_blockSize;
    if (block == 0 || start >= size)
        return -1;
    char head[8] = {};
    const qint64 got = m_file->readAt(start, head, 8);
    *ivBlock = got == 8 && std::memcmp(head, dbf::memoBlockMark, 4) == 0;
    if (*ivBlock) {
        const qint64 total = readU32(head + 4);
        if (total < dbf::memoBlockHeader || total - dbf::memoBlockHeader > maxValueLength ||
            start + total > size)
            return -1;
        return total - dbf::memoBlockHeader;
    }
    // III layout: up to the 0x1A 0x1A pair (or the end of the file).
    QByteArray chunk(4096, Qt::Uninitialized);
    qint64 pos = start;
    char previous = 0;
    while (pos < size) {
        const qint64 n = m_file->readAt(pos, chunk.data(), chunk.size());
        if (n <= 0)
            break;
        for (qint64 i = 0; i < n; ++i) {
            if (chunk[i] == dbf::endOfFile && previous == dbf::endOfFile)
                return pos + i - 1 - start;
            previous = chunk[i];
        }
        pos += n;
        if (pos - start > maxValueLength)
            return -1;
    }
    // A single 0x1A at the very end also closes a value.
    qint64 length = size - start;
    if (length > 0 && previous == dbf::endOfFile)
        --length;
    return length;
}

QByteArray MemoFile::read(uint32_t block) {
    if (block == 0)
        return {};
    bool iv = false;
    const qint64 length = valueLength(block, &iv);
    if (length < 0)
        throw Error(QStringLiteral("Il file memo %1 è danneggiato: blocco %2 non valido")
                        .arg(QDir::toNativeSeparators(path()))
                        .arg(block));
    QByteArray value(length, Qt::Uninitialized);
    const qint64 start = qint64(block) * m_blockSize + (iv ? dbf::memoBlockHeader : 0);
    if (m_file->readAt(start, value.data(), length) != length)
        throw Error(QStringLiteral("Errore di lettura del file memo %1")
                        .arg(QDir::toNativeSeparators(path())));
    return value;
}

bool MemoFile::check(uint32_t block, QString *why) {
    bool iv = false;
    if (valueLength(block, &iv) < 0) {
        if (why)
            *why =
                QStringLiteral("blocco %1 fuori dal file memo o con lunghezza errata").arg(block);
        return false;
    }
    return true;
}

uint32_t MemoFile::write(QByteArrayView data) {
    if (!m_writable)
        throw Error(QStringLiteral("Il file memo %1 è aperto in sola lettura")
                        .arg(QDir::toNativeSeparators(path())));
    if (data.isEmpty())
        return 0;
    if (!m_ivLayout) {
        if (QByteArrayView(data).indexOf(QByteArrayView("\x1A\x1A", 2)) >= 0)
            throw Error(QStringLiteral("Il file memo %1 (dBASE III) non può contenere dati binari")
                            .arg(QDir::toNativeSeparators(path())));
        QByteArray bytes(data.data(), data.size());
        bytes.append("\x1A\x1A", 2);
        const uint32_t block = m_nextFree;
        const uint32_t used = blocksFor(bytes.size());
        bytes.append(QByteArray(qint64(used) * m_blockSize - bytes.size(), '\0'));
        m_file->writeAt(qint64(block) * m_blockSize, bytes.constData(), bytes.size());
        m_nextFree = block + used;
        char next[4];
        putU32(next, m_nextFree);
        m_file->writeAt(0, next, 4);
        return block;
    }
    const qint64 total = data.size() + dbf::memoBlockHeader;
    const uint32_t needed = blocksFor(total);
    QByteArray bytes(qint64(needed) * m_blockSize, '\0');
    std::memcpy(bytes.data(), dbf::memoBlockMark, 4);
    putU32(bytes.data() + 4, static_cast<uint32_t>(total));
    std::memcpy(bytes.data() + dbf::memoBlockHeader, data.data(), size_t(data.size()));

    // New blocks first, pointer after: a crash in between only leaves unused blocks.
    const uint32_t block = m_nextFree;
    m_file->writeAt(qint64(block) * m_blockSize, bytes.constData(), bytes.size());
    m_nextFree = block + needed;
    char next[4];
    putU32(next, m_nextFree);
    m_file->writeAt(0, next, 4);
    return block;
}

void MemoFile::clear() {
    m_file->resize(m_blockSize);
    m_nextFree = 1;
    char next[4];
    putU32(next, m_nextFree);
    m_file->writeAt(0, next, 4);
}

} // namespace corvale::db

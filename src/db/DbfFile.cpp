#include "db/DbfFile.h"

#include "db/DbfFormat.h"
#include "db/Error.h"
#include "db/FieldCodec.h"
#include "db/LittleEndian.h"
#include "platform/Cp1252.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace corvale::db {

namespace {

void putDate(char *p, const QDate &date) {
    p[0] = static_cast<char>(qBound(0, date.year() - 1900, 255));
    p[1] = static_cast<char>(date.month());
    p[2] = static_cast<char>(date.day());
}

// Types whose width the format fixes.
int fixedLength(char type) {
    switch (type) {
    case 'D':
    case 'O':
    case '@':
        return 8;
    case 'L':
        return 1;
    case 'I':
    case '+':
        return 4;
    default:
        return 0;
    }
}

// Record count and the recently written records are not mapped; remapping costs a
// system call, so it is done only when enough new records accumulated.
constexpr uint32_t remapThreshold = 4096;

} // namespace

DbfFile::DbfFile(std::unique_ptr<File> file, bool writable, bool *repaired)
    : m_file(std::move(file))
    , m_writable(writable) {
    parse(repaired);
}

DbfFile::~DbfFile() {
    try {
        writeHeaderCount();
    } catch (const Error &) {
        // Repaired from the file size at the next opening.
    }
    m_file->unmap();
}

void DbfFile::writeHeaderCount() {
    if (m_countPending && m_writable)
        writeCount();
}

QString DbfFile::fileName() const {
    return QFileInfo(m_file->path()).fileName();
}

void DbfFile::parse(bool *repaired) {
    if (repaired)
        *repaired = false;
    const QString name = QDir::toNativeSeparators(m_file->path());
    auto corrupt = [&](const QString &why) {
        return Error(
            QStringLiteral("Il file %1 non è una tabella dBASE valida: %2").arg(name, why));
    };

    const qint64 size = m_file->size();
    char head[dbf::headerSize];
    if (size < dbf::headerSize + 1 || m_file->readAt(0, head, dbf::headerSize) != dbf::headerSize)
        throw corrupt(QStringLiteral("intestazione troppo corta"));

    m_version = static_cast<uint8_t>(head[0]);
    const int level = m_version & dbf::levelMask;
    if (level != dbf::level3 && level != dbf::level7)
        throw corrupt(QStringLiteral("versione %1 non supportata")
                          .arg(QStringLiteral("0x%1").arg(m_version, 2, 16, QLatin1Char('0'))));
    const bool level7 = level == dbf::level7;
    const int y = static_cast<unsigned char>(head[1]);
    m_lastUpdate =
        QDate(1900 + y, static_cast<unsigned char>(head[2]), static_cast<unsigned char>(head[3]));
    m_headerCount = readU32(head + dbf::offsetRecordCount);
    m_headerLength = readU16(head + dbf::offsetHeaderLength);
    m_recordLength = readU16(head + dbf::offsetRecordLength);
    m_productionMdx = head[dbf::offsetMdxFlag] != 0;
    m_languageDriver = static_cast<uint8_t>(head[dbf::offsetLanguageDriver]);

    const int descriptorsStart = level7 ? dbf::level7DescriptorsStart : dbf::headerSize;
    const int descriptorSize = level7 ? dbf::level7DescriptorSize : dbf::descriptorSize;
    if (m_headerLength < descriptorsStart + 1 || m_headerLength > size)
        throw corrupt(QStringLiteral("lunghezza dell'intestazione errata"));
    if (m_recordLength < 2)
        throw corrupt(QStringLiteral("lunghezza del record errata"));

    QByteArray header(m_headerLength, '\0');
    if (m_file->readAt(0, header.data(), m_headerLength) != m_headerLength)
        throw corrupt(QStringLiteral("intestazione troppo corta"));
    if (level7) {
        m_level7Driver = header.mid(dbf::level7DriverName, dbf::level7DriverNameLength);
        const int nul = m_level7Driver.indexOf('\0');
        if (nul >= 0)
            m_level7Driver.truncate(nul);
    }

    int offset = 1;
    int pos = descriptorsStart;
    m_fields.clear();
    m_descriptorOffsets.clear();
    while (true) {
        if (pos >= m_headerLength) {
            // Some writers omit the terminator when the header ends right after the
            // descriptors.
            break;
        }
        if (header[pos] == dbf::headerTerminator)
            break;
        if (pos + descriptorSize > m_headerLength)
            throw corrupt(QStringLiteral("descrittori dei campi incompleti"));
        const char *d = header.constData() + pos;
        FieldDef field;
        const int nameLength = level7 ? dbf::field7NameLength : dbf::fieldNameLength;
        int n = 0;
        while (n < nameLength && d[n] != '\0')
            ++n;
        field.name = Cp1252::decode(QByteArrayView(d, n)).trimmed().toUpper();
        field.type = level7 ? d[dbf::field7Type] : d[dbf::fieldType];
        field.length =
            static_cast<unsigned char>(level7 ? d[dbf::field7Length] : d[dbf::fieldLength]);
        field.decimals =
            static_cast<unsigned char>(level7 ? d[dbf::field7Decimals] : d[dbf::fieldDecimals]);
        field.tagged = (level7 ? d[dbf::field7MdxFlag] : d[dbf::fieldMdxFlag]) != 0;
        if (level7)
            field.nextValue = readU32(d + dbf::field7NextAutoIncrement);
        if (field.type >= 'a' && field.type <= 'z')
            field.type = static_cast<char>(field.type - 'a' + 'A');
        if (field.length == 0)
            throw corrupt(QStringLiteral("il campo %1 ha lunghezza zero").arg(field.name));
        const int fixed = fixedLength(field.type);
        if (fixed && field.length != fixed)
            throw corrupt(QStringLiteral("il campo %1 ha una lunghezza errata").arg(field.name));
        if (field.decimals >= field.length && (field.type == 'N' || field.type == 'F'))
            field.decimals = 0;
        if (field.type != 'N' && field.type != 'F')
            field.decimals = 0;
        field.offset = offset;
        offset += field.length;
        if (offset > m_recordLength)
            throw corrupt(QStringLiteral("i campi superano la lunghezza del record"));
        if (m_fields.size() >= 1024)
            throw corrupt(QStringLiteral("troppi campi"));
        m_fields.append(field);
        m_descriptorOffsets.append(pos);
        pos += descriptorSize;
    }
    if (m_fields.isEmpty())
        throw corrupt(QStringLiteral("nessun campo"));
    if (pos + 1 < m_headerLength)
        m_trailer = header.mid(pos + 1);

    // The file size is the truth: the header count may lag after a crash.
    const qint64 body = size - m_headerLength;
    const uint32_t real = static_cast<uint32_t>(qMin<qint64>(body / m_recordLength, 0xFFFFFFFFll));
    m_recordCount = real;
    if (real != m_headerCount) {
        if (repaired)
            *repaired = true;
        if (m_writable) {
            // Drop a half-written record at the end and put the end mark back.
            const qint64 end = qint64(m_headerLength) + qint64(real) * m_recordLength;
            if (size > end + 1)
                m_file->resize(end + 1);
            const char eof = dbf::endOfFile;
            if (size != end)
                m_file->writeAt(end, &eof, 1);
            writeCount();
        }
    }
    m_scratch.resize(m_recordLength);
    m_map = m_file->map();
    m_mappedRecords = 0;
    if (m_map) {
        const qint64 mapped = m_file->mappedSize() - m_headerLength;
        m_mappedRecords =
            static_cast<uint32_t>(qBound<qint64>(0, mapped / m_recordLength, m_recordCount));
    }
}

QByteArray DbfFile::buildHeader(FieldList &fields, uint8_t version, uint8_t languageDriver,
                                bool productionMdx, uint32_t recordCount, bool level7,
                                const QByteArray &level7Driver, const QByteArray &trailer) {
    const int descriptorsStart = level7 ? dbf::level7DescriptorsStart : dbf::headerSize;
    const int descriptorSize = level7 ? dbf::level7DescriptorSize : dbf::descriptorSize;
    const int headerLength =
        descriptorsStart + descriptorSize * int(fields.size()) + 1 + int(trailer.size());
    QByteArray header(headerLength, '\0');
    char *h = header.data();
    h[0] = static_cast<char>(version);
    putDate(h + dbf::offsetDate, QDate::currentDate());
    putU32(h + dbf::offsetRecordCount, recordCount);
    putU16(h + dbf::offsetHeaderLength, static_cast<uint16_t>(headerLength));
    putU16(h + dbf::offsetRecordLength, static_cast<uint16_t>(recordLengthOf(fields)));
    h[dbf::offsetMdxFlag] = productionMdx ? 1 : 0;
    h[dbf::offsetLanguageDriver] = static_cast<char>(languageDriver);
    if (level7)
        std::memcpy(h + dbf::level7DriverName, level7Driver.constData(),
                    size_t(qMin<qsizetype>(level7Driver.size(), dbf::level7DriverNameLength)));
    int offset = 1;
    for (int i = 0; i < fields.size(); ++i) {
        FieldDef &field = fields[i];
        field.offset = offset;
        offset += field.length;
        char *d = h + descriptorsStart + i * descriptorSize;
        const QByteArray name = Cp1252::encode(field.name.toUpper());
        const int nameLength = level7 ? dbf::field7NameLength : dbf::fieldNameLength - 1;
        std::memcpy(d, name.constData(), size_t(qMin<qsizetype>(name.size(), nameLength)));
        if (level7) {
            d[dbf::field7Type] = field.type;
            d[dbf::field7Length] = static_cast<char>(field.length);
            d[dbf::field7Decimals] = static_cast<char>(field.decimals);
            d[dbf::field7MdxFlag] = field.tagged ? 1 : 0;
            if (field.type == '+')
                putU32(d + dbf::field7NextAutoIncrement, field.nextValue);
        } else {
            d[dbf::fieldType] = field.type;
            d[dbf::fieldLength] = static_cast<char>(field.length);
            d[dbf::fieldDecimals] = static_cast<char>(field.decimals);
            d[dbf::fieldMdxFlag] = field.tagged ? 1 : 0;
        }
    }
    h[descriptorsStart + descriptorSize * fields.size()] = dbf::headerTerminator;
    if (!trailer.isEmpty())
        std::memcpy(h + descriptorsStart + descriptorSize * fields.size() + 1, trailer.constData(),
                    size_t(trailer.size()));
    return header;
}

int DbfFile::recordLengthOf(const FieldList &fields) {
    int length = 1;
    for (const FieldDef &field : fields)
        length += field.length;
    return length;
}

const char *DbfFile::record(uint32_t recno) {
    if (recno == 0 || recno > m_recordCount)
        throw Error(
            QStringLiteral("Record %1 inesistente nella tabella %2").arg(recno).arg(fileName()));
    // Records past the mapped view (appended since it was made) are read one
    // by one until enough of them gathered to be worth a new view: counted
    // over the table, not from the record asked for, so that a table emptied
    // and filled again is not read a record at a time up to the threshold.
    if (recno > m_mappedRecords && m_map && m_recordCount - m_mappedRecords > remapThreshold) {
        m_map = m_file->map();
        m_mappedRecords = 0;
        if (m_map) {
            const qint64 mapped = m_file->mappedSize() - m_headerLength;
            m_mappedRecords =
                static_cast<uint32_t>(qBound<qint64>(0, mapped / m_recordLength, m_recordCount));
        }
    }
    const qint64 pos = qint64(m_headerLength) + qint64(recno - 1) * m_recordLength;
    if (m_map && recno <= m_mappedRecords)
        return m_map + pos;
    if (m_file->readAt(pos, m_scratch.data(), m_recordLength) != m_recordLength)
        throw Error(QStringLiteral("Errore di lettura del record %1 della tabella %2")
                        .arg(recno)
                        .arg(fileName()));
    return m_scratch.constData();
}

void DbfFile::requireWritable() const {
    if (!m_writable)
        throw Error(QStringLiteral("La tabella %1 è aperta in sola lettura").arg(fileName()));
}

void DbfFile::writeRecord(uint32_t recno, const char *data) {
    requireWritable();
    if (recno == 0 || recno > m_recordCount)
        throw Error(
            QStringLiteral("Record %1 inesistente nella tabella %2").arg(recno).arg(fileName()));
    m_file->writeAt(qint64(m_headerLength) + qint64(recno - 1) * m_recordLength, data,
                    m_recordLength);
}

bool DbfFile::hasAutoIncrement() const {
    if (!isLevel7())
        return false;
    for (const FieldDef &field : m_fields)
        if (field.type == '+')
            return true;
    return false;
}

void DbfFile::assignAutoIncrement(char *record) {
    requireWritable();
    for (int i = 0; i < m_fields.size(); ++i) {
        FieldDef &field = m_fields[i];
        if (field.type != '+')
            continue;
        if (!m_autoChecked) {
            // A counter behind the values already stored (written by a careless program)
            // would hand out a number twice: start past the highest one.
            uint32_t highest = 0;
            for (uint32_t r = 1; r <= m_recordCount; ++r) {
                const char *cell = this->record(r) + field.offset;
                if (!FieldCodec::isBlank(cell, 4))
                    highest = std::max<uint32_t>(
                        highest, uint32_t(std::max(FieldCodec::decodeLong(cell), 0)));
            }
            field.nextValue = std::max({field.nextValue, highest + 1, 1u});
        }
        if (field.nextValue >= 0x7FFFFFFFu)
            throw Error(QStringLiteral("Il contatore del campo %1 della tabella %2 è esaurito")
                            .arg(field.name, fileName()));
        const uint32_t value = field.nextValue;
        // The counter first: a crash before the record is written leaves a gap, never a
        // number given twice.
        char next[4];
        putU32(next, value + 1);
        m_file->writeAt(m_descriptorOffsets[i] + dbf::field7NextAutoIncrement, next, 4);
        field.nextValue = value + 1;
        FieldCodec::encodeLong(qint32(value), record + field.offset);
    }
    m_autoChecked = true;
}

uint32_t DbfFile::appendRecord(const char *data) {
    requireWritable();
    if (m_recordCount == 0xFFFFFFFEu)
        throw Error(QStringLiteral("La tabella %1 è piena").arg(fileName()));
    const qint64 pos = qint64(m_headerLength) + qint64(m_recordCount) * m_recordLength;
    // Record and end mark in one write: the end mark is never ahead of the record.
    m_appendBuffer.resize(m_recordLength + 1);
    std::memcpy(m_appendBuffer.data(), data, size_t(m_recordLength));
    m_appendBuffer[m_recordLength] = dbf::endOfFile;
    m_file->writeAt(pos, m_appendBuffer.constData(), m_appendBuffer.size());
    ++m_recordCount;
    m_countPending = true;
    return m_recordCount;
}

void DbfFile::setDeleted(uint32_t recno, bool deleted) {
    requireWritable();
    if (recno == 0 || recno > m_recordCount)
        throw Error(
            QStringLiteral("Record %1 inesistente nella tabella %2").arg(recno).arg(fileName()));
    const char flag = deleted ? dbf::deletedFlag : dbf::liveFlag;
    m_file->writeAt(qint64(m_headerLength) + qint64(recno - 1) * m_recordLength, &flag, 1);
}

void DbfFile::truncate() {
    requireWritable();
    // Count first: a crash after it leaves an empty table whose size is repaired.
    m_recordCount = 0;
    writeCount();
    m_map = nullptr;
    m_mappedRecords = 0;
    m_file->resize(m_headerLength);
    const char eof = dbf::endOfFile;
    m_file->writeAt(m_headerLength, &eof, 1);
    m_map = m_file->map();
}

void DbfFile::writeCount() {
    char bytes[7];
    const QDate today = QDate::currentDate();
    putDate(bytes, today);
    putU32(bytes + 3, m_recordCount);
    m_file->writeAt(dbf::offsetDate, bytes, sizeof bytes);
    m_headerCount = m_recordCount;
    m_lastUpdate = today;
    m_countPending = false;
}

void DbfFile::setTagFlags(bool productionMdx, const QList<bool> &fieldTagged) {
    requireWritable();
    const char flag = productionMdx ? 1 : 0;
    m_file->writeAt(dbf::offsetMdxFlag, &flag, 1);
    m_productionMdx = productionMdx;
    const int flagOffset = isLevel7() ? dbf::field7MdxFlag : dbf::fieldMdxFlag;
    for (int i = 0; i < m_fields.size() && i < fieldTagged.size(); ++i) {
        if (m_fields[i].tagged == fieldTagged[i])
            continue;
        const char value = fieldTagged[i] ? 1 : 0;
        m_file->writeAt(m_descriptorOffsets[i] + flagOffset, &value, 1);
        m_fields[i].tagged = fieldTagged[i];
    }
}

} // namespace corvale::db

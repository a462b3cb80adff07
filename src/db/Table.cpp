#include "db/Table.h"

#include "db/Database.h"
#include "db/DbfFormat.h"
#include "db/Error.h"
#include "db/FieldCodec.h"
#include "db/FilterExpression.h"
#include "db/TableFile.h"
#include "platform/Cp1252.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace corvale::db {

namespace {

QString shortNumber(double value, int decimals) {
    QString text = QString::number(value, 'f', qBound(0, decimals, 15));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

bool parseTextNumber(const QString &text, double *value) {
    const QByteArray bytes = text.trimmed().toLatin1();
    bool blank = false;
    return FieldCodec::parseNumber(bytes.constData(), int(bytes.size()), value, &blank);
}

QDate parseTextDate(const QString &text) {
    const QString t = text.trimmed();
    QDate date = QDate::fromString(t, QStringLiteral("dd/MM/yyyy"));
    if (!date.isValid())
        date = QDate::fromString(t, QStringLiteral("yyyyMMdd"));
    if (!date.isValid())
        date = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        date = QDate::fromString(t, QStringLiteral("d/M/yyyy"));
    return date;
}

bool logicalTrue(char c) {
    return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

bool logicalSet(char c) {
    return logicalTrue(c) || c == 'F' || c == 'f' || c == 'N' || c == 'n';
}

} // namespace

Table::Table(Database &database)
    : m_db(&database) {
    m_db->registerHandle(this);
}

Table::~Table() {
    try {
        close();
    } catch (const Error &) {
    }
    forgetMaster();
    for (Table *detail : m_details) {
        detail->m_master = nullptr;
        detail->m_range = false;
        detail->m_linkEmpty = false;
    }
    if (m_db)
        m_db->unregisterHandle(this);
}

void Table::detachFromDatabase() {
    m_db = nullptr;
}

void Table::forgetMaster() {
    if (!m_master)
        return;
    auto &list = m_master->m_details;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    m_master = nullptr;
}

TableFile &Table::file() const {
    return *m_file;
}

void Table::requireOpen() const {
    if (m_state == State::Inactive)
        throw Error(QStringLiteral("La tabella %1 non è aperta").arg(m_tableName));
}

QString Table::fileName() const {
    return m_file ? m_file->fileName() : m_tableName;
}

uint8_t Table::versionByte() const {
    requireOpen();
    return m_file->dbf().version();
}

uint8_t Table::languageDriver() const {
    requireOpen();
    return m_file->dbf().languageDriver();
}

// ---- binding ------------------------------------------------------------------------

void Table::setTableName(const QString &fileName) {
    if (isOpen())
        throw Error(QStringLiteral("Impossibile cambiare il nome della tabella %1 mentre è aperta")
                        .arg(this->fileName()));
    m_tableName = fileName.trimmed();
}

void Table::setExclusive(bool exclusive) {
    if (isOpen())
        throw Error(
            QStringLiteral("Impossibile cambiare l'uso esclusivo della tabella %1 mentre è aperta")
                .arg(fileName()));
    m_exclusive = exclusive;
}

void Table::open() {
    if (isOpen())
        return;
    if (!m_db)
        throw Error(QStringLiteral("Database chiuso"));
    m_file = m_db->attach(this, m_tableName, m_exclusive);
    ++m_opening;
    try {
        m_state = State::Browse;
        if (!m_indexName.isEmpty() && !m_file->tag(m_indexName))
            throw Error(QStringLiteral("Indice %1 inesistente nella tabella %2")
                            .arg(m_indexName, m_file->fileName()));
        compileFilter();
        m_calcValues = QVariantList(m_calcNames.size());
        if (m_master)
            applyMasterLink();
        first();
    } catch (...) {
        m_state = State::Inactive;
        m_filter.reset();
        m_db->detach(this);
        m_file.reset();
        throw;
    }
}

void Table::close() {
    if (!isOpen())
        return;
    m_buffer.clear();
    m_pendingMemos.clear();
    m_state = State::Inactive;
    m_recno = 0;
    m_bof = m_eof = true;
    m_filter.reset();
    m_query = false;
    m_queryOrder.clear();
    if (m_db)
        m_db->detach(this);
    m_file.reset();
    for (Table *detail : m_details)
        if (detail->isOpen())
            detail->masterMoved();
}

void Table::setIndexName(const QString &tag) {
    const QString name = tag.trimmed().toUpper();
    if (name == m_indexName)
        return;
    if (isOpen()) {
        checkBrowseMode();
        if (m_query)
            throw Error(QStringLiteral("Il risultato di una query non ha indici"));
        if (!name.isEmpty() && !m_file->tag(name))
            throw Error(
                QStringLiteral("Indice %1 inesistente nella tabella %2").arg(name, fileName()));
    }
    m_indexName = name;
    m_range = false;
    m_cursor = {};
    if (isOpen()) {
        if (m_master)
            applyMasterLink();
        first();
    }
}

QStringList Table::indexNames() const {
    return m_file ? m_file->tagNames() : QStringList();
}

IndexTag *Table::currentTag() const {
    if (m_indexName.isEmpty() || m_query)
        return nullptr;
    return m_file->tag(m_indexName);
}

// ---- visibility and positioning ---------------------------------------------------------

bool Table::visible(uint32_t recno) const {
    const char *bytes = m_file->record(recno);
    if (bytes[0] == dbf::deletedFlag && !m_showDeleted)
        return false;
    if (m_filtered && m_filter && !m_filter->matches(bytes))
        return false;
    return true;
}

bool Table::inRange(IndexTag *tag, uint32_t recno) const {
    if (!m_range)
        return true;
    const char *key = tag->keyOf(recno);
    const size_t width = size_t(tag->keyWidth());
    return std::memcmp(key, m_lowKey.constData(), width) >= 0 &&
           std::memcmp(key, m_highKey.constData(), width) <= 0;
}

void Table::setCurrent(uint32_t recno) {
    m_recno = recno;
    if (m_calcHandler) {
        m_calcValues = QVariantList(m_calcNames.size());
        m_calcHandler(*this);
    }
    notifyDetails();
}

void Table::clearCurrent() {
    m_recno = 0;
    m_bof = m_eof = true;
    m_calcValues = QVariantList(m_calcNames.size());
    notifyDetails();
}

bool Table::locate(IndexTag::Position &pos) const {
    IndexTag *tag = currentTag();
    if (!tag || m_recno == 0 || m_recno > m_file->recordCount())
        return false;
    if (m_cursor.version == tag->version() && !tag->atEnd(m_cursor.pos) &&
        tag->recnoAt(m_cursor.pos) == m_recno) {
        pos = m_cursor.pos;
        return true;
    }
    pos = tag->find(m_recno);
    return !tag->atEnd(pos);
}

bool Table::seekForward(IndexTag *tag, IndexTag::Position pos) {
    const size_t width = size_t(tag->keyWidth());
    for (; !tag->atEnd(pos); tag->advance(pos)) {
        const uint32_t r = tag->recnoAt(pos);
        if (m_range) {
            const char *key = tag->keyAt(pos);
            if (std::memcmp(key, m_highKey.constData(), width) > 0)
                return false;
            if (std::memcmp(key, m_lowKey.constData(), width) < 0)
                continue;
        }
        if (visible(r)) {
            m_cursor = {pos, tag->version()};
            setCurrent(r);
            return true;
        }
    }
    return false;
}

bool Table::seekBackward(IndexTag *tag, IndexTag::Position pos) {
    const size_t width = size_t(tag->keyWidth());
    for (; !tag->atEnd(pos); tag->retreat(pos)) {
        const uint32_t r = tag->recnoAt(pos);
        if (m_range) {
            const char *key = tag->keyAt(pos);
            if (std::memcmp(key, m_lowKey.constData(), width) < 0)
                return false;
            if (std::memcmp(key, m_highKey.constData(), width) > 0)
                continue;
        }
        if (visible(r)) {
            m_cursor = {pos, tag->version()};
            setCurrent(r);
            return true;
        }
        if (pos.block == 0 && pos.index == 0)
            return false;
    }
    return false;
}

bool Table::stepForward() {
    if (m_recno == 0)
        return false;
    if (m_query) {
        for (size_t i = m_queryPos + 1; i < m_queryOrder.size(); ++i) {
            const uint32_t r = m_queryOrder[i];
            if (r <= m_file->recordCount() && visible(r)) {
                m_queryPos = i;
                setCurrent(r);
                return true;
            }
        }
        return false;
    }
    if (IndexTag *tag = currentTag()) {
        IndexTag::Position pos;
        if (!locate(pos))
            return false;
        tag->advance(pos);
        return seekForward(tag, pos);
    }
    const uint32_t count = m_file->recordCount();
    for (uint32_t r = m_recno + 1; r <= count; ++r) {
        if (visible(r)) {
            setCurrent(r);
            return true;
        }
    }
    return false;
}

bool Table::stepBackward() {
    if (m_recno == 0)
        return false;
    if (m_query) {
        for (size_t i = m_queryPos; i-- > 0;) {
            const uint32_t r = m_queryOrder[i];
            if (r <= m_file->recordCount() && visible(r)) {
                m_queryPos = i;
                setCurrent(r);
                return true;
            }
        }
        return false;
    }
    if (IndexTag *tag = currentTag()) {
        IndexTag::Position pos;
        if (!locate(pos))
            return false;
        if (pos.block == 0 && pos.index == 0)
            return false;
        tag->retreat(pos);
        return seekBackward(tag, pos);
    }
    const uint32_t count = m_file->recordCount();
    for (uint32_t r = qMin(m_recno, count + 1); r-- > 1;) {
        if (visible(r)) {
            setCurrent(r);
            return true;
        }
    }
    return false;
}

void Table::first() {
    requireOpen();
    checkBrowseMode();
    bool found = false;
    if (!m_linkEmpty) {
        if (m_query) {
            for (size_t i = 0; i < m_queryOrder.size() && !found; ++i) {
                const uint32_t r = m_queryOrder[i];
                if (r <= m_file->recordCount() && visible(r)) {
                    m_queryPos = i;
                    setCurrent(r);
                    found = true;
                }
            }
        } else if (IndexTag *tag = currentTag()) {
            found =
                seekForward(tag, m_range ? tag->lowerBound(m_lowKey.constData()) : tag->begin());
        } else {
            const uint32_t count = m_file->recordCount();
            for (uint32_t r = 1; r <= count && !found; ++r) {
                if (visible(r)) {
                    setCurrent(r);
                    found = true;
                }
            }
        }
    }
    if (!found) {
        clearCurrent();
        return;
    }
    m_bof = true;
    m_eof = false;
}

void Table::last() {
    requireOpen();
    checkBrowseMode();
    bool found = false;
    if (!m_linkEmpty) {
        if (m_query) {
            for (size_t i = m_queryOrder.size(); i-- > 0 && !found;) {
                const uint32_t r = m_queryOrder[i];
                if (r <= m_file->recordCount() && visible(r)) {
                    m_queryPos = i;
                    setCurrent(r);
                    found = true;
                }
            }
        } else if (IndexTag *tag = currentTag()) {
            IndexTag::Position pos = tag->last();
            if (m_range) {
                pos = tag->upperBound(m_highKey.constData());
                tag->retreat(pos);
            }
            found = tag->size() > 0 && seekBackward(tag, pos);
        } else {
            for (uint32_t r = m_file->recordCount(); r >= 1 && !found; --r) {
                if (visible(r)) {
                    setCurrent(r);
                    found = true;
                }
            }
        }
    }
    if (!found) {
        clearCurrent();
        return;
    }
    m_bof = false;
    m_eof = true;
}

void Table::next() {
    requireOpen();
    checkBrowseMode();
    if (stepForward()) {
        m_bof = m_eof = false;
    } else {
        m_eof = true;
        if (m_recno == 0)
            m_bof = true;
    }
}

void Table::prior() {
    requireOpen();
    checkBrowseMode();
    if (stepBackward()) {
        m_bof = m_eof = false;
    } else {
        m_bof = true;
        if (m_recno == 0)
            m_eof = true;
    }
}

int Table::moveBy(int n) {
    int moved = 0;
    while (n > 0) {
        next();
        if (m_eof)
            break;
        ++moved;
        --n;
    }
    while (n < 0) {
        prior();
        if (m_bof)
            break;
        --moved;
        ++n;
    }
    return moved;
}

bool Table::isEmpty() {
    requireOpen();
    if (m_recno != 0 && m_recno <= m_file->recordCount() && visible(m_recno))
        return false;
    return recordCount() == 0;
}

int Table::recordCount() {
    requireOpen();
    if (m_linkEmpty)
        return 0;
    int count = 0;
    if (m_query) {
        for (uint32_t r : m_queryOrder)
            if (r <= m_file->recordCount() && visible(r))
                ++count;
        return count;
    }
    if (IndexTag *tag = currentTag()) {
        if (m_range) {
            const size_t width = size_t(tag->keyWidth());
            for (IndexTag::Position pos = tag->lowerBound(m_lowKey.constData()); !tag->atEnd(pos);
                 tag->advance(pos)) {
                const uint32_t r = tag->recnoAt(pos);
                if (std::memcmp(tag->keyAt(pos), m_highKey.constData(), width) > 0)
                    break;
                if (visible(r))
                    ++count;
            }
            return count;
        }
    }
    const uint32_t total = m_file->recordCount();
    for (uint32_t r = 1; r <= total; ++r)
        if (visible(r))
            ++count;
    return count;
}

uint32_t Table::physicalRecordCount() const {
    requireOpen();
    return m_file->recordCount();
}

void Table::refresh() {
    requireOpen();
    checkBrowseMode();
    if (m_recno != 0 && m_recno <= m_file->recordCount() && visible(m_recno) &&
        (!currentTag() || inRange(currentTag(), m_recno))) {
        IndexTag::Position pos;
        if (locate(pos))
            m_cursor = {pos, currentTag()->version()};
        setCurrent(m_recno);
        return;
    }
    first();
}

void Table::gotoBookmark(const Bookmark &bookmark) {
    requireOpen();
    checkBrowseMode();
    if (!bookmark.isValid() || bookmark.recno > m_file->recordCount())
        throw Error(QStringLiteral("Segnalibro non valido nella tabella %1").arg(fileName()));
    m_recno = bookmark.recno;
    if (m_query) {
        for (size_t i = 0; i < m_queryOrder.size(); ++i)
            if (m_queryOrder[i] == bookmark.recno)
                m_queryPos = i;
    } else if (IndexTag *tag = currentTag()) {
        m_cursor = {tag->find(bookmark.recno), tag->version()};
    }
    setCurrent(bookmark.recno);
    m_bof = m_eof = false;
}

// ---- editing ------------------------------------------------------------------------------

void Table::requireBrowseable() {
    requireOpen();
    if (m_query)
        throw Error(QStringLiteral("Il risultato della query sulla tabella %1 è in sola lettura")
                        .arg(fileName()));
    if (!m_file->writable())
        throw Error(QStringLiteral("La tabella %1 è in sola lettura").arg(fileName()));
}

void Table::checkBrowseMode() {
    if (m_state == State::Edit || m_state == State::Insert)
        post();
}

void Table::append() {
    requireBrowseable();
    checkBrowseMode();
    m_buffer = QByteArray(m_file->dbf().recordLength(), ' ');
    m_pendingMemos.clear();
    m_state = State::Insert;
    // A new detail record belongs to the master's current record.
    if (m_master && m_master->isOpen() && m_master->m_recno != 0) {
        if (IndexTag *tag = currentTag(); tag && tag->fieldIndex() >= 0)
            setValue(tag->field().name, m_master->value(m_masterField));
    }
}

void Table::edit() {
    requireBrowseable();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_recno == 0 || m_recno > m_file->recordCount())
        throw Error(QStringLiteral("Nessun record corrente da modificare nella tabella %1")
                        .arg(fileName()));
    const char *bytes = m_file->record(m_recno);
    m_buffer = QByteArray(bytes, m_file->dbf().recordLength());
    m_pendingMemos.clear();
    m_state = State::Edit;
}

void Table::post() {
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    // Memo values first: the record that points at them is written last.
    for (auto it = m_pendingMemos.constBegin(); it != m_pendingMemos.constEnd(); ++it) {
        const FieldDef &field = m_file->fields()[it.key()];
        const uint32_t block = m_file->writeMemo(it.value());
        const QByteArray pointer = block ? FieldCodec::formatInteger(block, field.length, 0)
                                         : QByteArray(field.length, ' ');
        std::memcpy(m_buffer.data() + field.offset, pointer.constData(), size_t(field.length));
    }
    m_pendingMemos.clear();
    uint32_t recno = m_recno;
    if (m_state == State::Insert)
        recno = m_file->append(m_buffer.constData());
    else
        m_file->update(m_recno, m_buffer.constData());
    m_state = State::Browse;
    m_buffer.clear();
    if (IndexTag *tag = currentTag())
        m_cursor = {tag->find(recno), tag->version()};
    if (m_query)
        m_queryPos = 0;
    setCurrent(recno);
    m_bof = m_eof = false;
}

void Table::cancel() {
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_state = State::Browse;
    m_buffer.clear();
    m_pendingMemos.clear();
    if (m_recno != 0 && m_recno <= m_file->recordCount())
        setCurrent(m_recno);
    else
        first();
}

void Table::remove() {
    requireBrowseable();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (m_recno == 0 || m_recno > m_file->recordCount())
        throw Error(QStringLiteral("Nessun record corrente da cancellare nella tabella %1")
                        .arg(fileName()));
    // Remember where we are before the record disappears from the view.
    IndexTag::Position pos;
    const bool tagged = locate(pos);
    if (tagged)
        m_cursor = {pos, currentTag()->version()};
    m_file->setDeleted(m_recno, true);
    if (stepForward()) {
        m_bof = m_eof = false;
        return;
    }
    if (stepBackward()) {
        m_bof = false;
        m_eof = true;
        return;
    }
    clearCurrent();
}

void Table::emptyTable() {
    requireBrowseable();
    cancel();
    m_file->empty();
    clearCurrent();
}

void Table::reindex() {
    maintain([](TableFile &file) { file.reindex(); });
}

void Table::pack() {
    maintain([](TableFile &file) { file.pack(); });
}

void Table::maintain(const std::function<void(TableFile &)> &work) {
    requireBrowseable();
    if (!m_exclusive)
        throw Error(
            QStringLiteral("La tabella %1 deve essere aperta in uso esclusivo").arg(fileName()));
    checkBrowseMode();
    try {
        work(*m_file);
    } catch (const Error &) {
        if (!m_file->isUsable())
            close();
        else
            first();
        throw;
    }
    first();
}

// ---- fields -----------------------------------------------------------------------------

const FieldList &Table::fieldDefs() const {
    requireOpen();
    return m_file->fields();
}

QStringList Table::fieldNames() const {
    QStringList names;
    for (const FieldDef &field : fieldDefs())
        names << field.name;
    return names + m_calcNames;
}

bool Table::hasField(const QString &name) const {
    requireOpen();
    return m_file->fieldIndex(name) >= 0 || calcIndex(name) >= 0;
}

int Table::calcIndex(const QString &name) const {
    for (int i = 0; i < m_calcNames.size(); ++i)
        if (m_calcNames[i].compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Table::fieldOrThrow(const QString &name) const {
    if (!m_file)
        throw Error(QStringLiteral("La tabella %1 non è aperta (campo %2)").arg(m_tableName, name));
    const int index = m_file->fieldIndex(name);
    if (index < 0)
        throw Error(QStringLiteral("Campo %1 non trovato nella tabella %2")
                        .arg(name.trimmed().toUpper(), fileName()));
    return index;
}

Table::FieldRef Table::fieldRef(const QString &name) const {
    return {fieldOrThrow(name), m_file.get(), m_opening};
}

int Table::checkedIndex(const FieldRef &field) const {
    if (!m_file || field.file != m_file.get() || field.opening != m_opening || field.index < 0 ||
        field.index >= m_file->fields().size())
        throw Error(QStringLiteral("Riferimento a un campo non valido per la tabella %1")
                        .arg(m_file ? fileName() : m_tableName));
    return field.index;
}

qint64 Table::asInteger(const FieldRef &field) const {
    return integerAt(checkedIndex(field));
}

double Table::asFloat(const FieldRef &field) const {
    return floatAt(checkedIndex(field));
}

QDate Table::asDate(const FieldRef &field) const {
    return dateAt(checkedIndex(field));
}

bool Table::asBool(const FieldRef &field) const {
    return boolAt(checkedIndex(field));
}

const char *Table::currentBytes() const {
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer.constData();
    if (m_recno == 0 || !m_file || m_recno > m_file->recordCount())
        return nullptr;
    return m_file->record(m_recno);
}

QString Table::fieldText(int index) const {
    const FieldDef &field = m_file->fields()[index];
    const char *bytes = currentBytes();
    if (!bytes)
        return {};
    const char *cell = bytes + field.offset;
    auto unreadable = [&]() {
        return Error(QStringLiteral("Valore non valido nel campo %1 della tabella %2")
                         .arg(field.name, fileName()));
    };
    switch (field.type) {
    case 'N':
    case 'F': {
        double value = 0;
        bool blank = false;
        if (!FieldCodec::parseNumber(cell, field.length, &value, &blank))
            throw unreadable();
        return blank ? QString() : shortNumber(value, field.decimals ? field.decimals : 10);
    }
    case 'I':
    case '+':
        return FieldCodec::isBlank(cell, 4) ? QString()
                                            : QString::number(FieldCodec::decodeLong(cell));
    case 'O':
    case '@':
        return FieldCodec::isBlank(cell, 8)
                   ? QString()
                   : QString::number(FieldCodec::decodeDouble(cell), 'g', 15);
    case 'D': {
        const QDate date = FieldCodec::parseDate(cell, field.length);
        return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
    }
    case 'L':
        return logicalSet(cell[0])
                   ? (logicalTrue(cell[0]) ? QStringLiteral("True") : QStringLiteral("False"))
                   : QString();
    case 'M':
    case 'B':
    case 'G':
        return Cp1252::decode(asBlob(field.name));
    default: {
        int n = field.length;
        while (n > 0 && (cell[n - 1] == ' ' || cell[n - 1] == '\0'))
            --n;
        return Cp1252::decode(QByteArrayView(cell, n));
    }
    }
}

QString Table::asString(const QString &name) const {
    if (m_file) {
        const int index = m_file->fieldIndex(name);
        if (index >= 0)
            return fieldText(index);
    }
    const int calc = calcIndex(name);
    if (calc >= 0)
        return m_calcValues.value(calc).toString();
    fieldOrThrow(name);
    return {};
}

double Table::asFloat(const QString &name) const {
    if (m_file && m_file->fieldIndex(name) < 0) {
        const int calc = calcIndex(name);
        if (calc >= 0)
            return m_calcValues.value(calc).toDouble();
    }
    return floatAt(fieldOrThrow(name));
}

double Table::floatAt(int index) const {
    const FieldDef &field = m_file->fields()[index];
    const char *bytes = currentBytes();
    if (!bytes)
        return 0.0;
    const char *cell = bytes + field.offset;
    switch (field.type) {
    case 'N':
    case 'F': {
        double value = 0;
        if (!FieldCodec::parseNumber(cell, field.length, &value))
            throw Error(QStringLiteral("Valore non valido nel campo %1 della tabella %2")
                            .arg(field.name, fileName()));
        return value;
    }
    case 'I':
    case '+':
        return FieldCodec::isBlank(cell, 4) ? 0.0 : double(FieldCodec::decodeLong(cell));
    case 'O':
    case '@':
        return FieldCodec::isBlank(cell, 8) ? 0.0 : FieldCodec::decodeDouble(cell);
    case 'L':
        return logicalTrue(cell[0]) ? 1.0 : 0.0;
    default: {
        const QString text = fieldText(index);
        double value = 0;
        if (text.trimmed().isEmpty())
            return 0.0;
        if (!parseTextNumber(text, &value))
            throw Error(QStringLiteral("\"%1\" non è un numero valido (campo %2 della tabella %3)")
                            .arg(text, field.name, fileName()));
        return value;
    }
    }
}

qint64 Table::asInteger(const QString &name) const {
    const double value = asFloat(name);
    if (!std::isfinite(value) || std::fabs(value) > 9.2e18)
        throw Error(QStringLiteral("Valore fuori limite nel campo %1 della tabella %2")
                        .arg(name.toUpper(), fileName()));
    return qRound64(value);
}

qint64 Table::integerAt(int index) const {
    const double value = floatAt(index);
    if (!std::isfinite(value) || std::fabs(value) > 9.2e18)
        throw Error(QStringLiteral("Valore fuori limite nel campo %1 della tabella %2")
                        .arg(m_file->fields()[index].name.toUpper(), fileName()));
    return qRound64(value);
}

QDate Table::asDate(const QString &name) const {
    if (m_file && m_file->fieldIndex(name) < 0) {
        const int calc = calcIndex(name);
        if (calc >= 0)
            return m_calcValues.value(calc).toDate();
    }
    return dateAt(fieldOrThrow(name));
}

QDate Table::dateAt(int index) const {
    const FieldDef &field = m_file->fields()[index];
    const char *bytes = currentBytes();
    if (!bytes)
        return {};
    if (field.type == 'D')
        return FieldCodec::parseDate(bytes + field.offset, field.length);
    const QString text = fieldText(index);
    if (text.trimmed().isEmpty())
        return {};
    const QDate date = parseTextDate(text);
    if (!date.isValid())
        throw Error(QStringLiteral("\"%1\" non è una data valida (campo %2 della tabella %3)")
                        .arg(text, field.name, fileName()));
    return date;
}

bool Table::asBool(const QString &name) const {
    if (m_file && m_file->fieldIndex(name) < 0) {
        const int calc = calcIndex(name);
        if (calc >= 0)
            return m_calcValues.value(calc).toBool();
    }
    return boolAt(fieldOrThrow(name));
}

bool Table::boolAt(int index) const {
    const FieldDef &field = m_file->fields()[index];
    const char *bytes = currentBytes();
    if (!bytes)
        return false;
    if (field.type == 'L')
        return logicalTrue(bytes[field.offset]);
    if (field.isNumeric())
        return floatAt(index) != 0.0;
    const QString text = fieldText(index).trimmed().toUpper();
    return text == QLatin1String("T") || text == QLatin1String("TRUE") ||
           text == QLatin1String("Y");
}

QByteArray Table::asBlob(const QString &name) const {
    const int index = fieldOrThrow(name);
    const FieldDef &field = m_file->fields()[index];
    if ((m_state == State::Edit || m_state == State::Insert) && m_pendingMemos.contains(index))
        return m_pendingMemos.value(index);
    const char *bytes = currentBytes();
    if (!bytes)
        return {};
    const char *cell = bytes + field.offset;
    if (!field.isMemo())
        return QByteArray(cell, field.length);
    uint32_t block = 0;
    if (!FieldCodec::parseBlock(cell, field.length, &block))
        throw Error(QStringLiteral("Puntatore memo non valido nel campo %1 della tabella %2")
                        .arg(field.name, fileName()));
    if (block == 0)
        return {};
    try {
        return m_file->readMemo(block);
    } catch (const Error &error) {
        throw Error(QStringLiteral("%1 (campo %2 della tabella %3)")
                        .arg(error.message(), field.name, fileName()));
    }
}

bool Table::isNull(const QString &name) const {
    if (m_file && m_file->fieldIndex(name) < 0) {
        const int calc = calcIndex(name);
        if (calc >= 0)
            return m_calcValues.value(calc).isNull();
    }
    const int index = fieldOrThrow(name);
    const FieldDef &field = m_file->fields()[index];
    if ((m_state == State::Edit || m_state == State::Insert) && m_pendingMemos.contains(index))
        return m_pendingMemos.value(index).isEmpty();
    const char *bytes = currentBytes();
    if (!bytes)
        return true;
    const char *cell = bytes + field.offset;
    if (field.type == 'L')
        return !logicalSet(cell[0]);
    if (field.type == 'D')
        return !FieldCodec::parseDate(cell, field.length).isValid();
    if (field.isMemo()) {
        uint32_t block = 0;
        return !FieldCodec::parseBlock(cell, field.length, &block) || block == 0;
    }
    if (field.type == 'I' || field.type == '+')
        return FieldCodec::isBlank(cell, 4);
    if (field.type == 'O' || field.type == '@')
        return FieldCodec::isBlank(cell, 8);
    return FieldCodec::isBlank(cell, field.length);
}

QVariant Table::value(const QString &name) const {
    if (m_file && m_file->fieldIndex(name) < 0) {
        const int calc = calcIndex(name);
        if (calc >= 0)
            return m_calcValues.value(calc);
    }
    const int index = fieldOrThrow(name);
    if (isNull(name))
        return {};
    const FieldDef &field = m_file->fields()[index];
    switch (field.type) {
    case 'N':
    case 'F':
    case 'I':
    case '+':
    case 'O':
    case '@':
        return asFloat(name);
    case 'D':
        return asDate(name);
    case 'L':
        return asBool(name);
    case 'B':
    case 'G':
        return asBlob(name);
    default:
        return asString(name);
    }
}

char *Table::editBytes(int index) {
    if (m_state != State::Edit && m_state != State::Insert)
        throw Error(QStringLiteral("La tabella %1 non è in modifica (campo %2)")
                        .arg(fileName(), m_file->fields()[index].name));
    return m_buffer.data() + m_file->fields()[index].offset;
}

void Table::storeText(int index, QStringView text) {
    const FieldDef &field = m_file->fields()[index];
    char *cell = editBytes(index);
    int n = 0;
    for (qsizetype i = 0; i < text.size() && n < field.length; ++i) {
        char16_t ch = text[i].unicode();
        if (ch < 0x80) {
            cell[n++] = static_cast<char>(ch);
            continue;
        }
        // A pair of surrogates is one character outside the code page.
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i, ch = u'?';
        const int byte = Cp1252::encodeChar(ch);
        cell[n++] = byte >= 0 ? static_cast<char>(byte) : '?';
    }
    std::memset(cell + n, ' ', size_t(field.length - n));
}

void Table::storeText(int index, const QByteArray &bytes) {
    const FieldDef &field = m_file->fields()[index];
    char *cell = editBytes(index);
    const int n = int(qMin<qsizetype>(bytes.size(), field.length));
    std::memcpy(cell, bytes.constData(), size_t(n));
    std::memset(cell + n, ' ', size_t(field.length - n));
}

void Table::storeNumber(int index, double value, bool integral, qint64 integer) {
    const FieldDef &field = m_file->fields()[index];
    char *cell = editBytes(index);
    switch (field.type) {
    case 'I':
    case '+': {
        const double v = integral ? double(integer) : std::round(value);
        if (v < -2147483647.0 || v > 2147483647.0)
            break;
        FieldCodec::encodeLong(static_cast<qint32>(v), cell);
        return;
    }
    case 'O':
        FieldCodec::encodeDouble(integral ? double(integer) : value, cell);
        return;
    case 'N':
    case 'F': {
        const bool fits =
            integral ? FieldCodec::writeInteger(integer, field.length, field.decimals, cell)
                     : FieldCodec::writeNumber(value, field.length, field.decimals, cell);
        if (!fits)
            break;
        return;
    }
    case 'L':
        cell[0] = (integral ? integer != 0 : value != 0.0) ? 'T' : 'F';
        return;
    default: {
        const QString text = integral ? QString::number(integer) : shortNumber(value, 10);
        if (text.size() > field.length)
            break;
        storeText(index, text.toLatin1());
        return;
    }
    }
    throw Error(QStringLiteral("Il valore %1 non entra nel campo %2 %3 della tabella %4")
                    .arg(integral ? QString::number(integer) : shortNumber(value, 10), field.name,
                         field.describe(), fileName()));
}

void Table::setString(const QString &name, const QString &text) {
    const int index = fieldOrThrow(name);
    const FieldDef &field = m_file->fields()[index];
    editBytes(index);
    switch (field.type) {
    case 'N':
    case 'F':
    case 'I':
    case '+':
    case 'O': {
        if (text.trimmed().isEmpty()) {
            setNull(name);
            return;
        }
        double value = 0;
        if (!parseTextNumber(text, &value))
            throw Error(
                QStringLiteral("\"%1\" non è un numero valido per il campo %2 della tabella %3")
                    .arg(text, field.name, fileName()));
        bool integral = std::fabs(value) < 9e15 && value == std::floor(value);
        storeNumber(index, value, integral, integral ? qint64(value) : 0);
        return;
    }
    case 'D': {
        if (text.trimmed().isEmpty()) {
            setNull(name);
            return;
        }
        const QDate date = parseTextDate(text);
        if (!date.isValid())
            throw Error(
                QStringLiteral("\"%1\" non è una data valida per il campo %2 della tabella %3")
                    .arg(text, field.name, fileName()));
        setDate(name, date);
        return;
    }
    case 'L': {
        const QString t = text.trimmed().toUpper();
        if (t.isEmpty())
            setNull(name);
        else
            setBool(name, t == QLatin1String("T") || t == QLatin1String("TRUE") ||
                              t == QLatin1String("Y") || t == QLatin1String("S") ||
                              t == QLatin1String("1"));
        return;
    }
    case 'M':
    case 'B':
    case 'G':
        setBlob(name, Cp1252::encode(text));
        return;
    default:
        storeText(index, QStringView(text));
        return;
    }
}

void Table::setInteger(const QString &name, qint64 value) {
    const int index = fieldOrThrow(name);
    const FieldDef &field = m_file->fields()[index];
    if (field.type == 'D' || field.isMemo())
        throw Error(QStringLiteral("Il campo %1 della tabella %2 non accetta un numero")
                        .arg(field.name, fileName()));
    storeNumber(index, double(value), true, value);
}

void Table::setFloat(const QString &name, double value) {
    const int index = fieldOrThrow(name);
    const FieldDef &field = m_file->fields()[index];
    if (field.type == 'D' || field.isMemo())
        throw Error(QStringLiteral("Il campo %1 della tabella %2 non accetta un numero")
                        .arg(field.name, fileName()));
    storeNumber(index, value, false, 0);
}

void Table::setDate(const QString &name, const QDate &date) {
    const int index = fieldOrThrow(name);
    const FieldDef &field = m_file->fields()[index];
    if (field.type == 'D') {
        char *cell = editBytes(index);
        if (!date.isValid() || date.year() < 1 || date.year() > 9999) {
            std::memset(cell, ' ', 8);
            return;
        }
        int value = date.year() * 10000 + date.month() * 100 + date.day();
        for (int i = 7; i >= 0; --i, value /= 10)
            cell[i] = static_cast<char>('0' + value % 10);
        return;
    }
    if (field.isNumeric() || field.isMemo() || field.type == 'L')
        throw Error(QStringLiteral("Il campo %1 della tabella %2 non accetta una data")
                        .arg(field.name, fileName()));
    storeText(index, date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")).toLatin1()
                                    : QByteArray());
}

void Table::setBool(const QString &name, bool value) {
    const int index = fieldOrThrow(name);
    const FieldDef &field = m_file->fields()[index];
    if (field.type == 'L') {
        editBytes(index)[0] = value ? 'T' : 'F';
        return;
    }
    if (field.isNumeric()) {
        storeNumber(index, value ? 1 : 0, true, value ? 1 : 0);
        return;
    }
    if (field.type == 'C') {
        storeText(index, value ? "T" : "F");
        return;
    }
    throw Error(QStringLiteral("Il campo %1 della tabella %2 non accetta un valore logico")
                    .arg(field.name, fileName()));
}

void Table::setBlob(const QString &name, const QByteArray &data) {
    const int index = fieldOrThrow(name);
    const FieldDef &field = m_file->fields()[index];
    editBytes(index);
    if (field.isMemo()) {
        m_pendingMemos.insert(index, data);
        return;
    }
    storeText(index, data);
}

void Table::setNull(const QString &name) {
    const int index = fieldOrThrow(name);
    const FieldDef &field = m_file->fields()[index];
    char *cell = editBytes(index);
    if (field.isMemo()) {
        m_pendingMemos.insert(index, QByteArray());
        return;
    }
    std::memset(cell, ' ', size_t(field.length));
}

void Table::setValue(const QString &name, const QVariant &value) {
    if (value.isNull()) {
        setNull(name);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        setBool(name, value.toBool());
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        setInteger(name, value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        setFloat(name, value.toDouble());
        return;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        setDate(name, value.toDate());
        return;
    case QMetaType::QByteArray:
        setBlob(name, value.toByteArray());
        return;
    default:
        setString(name, value.toString());
        return;
    }
}

// ---- keys, ranges, filters ----------------------------------------------------------------

bool Table::findKey(const QVariant &key) {
    requireOpen();
    checkBrowseMode();
    IndexTag *tag = currentTag();
    if (!tag)
        throw Error(
            QStringLiteral("Nessun indice scelto per la ricerca nella tabella %1").arg(fileName()));
    const QByteArray wanted = tag->keyFromValue(key, fileName());
    const size_t width = size_t(tag->keyWidth());
    if (m_linkEmpty)
        return false;
    for (IndexTag::Position pos = tag->lowerBound(wanted.constData()); !tag->atEnd(pos);
         tag->advance(pos)) {
        const uint32_t r = tag->recnoAt(pos);
        if (std::memcmp(tag->keyAt(pos), wanted.constData(), width) != 0)
            break;
        if (inRange(tag, r) && visible(r)) {
            m_cursor = {pos, tag->version()};
            setCurrent(r);
            m_bof = m_eof = false;
            return true;
        }
    }
    return false;
}

void Table::findNearest(const QVariant &key) {
    requireOpen();
    checkBrowseMode();
    IndexTag *tag = currentTag();
    if (!tag)
        throw Error(
            QStringLiteral("Nessun indice scelto per la ricerca nella tabella %1").arg(fileName()));
    QByteArray wanted = tag->keyFromValue(key, fileName());
    if (m_range &&
        std::memcmp(wanted.constData(), m_lowKey.constData(), size_t(tag->keyWidth())) < 0)
        wanted = m_lowKey;
    if (!m_linkEmpty && seekForward(tag, tag->lowerBound(wanted.constData()))) {
        m_bof = m_eof = false;
        return;
    }
    last();
    m_eof = true;
}

void Table::setRange(const QVariant &low, const QVariant &high) {
    requireOpen();
    checkBrowseMode();
    IndexTag *tag = currentTag();
    if (!tag)
        throw Error(QStringLiteral("Nessun indice scelto per l'intervallo nella tabella %1")
                        .arg(fileName()));
    m_lowKey = tag->keyFromValue(low, fileName());
    m_highKey = tag->keyFromValue(high, fileName());
    m_rangeLow = low;
    m_rangeHigh = high;
    m_range = true;
    m_linkEmpty = false;
    first();
}

void Table::cancelRange() {
    requireOpen();
    checkBrowseMode();
    m_range = false;
    if (m_master)
        applyMasterLink();
    first();
}

void Table::compileFilter() {
    if (!isOpen())
        return;
    if (m_filterText.trimmed().isEmpty()) {
        m_filter.reset();
        return;
    }
    m_filter = FilterExpression::compile(m_filterText, m_file->fields(), m_file->collation(),
                                         m_file->fileName());
}

void Table::setFilter(const QString &text) {
    if (isOpen())
        checkBrowseMode();
    const QString previous = m_filterText;
    m_filterText = text;
    try {
        compileFilter();
    } catch (const Error &) {
        m_filterText = previous;
        compileFilter();
        throw;
    }
    if (isOpen() && m_filtered)
        first();
}

void Table::setFiltered(bool filtered) {
    if (isOpen())
        checkBrowseMode();
    m_filtered = filtered;
    if (isOpen())
        first();
}

// ---- master and detail -----------------------------------------------------------------------

void Table::setMasterSource(Table *master, const QString &masterField) {
    if (master == this)
        throw Error(QStringLiteral("Una tabella non può essere il master di sé stessa"));
    if (IndexTag *tag = master && isOpen() ? currentTag() : nullptr; tag && tag->fieldIndex() < 0)
        throw Error(QStringLiteral("L'indice %1 della tabella %2 non è su un solo campo: non può "
                                   "collegare il dettaglio")
                        .arg(tag->name(), fileName()));
    forgetMaster();
    m_masterField = masterField;
    m_linkEmpty = false;
    if (master) {
        m_master = master;
        master->m_details.push_back(this);
    }
    if (isOpen()) {
        m_range = false;
        if (m_master)
            applyMasterLink();
        first();
    }
}

void Table::applyMasterLink() {
    if (!m_master)
        return;
    IndexTag *tag = currentTag();
    if (!tag)
        throw Error(
            QStringLiteral("La tabella di dettaglio %1 non ha un indice sul campo di collegamento")
                .arg(fileName()));
    if (tag->fieldIndex() < 0)
        throw Error(QStringLiteral("L'indice %1 della tabella %2 non è su un solo campo: non può "
                                   "collegare il dettaglio")
                        .arg(tag->name(), fileName()));
    if (!m_master->isOpen() || m_master->m_recno == 0) {
        m_linkEmpty = true;
        m_range = false;
        return;
    }
    const QByteArray key = tag->keyFromValue(m_master->value(m_masterField), fileName());
    m_lowKey = key;
    m_highKey = key;
    m_range = true;
    m_linkEmpty = false;
}

void Table::masterMoved() {
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    applyMasterLink();
    first();
}

void Table::notifyDetails() {
    for (Table *detail : m_details)
        if (detail->isOpen())
            detail->masterMoved();
}

// ---- calculated fields
// ---------------------------------------------------------------------------

void Table::addCalculatedField(const QString &name) {
    if (calcIndex(name) >= 0)
        return;
    m_calcNames << name.trimmed().toUpper();
    m_calcValues = QVariantList(m_calcNames.size());
}

void Table::setCalcFieldsHandler(std::function<void(Table &)> handler) {
    m_calcHandler = std::move(handler);
    if (isOpen() && m_recno != 0)
        setCurrent(m_recno);
}

void Table::setCalculated(const QString &name, const QVariant &value) {
    const int index = calcIndex(name);
    if (index < 0)
        throw Error(QStringLiteral("Campo calcolato %1 non dichiarato nella tabella %2")
                        .arg(name.toUpper(), fileName()));
    m_calcValues[index] = value;
}

void Table::setShowDeleted(bool show) {
    m_showDeleted = show;
    if (isOpen())
        first();
}

bool Table::isDeleted() const {
    const char *bytes = currentBytes();
    return bytes && bytes[0] == dbf::deletedFlag;
}

void Table::setQueryOrder(std::vector<uint32_t> order) {
    requireOpen();
    m_query = true;
    m_queryOrder = std::move(order);
    m_queryPos = 0;
    first();
}

} // namespace corvale::db

#pragma once

#include "db/FieldDef.h"
#include "db/IndexTag.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace corvale::db {

class Database;
class FilterExpression;
class TableFile;

// A handle (cursor) on one table of the Database, with the operations the windows use.
//
// Binding and opening
//   setTableName("ARTICOLI.DBF") while closed (any letter case, extension optional);
//   setExclusive(true) before open() for maintenance; open(), close().
//   setIndexName("DESCRIZION") chooses a tag (empty = record order), open or closed.
//
// Navigation (visible records: not deleted, inside the range or master link, accepted by
// the filter). As in the data-aware tradition: first() sets bof(), last() sets eof();
// next() past the last record sets eof() and stays on it; prior() before the first sets
// bof(); on an empty view both are true and there is no current record.
//
// Editing: append() (a blank record), edit(), then setters, then post() or cancel().
// Moving or refreshing while editing posts first; closing and emptyTable() cancel.
// remove() deletes the current record and makes the next one current (the previous one,
// with eof() set, when the last was removed). A post that fails leaves the handle in its
// editing state with nothing saved, so the caller can report it and retry or cancel.
//
// Fields by name, in any letter case. Asking for a field the table lacks throws a
// db::Error naming the field and the file. Without a current record every getter gives
// an empty value. Getters: an empty cell gives "" / 0 / invalid date / false.
// asString gives text without trailing blanks, numbers in their shortest form ("12.5"),
// dates as "dd/mm/yyyy", logicals as "True"/"False".
//
// Setters follow one rule for values that do not fit: text is cut to the column width,
// characters outside Windows-1252 become "?", a number too wide for its column throws
// (it is never stored as asterisks or with digits cut off).
class Table {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    struct Bookmark {
        uint32_t recno = 0;
        bool isValid() const { return recno != 0; }
    };

    explicit Table(Database &database);
    ~Table();

    Table(const Table &) = delete;
    Table &operator=(const Table &) = delete;

    Database &database() { return *m_db; }

    // ---- binding ---------------------------------------------------------------
    void setTableName(const QString &fileName);
    QString tableName() const { return m_tableName; }
    void setExclusive(bool exclusive);
    bool isExclusive() const { return m_exclusive; }
    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    // The file name as it is on disk (after open).
    QString fileName() const;
    // Version byte and language driver of the open table's header.
    uint8_t versionByte() const;
    uint8_t languageDriver() const;

    void setIndexName(const QString &tag);
    QString indexName() const { return m_indexName; }
    QStringList indexNames() const;

    // ---- navigation --------------------------------------------------------------
    void first();
    void last();
    void next();
    void prior();
    // Moves up to |n| visible records; returns how many it moved (negative backwards).
    int moveBy(int n);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty();
    // Re-reads the current record (changes through other handles), keeping the position;
    // goes to the first record when the current one is gone.
    void refresh();
    Bookmark bookmark() const { return {m_recno}; }
    void gotoBookmark(const Bookmark &bookmark);
    // Record number of the current record, 0 when none.
    uint32_t recordNumber() const { return m_recno; }
    // Visible records (counts by walking the view: cost grows with the table).
    int recordCount();
    // Records in the file, deleted ones included.
    uint32_t physicalRecordCount() const;

    // ---- editing -------------------------------------------------------------------
    void append();
    void edit();
    void post();
    void cancel();
    void remove();
    void emptyTable();

    // ---- fields ----------------------------------------------------------------------
    const FieldList &fieldDefs() const;
    QStringList fieldNames() const;
    bool hasField(const QString &name) const;

    QString asString(const QString &field) const;
    qint64 asInteger(const QString &field) const;
    double asFloat(const QString &field) const;
    QDate asDate(const QString &field) const;
    bool asBool(const QString &field) const;
    QByteArray asBlob(const QString &field) const;
    bool isNull(const QString &field) const;

    // A field looked up once, for loops that read the same fields of many
    // records: reading through it skips the lookup by name and gives what the
    // getter of that name gives. It is good until the handle is closed; using
    // it afterwards throws a db::Error.
    struct FieldRef {
        int index = -1;
        const TableFile *file = nullptr;
        quint64 opening = 0;
    };
    // Throws as the getters do when the table lacks the field; calculated
    // fields have no reference.
    FieldRef fieldRef(const QString &field) const;
    qint64 asInteger(const FieldRef &field) const;
    double asFloat(const FieldRef &field) const;
    QDate asDate(const FieldRef &field) const;
    bool asBool(const FieldRef &field) const;
    // The value in its natural type (QString, double, QDate, bool, QByteArray), or a
    // null QVariant for an empty cell.
    QVariant value(const QString &field) const;

    void setString(const QString &field, const QString &text);
    void setInteger(const QString &field, qint64 value);
    void setFloat(const QString &field, double value);
    void setDate(const QString &field, const QDate &date);
    void setBool(const QString &field, bool value);
    void setBlob(const QString &field, const QByteArray &data);
    void setNull(const QString &field);
    void setValue(const QString &field, const QVariant &value);

    // ---- keys, ranges, filters --------------------------------------------------------
    // Exact search on the chosen tag; false (position unchanged) when no visible record
    // has the key.
    bool findKey(const QVariant &key);
    // Goes to the first visible record whose key is not less than `key` (eof when none).
    void findNearest(const QVariant &key);
    void setRange(const QVariant &low, const QVariant &high);
    void cancelRange();
    bool hasRange() const { return m_range; }

    // The filter text is parsed when set on an open table (or at open); a text that
    // cannot be parsed throws. It applies while setFiltered(true).
    void setFilter(const QString &text);
    QString filter() const { return m_filterText; }
    void setFiltered(bool filtered);
    bool isFiltered() const { return m_filtered; }

    // Master and detail: this handle's chosen tag orders the link column; it shows only
    // the records whose key equals `masterField` of the master's current record and
    // follows the master as it moves. nullptr unlinks.
    void setMasterSource(Table *master, const QString &masterField = {});

    // Calculated fields: declared by name, computed by the handler each time a record
    // becomes current, read with the same getters, never stored.
    void addCalculatedField(const QString &name);
    void setCalcFieldsHandler(std::function<void(Table &)> handler);
    void setCalculated(const QString &name, const QVariant &value);

    // ---- maintenance on a handle opened exclusively ------------------------------------
    void reindex();
    void pack();

    // Deleted records stay hidden unless shown (support tools); isDeleted() tells.
    void setShowDeleted(bool show);
    bool isDeleted() const;

    // Query results (Database::executeSql) are read-only handles in a given order.
    void setQueryOrder(std::vector<uint32_t> order);
    bool isQuery() const { return m_query; }

private:
    friend class Database;

    struct Cursor {
        IndexTag::Position pos;
        uint64_t version = 0;
    };

    TableFile &file() const;
    void requireOpen() const;
    void requireBrowseable();
    int fieldOrThrow(const QString &name) const;
    int checkedIndex(const FieldRef &field) const;
    double floatAt(int index) const;
    qint64 integerAt(int index) const;
    QDate dateAt(int index) const;
    bool boolAt(int index) const;
    int calcIndex(const QString &name) const;
    const char *currentBytes() const;
    char *editBytes(int field);
    bool visible(uint32_t recno) const;
    void compileFilter();
    void setCurrent(uint32_t recno);
    void clearCurrent();
    void checkBrowseMode();
    void notifyDetails();
    void masterMoved();
    void applyMasterLink();
    IndexTag *currentTag() const;
    bool locate(IndexTag::Position &pos) const;
    bool inRange(IndexTag *tag, uint32_t recno) const;
    bool seekForward(IndexTag *tag, IndexTag::Position pos);
    bool seekBackward(IndexTag *tag, IndexTag::Position pos);
    bool stepForward();
    bool stepBackward();
    QString fieldText(int index) const;
    void storeText(int index, const QByteArray &bytes);
    void storeText(int index, QStringView text);
    void storeNumber(int index, double value, bool integral, qint64 integer);
    void detachFromDatabase();
    void forgetMaster();
    // Reindex and pack: exclusive use, and a whole table (or a closed handle) after a failure.
    void maintain(const std::function<void(TableFile &)> &work);

    Database *m_db;
    QString m_tableName;
    bool m_exclusive = false;
    State m_state = State::Inactive;
    std::shared_ptr<TableFile> m_file;
    // Counts the openings of this handle, so a field reference outlives none.
    quint64 m_opening = 0;
    QString m_indexName;

    uint32_t m_recno = 0;
    bool m_bof = true;
    bool m_eof = true;
    Cursor m_cursor;

    QByteArray m_buffer;
    QHash<int, QByteArray> m_pendingMemos;

    bool m_range = false;
    QVariant m_rangeLow, m_rangeHigh;
    QByteArray m_lowKey, m_highKey;
    bool m_linkEmpty = false; // master without a current record

    QString m_filterText;
    bool m_filtered = false;
    std::unique_ptr<FilterExpression> m_filter;

    Table *m_master = nullptr;
    QString m_masterField;
    std::vector<Table *> m_details;

    QStringList m_calcNames;
    QVariantList m_calcValues;
    std::function<void(Table &)> m_calcHandler;

    bool m_showDeleted = false;
    bool m_query = false;
    std::vector<uint32_t> m_queryOrder;
    size_t m_queryPos = 0;
};

} // namespace corvale::db

#pragma once

#include <QList>
#include <QString>

#include <cstdint>

namespace corvale::db {

// One column of a table as its descriptor holds it.
//
// Types: 'C' text, 'N' and 'F' ASCII numbers, 'L' logical, 'D' date "yyyymmdd",
// 'M' memo / 'B' binary / 'G' OLE (a block number in the DBT), and the level-7 binary
// types 'I' (long), '+' (autoincrement), 'O' (double), '@' (timestamp).
struct FieldDef {
    QString name;
    char type = 'C';
    int length = 0;
    int decimals = 0;
    // Descriptor flag: the production MDX holds a tag on this column.
    bool tagged = false;
    // Byte offset in the record, the deleted flag being byte 0 (filled by the engine).
    int offset = 0;
    // Level-7 autoincrement ('+') columns: the value the next new record takes.
    uint32_t nextValue = 0;

    static FieldDef text(const QString &name, int length) { return {name, 'C', length, 0}; }
    static FieldDef number(const QString &name, int length, int decimals = 0) {
        return {name, 'N', length, decimals};
    }
    static FieldDef logical(const QString &name) { return {name, 'L', 1, 0}; }
    static FieldDef date(const QString &name) { return {name, 'D', 8, 0}; }
    static FieldDef memo(const QString &name) { return {name, 'M', 10, 0}; }

    bool isMemo() const { return type == 'M' || type == 'B' || type == 'G'; }
    bool isNumeric() const {
        return type == 'N' || type == 'F' || type == 'I' || type == '+' || type == 'O';
    }
    // A text like "N(6,0)" for messages.
    QString describe() const {
        if (type == 'N' || type == 'F')
            return QStringLiteral("%1(%2,%3)")
                .arg(QChar::fromLatin1(type))
                .arg(length)
                .arg(decimals);
        return QStringLiteral("%1(%2)").arg(QChar::fromLatin1(type)).arg(length);
    }
};

using FieldList = QList<FieldDef>;

} // namespace corvale::db

#include "db/TableChecker.h"

#include "db/DbfFile.h"
#include "db/DbfFormat.h"
#include "db/Error.h"
#include "db/FieldCodec.h"
#include "db/IndexTag.h"
#include "db/KeyExpression.h"
#include "db/MdxFile.h"
#include "db/MemoFile.h"
#include "db/TableFile.h"

#include <cstring>
#include <vector>

namespace corvale::db {

namespace {

void checkSize(DbfFile &dbf, QStringList &problems) {
    const uint32_t count = dbf.recordCount();
    if (dbf.headerRecordCount() != count)
        problems << QStringLiteral("L'intestazione dichiara %1 record, il file ne contiene %2")
                        .arg(dbf.headerRecordCount())
                        .arg(count);
    const qint64 expectedSize = qint64(dbf.headerLength()) + qint64(count) * dbf.recordLength();
    const qint64 size = dbf.file().size();
    if (size > expectedSize + 1)
        problems << QStringLiteral("%1 byte in più dopo l'ultimo record").arg(size - expectedSize);
}

// Every memo pointer of every record must be a number and lead to a sound
// block of the memo file.
void checkMemos(FileSystem &fs, const QString &dbfPath, DbfFile &dbf, QStringList &problems) {
    bool memoFields = false;
    for (const FieldDef &field : dbf.fields())
        memoFields = memoFields || field.isMemo();
    if (!memoFields)
        return;
    std::unique_ptr<MemoFile> memo;
    const QString dbt = TableFile::companion(fs, dbfPath, QStringLiteral("DBT"));
    if (fs.exists(dbt)) {
        try {
            memo = std::make_unique<MemoFile>(fs.open(dbt, FileSystem::Mode::ReadOnly),
                                              dbf.isLevel7() || dbf.hasIvMemo(), false);
        } catch (const Error &error) {
            problems << error.message();
        }
    }
    for (uint32_t r = 1; r <= dbf.recordCount(); ++r) {
        const char *bytes = dbf.record(r);
        for (const FieldDef &field : dbf.fields()) {
            if (!field.isMemo())
                continue;
            uint32_t block = 0;
            if (!FieldCodec::parseBlock(bytes + field.offset, field.length, &block)) {
                problems << QStringLiteral("Record %1: puntatore memo non valido nel campo %2")
                                .arg(r)
                                .arg(field.name);
                continue;
            }
            if (block == 0)
                continue;
            QString why;
            if (!memo)
                problems << QStringLiteral("Record %1: il campo %2 punta a un file memo mancante")
                                .arg(r)
                                .arg(field.name);
            else if (!memo->check(block, &why))
                problems << QStringLiteral("Record %1, campo %2: %3").arg(r).arg(field.name, why);
        }
    }
}

// True when the key stored in the index is the record's key in the index's
// own format; `current` holds the record's key as the tag makes it.
bool keyMatches(const IndexTag &tag, const MdxFile::Tag &info, const char *key,
                const std::vector<char> &current, const char *record) {
    switch (tag.keyType()) {
    case 'N': {
        // Within the column's decimals: other engines pack the binary double.
        char packed[FieldCodec::packedLength];
        FieldCodec::packDecimal(FieldCodec::fromOrderedDouble(current.data()), packed);
        const int decimals = tag.keyDecimals();
        return FieldCodec::unpackDecimal(packed, decimals) ==
               FieldCodec::unpackDecimal(key, decimals);
    }
    case 'D': {
        uint64_t raw = 0;
        for (int i = 7; i >= 0; --i)
            raw = (raw << 8) | static_cast<unsigned char>(key[i]);
        double day;
        std::memcpy(&day, &raw, 8);
        return day == FieldCodec::fromOrderedDouble(current.data());
    }
    case 'C': {
        std::vector<char> text(size_t(tag.field().length), ' ');
        tag.keyText(record, text.data());
        return std::memcmp(text.data(), key, size_t(qMin(info.keyLength, tag.field().length))) == 0;
    }
    default:
        return true;
    }
}

// Walks one tag: every entry names an existing record once, holds that
// record's key, and comes in key order; every record has its entry. At most 20
// faults are told per tag.
void checkTag(MdxFile &mdx, const MdxFile::Tag &info, DbfFile &dbf, const Collation &collation,
              QStringList &problems) {
    std::unique_ptr<IndexTag> keyed;
    try {
        keyed = std::make_unique<IndexTag>(
            info.name, KeyExpression::parse(info.expression, dbf.fields(), dbf.fileName()),
            dbf.fields(), collation);
    } catch (const Error &) {
        problems << QStringLiteral("Indice %1: espressione \"%2\" non gestita")
                        .arg(info.name, info.expression);
        return;
    }
    const IndexTag &tag = *keyed;
    const uint32_t count = dbf.recordCount();
    const int width = tag.keyWidth();
    std::vector<char> seen(size_t(count) + 1, 0);
    std::vector<char> previous(size_t(width), 0), current(size_t(width), 0);
    uint32_t entries = 0;
    int reported = 0;
    auto report = [&](const QString &text) {
        if (++reported <= 20)
            problems << QStringLiteral("Indice %1: %2").arg(info.name, text);
    };
    QString why;
    const bool ok = mdx.walk(
        info,
        [&](const char *key, uint32_t recno) {
            ++entries;
            if (recno == 0 || recno > count) {
                report(QStringLiteral("record %1 inesistente").arg(recno));
                return true;
            }
            if (seen[recno]++)
                report(QStringLiteral("record %1 presente più volte").arg(recno));
            tag.makeKey(dbf.record(recno), current.data());
            if (!keyMatches(tag, info, key, current, dbf.record(recno)))
                report(
                    QStringLiteral("la chiave del record %1 non corrisponde ai dati").arg(recno));
            // Equal keys may be in any record order: other engines keep them so.
            if (entries > 1 && std::memcmp(previous.data(), current.data(), size_t(width)) > 0)
                report(QStringLiteral("record %1 fuori ordine").arg(recno));
            previous = current;
            return true;
        },
        &why);
    if (!ok) {
        problems << why;
        return;
    }
    for (uint32_t r = 1; r <= count; ++r)
        if (!seen[r])
            report(QStringLiteral("manca il record %1").arg(r));
}

// The production index: present when a column is tagged, closed cleanly, a
// tag for every tagged column, and every tag sound.
void checkIndexes(FileSystem &fs, const QString &dbfPath, DbfFile &dbf, QStringList &problems) {
    const QString mdxPath = TableFile::companion(fs, dbfPath, QStringLiteral("MDX"));
    bool anyTagged = false;
    for (const FieldDef &field : dbf.fields())
        anyTagged = anyTagged || field.tagged;
    if (!fs.exists(mdxPath)) {
        if (anyTagged || dbf.productionMdx())
            problems << QStringLiteral("Manca il file indice %1").arg(mdxPath);
        return;
    }
    std::unique_ptr<MdxFile> mdx;
    try {
        mdx = std::make_unique<MdxFile>(fs.open(mdxPath, FileSystem::Mode::ReadOnly));
    } catch (const Error &error) {
        problems << error.message();
        return;
    }
    if (mdx->isDirty())
        problems << QStringLiteral("L'indice non è stato chiuso correttamente");
    for (const FieldDef &field : dbf.fields()) {
        if (!field.tagged)
            continue;
        bool found = false;
        for (const MdxFile::Tag &tag : mdx->tags())
            found = found || tag.expression == field.name;
        if (!found)
            problems << QStringLiteral("Manca l'indice sul campo %1").arg(field.name);
    }
    const Collation collation(dbf.languageDriver());
    for (const MdxFile::Tag &info : mdx->tags())
        checkTag(*mdx, info, dbf, collation, problems);
}

} // namespace

QStringList TableChecker::check(FileSystem &fs, const QString &dbfPath, bool withIndexes) {
    std::unique_ptr<DbfFile> dbf;
    try {
        dbf = std::make_unique<DbfFile>(fs.open(dbfPath, FileSystem::Mode::ReadOnly), false);
    } catch (const Error &error) {
        return {error.message()};
    }
    QStringList problems;
    checkSize(*dbf, problems);
    checkMemos(fs, dbfPath, *dbf, problems);
    if (withIndexes)
        checkIndexes(fs, dbfPath, *dbf, problems);
    return problems;
}

} // namespace corvale::db

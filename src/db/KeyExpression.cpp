#include "db/KeyExpression.h"

#include "db/Error.h"
#include "db/FieldCodec.h"
#include "db/MdxFormat.h"

#include <QRegularExpression>

#include <cstring>

namespace corvale::db {

namespace {

// Capitals of Windows-1252 letters; other bytes stay.
unsigned char upperByte(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A:
        return 0x8A; // š
    case 0x9C:
        return 0x8C; // œ
    case 0x9E:
        return 0x8E; // ž
    case 0xFF:
        return 0x9F; // ÿ
    default:
        return c;
    }
}

} // namespace

KeyExpression KeyExpression::parse(const QString &text, const FieldList &fields,
                                   const QString &tableName) {
    KeyExpression key;
    QString compact = text.toUpper();
    compact.remove(QRegularExpression(QStringLiteral("\\s+")));
    key.m_text = compact;
    auto refuse = [&](const QString &why) {
        return Error(QStringLiteral("Indice \"%1\" della tabella %2 non gestito: %3")
                         .arg(text.trimmed(), tableName, why));
    };
    if (compact.isEmpty())
        throw refuse(QStringLiteral("espressione vuota"));
    auto findField = [&](const QString &name) {
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        throw refuse(QStringLiteral("campo %1 inesistente").arg(name));
    };
    static const QRegularExpression identifier(QStringLiteral("^[A-Z_][A-Z0-9_]*$"));
    static const QRegularExpression call(
        QStringLiteral("^(DTOS|STR|UPPER)\\(([A-Z_][A-Z0-9_]*)(?:,(\\d+)(?:,(\\d+))?)?\\)$"));
    const QStringList terms = compact.split(QLatin1Char('+'));
    for (const QString &term : terms) {
        Part part;
        if (identifier.match(term).hasMatch()) {
            part.field = findField(term);
            const FieldDef &field = fields[part.field];
            if (field.isMemo())
                throw refuse(QStringLiteral("il campo memo %1 non si può indicizzare").arg(term));
            if (terms.size() > 1 && field.type != 'C')
                throw refuse(QStringLiteral("nelle chiavi composte il campo %1 va convertito in "
                                            "testo (DTOS o STR)")
                                 .arg(field.name));
            part.kind = Part::Field;
        } else {
            const QRegularExpressionMatch m = call.match(term);
            if (!m.hasMatch())
                throw refuse(
                    QStringLiteral("\"%1\" non è un campo né una funzione gestita").arg(term));
            const QString function = m.captured(1);
            part.field = findField(m.captured(2));
            const FieldDef &field = fields[part.field];
            const bool extra = m.hasCaptured(3);
            if (function == QLatin1String("DTOS")) {
                if (field.type != 'D' || extra)
                    throw refuse(QStringLiteral("DTOS vuole un campo data"));
                part.kind = Part::Dtos;
            } else if (function == QLatin1String("UPPER")) {
                if (field.type != 'C' || extra)
                    throw refuse(QStringLiteral("UPPER vuole un campo di testo"));
                part.kind = Part::Upper;
            } else {
                if (field.type != 'N' && field.type != 'F')
                    throw refuse(QStringLiteral("STR vuole un campo numerico"));
                part.kind = Part::Str;
                part.width = extra ? m.captured(3).toInt() : 10;
                part.decimals = m.hasCaptured(4) ? m.captured(4).toInt() : 0;
                if (part.width < 1 || part.width > 20 || part.decimals < 0 ||
                    (part.decimals > 0 && part.decimals > part.width - 2))
                    throw refuse(QStringLiteral("larghezza di STR non valida"));
            }
        }
        const FieldDef &field = fields[part.field];
        part.offset = field.offset;
        part.cell = field.length;
        if (part.kind == Part::Field || part.kind == Part::Upper)
            part.width = field.length;
        else if (part.kind == Part::Dtos)
            part.width = 8;
        key.m_length += part.width;
        key.m_parts << part;
    }
    if (!key.isSingleField() && key.m_length > mdx::maxCharKey)
        throw refuse(QStringLiteral("chiave di %1 caratteri, al massimo %2")
                         .arg(key.m_length)
                         .arg(mdx::maxCharKey));
    return key;
}

void KeyExpression::write(const char *record, char *out) const {
    for (const Part &part : m_parts) {
        const char *cell = record + part.offset;
        switch (part.kind) {
        case Part::Field:
        case Part::Dtos:
            std::memcpy(out, cell, size_t(part.width));
            break;
        case Part::Upper:
            for (int i = 0; i < part.width; ++i)
                out[i] = static_cast<char>(upperByte(static_cast<unsigned char>(cell[i])));
            break;
        case Part::Str: {
            double value = 0;
            if (!FieldCodec::parseNumber(cell, part.cell, &value))
                value = 0;
            // As dBASE: a number wider than the piece shows as asterisks.
            if (!FieldCodec::writeNumber(value, part.width, part.decimals, out))
                std::memset(out, '*', size_t(part.width));
            break;
        }
        }
        out += part.width;
    }
}

} // namespace corvale::db

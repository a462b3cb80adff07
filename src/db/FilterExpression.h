#pragma once

#include "db/Collation.h"
#include "db/FieldDef.h"

#include <QString>
#include <QVariantMap>

#include <memory>

namespace corvale::db {

// A record filter, parsed once and evaluated on the raw bytes of each record.
//
// Grammar (keywords and field names in any letter case):
//   expr       := term { OR term }
//   term       := factor { AND factor }
//   factor     := NOT factor | '(' expr ')' | comparison | LOGICALFIELD
//   comparison := operand op operand        op: = <> != < <= > >=
//   operand    := FIELD | 'text' (a quote inside is doubled) | "text" | number
//                 | :PARAMETER | TRUE | FALSE | WORD
//
// A literal is read by the type of the field it is compared with: '5' against a
// numeric field is the number 5, 20240101 against a text field is the text
// "20240101", 'dd/mm/yyyy' or 'yyyymmdd' against a date field is that date. A bare word
// that is not a field of the table is a text literal ("(TD<>A)" compares TD with "A").
// Text compares by the table's collation, padded with blanks; an empty numeric cell
// counts as 0, an empty date is lower than every date.
//
// Anything else is a db::Error naming the table, never a filter that silently lets every
// record through.
class FilterExpression {
public:
    class Node;

    ~FilterExpression();

    static std::unique_ptr<FilterExpression> compile(const QString &text, const FieldList &fields,
                                                     Collation collation, const QString &tableName,
                                                     const QVariantMap &parameters = {});

    bool matches(const char *record) const;
    const QString &text() const { return m_text; }

private:
    FilterExpression() = default;

    QString m_text;
    std::unique_ptr<Node> m_root;
};

} // namespace corvale::db

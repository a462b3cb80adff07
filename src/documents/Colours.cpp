#include "documents/Colours.h"

#include "catalogue/ArticleColumns.h"
#include "db/Table.h"
#include "shell/CommonRoutines.h"

namespace corvale {

qint64 addColour(db::Database &database, CommonRoutines &routines, const QString &typed) {
    const QString name = typed.trimmed().toUpper();
    if (name.isEmpty())
        return 0;
    const qint64 number = routines.NextCounter(QStringLiteral("COLORI"), true);
    db::Table colours(database);
    colours.setTableName(articleColumns::colours);
    colours.open();
    colours.append();
    colours.setInteger(articleColumns::key, number);
    colours.setString(articleColumns::colour, name);
    colours.post();
    return number;
}

} // namespace corvale

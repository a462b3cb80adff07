#include "documents/Colours.h"

#include "db/Table.h"
#include "shell/CommonRoutines.h"

namespace corvale {

qint64 addColour(db::Database &database, CommonRoutines &routines, const QString &typed) {
    const QString name = typed.trimmed().toUpper();
    if (name.isEmpty())
        return 0;
    const qint64 number = routines.NextCounter(QStringLiteral("COLORI"), true);
    db::Table colours(database);
    colours.setTableName(QStringLiteral("COLORI"));
    colours.open();
    colours.append();
    colours.setInteger(QStringLiteral("NUMREG"), number);
    colours.setString(QStringLiteral("COLORE"), name);
    colours.post();
    return number;
}

} // namespace corvale

#include "catalogue/FilterConditions.h"

#include "db/Table.h"
#include "shell/CommonRoutines.h"

namespace corvale {

namespace {

QString quoted(const QString &text) {
    return u'\'' + CommonRoutines::QuoteSql(text) + u'\'';
}

} // namespace

void FilterConditions::apply(db::Table &table, const QString &text) {
    table.setFilter(text);
    table.setFiltered(!text.isEmpty());
}

FilterConditions &FilterConditions::equals(const QString &column, const QString &value) {
    if (!value.isEmpty())
        m_conditions << u'(' + column + QStringLiteral(" = ") + quoted(value) + u')';
    return *this;
}

FilterConditions &FilterConditions::startsWith(const QString &column, const QString &text) {
    if (!text.isEmpty())
        m_conditions << QStringLiteral("((") + column + QStringLiteral(" >= ") + quoted(text) +
                            QStringLiteral(") AND (") + column + QStringLiteral(" <= ") +
                            quoted(text + u'z') + QStringLiteral("))");
    return *this;
}

FilterConditions &FilterConditions::code(const QString &column, const QString &code,
                                         int wholeLength) {
    if (code.size() < wholeLength)
        return startsWith(column, code);
    return equals(column, code.left(wholeLength));
}

FilterConditions &FilterConditions::holds(const QString &condition) {
    m_conditions << u'(' + condition + u')';
    return *this;
}

} // namespace corvale

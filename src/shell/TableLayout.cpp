#include "shell/TableLayout.h"

namespace corvale {

bool TableLayout::hasField(const QString &field) const {
    for (const db::FieldDef &f : fields) {
        if (f.name.compare(field, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

TableLayout TableLayout::without(const QStringList &columns) const {
    TableLayout out{name, {}, {}};
    for (const db::FieldDef &f : fields) {
        if (!columns.contains(f.name, Qt::CaseInsensitive))
            out.fields << f;
    }
    for (const TagLayout &t : tags) {
        if (!columns.contains(t.name, Qt::CaseInsensitive) &&
            !columns.contains(t.key(), Qt::CaseInsensitive))
            out.tags << t;
    }
    return out;
}

namespace columns {

db::FieldDef recordNumber(const QString &name) {
    return db::FieldDef::number(name, 10, 0);
}

db::FieldDef money(const QString &name) {
    return db::FieldDef::number(name, 15, 5);
}

db::FieldDef percent(const QString &name) {
    return db::FieldDef::number(name, 6, 2);
}

db::FieldDef quantity(const QString &name) {
    return db::FieldDef::number(name, 12, 3);
}

db::FieldDef small(const QString &name) {
    return db::FieldDef::number(name, 4, 0);
}

db::FieldDef text(const QString &name, int length) {
    return db::FieldDef::text(name, length);
}

db::FieldDef number(const QString &name, int length, int decimals) {
    return db::FieldDef::number(name, length, decimals);
}

db::FieldDef logical(const QString &name) {
    return db::FieldDef::logical(name);
}

db::FieldDef date(const QString &name) {
    return db::FieldDef::date(name);
}

db::FieldDef blob(const QString &name) {
    return db::FieldDef::memo(name);
}

db::FieldList sizeLabels() {
    db::FieldList out;
    for (int i = 1; i <= 20; ++i)
        out << text(QStringLiteral("TG%1").arg(i), 10);
    return out;
}

db::FieldList sizeQuantities() {
    db::FieldList out;
    for (int i = 1; i <= 20; ++i)
        out << number(QStringLiteral("TG%1").arg(i), 6, 0);
    return out;
}

} // namespace columns

QList<TagLayout> tags(const QStringList &columns) {
    QList<TagLayout> out;
    for (const QString &c : columns)
        out << TagLayout{c, {}};
    return out;
}

} // namespace corvale

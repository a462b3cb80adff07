#pragma once

#include "db/FieldDef.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace corvale {

// The layout of one table of the data folder at the latest release: its
// columns in physical order and its index tags (each named after the column it
// orders, ascending, unless an expression is given).
struct TagLayout {
    QString name;
    QString expression; // empty: the column of the same name

    QString key() const { return expression.isEmpty() ? name : expression; }
};

struct TableLayout {
    QString name; // file base name, e.g. "ARTICOLI" (file "ARTICOLI.DBF")
    db::FieldList fields;
    QList<TagLayout> tags;

    QString fileName() const { return name + QStringLiteral(".DBF"); }
    bool hasField(const QString &field) const;
    // A copy without the named columns (and their tags): an older release's layout.
    TableLayout without(const QStringList &columns) const;
};

using TableLayouts = QList<TableLayout>;

// Column kinds whose width the program chose once for every table, so that
// record numbers hold nine digits or more and money keeps its cents.
namespace columns {

db::FieldDef recordNumber(const QString &name); // N(10,0)
db::FieldDef money(const QString &name);        // N(15,5), like PRZVND
db::FieldDef percent(const QString &name);      // N(6,2), like SCOVND and IVA
db::FieldDef quantity(const QString &name);     // N(12,3): quantities may be fractional
db::FieldDef small(const QString &name);        // N(4,0): at most four digits
db::FieldDef text(const QString &name, int length);
db::FieldDef number(const QString &name, int length, int decimals);
db::FieldDef logical(const QString &name);
db::FieldDef date(const QString &name);
db::FieldDef blob(const QString &name);
// TG1..TG20 as text(10) labels or N(6,0) quantities.
db::FieldList sizeLabels();
db::FieldList sizeQuantities();

} // namespace columns

QList<TagLayout> tags(const QStringList &columns);

} // namespace corvale

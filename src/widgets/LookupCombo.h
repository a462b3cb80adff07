#pragma once

#include <QComboBox>
#include <QVariant>

namespace corvale {

namespace db {
class Table;
}

// A drop-down list of one field of a table (in the order of the handle's
// tag) that stands for another: it shows NOME and stores NUMREG, say.
class LookupCombo : public QComboBox {
    Q_OBJECT
public:
    explicit LookupCombo(QWidget *parent = nullptr);

    // Fills the list from every visible record of `source` (which must be
    // open); the handle's position is kept. A first blank item when `blank`.
    void fill(db::Table &source, const QString &displayField, const QString &keyField,
              bool blank = false);

    QVariant currentKey() const;
    // Chooses the item with this key; none (index -1) when there is no such item.
    void setCurrentKey(const QVariant &key);
};

} // namespace corvale

#include "widgets/LookupCombo.h"

#include "db/Table.h"

namespace corvale {

LookupCombo::LookupCombo(QWidget *parent)
    : QComboBox(parent) {}

void LookupCombo::fill(db::Table &source, const QString &displayField, const QString &keyField,
                       bool blank) {
    const QVariant key = currentKey();
    const QSignalBlocker block(this);
    clear();
    if (blank)
        addItem(QString(), QVariant());
    const db::Table::Bookmark here = source.bookmark();
    for (source.first(); !source.eof(); source.next())
        addItem(source.asString(displayField), source.value(keyField));
    if (here.isValid())
        source.gotoBookmark(here);
    setCurrentKey(key);
}

QVariant LookupCombo::currentKey() const {
    return currentIndex() >= 0 ? itemData(currentIndex()) : QVariant();
}

void LookupCombo::setCurrentKey(const QVariant &key) {
    for (int i = 0; i < count(); ++i) {
        const QVariant item = itemData(i);
        if (item.isNull() ? key.isNull() : (!key.isNull() && item == key)) {
            setCurrentIndex(i);
            return;
        }
        // Numbers read back as doubles; compare them as numbers.
        bool a = false, b = false;
        const double x = item.toDouble(&a), y = key.toDouble(&b);
        if (a && b && x == y && !item.isNull() && !key.isNull()) {
            setCurrentIndex(i);
            return;
        }
    }
    setCurrentIndex(-1);
}

} // namespace corvale

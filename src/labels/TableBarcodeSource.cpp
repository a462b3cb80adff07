#include "labels/TableBarcodeSource.h"

#include "db/Table.h"

namespace corvale {

bool TableBarcodeSource::isActive() const {
    return table_.isOpen() && table_.recordNumber() != 0;
}

QString TableBarcodeSource::fieldText(const QString &field) const {
    return table_.asString(field);
}

} // namespace corvale

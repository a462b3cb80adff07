#pragma once

#include "labels/BarcodeDataSource.h"

namespace corvale {

namespace db {
class Table;
}

// The data link of a barcode control over a table handle. The handle's owner
// calls the control's recordChanged() after moving or changing the record.
class TableBarcodeSource : public BarcodeDataSource {
public:
    explicit TableBarcodeSource(db::Table &table)
        : table_(table) {}

    bool isActive() const override;
    QString fieldText(const QString &field) const override;

private:
    db::Table &table_;
};

} // namespace corvale

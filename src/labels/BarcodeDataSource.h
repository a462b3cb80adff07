#pragma once

#include <QString>

namespace corvale {

// The record a barcode control takes its text from. A table handle's adapter
// implements it and tells the control when its current record changes.
class BarcodeDataSource {
public:
    virtual ~BarcodeDataSource() = default;
    // False when the dataset is closed or has no current record.
    virtual bool isActive() const = 0;
    // The field's text in the current record; asking for a missing field is
    // the dataset's error.
    virtual QString fieldText(const QString &field) const = 0;
};

} // namespace corvale

#pragma once

#include <QString>
#include <QStringList>

namespace corvale {

class Shop;

// A report's ".XLS" export as every window runs it: the save dialog in the
// shop's "archivio" with the name `prefix` + today as "ddmmyy" + ".XLS", the
// file written and the outcome told. False when cancelled or not written.
bool exportSpreadsheet(Shop &shop, const QStringList &lines,
                       const QString &prefix = QStringLiteral("VN"));

} // namespace corvale

#include "shell/ShopExport.h"

#include "printing/SpreadsheetFile.h"
#include "shell/Shop.h"

namespace corvale {

bool exportSpreadsheet(Shop &shop, const QStringList &lines, const QString &prefix) {
    return SpreadsheetFile::exportWithDialog(
        shop.prompter(), shop.folder().archivePath(),
        SpreadsheetFile::proposedName(shop.clock().today(), prefix), lines);
}

} // namespace corvale

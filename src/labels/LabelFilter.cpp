#include "labels/LabelFilter.h"

#include "shell/CommonRoutines.h"

#include <QStringList>

namespace corvale {

QString LabelFilter::build(const QString &code, const QString &description) {
    // Both texts are quoted: an apostrophe typed in either box must narrow the
    // list, not break the filter.
    const QString k = CommonRoutines::QuoteSql(code);
    const QString d = CommonRoutines::QuoteSql(description);
    QStringList parts;
    if (code.size() == fullCodeLength)
        parts << QStringLiteral("(BARCODE = '%1')").arg(k);
    else if (!code.isEmpty())
        parts << QStringLiteral("((BARCODE >= '%1') AND (BARCODE <= '%1z'))").arg(k);
    if (!description.isEmpty())
        parts << QStringLiteral("((DESCRIZION >= '%1') AND (DESCRIZION <= '%1z'))").arg(d);
    return parts.join(QStringLiteral(" AND "));
}

} // namespace corvale

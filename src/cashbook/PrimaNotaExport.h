#pragma once

#include "cashbook/PrimaNotaContent.h"
#include "printing/SpreadsheetFile.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace corvale {

class Shop;

// The Prima nota of the period as a ".XLS" file an accountant takes away:
// tab-separated text lines ended by CR LF, in Windows-1252, as the program's
// other exports write them. One line per line of the book, then the balances;
// with the register's check, after a blank line, one line per day: the
// takings, the telematic register's total and the difference.
class PrimaNotaExport {
public:
    using Outcome = SpreadsheetFile::Outcome;

    static QStringList lines(const PrimaNotaContent &content, bool withRegister = false);
    // Replaces `path` with the lines; a failed write leaves no half file.
    static Outcome write(const QString &path, const QStringList &lines);
    // "PN" + today as "ddmmyy" + ".XLS".
    static QString proposedName(const QDate &today);

    // The save dialog in "archivio", the file written and the outcome told to
    // the user. False when cancelled or not written.
    static bool exportWithDialog(Shop &shop, const PrimaNotaContent &content,
                                 bool withRegister = false);
};

} // namespace corvale

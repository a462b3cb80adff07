#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace corvale {

class Prompter;

// The ".XLS" exports of the reports and of the Prima nota: tab-separated text
// lines ended by CR LF, in Windows-1252, that a spreadsheet opens.
class SpreadsheetFile {
public:
    enum class Outcome { Written, CannotCreate, WriteFailed };

    // Replaces `path` with `lines`. Nothing is reported to the user.
    static Outcome write(const QString &path, const QStringList &lines);

    // The values of one row, each followed by a tab.
    static QString row(const QStringList &values);

    // The first three lines of every export: "VENDITE - " and today's date,
    // a line of one blank, and the column names.
    static QStringList heading(QDate today, const QStringList &columns);

    // The name an export is proposed: `prefix` ("VN" for the reports) +
    // today as "ddmmyy" + ".XLS".
    static QString proposedName(QDate today, const QString &prefix = QStringLiteral("VN"));

    // The export as the windows run it: the save dialog in `folder` (the
    // program's "archivio", made when missing) with the name `proposed`, the
    // file written and the outcome reported. False when cancelled or when the
    // file was not written.
    static bool exportWithDialog(Prompter &prompter, const QString &folder, const QString &proposed,
                                 const QStringList &lines);
};

} // namespace corvale

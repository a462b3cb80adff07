#include "printing/SpreadsheetFile.h"

#include "platform/Cp1252.h"
#include "platform/Formats.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QSaveFile>

namespace corvale {

SpreadsheetFile::Outcome SpreadsheetFile::write(const QString &path, const QStringList &lines) {
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += Cp1252::encode(line);
        bytes += "\r\n";
    }
    // Written aside and put in place whole: a full disk never leaves half an
    // export behind reported as done.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Outcome::CannotCreate;
    if (file.write(bytes) != bytes.size() || !file.commit())
        return Outcome::WriteFailed;
    return Outcome::Written;
}

QString SpreadsheetFile::row(const QStringList &values) {
    QString out;
    for (const QString &v : values)
        out += v + u'\t';
    return out;
}

QStringList SpreadsheetFile::heading(QDate today, const QStringList &columns) {
    return {QStringLiteral("VENDITE - ") + Formats::formatDate(today), QStringLiteral(" "),
            row(columns)};
}

QString SpreadsheetFile::proposedName(QDate today, const QString &prefix) {
    return prefix + today.toString(QStringLiteral("ddMMyy")) + QStringLiteral(".XLS");
}

bool SpreadsheetFile::exportWithDialog(Prompter &prompter, const QString &folder,
                                       const QString &proposed, const QStringList &lines) {
    QDir().mkpath(folder);
    const std::optional<QString> path = prompter.saveFile(
        QStringLiteral("Esporta"), QStringLiteral("XLS Formato EXCEL|*.XLS"), folder, proposed);
    if (!path)
        return false;
    switch (write(*path, lines)) {
    case Outcome::CannotCreate:
        prompter.error(QStringLiteral("ERRORE creazione file\r") + *path);
        return false;
    case Outcome::WriteFailed:
        prompter.error(QStringLiteral("ERRORE scrittura file\r") + *path);
        return false;
    case Outcome::Written:
        break;
    }
    prompter.information(QStringLiteral("Esportazione dati eseguita con successo."));
    return true;
}

} // namespace corvale

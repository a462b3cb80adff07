#include "stock/SpreadsheetFile.h"

#include "platform/Cp1252.h"
#include "platform/Formats.h"
#include "shell/Shop.h"

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

QString SpreadsheetFile::proposedName(QDate today) {
    return QStringLiteral("VN") + today.toString(QStringLiteral("ddMMyy")) + QStringLiteral(".XLS");
}

bool SpreadsheetFile::exportWithDialog(Shop &shop, const QStringList &lines) {
    const QString folder = shop.folder().archivePath();
    QDir().mkpath(folder);
    const QString proposed = proposedName(shop.clock().today());
    const std::optional<QString> path = shop.prompter().saveFile(
        QStringLiteral("Esporta"), QStringLiteral("XLS Formato EXCEL|*.XLS"), folder, proposed);
    if (!path)
        return false;
    switch (write(*path, lines)) {
    case Outcome::CannotCreate:
        shop.prompter().error(QStringLiteral("ERRORE creazione file\r") + *path);
        return false;
    case Outcome::WriteFailed:
        shop.prompter().error(QStringLiteral("ERRORE scrittura file\r") + *path);
        return false;
    case Outcome::Written:
        break;
    }
    shop.prompter().information(QStringLiteral("Esportazione dati eseguita con successo."));
    return true;
}

} // namespace corvale

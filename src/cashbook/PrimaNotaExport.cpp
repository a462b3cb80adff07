#include "cashbook/PrimaNotaExport.h"

#include "platform/Cp1252.h"
#include "platform/Money.h"
#include "shell/Shop.h"

#include <QDir>
#include <QSaveFile>

namespace corvale {

using namespace cashbook;

namespace {

QString row(const QStringList &values) {
    QString out;
    for (const QString &v : values)
        out += v + u'\t';
    return out;
}

// Money as a spreadsheet reads it on the shop's system: the decimal comma,
// no thousands separators, always the cents.
QString plainAmount(double value) {
    return Money::of(value).exportText(Money::Cents::Always);
}

constexpr int exportedBooks[] = {0, 1, 3};

} // namespace

QStringList PrimaNotaExport::lines(const PrimaNotaContent &content) {
    QStringList out{QStringLiteral("PRIMA NOTA - DAL ") + content.fromText +
                        QStringLiteral(" AL ") + content.toText,
                    QStringLiteral(" "),
                    row({QStringLiteral("DATA"), QStringLiteral("OPERAZIONE"),
                         QStringLiteral("CASSA ENTRATE"), QStringLiteral("CASSA USCITE"),
                         QStringLiteral("BANCA VERSAMENTI"), QStringLiteral("BANCA PRELIEVI"),
                         QStringLiteral("VARIE ENTRATE"), QStringLiteral("VARIE USCITE")})};
    for (const PrimaNotaLine &line : content.lines) {
        const bool partial = line.key == carriedKey || line.key == periodKey;
        QStringList values{line.date, line.description};
        for (int k : exportedBooks) {
            for (double v : {line.in[k], line.out[k]})
                values << (partial || !Money::of(v).isZero() ? plainAmount(v) : QString());
        }
        out << row(values);
    }
    out << row({QString(), QStringLiteral("TOTALI"), plainAmount(content.balance(Book::Cash)),
                QString(), plainAmount(content.balance(Book::Bank)), QString(),
                plainAmount(content.balance(Book::Other)), QString()});
    return out;
}

PrimaNotaExport::Outcome PrimaNotaExport::write(const QString &path, const QStringList &lines) {
    // The same text file as every other export of the program.
    return SpreadsheetFile::write(path, lines);
}

QString PrimaNotaExport::proposedName(const QDate &today) {
    return QStringLiteral("PN") + today.toString(QStringLiteral("ddMMyy")) + QStringLiteral(".XLS");
}

bool PrimaNotaExport::exportWithDialog(Shop &shop, const PrimaNotaContent &content) {
    const QString folder = shop.folder().archivePath();
    QDir().mkpath(folder);
    const std::optional<QString> path = shop.prompter().saveFile(
        QStringLiteral("Esporta"), QStringLiteral("XLS Formato EXCEL|*.XLS"), folder,
        proposedName(shop.clock().today()));
    if (!path)
        return false;
    switch (write(*path, lines(content))) {
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

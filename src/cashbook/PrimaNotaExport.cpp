#include "cashbook/PrimaNotaExport.h"

#include "platform/Money.h"
#include "shell/ShopExport.h"

namespace corvale {

using namespace cashbook;

namespace {

// Money as a spreadsheet reads it on the shop's system: the decimal comma,
// no thousands separators, always the cents.
QString plainAmount(double value) {
    return Money::of(value).exportText(Money::Cents::Always);
}

constexpr int exportedBooks[] = {0, 1, 3};

} // namespace

QStringList PrimaNotaExport::lines(const PrimaNotaContent &content, bool withRegister) {
    QStringList out{
        QStringLiteral("PRIMA NOTA - DAL ") + content.fromText + QStringLiteral(" AL ") +
            content.toText,
        QStringLiteral(" "),
        SpreadsheetFile::row({QStringLiteral("DATA"), QStringLiteral("OPERAZIONE"),
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
        out << SpreadsheetFile::row(values);
    }
    out << SpreadsheetFile::row({QString(), QStringLiteral("TOTALI"),
                                 plainAmount(content.balance(Book::Cash)), QString(),
                                 plainAmount(content.balance(Book::Bank)), QString(),
                                 plainAmount(content.balance(Book::Other)), QString()});
    if (!withRegister || content.registerDays.isEmpty())
        return out;
    // A day the register did not close has no total and no difference.
    out << QStringLiteral(" ")
        << SpreadsheetFile::row({QStringLiteral("DATA"), QStringLiteral("INCASSI"),
                                 QStringLiteral("TOTALE RT"), QStringLiteral("DIFFERENZA")});
    for (const RegisterDay &day : content.registerDays) {
        const std::optional<Money> difference = day.difference();
        out << SpreadsheetFile::row(
            {day.date, day.takings.exportText(Money::Cents::Always),
             day.registerTotal ? day.registerTotal->exportText(Money::Cents::Always) : QString(),
             difference ? difference->exportText(Money::Cents::Always) : QString()});
    }
    return out;
}

PrimaNotaExport::Outcome PrimaNotaExport::write(const QString &path, const QStringList &lines) {
    // The same text file as every other export of the program.
    return SpreadsheetFile::write(path, lines);
}

QString PrimaNotaExport::proposedName(const QDate &today) {
    return SpreadsheetFile::proposedName(today, QStringLiteral("PN"));
}

bool PrimaNotaExport::exportWithDialog(Shop &shop, const PrimaNotaContent &content,
                                       bool withRegister) {
    return exportSpreadsheet(shop, lines(content, withRegister), QStringLiteral("PN"));
}

} // namespace corvale

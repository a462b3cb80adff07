#include "maintenance/ArchiveContents.h"

#include <QRegularExpression>

#include <algorithm>

namespace corvale {

namespace {

const QString kExtension = QStringLiteral(".KVR");

} // namespace

QStringList ArchiveContents::dataFiles(const TableLayouts &layouts) {
    QStringList files;
    for (const TableLayout &layout : layouts)
        files << layout.name + QStringLiteral(".DBF") << layout.name + QStringLiteral(".MDX")
              << layout.name + QStringLiteral(".DBT");
    return files;
}

const QString &ArchiveContents::settingsEntry() {
    static const QString name = QStringLiteral("DATI.INI");
    return name;
}

const QString &ArchiveContents::invoiceFolder() {
    static const QString name = QStringLiteral("FE");
    return name;
}

QString ArchiveContents::invoiceEntry(const QString &fileName) {
    // The names the exchange system gives its files: letters, digits, "_",
    // "-" and ".". Anything else is no file of that folder.
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_-][A-Za-z0-9_.-]{0,99}$"));
    if (!plain.match(fileName).hasMatch() || fileName.contains(QLatin1String("..")))
        return {};
    return invoiceFolder() + u'/' + fileName;
}

bool ArchiveContents::isInvoiceEntry(const QString &entry) {
    const QString prefix = invoiceFolder() + u'/';
    return entry.startsWith(prefix) && invoiceEntry(entry.mid(prefix.size())) == entry;
}

bool ArchiveContents::isKnownEntry(const QString &name, const TableLayouts &layouts) {
    // Exact names only: an entry in other letters is not one the program wrote.
    return name == settingsEntry() || isInvoiceEntry(name) || dataFiles(layouts).contains(name);
}

QString ArchiveContents::proposedName(const QDate &today) {
    return QStringLiteral("AR") + today.toString(QStringLiteral("ddMMyy")) + kExtension;
}

QString ArchiveContents::normalisedName(const QString &typed) {
    // Only the file name goes into capitals: on a case-sensitive system the
    // folders must stay as they are written, or the archive lands nowhere.
    const qsizetype slash = std::max(typed.lastIndexOf(u'/'), typed.lastIndexOf(u'\\'));
    QString name = typed.left(slash + 1) + typed.mid(slash + 1).toUpper();
    if (!name.toUpper().contains(kExtension))
        name += kExtension;
    return name;
}

const QString &ArchiveContents::filter() {
    static const QString text = QStringLiteral("ARCHIVIO CORVALE|*.KVR");
    return text;
}

} // namespace corvale

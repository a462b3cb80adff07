#include "sales/einvoice/EInvoiceFolder.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>

namespace corvale {

EInvoiceFolder::EInvoiceFolder(QString path)
    : m_path(std::move(path)) {}

QString EInvoiceFolder::filePath(const QString &name) const {
    return QDir(m_path).filePath(name);
}

QString EInvoiceFolder::progressiveText(qint64 progressive) {
    return QString::number(progressive, 36).toUpper().rightJustified(5, u'0');
}

qint64 EInvoiceFolder::progressiveOf(const QString &fileName, const QString &sender) {
    if (!fileName.startsWith(sender + u'_', Qt::CaseInsensitive))
        return 0;
    static const QRegularExpression rest(
        QStringLiteral("^([0-9A-Za-z]{1,5})(_[^/]*)?\\.xml(\\.p7m)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = rest.match(fileName.mid(sender.size() + 1));
    if (!m.hasMatch())
        return 0;
    bool ok = false;
    const qint64 value = m.captured(1).toUpper().toLongLong(&ok, 36);
    return ok ? value : 0;
}

qint64 EInvoiceFolder::highestProgressive(const QString &sender) const {
    qint64 highest = 0;
    const QDir dir(m_path);
    if (!dir.exists())
        return 0;
    const QStringList names = dir.entryList({sender + QStringLiteral("_*")}, QDir::Files);
    for (const QString &name : names)
        highest = std::max(highest, progressiveOf(name, sender));
    return highest;
}

bool EInvoiceFolder::writeWhole(const QString &name, const QByteArray &bytes,
                                QString *error) const {
    if (!QDir().mkpath(m_path)) {
        if (error)
            *error = QStringLiteral("Impossibile creare la cartella %1")
                         .arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    // QSaveFile writes beside the name, syncs the file to the disk and renames
    // it over the name only once everything was written.
    QSaveFile file(filePath(name));
    bool written = file.open(QIODevice::WriteOnly);
    if (written && file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        written = false;
    }
    if (written)
        written = file.commit();
    if (!written && error)
        *error = QStringLiteral("Impossibile scrivere il file %1: %2")
                     .arg(QDir::toNativeSeparators(filePath(name)), file.errorString());
    return written;
}

} // namespace corvale

#pragma once

#include <QByteArray>
#include <QString>

namespace corvale {

// The folder of the electronic invoices (archivio/FE or one the user names):
// the file names the exchange system expects, the progressive that names
// them, and files written whole.
class EInvoiceFolder {
public:
    explicit EInvoiceFolder(QString path);

    const QString &path() const { return m_path; }
    QString filePath(const QString &name) const;

    // The highest progressive among the files of `sender` (IdPaese +
    // IdCodice) in the folder, notifications included; 0 when none. A
    // restored older backup then never makes a name the exchange system has
    // already received.
    qint64 highestProgressive(const QString &sender) const;

    // The progressive as the file name carries it: five characters, digits
    // and capitals (base 36), so that 60 million files fit.
    static QString progressiveText(qint64 progressive);
    // The progressive of a file name "<sender>_<progressive>[_...].xml"; 0
    // when the name is not one of `sender`'s.
    static qint64 progressiveOf(const QString &fileName, const QString &sender);

    // Writes `bytes` as `name`: a temporary file, flushed to the disk, then
    // renamed over the name, so that the folder never holds half a file.
    // False with *error when it could not be written.
    bool writeWhole(const QString &name, const QByteArray &bytes, QString *error) const;

    static constexpr qint64 highestPossible = 60466175; // "ZZZZZ"

private:
    QString m_path;
};

} // namespace corvale

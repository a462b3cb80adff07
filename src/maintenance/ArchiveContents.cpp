#include "maintenance/ArchiveContents.h"

#include <algorithm>

namespace corvale {

namespace {

const QString kExtension = QStringLiteral(".KVR");

} // namespace

const QStringList &ArchiveContents::dataFiles() {
    static const QStringList files = {
        QStringLiteral("ARCART_A.DBF"), QStringLiteral("ARCART_A.MDX"),
        QStringLiteral("ARCART_V.DBF"), QStringLiteral("ARCART_V.MDX"),
        QStringLiteral("ARCARTTG.DBF"), QStringLiteral("ARCARTTG.MDX"),
        QStringLiteral("ARTICOLI.DBF"), QStringLiteral("ARTICOLI.MDX"),
        QStringLiteral("ARTICOLI.DBT"), QStringLiteral("CARICHI.DBF"),
        QStringLiteral("CARICHI.MDX"),  QStringLiteral("CATEGOR.DBF"),
        QStringLiteral("CATEGOR.MDX"),  QStringLiteral("CLIENTI.DBF"),
        QStringLiteral("CLIENTI.MDX"),  QStringLiteral("COLORI.DBF"),
        QStringLiteral("COLORI.MDX"),   QStringLiteral("CONFIG.DBF"),
        QStringLiteral("CONFIG.DBT"),   QStringLiteral("COUNTERS.DBF"),
        QStringLiteral("ELEMENTI.DBF"), QStringLiteral("FATTURE.DBF"),
        QStringLiteral("FATTURE.MDX"),  QStringLiteral("FORNITOR.DBF"),
        QStringLiteral("FORNITOR.MDX"), QStringLiteral("MARCHI.DBF"),
        QStringLiteral("MARCHI.MDX"),   QStringLiteral("MATERIAL.DBF"),
        QStringLiteral("MATERIAL.MDX"), QStringLiteral("MISURE.DBF"),
        QStringLiteral("MISURE.MDX"),   QStringLiteral("NOTA.DBF"),
        QStringLiteral("NOTA.MDX"),     QStringLiteral("NOTAM.DBF"),
        QStringLiteral("NOTAM.MDX"),    QStringLiteral("TAGLIE.DBF"),
        QStringLiteral("TAGLIE.MDX"),   QStringLiteral("TIPOLOGI.DBF"),
        QStringLiteral("TIPOLOGI.MDX"), QStringLiteral("VENDITE.DBF"),
        QStringLiteral("VENDITE.MDX"),  QStringLiteral("FONDI.DBF"),
        QStringLiteral("FONDI.MDX"),    QStringLiteral("ARCART_R.DBF"),
        QStringLiteral("ARCART_R.MDX"), QStringLiteral("RESI.DBF"),
        QStringLiteral("RESI.MDX"),     QStringLiteral("BANK0.DBF"),
        QStringLiteral("BANK0.MDX"),    QStringLiteral("BANK1.DBF"),
        QStringLiteral("BANK1.MDX"),    QStringLiteral("BANK2.DBF"),
        QStringLiteral("BANK2.MDX"),    QStringLiteral("BANK3.DBF"),
        QStringLiteral("BANK3.MDX"),    QStringLiteral("ACCONTI.DBF"),
        QStringLiteral("ACCONTI.MDX"),  QStringLiteral("PRIMANOT.DBF"),
        QStringLiteral("PRIMANOT.MDX"), QStringLiteral("TABLE1.DBF"),
        QStringLiteral("TABLE1.MDX"),   QStringLiteral("TABLE2.DBF"),
        QStringLiteral("TABLE2.MDX"),   QStringLiteral("TABLE3.DBF"),
        QStringLiteral("TABLE3.MDX"),   QStringLiteral("ARCART_O.DBF"),
        QStringLiteral("ARCART_O.MDX"), QStringLiteral("ORDINI.DBF"),
        QStringLiteral("ORDINI.MDX"),   QStringLiteral("BARCODE.DBF"),
        QStringLiteral("BARCODE.MDX"),  QStringLiteral("LBCODE.DBF")};
    return files;
}

const QString &ArchiveContents::settingsEntry() {
    static const QString name = QStringLiteral("DATI.INI");
    return name;
}

bool ArchiveContents::isKnownEntry(const QString &name) {
    // Exact names only: an entry in other letters is not one the program wrote.
    return name == settingsEntry() || dataFiles().contains(name);
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

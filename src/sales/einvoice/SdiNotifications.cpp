#include "sales/einvoice/SdiNotifications.h"

#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "sales/CustomerColumns.h"
#include "sales/einvoice/EInvoiceColumns.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QXmlStreamReader>

namespace corvale {

namespace {

namespace e = einvoiceColumns;

// The invoice's file name without ".xml" or ".xml.p7m", for matching.
QString baseName(const QString &fileName) {
    const QString name = QFileInfo(fileName.trimmed()).fileName();
    const qsizetype dot = name.indexOf(u'.');
    return (dot < 0 ? name : name.left(dot)).toUpper();
}

} // namespace

SdiNotifications::Notice SdiNotifications::parse(const QByteArray &xml) {
    Notice out;
    QXmlStreamReader reader(xml);
    QStringList errors;
    QString code, description, delivered;
    int depth = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            ++depth;
            const QStringView name = reader.name();
            if (depth == 1) {
                if (name == QLatin1String("RicevutaConsegna"))
                    out.state = EInvoiceState::Delivered;
                else if (name == QLatin1String("NotificaScarto"))
                    out.state = EInvoiceState::Rejected;
                else if (name == QLatin1String("NotificaMancataConsegna"))
                    out.state = EInvoiceState::NotDelivered;
                else
                    return {};
            } else if (name == QLatin1String("NomeFile") && depth == 2) {
                out.fileName = reader.readElementText().trimmed();
                --depth;
            } else if (name == QLatin1String("Codice")) {
                code = reader.readElementText().trimmed();
                --depth;
            } else if (name == QLatin1String("Descrizione")) {
                description = reader.readElementText().simplified();
                --depth;
            } else if (name == QLatin1String("DataOraConsegna")) {
                delivered = reader.readElementText().trimmed().left(10);
                --depth;
            }
        } else if (reader.isEndElement()) {
            if (reader.name() == QLatin1String("Errore") && !code.isEmpty()) {
                errors << code + (description.isEmpty() ? QString() : u' ' + description);
                code.clear();
                description.clear();
            }
            --depth;
        }
    }
    if (reader.hasError() || out.fileName.isEmpty())
        return {};
    switch (out.state) {
    case EInvoiceState::Rejected:
        out.notes = errors.join(QStringLiteral("; "));
        break;
    case EInvoiceState::Delivered:
        out.notes = delivered.isEmpty() ? QString() : QStringLiteral("Consegnata il ") + delivered;
        break;
    case EInvoiceState::NotDelivered:
        out.notes = QStringLiteral("Nell'area riservata del cliente");
        break;
    default:
        break;
    }
    return out;
}

SdiNotifications::Report SdiNotifications::import(db::Database &database, const QString &folder) {
    Report report;
    db::Table invoices(database);
    invoices.setTableName(customerColumns::invoices);
    invoices.open();
    QHash<QString, qint64> byFile; // base name -> record key
    for (invoices.first(); !invoices.eof(); invoices.next()) {
        const QString name = invoices.asString(e::fileName).trimmed();
        if (!name.isEmpty())
            byFile.insert(baseName(name), invoices.asInteger(doc::NUMREG));
    }
    invoices.setIndexName(doc::NUMREG);
    const QDir dir(folder);
    const QStringList files =
        dir.entryList({QStringLiteral("*.xml"), QStringLiteral("*.XML")}, QDir::Files, QDir::Name);
    for (const QString &file : files) {
        QFile f(dir.filePath(file));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const Notice notice = parse(f.readAll());
        if (notice.state == EInvoiceState::None)
            continue; // an invoice, or something else
        ++report.files;
        const auto key = byFile.constFind(baseName(notice.fileName));
        if (key == byFile.cend() || !invoices.findKey(*key)) {
            report.unmatched << file;
            continue;
        }
        const EInvoiceState now = stateFromValue(invoices.asInteger(e::state));
        // A delivery is final: a later copy of an older notice does not undo it.
        if (isDelivered(now) && notice.state == EInvoiceState::Rejected)
            continue;
        invoices.edit();
        invoices.setInteger(e::state, qint64(notice.state));
        invoices.setString(e::notes, notice.notes.left(e::notesLength));
        invoices.post();
        ++report.matched;
    }
    invoices.close();
    return report;
}

QString SdiNotifications::reportText(const Report &r) {
    QString text =
        QStringLiteral("Notifiche lette: %1\rFatture aggiornate: %2").arg(r.files).arg(r.matched);
    if (!r.unmatched.isEmpty())
        text += QStringLiteral("\rNotifiche di file sconosciuti: ") +
                r.unmatched.join(QStringLiteral(", "));
    return text;
}

int SdiNotifications::markCollected(db::Database &database, const QString &folder) {
    db::Table invoices(database);
    invoices.setTableName(customerColumns::invoices);
    invoices.open();
    int count = 0;
    const QDir dir(folder);
    for (invoices.first(); !invoices.eof(); invoices.next()) {
        if (stateFromValue(invoices.asInteger(e::state)) != EInvoiceState::Written)
            continue;
        const QString name = invoices.asString(e::fileName).trimmed();
        if (name.isEmpty() || QFileInfo::exists(dir.filePath(name)))
            continue;
        invoices.edit();
        invoices.setInteger(e::state, qint64(EInvoiceState::Sent));
        invoices.post();
        ++count;
    }
    invoices.close();
    return count;
}

bool SdiNotifications::markSent(db::Database &database, qint64 key) {
    db::Table invoices(database);
    invoices.setTableName(customerColumns::invoices);
    invoices.setIndexName(doc::NUMREG);
    invoices.open();
    if (!invoices.findKey(key) ||
        stateFromValue(invoices.asInteger(e::state)) != EInvoiceState::Written) {
        invoices.close();
        return false;
    }
    invoices.edit();
    invoices.setInteger(e::state, qint64(EInvoiceState::Sent));
    invoices.post();
    invoices.close();
    return true;
}

} // namespace corvale

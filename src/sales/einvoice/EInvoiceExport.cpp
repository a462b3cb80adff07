#include "sales/einvoice/EInvoiceExport.h"

#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "platform/ProgramFolder.h"
#include "sales/CustomerColumns.h"
#include "sales/einvoice/EInvoiceBuilder.h"
#include "sales/einvoice/EInvoiceColumns.h"
#include "sales/einvoice/EInvoiceFolder.h"
#include "sales/einvoice/EInvoiceState.h"
#include "sales/einvoice/EInvoiceXml.h"
#include "sales/einvoice/SchemaValidator.h"
#include "sales/einvoice/SdiRules.h"
#include "shell/ShopFiscalColumns.h"

#include <QDir>

namespace corvale {

EInvoiceExport::EInvoiceExport(db::Database &database, QString folder)
    : m_db(database)
    , m_folder(std::move(folder))
    , m_builder(std::make_unique<EInvoiceBuilder>(database)) {}

EInvoiceExport::~EInvoiceExport() = default;

QString EInvoiceExport::defaultFolder(const ProgramFolder &folder) {
    return QDir(folder.archivePath()).filePath(QStringLiteral("FE"));
}

SchemaValidator &EInvoiceExport::validator() {
    static SchemaValidator instance;
    return instance;
}

EInvoiceExport::Outcome EInvoiceExport::write(qint64 key) {
    namespace e = einvoiceColumns;
    Outcome out;
    out.key = key;
    db::Table &invoices = m_builder->invoices();
    if (!invoices.findKey(key)) {
        out.problems << QStringLiteral("La fattura non è più in archivio.");
        return out;
    }
    out.number = invoices.asString(doc::NUMDOC);
    const EInvoiceState state = stateFromValue(invoices.asInteger(e::state));
    const QString previous = invoices.asString(e::fileName).trimmed();
    if (isOnItsWay(state)) {
        out.problems << QStringLiteral("La fattura elettronica è già stata inviata (%1): per "
                                       "correggerla emettere una nota di credito.")
                            .arg(stateText(state));
        return out;
    }

    const ShopFiscalData &shop = m_builder->shop();
    const QString sender = shop.transmitterCountry + shop.transmitterCode;
    EInvoiceFolder folder(m_folder);
    // A file not yet sent is written again under its name; a rejected one
    // goes again under a new name, as the exchange system refuses a name twice.
    qint64 progressive =
        state != EInvoiceState::Rejected ? EInvoiceFolder::progressiveOf(previous, sender) : 0;
    const bool fresh = progressive == 0;
    if (fresh) {
        if (m_lastProgressive < 0)
            m_lastProgressive = std::max(shop.progressive, folder.highestProgressive(sender));
        progressive = m_lastProgressive + 1;
    }
    if (progressive > EInvoiceFolder::highestPossible) {
        out.problems << QStringLiteral("Il progressivo d'invio ha raggiunto il massimo.");
        return out;
    }

    EInvoiceBuilder::Result built =
        m_builder->build(key, EInvoiceFolder::progressiveText(progressive));
    out.problems = built.problems;
    if (!built.document)
        return out;
    const QByteArray xml = EInvoiceXml::write(*built.document);
    // The rules speak the shop's words; the schema's findings follow them.
    for (const SdiRules::Problem &p : SdiRules::check(xml))
        out.problems << (p.code.isEmpty() ? p.message
                                          : p.message + QStringLiteral(" (") + p.code + u')');
    for (const QString &p : validator().validate(xml))
        out.problems << QStringLiteral("Schema: ") + p;
    if (!out.problems.isEmpty())
        return out;

    out.fileName = built.document->fileName();
    QString error;
    if (!folder.writeWhole(out.fileName, xml, &error)) {
        out.problems << error;
        return out;
    }
    out.path = folder.filePath(out.fileName);
    out.written = true;

    // The counter follows the file: a file that was not written took none.
    if (fresh) {
        m_lastProgressive = progressive;
        if (!m_config) {
            m_config = std::make_unique<db::Table>(m_db);
            m_config->setTableName(shopFiscal::config);
            m_config->open();
        }
        m_config->first();
        if (!m_config->eof()) {
            m_config->edit();
            m_config->setInteger(shopFiscal::progressive, progressive);
            m_config->post();
        }
    }
    invoices.findKey(key);
    invoices.edit();
    invoices.setString(e::fileName, out.fileName);
    invoices.setInteger(e::state, qint64(EInvoiceState::Written));
    invoices.setString(e::notes, QString());
    invoices.post();
    return out;
}

QList<EInvoiceExport::Outcome> EInvoiceExport::writePeriod(QDate from, QDate to) {
    QList<qint64> keys;
    {
        db::Table t(m_db);
        t.setTableName(customerColumns::invoices);
        t.setIndexName(doc::MYDATA);
        t.open();
        t.setRange(from.toString(QStringLiteral("yyyyMMdd")),
                   to.toString(QStringLiteral("yyyyMMdd")));
        for (t.first(); !t.eof(); t.next())
            keys << t.asInteger(doc::NUMREG);
        t.close();
    }
    QList<Outcome> out;
    for (qint64 key : keys)
        out << write(key);
    return out;
}

QString EInvoiceExport::messageFor(const Outcome &o) {
    if (o.written)
        return QStringLiteral("Fattura elettronica scritta:\r%1")
            .arg(QDir::toNativeSeparators(o.path));
    return QStringLiteral("Fattura elettronica non scritta:\r") + o.problems.join(u'\r');
}

} // namespace corvale

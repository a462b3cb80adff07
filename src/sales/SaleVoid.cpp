#include "sales/SaleVoid.h"

#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "platform/Clock.h"
#include "platform/EngineError.h"
#include "platform/Prompter.h"
#include "sales/CounterSale.h"
#include "sales/CustomerColumns.h"
#include "sales/SaleColumns.h"
#include "sales/SaleSettings.h"
#include "sales/register/NetworkFiscalDevice.h"
#include "shell/Shop.h"

namespace corvale {

namespace s = saleColumns;

SaleVoid::SaleVoid(Shop &shop, QObject *parent)
    : QObject(parent)
    , m_shop(shop) {}

SaleVoid::~SaleVoid() = default;

bool SaleVoid::isRunning() const {
    return m_device && m_device->isRunning();
}

std::optional<FiscalDocumentRef> SaleVoid::quote(qint64 key, QString *reason) {
    db::Table t(m_shop.database());
    t.setTableName(s::headerTable);
    t.setIndexName(doc::NUMREG);
    t.open();
    if (!t.findKey(key) || t.asInteger(s::rtNumber) <= 0) {
        *reason = noDocumentText;
        return std::nullopt;
    }
    if (t.asInteger(s::voidLink) > 0) {
        *reason = t.asFloat(doc::TOTALE) < 0 ? isVoidText : alreadyVoidedText;
        return std::nullopt;
    }
    FiscalDocumentRef ref;
    ref.number = int(t.asInteger(s::rtNumber));
    ref.closure = int(t.asInteger(s::rtClosure));
    ref.dateTime = QDateTime(t.asDate(s::rtDate), QTime::fromString(t.asString(s::rtTime).trimmed(),
                                                                    QStringLiteral("HH:mm:ss")));
    ref.serial = t.asString(s::rtSerial).trimmed();
    return ref;
}

bool SaleVoid::start(qint64 key, const FiscalDocumentRef &quoted) {
    if (isRunning())
        return false;
    const SaleSettings settings = SaleSettings::read(m_shop.ini());
    if (!settings.register_.isTelematic()) {
        m_shop.prompter().error(noDocumentText);
        return false;
    }
    if (!m_device) {
        m_device = std::make_unique<NetworkFiscalDevice>();
        connect(m_device.get(), &FiscalDevice::finished, this, &SaleVoid::onFinished);
    }
    m_device->setSettings(settings.register_);
    m_key = key;
    m_device->begin(FiscalDocument::Kind::Void, quoted);
    return m_device->end();
}

void SaleVoid::onFinished(const FiscalOutcome &outcome) {
    if (!outcome.confirmed()) {
        m_shop.prompter().error(outcome.message);
        Q_EMIT finished(false, 0);
        return;
    }
    qint64 stored = 0;
    const QDate date = outcome.document.dateTime.isValid() ? outcome.document.dateTime.date()
                                                           : m_shop.clock().today();
    if (!runReportingEngineErrors(m_shop.prompter(),
                                  [&] { stored = storeCopy(m_key, outcome.document, date); }))
        m_shop.prompter().error(
            QStringLiteral("Il registratore ha annullato lo scontrino (documento n. %1) ma "
                           "l'annullo non è stato registrato nell'archivio.")
                .arg(outcome.document.number));
    Q_EMIT finished(true, stored);
}

qint64 SaleVoid::storeCopy(qint64 key, const FiscalDocumentRef &done, QDate date) {
    CounterSale sale(m_shop);
    if (!sale.begin(key))
        throw db::Error(QStringLiteral("Vendita non trovata!"));
    QList<SheetRow> rows = sale.lines();
    const db::Table &h = sale.header();
    const QVariantMap original = [&] {
        QVariantMap m;
        for (const QString &f : {s::CLIENTE, s::BARCODE, doc::SCONTO, doc::TOTALE, s::paidCash,
                                 s::paidCard, s::paidVoucher})
            m.insert(f, h.value(f));
        m.insert(customerColumns::saleCustomer, h.value(customerColumns::saleCustomer));
        return m;
    }();
    sale.cancel();
    for (SheetRow &row : rows) {
        row.values[sheet::QUANTITA] = -row.number(sheet::QUANTITA);
        if (!row.amount.isNull())
            row.amount = -row.amount.toDouble();
    }

    CounterSale copy(m_shop);
    copy.begin(0);
    const qint64 copyKey = copy.saveRows(rows, date, [&](db::Table &c) {
        for (auto it = original.begin(); it != original.end(); ++it) {
            if (it.value().isNull())
                continue;
            const bool amount = it.key() == doc::TOTALE || it.key() == s::paidCash ||
                                it.key() == s::paidCard || it.key() == s::paidVoucher;
            if (amount)
                c.setFloat(it.key(), -it.value().toDouble());
            else
                c.setValue(it.key(), it.value());
        }
        c.setBool(s::TIPO, true);
        c.setInteger(s::voidLink, key);
        c.setInteger(s::rtNumber, done.number);
        c.setInteger(s::rtClosure, done.closure);
        c.setDate(s::rtDate, done.dateTime.date());
        c.setString(s::rtTime, done.dateTime.time().toString(QStringLiteral("HH:mm:ss")));
        c.setString(s::rtSerial, done.serial.left(s::rtSerialLength));
    });
    copy.close();

    db::Table t(m_shop.database());
    t.setTableName(s::headerTable);
    t.setIndexName(doc::NUMREG);
    t.open();
    if (t.findKey(key)) {
        t.edit();
        t.setInteger(s::voidLink, copyKey);
        t.post();
    }
    return copyKey;
}

} // namespace corvale

#include "sales/DailyClosure.h"

#include "db/Table.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "platform/Prompter.h"
#include "register/NetworkFiscalDevice.h"
#include "sales/SaleColumns.h"
#include "sales/SaleSettings.h"
#include "sales/TelematicDevice.h"
#include "shell/Shop.h"

namespace corvale {

namespace s = saleColumns;

DailyClosure::DailyClosure(Shop &shop, QObject *parent)
    : QObject(parent)
    , m_shop(shop) {}

DailyClosure::~DailyClosure() = default;

bool DailyClosure::isRunning() const {
    return m_device && m_device->isRunning();
}

bool DailyClosure::prepare() {
    if (isRunning())
        return false;
    const SaleSettings settings = SaleSettings::read(m_shop.ini());
    if (!settings.register_.isTelematic()) {
        m_shop.prompter().error(notTelematicText);
        return false;
    }
    telematicDevice(m_device, this, &DailyClosure::onFinished, settings.register_);
    return true;
}

bool DailyClosure::report(FiscalDevice::Report report) {
    if (!prepare())
        return false;
    m_report = report;
    return m_device->report(report);
}

bool DailyClosure::queryStatus() {
    if (!prepare())
        return false;
    m_report.reset();
    return m_device->queryStatus();
}

QString DailyClosure::describe(FiscalDevice::Report report, const FiscalOutcome &outcome) {
    if (!outcome.confirmed())
        return outcome.message;
    const QString money = Formats::format(u"%10.2n", outcome.amount.toDouble()).trimmed();
    if (report == FiscalDevice::Report::Z)
        return QStringLiteral("Chiusura giornaliera n. %1 eseguita.\rTotale del giorno: € %2")
            .arg(outcome.document.closure)
            .arg(money);
    return QStringLiteral("Lettura giornaliera eseguita (chiusura n. %1 in corso).\rTotale fin "
                          "qui: € %2")
        .arg(outcome.document.closure)
        .arg(money);
}

void DailyClosure::onFinished(const FiscalOutcome &outcome) {
    QString text;
    if (!m_report) {
        text = outcome.confirmed() ? outcome.deviceStatus : outcome.message;
    } else {
        text = describe(*m_report, outcome);
        if (outcome.confirmed() && *m_report == FiscalDevice::Report::Z &&
            !runReportingEngineErrors(m_shop.prompter(), [&] { store(outcome); }))
            text += QStringLiteral("\rLa chiusura non è stata registrata nell'archivio.");
    }
    Q_EMIT finished(outcome, text);
}

void DailyClosure::store(const FiscalOutcome &outcome) {
    const QDateTime when = outcome.document.dateTime;
    db::Table t(m_shop.database());
    t.setTableName(s::closures);
    t.open();
    // The closures are never deleted: the next number is one more than their count.
    const qint64 key = t.recordCount() + 1;
    t.append();
    t.setInteger(s::closureKey, key);
    t.setDate(s::closureDate, when.date());
    t.setString(s::closureTime, when.time().toString(QStringLiteral("HH:mm:ss")));
    t.setString(s::closureDateKey, when.date().toString(QStringLiteral("yyyyMMdd")));
    t.setInteger(s::closureNumber, outcome.document.closure);
    t.setFloat(s::closureTotal, outcome.amount.toDouble());
    t.setString(s::closureSerial, outcome.document.serial);
    t.post();
}

} // namespace corvale

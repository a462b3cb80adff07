#include "sales/SaleGift.h"

#include "platform/EngineError.h"
#include "platform/Prompter.h"
#include "printing/PrintService.h"
#include "register/NetworkFiscalDevice.h"
#include "sales/GiftReceiptPrintout.h"
#include "sales/SaleSettings.h"
#include "sales/TelematicDevice.h"
#include "shell/Shop.h"

namespace corvale {

SaleGift::SaleGift(Shop &shop, QObject *parent)
    : QObject(parent)
    , m_shop(shop) {}

SaleGift::~SaleGift() = default;

bool SaleGift::isRunning() const {
    return m_device && m_device->isRunning();
}

bool SaleGift::issue(qint64 key, bool justIssued) {
    if (isRunning())
        return false;
    const SaleSettings settings = SaleSettings::read(m_shop.ini());
    if (justIssued && settings.register_.isTelematic()) {
        telematicDevice(m_device, this, &SaleGift::onFinished, settings.register_);
        m_key = key;
        if (m_device->hasGiftReceipt() && m_device->giftReceipt())
            return true;
    }
    const bool printed = print(key);
    if (printed)
        Q_EMIT done(false);
    return printed;
}

bool SaleGift::print(qint64 key) {
    GiftReceiptPrintout printout;
    bool found = false;
    if (!runReportingEngineErrors(m_shop.prompter(),
                                  [&] { found = printout.read(m_shop.database(), key); }))
        return false;
    if (!found || printout.isReturn) {
        m_shop.prompter().error(found ? returnText : notFoundText);
        return false;
    }
    m_shop.printService().print(printTitle,
                                [printout](PageCanvas &canvas) { printout.draw(canvas); });
    return true;
}

void SaleGift::onFinished(const FiscalOutcome &outcome) {
    if (outcome.confirmed()) {
        Q_EMIT done(true);
        return;
    }
    if (!outcome.message.isEmpty())
        m_shop.prompter().error(outcome.message);
    m_shop.prompter().information(fallbackText);
    print(m_key);
    Q_EMIT done(false);
}

} // namespace corvale

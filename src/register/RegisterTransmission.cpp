#include "register/RegisterTransmission.h"

#include "platform/Prompter.h"
#include "register/DataprocessProtocol.h"
#include "register/ElaProtocol.h"
#include "register/RchGlobeProtocol.h"
#include "register/RchMizarProtocol.h"
#include "register/SerialRegisterLink.h"

#include <QCoreApplication>
#include <QPointer>

namespace corvale {

namespace {

std::unique_ptr<RegisterProtocol> makeProtocol(const RegisterSettings &settings, RegisterLink &link,
                                               const Receipt &receipt) {
    using P = RegisterSettings::Protocol;
    switch (settings.protocol()) {
    case P::Ela:
        return std::make_unique<ElaProtocol>(link, receipt, settings.timeout);
    case P::Dataprocess:
        return std::make_unique<DataprocessProtocol>(DataprocessProtocol::Variant::Dataprocess,
                                                     link, receipt, settings.timeout);
    case P::Epson:
        return std::make_unique<DataprocessProtocol>(DataprocessProtocol::Variant::Epson, link,
                                                     receipt, settings.timeout);
    case P::RchGlobe:
        return std::make_unique<RchGlobeProtocol>(link, receipt, settings.timeout);
    case P::RchMizar:
        return std::make_unique<RchMizarProtocol>(link, receipt, settings.timeout);
    case P::EpsonRt: // reached over the network, not through a serial protocol
    case P::CustomRt:
    case P::RchRt:
    case P::None:
        break;
    }
    return nullptr;
}

} // namespace

RegisterTransmission::RegisterTransmission(Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_prompter(prompter) {
    connect(&m_timer, &QTimer::timeout, this, &RegisterTransmission::onTick);
}

RegisterTransmission::~RegisterTransmission() {
    m_timer.stop();
    m_line.close();
}

bool RegisterTransmission::start(const RegisterSettings &settings, const Receipt &receipt) {
    if (m_running)
        return false;
    m_warnings.clear();
    if (!m_line.open(settings.device)) {
        m_prompter.error(openFailedText);
        return false;
    }
    // A port that opened but cannot be prepared is closed again, so the next
    // attempt (or another program) can have it.
    if (!m_line.setQueueSizes(RegisterProtocol::inputQueueSize,
                              RegisterProtocol::outputQueueSize) ||
        !m_line.setLineSettings(settings.lineSettings())) {
        m_line.close();
        m_prompter.error(openFailedText);
        return false;
    }
    m_warnings = m_line.warnings();
    for (const QString &w : std::as_const(m_warnings))
        qWarning("Porta %s: %s", qPrintable(settings.device), qPrintable(w));

    m_link = std::make_unique<SerialRegisterLink>(m_line);
    m_protocol = makeProtocol(settings, *m_link, receipt);
    m_running = true;
    Q_EMIT busyChanged(true);
    if (!m_protocol)
        return true; // no protocol: the port is held and nothing is sent
    m_protocol->begin();
    m_timer.start(m_tickOverride > 0 ? m_tickOverride : m_protocol->tickInterval());
    return true;
}

void RegisterTransmission::stop() {
    if (!m_running)
        return;
    release();
    Q_EMIT busyChanged(false);
}

void RegisterTransmission::release() {
    m_timer.stop();
    m_line.close();
    m_running = false;
}

void RegisterTransmission::onTick() {
    if (!m_protocol || !m_running)
        return;
    const RegisterProtocol::Step step = m_protocol->tick();
    if (step == RegisterProtocol::Step::Running)
        return;

    const bool completed = step == RegisterProtocol::Step::Completed;
    const bool save = completed && m_protocol->savesSale();
    release();
    QPointer<RegisterTransmission> self(this);
    Q_EMIT busyChanged(false);
    if (!self)
        return;
    if (!completed) {
        m_prompter.error(silentText);
    } else if (save) {
        // Let the sheet settle before the sale saves itself.
        for (int i = 0; i < 3 && self; ++i)
            QCoreApplication::processEvents();
        if (!self)
            return;
    }
    Q_EMIT finished(completed, save);
}

} // namespace corvale

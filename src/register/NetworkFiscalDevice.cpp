#include "register/NetworkFiscalDevice.h"

namespace corvale {

NetworkFiscalDevice::NetworkFiscalDevice(QObject *parent)
    : FiscalDevice(parent) {}

NetworkFiscalDevice::NetworkFiscalDevice(std::unique_ptr<RtDialect> dialect, QObject *parent)
    : FiscalDevice(parent) {
    setDialect(std::move(dialect));
}

NetworkFiscalDevice::~NetworkFiscalDevice() {
    if (m_link)
        m_link->disconnect(this);
}

void NetworkFiscalDevice::setDialect(std::unique_ptr<RtDialect> dialect) {
    if (m_link)
        m_link->disconnect(this);
    m_dialect = std::move(dialect);
    m_link = m_dialect ? m_dialect->link() : nullptr;
    if (m_link)
        connect(m_link.get(), &RtLink::finished, this, &NetworkFiscalDevice::onReply);
}

void NetworkFiscalDevice::setSettings(const RegisterSettings &settings) {
    m_settings = settings;
    if (m_phase == Phase::Idle && settings.isTelematic() &&
        (!m_dialect || m_dialect->protocol() != settings.protocol() ||
         m_dialect->transport() != settings.transport()))
        setDialect(RtDialect::of(settings.protocol(), settings.transport()));
}

QString NetworkFiscalDevice::unreachableText(const QString &address) {
    return QStringLiteral("Il registratore di cassa non risponde all'indirizzo \"%1\": "
                          "controllare che sia acceso e collegato alla rete.")
        .arg(address);
}

QString NetworkFiscalDevice::silentPortText(const QString &device) {
    return QStringLiteral("Il registratore di cassa non risponde sulla porta \"%1\": "
                          "controllare che sia acceso e collegato al computer.")
        .arg(device);
}

QString NetworkFiscalDevice::unreachable() const {
    return m_dialect && m_dialect->transport() == RegisterSettings::Transport::Serial
               ? silentPortText(m_settings.device)
               : unreachableText(m_settings.address);
}

QString NetworkFiscalDevice::refusalText(const QString &code) {
    if (code == u"EPTR_REC_EMPTY")
        return QStringLiteral("Carta esaurita nel registratore: inserire un nuovo rotolo e "
                              "inviare di nuovo lo scontrino.");
    if (code == u"EPTR_COVER_OPEN")
        return QStringLiteral("Il coperchio del registratore è aperto: chiuderlo e inviare di "
                              "nuovo lo scontrino.");
    if (code == u"RT_CLOSURE_OVERDUE")
        return QStringLiteral("Sono passate più di 24 ore dall'ultima chiusura giornaliera: "
                              "eseguire la chiusura giornaliera prima di emettere altri "
                              "scontrini.");
    if (code == u"RT_BAD_LOTTERY")
        return QStringLiteral("Il registratore ha rifiutato il codice lotteria.");
    return QStringLiteral("Il registratore ha rifiutato l'operazione (codice \"%1\").")
        .arg(code.left(40));
}

QString NetworkFiscalDevice::statusText(const RtAnswer &answer) {
    QString state = QStringLiteral("Registratore pronto.");
    const QChar printer = answer.printerStatus.isEmpty() ? u'0' : answer.printerStatus.at(0);
    if (printer == u'2')
        state = QStringLiteral("Registratore pronto, carta in esaurimento.");
    else if (printer == u'3')
        state = QStringLiteral("Stampante non in linea: carta esaurita o coperchio aperto.");
    QString text = state;
    if (!answer.serial.isEmpty())
        text += QStringLiteral("\rMatricola: %1").arg(answer.serial);
    text += QStringLiteral("\rUltimo documento: n. %1, chiusura n. %2")
                .arg(answer.documentNumber)
                .arg(answer.closure);
    if (answer.dateTime.isValid())
        text += QStringLiteral(" del %1").arg(
            answer.dateTime.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    return text;
}

bool NetworkFiscalDevice::start(Phase phase, const QByteArray &body) {
    if (m_phase != Phase::Idle)
        return false;
    m_phase = phase;
    Q_EMIT busyChanged(true);
    if (!post(body)) {
        FiscalOutcome outcome;
        outcome.status = FiscalOutcome::Status::Unreachable;
        outcome.message = QStringLiteral("L'indirizzo del registratore di cassa \"%1\" non è "
                                         "valido: correggerlo nella configurazione.")
                              .arg(m_settings.address);
        finish(outcome);
    }
    return true;
}

bool NetworkFiscalDevice::transmit(const FiscalDocument &document) {
    if (m_phase != Phase::Idle || !m_dialect)
        return false;
    // A return or void that quotes nothing would go out as a plain sale.
    if (document.kind != FiscalDocument::Kind::Sale &&
        (!document.quoted || !document.quoted->isValid())) {
        FiscalOutcome outcome;
        outcome.status = FiscalOutcome::Status::Refused;
        outcome.message = unquotedText;
        Q_EMIT finished(outcome);
        return true;
    }
    const RtFiguresResult figures =
        rtFigures(document, [this](double vat) { return m_settings.department(vat); });
    if (!figures.figures) {
        FiscalOutcome outcome;
        outcome.status = FiscalOutcome::Status::Refused;
        outcome.message = QStringLiteral("L'aliquota IVA del %1% non ha un reparto del "
                                         "registratore: completare la tabella dei reparti nella "
                                         "configurazione.")
                              .arg(QString::number(figures.missingRate).replace(u'.', u','));
        Q_EMIT finished(outcome);
        return true;
    }
    m_sending = document;
    m_receiptBody = m_dialect->receipt(document, *figures.figures, m_settings.serial);
    m_retriesLeft = m_settings.networkRetries;
    m_before = RtAnswer();
    return start(Phase::ReadingBefore, m_dialect->statusQuery());
}

bool NetworkFiscalDevice::report(Report report) {
    if (!m_dialect)
        return false;
    return start(Phase::Reporting, m_dialect->report(report));
}

bool NetworkFiscalDevice::queryStatus() {
    if (!m_dialect)
        return false;
    return start(Phase::Querying, m_dialect->statusQuery());
}

bool NetworkFiscalDevice::giftReceipt() {
    if (!hasGiftReceipt())
        return false;
    return start(Phase::Gift, m_dialect->giftReceipt());
}

bool NetworkFiscalDevice::post(const QByteArray &body) {
    if (!m_dialect)
        return false;
    RtLink::Request request;
    if (m_dialect->transport() == RegisterSettings::Transport::Serial) {
        if (m_settings.device.isEmpty())
            return false;
        request.device = m_settings.device;
        request.line = m_settings.lineSettings();
    } else {
        const auto target = m_settings.hostAndPort(m_dialect->defaultPort());
        if (!target)
            return false;
        request.host = target->first;
        request.port = target->second;
    }
    ++m_requests;
    request.target = m_dialect->target(m_settings.networkTimeout);
    request.body = body;
    request.timeoutMs = m_settings.networkTimeout;
    request.user = m_settings.user;
    request.password = m_settings.password;
    return m_link->send(request);
}

void NetworkFiscalDevice::onReply(const std::optional<QByteArray> &body, bool reached) {
    m_reached = reached;
    // Refused at the door: nothing was done. After a lost answer the check
    // itself is what failed, and the operator must verify.
    if (!body && m_link->unauthorized() && m_phase != Phase::Verifying) {
        FiscalOutcome outcome;
        outcome.status = FiscalOutcome::Status::Refused;
        outcome.message = credentialsText;
        finish(outcome);
        return;
    }
    std::optional<RtAnswer> answer;
    if (body)
        answer = m_dialect->parse(*body);
    onAnswer(answer);
}

void NetworkFiscalDevice::onAnswer(const std::optional<RtAnswer> &answer) {
    switch (m_phase) {
    case Phase::ReadingBefore:
        afterReadingBefore(answer);
        break;
    case Phase::Sending:
        afterSending(answer);
        break;
    case Phase::Verifying:
        afterVerifying(answer);
        break;
    case Phase::Reporting: {
        FiscalOutcome outcome;
        if (!answer && !m_reached) {
            // Never reached the register: nothing was done.
            outcome.status = FiscalOutcome::Status::Unreachable;
            outcome.message = unreachable();
        } else if (!answer || answer->kind == RtAnswer::Kind::Malformed) {
            outcome.status = FiscalOutcome::Status::Unconfirmed;
            outcome.message = reportUnconfirmedText;
        } else if (!answer->accepted()) {
            outcome.status = FiscalOutcome::Status::Refused;
            outcome.message = refusalText(answer->code);
        } else {
            outcome.status = FiscalOutcome::Status::Confirmed;
            outcome.document = refOf(*answer);
            outcome.amount = answer->amount;
            outcome.deviceStatus = statusText(*answer);
        }
        finish(outcome);
        break;
    }
    case Phase::Querying: {
        FiscalOutcome outcome;
        if (!answer) {
            outcome.status = FiscalOutcome::Status::Unreachable;
            outcome.message = unreachable();
        } else if (answer->kind == RtAnswer::Kind::Malformed) {
            outcome.status = FiscalOutcome::Status::Unconfirmed;
            outcome.message = QStringLiteral("Il registratore ha dato una risposta non leggibile.");
        } else if (!answer->accepted()) {
            outcome.status = FiscalOutcome::Status::Refused;
            outcome.message = refusalText(answer->code);
        } else {
            outcome.status = FiscalOutcome::Status::Confirmed;
            outcome.document = refOf(*answer);
            outcome.deviceStatus = statusText(*answer);
        }
        finish(outcome);
        break;
    }
    case Phase::Gift: {
        // A copy without prices: printed twice it does no harm, so a lost
        // answer is only told.
        FiscalOutcome outcome;
        if (!answer) {
            outcome.status =
                m_reached ? FiscalOutcome::Status::Unconfirmed : FiscalOutcome::Status::Unreachable;
            outcome.message =
                m_reached ? reportUnconfirmedText : unreachableText(m_settings.address);
        } else if (answer->kind == RtAnswer::Kind::Malformed) {
            outcome.status = FiscalOutcome::Status::Unconfirmed;
            outcome.message = reportUnconfirmedText;
        } else if (!answer->accepted()) {
            outcome.status = FiscalOutcome::Status::Refused;
            outcome.message = refusalText(answer->code);
        } else {
            outcome.status = FiscalOutcome::Status::Confirmed;
        }
        finish(outcome);
        break;
    }
    case Phase::Idle:
        break;
    }
}

void NetworkFiscalDevice::afterReadingBefore(const std::optional<RtAnswer> &answer) {
    if (!answer || !answer->accepted()) {
        // Nothing has been sent: the receipt can safely go out later.
        FiscalOutcome outcome;
        outcome.status = answer && answer->kind == RtAnswer::Kind::Refused
                             ? FiscalOutcome::Status::Refused
                             : FiscalOutcome::Status::Unreachable;
        outcome.message = outcome.status == FiscalOutcome::Status::Refused
                              ? refusalText(answer->code)
                              : unreachable();
        finish(outcome);
        return;
    }
    m_before = *answer;
    m_phase = Phase::Sending;
    post(m_receiptBody);
}

void NetworkFiscalDevice::afterSending(const std::optional<RtAnswer> &answer) {
    if (answer && answer->kind == RtAnswer::Kind::Refused) {
        FiscalOutcome outcome;
        outcome.status = FiscalOutcome::Status::Refused;
        outcome.message = refusalText(answer->code);
        finish(outcome);
        return;
    }
    if (answer && answer->accepted() && answer->documentNumber > 0) {
        FiscalOutcome outcome;
        outcome.status = FiscalOutcome::Status::Confirmed;
        outcome.document = refOf(*answer);
        outcome.amount = answer->hasAmount ? answer->amount : m_sending.total();
        finish(outcome);
        return;
    }
    // Lost, unreadable or without a number: the register may have printed.
    m_phase = Phase::Verifying;
    post(m_dialect->statusQuery());
}

void NetworkFiscalDevice::afterVerifying(const std::optional<RtAnswer> &answer) {
    FiscalOutcome outcome;
    outcome.status = FiscalOutcome::Status::Unconfirmed;
    outcome.message = unconfirmedText;
    if (answer && answer->accepted()) {
        const bool sameDay = answer->closure == m_before.closure;
        if (sameDay && answer->documentNumber == m_before.documentNumber + 1 && answer->hasAmount &&
            answer->amount == m_sending.total()) {
            // The register printed it: its number is the receipt's.
            outcome.status = FiscalOutcome::Status::Confirmed;
            outcome.message.clear();
            outcome.document = refOf(*answer);
            outcome.amount = answer->amount;
        } else if (sameDay && answer->documentNumber == m_before.documentNumber) {
            // Surely not printed: it may go out again.
            if (m_retriesLeft > 0) {
                --m_retriesLeft;
                m_phase = Phase::Sending;
                post(m_receiptBody);
                return;
            }
            outcome.status = FiscalOutcome::Status::Unreachable;
            outcome.message = notIssuedText;
        }
    }
    finish(outcome);
}

FiscalDocumentRef NetworkFiscalDevice::refOf(const RtAnswer &answer) const {
    FiscalDocumentRef ref;
    ref.number = answer.documentNumber;
    ref.closure = answer.closure;
    ref.dateTime = answer.dateTime.isValid() ? answer.dateTime : QDateTime::currentDateTime();
    ref.serial = !answer.serial.isEmpty()     ? answer.serial
                 : !m_before.serial.isEmpty() ? m_before.serial
                                              : m_settings.serial;
    return ref;
}

void NetworkFiscalDevice::finish(FiscalOutcome outcome) {
    m_phase = Phase::Idle;
    Q_EMIT busyChanged(false);
    Q_EMIT finished(outcome);
}

} // namespace corvale

#include "register/RtDialect.h"

#include "register/RchRtCommands.h"
#include "register/RchSerialLink.h"
#include "register/RchServiceXml.h"
#include "register/RchTcpLink.h"
#include "register/RtHttpClient.h"

namespace corvale {

std::unique_ptr<RtLink> RtDialect::link() const {
    return std::make_unique<RtHttpClient>();
}

std::unique_ptr<RtDialect> RtDialect::of(RegisterSettings::Protocol protocol,
                                         RegisterSettings::Transport transport) {
    switch (protocol) {
    case RegisterSettings::Protocol::EpsonRt:
        return std::make_unique<EpsonRtDialect>();
    case RegisterSettings::Protocol::CustomRt:
        return std::make_unique<CustomRtDialect>();
    case RegisterSettings::Protocol::RchRt:
        return std::make_unique<RchRtDialect>(transport);
    default:
        return nullptr;
    }
}

EpsonRtXml::Style CustomRtDialect::style() {
    EpsonRtXml::Style s;
    s.envelope = false;
    s.justification = false;
    s.lotteryElement = QStringLiteral("setLotteryCode");
    return s;
}

int RchRtDialect::defaultPort() const {
    return m_transport == RegisterSettings::Transport::Http ? RchServiceXml::defaultPort
                                                            : RchRtCommands::defaultPort;
}

QString RchRtDialect::target(int) const {
    return m_transport == RegisterSettings::Transport::Http ? RchServiceXml::path : QString();
}

std::unique_ptr<RtLink> RchRtDialect::link() const {
    switch (m_transport) {
    case RegisterSettings::Transport::Serial:
        return std::make_unique<RchSerialLink>();
    case RegisterSettings::Transport::Http:
        return RtDialect::link();
    case RegisterSettings::Transport::Tcp:
        break;
    }
    return std::make_unique<RchTcpLink>();
}

QByteArray RchRtDialect::body(const QList<QByteArray> &commands) const {
    return m_transport == RegisterSettings::Transport::Http ? RchServiceXml::request(commands)
                                                            : RchRtCommands::join(commands);
}

QByteArray RchRtDialect::receipt(const FiscalDocument &document, const RtFigures &figures,
                                 const QString &) const {
    return body(RchRtCommands::receipt(document, figures));
}

QByteArray RchRtDialect::report(FiscalDevice::Report report) const {
    return body(RchRtCommands::report(report));
}

QByteArray RchRtDialect::statusQuery() const {
    return body({RchRtCommands::lastDocumentQuery()});
}

QByteArray RchRtDialect::giftReceipt() const {
    return body({RchRtCommands::giftReceipt()});
}

RtAnswer RchRtDialect::parse(const QByteArray &answer) const {
    if (m_transport != RegisterSettings::Transport::Http)
        return RchRtCommands::parse(answer);
    const auto answers = RchServiceXml::answers(answer);
    return answers ? RchRtCommands::parse(*answers) : RtAnswer();
}

} // namespace corvale

#include "sales/register/RtDialect.h"

#include "sales/register/RchRtCommands.h"
#include "sales/register/RchTcpLink.h"
#include "sales/register/RtHttpClient.h"

namespace corvale {

std::unique_ptr<RtLink> RtDialect::link() const {
    return std::make_unique<RtHttpClient>();
}

std::unique_ptr<RtDialect> RtDialect::of(RegisterSettings::Protocol protocol) {
    switch (protocol) {
    case RegisterSettings::Protocol::EpsonRt:
        return std::make_unique<EpsonRtDialect>();
    case RegisterSettings::Protocol::CustomRt:
        return std::make_unique<CustomRtDialect>();
    case RegisterSettings::Protocol::RchRt:
        return std::make_unique<RchRtDialect>();
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
    return RchRtCommands::defaultPort;
}

std::unique_ptr<RtLink> RchRtDialect::link() const {
    return std::make_unique<RchTcpLink>();
}

QByteArray RchRtDialect::receipt(const FiscalDocument &document, const RtFigures &figures,
                                 const QString &) const {
    return RchRtCommands::join(RchRtCommands::receipt(document, figures));
}

QByteArray RchRtDialect::report(FiscalDevice::Report report) const {
    return RchRtCommands::join(RchRtCommands::report(report));
}

QByteArray RchRtDialect::statusQuery() const {
    return RchRtCommands::lastDocumentQuery();
}

QByteArray RchRtDialect::giftReceipt() const {
    return RchRtCommands::giftReceipt();
}

RtAnswer RchRtDialect::parse(const QByteArray &answer) const {
    return RchRtCommands::parse(answer);
}

} // namespace corvale

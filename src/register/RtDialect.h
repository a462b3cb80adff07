#pragma once

#include "register/EpsonRtXml.h"
#include "register/RegisterSettings.h"

#include <memory>

namespace corvale {

class RtLink;

// The language of one make of telematic register and how it is reached.
class RtDialect {
public:
    virtual ~RtDialect() = default;
    virtual RegisterSettings::Protocol protocol() const = 0;
    virtual RegisterSettings::Transport transport() const {
        return RegisterSettings::Transport::Http;
    }
    virtual int defaultPort() const { return 80; }
    // The HTTP path of a request that may take `timeoutMs`.
    virtual QString target(int timeoutMs) const = 0;
    // The link the requests travel on (HTTP unless the make says otherwise).
    virtual std::unique_ptr<RtLink> link() const;
    virtual QByteArray receipt(const FiscalDocument &document, const RtFigures &figures,
                               const QString &serial) const = 0;
    virtual QByteArray report(FiscalDevice::Report report) const = 0;
    // Asks the register's state and its last document.
    virtual QByteArray statusQuery() const = 0;
    virtual RtAnswer parse(const QByteArray &answer) const = 0;
    // The register's own gift receipt of its last document; empty for a
    // make that has none.
    virtual QByteArray giftReceipt() const { return {}; }

    // The dialect of a telematic register's protocol, reached by `transport`
    // where the make offers a choice; nothing for the others.
    static std::unique_ptr<RtDialect>
    of(RegisterSettings::Protocol protocol,
       RegisterSettings::Transport transport = RegisterSettings::Transport::Tcp);
};

class EpsonRtDialect : public RtDialect {
public:
    RegisterSettings::Protocol protocol() const override {
        return RegisterSettings::Protocol::EpsonRt;
    }
    QString target(int timeoutMs) const override {
        return EpsonRtXml::path + QStringLiteral("?timeout=%1").arg(timeoutMs);
    }
    QByteArray receipt(const FiscalDocument &document, const RtFigures &figures,
                       const QString &serial) const override {
        return EpsonRtXml::receipt(document, figures, serial);
    }
    QByteArray report(FiscalDevice::Report report) const override {
        return EpsonRtXml::report(report);
    }
    QByteArray statusQuery() const override { return EpsonRtXml::statusQuery(); }
    RtAnswer parse(const QByteArray &answer) const override { return EpsonRtXml::parse(answer); }
};

// The Custom RT: documents close to Epson's posted bare (no SOAP envelope) to
// "/xml/printer.htm", optionally with HTTP basic authentication; printed
// lines carry no justification and the lottery code is "setLotteryCode". It
// answers with the same "response" and "addInfo" elements (to be verified on
// a device).
class CustomRtDialect : public RtDialect {
public:
    static inline const QString path = QStringLiteral("/xml/printer.htm");
    static EpsonRtXml::Style style();

    RegisterSettings::Protocol protocol() const override {
        return RegisterSettings::Protocol::CustomRt;
    }
    QString target(int) const override { return path; }
    QByteArray receipt(const FiscalDocument &document, const RtFigures &figures,
                       const QString &serial) const override {
        return EpsonRtXml::receipt(document, figures, serial, style());
    }
    QByteArray report(FiscalDevice::Report report) const override {
        return EpsonRtXml::report(report, style());
    }
    QByteArray statusQuery() const override { return EpsonRtXml::statusQuery(style()); }
    RtAnswer parse(const QByteArray &answer) const override { return EpsonRtXml::parse(answer); }
};

// The RCH RT: the RCH command language (RchRtCommands) in frames over raw TCP
// port 23 or over the serial line, or posted to "/service.cgi"
// (RchServiceXml).
class RchRtDialect : public RtDialect {
public:
    explicit RchRtDialect(RegisterSettings::Transport transport = RegisterSettings::Transport::Tcp)
        : m_transport(transport) {}
    RegisterSettings::Protocol protocol() const override {
        return RegisterSettings::Protocol::RchRt;
    }
    RegisterSettings::Transport transport() const override { return m_transport; }
    int defaultPort() const override;
    QString target(int) const override;
    std::unique_ptr<RtLink> link() const override;
    QByteArray receipt(const FiscalDocument &document, const RtFigures &figures,
                       const QString &serial) const override;
    QByteArray report(FiscalDevice::Report report) const override;
    QByteArray statusQuery() const override;
    RtAnswer parse(const QByteArray &answer) const override;
    QByteArray giftReceipt() const override;

private:
    // The commands of one request as the transport carries them.
    QByteArray body(const QList<QByteArray> &commands) const;

    RegisterSettings::Transport m_transport;
};

} // namespace corvale

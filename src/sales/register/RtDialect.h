#pragma once

#include "sales/register/EpsonRtXml.h"

namespace corvale {

// The language of one make of telematic register reached over HTTP.
class RtDialect {
public:
    virtual ~RtDialect() = default;
    virtual QString path() const = 0;
    virtual int defaultPort() const { return 80; }
    virtual QByteArray receipt(const FiscalDocument &document, const RtFigures &figures,
                               const QString &serial) const = 0;
    virtual QByteArray report(FiscalDevice::Report report) const = 0;
    virtual QByteArray statusQuery() const = 0;
    virtual RtAnswer parse(const QByteArray &answer) const = 0;
};

class EpsonRtDialect : public RtDialect {
public:
    QString path() const override { return EpsonRtXml::path; }
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

} // namespace corvale

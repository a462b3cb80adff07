#pragma once

#include "SimulatedEpsonRt.h"

namespace corvale::sim {

// A Custom telematic register: the documents and answers of the Epson one
// without the SOAP envelope, posted to "/xml/printer.htm", the lottery code
// in "setLotteryCode". Numbers, closures and faults as the Epson register.
class SimulatedCustomRt : public SimulatedEpsonRt {
public:
    SimulatedCustomRt() { setSerial(QStringLiteral("STMTE100001")); }
    QByteArray path() const override { return "/xml/printer.htm"; }

protected:
    QString lotteryElement() const override { return QStringLiteral("setLotteryCode"); }
    QByteArray wrap(const QString &response) const override {
        return ("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + response).toUtf8();
    }
};

} // namespace corvale::sim

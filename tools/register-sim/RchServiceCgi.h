#pragma once

#include "HttpRegister.h"
#include "SimulatedRchRt.h"

namespace corvale::sim {

// A simulated RCH telematic register over HTTP: "POST /service.cgi" with the
// commands of one request in "<Service><cmd>…</cmd>…</Service>", carried out
// in order up to the first one refused; the answer holds one "answer"
// element for each, the data of its response frame:
//   <Service><answer>N0000000</answer>…</Service>
// (the answer's shape is ours, to be checked on a device). A command left
// unanswered leaves the whole request unanswered; a lost answer drops the
// connection; a broken one is cut short.
class RchServiceCgi : public HttpRegister {
public:
    explicit RchServiceCgi(SimulatedRchRt &rt)
        : m_rt(rt) {}

    QByteArray path() const override { return "/service.cgi"; }
    Result handle(const QByteArray &body) override;

private:
    SimulatedRchRt &m_rt;
};

} // namespace corvale::sim

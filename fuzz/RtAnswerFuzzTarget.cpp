#include "RtAnswerFuzzTarget.h"

#include "register/EpsonRtXml.h"
#include "register/RtHttpClient.h"

#include <QByteArray>

#include <cstdlib>

namespace corvale::fuzz {

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

void fuzzRtAnswer(const uint8_t *data, size_t size) {
    if (size == 0)
        return;
    const int mode = data[0] % 3;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    if (mode == 0) {
        const RtAnswer a = EpsonRtXml::parse(bytes);
        check(a.documentNumber >= 0 && a.closure >= 0);
        check(a.kind == RtAnswer::Kind::Accepted || a.kind == RtAnswer::Kind::Refused ||
              (a.documentNumber == 0 && a.code.isEmpty()));
        return;
    }
    // The frame as it arrives, in two pieces or whole at the end.
    const qsizetype cut = bytes.isEmpty() ? 0 : qsizetype(data[0]) % (bytes.size() + 1);
    const RtHttpClient::Parsed early = RtHttpClient::parse(bytes.left(cut), false);
    const RtHttpClient::Parsed whole = RtHttpClient::parse(bytes, mode == 2);
    for (const auto &p : {early, whole}) {
        check(p.body.size() <= bytes.size());
        check(p.body.size() <= RtHttpClient::answerLimit);
        if (p.state == RtHttpClient::Parsed::State::Complete) {
            check(p.status >= 100 && p.status <= 599);
            (void)EpsonRtXml::parse(p.body);
        }
    }
}

} // namespace corvale::fuzz

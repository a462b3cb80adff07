#include "RtDialectFuzzTarget.h"

#include "sales/register/RchRtCommands.h"
#include "sales/register/RtDialect.h"

#include <QByteArray>

#include <cstdlib>

namespace corvale::fuzz {

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

void checkAnswer(const RtAnswer &a) {
    check(a.documentNumber >= 0 && a.closure >= 0);
    if (a.kind == RtAnswer::Kind::Malformed)
        check(a.documentNumber == 0 && a.closure == 0 && a.code.isEmpty() && !a.hasAmount);
}

} // namespace

void fuzzRtDialect(const uint8_t *data, size_t size) {
    if (size == 0)
        return;
    const int mode = data[0] % 3;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    if (mode == 0) {
        checkAnswer(CustomRtDialect().parse(bytes));
        return;
    }
    if (mode == 2) {
        checkAnswer(RchRtCommands::parse(bytes));
        return;
    }
    // The bytes off the socket, taken as the link takes them.
    using Kind = RchRtCommands::Taken::Kind;
    QByteArray buffer = bytes;
    QList<QByteArray> answers;
    while (true) {
        const RchRtCommands::Taken t = RchRtCommands::take(buffer);
        if (t.kind == Kind::Incomplete) {
            check(t.used == 0 && buffer.size() < RchRtCommands::frameLimit);
            break;
        }
        check(t.used > 0 && t.used <= buffer.size());
        if (t.kind == Kind::Frame) {
            check(t.data.size() <= 999 && t.sequence >= 0 && t.sequence <= 9);
            for (char c : t.data)
                check(c >= 0x20 && c <= 0x7e);
            answers << t.data;
        } else {
            check(t.data.isEmpty());
        }
        buffer.remove(0, t.used);
    }
    checkAnswer(RchRtCommands::parse(answers.join('\n')));
}

} // namespace corvale::fuzz

#include "RtDialectFuzzTarget.h"

#include "register/RchExchange.h"
#include "register/RchRtCommands.h"
#include "register/RchServiceXml.h"
#include "register/RtDialect.h"

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
    // 0-5: the first three ways (as the kept inputs were written); 6: the
    // service.cgi answer; 7: the exchange of a request fed in pieces.
    const int mode = data[0] % 8 < 6 ? data[0] % 8 % 3 : data[0] % 8;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    if (mode == 6) {
        const auto answers = RchServiceXml::answers(bytes);
        if (answers) {
            check(!answers->isEmpty());
            for (char c : *answers)
                check(c == '\n' || (c >= 0x20 && c <= 0x7e));
            checkAnswer(RchRtCommands::parse(*answers));
        }
        checkAnswer(RchRtDialect(RegisterSettings::Transport::Http).parse(bytes));
        return;
    }
    if (mode == 7) {
        const QList<QByteArray> commands{"=K", "=R1/$2990/(MAGLIA)", "=c", "=?U"};
        RchExchange exchange;
        check(!exchange.start(commands).isEmpty());
        const qsizetype piece = bytes.isEmpty() ? 1 : 1 + static_cast<unsigned char>(bytes[0]) % 16;
        QByteArray written;
        for (qsizetype at = 0; at < bytes.size() && exchange.isRunning(); at += piece) {
            const RchExchange::Step step = exchange.feed(bytes.mid(at, piece));
            written += step.write;
            if (step.state == RchExchange::Step::State::Done)
                checkAnswer(RchRtCommands::parse(step.answers));
            else
                check(step.answers.isEmpty());
        }
        // Only the request's own frames go out, each once.
        QByteArray expected;
        for (qsizetype i = 1; i < commands.size() && expected.size() < written.size(); ++i)
            expected += RchRtCommands::frame(int(i % 10), commands.at(i));
        check(written == expected);
        return;
    }
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

// The telematic registers' answers: the HTTP frames read piece by piece, and
// every input kept from the fuzzer (seeds and inputs that once crashed it)
// replayed, with a short run of random mutations of them, under the test
// build's sanitizers.

#include "../../fuzz/RtAnswerFuzzTarget.h"
#include "../../fuzz/RtDialectFuzzTarget.h"
#include "register/RtHttpClient.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using corvale::RtHttpClient;
using State = RtHttpClient::Parsed::State;

namespace {

using Target = void (*)(const uint8_t *, size_t);

QList<QByteArray> seeds(const char *target = "rtanswer") {
    QList<QByteArray> out;
    const QDir dir(QStringLiteral(CORVALE_TEST_DATA "/register/fuzz/") + QLatin1String(target));
    for (const QString &name : dir.entryList(QDir::Files)) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            out << f.readAll();
    }
    return out;
}

void feed(const QByteArray &bytes, Target target = corvale::fuzz::fuzzRtAnswer) {
    target(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
}

// Every kept input, then random edits of them.
void mutate(const QList<QByteArray> &kept, Target target) {
    for (const QByteArray &input : kept)
        feed(input, target);
    QRandomGenerator g(27);
    for (int i = 0; i < 3000; ++i) {
        QByteArray input = kept.at(g.bounded(int(kept.size())));
        const int edits = 1 + g.bounded(8);
        for (int e = 0; e < edits && !input.isEmpty(); ++e) {
            const int at = g.bounded(int(input.size()));
            switch (g.bounded(4)) {
            case 0:
                input[at] = char(g.bounded(256));
                break;
            case 1:
                input.remove(at, 1 + g.bounded(16));
                break;
            case 2:
                input.insert(at, input.mid(g.bounded(int(input.size())), 1 + g.bounded(32)));
                break;
            default:
                input.truncate(at);
            }
        }
        feed(input, target);
    }
}

} // namespace

Q_DECLARE_METATYPE(State)

class TestRtAnswerFuzz : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void httpFrames_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<bool>("atEnd");
        QTest::addColumn<State>("state");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        const QByteArray ok = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n";
        QTest::newRow("whole") << ok + "hello" << false << State::Complete << 200
                               << QByteArray("hello");
        QTest::newRow("body still coming")
            << ok + "hel" << false << State::Incomplete << 0 << QByteArray();
        QTest::newRow("connection closed short")
            << ok + "hel" << true << State::Bad << 0 << QByteArray();
        QTest::newRow("head still coming") << QByteArray("HTTP/1.1 200 OK\r\nContent-Le") << false
                                           << State::Incomplete << 0 << QByteArray();
        QTest::newRow("to the end of the connection")
            << QByteArray("HTTP/1.0 200 OK\r\n\r\nabc") << true << State::Complete << 200
            << QByteArray("abc");
        QTest::newRow("chunked") << QByteArray(
                                        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                        "3\r\nabc\r\n2;x=y\r\nde\r\n0\r\n\r\n")
                                 << false << State::Complete << 200 << QByteArray("abcde");
        QTest::newRow("chunk without its end")
            << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabcXX")
            << false << State::Bad << 0 << QByteArray();
        QTest::newRow("refused by the server")
            << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n") << false
            << State::Complete << 404 << QByteArray();
        QTest::newRow("not HTTP") << QByteArray("<response success=\"true\"/>\r\n\r\n") << false
                                  << State::Bad << 0 << QByteArray();
        QTest::newRow("length beyond the limit")
            << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 99999999999\r\n\r\n") << false
            << State::Bad << 0 << QByteArray();
        QTest::newRow("negative length")
            << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n") << false << State::Bad
            << 0 << QByteArray();
        QTest::newRow("endless head")
            << QByteArray(70000, 'x') << false << State::Bad << 0 << QByteArray();
    }
    void httpFrames() {
        QFETCH(QByteArray, raw);
        QFETCH(bool, atEnd);
        QFETCH(State, state);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        const RtHttpClient::Parsed p = RtHttpClient::parse(raw, atEnd);
        QCOMPARE(p.state, state);
        if (state == State::Complete) {
            QCOMPARE(p.status, status);
            QCOMPARE(p.body, body);
        }
    }

    void keptInputsAndAShortMutationRun() {
        const QList<QByteArray> kept = seeds();
        QVERIFY(kept.size() >= 5);
        mutate(kept, corvale::fuzz::fuzzRtAnswer);
    }

    // The Custom XML and the RCH frames and answers.
    void dialectInputsAndAShortMutationRun() {
        const QList<QByteArray> kept = seeds("rtdialect");
        QVERIFY(kept.size() >= 6);
        mutate(kept, corvale::fuzz::fuzzRtDialect);
    }
};

QTEST_GUILESS_MAIN(TestRtAnswerFuzz)
#include "tst_rtanswerfuzz.moc"

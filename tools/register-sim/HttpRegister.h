#pragma once

#include <QByteArray>

namespace corvale::sim {

// A simulated register that takes its requests as HTTP POST bodies; the
// RtHttpServer serves it.
class HttpRegister {
public:
    struct Result {
        QByteArray answer;   // empty with silent or drop
        bool silent = false; // never answer
        bool drop = false;   // close the connection without an answer
    };

    virtual ~HttpRegister() = default;
    // Where the register takes its requests.
    virtual QByteArray path() const = 0;
    virtual Result handle(const QByteArray &body) = 0;
};

} // namespace corvale::sim

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace corvale {

// The exchange system's rejection rules that can be decided without asking
// it, checked on a file already valid against the schema. Each problem
// carries the rule's code and says, in the shop's words, what to correct and
// where.
class SdiRules {
public:
    struct Problem {
        QString code; // "00427"
        QString message;
    };

    static QList<Problem> check(const QByteArray &xml);
    // The codes this check decides, in order.
    static const QStringList &codes();
};

} // namespace corvale

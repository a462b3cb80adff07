#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace corvale {

// The RCH command language over HTTP: the commands of one request posted
// together to "/service.cgi", each in a "cmd" element of one "Service"
// document, so that a receipt is one request (and a lost answer leaves one
// question: was it printed?).
//
// The answer's shape is ours, to be checked on a device: a "Service"
// document holding one "answer" element for each command carried out, in
// order, each the data the register's response frame carries on its serial
// line (status block, then the fields of "=?U" and of the closure). The
// register stops at the first command it refuses, whose answer is the last.
//   <Service><answer>N0000000</answer><answer>N0000000/Z0012/N0003</answer></Service>
class RchServiceXml {
public:
    static inline const QString path = QStringLiteral("/service.cgi");
    static constexpr int defaultPort = 80;
    static constexpr qsizetype answerLimit = 999; // as in a frame

    static QByteArray request(const QList<QByteArray> &commands);
    // The answers one a line, as the framed links give them to
    // RchRtCommands::parse; nothing for a body that is not such a document.
    static std::optional<QByteArray> answers(const QByteArray &body);
};

} // namespace corvale

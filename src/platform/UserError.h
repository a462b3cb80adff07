#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace corvale {

// A failure meant for the user: the message is Italian, names what went wrong
// (the file, the field, the archive) and is shown as is. The engine's errors and
// the archive's are of this kind; runReportingEngineErrors shows any of them.
class UserError : public std::exception {
public:
    explicit UserError(QString message)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8()) {}

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace corvale

#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace corvale::db {

// Every failure of the engine. The message is Italian and names the file (and the
// field, when one is involved), because the program shows it to the user as is.
class Error : public std::exception {
public:
    explicit Error(QString message);

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace corvale::db

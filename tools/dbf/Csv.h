#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// RFC 4180 CSV in UTF-8: fields with a comma, a quote or a line break are quoted, a quote
// inside is doubled; lines end with CRLF.
class Csv {
public:
    static QByteArray line(const QStringList &fields);
    // Parses a whole document; throws std::runtime_error on an unterminated quote.
    static QList<QStringList> parse(const QByteArray &utf8);
};

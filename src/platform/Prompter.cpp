#include "platform/Prompter.h"

namespace corvale {

QString Prompter::displayText(const QString &text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

QString Prompter::qtFilter(const QString &filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    if (out.isEmpty() && !filter.isEmpty())
        out << filter;
    return out.join(QLatin1String(";;"));
}

} // namespace corvale

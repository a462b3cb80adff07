#include "platform/IniFile.h"

#include "platform/Cp1252.h"

#include <QFile>
#include <QSaveFile>

namespace corvale {

namespace {

// "[Name]" -> "Name"; empty when the line is not a section header.
QString sectionName(const QString &line) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'['))
        return {};
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return {};
    return t.mid(1, close - 1).trimmed();
}

bool isComment(const QString &line) {
    const QString t = line.trimmed();
    return t.isEmpty() || t.startsWith(u';') || t.startsWith(u'#');
}

// Splits "key = value"; false when the line holds no '='.
bool splitEntry(const QString &line, QString *key, QString *value) {
    if (isComment(line))
        return false;
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0)
        return false;
    *key = line.left(eq).trimmed();
    QString v = line.mid(eq + 1).trimmed();
    // The profile API drops one pair of matching quotes around a value.
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    *value = v;
    return true;
}

bool sameName(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path)) {}

bool IniFile::load(QStringList &lines, QString &eol, bool &utf8) const {
    eol = QStringLiteral("\r\n");
    utf8 = false;
    QFile f(m_path);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        utf8 = true;
        bytes.remove(0, 3);
    }
    const QString text = utf8 ? QString::fromUtf8(bytes) : Cp1252::decode(bytes);
    if (!text.contains(QLatin1String("\r\n")) && text.contains(u'\n'))
        eol = QStringLiteral("\n");
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines = normalised.split(u'\n');
    // A final line end leaves one empty tail element; it is re-added on save.
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return true;
}

bool IniFile::save(const QStringList &lines, const QString &eol, bool utf8) {
    QString text = lines.join(eol);
    if (!lines.isEmpty())
        text += eol;
    QByteArray bytes = utf8 ? QByteArray("\xEF\xBB\xBF") + text.toUtf8() : Cp1252::encode(text);
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        m_error = f.errorString();
        return false;
    }
    m_error.clear();
    return true;
}

bool IniFile::lookup(const QString &section, const QString &key, QString *value) const {
    QStringList lines;
    QString eol;
    bool utf8;
    if (!load(lines, eol, utf8))
        return false;
    bool inSection = false;
    for (const QString &line : std::as_const(lines)) {
        const QString name = sectionName(line);
        if (!name.isNull() && !name.isEmpty()) {
            inSection = sameName(name, section);
            continue;
        }
        QString k, v;
        if (inSection && splitEntry(line, &k, &v) && sameName(k, key)) {
            if (value)
                *value = v;
            return true;
        }
    }
    return false;
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const {
    QString v;
    return lookup(section, key, &v) ? v : defaultValue;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const {
    QString v;
    if (!lookup(section, key, &v))
        return defaultValue;
    bool ok = false;
    int n = v.toInt(&ok);
    if (!ok && (v.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) || v.startsWith(u'$')))
        n = v.mid(v.startsWith(u'$') ? 1 : 2).toInt(&ok, 16);
    return ok ? n : defaultValue;
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::hasKey(const QString &section, const QString &key) const {
    return lookup(section, key, nullptr);
}

QStringList IniFile::sections() const {
    QStringList lines, out;
    QString eol;
    bool utf8;
    if (!load(lines, eol, utf8))
        return out;
    for (const QString &line : std::as_const(lines)) {
        const QString name = sectionName(line);
        if (!name.isEmpty())
            out << name;
    }
    return out;
}

bool IniFile::hasSection(const QString &section) const {
    for (const QString &s : sections()) {
        if (sameName(s, section))
            return true;
    }
    return false;
}

QStringList IniFile::keys(const QString &section) const {
    QStringList lines, out;
    QString eol;
    bool utf8;
    if (!load(lines, eol, utf8))
        return out;
    bool inSection = false;
    for (const QString &line : std::as_const(lines)) {
        const QString name = sectionName(line);
        if (!name.isEmpty()) {
            inSection = sameName(name, section);
            continue;
        }
        QString k, v;
        if (inSection && splitEntry(line, &k, &v))
            out << k;
    }
    return out;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value) {
    QStringList lines;
    QString eol;
    bool utf8;
    if (!load(lines, eol, utf8)) {
        m_error = QStringLiteral("Impossibile leggere il file %1").arg(m_path);
        return false;
    }
    const QString entry = key + u'=' + value;
    int sectionLine = -1;
    int lastEntry = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString name = sectionName(lines[i]);
        if (!name.isEmpty()) {
            if (sectionLine >= 0)
                break; // past the end of our section
            if (sameName(name, section)) {
                sectionLine = i;
                lastEntry = i;
            }
            continue;
        }
        if (sectionLine < 0)
            continue;
        QString k, v;
        if (splitEntry(lines[i], &k, &v)) {
            if (sameName(k, key)) {
                lines[i] = entry;
                return save(lines, eol, utf8);
            }
            lastEntry = i;
        } else if (!lines[i].trimmed().isEmpty()) {
            lastEntry = i; // keep comments inside the section above the new key
        }
    }
    if (sectionLine < 0) {
        if (!lines.isEmpty() && !lines.back().trimmed().isEmpty())
            lines << QString();
        lines << u'[' + section + u']' << entry;
    } else {
        lines.insert(lastEntry + 1, entry);
    }
    return save(lines, eol, utf8);
}

bool IniFile::writeInteger(const QString &section, const QString &key, int value) {
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString &section, const QString &key, bool value) {
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::removeKey(const QString &section, const QString &key) {
    QStringList lines;
    QString eol;
    bool utf8;
    if (!load(lines, eol, utf8))
        return false;
    bool inSection = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString name = sectionName(lines[i]);
        if (!name.isEmpty()) {
            inSection = sameName(name, section);
            continue;
        }
        QString k, v;
        if (inSection && splitEntry(lines[i], &k, &v) && sameName(k, key)) {
            lines.removeAt(i);
            return save(lines, eol, utf8);
        }
    }
    return true;
}

} // namespace corvale

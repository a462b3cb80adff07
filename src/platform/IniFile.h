#pragma once

#include <QString>
#include <QStringList>

namespace corvale {

// An INI file with the semantics of the Windows profile API, as "Dati.ini"
// has always been read and written: section and key names are matched without
// regard to case, values are trimmed, a missing key gives the caller's default,
// booleans are stored as "1"/"0" and an unreadable integer gives the default.
// Each write goes to disk at once (through a temporary file and a rename) and
// leaves every other line, comment and section exactly as it was.
// Files written on Windows (CRLF line ends, Windows-1252 text) are read as they
// are and keep their line ends when written; a UTF-8 file with a BOM is kept UTF-8.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = {}) const;
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    bool hasKey(const QString &section, const QString &key) const;
    bool hasSection(const QString &section) const;
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    // Writes return false when the file cannot be written; the error text is
    // then in errorString().
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInteger(const QString &section, const QString &key, int value);
    bool writeBool(const QString &section, const QString &key, bool value);
    bool removeKey(const QString &section, const QString &key);

    QString errorString() const { return m_error; }

private:
    bool load(QStringList &lines, QString &eol, bool &utf8) const;
    bool save(const QStringList &lines, const QString &eol, bool utf8);
    bool lookup(const QString &section, const QString &key, QString *value) const;

    QString m_path;
    QString m_error;
};

} // namespace corvale

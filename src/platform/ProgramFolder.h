#pragma once

#include <QString>

namespace corvale {

// The program folder: the executable's folder, or the one given with --home.
// It holds the data folder "dati", the archive folder "archivio", "Dati.ini"
// and the pictures of the windows.
class ProgramFolder {
public:
    explicit ProgramFolder(QString root);

    // The folder named by a --home=DIR (or --home DIR) argument, else the
    // executable's folder.
    static QString fromArguments(const QStringList &arguments, const QString &executableDir);

    const QString &root() const { return m_root; }
    QString dataPath() const;    // <root>/dati
    QString archivePath() const; // <root>/archivio
    QString iniPath() const;     // <root>/Dati.ini (an existing file of another case is used)
    // A file of the program folder by name, matched without regard to case
    // when the exact name does not exist (copies from Windows change case).
    QString file(const QString &name) const;

    // Creates the folder and the archive folder when missing, and writes the
    // pictures "top.BMP", "bkgd.BMP" and "clear.jpg" when absent, so that a
    // fresh install starts. False with *error when the folder cannot be written.
    bool prepare(QString *error = nullptr) const;

private:
    QString m_root;
};

} // namespace corvale

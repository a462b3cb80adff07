#include "platform/ProgramFolder.h"

#include "platform/Jpeg.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QSaveFile>

namespace corvale {

namespace {

QImage titleBand() {
    QImage img(1024, 28, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, img.height());
    g.setColorAt(0, QColor(250, 250, 252));
    g.setColorAt(0.5, QColor(214, 222, 236));
    g.setColorAt(1, QColor(168, 182, 208));
    p.fillRect(img.rect(), g);
    p.setPen(QColor(120, 134, 164));
    p.drawLine(0, img.height() - 1, img.width(), img.height() - 1);
    return img;
}

QImage background() {
    // A quiet linen texture: a flat colour with a faint regular weave.
    QImage img(64, 64, QImage::Format_RGB32);
    img.fill(QColor(236, 233, 216));
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if ((x + y) % 8 == 0 || (x - y + 64) % 8 == 0)
                img.setPixelColor(x, y, QColor(229, 226, 208));
        }
    }
    return img;
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *error) {
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit())
        return true;
    if (error)
        *error = QStringLiteral("Impossibile scrivere %1: %2").arg(path, f.errorString());
    return false;
}

} // namespace

ProgramFolder::ProgramFolder(QString root)
    : m_root(QDir(root).absolutePath()) {}

QString ProgramFolder::fromArguments(const QStringList &arguments, const QString &executableDir) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a.startsWith(QLatin1String("--home=")))
            return a.mid(7);
        if (a == QLatin1String("--home") && i + 1 < arguments.size())
            return arguments[i + 1];
    }
    return executableDir;
}

QString ProgramFolder::dataPath() const {
    return QDir(m_root).filePath(QStringLiteral("dati"));
}

QString ProgramFolder::archivePath() const {
    return QDir(m_root).filePath(QStringLiteral("archivio"));
}

QString ProgramFolder::iniPath() const {
    return file(QStringLiteral("Dati.ini"));
}

QString ProgramFolder::file(const QString &name) const {
    const QDir dir(m_root);
    const QString exact = dir.filePath(name);
    if (QFile::exists(exact))
        return exact;
    const QStringList entries = dir.entryList(QDir::Files);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return exact;
}

bool ProgramFolder::prepare(QString *error) const {
    QDir dir;
    if (!dir.mkpath(m_root) || !dir.mkpath(archivePath())) {
        if (error)
            *error = QStringLiteral("Impossibile creare la cartella %1").arg(m_root);
        return false;
    }
    if (!QFile::exists(file(QStringLiteral("top.BMP"))) &&
        !titleBand().save(QDir(m_root).filePath(QStringLiteral("top.BMP")), "BMP")) {
        if (error)
            *error = QStringLiteral("Impossibile scrivere top.BMP");
        return false;
    }
    if (!QFile::exists(file(QStringLiteral("bkgd.BMP"))) &&
        !background().save(QDir(m_root).filePath(QStringLiteral("bkgd.BMP")), "BMP")) {
        if (error)
            *error = QStringLiteral("Impossibile scrivere bkgd.BMP");
        return false;
    }
    if (!QFile::exists(file(QStringLiteral("clear.jpg")))) {
        QImage blank(160, 160, QImage::Format_RGB32);
        blank.fill(Qt::white);
        if (!writeFile(QDir(m_root).filePath(QStringLiteral("clear.jpg")), Jpeg::encode(blank, 90),
                       error))
            return false;
    }
    return true;
}

} // namespace corvale

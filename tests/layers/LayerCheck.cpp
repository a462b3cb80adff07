#include "LayerCheck.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace corvale::testing {

namespace {

QString readText(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// CMake text without its comments.
QString cmakeCode(const QString &path) {
    static const QRegularExpression comment(QStringLiteral("#[^\n]*"));
    return readText(path).remove(comment);
}

QStringList words(const QString &text) {
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return text.split(space, Qt::SkipEmptyParts);
}

} // namespace

LayerCheck::LayerCheck(const QString &root)
    : m_src(QDir(root).filePath(QStringLiteral("src"))) {}

QStringList LayerCheck::faults(const QString &root) {
    LayerCheck check(root);
    check.readLayers();
    if (check.m_layers.isEmpty())
        return {QStringLiteral("src/CMakeLists.txt: no layers found")};
    check.readLibraries();
    check.checkLinks();
    check.checkSources();
    return check.m_faults;
}

void LayerCheck::readLayers() {
    static const QRegularExpression folder(
        QStringLiteral("add_subdirectory\\s*\\(\\s*([A-Za-z0-9_]+)\\s*\\)"));
    const QString code = cmakeCode(QDir(m_src).filePath(QStringLiteral("CMakeLists.txt")));
    for (const QRegularExpressionMatch &m : folder.globalMatch(code))
        m_layers << m.captured(1);
}

void LayerCheck::readLibraries() {
    static const QRegularExpression library(QStringLiteral("corvale_add_library\\s*\\(([^)]*)\\)"));
    static const QRegularExpression link(QStringLiteral("target_link_libraries\\s*\\(([^)]*)\\)"));
    QDirIterator it(m_src, {QStringLiteral("CMakeLists.txt")}, QDir::Files,
                    QDirIterator::Subdirectories);
    QHash<QString, QStringList> added; // links added after the library was declared
    while (it.hasNext()) {
        const QString path = it.next();
        const QString folder = QDir(m_src).relativeFilePath(QFileInfo(path).path());
        const QString code = cmakeCode(path);
        for (const QRegularExpressionMatch &m : library.globalMatch(code)) {
            const QStringList w = words(m.captured(1));
            if (w.isEmpty())
                continue;
            Library l{folder, {}};
            const qsizetype from = w.indexOf(QStringLiteral("LIBS"));
            if (from >= 0)
                l.links = w.mid(from + 1);
            m_libraries.insert(w.first(), l);
        }
        for (const QRegularExpressionMatch &m : link.globalMatch(code)) {
            const QStringList w = words(m.captured(1));
            if (!w.isEmpty())
                added[w.first()] += w.mid(1);
        }
    }
    for (auto i = added.cbegin(); i != added.cend(); ++i)
        if (m_libraries.contains(i.key()))
            m_libraries[i.key()].links += i.value();
    // Only our own libraries matter: Qt and the system libraries are below every layer.
    for (Library &l : m_libraries)
        l.links.removeIf([this](const QString &name) { return !m_libraries.contains(name); });
}

// The folder a file or include path belongs to: the deepest folder of its path
// that holds a library, else its top folder.
QString LayerCheck::folderOf(const QString &path) const {
    QStringList parts = path.split(u'/');
    parts.removeLast();
    while (!parts.isEmpty()) {
        const QString folder = parts.join(u'/');
        for (const Library &l : m_libraries)
            if (l.folder == folder)
                return folder;
        parts.removeLast();
    }
    const qsizetype slash = path.indexOf(u'/');
    return slash < 0 ? QString() : path.left(slash);
}

double LayerCheck::rank(const QString &folder) const {
    const qsizetype layer = m_layers.indexOf(folder);
    if (layer >= 0)
        return double(layer);
    if (!m_layers.contains(folder.section(u'/', 0, 0)))
        return -1; // not a folder of ours
    double above = 0;
    for (const Library &l : m_libraries)
        if (l.folder == folder)
            for (const QString &name : l.links)
                if (m_libraries[name].folder != folder)
                    above = std::max(above, rank(m_libraries[name].folder) + 0.5);
    return above;
}

const QStringList &LayerCheck::linkedFolders(const QString &folder) {
    auto found = m_linked.constFind(folder);
    if (found != m_linked.cend())
        return *found;
    QSet<QString> seen;
    QStringList pending;
    for (auto i = m_libraries.cbegin(); i != m_libraries.cend(); ++i)
        if (i->folder == folder)
            pending += i->links;
    while (!pending.isEmpty()) {
        const QString name = pending.takeLast();
        if (seen.contains(name))
            continue;
        seen.insert(name);
        pending += m_libraries[name].links;
    }
    QStringList folders;
    for (const QString &name : seen)
        folders << m_libraries[name].folder;
    return *m_linked.insert(folder, folders);
}

void LayerCheck::checkLinks() {
    QStringList names = m_libraries.keys();
    names.sort();
    for (const QString &name : names) {
        const Library &l = m_libraries[name];
        for (const QString &other : l.links) {
            const QString folder = m_libraries[other].folder;
            if (folder != l.folder && rank(folder) > rank(l.folder))
                m_faults << QStringLiteral("%1/CMakeLists.txt: %2 links %3, a later layer (%4)")
                                .arg(l.folder, name, other, folder);
        }
    }
}

void LayerCheck::checkSources() {
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""));
    QStringList files;
    QDirIterator it(m_src, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(m_src).relativeFilePath(it.next());
    files.sort();
    for (const QString &file : files) {
        const QString own = folderOf(file);
        if (rank(own) < 0)
            continue;
        bool linksKnown = false;
        for (const Library &l : std::as_const(m_libraries))
            linksKnown = linksKnown || l.folder == own;
        const QStringList lines = readText(QDir(m_src).filePath(file)).split(u'\n');
        for (qsizetype n = 0; n < lines.size(); ++n) {
            const QRegularExpressionMatch m = include.match(lines[n]);
            if (!m.hasMatch())
                continue;
            const QString target = m.captured(1);
            const QString where = QStringLiteral("%1:%2: ").arg(file).arg(n + 1);
            if (target.startsWith(QStringLiteral("../")) ||
                target.contains(QStringLiteral("/../"))) {
                m_faults << where +
                                QStringLiteral("includes %1 outside the include root").arg(target);
                continue;
            }
            const QString folder = folderOf(target);
            if (folder == own || rank(folder) < 0)
                continue;
            if (rank(folder) > rank(own))
                m_faults << where + QStringLiteral("includes %1, a later layer (%2)")
                                        .arg(target, folder);
            else if (linksKnown && !linkedFolders(own).contains(folder))
                m_faults << where + QStringLiteral("includes %1, whose layer (%2) %3 does not link")
                                        .arg(target, folder, own);
        }
    }
}

} // namespace corvale::testing

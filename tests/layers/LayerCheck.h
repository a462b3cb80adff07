#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace corvale::testing {

// Reads the layer order of a source tree (the add_subdirectory calls of
// src/CMakeLists.txt, first the lowest) and the link list of every library
// (corvale_add_library(... LIBS ...) and target_link_libraries in
// src/**/CMakeLists.txt), and finds the includes that go against them:
//
// - an include of a later layer: "platform/X.h" including "db/Error.h";
// - an include of a layer the library does not link, directly or through the
//   libraries it links (their links are public, so what they link is there);
// - an include that climbs out of the include root ("../");
// - a link list that names a library of a later layer.
//
// A library in a subfolder of a layer's folder is a layer of its own:
// whoever includes it must link it, and it ranks just above the highest layer
// it links, so a lower layer may use it as long as it uses nothing above that.
class LayerCheck {
public:
    // `root` holds src/. Each fault is one line "file:line: what".
    static QStringList faults(const QString &root);

private:
    struct Library {
        QString folder; // relative to src/
        QStringList links;
    };
    explicit LayerCheck(const QString &root);

    void readLayers();
    void readLibraries();
    QString folderOf(const QString &path) const;
    double rank(const QString &folder) const;
    const QStringList &linkedFolders(const QString &folder);
    void checkLinks();
    void checkSources();

    QString m_src;
    QStringList m_layers;
    QHash<QString, Library> m_libraries;  // by target name
    QHash<QString, QStringList> m_linked; // folder → folders it links, with their links
    QStringList m_faults;
};

} // namespace corvale::testing

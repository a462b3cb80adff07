#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace corvale {

// Checks a FatturaPA file against the official schema with libxml2, offline:
// the schema and the signature schema it imports are read from the program's
// own copy (see schemaFolder()), never fetched.
class SchemaValidator {
public:
    // The schema of `folder` (Schema_VFPR12_v1.2.2.xsd beside
    // xmldsig-core-schema.xsd); parsed once, when first used.
    explicit SchemaValidator(QString folder = schemaFolder());
    ~SchemaValidator();
    SchemaValidator(const SchemaValidator &) = delete;
    SchemaValidator &operator=(const SchemaValidator &) = delete;

    // The problems found, one a line ("riga 12: ..."); empty when valid. A
    // schema that cannot be read makes every file fail, with that reason.
    QStringList validate(const QByteArray &xml);

    // Where the schemas are: "fatturapa" beside the program, or
    // ../share/corvale/fatturapa from it once installed, or the source tree's
    // copy the build was made from.
    static QString schemaFolder();
    static QString schemaFileName();

private:
    struct State;
    bool load();

    QString m_folder;
    std::unique_ptr<State> m_state;
    QString m_loadError;
};

} // namespace corvale

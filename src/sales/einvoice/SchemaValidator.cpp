#include "sales/einvoice/SchemaValidator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

namespace corvale {

namespace {

void collect(void *context, const xmlError *error) {
    auto *out = static_cast<QStringList *>(context);
    if (!error)
        return;
    QString message = QString::fromUtf8(error->message ? error->message : "").trimmed();
    if (error->line > 0)
        message = QStringLiteral("riga %1: %2").arg(error->line).arg(message);
    *out << message;
}

// libxml2 2.9 and later differ in the constness of the error callback.
void collectError(void *context, xmlErrorPtr error) {
    collect(context, error);
}

} // namespace

struct SchemaValidator::State {
    xmlSchemaPtr schema = nullptr;
    ~State() {
        if (schema)
            xmlSchemaFree(schema);
    }
};

SchemaValidator::SchemaValidator(QString folder)
    : m_folder(std::move(folder)) {}

SchemaValidator::~SchemaValidator() = default;

QString SchemaValidator::schemaFileName() {
    return QStringLiteral("Schema_VFPR12_v1.2.2.xsd");
}

QString SchemaValidator::schemaFolder() {
    QStringList candidates;
    if (QCoreApplication::instance()) {
        const QString dir = QCoreApplication::applicationDirPath();
        candidates << dir + QStringLiteral("/fatturapa")
                   << dir + QStringLiteral("/../share/corvale/fatturapa");
    }
    candidates << QStringLiteral(CORVALE_FATTURAPA_DIR);
    for (const QString &c : candidates) {
        if (QFileInfo::exists(c + u'/' + schemaFileName()))
            return QDir(c).absolutePath();
    }
    return QStringLiteral(CORVALE_FATTURAPA_DIR);
}

bool SchemaValidator::load() {
    if (m_state)
        return m_state->schema != nullptr;
    m_state = std::make_unique<State>();
    const QString path = m_folder + u'/' + schemaFileName();
    if (!QFileInfo::exists(path)) {
        m_loadError = QStringLiteral("Schema della fattura elettronica non trovato: %1")
                          .arg(QDir::toNativeSeparators(path));
        return false;
    }
    QStringList errors;
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(QFile::encodeName(path).constData());
    if (parser) {
        xmlSchemaSetParserStructuredErrors(parser, collectError, &errors);
        m_state->schema = xmlSchemaParse(parser);
        xmlSchemaFreeParserCtxt(parser);
    }
    if (!m_state->schema) {
        m_loadError = QStringLiteral("Schema della fattura elettronica non leggibile: %1")
                          .arg(errors.join(u'\n'));
        return false;
    }
    return true;
}

QStringList SchemaValidator::validate(const QByteArray &xml) {
    if (!load())
        return {m_loadError};
    QStringList errors;
    // No network and no entities: the file is ours, but nothing it says is fetched.
    xmlDocPtr doc = xmlReadMemory(xml.constData(), int(xml.size()), "fattura.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) {
        const xmlError *e = xmlGetLastError();
        return {QStringLiteral("XML non leggibile: %1")
                    .arg(QString::fromUtf8(e && e->message ? e->message : "").trimmed())};
    }
    xmlSchemaValidCtxtPtr context = xmlSchemaNewValidCtxt(m_state->schema);
    xmlSchemaSetValidStructuredErrors(context, collectError, &errors);
    const int result = xmlSchemaValidateDoc(context, doc);
    xmlSchemaFreeValidCtxt(context);
    xmlFreeDoc(doc);
    if (result != 0 && errors.isEmpty())
        errors << QStringLiteral("file non conforme allo schema");
    return errors;
}

} // namespace corvale

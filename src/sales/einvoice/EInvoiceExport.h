#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace corvale {

class EInvoiceBuilder;
class ProgramFolder;
class SchemaValidator;

namespace db {
class Database;
class Table;
} // namespace db

// Writes the FatturaPA file of stored invoices and credit notes into a folder
// (archivio/FE of the program folder unless told otherwise). Each file is
// checked against the schema and the exchange system's offline rules before
// it is written; a file that fails is not written and takes no progressive.
// The progressive is taken from the shop's counter but never below the
// highest file already in the folder; writing an invoice again that has not
// left yet keeps its file name.
class EInvoiceExport {
public:
    // Throws db::Error.
    EInvoiceExport(db::Database &database, QString folder);
    ~EInvoiceExport();

    struct Outcome {
        qint64 key = 0;
        QString number; // the invoice's number, for messages
        bool written = false;
        QString fileName;
        QString path;
        // What stopped it, in the shop's words: nothing when written.
        QStringList problems;
    };

    // Throws db::Error.
    Outcome write(qint64 key);
    // Every invoice and credit note dated from `from` to `to`, in date order.
    QList<Outcome> writePeriod(QDate from, QDate to);

    // The message for the user after write(): the file written, or why not.
    static QString messageFor(const Outcome &outcome);

    // archivio/FE of the program folder, where the files wait to be sent.
    static QString defaultFolder(const ProgramFolder &folder);

    // One validator for the whole run: the schema is read once.
    static SchemaValidator &validator();

private:
    db::Database &m_db;
    QString m_folder;
    std::unique_ptr<EInvoiceBuilder> m_builder;
    std::unique_ptr<db::Table> m_config; // the counter's record, kept open over a period
    // The last progressive taken: the shop's counter, the folder's highest
    // file (read once) and the files written since.
    qint64 m_lastProgressive = -1;
};

} // namespace corvale

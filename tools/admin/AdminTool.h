#pragma once

#include "SilentPrompter.h"
#include "platform/Clock.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace corvale {

class Shop;

// corvale-admin [--home DIR] [--today yyyy-mm-dd] COMMAND [ARGS]
// Each command is one member function; adding one means a line in the table
// of commands and its function. Exit status: 0 done, 1 failed (the Italian
// message on standard error), 2 wrong usage.
class AdminTool {
public:
    enum Status { Success = 0, Failure = 1, Usage = 2 };

    AdminTool(FILE *out, FILE *err, QString executableDir);
    ~AdminTool();

    int run(const QStringList &arguments);

private:
    struct Command {
        const char *name;
        const char *arguments; // for the usage text
        int minArguments;
        int maxArguments;
        bool needsDataFolder;
        int (AdminTool::*handler)(const QStringList &);
    };
    static const Command commands[];

    int backup(const QStringList &arguments);
    int restore(const QStringList &arguments);
    int verify(const QStringList &arguments);
    int rebuildStock(const QStringList &arguments);
    int check(const QStringList &arguments);
    // export inventory|load-unload|stock [--year Y] [--from D --to D]
    //        [--size-type N] [FILE]: the file the report's window exports.
    int exportReport(const QStringList &arguments);
    bool sizeTypeExists(qint64 number);
    // export fatturapa --from D --to D [FOLDER]: the FatturaPA file of every
    // invoice and credit note of the period, into archivio/FE or FOLDER.
    int exportInvoices(QDate from, QDate to, const QString &folder);

    int usage(const QString &problem);
    int fail(const QString &message);
    // The data folder taken as the program takes it: refused while a running
    // program holds it.
    bool lockDataFolder(bool required, bool readOnly);
    void say(const QString &text);

    QTextStream m_out;
    QTextStream m_err;
    QString m_executableDir;
    QString m_home;
    Clock m_clock;
    SilentPrompter m_prompter;
    std::unique_ptr<Shop> m_shop;
};

} // namespace corvale

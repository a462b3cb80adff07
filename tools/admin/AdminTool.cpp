#include "AdminTool.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/SeasonAssignment.h"
#include "catalogue/SizeCurve.h"
#include "catalogue/StockRoutines.h"
#include "db/Database.h"
#include "db/Error.h"
#include "db/FileSystem.h"
#include "db/Table.h"
#include "db/TableChecker.h"
#include "maintenance/DataFolderBackup.h"
#include "maintenance/DataFolderRestore.h"
#include "maintenance/TableRepair.h"
#include "platform/ProgramFolder.h"
#include "platform/UserError.h"
#include "printing/SpreadsheetFile.h"
#include "sales/einvoice/EInvoiceExport.h"
#include "schema/DataFolderSchema.h"
#include "shell/DataFolderSetup.h"
#include "shell/Shop.h"
#include "stock/BrokenSizes.h"
#include "stock/Inventory.h"
#include "stock/MovementPeriod.h"
#include "stock/Movements.h"
#include "stock/ReorderSuggestions.h"
#include "stock/SellThrough.h"
#include "stock/StockLevels.h"

#include <QDir>
#include <QFileInfo>

#include <limits>
#include <optional>

namespace corvale {

const AdminTool::Command AdminTool::commands[] = {
    {"backup", "[FILE]", 0, 1, true, &AdminTool::backup},
    {"restore", "FILE", 1, 1, false, &AdminTool::restore},
    {"verify", "", 0, 0, true, &AdminTool::verify},
    {"rebuild-stock", "", 0, 0, true, &AdminTool::rebuildStock},
    {"check", "", 0, 0, true, &AdminTool::check},
    {"export",
     "inventory|load-unload|stock|fatturapa|broken-sizes|reorder|size-curve|sell-through "
     "[--year A] [--from aaaa-mm-gg --to aaaa-mm-gg] [--size-type N] [--supplier N] "
     "[--brand N] [--category N] [--season TESTO] [--weeks N] [--cover N] "
     "[--by brand|category|supplier] [FILE|CARTELLA]",
     1, 25, true, &AdminTool::exportReport},
};

AdminTool::AdminTool(FILE *out, FILE *err, QString executableDir)
    : m_out(out)
    , m_err(err)
    , m_executableDir(std::move(executableDir)) {}

AdminTool::~AdminTool() = default;

void AdminTool::say(const QString &text) {
    m_out << Prompter::displayText(text) << Qt::endl;
}

int AdminTool::fail(const QString &message) {
    m_err << Prompter::displayText(message) << Qt::endl;
    return Failure;
}

int AdminTool::usage(const QString &problem) {
    if (!problem.isEmpty())
        m_err << problem << Qt::endl;
    m_err << "Uso: corvale-admin [--home CARTELLA] [--today aaaa-mm-gg] COMANDO" << Qt::endl
          << "Comandi:" << Qt::endl;
    for (const Command &c : commands)
        m_err << "  " << c.name << (c.arguments[0] ? " " : "") << c.arguments << Qt::endl;
    return Usage;
}

int AdminTool::run(const QStringList &arguments) {
    QString home = m_executableDir;
    QStringList rest;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        auto value = [&](const QString &option, QString *out) {
            if (a.startsWith(option + u'=')) {
                *out = a.mid(option.size() + 1);
                return true;
            }
            if (a == option && i + 1 < arguments.size()) {
                *out = arguments[++i];
                return true;
            }
            return false;
        };
        QString today;
        if (value(QStringLiteral("--home"), &home))
            continue;
        if (value(QStringLiteral("--today"), &today)) {
            const QDate date = QDate::fromString(today, Qt::ISODate);
            if (!date.isValid())
                return usage(QStringLiteral("Data non valida: %1 (usare aaaa-mm-gg)").arg(today));
            m_clock.setFixedDate(date);
            continue;
        }
        if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            return usage({});
        // Options after the command are the command's own.
        if (a.startsWith(QLatin1String("--")) && rest.isEmpty())
            return usage(QStringLiteral("Opzione sconosciuta: %1").arg(a));
        rest << a;
    }
    if (rest.isEmpty())
        return usage(QStringLiteral("Manca il comando."));
    const QString name = rest.takeFirst();
    for (const Command &c : commands) {
        if (name != QLatin1String(c.name))
            continue;
        if (rest.size() < c.minArguments || rest.size() > c.maxArguments)
            return usage(QStringLiteral("Argomenti errati per %1.").arg(name));
        m_home = QDir(home).absolutePath();
        if (!QFileInfo(m_home).isDir())
            return fail(QStringLiteral("La cartella del programma %1 non esiste.")
                            .arg(QDir::toNativeSeparators(m_home)));
        ProgramFolder folder(m_home);
        m_shop = std::make_unique<Shop>(folder, m_clock, m_prompter);
        m_shop->setTableLayouts(allTableLayouts());
        try {
            if (!lockDataFolder(c.needsDataFolder, c.handler == &AdminTool::check))
                return Failure;
            return (this->*c.handler)(rest);
        } catch (const UserError &e) {
            return fail(e.message());
        }
    }
    return usage(QStringLiteral("Comando sconosciuto: %1").arg(name));
}

bool AdminTool::lockDataFolder(bool required, bool readOnly) {
    const QString data = m_shop->folder().dataPath();
    if (!QFileInfo(data).isDir()) {
        if (!required)
            return true;
        fail(QStringLiteral("La cartella dei dati %1 non esiste.")
                 .arg(QDir::toNativeSeparators(data)));
        return false;
    }
    // Opening takes the engine's lock: a running program makes it fail with its
    // own message ("... è già in uso da un'altra copia del programma."). The
    // folder is opened as the program opens it, missing work tables made anew,
    // except by a check, which changes nothing.
    if (readOnly)
        m_shop->database().open(data);
    else
        m_shop->openDatabase();
    return true;
}

int AdminTool::backup(const QStringList &arguments) {
    DataFolderBackup backup(*m_shop);
    QString archive = arguments.isEmpty() ? backup.todaysArchive() : arguments.first();
    archive = QFileInfo(archive).absoluteFilePath();
    const DataFolderBackup::Report report = backup.salva(archive);
    m_out << QDir::toNativeSeparators(report.archive) << Qt::endl;
    if (!report.complete())
        return fail(DataFolderBackup::incompleteText(report));
    return Success;
}

int AdminTool::restore(const QStringList &arguments) {
    const QString archive = QFileInfo(arguments.first()).absoluteFilePath();
    const DataFolderRestore::Report report = DataFolderRestore(*m_shop).ripristina(archive);
    say(DataFolderRestore::successText(report));
    return Success;
}

int AdminTool::verify(const QStringList &) {
    TableRepair repair(*m_shop);
    const int all = std::numeric_limits<int>::max();
    try {
        repair.Verifica();
    } catch (const db::Error &e) {
        return fail(TableRepair::outcomeText(TableRepair::failureText() + u'\r' + e.message(),
                                             repair.removed(), all));
    }
    say(TableRepair::outcomeText(TableRepair::successText(), repair.removed(), all));
    return Success;
}

int AdminTool::rebuildStock(const QStringList &) {
    StockRoutines(m_shop->database()).RebuildStock();
    say(TableRepair::successText());
    return Success;
}

int AdminTool::check(const QStringList &) {
    const QDir data(m_shop->folder().dataPath());
    int problems = 0;
    int tables = 0;
    const QStringList missing =
        DataFolderSetup::missingRecordTables(m_shop->database(), m_shop->tableLayouts());
    for (const QString &name : missing)
        m_out << name << ": tabella mancante" << Qt::endl;
    for (const QString &name : data.entryList(QDir::Files, QDir::Name)) {
        if (!name.endsWith(QLatin1String(".DBF"), Qt::CaseInsensitive))
            continue;
        const QStringList found =
            db::TableChecker::check(db::FileSystem::local(), data.filePath(name));
        if (found.isEmpty()) {
            m_out << name << ": integra" << Qt::endl;
            continue;
        }
        ++tables;
        problems += int(found.size());
        for (const QString &line : found)
            m_out << name << ": " << line << Qt::endl;
    }
    // A missing table is no repair's business: only a copy brings its records back.
    if (!missing.isEmpty())
        return fail(DataFolderSetup::missingTablesText(data.path(), missing));
    if (problems > 0)
        return fail(QStringLiteral("Trovati %1 problemi in %2 tabelle: eseguire \"verify\" "
                                   "dopo aver salvato una copia.")
                        .arg(problems)
                        .arg(tables));
    return Success;
}

bool AdminTool::sizeTypeExists(qint64 number) {
    db::Table types(m_shop->database());
    types.setTableName(articleColumns::sizeTypes);
    types.open();
    for (types.first(); !types.eof(); types.next())
        if (types.asInteger(articleColumns::key) == number)
            return true;
    return false;
}

int AdminTool::exportReport(const QStringList &arguments) {
    const QString report = arguments.first();
    std::optional<int> year;
    QDate from, to;
    std::optional<qint64> sizeType;
    std::optional<QString> season;
    QString by;
    QString file;
    // --- size runs: the selection and the reorder's weeks ---
    SizeRunSelection selection;
    bool selected = false;
    std::optional<int> weeks, cover;
    // --- end size runs ---
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        // --- size runs ---
        if (hasValue && (a == QLatin1String("--supplier") || a == QLatin1String("--brand") ||
                         a == QLatin1String("--category") || a == QLatin1String("--weeks") ||
                         a == QLatin1String("--cover"))) {
            bool ok = false;
            const qint64 n = arguments[++i].toLongLong(&ok);
            if (!ok || n < 0 || n > 999999999)
                return usage(QStringLiteral("Numero non valido per %1: %2").arg(a, arguments[i]));
            if (a == QLatin1String("--weeks"))
                weeks = int(n);
            else if (a == QLatin1String("--cover"))
                cover = int(n);
            else
                (a == QLatin1String("--supplier") ? selection.supplier
                 : a == QLatin1String("--brand")  ? selection.brand
                                                  : selection.category) = n;
            selected = selected || (a != QLatin1String("--weeks") && a != QLatin1String("--cover"));
            continue;
        }
        if (a == QLatin1String("--season") && hasValue) {
            // A season filters the size-run reports and is what sell-through reports on.
            season = arguments[++i];
            selection.season = *season;
            continue;
        }
        // --- end size runs ---
        if (a == QLatin1String("--year") && hasValue) {
            bool ok = false;
            year = arguments[++i].toInt(&ok);
            if (!ok || *year < 1900 || *year > 9999)
                return usage(QStringLiteral("Anno non valido: %1").arg(arguments[i]));
        } else if ((a == QLatin1String("--from") || a == QLatin1String("--to")) && hasValue) {
            const QDate date = QDate::fromString(arguments[++i], Qt::ISODate);
            if (!date.isValid())
                return usage(
                    QStringLiteral("Data non valida: %1 (usare aaaa-mm-gg)").arg(arguments[i]));
            (a == QLatin1String("--from") ? from : to) = date;
        } else if (a == QLatin1String("--size-type") && hasValue) {
            bool ok = false;
            sizeType = arguments[++i].toLongLong(&ok);
            if (!ok)
                return usage(QStringLiteral("Tipo taglia non valido: %1").arg(arguments[i]));
        } else if (a == QLatin1String("--by") && hasValue) {
            by = arguments[++i];
        } else if (a.startsWith(QLatin1String("--")) || !file.isEmpty()) {
            return usage(QStringLiteral("Argomento non previsto: %1").arg(a));
        } else {
            file = a;
        }
    }
    if (from.isValid() != to.isValid())
        return usage(QStringLiteral("--from e --to vanno dati insieme."));
    if (from.isValid() && to < from)
        return usage(QStringLiteral("La data --from è successiva a --to."));

    // --- size runs ---
    const bool sizeRun = report == QLatin1String("broken-sizes") ||
                         report == QLatin1String("reorder") ||
                         report == QLatin1String("size-curve");
    if (!sizeRun && (selected || weeks || cover))
        return usage(QStringLiteral("--supplier, --brand, --category, --weeks e "
                                    "--cover valgono per broken-sizes, reorder e size-curve."));
    if (sizeRun && (weeks || cover) && report != QLatin1String("reorder"))
        return usage(QStringLiteral("--weeks e --cover valgono solo per reorder."));
    // --- end size runs ---

    if (report == QLatin1String("fatturapa")) {
        if (!from.isValid() || year || sizeType)
            return usage(QStringLiteral("Le fatture elettroniche prendono --from e --to."));
        return exportInvoices(from, to, file);
    }

    if ((!sizeRun && season.has_value() != (report == QLatin1String("sell-through"))) ||
        (!by.isEmpty() && report != QLatin1String("sell-through")))
        return usage(QStringLiteral("--by vale solo per sell-through, che vuole --season."));

    QStringList lines;
    if (report == QLatin1String("sell-through")) {
        // ---- sell-through of a season ----
        if (from.isValid() || sizeType)
            return usage(QStringLiteral("Il venduto per stagione prende --season, --year e --by."));
        SellThrough::Request request;
        request.season = SeasonAssignment::listedName(m_shop->database(), *season);
        if (request.season.isEmpty())
            return fail(QStringLiteral("La stagione \"%1\" non è nell'elenco delle stagioni: "
                                       "nessun prospetto scritto.")
                            .arg(*season));
        request.year = year.value_or(0);
        if (by.isEmpty() || by == QLatin1String("brand"))
            request.grouping = SellThrough::Grouping::Brand;
        else if (by == QLatin1String("category"))
            request.grouping = SellThrough::Grouping::Category;
        else if (by == QLatin1String("supplier"))
            request.grouping = SellThrough::Grouping::Supplier;
        else
            return usage(QStringLiteral("--by vuole brand, category o supplier: %1").arg(by));
        lines = SellThrough::exportLines(m_clock.today(), request,
                                         SellThrough::compute(m_shop->database(), request));
        // ---- end of sell-through ----
    } else if (report == QLatin1String("inventory")) {
        if (from.isValid() || sizeType)
            return usage(QStringLiteral("L'inventario prende solo --year."));
        lines = Inventory::exportFor(*m_shop, year.value_or(m_clock.today().year()));
    } else if (report == QLatin1String("load-unload")) {
        if (sizeType || (year && from.isValid()))
            return usage(QStringLiteral("Il riepilogo prende --year oppure --from e --to."));
        MovementPeriod period;
        if (from.isValid()) {
            period.kind = MovementPeriod::Kind::Range;
            period.from = from;
            period.to = to;
        } else if (year) {
            period.kind = MovementPeriod::Kind::Range;
            period.from = QDate(*year, 1, 1);
            period.to = QDate(*year, 12, 31);
        }
        lines = Movements::exportFor(*m_shop, period);
    } else if (report == QLatin1String("stock")) {
        if (!sizeType || year || from.isValid())
            return usage(QStringLiteral("Le giacenze prendono solo --size-type N."));
        if (!sizeTypeExists(*sizeType))
            return fail(QStringLiteral("Il tipo taglia %1 non esiste: nessun prospetto scritto.")
                            .arg(*sizeType));
        lines = StockLevels::exportFor(*m_shop, *sizeType);
    } else if (sizeRun) {
        // --- size runs: --year is the articles' ANNO here ---
        selection.year = year.value_or(0);
        const QDate today = m_clock.today();
        if (report == QLatin1String("broken-sizes")) {
            if (sizeType || from.isValid())
                return usage(
                    QStringLiteral("Le taglie rotte non prendono periodo né tipo taglia."));
            lines = BrokenSizes::exportLines(BrokenSizes::compute(m_shop->database(), selection),
                                             today);
        } else if (report == QLatin1String("reorder")) {
            if (sizeType || from.isValid())
                return usage(
                    QStringLiteral("Il riordino prende --weeks e --cover, non un periodo."));
            ReorderSettings settings = ReorderSettings::read(m_shop->ini());
            settings.salesWeeks = weeks.value_or(settings.salesWeeks);
            settings.coverWeeks = cover.value_or(settings.coverWeeks);
            if (!settings.isValid())
                return usage(QStringLiteral("Settimane non valide: --weeks da 1 a 520, --cover "
                                            "da 0 a 520."));
            lines = ReorderSuggestions::exportLines(
                ReorderSuggestions::compute(m_shop->database(), selection, settings, today), today,
                settings);
        } else {
            if (!sizeType)
                return usage(QStringLiteral("La curva taglie vuole --size-type N."));
            if (!sizeTypeExists(*sizeType))
                return fail(
                    QStringLiteral("Il tipo taglia %1 non esiste: nessun prospetto scritto.")
                        .arg(*sizeType));
            selection.sizeType = *sizeType;
            if (!from.isValid()) {
                to = today;
                from = today.addYears(-1).addDays(1);
            }
            lines = SizeCurve::compute(m_shop->database(), selection, from, to)
                        .exportLines(today, from, to);
        }
        // --- end size runs ---
    } else {
        return usage(QStringLiteral("Prospetto sconosciuto: %1").arg(report));
    }

    if (file.isEmpty()) {
        // The proposed place, as the windows propose it: made when missing.
        QDir().mkpath(m_shop->folder().archivePath());
        file = QDir(m_shop->folder().archivePath())
                   .filePath(SpreadsheetFile::proposedName(m_clock.today()));
    }
    file = QFileInfo(file).absoluteFilePath();
    switch (SpreadsheetFile::write(file, lines)) {
    case SpreadsheetFile::Outcome::Written:
        m_out << QDir::toNativeSeparators(file) << Qt::endl;
        return Success;
    case SpreadsheetFile::Outcome::CannotCreate:
        return fail(
            QStringLiteral("ERRORE creazione file\r%1").arg(QDir::toNativeSeparators(file)));
    case SpreadsheetFile::Outcome::WriteFailed:
        break;
    }
    return fail(QStringLiteral("ERRORE scrittura file\r%1").arg(QDir::toNativeSeparators(file)));
}

int AdminTool::exportInvoices(QDate from, QDate to, const QString &folder) {
    const QString target = folder.isEmpty() ? EInvoiceExport::defaultFolder(m_shop->folder())
                                            : QFileInfo(folder).absoluteFilePath();
    EInvoiceExport writer(m_shop->database(), target);
    const QList<EInvoiceExport::Outcome> outcomes = writer.writePeriod(from, to);
    int failed = 0;
    for (const EInvoiceExport::Outcome &o : outcomes) {
        if (o.written) {
            m_out << QDir::toNativeSeparators(o.path) << Qt::endl;
            continue;
        }
        ++failed;
        m_err << Prompter::displayText(QStringLiteral("Fattura %1: ").arg(o.number) +
                                       o.problems.join(QStringLiteral("; ")))
              << Qt::endl;
    }
    if (failed > 0)
        return fail(
            QStringLiteral("%1 fatture su %2 non scritte.").arg(failed).arg(outcomes.size()));
    say(QStringLiteral("Fatture elettroniche scritte: %1").arg(outcomes.size()));
    return Success;
}

} // namespace corvale

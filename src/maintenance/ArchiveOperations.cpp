#include "maintenance/ArchiveOperations.h"

#include "db/Database.h"
#include "db/Error.h"
#include "maintenance/ArchiveContents.h"
#include "maintenance/DataFolderBackup.h"
#include "maintenance/DataFolderRestore.h"
#include "maintenance/TableRepair.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>

namespace corvale {

namespace {

// The hourglass for as long as an operation runs, whatever its outcome.
class Hourglass {
public:
    Hourglass() {
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            m_shown = true;
        }
        QCoreApplication::processEvents();
    }
    ~Hourglass() {
        if (m_shown)
            QGuiApplication::restoreOverrideCursor();
    }

private:
    bool m_shown = false;
};

} // namespace

ArchiveOperations::ArchiveOperations(Shop &shop)
    : m_shop(shop)
    , m_endProgram([](int code) { std::_Exit(code); }) {}

const QString &ArchiveOperations::restoreQuestion() {
    static const QString text =
        QStringLiteral("ATTENZIONE!\r\rTutti gli Archivi verranno sostituiti\rcon quelli inclusi "
                       "nel file scelto!\r\rVuoi procedere ?");
    return text;
}

void ArchiveOperations::showGauge(int value) {
    if (m_gauge)
        m_gauge(value < 0 ? -1 : std::min(value, 100));
}

void ArchiveOperations::Salva() {
    const std::optional<QString> chosen = m_shop.prompter().saveFile(
        QStringLiteral("Salva"), ArchiveContents::filter(), m_shop.folder().archivePath(),
        ArchiveContents::proposedName(m_shop.clock().today()));
    if (!chosen)
        return;
    salva(ArchiveContents::normalisedName(*chosen), true);
}

bool ArchiveOperations::salva(const QString &archive, bool interactive) {
    std::optional<DataFolderBackup::Report> report;
    {
        Hourglass hourglass;
        runReportingEngineErrors(m_shop.prompter(), [&] {
            report =
                DataFolderBackup(m_shop).salva(archive, [this](int value) { showGauge(value); });
        });
    }
    showGauge(-1);
    if (!report)
        return false;
    if (!report->complete()) {
        m_shop.prompter().error(DataFolderBackup::incompleteText(*report));
        return false;
    }
    if (interactive)
        m_shop.prompter().information(DataFolderBackup::successText(*report));
    return true;
}

bool ArchiveOperations::exitBackup() {
    return salva(DataFolderBackup(m_shop).todaysArchive(), false);
}

void ArchiveOperations::Carica() {
    Prompter &prompter = m_shop.prompter();
    const std::optional<QString> chosen = prompter.openFile(
        QStringLiteral("Carica"), ArchiveContents::filter(), m_shop.folder().archivePath());
    if (!chosen)
        return;
    if (!prompter.confirm(restoreQuestion()))
        return;
    std::optional<DataFolderRestore::Report> report;
    {
        Hourglass hourglass;
        const bool done = runReportingEngineErrors(
            prompter, [&] { report = DataFolderRestore(m_shop).ripristina(*chosen); });
        if (!done) {
            // Nothing was replaced: the program goes on with the folder it had.
            runReportingEngineErrors(prompter, [&] { m_shop.openDatabase(); });
            return;
        }
    }
    prompter.information(DataFolderRestore::successText(*report));
    m_endProgram(0);
}

void ArchiveOperations::Verifica() {
    Prompter &prompter = m_shop.prompter();
    if (!prompter.confirm(TableRepair::confirmText()))
        return;
    showGauge(0);
    bool done = false;
    TableRepair repair(m_shop, [this](int value) { showGauge(value); });
    {
        Hourglass hourglass;
        try {
            repair.Verifica();
            done = true;
        } catch (const db::Error &) {
        }
    }
    // Whatever the check deleted is named, also when it stopped half-way.
    if (done)
        prompter.information(
            TableRepair::outcomeText(TableRepair::successText(), repair.removed()));
    else
        prompter.error(TableRepair::outcomeText(TableRepair::failureText(), repair.removed()));
    showGauge(-1);
    if (!m_shop.database().isOpen())
        runReportingEngineErrors(prompter, [&] { m_shop.openDatabase(); });
}

} // namespace corvale

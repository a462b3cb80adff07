#include "shell/Shop.h"

#include "db/Database.h"
#include "db/FileSystem.h"
#include "printing/PrintService.h"
#include "shell/CommonRoutines.h"
#include "shell/DataFolderSetup.h"

namespace corvale {

Shop::Shop(ProgramFolder folder, Clock &clock, Prompter &prompter, db::FileSystem &files)
    : m_folder(std::move(folder))
    , m_clock(clock)
    , m_prompter(prompter)
    , m_ini(m_folder.iniPath())
    , m_database(std::make_unique<db::Database>(files))
    , m_routines(std::make_unique<CommonRoutines>(*this))
    , m_printService(std::make_unique<RecordingPrintService>()) {}

Shop::Shop(ProgramFolder folder, Clock &clock, Prompter &prompter)
    : Shop(std::move(folder), clock, prompter, db::FileSystem::local()) {}

void Shop::setPrintService(std::unique_ptr<PrintService> service) {
    m_printService = std::move(service);
}

Shop::~Shop() = default;

void Shop::openDatabase() {
    m_database->close();
    DataFolderSetup::createIfMissing(m_folder.dataPath(), m_layouts);
    m_database->open(m_folder.dataPath());
    // Whatever way the folder came to be (a restored copy, an older release,
    // a copy by hand), the work tables it lacks are made anew, empty.
    DataFolderSetup::createMissingWorkTables(*m_database, m_layouts);
}

} // namespace corvale

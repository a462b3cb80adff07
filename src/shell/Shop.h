#pragma once

#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompter.h"
#include "shell/ShopTexts.h"
#include "shell/TableLayout.h"

#include <memory>

namespace corvale {

namespace db {
class Database;
class FileSystem;
} // namespace db
class CommonRoutines;
class PrintService;

// The preferences that windows read from the configuration window's check
// boxes while the program runs: they follow the boxes even when the window is
// left with "Annulla", and are written to Dati.ini only by "Salva".
struct LivePreferences {
    bool showPhotos = false;       // "Visualizza la foto degli articoli"
    bool autoSave = false;         // "Autosalvataggio Archivio"
    bool markupWithoutVat = false; // "Calcola il ricarico senza Iva"
};

// What every window of the program shares: the program folder, the clock, the
// prompter, "Dati.ini", the active password, the shop texts and the live
// preferences. Windows receive it at construction; tests build one over a
// temporary program folder.
class Shop {
public:
    // `files`: where the engine reads and writes; tests plant faults there.
    Shop(ProgramFolder folder, Clock &clock, Prompter &prompter, db::FileSystem &files);
    Shop(ProgramFolder folder, Clock &clock, Prompter &prompter);
    virtual ~Shop();

    const ProgramFolder &folder() const { return m_folder; }
    Clock &clock() const { return m_clock; }
    Prompter &prompter() const { return m_prompter; }
    IniFile &ini() { return m_ini; }

    // The database `magazzino` on the data folder "dati".
    db::Database &database() { return *m_database; }
    // Every table of a new data folder; set once at start-up.
    void setTableLayouts(TableLayouts layouts) { m_layouts = std::move(layouts); }
    const TableLayouts &tableLayouts() const { return m_layouts; }
    // Closes the database and opens it again on the data folder, which is
    // first created (with every table) when the program folder has none.
    // Throws db::Error in the engine's words.
    void openDatabase();

    // Where printouts go: a preview in the program, a recording in tests
    // (the default, so that nothing pops up where no one can answer).
    PrintService &printService() { return *m_printService; }
    void setPrintService(std::unique_ptr<PrintService> service);

    // Counters, yearly numbers, date keys, shop texts, printed heading.
    CommonRoutines &routines() { return *m_routines; }

    // The password of the protected areas; empty when none is set.
    const QString &activePassword() const { return m_password; }
    void setActivePassword(const QString &password) { m_password = password; }

    ShopTexts &texts() { return m_texts; }
    const ShopTexts &texts() const { return m_texts; }
    LivePreferences &preferences() { return m_preferences; }

private:
    ProgramFolder m_folder;
    Clock &m_clock;
    Prompter &m_prompter;
    IniFile m_ini;
    std::unique_ptr<db::Database> m_database;
    TableLayouts m_layouts;
    std::unique_ptr<CommonRoutines> m_routines;
    std::unique_ptr<PrintService> m_printService;
    QString m_password;
    ShopTexts m_texts;
    LivePreferences m_preferences;
};

} // namespace corvale

#pragma once

#include <QPointer>

#include <memory>

namespace corvale {

class ArchiveOperations;
class ModalHost;
class Shop;
class TFAltri;
class TFArcAcq;
class TFArcArt;
class TFArcFat;
class TFArcOrdini;
class TFArcResi;
class TFArcTag;
class TFArcVen;
class TFArchivio;
class TFCarico;
class TFConfig;
class TFData;
class TFFornitori;
class TFMain;

// The whole program put together: the windows created once in their order
// (the main window first, which opens the data folder, then the data module,
// which finishes its upgrade, then the rest), the main window's entry buttons
// and the archive hub's buttons wired to the windows that open from them.
// Buttons whose window is not part of the program yet say so when pressed.
class Program {
public:
    explicit Program(Shop &shop);
    ~Program();

    // False when the data folder could not be opened (the reason was shown);
    // then only the main window exists.
    bool ready() const { return m_ready; }

    TFMain &mainWindow() { return *m_main; }
    TFConfig &configuration() { return *m_config; }
    TFArchivio &archive() { return *m_archive; }
    TFArcArt &articles() { return *m_articles; }
    TFArcTag &sizeTypes() { return *m_sizeTypes; }
    TFArcAcq &purchases() { return *m_purchases; }
    TFArcResi &returns() { return *m_returns; }
    TFArcOrdini &orders() { return *m_orders; }
    TFArcVen &sales() { return *m_sales; }
    TFArcFat &invoices() { return *m_invoices; }
    // The receipt opened last from the article archive, while it exists.
    TFCarico *articleReceipt() const;
    TFFornitori &suppliers() { return *m_suppliers; }
    TFAltri &lists() { return *m_lists; }
    // "Salva", "Carica", "Verifica" and the exit backup; tests replace how
    // "Carica" ends the program.
    ArchiveOperations &archiveOperations() { return *m_archiveOperations; }

private:
    void createWindows();
    void wireMainWindow();
    void wireArchive();
    void wireArticles();
    void wireSizeRuns();

    Shop &m_shop;
    std::unique_ptr<TFMain> m_main;
    std::unique_ptr<TFData> m_data;
    bool m_ready = false;
    TFConfig *m_config = nullptr;
    TFArchivio *m_archive = nullptr;
    TFArcArt *m_articles = nullptr;
    TFArcTag *m_sizeTypes = nullptr;
    TFArcAcq *m_purchases = nullptr;
    TFArcResi *m_returns = nullptr;
    TFArcOrdini *m_orders = nullptr;
    TFArcVen *m_sales = nullptr;
    TFArcFat *m_invoices = nullptr;
    TFFornitori *m_suppliers = nullptr;
    ModalHost *m_supplierHost = nullptr;
    TFAltri *m_lists = nullptr;
    std::unique_ptr<ArchiveOperations> m_archiveOperations;
};

} // namespace corvale

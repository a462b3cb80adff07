#include "program/Program.h"

#include "cashbook/TFPrimaNota.h"
#include "catalogue/TFAltri.h"
#include "catalogue/ArticleBrowser.h"
#include "catalogue/TFArcArt.h"
#include "catalogue/TFArcTag.h"
#include "catalogue/TFSaldi.h"
#include "catalogue/TFScheda.h"
#include "db/Database.h"
#include "documents/DocumentWindow.h"
#include "labels/TFLabels.h"
#include "maintenance/ArchiveOperations.h"
#include "maintenance/TFArchivio.h"
#include "platform/EngineError.h"
#include "platform/NotYetAvailable.h"
#include "program/ModalHost.h"
#include "purchasing/SupplierCardLink.h"
#include "purchasing/TFArcAcq.h"
#include "purchasing/TFArcOrdini.h"
#include "purchasing/TFArcResi.h"
#include "purchasing/TFCarico.h"
#include "purchasing/TFFornitori.h"
#include "sales/TFArcFat.h"
#include "sales/TFArcVen.h"
#include "sales/TFChiusura.h"
#include "sales/TFClienti.h"
#include "shell/CentralPanel.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"
#include "shell/TFConfig.h"
#include "shell/TFData.h"
#include "shell/TFMain.h"
#include "statistics/TFCurvaTaglie.h"
#include "statistics/TFGrafico.h"
#include "statistics/TFIstogramma.h"
#include "stock/TFGiacenze.h"
#include "stock/TFRiordino.h"
#include "stock/TFStorico.h"
#include "stock/TFTaglieRotte.h"
#include "stock/TFVendite.h"
#include "stock/TFVenduto.h"
#include "stock/TFinventario.h"

namespace corvale {

Program::Program(Shop &shop)
    : m_shop(shop)
    , m_main(std::make_unique<TFMain>(shop)) {
    if (!shop.database().isOpen())
        return;
    m_data = std::make_unique<TFData>(shop);
    createWindows();
    wireMainWindow();
    wireArchive();
    wireArticles();
    m_ready = true;
}

Program::~Program() = default;

TFCarico *Program::articleReceipt() const {
    return m_purchases->receiptWindow();
}

void Program::createWindows() {
    QWidget *panel = m_main->centralPanel();
    // Work windows live in the central panel and stay hidden until opened.
    auto hidden = [](QWidget *w) {
        w->hide();
        return w;
    };
    m_archive = static_cast<TFArchivio *>(hidden(new TFArchivio(m_shop, panel)));
    m_articles = static_cast<TFArcArt *>(hidden(new TFArcArt(m_shop, panel)));
    m_sizeTypes = static_cast<TFArcTag *>(hidden(new TFArcTag(m_shop, panel)));
    m_purchases = static_cast<TFArcAcq *>(hidden(new TFArcAcq(m_shop, panel)));
    m_returns = static_cast<TFArcResi *>(hidden(new TFArcResi(m_shop, panel)));
    m_orders = static_cast<TFArcOrdini *>(hidden(new TFArcOrdini(m_shop, panel)));
    m_sales = static_cast<TFArcVen *>(hidden(new TFArcVen(m_shop, panel)));
    m_invoices = static_cast<TFArcFat *>(hidden(new TFArcFat(m_shop, panel)));
    m_suppliers = new TFFornitori(m_shop);
    m_supplierHost = new ModalHost(m_suppliers, m_main.get());
    m_lists = new TFAltri(m_shop, m_main.get());
    m_config = new TFConfig(m_shop, m_main.get());
}

void Program::wireMainWindow() {
    TFMain &main = *m_main;
    main.setEntryAction(TFMain::Entry::Config, [this] { m_config->exec(); });
    main.setEntryAction(TFMain::Entry::Archive, [this] {
        const QSize area = m_main->centralPanel()->size();
        m_archive->LayoutButtons(area.width(), area.height());
        m_main->showInPanel(m_archive);
    });
    // "PRIMA NOTA", past the main window's password gate, in the work area.
    auto *primaNota = new TFPrimaNota(m_shop, m_main->centralPanel());
    primaNota->hide();
    main.setEntryAction(TFMain::Entry::CashBook,
                        [this, primaNota] { m_main->showInPanel(primaNota); });
    // "Registratore": the telematic register's daily closure, past the same gate.
    auto *closure = new TFChiusura(m_shop, m_main.get());
    main.setEntryAction(TFMain::Entry::Register, [closure] { closure->exec(); });
    // "VENDITA" and "FATTURA": a new document each time; their archives own the
    // one window of each kind, whoever opens it.
    main.setEntryAction(TFMain::Entry::Sale, [this] { m_sales->openSale(0); });
    main.setEntryAction(TFMain::Entry::Invoice, [this] { m_invoices->openInvoice(0); });
    // "Uscita" with "Autosalvataggio Archivio": the day's archive, no question.
    main.setAutoArchive([this] { return m_archiveOperations->exitBackup(); });
    main.setShopTextsLoader([this] {
        runReportingEngineErrors(m_shop.prompter(), [&] { m_shop.routines().LoadShopTexts(); });
    });
}

void Program::wireArchive() {
    using Archive = TFArchivio::Archive;
    m_archiveOperations = std::make_unique<ArchiveOperations>(m_shop);
    m_archiveOperations->setGauge([this](int value) { m_archive->setGauge(value); });
    m_archive->setToolAction(TFArchivio::Tool::Save, [this] { m_archiveOperations->Salva(); });
    m_archive->setToolAction(TFArchivio::Tool::Restore, [this] { m_archiveOperations->Carica(); });
    m_archive->setToolAction(TFArchivio::Tool::Check, [this] { m_archiveOperations->Verifica(); });
    m_archive->setArchiveAction(Archive::Articles, [this] {
        m_articles->setMode(TFArcArt::Mode::Normal);
        m_main->showInPanel(m_articles);
    });
    m_archive->setArchiveAction(Archive::Purchases, [this] { m_main->showInPanel(m_purchases); });
    m_archive->setArchiveAction(Archive::Returns, [this] { m_main->showInPanel(m_returns); });
    m_archive->setArchiveAction(Archive::Orders, [this] { m_main->showInPanel(m_orders); });
    m_archive->setArchiveAction(Archive::Sales, [this] { m_main->showInPanel(m_sales); });
    // The sales archive's "Grafico": the takings of the counter sales, modal.
    auto *takings = new TFIstogramma(m_shop, m_main.get());
    takings->setSubtitle(QStringLiteral("VENDITE AL BANCO"));
    m_sales->setChartWindow([takings] { takings->exec(); });
    m_archive->setArchiveAction(Archive::Invoices, [this] { m_main->showInPanel(m_invoices); });
    m_archive->setArchiveAction(Archive::SizeTypes, [this] { m_main->showInPanel(m_sizeTypes); });
    m_archive->setArchiveAction(Archive::Suppliers, [this] {
        CentralPanel *panel = m_main->centralPanel();
        m_supplierHost->run(QRect(panel->mapToGlobal(QPoint(0, 0)), panel->size()));
    });
    // The customers too are modal over the work area, until their "Uscita".
    auto *customers = new TFClienti(m_shop);
    auto *customerHost = new ModalHost(customers, m_main.get());
    m_archive->setArchiveAction(Archive::Customers, [this, customerHost] {
        CentralPanel *panel = m_main->centralPanel();
        customerHost->run(QRect(panel->mapToGlobal(QPoint(0, 0)), panel->size()));
    });
    m_archive->setToolAction(TFArchivio::Tool::Lists, [this] { m_lists->exec(); });
}

void Program::wireArticles() {
    m_articles->card().setSupplierCard(supplierCardFor(m_suppliers->card()));
    // "Carico": a new receipt each time, over the archive, which it tells when it closes.
    // The purchase archive owns the one receipt window, whoever opens it.
    m_articles->setReceiptWindow(
        [this](OpenerWindow *opener) { m_purchases->openReceipt(0, opener); });
    // The counter sale's "Articoli" picks in the same article archive.
    m_sales->setArticleArchive(m_articles, m_main->centralPanel());
    // One label window, modal over whichever window filled the label list.
    auto *labels = new TFLabels(m_shop, m_main.get());
    m_articles->setLabelWindow([labels] { labels->exec(); });
    m_purchases->setLabelWindow([labels] { labels->exec(); });
    // "Saldi e promozioni": the campaigns, whose labels carry the campaign's prices.
    auto *campaigns = new TFSaldi(m_shop, m_main.get());
    campaigns->setLabelWindow([labels](QDate first) {
        labels->setPriceDay(first);
        labels->exec();
        labels->setPriceDay({});
    });
    auto *sellThrough = new TFVenduto(m_shop, campaigns);
    campaigns->setReportWindow([sellThrough] { sellThrough->exec(); });
    campaigns->setArchiveFilter([this] { return m_articles->browser().filter(); });
    m_archive->setToolAction(TFArchivio::Tool::Campaigns, [campaigns] { campaigns->exec(); });

    // The stock reports: created once, children of the central panel, which owns them.
    QWidget *panel = m_main->centralPanel();
    auto *inventory = new TFinventario(m_shop, panel);
    inventory->hide();
    m_articles->setInventoryWindow([this, inventory](OpenerWindow *opener) {
        inventory->setOpener(opener);
        m_main->showInPanel(inventory);
    });
    auto *movements = new TFVendite(m_shop, panel);
    movements->hide();
    m_articles->setMovementsWindow([this, movements](OpenerWindow *opener) {
        movements->setOpener(opener);
        m_main->showInPanel(movements);
    });
    // "Grafico": the modal chart of an article's sales, picked in the chart itself.
    auto *chart = new TFGrafico(m_shop, m_main.get());
    m_articles->setChartWindow([chart] { chart->exec(); });
    auto *history = new TFStorico(m_shop, m_main.get());
    m_articles->setHistoryWindow([history](const TFArcArt::ArticleRef &article) {
        history->setArticle(article.key, article.code, article.description);
        history->exec();
    });
    auto *levels = new TFGiacenze(m_shop, panel);
    levels->hide();
    m_sizeTypes->setStockLevelsWindow([this, levels](const TFArcTag::StockLevels &request) {
        levels->setSizeType(request.sizeType, request.heading, request.sizeTitles);
        m_main->showInPanel(levels);
    });
    wireSizeRuns();
}

// --- size runs: the reports opened by the article archive's buttons ---
void Program::wireSizeRuns() {
    QWidget *panel = m_main->centralPanel();
    // A double click on a report's row: the article's card, then the report again.
    auto card = [this](SizeRunWindow *report) {
        report->setArticleCard([this, report](qint64 article) {
            TFScheda &c = m_articles->card();
            c.NewArticle = false;
            c.ArticleKey = article;
            c.exec();
            report->refresh();
        });
    };
    auto *broken = new TFTaglieRotte(m_shop, panel);
    broken->hide();
    card(broken);
    auto *reorder = new TFRiordino(m_shop, panel);
    reorder->hide();
    card(reorder);
    // The first order made from the suggestions opens over the orders archive.
    reorder->setOrderWindow([this](qint64 order) {
        m_main->showInPanel(m_orders);
        m_orders->openOrder(order);
    });
    auto *curve = new TFCurvaTaglie(m_shop, panel);
    curve->hide();
    m_articles->setSizeRunWindows({
        {QStringLiteral("Taglie rotte"), [this, broken] { m_main->showInPanel(broken); }},
        {QStringLiteral("Riordino"), [this, reorder] { m_main->showInPanel(reorder); }},
        {QStringLiteral("Curva taglie"), [this, curve] { m_main->showInPanel(curve); }},
    });
}
// --- end size runs ---

} // namespace corvale

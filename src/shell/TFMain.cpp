#include "shell/TFMain.h"

#include "db/Database.h"
#include "db/Error.h"
#include "platform/EngineError.h"
#include "shell/CentralPanel.h"
#include "shell/DataFolderSetup.h"
#include "shell/SchemaUpgrade.h"
#include "shell/Shop.h"
#include "shell/StatusLine.h"
#include "shell/TFAboutr.h"
#include "widgets/TitleBand.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace corvale {

namespace {

// Top of "ARCHIVIO" and "FATTURA" in the window's design: 172 from the top
// of the client area, under the 28-pixel title band and the 51-pixel bar.
constexpr int kTitleBandHeight = 28;
constexpr int kButtonBarHeight = 51;
constexpr int kEntryTop = 172 - kTitleBandHeight - kButtonBarHeight;

const QString kNotAvailable = QStringLiteral("Funzione non disponibile in questa versione");

QPushButton *makeEntry(const QString &name, const QString &caption, const QColor &color,
                       QWidget *parent) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(16);
    b->setFont(f);
    QPalette pal = b->palette();
    pal.setColor(QPalette::ButtonText, color);
    b->setPalette(pal);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

} // namespace

TFMain::TFMain(Shop &shop, QWidget *parent)
    : QMainWindow(parent)
    , m_shop(shop) {
    setObjectName(QStringLiteral("TFMain"));
    setWindowTitle(QStringLiteral("CORVALE - Abbigliamento & Calzature"));
    buildUi();
    m_about = new TFAboutr(shop, this);
    resize(800, 600);
    applyLayoutRule();
    openDataFolder();
}

void TFMain::openDataFolder() {
    if (!runReportingEngineErrors(m_shop.prompter(), [&] { m_shop.openDatabase(); })) {
        return;
    }
    // Tables added whole by a later release come first: an older folder lacks them.
    SchemaUpgrade added(m_shop.database());
    if (!added.runAddedTables(m_shop.tableLayouts(), m_shop.clock().today()))
        m_shop.prompter().error(added.errorText());
    // Said once here; the program still starts, so that a copy can be restored.
    const QStringList missing =
        DataFolderSetup::missingRecordTables(m_shop.database(), m_shop.tableLayouts());
    if (!missing.isEmpty())
        m_shop.prompter().error(
            DataFolderSetup::missingTablesText(m_shop.folder().dataPath(), missing));
    SchemaUpgrade upgrade(m_shop.database());
    m_databaseReady = upgrade.runFirstList();
    if (!m_databaseReady)
        m_shop.prompter().error(upgrade.errorText());
}

TFMain::~TFMain() = default;

void TFMain::buildUi() {
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *band = new TitleBand(QStringLiteral("CORVALE QUIRA"), central);
    band->setFixedHeight(kTitleBandHeight);
    band->setPicture(m_shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    m_buttonBar = new QWidget(central);
    m_buttonBar->setObjectName(QStringLiteral("ButtonBar"));
    m_buttonBar->setFixedHeight(kButtonBarHeight);
    m_subtitle = new QLabel(QStringLiteral(" GESTIONE NEGOZIO ABBIGLIAMENTO "), m_buttonBar);
    m_subtitle->setObjectName(QStringLiteral("subtitle"));
    QFont sub(QStringLiteral("Arial"));
    sub.setBold(true);
    sub.setItalic(true);
    sub.setPixelSize(21);
    m_subtitle->setFont(sub);
    m_subtitle->adjustSize();
    m_info = new QPushButton(QStringLiteral("Info"), m_buttonBar);
    m_info->setObjectName(QStringLiteral("RxSpeedButton1"));
    m_exit = new QPushButton(QStringLiteral("Uscita"), m_buttonBar);
    m_exit->setObjectName(QStringLiteral("RxSpeedButton2"));
    for (QPushButton *b : {m_info, m_exit})
        b->setFixedSize(80, 40);
    m_register = new QPushButton(QStringLiteral("Registratore"), m_buttonBar);
    m_register->setObjectName(QStringLiteral("RxSpeedButton3"));
    m_register->setFixedSize(100, 40);
    layout->addWidget(m_buttonBar);

    m_panel = new CentralPanel(central);
    m_panel->setBackground(QImage(m_shop.folder().file(QStringLiteral("bkgd.BMP"))));
    layout->addWidget(m_panel, 1);
    setCentralWidget(central);

    m_pa = makeEntry(QStringLiteral("pa"), QStringLiteral("ARCHIVIO"), Qt::blue, m_panel);
    m_pv = makeEntry(QStringLiteral("pv"), QStringLiteral("VENDITA"), QColor(0, 0, 128), m_panel);
    m_ps = makeEntry(QStringLiteral("ps"), QStringLiteral("FATTURA"), QColor(0, 0, 128), m_panel);
    m_pp = makeEntry(QStringLiteral("pp"), QStringLiteral("PRIMA NOTA"), Qt::red, m_panel);
    m_pconf = new QPushButton(QStringLiteral("CONFIGURAZIONE"), m_panel);
    m_pconf->setObjectName(QStringLiteral("pconf"));
    QFont conf(QStringLiteral("MS Sans Serif"));
    conf.setBold(true);
    m_pconf->setFont(conf);
    QPalette pal = m_pconf->palette();
    pal.setColor(QPalette::ButtonText, QColor(0, 0, 128));
    m_pconf->setPalette(pal);
    m_pconf->setFixedSize(173, 48);

    for (Entry e : {Entry::Config, Entry::Archive, Entry::Sale, Entry::Invoice, Entry::CashBook,
                    Entry::Register}) {
        QPushButton *b = entryButton(e);
        b->setEnabled(false);
        b->setToolTip(kNotAvailable);
        connect(b, &QPushButton::clicked, this, [this, e] { onEntryClicked(e); });
    }
    connect(m_info, &QPushButton::clicked, this, [this] {
        m_about->refresh();
        m_about->exec();
    });
    connect(m_exit, &QPushButton::clicked, this, &TFMain::exitClicked);
    connect(m_panel, &CentralPanel::resized, this, &TFMain::applyLayoutRule);

    m_status = new StatusLine(this);
    const int widths[5] = {130, 100, 90, 500, 50};
    for (int i = 0; i < 5; ++i)
        m_status->addPanel(widths[i], i < 3 ? Qt::AlignHCenter : Qt::AlignLeft, i == 3);
    statusBar()->addWidget(m_status, 1);
    m_status->setText(1, QStringLiteral("CORVALE QUIRA"));
    m_status->setText(2, QStringLiteral("VER. ") + QStringLiteral(CORVALE_VERSION_TEXT));
    m_status->setText(4, QStringLiteral("FIDELITY"));
}

QPushButton *TFMain::entryButton(Entry entry) const {
    switch (entry) {
    case Entry::Config:
        return m_pconf;
    case Entry::Archive:
        return m_pa;
    case Entry::Sale:
        return m_pv;
    case Entry::Invoice:
        return m_ps;
    case Entry::CashBook:
        return m_pp;
    case Entry::Register:
        return m_register;
    }
    return nullptr;
}

void TFMain::setEntryAction(Entry entry, std::function<void()> action) {
    QPushButton *b = entryButton(entry);
    b->setEnabled(bool(action));
    b->setToolTip(action ? QString() : kNotAvailable);
    m_actions[int(entry)] = std::move(action);
}

void TFMain::setAutoArchive(std::function<bool()> save) {
    m_autoArchive = std::move(save);
}

void TFMain::setShopTextsLoader(std::function<void()> loader) {
    m_loadTexts = std::move(loader);
}

void TFMain::showInPanel(QWidget *window) {
    m_panel->showWindow(window);
}

bool TFMain::passwordGate() {
    const QString &active = m_shop.activePassword();
    if (active.isEmpty())
        return true;
    const auto typed = m_shop.prompter().password(QStringLiteral("Password"),
                                                  QStringLiteral("Inserire la password"));
    return typed && *typed == active;
}

void TFMain::onEntryClicked(Entry entry) {
    const auto &action = m_actions[int(entry)];
    if (!action)
        return;
    if ((entry == Entry::Archive || entry == Entry::CashBook || entry == Entry::Register) &&
        !passwordGate())
        return;
    action();
    if (entry == Entry::Config)
        configurationClosed();
}

void TFMain::configurationClosed() {
    if (m_loadTexts)
        m_loadTexts();
    refreshStatusBar();
}

void TFMain::refreshStatusBar() {
    const ShopTexts &t = m_shop.texts();
    m_status->setText(3,
                      t.nameLine1 + u' ' + t.nameLine2 + QStringLiteral(" - P.IVA ") + t.vatNumber);
}

void TFMain::receiveNotification(int) {
    // The sale and invoice windows report when they hide; nothing here to refresh.
}

void TFMain::exitClicked() {
    if (m_shop.preferences().autoSave && m_autoArchive && !m_autoArchive())
        return;
    close();
}

void TFMain::closeEvent(QCloseEvent *event) {
    if (m_shop.prompter().confirm(QStringLiteral("CHIUDERE IL PROGRAMMA ?")))
        event->accept();
    else
        event->ignore();
}

bool TFMain::event(QEvent *event) {
    // The first showing counts as the first activation too: without a window
    // manager (a kiosk session, a remote display) the window may never be
    // activated, and the status bar would stay without the shop's name.
    if ((event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) &&
        m_firstActivation) {
        m_firstActivation = false;
        QTimer::singleShot(0, this, &TFMain::firstActivation);
    }
    return QMainWindow::event(event);
}

void TFMain::firstActivation() {
    if (m_loadTexts)
        m_loadTexts();
    refreshStatusBar();
    // Makes the default printer known before the first printout; whatever
    // goes wrong here is of no concern yet.
    (void)QPrinterInfo::defaultPrinterName();
}

void TFMain::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    applyLayoutRule();
}

void TFMain::applyLayoutRule() {
    if (m_inLayout)
        return;
    m_inLayout = true;
    QSize outer = frameGeometry().size();
    const QSize frameExtra = outer - size();
    if (outer.height() < 550 || outer.width() < 700) {
        if (outer.height() < 550)
            outer.setHeight(600);
        if (outer.width() < 700)
            outer.setWidth(800);
        if (isMaximized() || isFullScreen())
            showNormal();
        resize(outer - frameExtra);
        outer = frameGeometry().size();
    }
    const int W = outer.width();
    const int H = outer.height();
    const int B = W / 4 + (W / 4) / 5;
    const int M = W / 2;
    const int h = H / 7;
    m_pa->setGeometry(M - B - 20, kEntryTop, B, h);
    m_pv->setGeometry(M - B - 20, kEntryTop + h + 30, B, h);
    m_ps->setGeometry(M + 30, kEntryTop, B, h);
    m_pp->setGeometry(M + 30, kEntryTop + h + 30, B, h);
    m_subtitle->move(M - m_subtitle->width() / 2, (kButtonBarHeight - m_subtitle->height()) / 2);
    m_exit->move(m_buttonBar->width() - m_exit->width() - 10, 5);
    m_info->move(m_exit->x() - m_info->width() - 6, 5);
    m_register->move(m_info->x() - m_register->width() - 6, 5);
    if (centralWidget() && centralWidget()->layout())
        centralWidget()->layout()->activate();
    m_pconf->move(W - m_pconf->width() - 50, m_panel->height() - 80);
    m_inLayout = false;
}

} // namespace corvale

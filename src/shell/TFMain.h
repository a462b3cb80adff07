#pragma once

#include "widgets/OpenerWindow.h"

#include <QMainWindow>
#include <functional>

class QLabel;
class QPushButton;

namespace corvale {

class CentralPanel;
class Shop;
class StatusLine;
class TFAboutr;

// The main window: a launcher with the entry buttons, the password gate of
// the protected areas, the status bar and the exit question. The windows it
// opens are wired in from outside with setEntryAction(), so that a button
// whose window is not part of this build is disabled instead of dead.
class TFMain : public QMainWindow, public OpenerWindow {
    Q_OBJECT
public:
    enum class Entry { Config, Archive, Sale, Invoice, CashBook, Register };

    explicit TFMain(Shop &shop, QWidget *parent = nullptr);
    ~TFMain() override;

    // What a click on an entry button does (after the password gate for the
    // archive, the cash book and the telematic register's closure). Without an action the button is
    // disabled.
    void setEntryAction(Entry entry, std::function<void()> action);
    // Called by "Uscita" before closing when "Autosalvataggio Archivio" is on;
    // false (the failure said) keeps the program open, so that the day's work
    // is not left without its copy unnoticed.
    void setAutoArchive(std::function<bool()> save);
    // Refreshes the shop texts (LoadShopTexts); called at first activation
    // and after the configuration window closes.
    void setShopTextsLoader(std::function<void()> loader);

    // Shows a work window inside the central panel.
    void showInPanel(QWidget *window);
    CentralPanel *centralPanel() const { return m_panel; }

    // The password gate: true when the area may open.
    bool passwordGate();
    // The configuration window closed: reload the texts, refresh the status bar.
    void configurationClosed();
    void refreshStatusBar();

    void receiveNotification(int code) override;

    // True when the database opened and the first upgrade list ran through.
    bool databaseReady() const { return m_databaseReady; }

    // The layout rule, applied at creation and on every resize.
    void applyLayoutRule();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildUi();
    void openDataFolder();
    void onEntryClicked(Entry entry);
    void exitClicked();
    void firstActivation();
    QPushButton *entryButton(Entry entry) const;

    Shop &m_shop;
    CentralPanel *m_panel = nullptr;
    QWidget *m_buttonBar = nullptr;
    QLabel *m_subtitle = nullptr;
    QPushButton *m_pa = nullptr;
    QPushButton *m_pv = nullptr;
    QPushButton *m_ps = nullptr;
    QPushButton *m_pp = nullptr;
    QPushButton *m_pconf = nullptr;
    QPushButton *m_info = nullptr;
    QPushButton *m_exit = nullptr;
    QPushButton *m_register = nullptr; // "Registratore": daily closure of the RT
    StatusLine *m_status = nullptr;
    TFAboutr *m_about = nullptr;
    std::function<void()> m_actions[6];
    std::function<bool()> m_autoArchive;
    std::function<void()> m_loadTexts;
    bool m_firstActivation = true;
    bool m_inLayout = false;
    bool m_databaseReady = false;
};

} // namespace corvale

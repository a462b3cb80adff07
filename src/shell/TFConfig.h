#pragma once

#include "shell/LocalPreferences.h"

#include <QDialog>
#include <QString>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace corvale {

class CaptionBox;
class FieldBinding;
class NetworkFiscalDevice;
struct FiscalOutcome;
class Shop;

namespace db {
class Table;
}

// "Configurazione": the shop's own data (the CONFIG record), its logo, the
// password of the protected areas and the local preferences of Dati.ini.
// Created once; shown modally by the main window. The three preference boxes
// other windows follow are mirrored into the shop's live preferences as soon
// as they change, whether the window is then saved or not.
class TFConfig : public QDialog {
    Q_OBJECT
public:
    explicit TFConfig(Shop &shop, QWidget *parent = nullptr);
    ~TFConfig() override;

    // The boxes other windows read while the program runs.
    QCheckBox *showPhotosBox() const { return m_showPhotos; }
    QCheckBox *autoSaveBox() const { return m_autoSave; }
    QCheckBox *markupWithoutVatBox() const { return m_markupWithoutVat; }

    static constexpr int passwordLength = 10;
    static inline const QString rtAddressText =
        QStringLiteral("Indicare l'indirizzo del registratore telematico: indirizzo IP o nome, "
                       "con la porta se non è quella usuale (80; RCH: 23) (es. "
                       "192.168.1.50:80).");
    static inline const QString rtDepartmentsText =
        QStringLiteral("La tabella dei reparti non è valida: scrivere aliquota e reparto "
                       "separati da \":\", le coppie separate da \";\" (es. 22:1;10:2;4:3).");

public Q_SLOTS:
    void BSalvaClick();
    void BAnnullaClick();
    void BPasswordClick();
    void BSfogliaClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void buildUi();
    // "Dati fiscali": what the electronic invoice needs of the shop.
    void buildRegistryTab();
    void buildFiscalTab();
    void buildLogoTab();
    void buildSettingsTab();
    CaptionBox *buildRegisterBox(QWidget *settings, const QString &folderBackground);
    void readPreferences();
    LocalPreferences preferencesFromControls() const;
    void makeChanged(int index);
    // Shows the rows of the chosen make and, for the RCH RT, of its way.
    void showRegisterRows();
    // --- Telematic register ---
    // "Prova collegamento": asks the register named by the boxes its state.
    void BProvaCollegamentoClick();
    void connectionTested(const FiscalOutcome &outcome);
    // A message for a telematic register's address or department table the
    // sale could not use; empty when they are good.
    QString registerProblem(const LocalPreferences &p) const;
    void syncLivePreferences();
    void showLogo();
    void closeRecord(bool save);
    bool ensureRecord();

    Shop &m_shop;
    std::unique_ptr<db::Table> m_config;
    FieldBinding *m_binding = nullptr;
    bool m_loading = false;

    QTabWidget *m_tabs = nullptr;
    QLineEdit *m_ragione = nullptr;
    QLabel *m_logo = nullptr;
    QComboBox *m_port = nullptr;
    QComboBox *m_make = nullptr;
    QComboBox *m_model = nullptr;
    QComboBox *m_speed = nullptr;
    QCheckBox *m_calculateChange = nullptr;
    QComboBox *m_rtTransport = nullptr; // the RCH RT: TCP, service.cgi or serial
    QLineEdit *m_rtAddress = nullptr;
    QLineEdit *m_rtDepartments = nullptr;
    QSpinBox *m_rtTimeout = nullptr; // seconds
    QSpinBox *m_rtRetries = nullptr;
    QLineEdit *m_rtUser = nullptr;
    QLineEdit *m_rtPassword = nullptr;
    int m_rtTimeoutMs = 10000; // as read: kept when the seconds are not changed
    QPushButton *m_rtTest = nullptr;
    QWidget *m_registerBox = nullptr;
    NetworkFiscalDevice *m_rtDevice = nullptr;
    QCheckBox *m_permanentSale = nullptr;
    QCheckBox *m_showPhotos = nullptr;
    QCheckBox *m_autoSave = nullptr;
    QCheckBox *m_markupWithoutVat = nullptr;
};

} // namespace corvale

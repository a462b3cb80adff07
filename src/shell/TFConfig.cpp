#include "shell/TFConfig.h"

#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "register/NetworkFiscalDevice.h"
#include "shell/FiscalCodes.h"
#include "shell/Shop.h"
#include "shell/ShopFiscalColumns.h"
#include "widgets/CaptionBox.h"
#include "widgets/FieldBinding.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/TitleBand.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace corvale {

namespace {

const QString kConfig = QStringLiteral("CONFIG.DBF");

QLineEdit *lineEdit(const QString &name, QWidget *parent) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QComboBox *comboBox(const QString &name, const QStringList &items, QWidget *parent) {
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(items);
    return combo;
}

QCheckBox *checkBox(const QString &caption, QWidget *parent) {
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(caption);
    return box;
}

} // namespace

TFConfig::TFConfig(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_config(std::make_unique<db::Table>(shop.database())) {
    setObjectName(QStringLiteral("TFConfig"));
    setWindowTitle(QStringLiteral("Configurazione"));
    setModal(true);
    m_config->setTableName(kConfig);
    m_binding = new FieldBinding(*m_config, this);
    buildUi();
    FocusHighlighter::install(this);

    readPreferences();
    // The active password comes from the record as it is at start.
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_config->open();
        m_config->first();
        m_shop.setActivePassword(m_config->eof() ? QString()
                                                 : m_config->asString(shopFiscal::password));
        m_config->close();
    });
}

TFConfig::~TFConfig() {
    // The bindings read the table: they go before it, not with the controls
    // that lose the focus while the window is torn down.
    delete m_binding;
    m_binding = nullptr;
}

void TFConfig::buildUi() {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *band = new TitleBand(QStringLiteral("CONFIGURAZIONE"), this);
    band->setPicture(m_shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *toolbar = new QToolBar(this);
    auto *password = new QPushButton(QStringLiteral("&Password"), toolbar);
    password->setObjectName(QStringLiteral("BPassword"));
    auto *save = new QPushButton(QStringLiteral("Salva"), toolbar);
    save->setObjectName(QStringLiteral("BSalva"));
    auto *cancel = new QPushButton(QStringLiteral("Annulla"), toolbar);
    cancel->setObjectName(QStringLiteral("BAnnulla"));
    toolbar->addWidget(password);
    toolbar->addWidget(save);
    toolbar->addWidget(cancel);
    layout->addWidget(toolbar);
    connect(password, &QPushButton::clicked, this, &TFConfig::BPasswordClick);
    connect(save, &QPushButton::clicked, this, &TFConfig::BSalvaClick);
    connect(cancel, &QPushButton::clicked, this, &TFConfig::BAnnullaClick);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageControl"));
    layout->addWidget(m_tabs, 1);

    buildRegistryTab();
    buildFiscalTab();
    buildLogoTab();
    buildSettingsTab();
    connect(m_binding, &FieldBinding::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });
    resize(640, 520);
}

// "Anagrafica": the shop's name and address as the documents print them.
void TFConfig::buildRegistryTab() {
    auto *registry = new QWidget(m_tabs);
    auto *form = new QFormLayout(registry);
    form->addRow(new QLabel(
        QStringLiteral("Riempire i campi sottostanti con i dati fiscali dell'esercizio."),
        registry));
    m_ragione = lineEdit(QStringLiteral("RAGIONE"), registry);
    QFont bold = m_ragione->font();
    bold.setBold(true);
    m_ragione->setFont(bold);
    auto *ragion2 = lineEdit(QStringLiteral("RAGION2"), registry);
    auto *names = new QVBoxLayout;
    names->addWidget(m_ragione);
    names->addWidget(ragion2);
    form->addRow(QStringLiteral("Ragione Sociale"), names);
    auto *address = lineEdit(QStringLiteral("ADDRESS"), registry);
    auto *city = lineEdit(QStringLiteral("CITTA"), registry);
    auto *vat = lineEdit(QStringLiteral("PIVA"), registry);
    auto *phone = lineEdit(QStringLiteral("TEL"), registry);
    auto *fax = lineEdit(QStringLiteral("FAX"), registry);
    form->addRow(QStringLiteral("Via/P.zza"), address);
    form->addRow(QStringLiteral("CAP - Città"), city);
    form->addRow(QStringLiteral("Partita IVA"), vat);
    form->addRow(QStringLiteral("Telefono"), phone);
    form->addRow(QStringLiteral("FAX"), fax);
    m_tabs->addTab(registry, QStringLiteral("Anagrafica"));
    m_binding->bind(m_ragione, QStringLiteral("RAGIONE"));
    m_binding->bind(ragion2, QStringLiteral("RAGION2"));
    m_binding->bind(address, QStringLiteral("ADDRESS"));
    m_binding->bind(city, QStringLiteral("CITTA"));
    m_binding->bind(vat, QStringLiteral("PIVA"));
    m_binding->bind(phone, QStringLiteral("TEL"));
    m_binding->bind(fax, QStringLiteral("FAX"));
}

// "    Logo    ": the picture printed on the sale documents.
void TFConfig::buildLogoTab() {
    auto *logoTab = new QWidget(m_tabs);
    auto *logoLayout = new QVBoxLayout(logoTab);
    m_logo = new QLabel(logoTab);
    m_logo->setObjectName(QStringLiteral("LOGO"));
    m_logo->setMinimumSize(320, 160);
    m_logo->setScaledContents(true);
    m_logo->setFrameShape(QFrame::Box);
    logoLayout->addWidget(m_logo, 1);
    auto *useLogo =
        checkBox(QStringLiteral("Usa il logo sulla stampa dei documenti di vendita"), logoTab);
    useLogo->setObjectName(QStringLiteral("ISLOGO"));
    logoLayout->addWidget(useLogo);
    auto *browse = new QPushButton(QStringLiteral("Sfoglia..."), logoTab);
    browse->setObjectName(QStringLiteral("Sfoglia..."));
    connect(browse, &QPushButton::clicked, this, &TFConfig::BSfogliaClick);
    logoLayout->addWidget(browse, 0, Qt::AlignLeft);
    m_tabs->addTab(logoTab, QStringLiteral("    Logo    "));

    m_binding->bind(useLogo, QStringLiteral("ISLOGO"));
}

// "Impostazioni": VAT, loyalty points, printed notes, the cash register and
// this computer's preferences.
void TFConfig::buildSettingsTab() {
    const QString folderBackground = m_shop.folder().file(QStringLiteral("bkgd.BMP"));
    auto *settings = new QWidget(m_tabs);
    auto *grid = new QGridLayout(settings);
    auto *vatBox = new CaptionBox(QStringLiteral("IVA Articoli"), settings);
    vatBox->setBackground(folderBackground);
    auto *vatLayout = new QHBoxLayout(vatBox);
    auto *impobol = lineEdit(QStringLiteral("IMPOBOL"), vatBox);
    vatLayout->addWidget(impobol);
    vatLayout->addWidget(new QLabel(QStringLiteral("%"), vatBox));
    grid->addWidget(vatBox, 0, 0);

    auto *cardBox = new CaptionBox(QStringLiteral("Fidelity Card"), settings);
    cardBox->setBackground(folderBackground);
    auto *cardLayout = new QHBoxLayout(cardBox);
    cardLayout->addWidget(new QLabel(QStringLiteral("1 Euro ="), cardBox));
    auto *euro = lineEdit(QStringLiteral("EURO"), cardBox);
    euro->setMaxLength(6);
    cardLayout->addWidget(euro);
    cardLayout->addWidget(new QLabel(QStringLiteral("Punti"), cardBox));
    cardBox->setVisible(true);
    grid->addWidget(cardBox, 0, 1);

    auto *notesBox = new CaptionBox(QStringLiteral("Annotazioni e variazioni"), settings);
    notesBox->setBackground(folderBackground);
    auto *notes = lineEdit(QStringLiteral("NEWANNOTA"), notesBox);
    notes->setMaxLength(70); // the column holds 100; printouts have room for 70
    (new QHBoxLayout(notesBox))->addWidget(notes);
    grid->addWidget(notesBox, 1, 0, 1, 2);
    auto *privacyBox = new CaptionBox(QStringLiteral("Trattamento Dati Personali TUP"), settings);
    privacyBox->setBackground(folderBackground);
    auto *privacy = lineEdit(QStringLiteral("PRIVACY"), privacyBox);
    (new QHBoxLayout(privacyBox))->addWidget(privacy);
    grid->addWidget(privacyBox, 2, 0, 1, 2);

    grid->addWidget(buildRegisterBox(settings, folderBackground), 3, 0);

    auto *preferences = new CaptionBox(QStringLiteral("Preferenze "), settings);
    preferences->setBackground(folderBackground);
    auto *prefLayout = new QVBoxLayout(preferences);
    m_permanentSale = checkBox(QStringLiteral("Vendita al Banco permanente"), preferences);
    m_showPhotos = checkBox(QStringLiteral("Visualizza la foto degli articoli"), preferences);
    m_autoSave = checkBox(QStringLiteral("Autosalvataggio Archivio"), preferences);
    m_markupWithoutVat = checkBox(QStringLiteral("Calcola il ricarico senza Iva"), preferences);
    for (QCheckBox *b : {m_permanentSale, m_showPhotos, m_autoSave, m_markupWithoutVat})
        prefLayout->addWidget(b);
    grid->addWidget(preferences, 3, 1);
    m_tabs->addTab(settings, QStringLiteral("Impostazioni"));

    connect(m_make, &QComboBox::currentIndexChanged, this, &TFConfig::makeChanged);
    connect(m_rtTransport, &QComboBox::currentIndexChanged, this, &TFConfig::showRegisterRows);
    for (QCheckBox *b : {m_showPhotos, m_autoSave, m_markupWithoutVat})
        connect(b, &QCheckBox::toggled, this, &TFConfig::syncLivePreferences);

    m_binding->bind(impobol, QStringLiteral("IMPOBOL"));
    m_binding->bind(euro, QStringLiteral("EURO"), QStringLiteral(",0"));
    m_binding->bind(notes, QStringLiteral("NEWANNOTA"));
    m_binding->bind(privacy, QStringLiteral("PRIVACY"));
}

// "Registratore di Cassa ": a serial register's port, make, model and speed,
// or a telematic one's connection, address, departments, waits and account.
CaptionBox *TFConfig::buildRegisterBox(QWidget *settings, const QString &folderBackground) {
    auto *registerBox = new CaptionBox(QStringLiteral("Registratore di Cassa "), settings);
    registerBox->setBackground(folderBackground);
    auto *registerForm = new QFormLayout(registerBox);
    m_port = comboBox(QStringLiteral("SERIALE"), LocalPreferences::portNames(), registerBox);
    m_make = comboBox(QStringLiteral("MARCA"), LocalPreferences::makeNames(), registerBox);
    m_model = comboBox(QStringLiteral("MODELLO"), LocalPreferences::modelNames(), registerBox);
    m_speed = comboBox(QStringLiteral("SPEED"), LocalPreferences::speedNames(), registerBox);
    m_calculateChange = checkBox(QStringLiteral("Calcolo del resto"), registerBox);
    registerForm->addRow(QStringLiteral("Porta Seriale"), m_port);
    registerForm->addRow(QStringLiteral("Marca/Modello"), m_make);
    registerForm->addRow(QString(), m_model);
    registerForm->addRow(QStringLiteral("Velocità"), m_speed);
    // --- Telematic register: an address instead of the serial line ---
    m_registerBox = registerBox;
    m_rtTransport =
        comboBox(RegisterSettings::transportKey, LocalPreferences::transportNames(), registerBox);
    m_rtAddress = lineEdit(QStringLiteral("INDIRIZZO"), registerBox);
    m_rtAddress->setPlaceholderText(QStringLiteral("192.168.1.50 oppure nome:porta"));
    m_rtDepartments = lineEdit(QStringLiteral("REPARTI"), registerBox);
    m_rtDepartments->setPlaceholderText(
        RegisterSettings::departmentsText(RegisterSettings::defaultDepartments()));
    m_rtDepartments->setToolTip(
        QStringLiteral("Aliquota IVA e reparto del registratore, separati da \";\": 22:1;10:2"));
    m_rtTimeout = new QSpinBox(registerBox);
    m_rtTimeout->setObjectName(QStringLiteral("RTTIMEOUT"));
    m_rtTimeout->setRange(1, 120);
    m_rtRetries = new QSpinBox(registerBox);
    m_rtRetries->setObjectName(QStringLiteral("RTRETRY"));
    m_rtRetries->setRange(0, 5);
    m_rtRetries->setToolTip(QStringLiteral("Invii ripetuti di uno scontrino che il registratore "
                                           "conferma di non aver emesso"));
    m_rtUser = lineEdit(QStringLiteral("RTUTENTE"), registerBox);
    m_rtPassword = lineEdit(QStringLiteral("RTPASSWORD"), registerBox);
    m_rtPassword->setEchoMode(QLineEdit::Password);
    m_rtTest = new QPushButton(QStringLiteral("Prova collegamento"), registerBox);
    m_rtTest->setObjectName(QStringLiteral("ProvaCollegamento"));
    registerForm->addRow(QStringLiteral("Collegamento"), m_rtTransport);
    registerForm->addRow(QStringLiteral("Indirizzo"), m_rtAddress);
    registerForm->addRow(QStringLiteral("Reparti IVA"), m_rtDepartments);
    registerForm->addRow(QStringLiteral("Attesa risposta (s)"), m_rtTimeout);
    registerForm->addRow(QStringLiteral("Tentativi"), m_rtRetries);
    registerForm->addRow(QStringLiteral("Utente"), m_rtUser);
    registerForm->addRow(QStringLiteral("Password"), m_rtPassword);
    registerForm->addRow(QString(), m_rtTest);
    connect(m_rtTest, &QPushButton::clicked, this, &TFConfig::BProvaCollegamentoClick);
    registerForm->addRow(m_calculateChange);
    return registerBox;
}

void TFConfig::buildFiscalTab() {
    namespace f = shopFiscal;
    auto *fiscal = new QWidget(m_tabs);
    auto *form = new QFormLayout(fiscal);
    form->addRow(
        new QLabel(QStringLiteral("Dati richiesti dalla fattura elettronica (la partita IVA è in "
                                  "\"Anagrafica\")."),
                   fiscal));
    auto *fiscalCode = lineEdit(f::fiscalCode, fiscal);
    auto capitals = [](QLineEdit *e) {
        connect(e, &QLineEdit::textEdited, e, [e](const QString &t) {
            if (t != t.toUpper()) {
                const int at = e->cursorPosition();
                e->setText(t.toUpper());
                e->setCursorPosition(at);
            }
        });
        return e;
    };
    capitals(fiscalCode);
    auto describe = [fiscal](QComboBox *combo, const QList<FiscalCode> &codes) {
        auto *row = new QHBoxLayout;
        auto *label = new QLabel(fiscal);
        row->addWidget(combo);
        row->addWidget(label, 1);
        auto update = [combo, label, codes] {
            label->clear();
            for (const FiscalCode &c : codes) {
                if (c.code == combo->currentText())
                    label->setText(c.description);
            }
        };
        connect(combo, &QComboBox::currentTextChanged, label, update);
        return row;
    };
    QStringList regimes;
    for (const FiscalCode &c : fiscalCodes::regimes())
        regimes << c.code;
    auto *regime = comboBox(f::regime, regimes, fiscal);
    QStringList natures{QString()};
    for (const FiscalCode &c : fiscalCodes::natures())
        natures << c.code;
    auto *nature = comboBox(f::nature, natures, fiscal);
    auto *postcode = lineEdit(f::postcode, fiscal);
    postcode->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,5}")), postcode));
    auto *town = lineEdit(f::town, fiscal);
    auto *province = capitals(lineEdit(f::province, fiscal));
    auto *country = capitals(lineEdit(f::country, fiscal));
    auto *progressive = lineEdit(f::progressive, fiscal);
    auto *transmitterCountry = capitals(lineEdit(f::transmitterCountry, fiscal));
    auto *transmitterCode = capitals(lineEdit(f::transmitterCode, fiscal));
    auto *reference = lineEdit(f::natureReference, fiscal);
    form->addRow(QStringLiteral("Codice fiscale"), fiscalCode);
    form->addRow(QStringLiteral("Regime fiscale"), describe(regime, fiscalCodes::regimes()));
    form->addRow(QStringLiteral("CAP"), postcode);
    form->addRow(QStringLiteral("Comune"), town);
    form->addRow(QStringLiteral("Provincia"), province);
    form->addRow(QStringLiteral("Nazione"), country);
    form->addRow(QStringLiteral("Natura delle righe senza IVA"),
                 describe(nature, fiscalCodes::natures()));
    form->addRow(QStringLiteral("Riferimento normativo"), reference);
    form->addRow(QStringLiteral("Ultimo progressivo d'invio"), progressive);
    form->addRow(new QLabel(QStringLiteral("Trasmittente (vuoto: il negozio stesso; altrimenti "
                                           "l'intermediario che invia le fatture)"),
                            fiscal));
    form->addRow(QStringLiteral("Paese del trasmittente"), transmitterCountry);
    form->addRow(QStringLiteral("Codice del trasmittente"), transmitterCode);
    m_tabs->addTab(fiscal, QStringLiteral("Dati fiscali"));

    m_binding->bind(fiscalCode, f::fiscalCode);
    m_binding->bind(regime, f::regime);
    m_binding->bind(postcode, f::postcode);
    m_binding->bind(town, f::town);
    m_binding->bind(province, f::province);
    m_binding->bind(country, f::country);
    m_binding->bind(nature, f::nature);
    m_binding->bind(reference, f::natureReference);
    m_binding->bind(progressive, f::progressive);
    m_binding->bind(transmitterCountry, f::transmitterCountry);
    m_binding->bind(transmitterCode, f::transmitterCode);
}

void TFConfig::readPreferences() {
    const LocalPreferences p = LocalPreferences::read(m_shop.ini());
    m_loading = true;
    m_port->setCurrentIndex(p.serialPort - 1);
    m_make->setCurrentIndex(p.make - 1);
    m_speed->setCurrentIndex(p.speed);
    m_model->setCurrentIndex(p.model - 1);
    m_calculateChange->setChecked(p.calculateChange);
    m_permanentSale->setChecked(p.permanentCounterSale);
    m_showPhotos->setChecked(p.showPhotos);
    m_autoSave->setChecked(p.autoSave);
    m_markupWithoutVat->setChecked(p.markupWithoutVat);
    m_model->setVisible(p.make == LocalPreferences::rchMake);
    m_rtAddress->setText(p.rtAddress);
    m_rtDepartments->setText(p.rtDepartments);
    m_rtTimeoutMs = p.rtTimeoutMs;
    m_rtTimeout->setValue(qBound(1, (p.rtTimeoutMs + 500) / 1000, 120));
    m_rtRetries->setValue(p.rtRetries);
    m_rtUser->setText(p.rtUser);
    m_rtPassword->setText(p.rtPassword);
    m_rtTransport->setCurrentIndex(int(LocalPreferences::transports().indexOf(p.rtTransport)));
    makeChanged(m_make->currentIndex());
    m_loading = false;
    syncLivePreferences();
}

LocalPreferences TFConfig::preferencesFromControls() const {
    LocalPreferences p;
    p.serialPort = m_port->currentIndex() + 1;
    p.make = m_make->currentIndex() + 1;
    p.model = m_model->currentIndex() + 1;
    p.speed = m_speed->currentIndex();
    p.calculateChange = m_calculateChange->isChecked();
    p.permanentCounterSale = m_permanentSale->isChecked();
    p.showPhotos = m_showPhotos->isChecked();
    p.autoSave = m_autoSave->isChecked();
    p.markupWithoutVat = m_markupWithoutVat->isChecked();
    p.rtAddress = m_rtAddress->text().trimmed();
    p.rtDepartments = m_rtDepartments->text().trimmed();
    // A wait set by hand in milliseconds stays as it is unless changed here.
    p.rtTimeoutMs = m_rtTimeout->value() == qBound(1, (m_rtTimeoutMs + 500) / 1000, 120)
                        ? m_rtTimeoutMs
                        : m_rtTimeout->value() * 1000;
    p.rtRetries = m_rtRetries->value();
    p.rtUser = m_rtUser->text().trimmed();
    p.rtPassword = m_rtPassword->text();
    p.rtTransport = LocalPreferences::transports().value(m_rtTransport->currentIndex(),
                                                         RegisterSettings::Transport::Tcp);
    return p;
}

void TFConfig::syncLivePreferences() {
    LivePreferences &live = m_shop.preferences();
    live.showPhotos = m_showPhotos->isChecked();
    live.autoSave = m_autoSave->isChecked();
    live.markupWithoutVat = m_markupWithoutVat->isChecked();
}

void TFConfig::makeChanged(int index) {
    showRegisterRows();
    if (m_loading)
        return;
    m_speed->setCurrentIndex(index + 1 == LocalPreferences::dataprocessMake ? 3 : 0);
}

void TFConfig::showRegisterRows() {
    const int make = m_make->currentIndex() + 1;
    m_model->setVisible(make == LocalPreferences::rchMake);
    auto *form = qobject_cast<QFormLayout *>(m_registerBox->layout());
    if (!form)
        return;
    const bool rt = LocalPreferences::isTelematicMake(make);
    const bool rch = make == LocalPreferences::rchRtMake;
    const auto transport = LocalPreferences::transports().value(m_rtTransport->currentIndex());
    // The RCH RT may hang on the serial line of the older registers.
    const bool serial = !rt || (rch && transport == RegisterSettings::Transport::Serial);
    // Only the Custom RT is reached over HTTP with a user and password.
    const bool http = make == LocalPreferences::customRtMake;
    form->setRowVisible(m_rtTransport, rch);
    form->setRowVisible(m_port, serial);
    form->setRowVisible(m_speed, serial);
    form->setRowVisible(m_rtAddress, rt && !serial);
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_rtDepartments, m_rtTimeout, m_rtRetries, m_rtTest})
        form->setRowVisible(w, rt);
    form->setRowVisible(m_rtUser, http);
    form->setRowVisible(m_rtPassword, http);
}

bool TFConfig::ensureRecord() {
    return runReportingEngineErrors(m_shop.prompter(), [&] {
        if (m_config->isOpen() && m_config->state() != db::Table::State::Browse)
            return; // already editing the record
        if (!m_config->isOpen())
            m_config->open();
        m_config->first();
        if (m_config->eof())
            m_config->append();
        else if (m_config->state() == db::Table::State::Browse)
            m_config->edit();
    });
}

void TFConfig::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    m_tabs->setCurrentIndex(0);
    if (ensureRecord()) {
        m_binding->load();
        showLogo();
    }
    m_ragione->setFocus();
}

void TFConfig::showLogo() {
    const QImage logo = QImage::fromData(m_config->asBlob(shopFiscal::logo));
    m_logo->setPixmap(logo.isNull() ? QPixmap() : QPixmap::fromImage(logo));
}

void TFConfig::closeRecord(bool save) {
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            if (m_config->isOpen()) {
                if (m_config->state() != db::Table::State::Browse) {
                    if (save)
                        m_config->post();
                    else
                        m_config->cancel();
                }
                m_config->close();
            }
        })) {
        if (m_config->isOpen() && m_config->state() != db::Table::State::Browse)
            m_config->cancel();
        m_config->close();
    }
}

void TFConfig::BSalvaClick() {
    if (const QString problem = registerProblem(preferencesFromControls()); !problem.isEmpty()) {
        m_shop.prompter().error(problem);
        return;
    }
    if (m_config->isOpen() && m_config->state() != db::Table::State::Browse && !m_binding->store())
        return; // the binding said what is wrong; the window stays open
    if (!preferencesFromControls().write(m_shop.ini()))
        m_shop.prompter().error(
            QStringLiteral("Impossibile salvare le impostazioni in Dati.ini: ") +
            m_shop.ini().errorString());
    closeRecord(true);
    QDialog::accept();
}

// --- Telematic register ---
QString TFConfig::registerProblem(const LocalPreferences &p) const {
    if (!p.isTelematic())
        return {};
    RegisterSettings settings;
    settings.address = p.rtAddress;
    const bool serial = p.make == LocalPreferences::rchRtMake &&
                        p.rtTransport == RegisterSettings::Transport::Serial;
    if (!serial && !settings.hostAndPort(80))
        return rtAddressText;
    if (!p.rtDepartments.isEmpty()) {
        const int pairs = int(p.rtDepartments.split(u';', Qt::SkipEmptyParts).size());
        if (RegisterSettings::parseDepartments(p.rtDepartments).size() != pairs)
            return rtDepartmentsText;
    }
    return {};
}

void TFConfig::BProvaCollegamentoClick() {
    const LocalPreferences p = preferencesFromControls();
    if (const QString problem = registerProblem(p); !problem.isEmpty()) {
        m_shop.prompter().error(problem);
        return;
    }
    if (!m_rtDevice) {
        m_rtDevice = new NetworkFiscalDevice(this);
        connect(m_rtDevice, &FiscalDevice::finished, this, &TFConfig::connectionTested);
    }
    if (m_rtDevice->isRunning())
        return;
    RegisterSettings settings = RegisterSettings::read(m_shop.ini());
    settings.brand = p.make;
    settings.address = p.rtAddress;
    settings.networkTimeout = p.rtTimeoutMs;
    settings.networkRetries = p.rtRetries;
    settings.user = p.rtUser;
    settings.password = p.rtPassword;
    settings.rtTransport = p.rtTransport;
    // The port chosen here, unless Dati.ini names a device of its own.
    const QString device =
        m_shop.ini().readString(QStringLiteral("REGCASSA"), QStringLiteral("DEVICE")).trimmed();
    settings.device =
        device.isEmpty() ? SerialLine::portName(QString::number(p.serialPort)) : device;
    settings.speed = p.speed;
    m_rtDevice->setSettings(settings);
    m_rtTest->setEnabled(false);
    m_rtDevice->queryStatus();
}

void TFConfig::connectionTested(const FiscalOutcome &outcome) {
    m_rtTest->setEnabled(true);
    if (outcome.confirmed())
        m_shop.prompter().information(QStringLiteral("Collegamento riuscito.\r") +
                                      outcome.deviceStatus);
    else
        m_shop.prompter().error(outcome.message);
}

void TFConfig::BAnnullaClick() {
    reject();
}

void TFConfig::reject() {
    closeRecord(false);
    QDialog::reject();
}

void TFConfig::BPasswordClick() {
    if (!ensureRecord())
        return;
    Prompter &prompter = m_shop.prompter();
    const QString current = m_config->asString(shopFiscal::password);
    QString newCaption = QStringLiteral("Imposta Password");
    if (!current.isEmpty()) {
        const auto old = prompter.password(QStringLiteral("Vecchia Password"),
                                           QStringLiteral("Vecchia Password"));
        if (!old)
            return;
        if (*old != current) {
            prompter.error(QStringLiteral("Password errata!"));
            return;
        }
        newCaption = QStringLiteral("Nuova Password");
    }
    const auto typed = prompter.password(newCaption, newCaption);
    if (!typed)
        return;
    if (typed->size() > passwordLength) {
        prompter.error(
            QStringLiteral("La password può avere al massimo %1 caratteri!").arg(passwordLength));
        return;
    }
    const auto confirmed =
        prompter.password(QStringLiteral("Conferma Password"), QStringLiteral("Conferma Password"));
    if (!confirmed)
        return;
    if (*confirmed != *typed) {
        prompter.error(QStringLiteral("Le due password non coincidono!"));
        return;
    }
    if (!runReportingEngineErrors(prompter, [&] {
            m_config->setString(shopFiscal::password, *typed);
            m_config->post();
        })) {
        return;
    }
    prompter.information(
        QStringLiteral("La password è stata ") +
        (typed->isEmpty() ? QStringLiteral("rimossa!") : QStringLiteral("cambiata!")));
    m_shop.setActivePassword(*typed);
    ensureRecord();
}

void TFConfig::BSfogliaClick() {
    const auto path = m_shop.prompter().openFile(
        QStringLiteral("Logo"),
        QStringLiteral("Logo in formato Bitmap|*.bmp|Logo in formato GIF|*.gif"));
    if (!path)
        return;
    const QImage picture(*path);
    if (picture.isNull()) {
        m_shop.prompter().error(QStringLiteral("Il file scelto non è un'immagine: %1").arg(*path));
        return;
    }
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    picture.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    if (!ensureRecord())
        return;
    if (!runReportingEngineErrors(m_shop.prompter(),
                                  [&] { m_config->setBlob(shopFiscal::logo, bmp); })) {
        return;
    }
    showLogo();
}

} // namespace corvale

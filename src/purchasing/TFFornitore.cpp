#include "purchasing/TFFornitore.h"

#include "catalogue/ContactColumns.h"
#include "db/Error.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"
#include "widgets/CaptionBox.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/TitleBand.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

namespace {

QLineEdit *makeEdit(QWidget *parent, const QString &objectName, int maxLength) {
    auto *e = new QLineEdit(parent);
    e->setObjectName(objectName);
    e->setMaxLength(maxLength);
    return e;
}

void toCapitals(QLineEdit *edit) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int pos = edit->cursorPosition();
            edit->setText(upper);
            edit->setCursorPosition(pos);
        }
    });
}

} // namespace

TFFornitore::TFFornitore(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_card(shop) {
    setObjectName(QStringLiteral("TFFornitore"));
    setWindowTitle(QStringLiteral("Fornitore"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    m_band = new TitleBand(QStringLiteral("SCHEDA FORNITORE"), this);
    m_band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(m_band);

    auto *box = new CaptionBox(QString(), this);
    box->setObjectName(QStringLiteral("Dati"));
    box->setBackground(shop.folder().file(QStringLiteral("bkgd.BMP")));
    auto *grid = new QGridLayout(box);
    m_name = makeEdit(box, QStringLiteral("RagSociale"), 40);
    m_address = makeEdit(box, QStringLiteral("Indirizzo"), 40);
    m_cap = makeEdit(box, QStringLiteral("CAP"), 5);
    m_cap->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,5}")), m_cap));
    m_city = makeEdit(box, QStringLiteral("Citta"), 40);
    m_phone = makeEdit(box, QStringLiteral("Telefono"), 20);
    m_mobile = makeEdit(box, QStringLiteral("Cellulare"), 20);
    m_fax = makeEdit(box, QStringLiteral("Fax"), 20);
    m_email = makeEdit(box, QStringLiteral("EMail"), 40);
    m_vat = makeEdit(box, QStringLiteral("PartIVA"), 16);
    toCapitals(m_vat);
    m_cardNumber = makeEdit(box, QStringLiteral("NCarta"), 20);

    int row = 0;
    auto add = [&](const QString &caption, QWidget *edit, int column = 0, int span = 3) {
        auto *label = new QLabel(caption, box);
        label->setBuddy(edit);
        grid->addWidget(label, row, column);
        grid->addWidget(edit, row, column + 1, 1, span);
        return label;
    };
    add(QStringLiteral("Rag. Sociale"), m_name);
    ++row;
    add(QStringLiteral("Indirizzo"), m_address);
    ++row;
    add(QStringLiteral("C.A.P."), m_cap, 0, 1);
    add(QStringLiteral("Città"), m_city, 2, 1);
    ++row;
    add(QStringLiteral("Telefono"), m_phone, 0, 1);
    add(QStringLiteral("Cellulare"), m_mobile, 2, 1);
    ++row;
    add(QStringLiteral("Fax"), m_fax, 0, 1);
    add(QStringLiteral("E-Mail"), m_email, 2, 1);
    ++row;
    add(QStringLiteral("Part. IVA"), m_vat, 0, 1);
    m_cardLabel = add(QStringLiteral("N° Carta"), m_cardNumber, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 2);
    layout->addWidget(box);

    // What the electronic invoice needs of a customer; suppliers share the
    // layout and may keep it too.
    namespace c = contactColumns;
    auto *fiscal = new CaptionBox(QStringLiteral("Fatturazione elettronica"), this);
    fiscal->setObjectName(QStringLiteral("DatiFiscali"));
    fiscal->setBackground(shop.folder().file(QStringLiteral("bkgd.BMP")));
    auto *fiscalGrid = new QGridLayout(fiscal);
    m_vatNumber = makeEdit(fiscal, QStringLiteral("PartitaIVA"), c::vatNumberLength);
    m_fiscalCode = makeEdit(fiscal, QStringLiteral("CodiceFiscale"), c::fiscalCodeLength);
    m_recipientCode =
        makeEdit(fiscal, QStringLiteral("CodiceDestinatario"), c::recipientCodeLength);
    m_pec = makeEdit(fiscal, QStringLiteral("PEC"), c::pecLength);
    m_province = makeEdit(fiscal, QStringLiteral("Provincia"), c::provinceLength);
    m_country = makeEdit(fiscal, QStringLiteral("Nazione"), c::countryLength);
    for (QLineEdit *e : {m_vatNumber, m_fiscalCode, m_recipientCode, m_province, m_country})
        toCapitals(e);
    int fiscalRow = 0;
    auto addFiscal = [&](const QString &caption, QWidget *edit, int column) {
        auto *label = new QLabel(caption, fiscal);
        label->setBuddy(edit);
        fiscalGrid->addWidget(label, fiscalRow, column);
        fiscalGrid->addWidget(edit, fiscalRow, column + 1);
    };
    addFiscal(QStringLiteral("Partita IVA"), m_vatNumber, 0);
    addFiscal(QStringLiteral("Codice fiscale"), m_fiscalCode, 2);
    ++fiscalRow;
    addFiscal(QStringLiteral("Codice destinatario"), m_recipientCode, 0);
    addFiscal(QStringLiteral("PEC"), m_pec, 2);
    ++fiscalRow;
    addFiscal(QStringLiteral("Provincia"), m_province, 0);
    addFiscal(QStringLiteral("Nazione"), m_country, 2);
    ++fiscalRow;
    fiscalGrid->addWidget(
        new QLabel(QStringLiteral("Senza partita IVA né codice fiscale vale \"Part. IVA\"."),
                   fiscal),
        fiscalRow, 0, 1, 4);
    fiscalGrid->setColumnStretch(1, 1);
    fiscalGrid->setColumnStretch(3, 2);
    layout->addWidget(fiscal);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_save = new QPushButton(QStringLiteral("Salva"), this);
    m_save->setObjectName(QStringLiteral("BSalva"));
    m_cancel = new QPushButton(QStringLiteral("Annulla"), this);
    m_cancel->setObjectName(QStringLiteral("BAnnulla"));
    m_save->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    buttons->addSpacing(8);
    layout->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, &TFFornitore::BSalvaClick);
    connect(m_cancel, &QPushButton::clicked, this, &TFFornitore::BAnnullaClick);
    connect(m_name, &QLineEdit::textChanged, this, &TFFornitore::updateSaveEnabled);

    FocusHighlighter::install(this);
    resize(560, 400);
}

TFFornitore::~TFFornitore() = default;

void TFFornitore::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFFornitore::FormActivate() {
    m_cardLabel->setVisible(CustomerMode);
    m_cardNumber->setVisible(CustomerMode);
    m_band->setHeading(CustomerMode ? QStringLiteral("SCHEDA CLIENTE")
                                    : QStringLiteral("SCHEDA FORNITORE"));
    const QString noun = CustomerMode ? QStringLiteral("Cliente") : QStringLiteral("Fornitore");
    setWindowTitle((NewRecord ? QStringLiteral("Nuovo ") : QStringLiteral("Modifica ")) + noun);
    SavedName.clear();
    OldName.clear();
    const bool opened = runReportingEngineErrors(m_shop.prompter(), [&] {
        if (!m_card.begin(CustomerMode, NewRecord, RecordCode)) {
            m_shop.prompter().error(
                QStringLiteral("Il codice %1 non è presente in archivio.").arg(RecordCode));
            return false;
        }
        OldName = m_card.oldName();
        loadRecord();
        return true;
    });
    if (!opened) {
        reject();
        return;
    }
    updateSaveEnabled();
    m_name->setFocus();
}

void TFFornitore::loadRecord() {
    db::Table &t = m_card.record();
    m_name->setText(t.asString(contactColumns::name));
    m_address->setText(t.asString(contactColumns::address));
    m_cap->setText(
        t.isNull(contactColumns::cap)
            ? QString()
            : QStringLiteral("%1").arg(t.asInteger(contactColumns::cap), 5, 10, QLatin1Char('0')));
    m_city->setText(t.asString(contactColumns::city));
    m_phone->setText(t.asString(contactColumns::phone));
    m_mobile->setText(t.asString(contactColumns::mobile));
    m_fax->setText(t.asString(contactColumns::fax));
    m_email->setText(t.asString(contactColumns::email));
    m_vat->setText(t.asString(contactColumns::vatOrFiscalCode));
    m_cardNumber->setText(t.asString(contactColumns::card));
    namespace c = contactColumns;
    m_vatNumber->setText(t.asString(c::vatNumber));
    m_fiscalCode->setText(t.asString(c::fiscalCode));
    m_recipientCode->setText(t.asString(c::recipientCode));
    m_pec->setText(t.asString(c::pec));
    m_province->setText(t.asString(c::province));
    m_country->setText(t.asString(c::country));
}

void TFFornitore::storeRecord() {
    db::Table &t = m_card.record();
    t.setString(contactColumns::name, m_name->text());
    t.setString(contactColumns::address, m_address->text());
    if (m_cap->text().trimmed().isEmpty())
        t.setNull(contactColumns::cap);
    else
        t.setInteger(contactColumns::cap, m_cap->text().toLongLong());
    t.setString(contactColumns::city, m_city->text());
    t.setString(contactColumns::phone, m_phone->text());
    t.setString(contactColumns::mobile, m_mobile->text());
    t.setString(contactColumns::fax, m_fax->text());
    t.setString(contactColumns::email, m_email->text());
    t.setString(contactColumns::vatOrFiscalCode, m_vat->text().toUpper());
    if (CustomerMode)
        t.setString(contactColumns::card, m_cardNumber->text());
    namespace c = contactColumns;
    t.setString(c::vatNumber, m_vatNumber->text().toUpper().trimmed());
    t.setString(c::fiscalCode, m_fiscalCode->text().toUpper().trimmed());
    t.setString(c::recipientCode, m_recipientCode->text().toUpper().trimmed());
    t.setString(c::pec, m_pec->text().trimmed());
    t.setString(c::province, m_province->text().toUpper().trimmed());
    t.setString(c::country, m_country->text().toUpper().trimmed());
}

void TFFornitore::updateSaveEnabled() {
    m_save->setEnabled(!m_name->text().isEmpty());
}

void TFFornitore::BSalvaClick() {
    if (!m_card.isActive() || m_name->text().isEmpty())
        return;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            storeRecord();
            RecordCode = m_card.save();
        })) {
        return;
    }
    SavedName = m_name->text();
    accept();
}

void TFFornitore::BAnnullaClick() {
    reject();
}

void TFFornitore::done(int result) {
    // However the card is closed, nothing stays pending and its table is closed.
    if (result != QDialog::Accepted)
        SavedName.clear();
    m_card.cancel();
    QDialog::done(result);
}

} // namespace corvale

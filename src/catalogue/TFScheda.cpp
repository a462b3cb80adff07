#include "catalogue/TFScheda.h"

#include "catalogue/ArticlePricing.h"
#include "catalogue/ListEntries.h"
#include "catalogue/PriceHistory.h"
#include "catalogue/TFTipoTaglia.h"
#include "catalogue/TableGrid.h"
#include "catalogue/VoucherCode.h"
#include "db/Error.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "platform/Jpeg.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"
#include "widgets/CaptionBox.h"
#include "widgets/FieldBinding.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/LookupCombo.h"
#include "widgets/TableModel.h"
#include "widgets/TitleBand.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

namespace corvale {

namespace {

const QString moneyFormat = QStringLiteral(",0.00#");

// Typed letters become capitals as they are typed.
class CapitalsValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

enum EntryKind { Brand, Category, Typology, Material, Sole };

} // namespace

TFScheda::TFScheda(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_year(shop.clock().today().year())
    , m_article(std::make_unique<db::Table>(shop.database()))
    , m_codes(std::make_unique<db::Table>(shop.database())) {
    setObjectName(QStringLiteral("TFScheda"));
    setWindowTitle(QStringLiteral("Scheda Articolo"));
    setModal(true);
    m_article->setTableName(QStringLiteral("ARTICOLI.DBF"));
    m_article->setIndexName(QStringLiteral("NUMREG"));
    m_codes->setTableName(QStringLiteral("LBCODE.DBF"));
    m_binding = new FieldBinding(*m_article, this);
    m_binding->setAutoEdit(true);

    const QString background = shop.folder().file(QStringLiteral("bkgd.BMP"));
    auto box = [&](const QString &caption, QWidget *content, QWidget *extra = nullptr) {
        auto *b = new CaptionBox(caption, this);
        b->setBackground(background);
        auto *l = new QHBoxLayout(b);
        l->setContentsMargins(4, 2, 4, 4);
        l->addWidget(content, 1);
        if (extra)
            l->addWidget(extra);
        return b;
    };
    auto edit = [&](const QString &name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        return e;
    };
    auto plus = [&](const QString &caption, void (TFScheda::*slot)()) {
        auto *b = new QToolButton(this);
        b->setObjectName(caption);
        b->setText(QStringLiteral("+"));
        b->setToolTip(caption);
        connect(b, &QToolButton::clicked, this, slot);
        return b;
    };

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    auto *band = new TitleBand(QStringLiteral("SCHEDA ARTICOLO"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *toolbar = new QHBoxLayout;
    toolbar->setContentsMargins(6, 0, 6, 0);
    m_save = new QPushButton(QStringLiteral("&Salva"), this);
    m_save->setObjectName(QStringLiteral("BSalva"));
    auto *cancel = new QPushButton(QStringLiteral("&Annulla"), this);
    cancel->setObjectName(QStringLiteral("BAnnulla"));
    for (QPushButton *b : {m_save, cancel}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(90);
        toolbar->addWidget(b);
    }
    toolbar->addStretch();
    layout->addLayout(toolbar);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(6, 0, 6, 0);
    auto *left = new QGridLayout;
    left->setSpacing(3);
    body->addLayout(left, 3);
    auto *right = new QVBoxLayout;
    body->addLayout(right, 2);
    layout->addLayout(body, 1);

    m_code = edit(QStringLiteral("Codice"));
    m_code->setReadOnly(true);
    m_description = edit(QStringLiteral("Articolo"));
    m_description->setValidator(new CapitalsValidator(m_description));
    left->addWidget(box(QStringLiteral("Codice"), m_code), 0, 0);
    left->addWidget(box(QStringLiteral("Articolo"), m_description), 0, 1, 1, 2);

    auto combo = [&](ListControl &list, const QString &name) {
        list.combo = new LookupCombo(this);
        list.combo->setObjectName(name);
        list.combo->setMinimumContentsLength(8);
        list.combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        return list.combo;
    };
    left->addWidget(
        box(QStringLiteral("Marchio"), combo(m_brand, QStringLiteral("Marchio")),
            plus(QStringLiteral("Inserisci un nuovo Marchio"), &TFScheda::BNuovoMarchioClick)),
        1, 0);
    left->addWidget(
        box(QStringLiteral("Tipo Taglia"), combo(m_sizeType, QStringLiteral("TipoTaglia")),
            plus(QStringLiteral("Crea una nuovo tipo di Taglia"), &TFScheda::BNuovaTagliaClick)),
        1, 1, 1, 2);
    left->addWidget(
        box(QStringLiteral("Categoria"), combo(m_category, QStringLiteral("Categoria")),
            plus(QStringLiteral("Crea una nuova Categoria"), &TFScheda::BNuovaCategoriaClick)),
        2, 0);
    auto *supplierButton =
        plus(QStringLiteral("Inserisci un nuovo Fornitore"), &TFScheda::BNuovoFornitoreClick);
    left->addWidget(box(QStringLiteral("Fornitore"), combo(m_supplier, QStringLiteral("Fornitore")),
                        supplierButton),
                    2, 1, 1, 2);
    left->addWidget(
        box(QStringLiteral("Tipologia"), combo(m_typology, QStringLiteral("Tipologia")),
            plus(QStringLiteral("Inserisci una nuova Tipologia"), &TFScheda::BNuovaTipologiaClick)),
        3, 0);
    left->addWidget(
        box(QStringLiteral("Materiale"), combo(m_material, QStringLiteral("Materiale")),
            plus(QStringLiteral("Inserisci un nuovo Materiale"), &TFScheda::BNuovoMaterialeClick)),
        3, 1, 1, 2);
    left->addWidget(
        box(QStringLiteral("Fondo"), combo(m_sole, QStringLiteral("Fondo")),
            plus(QStringLiteral("Inserisci un nuovo Fondo"), &TFScheda::BNuovoFondoClick)),
        4, 0);
    left->addWidget(box(QStringLiteral("Tacco"), combo(m_heel, QStringLiteral("Tacco"))), 4, 1);
    left->addWidget(box(QStringLiteral("Zeppa"), combo(m_wedge, QStringLiteral("Zeppa"))), 4, 2);

    m_season = new QComboBox(this);
    m_season->setObjectName(QStringLiteral("Stagione"));
    m_season->addItems({QStringLiteral("Autunno/Inverno"), QStringLiteral("Primavera/Estate"),
                        QStringLiteral("Quattro Stagioni")});
    m_yearBox = new QComboBox(this);
    m_yearBox->setObjectName(QStringLiteral("Anno"));
    for (int y = m_year - 3; y <= m_year + 2; ++y)
        m_yearBox->addItem(QString::number(y));
    m_inUse = new QCheckBox(QStringLiteral("Articolo in uso"), this);
    m_inUse->setObjectName(QStringLiteral("InUso"));
    left->addWidget(box(QStringLiteral("Stagione"), m_season), 5, 0);
    left->addWidget(box(QStringLiteral("Anno"), m_yearBox), 5, 1);
    left->addWidget(m_inUse, 5, 2);

    auto *purchaseBox = new CaptionBox(QStringLiteral("PREZZO ACQUISTO"), this);
    purchaseBox->setBackground(background);
    auto *pg = new QGridLayout(purchaseBox);
    m_purchase = edit(QStringLiteral("PrezzoAcquisto"));
    m_markup = edit(QStringLiteral("Ricarico"));
    m_vat = edit(QStringLiteral("Iva"));
    pg->addWidget(new QLabel(QStringLiteral("Iva esc."), purchaseBox), 0, 0);
    pg->addWidget(m_purchase, 1, 0);
    pg->addWidget(new QLabel(QStringLiteral("Ricarico %"), purchaseBox), 0, 1);
    pg->addWidget(m_markup, 1, 1);
    pg->addWidget(new QLabel(QStringLiteral("I.V.A. %"), purchaseBox), 0, 2);
    pg->addWidget(m_vat, 1, 2);
    left->addWidget(purchaseBox, 6, 0, 1, 3);

    auto *saleBox = new CaptionBox(QStringLiteral("PREZZO VENDITA"), this);
    saleBox->setBackground(background);
    auto *sg = new QGridLayout(saleBox);
    m_sale = edit(QStringLiteral("PrezzoVendita"));
    m_discount = edit(QStringLiteral("Sconto"));
    m_final = new QLabel(this);
    m_final->setObjectName(QStringLiteral("PrzFinale"));
    m_final->setFrameShape(QFrame::Panel);
    m_final->setFrameShadow(QFrame::Sunken);
    m_final->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *discounted = new QPushButton(QStringLiteral("Calcolo dal prezzo scontato"), this);
    discounted->setObjectName(QStringLiteral("Calcolo dal prezzo scontato"));
    discounted->setAutoDefault(false);
    sg->addWidget(new QLabel(QStringLiteral("Iva Inc."), saleBox), 0, 0);
    sg->addWidget(m_sale, 1, 0);
    sg->addWidget(new QLabel(QStringLiteral("Sconto %"), saleBox), 0, 1);
    sg->addWidget(m_discount, 1, 1);
    sg->addWidget(new QLabel(QStringLiteral("Prz. Finale"), saleBox), 0, 2);
    sg->addWidget(m_final, 1, 2);
    sg->addWidget(discounted, 2, 0, 1, 3);
    left->addWidget(saleBox, 7, 0, 1, 3);
    for (QLineEdit *e : {m_purchase, m_markup, m_vat, m_sale, m_discount})
        e->setAlignment(Qt::AlignRight);

    auto *photoBox = new CaptionBox(QStringLiteral("Foto"), this);
    photoBox->setBackground(background);
    auto *photoLayout = new QVBoxLayout(photoBox);
    m_photo = new QLabel(photoBox);
    m_photo->setObjectName(QStringLiteral("Foto"));
    m_photo->setFixedSize(220, 180);
    m_photo->setAlignment(Qt::AlignCenter);
    m_photo->setFrameShape(QFrame::Panel);
    m_photo->setFrameShadow(QFrame::Sunken);
    photoLayout->addWidget(m_photo, 0, Qt::AlignHCenter);
    auto *photoButtons = new QHBoxLayout;
    auto *choose = new QPushButton(QStringLiteral("Scegli..."), photoBox);
    choose->setObjectName(QStringLiteral("Scegli"));
    auto *clear = new QPushButton(QStringLiteral("Elimina"), photoBox);
    clear->setObjectName(QStringLiteral("EliminaFoto"));
    for (QPushButton *b : {choose, clear}) {
        b->setAutoDefault(false);
        photoButtons->addWidget(b);
    }
    photoLayout->addLayout(photoButtons);
    right->addWidget(photoBox);

    auto *codeBox = new CaptionBox(QStringLiteral("Codici a barre"), this);
    codeBox->setBackground(background);
    auto *codeLayout = new QVBoxLayout(codeBox);
    m_codeGrid = new TableGrid(*m_codes, codeBox);
    m_codeGrid->setObjectName(QStringLiteral("CodiciABarre"));
    m_codeGrid->addColumn(QStringLiteral("BARCODE"), QStringLiteral("Codici a barre"));
    m_codeGrid->horizontalHeader()->setStretchLastSection(true);
    codeLayout->addWidget(m_codeGrid);
    auto *codeButtons = new QHBoxLayout;
    auto *newCode = new QPushButton(QStringLiteral("&Nuovo"), codeBox);
    newCode->setObjectName(QStringLiteral("NuovoCodice"));
    auto *deleteCode = new QPushButton(QStringLiteral("Elimina"), codeBox);
    deleteCode->setObjectName(QStringLiteral("EliminaCodice"));
    for (QPushButton *b : {newCode, deleteCode}) {
        b->setAutoDefault(false);
        codeButtons->addWidget(b);
    }
    codeLayout->addLayout(codeButtons);
    right->addWidget(codeBox, 1);

    m_binding->bind(m_description, QStringLiteral("DESCRIZION"));
    m_binding->bind(m_purchase, QStringLiteral("PREZZOACQ"), moneyFormat);
    m_binding->bind(m_markup, QStringLiteral("RICARICO"), moneyFormat);
    m_binding->bind(m_vat, QStringLiteral("IVA"));
    m_binding->bind(m_sale, QStringLiteral("PREZZOVND"), moneyFormat);
    m_binding->bind(m_discount, QStringLiteral("SCONTO"), moneyFormat);
    m_binding->bind(m_season, QStringLiteral("STAGIONE"));
    m_binding->bind(m_yearBox, QStringLiteral("ANNO"));
    m_binding->bind(m_inUse, QStringLiteral("INUSO"));
    m_description->setMaxLength(30);
    connect(m_binding, &FieldBinding::fieldChanged, this, &TFScheda::fieldChanged);
    connect(m_binding, &FieldBinding::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });

    buildLists();
    m_sizeCard = new TFTipoTaglia(shop, this);

    connect(m_save, &QPushButton::clicked, this, &TFScheda::BSalvaClick);
    connect(cancel, &QPushButton::clicked, this, &TFScheda::BAnnullaClick);
    connect(choose, &QPushButton::clicked, this, &TFScheda::BScegliClick);
    connect(clear, &QPushButton::clicked, this, &TFScheda::BEliminaFotoClick);
    connect(newCode, &QPushButton::clicked, this, &TFScheda::BNuovoCodiceClick);
    connect(deleteCode, &QPushButton::clicked, this, &TFScheda::BEliminaCodiceClick);
    connect(discounted, &QPushButton::clicked, this, &TFScheda::BScontatoClick);
    supplierButton->setEnabled(false);

    FocusHighlighter::install(this);
    resize(713, 515);
}

TFScheda::~TFScheda() {
    // The bindings read the article: they go before it, not with the controls
    // that lose the focus while the window is torn down.
    delete m_binding;
    m_binding = nullptr;
    closeTables();
}

void TFScheda::buildLists() {
    auto source = [&](const QString &table, const QString &tag) {
        auto t = std::make_shared<db::Table>(m_shop.database());
        t->setTableName(table);
        if (!tag.isEmpty())
            t->setIndexName(tag);
        m_sources << t;
        return t.get();
    };
    const QString nome = QStringLiteral("NOME");
    const QString numreg = QStringLiteral("NUMREG");
    auto set = [](ListControl &l, db::Table *src, const QString &display, const QString &key,
                  const QString &keyField, const QString &copyField) {
        l.source = src;
        l.display = display;
        l.key = key;
        l.keyField = keyField;
        l.copyField = copyField;
    };
    set(m_supplier, source(QStringLiteral("FORNITOR.DBF"), nome), nome, QStringLiteral("CODICE"),
        QStringLiteral("N_FOR"), QStringLiteral("FORNITORE"));
    set(m_category, source(QStringLiteral("CATEGOR.DBF"), nome), nome, numreg,
        QStringLiteral("N_CAT"), QStringLiteral("CATEGORIA"));
    set(m_sizeType, source(QStringLiteral("TAGLIE.DBF"), QStringLiteral("DESCRIZION")),
        QStringLiteral("DESCRIZION"), numreg, QStringLiteral("TIPOTAGLIA"),
        QStringLiteral("MISURA"));
    set(m_brand, source(QStringLiteral("MARCHI.DBF"), nome), nome, numreg,
        QStringLiteral("N_MARCHI"), QStringLiteral("MARCHIO"));
    set(m_typology, source(QStringLiteral("TIPOLOGI.DBF"), nome), nome, numreg,
        QStringLiteral("NUMTIPO"), QStringLiteral("TIPOLOGIA"));
    set(m_material, source(QStringLiteral("MATERIAL.DBF"), nome), nome, numreg,
        QStringLiteral("NUMMATE"), QStringLiteral("MATERIALE"));
    db::Table *measures = source(QStringLiteral("MISURE.DBF"), QString());
    set(m_heel, measures, nome, nome, QString(), QStringLiteral("TACCO"));
    set(m_wedge, measures, nome, nome, QString(), QStringLiteral("ZEPPA"));
    set(m_sole, source(QStringLiteral("FONDI.DBF"), nome), nome, nome, QString(),
        QStringLiteral("FONDO"));
    for (ListControl *l : {&m_supplier, &m_category, &m_sizeType, &m_brand, &m_typology,
                           &m_material, &m_heel, &m_wedge, &m_sole}) {
        connect(l->combo, &QComboBox::activated, this, [this, l] { listChosen(*l); });
    }
}

void TFScheda::setSupplierCard(SupplierCard card) {
    m_supplierCard = std::move(card);
    if (auto *b = findChild<QToolButton *>(QStringLiteral("Inserisci un nuovo Fornitore")))
        b->setEnabled(bool(m_supplierCard));
}

void TFScheda::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFScheda::FormActivate() {
    m_busy = true;
    SavedDescription.clear();
    const bool opened = runReportingEngineErrors(m_shop.prompter(), [&] {
        closeTables();
        m_article->open();
        if (NewArticle) {
            m_foreseen = m_shop.routines().NextCounter(QStringLiteral("ARTICOLI"), false);
            const QString vat = m_shop.ini().readString(
                QStringLiteral("DEFAULT"), QStringLiteral("IVA"), QStringLiteral("20"));
            const QString um = m_shop.ini().readString(QStringLiteral("DEFAULT"),
                                                       QStringLiteral("UM"), QStringLiteral("PZ"));
            m_article->append();
            m_article->setFloat(QStringLiteral("PREZZOACQ"), 0);
            m_article->setFloat(QStringLiteral("PREZZOVND"), 0);
            m_article->setInteger(QStringLiteral("TIPOTAGLIA"), 0);
            m_article->setFloat(QStringLiteral("IVA"), Formats::parseNumber(vat).value_or(0));
            m_article->setString(QStringLiteral("UM"), um);
            m_article->setString(QStringLiteral("BARCODE"), QString::number(800000 + m_foreseen));
            m_article->setString(QStringLiteral("STAGIONE"), QStringLiteral("Quattro Stagioni"));
            m_article->setInteger(QStringLiteral("ANNO"), m_year);
            m_article->setBool(QStringLiteral("INUSO"), true);
            QFile blank(m_shop.folder().file(QStringLiteral("clear.jpg")));
            if (blank.open(QIODevice::ReadOnly))
                m_article->setBlob(QStringLiteral("FOTO"), blank.readAll());
        } else if (m_article->findKey(ArticleKey)) {
            m_article->edit();
        } else {
            m_shop.prompter().error(
                QStringLiteral("L'articolo %1 non è presente in archivio.").arg(ArticleKey));
            return false;
        }
        openLists();
        setWindowTitle(NewArticle ? QStringLiteral("Nuovo Articolo")
                                  : QStringLiteral("Modifica Articolo"));
        loadRecord();
        m_save->setEnabled(!NewArticle && !m_sizeType.combo->currentText().isEmpty());

        m_codes->open();
        m_codes->emptyTable();
        if (!NewArticle) {
            db::Table barcodes(m_shop.database());
            barcodes.setTableName(QStringLiteral("BARCODE.DBF"));
            barcodes.setIndexName(QStringLiteral("NUMREG"));
            barcodes.open();
            barcodes.setRange(ArticleKey, ArticleKey);
            for (barcodes.first(); !barcodes.eof(); barcodes.next()) {
                m_codes->append();
                m_codes->setString(QStringLiteral("BARCODE"),
                                   barcodes.asString(QStringLiteral("BARCODE")));
                m_codes->post();
            }
            barcodes.close();
        }
        m_codes->first();
        m_codeGrid->reload();
        return true;
    });
    if (!opened) {
        m_busy = false;
        reject();
        return;
    }
    m_brand.combo->setFocus();
    m_busy = false;
    showFinalPrice();
}

void TFScheda::openLists() {
    for (const std::shared_ptr<db::Table> &t : std::as_const(m_sources)) {
        t->close();
        t->open();
    }
    for (ListControl *l : {&m_supplier, &m_category, &m_sizeType, &m_brand, &m_typology,
                           &m_material, &m_heel, &m_wedge, &m_sole})
        l->combo->fill(*l->source, l->display, l->key);
}

void TFScheda::loadRecord() {
    // The seasons of the list, and the article's own should the list have lost it.
    {
        const QSignalBlocker block(m_season);
        m_season->clear();
        m_season->addItems(ListEntries::seasonNames(m_shop.database()));
        const QString own = m_article->asString(QStringLiteral("STAGIONE")).trimmed();
        if (!own.isEmpty() && m_season->findText(own) < 0)
            m_season->addItem(own);
    }
    m_binding->load();
    m_code->setText(m_article->asString(QStringLiteral("BARCODE")));
    for (ListControl *l : {&m_supplier, &m_category, &m_sizeType, &m_brand, &m_typology,
                           &m_material, &m_heel, &m_wedge, &m_sole}) {
        const QString field = l->keyField.isEmpty() ? l->copyField : l->keyField;
        if (m_article->isNull(field) ||
            (l->keyField.isEmpty() && m_article->asString(field).isEmpty()))
            l->combo->setCurrentIndex(-1);
        else
            l->combo->setCurrentKey(l->keyField.isEmpty() ? QVariant(m_article->asString(field))
                                                          : m_article->value(field));
    }
    showPhoto();
}

void TFScheda::closeTables() {
    if (m_article->isOpen()) {
        m_article->cancel();
        m_article->close();
    }
    m_codes->close();
    for (const std::shared_ptr<db::Table> &t : std::as_const(m_sources))
        t->close();
}

void TFScheda::ensureEditing() {
    if (m_article->state() == db::Table::State::Browse)
        m_article->edit();
}

void TFScheda::listChosen(ListControl &list) {
    if (m_busy || !m_article->isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        ensureEditing();
        if (list.keyField.isEmpty()) {
            m_article->setString(list.copyField, list.combo->currentText());
        } else {
            m_article->setValue(list.keyField, list.combo->currentKey());
            m_article->setString(list.copyField, list.combo->currentText());
        }
    });
    if (&list == &m_brand || &list == &m_sizeType)
        updateSaveEnabled();
}

void TFScheda::fieldChanged(const QString &field) {
    if (m_busy)
        return;
    const QString f = field.toUpper();
    if (f == u"PREZZOACQ" || f == u"RICARICO" || f == u"IVA")
        computeSalePrice();
    else if (f == u"PREZZOVND") {
        computeMarkup();
        // The final price follows the sale price it is taken from, whichever box changed it.
        showFinalPrice();
    } else if (f == u"SCONTO")
        showFinalPrice();
    else if (f == u"DESCRIZION")
        updateSaveEnabled();
}

void TFScheda::showNumber(QLineEdit *edit, const QString &field) {
    edit->setText(TableModel::displayText(m_article->value(field), moneyFormat));
}

void TFScheda::computeSalePrice() {
    m_busy = true;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        const double p = ArticlePricing::salePrice(m_article->asFloat(QStringLiteral("PREZZOACQ")),
                                                   m_article->asFloat(QStringLiteral("RICARICO")),
                                                   m_article->asFloat(QStringLiteral("IVA")),
                                                   m_shop.preferences().markupWithoutVat);
        ensureEditing();
        m_article->setFloat(QStringLiteral("PREZZOVND"), p);
        showNumber(m_sale, QStringLiteral("PREZZOVND"));
    });
    m_busy = false;
    showFinalPrice();
}

void TFScheda::computeMarkup() {
    m_busy = true;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        const double ric = ArticlePricing::markupFromSale(
            m_article->asFloat(QStringLiteral("PREZZOVND")),
            m_article->asFloat(QStringLiteral("PREZZOACQ")),
            m_article->asFloat(QStringLiteral("IVA")), m_shop.preferences().markupWithoutVat);
        ensureEditing();
        m_article->setFloat(QStringLiteral("RICARICO"), ric);
        showNumber(m_markup, QStringLiteral("RICARICO"));
    });
    m_busy = false;
}

void TFScheda::showFinalPrice() {
    if (!m_article->isOpen())
        return;
    m_final->setText(ArticlePricing::finalPriceText(m_article->asFloat(QStringLiteral("PREZZOVND")),
                                                    m_article->asFloat(QStringLiteral("SCONTO"))));
}

void TFScheda::updateSaveEnabled() {
    if (!m_article->isOpen())
        return;
    m_save->setEnabled(!m_article->asString(QStringLiteral("DESCRIZION")).trimmed().isEmpty() &&
                       m_article->asInteger(QStringLiteral("TIPOTAGLIA")) != 0);
}

void TFScheda::showPhoto() {
    const QImage image =
        Jpeg::decode(m_article->asBlob(QStringLiteral("FOTO")), m_photo->contentsRect().size());
    if (image.isNull()) {
        m_photo->clear();
        return;
    }
    m_photo->setPixmap(QPixmap::fromImage(image.scaled(
        m_photo->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TFScheda::setPhoto(const QByteArray &bytes) {
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            ensureEditing();
            m_article->setBlob(QStringLiteral("FOTO"), bytes);
        })) {
        return;
    }
    showPhoto();
}

void TFScheda::BScegliClick() {
    if (!m_article->isOpen())
        return;
    const std::optional<QString> path = m_shop.prompter().openFile(
        QStringLiteral("Foto dell'articolo"), QStringLiteral("Immagini JPEG|*.jpg"));
    if (!path)
        return;
    QFile file(*path);
    if (QFileInfo(file).size() > maxPhotoBytes) {
        m_shop.prompter().error(
            QStringLiteral("La foto è troppo grande!\rIl file non deve superare i 640 Kbytes.\r"
                           "Ridurre la dimesione o il numero di colori e riprovare."));
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_shop.prompter().error(
            QStringLiteral("Impossibile leggere il file %1").arg(QFileInfo(file).fileName()));
        return;
    }
    // Read at most one byte past the limit, so a file that grew meanwhile is still refused.
    const QByteArray bytes = file.read(maxPhotoBytes + 1);
    if (bytes.size() > maxPhotoBytes) {
        m_shop.prompter().error(
            QStringLiteral("La foto è troppo grande!\rIl file non deve superare i 640 Kbytes.\r"
                           "Ridurre la dimesione o il numero di colori e riprovare."));
        return;
    }
    setPhoto(bytes);
}

void TFScheda::BEliminaFotoClick() {
    if (!m_article->isOpen())
        return;
    QFile blank(m_shop.folder().file(QStringLiteral("clear.jpg")));
    if (!blank.open(QIODevice::ReadOnly)) {
        m_shop.prompter().error(QStringLiteral("Impossibile leggere il file clear.jpg"));
        return;
    }
    setPhoto(blank.readAll());
}

void TFScheda::BNuovoCodiceClick() {
    if (!m_codes->isOpen())
        return;
    const std::optional<QString> answer =
        m_shop.prompter().input(QStringLiteral("Codice a Barre"), QStringLiteral("Inserisci"));
    if (!answer)
        return;
    const QString code = answer->toUpper().trimmed();
    if (code.isEmpty())
        return;
    // The vouchers' barcodes are never an article's.
    if (voucherCode::isReserved(code)) {
        m_shop.prompter().error(voucherCode::reservedText);
        return;
    }
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_codes->append();
        m_codes->setString(QStringLiteral("BARCODE"), code);
        m_codes->post();
        m_codeGrid->reload();
    });
}

void TFScheda::BEliminaCodiceClick() {
    if (!m_codes->isOpen() || m_codeGrid->isEmpty())
        return;
    if (!m_shop.prompter().confirm(QStringLiteral("Eliminare il Codice selezionato?")))
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_codes->remove();
        m_codeGrid->reload();
    });
}

void TFScheda::BScontatoClick() {
    if (!m_article->isOpen())
        return;
    const std::optional<QString> answer =
        m_shop.prompter().input(QStringLiteral("CORVALE QUIRA"), QStringLiteral("Prezzo scontato"));
    if (!answer)
        return;
    const std::optional<double> price = Formats::parseNumber(*answer);
    if (!price)
        return;
    m_final->setText(Formats::format(u"%7.2f", *price).trimmed());
    const std::optional<double> discount =
        ArticlePricing::discountFor(m_article->asFloat(QStringLiteral("PREZZOVND")), *price);
    if (!discount)
        return;
    m_busy = true;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        ensureEditing();
        m_article->setFloat(QStringLiteral("SCONTO"), *discount);
        showNumber(m_discount, QStringLiteral("SCONTO"));
    });
    m_busy = false;
}

void TFScheda::newListEntry(ListControl &list, const QString &caption, int kind) {
    if (!m_article->isOpen())
        return;
    const std::optional<QString> answer =
        m_shop.prompter().input(caption, QStringLiteral("Inserisci nominativo"));
    if (!answer)
        return;
    ListEntries::List entries;
    switch (EntryKind(kind)) {
    case Brand:
        entries = ListEntries::brands();
        break;
    case Category:
        entries = ListEntries::categories();
        break;
    case Typology:
        entries = ListEntries::typologies();
        break;
    case Material:
        entries = ListEntries::materials();
        break;
    case Sole:
        entries = ListEntries::soles();
        break;
    }
    const QString name = answer->toUpper();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        const qint64 number = ListEntries::add(m_shop, entries, name);
        list.source->refresh();
        list.combo->fill(*list.source, list.display, list.key);
        ensureEditing();
        m_article->setString(list.copyField, name);
        if (list.keyField.isEmpty()) {
            list.combo->setCurrentKey(name);
        } else {
            m_article->setInteger(list.keyField, number);
            list.combo->setCurrentKey(number);
        }
    });
    if (&list == &m_brand)
        updateSaveEnabled();
}

void TFScheda::BNuovoMarchioClick() {
    newListEntry(m_brand, QStringLiteral("Nuovo Marchio"), Brand);
}

void TFScheda::BNuovaCategoriaClick() {
    newListEntry(m_category, QStringLiteral("Nuova Categoria"), Category);
}

void TFScheda::BNuovaTipologiaClick() {
    newListEntry(m_typology, QStringLiteral("Nuova Tipologia"), Typology);
}

void TFScheda::BNuovoMaterialeClick() {
    newListEntry(m_material, QStringLiteral("Nuovo Materiale"), Material);
}

void TFScheda::BNuovoFondoClick() {
    newListEntry(m_sole, QStringLiteral("Nuovo Fondo"), Sole);
}

void TFScheda::BNuovoFornitoreClick() {
    if (!m_article->isOpen() || !m_supplierCard)
        return;
    const std::optional<Supplier> saved = m_supplierCard(this);
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_supplier.source->refresh();
        m_supplier.combo->fill(*m_supplier.source, m_supplier.display, m_supplier.key);
        if (saved) {
            ensureEditing();
            m_article->setInteger(QStringLiteral("N_FOR"), saved->code);
            m_article->setString(QStringLiteral("FORNITORE"), saved->name);
            m_supplier.combo->setCurrentKey(saved->code);
        }
    });
}

void TFScheda::BNuovaTagliaClick() {
    if (!m_article->isOpen())
        return;
    m_sizeCard->SizeTypeKey = 0;
    m_sizeCard->exec();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sizeType.source->refresh();
        m_sizeType.combo->fill(*m_sizeType.source, m_sizeType.display, m_sizeType.key);
        if (m_sizeCard->SizeTypeKey > 0) {
            ensureEditing();
            m_article->setInteger(QStringLiteral("TIPOTAGLIA"), m_sizeCard->SizeTypeKey);
            m_article->setString(QStringLiteral("MISURA"), m_sizeCard->SizeTypeName);
            m_sizeType.combo->setCurrentKey(m_sizeCard->SizeTypeKey);
        }
    });
    updateSaveEnabled();
}

void TFScheda::BSalvaClick() {
    if (!m_article->isOpen() || !m_save->isEnabled())
        return;
    // A box still showing text that is no number would leave the record with
    // its old value behind the user's back.
    if (!m_binding->checkTexts())
        return;
    m_busy = true;
    const bool saved = runReportingEngineErrors(m_shop.prompter(), [this] {
        ensureEditing();
        if (NewArticle) {
            // The number is only foreseen here and taken once the record is
            // stored, so a save that fails uses up no number. Should another
            // article have taken the foreseen one meanwhile, the code follows
            // the real number so that no two articles share one.
            const int key = m_shop.routines().NextCounter(QStringLiteral("ARTICOLI"), false);
            if (key != m_foreseen)
                m_article->setString(QStringLiteral("BARCODE"), QString::number(800000 + key));
            m_article->setInteger(QStringLiteral("NUMREG"), key);
            m_article->post();
            m_shop.routines().SetCounter(QStringLiteral("ARTICOLI"), key);
            ArticleKey = key;
            SavedDescription = m_article->asString(QStringLiteral("DESCRIZION"));
        } else {
            m_article->post();
        }
        // The price history keeps every change of the price the article sells at.
        PriceHistory(m_shop.database())
            .record(ArticleKey, m_shop.clock().today(),
                    m_article->asFloat(QStringLiteral("PREZZOVND")),
                    m_article->asFloat(QStringLiteral("SCONTO")),
                    NewArticle ? PriceHistory::newArticleCause() : PriceHistory::cardCause());
        QStringList codes;
        for (m_codes->first(); !m_codes->eof(); m_codes->next())
            codes << m_codes->asString(QStringLiteral("BARCODE"));
        if (!NewArticle || !codes.isEmpty())
            ListEntries::replaceBarcodes(m_shop.database(), ArticleKey, codes);
    });
    m_busy = false;
    if (saved)
        accept();
}

void TFScheda::BAnnullaClick() {
    reject();
}

void TFScheda::done(int result) {
    if (result != QDialog::Accepted)
        SavedDescription.clear();
    closeTables();
    QDialog::done(result);
}

} // namespace corvale

#include "catalogue/TFScheda.h"

#include "catalogue/ArticleCard.h"
#include "catalogue/ArticleColumns.h"
#include "catalogue/ListEntries.h"
#include "catalogue/TFTipoTaglia.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "platform/Jpeg.h"
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
#include <QHash>
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

namespace a = articleColumns;

} // namespace

TFScheda::TFScheda(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_year(shop.clock().today().year())
    , m_card(std::make_unique<ArticleCard>(shop)) {
    setObjectName(QStringLiteral("TFScheda"));
    setWindowTitle(QStringLiteral("Scheda Articolo"));
    setModal(true);
    m_binding = new FieldBinding(m_card->article(), this);
    m_binding->setAutoEdit(true);

    m_background = shop.folder().file(QStringLiteral("bkgd.BMP"));
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

    buildArticleBoxes(left);
    buildPriceBoxes(left);
    buildPhotoBox(right);
    buildCodeBox(right);
    bindFields();
    buildLists();
    m_sizeCard = new TFTipoTaglia(shop, this);

    connect(m_save, &QPushButton::clicked, this, &TFScheda::BSalvaClick);
    connect(cancel, &QPushButton::clicked, this, &TFScheda::BAnnullaClick);

    FocusHighlighter::install(this);
    resize(713, 515);
}

CaptionBox *TFScheda::box(const QString &caption, QWidget *content, QWidget *extra) {
    auto *b = new CaptionBox(caption, this);
    b->setBackground(m_background);
    auto *l = new QHBoxLayout(b);
    l->setContentsMargins(4, 2, 4, 4);
    l->addWidget(content, 1);
    if (extra)
        l->addWidget(extra);
    return b;
}

QLineEdit *TFScheda::edit(const QString &name) {
    auto *e = new QLineEdit(this);
    e->setObjectName(name);
    return e;
}

QToolButton *TFScheda::plus(const QString &caption, void (TFScheda::*slot)()) {
    auto *b = new QToolButton(this);
    b->setObjectName(caption);
    b->setText(QStringLiteral("+"));
    b->setToolTip(caption);
    connect(b, &QToolButton::clicked, this, slot);
    return b;
}

LookupCombo *TFScheda::combo(ListControl &list, const QString &name) {
    list.combo = new LookupCombo(this);
    list.combo->setObjectName(name);
    list.combo->setMinimumContentsLength(8);
    list.combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return list.combo;
}

void TFScheda::buildArticleBoxes(QGridLayout *left) {
    m_code = edit(QStringLiteral("Codice"));
    m_code->setReadOnly(true);
    m_description = edit(QStringLiteral("Articolo"));
    m_description->setValidator(new CapitalsValidator(m_description));
    left->addWidget(box(QStringLiteral("Codice"), m_code), 0, 0);
    left->addWidget(box(QStringLiteral("Articolo"), m_description), 0, 1, 1, 2);

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
    // Enabled once the opener hands in the supplier card.
    supplierButton->setEnabled(false);
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
}

void TFScheda::buildPriceBoxes(QGridLayout *left) {
    auto *purchaseBox = new CaptionBox(QStringLiteral("PREZZO ACQUISTO"), this);
    purchaseBox->setBackground(m_background);
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
    saleBox->setBackground(m_background);
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

    connect(discounted, &QPushButton::clicked, this, &TFScheda::BScontatoClick);
}

void TFScheda::buildPhotoBox(QVBoxLayout *right) {
    auto *photoBox = new CaptionBox(QStringLiteral("Foto"), this);
    photoBox->setBackground(m_background);
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

    connect(choose, &QPushButton::clicked, this, &TFScheda::BScegliClick);
    connect(clear, &QPushButton::clicked, this, &TFScheda::BEliminaFotoClick);
}

void TFScheda::buildCodeBox(QVBoxLayout *right) {
    auto *codeBox = new CaptionBox(QStringLiteral("Codici a barre"), this);
    codeBox->setBackground(m_background);
    auto *codeLayout = new QVBoxLayout(codeBox);
    m_codeGrid = new TableGrid(m_card->codes(), codeBox);
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

    connect(newCode, &QPushButton::clicked, this, &TFScheda::BNuovoCodiceClick);
    connect(deleteCode, &QPushButton::clicked, this, &TFScheda::BEliminaCodiceClick);
}

void TFScheda::bindFields() {
    m_binding->bind(m_description, a::description);
    m_binding->bind(m_purchase, a::purchasePrice, moneyFormat);
    m_binding->bind(m_markup, a::markup, moneyFormat);
    m_binding->bind(m_vat, a::vat);
    m_binding->bind(m_sale, a::salePrice, moneyFormat);
    m_binding->bind(m_discount, a::discount, moneyFormat);
    m_binding->bind(m_season, a::season);
    m_binding->bind(m_yearBox, a::year);
    m_binding->bind(m_inUse, a::inUse);
    m_description->setMaxLength(30);
    connect(m_binding, &FieldBinding::fieldChanged, this, &TFScheda::fieldChanged);
    connect(m_binding, &FieldBinding::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });
}

TFScheda::~TFScheda() {
    // The bindings read the article: they go before it, not with the controls
    // that lose the focus while the window is torn down.
    delete m_binding;
    m_binding = nullptr;
    closeTables();
}

void TFScheda::buildLists() {
    const std::pair<ArticleCard::ChoiceKind, ListControl *> lists[]{
        {ArticleCard::ChoiceKind::Supplier, &m_supplier},
        {ArticleCard::ChoiceKind::Category, &m_category},
        {ArticleCard::ChoiceKind::SizeType, &m_sizeType},
        {ArticleCard::ChoiceKind::Brand, &m_brand},
        {ArticleCard::ChoiceKind::Typology, &m_typology},
        {ArticleCard::ChoiceKind::Material, &m_material},
        {ArticleCard::ChoiceKind::Heel, &m_heel},
        {ArticleCard::ChoiceKind::Wedge, &m_wedge},
        {ArticleCard::ChoiceKind::Sole, &m_sole}};
    // Lists kept in one table (heel and wedge) share its handle.
    QHash<QString, db::Table *> sources;
    for (const auto &[kind, list] : lists) {
        const ArticleCard::Choice &c = ArticleCard::choice(kind);
        db::Table *&source = sources[c.table];
        if (!source) {
            auto t = std::make_shared<db::Table>(m_shop.database());
            t->setTableName(c.table);
            if (!c.tag.isEmpty())
                t->setIndexName(c.tag);
            m_sources << t;
            source = t.get();
        }
        list->kind = kind;
        list->source = source;
        m_lists << list;
        connect(list->combo, &QComboBox::activated, this, [this, list] { listChosen(*list); });
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
        if (!m_card->begin(NewArticle, ArticleKey))
            return false;
        openLists();
        setWindowTitle(NewArticle ? QStringLiteral("Nuovo Articolo")
                                  : QStringLiteral("Modifica Articolo"));
        loadRecord();
        m_save->setEnabled(!NewArticle && !m_sizeType.combo->currentText().isEmpty());
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
    for (ListControl *l : std::as_const(m_lists))
        fill(*l);
}

void TFScheda::fill(ListControl &list) {
    const ArticleCard::Choice &c = ArticleCard::choice(list.kind);
    list.combo->fill(*list.source, c.display, c.key);
}

void TFScheda::loadRecord() {
    db::Table &article = m_card->article();
    // The seasons of the list, and the article's own should the list have lost it.
    {
        const QSignalBlocker block(m_season);
        m_season->clear();
        m_season->addItems(ListEntries::seasonNames(m_shop.database()));
        const QString own = article.asString(a::season).trimmed();
        if (!own.isEmpty() && m_season->findText(own) < 0)
            m_season->addItem(own);
    }
    m_binding->load();
    m_code->setText(article.asString(a::code));
    for (ListControl *l : std::as_const(m_lists)) {
        const ArticleCard::Choice &c = ArticleCard::choice(l->kind);
        const QString field = c.keyField.isEmpty() ? c.copyField : c.keyField;
        if (article.isNull(field) || (c.keyField.isEmpty() && article.asString(field).isEmpty()))
            l->combo->setCurrentIndex(-1);
        else
            l->combo->setCurrentKey(c.keyField.isEmpty() ? QVariant(article.asString(field))
                                                         : article.value(field));
    }
    showPhoto();
}

void TFScheda::closeTables() {
    m_card->close();
    for (const std::shared_ptr<db::Table> &t : std::as_const(m_sources))
        t->close();
}

void TFScheda::listChosen(ListControl &list) {
    if (m_busy || !article().isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_card->choose(list.kind, list.combo->currentKey(), list.combo->currentText());
    });
    if (&list == &m_brand || &list == &m_sizeType)
        updateSaveEnabled();
}

void TFScheda::fieldChanged(const QString &field) {
    if (m_busy)
        return;
    switch (ArticleCard::afterChangeOf(field)) {
    case ArticleCard::Follow::SalePrice:
        computeSalePrice();
        break;
    case ArticleCard::Follow::Markup:
        computeMarkup();
        // The final price follows the sale price it is taken from, whichever box changed it.
        showFinalPrice();
        break;
    case ArticleCard::Follow::FinalPrice:
        showFinalPrice();
        break;
    case ArticleCard::Follow::SaveState:
        updateSaveEnabled();
        break;
    case ArticleCard::Follow::Nothing:
        break;
    }
}

void TFScheda::showNumber(QLineEdit *edit, const QString &field) {
    edit->setText(TableModel::displayText(article().value(field), moneyFormat));
}

void TFScheda::computeSalePrice() {
    m_busy = true;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_card->computeSalePrice();
        showNumber(m_sale, a::salePrice);
    });
    m_busy = false;
    showFinalPrice();
}

void TFScheda::computeMarkup() {
    m_busy = true;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_card->computeMarkup();
        showNumber(m_markup, a::markup);
    });
    m_busy = false;
}

void TFScheda::showFinalPrice() {
    if (!article().isOpen())
        return;
    m_final->setText(m_card->finalPriceText());
}

void TFScheda::updateSaveEnabled() {
    if (!article().isOpen())
        return;
    m_save->setEnabled(m_card->canSave());
}

void TFScheda::showPhoto() {
    const QImage image = Jpeg::decode(article().asBlob(a::photo), m_photo->contentsRect().size());
    if (image.isNull()) {
        m_photo->clear();
        return;
    }
    m_photo->setPixmap(QPixmap::fromImage(image.scaled(
        m_photo->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TFScheda::setPhoto(const QByteArray &bytes) {
    if (!runReportingEngineErrors(m_shop.prompter(), [&] { m_card->setPhoto(bytes); }))
        return;
    showPhoto();
}

void TFScheda::BScegliClick() {
    if (!article().isOpen())
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
    if (!article().isOpen())
        return;
    const std::optional<QByteArray> blank = m_card->blankPhoto();
    if (!blank) {
        m_shop.prompter().error(QStringLiteral("Impossibile leggere il file clear.jpg"));
        return;
    }
    setPhoto(*blank);
}

void TFScheda::BNuovoCodiceClick() {
    if (!m_card->codes().isOpen())
        return;
    const std::optional<QString> answer =
        m_shop.prompter().input(QStringLiteral("Codice a Barre"), QStringLiteral("Inserisci"));
    if (!answer)
        return;
    if (const auto reason = ArticleCard::codeRefusal(*answer)) {
        m_shop.prompter().error(*reason);
        return;
    }
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (m_card->addCode(*answer))
            m_codeGrid->reload();
    });
}

void TFScheda::BEliminaCodiceClick() {
    if (!m_card->codes().isOpen() || m_codeGrid->isEmpty())
        return;
    if (!m_shop.prompter().confirm(QStringLiteral("Eliminare il Codice selezionato?")))
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_card->removeCode();
        m_codeGrid->reload();
    });
}

void TFScheda::BScontatoClick() {
    if (!article().isOpen())
        return;
    const std::optional<QString> answer =
        m_shop.prompter().input(QStringLiteral("CORVALE QUIRA"), QStringLiteral("Prezzo scontato"));
    if (!answer)
        return;
    const std::optional<double> price = Formats::parseNumber(*answer);
    if (!price)
        return;
    m_final->setText(Formats::format(u"%7.2f", *price).trimmed());
    m_busy = true;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (m_card->discountFromFinalPrice(*price))
            showNumber(m_discount, a::discount);
    });
    m_busy = false;
}

void TFScheda::newListEntry(ListControl &list, const QString &caption) {
    if (!article().isOpen())
        return;
    const std::optional<QString> answer =
        m_shop.prompter().input(caption, QStringLiteral("Inserisci nominativo"));
    if (!answer)
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        const QVariant key = m_card->addEntry(list.kind, *answer);
        list.source->refresh();
        fill(list);
        list.combo->setCurrentKey(key);
    });
    if (&list == &m_brand)
        updateSaveEnabled();
}

void TFScheda::BNuovoMarchioClick() {
    newListEntry(m_brand, QStringLiteral("Nuovo Marchio"));
}

void TFScheda::BNuovaCategoriaClick() {
    newListEntry(m_category, QStringLiteral("Nuova Categoria"));
}

void TFScheda::BNuovaTipologiaClick() {
    newListEntry(m_typology, QStringLiteral("Nuova Tipologia"));
}

void TFScheda::BNuovoMaterialeClick() {
    newListEntry(m_material, QStringLiteral("Nuovo Materiale"));
}

void TFScheda::BNuovoFondoClick() {
    newListEntry(m_sole, QStringLiteral("Nuovo Fondo"));
}

void TFScheda::BNuovoFornitoreClick() {
    if (!article().isOpen() || !m_supplierCard)
        return;
    const std::optional<Supplier> saved = m_supplierCard(this);
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_supplier.source->refresh();
        fill(m_supplier);
        if (saved) {
            m_card->choose(ArticleCard::ChoiceKind::Supplier, saved->code, saved->name);
            m_supplier.combo->setCurrentKey(saved->code);
        }
    });
}

void TFScheda::BNuovaTagliaClick() {
    if (!article().isOpen())
        return;
    m_sizeCard->SizeTypeKey = 0;
    m_sizeCard->exec();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sizeType.source->refresh();
        fill(m_sizeType);
        if (m_sizeCard->SizeTypeKey > 0) {
            m_card->choose(ArticleCard::ChoiceKind::SizeType, m_sizeCard->SizeTypeKey,
                           m_sizeCard->SizeTypeName);
            m_sizeType.combo->setCurrentKey(m_sizeCard->SizeTypeKey);
        }
    });
    updateSaveEnabled();
}

void TFScheda::BSalvaClick() {
    if (!article().isOpen() || !m_save->isEnabled())
        return;
    // A box still showing text that is no number would leave the record with
    // its old value behind the user's back.
    if (!m_binding->checkTexts())
        return;
    m_busy = true;
    const bool saved = runReportingEngineErrors(m_shop.prompter(), [this] {
        m_card->save();
        if (NewArticle) {
            ArticleKey = m_card->key();
            SavedDescription = m_card->description();
        }
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

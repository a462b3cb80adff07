#pragma once

#include "catalogue/ArticleCard.h"

#include <QDialog>
#include <QList>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace corvale {

class CaptionBox;
class FieldBinding;
class LookupCombo;
class Shop;
class TableGrid;
class TFTipoTaglia;

namespace db {
class Table;
}

// The article card "Scheda Articolo": creates (NewArticle) or edits the
// article ArticleKey, with its lists, prices, photo and further barcodes, and
// creates list entries, suppliers and size types on the spot. What it does
// with the article is ArticleCard's; the window shows it and binds its boxes. After a new
// article is saved ArticleKey is its number and SavedDescription its
// description; SavedDescription stays empty when the card is cancelled.
class TFScheda : public QDialog {
    Q_OBJECT
public:
    struct Supplier {
        qint64 code = 0;
        QString name;
    };
    // Shows the supplier card for a new supplier and tells what was saved
    // (nothing when cancelled). The contact card belongs to purchasing, which
    // builds on the catalogue, so whoever creates the article card hands it in.
    using SupplierCard = std::function<std::optional<Supplier>(QWidget *parent)>;

    explicit TFScheda(Shop &shop, QWidget *parent = nullptr);
    ~TFScheda() override;

    bool NewArticle = true;
    qint64 ArticleKey = 0;
    QString SavedDescription;

    void setSupplierCard(SupplierCard card);
    TFTipoTaglia &sizeTypeCard() { return *m_sizeCard; }
    TableGrid &barcodeGrid() { return *m_codeGrid; }
    ArticleCard &card() { return *m_card; }
    // The article record while the card is open.
    db::Table &article() { return m_card->article(); }
    int currentYear() const { return m_year; }
    // Photos larger than this are refused.
    static constexpr qint64 maxPhotoBytes = 640 * 1000;

    void BSalvaClick();
    void BAnnullaClick();
    void BScegliClick();
    void BEliminaFotoClick();
    void BNuovoCodiceClick();
    void BEliminaCodiceClick();
    void BScontatoClick();
    void BNuovoMarchioClick();
    void BNuovaCategoriaClick();
    void BNuovaTipologiaClick();
    void BNuovoMaterialeClick();
    void BNuovoFondoClick();
    void BNuovoFornitoreClick();
    void BNuovaTagliaClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct ListControl {
        LookupCombo *combo = nullptr;
        db::Table *source = nullptr;
        ArticleCard::ChoiceKind kind = ArticleCard::ChoiceKind::Supplier;
    };

    CaptionBox *box(const QString &caption, QWidget *content, QWidget *extra = nullptr);
    QLineEdit *edit(const QString &name);
    QToolButton *plus(const QString &caption, void (TFScheda::*slot)());
    LookupCombo *combo(ListControl &list, const QString &name);
    void buildArticleBoxes(QGridLayout *left);
    void buildPriceBoxes(QGridLayout *left);
    void buildPhotoBox(QVBoxLayout *right);
    void buildCodeBox(QVBoxLayout *right);
    void bindFields();
    void buildLists();
    void FormActivate();
    void openLists();
    void fill(ListControl &list);
    void loadRecord();
    void closeTables();
    void listChosen(ListControl &list);
    void fieldChanged(const QString &field);
    void computeSalePrice();
    void computeMarkup();
    void showFinalPrice();
    void updateSaveEnabled();
    void showPhoto();
    void setPhoto(const QByteArray &bytes);
    void newListEntry(ListControl &list, const QString &caption);
    void showNumber(QLineEdit *edit, const QString &field);

    Shop &m_shop;
    int m_year;
    QString m_background;
    bool m_busy = false;
    std::unique_ptr<ArticleCard> m_card;
    QList<std::shared_ptr<db::Table>> m_sources;
    QList<ListControl *> m_lists;
    FieldBinding *m_binding;
    SupplierCard m_supplierCard;
    TFTipoTaglia *m_sizeCard;

    QLineEdit *m_code;
    QLineEdit *m_description;
    ListControl m_brand, m_sizeType, m_category, m_supplier, m_typology, m_material, m_sole, m_heel,
        m_wedge;
    QComboBox *m_season;
    QComboBox *m_yearBox;
    QLineEdit *m_purchase;
    QLineEdit *m_markup;
    QLineEdit *m_vat;
    QLineEdit *m_sale;
    QLineEdit *m_discount;
    QLabel *m_final;
    QCheckBox *m_inUse;
    QLabel *m_photo;
    TableGrid *m_codeGrid;
    QPushButton *m_save;
};

} // namespace corvale

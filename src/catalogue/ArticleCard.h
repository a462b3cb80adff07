#pragma once

#include "catalogue/ListEntries.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

namespace corvale {

class Shop;

namespace db {
class Table;
}

// One article on the card "Scheda Articolo": a new one or a stored one open
// for editing in ARTICOLI, its further barcodes on the work table LBCODE, the
// price arithmetic (sale price from purchase price and mark-up, mark-up back
// from the sale price, the discount that gives a final price), the choices of
// the name lists and the save, which takes the article's number, keeps the
// price history and rewrites the further barcodes. The card window shows it;
// nothing here knows of widgets. Engine failures throw db::Error.
class ArticleCard {
public:
    // A name list the article refers to: where its entries are, which of
    // their fields is shown and which is stored, and the article fields that
    // keep the key (none when the name is the key) and a copy of the name.
    struct Choice {
        QString table;
        QString tag;
        QString display;
        QString key;
        QString keyField;
        QString copyField;
        // How the card adds an entry on the spot; none for the lists it does
        // not add to (suppliers and size types have their own cards).
        std::optional<ListEntries::List> entries;
    };
    enum class ChoiceKind {
        Supplier,
        Category,
        SizeType,
        Brand,
        Typology,
        Material,
        Heel,
        Wedge,
        Sole
    };
    static const Choice &choice(ChoiceKind kind);
    static QList<ChoiceKind> choiceKinds();

    // What the card shows anew after a field of the record changed.
    enum class Follow { Nothing, SalePrice, Markup, FinalPrice, SaveState };
    static Follow afterChangeOf(const QString &field);

    explicit ArticleCard(Shop &shop);
    ~ArticleCard();

    db::Table &article() { return *m_article; }
    db::Table &codes() { return *m_codes; }
    bool isNew() const { return m_new; }
    // The article's number: the one edited, or the one a new article took when saved.
    qint64 key() const { return m_key; }

    // Begins a new article (with the shop's VAT and unit of measure, the code
    // its number will foresee, "Quattro Stagioni" of this year, in use, the
    // blank photo) or the stored article `key`, with its further barcodes on
    // LBCODE. False, the user told, when the stored article is not there.
    bool begin(bool newArticle, qint64 key);
    // Drops what was not saved and closes the tables.
    void close();

    // "&Salva" is offered once the article has a description and a size type.
    bool canSave() const;

    // The sale price from purchase price, mark-up and VAT, and the mark-up
    // back from the sale price, as the shop reckons the mark-up.
    void computeSalePrice();
    void computeMarkup();
    double finalPrice() const;
    QString finalPriceText() const;
    // "Calcolo dal prezzo scontato": the discount that gives `price`; false,
    // the discount unchanged, when there is no sale price to take it from.
    bool discountFromFinalPrice(double price);

    // An entry chosen from a list, by its stored key and shown name.
    void choose(ChoiceKind kind, const QVariant &key, const QString &name);
    // A new entry of the list (in capitals), created and chosen; returns the
    // key the list stores for it (its number, or its name).
    QVariant addEntry(ChoiceKind kind, const QString &name);
    void setPhoto(const QByteArray &jpeg);
    // The blank photo of the program folder; nothing when it cannot be read.
    std::optional<QByteArray> blankPhoto() const;

    // A further barcode, in capitals without blanks around; false for an
    // empty one or one that codeRefusal() refuses.
    bool addCode(const QString &typed);
    // Why `typed` cannot be an article's code (the vouchers' barcodes are
    // never an article's); nothing when it can.
    static std::optional<QString> codeRefusal(const QString &typed);
    // Removes the further barcode at the current row of LBCODE.
    void removeCode();

    // Stores the article. A new one takes its number only now (and the code
    // follows it, should another article have taken the number foreseen);
    // every change of the price it sells at goes into the price history.
    void save();
    QString description() const;

private:
    void editing();

    Shop &m_shop;
    std::unique_ptr<db::Table> m_article;
    std::unique_ptr<db::Table> m_codes;
    bool m_new = true;
    bool m_stored = false; // a new article already stored by a save that failed later
    qint64 m_key = 0;
    qint64 m_foreseen = 0;
};

} // namespace corvale

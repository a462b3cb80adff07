#include "catalogue/ArticleCard.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/ArticlePricing.h"
#include "catalogue/PriceHistory.h"
#include "catalogue/VoucherCode.h"
#include "db/Table.h"
#include "platform/Formats.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

#include <QFile>

namespace corvale {

namespace a = articleColumns;

namespace {

const QString counter = QStringLiteral("ARTICOLI");
const QString workCodes = QStringLiteral("LBCODE.DBF");
const QString codeField = QStringLiteral("BARCODE");
// New articles are coded from their number: 800000 + NUMREG.
constexpr qint64 codeBase = 800000;

QString codeOf(qint64 key) {
    return QString::number(codeBase + key);
}

} // namespace

const ArticleCard::Choice &ArticleCard::choice(ChoiceKind kind) {
    const QString nome = QStringLiteral("NOME");
    const QString numreg = QStringLiteral("NUMREG");
    static const QList<Choice> all{
        {QStringLiteral("FORNITOR.DBF"), nome, nome, QStringLiteral("CODICE"), a::supplierKey,
         a::supplier, std::nullopt},
        {QStringLiteral("CATEGOR.DBF"), nome, nome, numreg, a::categoryKey, a::category,
         ListEntries::categories()},
        {QStringLiteral("TAGLIE.DBF"), a::description, a::description, numreg, a::sizeType,
         a::sizeTypeName, std::nullopt},
        {QStringLiteral("MARCHI.DBF"), nome, nome, numreg, a::brandKey, a::brand,
         ListEntries::brands()},
        {QStringLiteral("TIPOLOGI.DBF"), nome, nome, numreg, a::typologyKey, a::typology,
         ListEntries::typologies()},
        {QStringLiteral("MATERIAL.DBF"), nome, nome, numreg, a::materialKey, a::material,
         ListEntries::materials()},
        {QStringLiteral("MISURE.DBF"), QString(), nome, nome, QString(), a::heel, std::nullopt},
        {QStringLiteral("MISURE.DBF"), QString(), nome, nome, QString(), a::wedge, std::nullopt},
        {QStringLiteral("FONDI.DBF"), nome, nome, nome, QString(), a::sole, ListEntries::soles()},
    };
    return all[int(kind)];
}

QList<ArticleCard::ChoiceKind> ArticleCard::choiceKinds() {
    return {ChoiceKind::Supplier, ChoiceKind::Category, ChoiceKind::SizeType,
            ChoiceKind::Brand,    ChoiceKind::Typology, ChoiceKind::Material,
            ChoiceKind::Heel,     ChoiceKind::Wedge,    ChoiceKind::Sole};
}

ArticleCard::Follow ArticleCard::afterChangeOf(const QString &field) {
    const QString f = field.toUpper();
    if (f == a::purchasePrice || f == a::markup || f == a::vat)
        return Follow::SalePrice;
    if (f == a::salePrice)
        return Follow::Markup;
    if (f == a::discount)
        return Follow::FinalPrice;
    if (f == a::description)
        return Follow::SaveState;
    return Follow::Nothing;
}

ArticleCard::ArticleCard(Shop &shop)
    : m_shop(shop)
    , m_article(std::make_unique<db::Table>(shop.database()))
    , m_codes(std::make_unique<db::Table>(shop.database())) {
    m_article->setTableName(a::articles + QStringLiteral(".DBF"));
    m_article->setIndexName(a::key);
    m_codes->setTableName(workCodes);
}

ArticleCard::~ArticleCard() {
    close();
}

bool ArticleCard::begin(bool newArticle, qint64 key) {
    close();
    m_new = newArticle;
    m_stored = false;
    m_key = newArticle ? 0 : key;
    m_article->open();
    if (newArticle) {
        m_foreseen = m_shop.routines().NextCounter(counter, false);
        const QString vat = m_shop.ini().readString(QStringLiteral("DEFAULT"),
                                                    QStringLiteral("IVA"), QStringLiteral("20"));
        const QString unit = m_shop.ini().readString(QStringLiteral("DEFAULT"),
                                                     QStringLiteral("UM"), QStringLiteral("PZ"));
        m_article->append();
        m_article->setFloat(a::purchasePrice, 0);
        m_article->setFloat(a::salePrice, 0);
        m_article->setInteger(a::sizeType, 0);
        m_article->setFloat(a::vat, Formats::parseNumber(vat).value_or(0));
        m_article->setString(a::unit, unit);
        m_article->setString(a::code, codeOf(m_foreseen));
        m_article->setString(a::season, QStringLiteral("Quattro Stagioni"));
        m_article->setInteger(a::year, m_shop.clock().today().year());
        m_article->setBool(a::inUse, true);
        if (const std::optional<QByteArray> blank = blankPhoto())
            m_article->setBlob(a::photo, *blank);
    } else if (m_article->findKey(key)) {
        m_article->edit();
    } else {
        m_shop.prompter().error(
            QStringLiteral("L'articolo %1 non è presente in archivio.").arg(key));
        return false;
    }

    m_codes->open();
    m_codes->emptyTable();
    if (!newArticle) {
        db::Table further(m_shop.database());
        further.setTableName(a::furtherCodes + QStringLiteral(".DBF"));
        further.setIndexName(a::key);
        further.open();
        further.setRange(key, key);
        for (further.first(); !further.eof(); further.next()) {
            m_codes->append();
            m_codes->setString(codeField, further.asString(codeField));
            m_codes->post();
        }
        further.close();
    }
    m_codes->first();
    return true;
}

void ArticleCard::close() {
    if (m_article->isOpen()) {
        m_article->cancel();
        m_article->close();
    }
    m_codes->close();
}

void ArticleCard::editing() {
    if (m_article->state() == db::Table::State::Browse)
        m_article->edit();
}

bool ArticleCard::canSave() const {
    return m_article->isOpen() && !m_article->asString(a::description).trimmed().isEmpty() &&
           m_article->asInteger(a::sizeType) != 0;
}

void ArticleCard::computeSalePrice() {
    const double price = ArticlePricing::salePrice(
        m_article->asFloat(a::purchasePrice), m_article->asFloat(a::markup),
        m_article->asFloat(a::vat), m_shop.preferences().markupWithoutVat);
    editing();
    m_article->setFloat(a::salePrice, price);
}

void ArticleCard::computeMarkup() {
    const double markup = ArticlePricing::markupFromSale(
        m_article->asFloat(a::salePrice), m_article->asFloat(a::purchasePrice),
        m_article->asFloat(a::vat), m_shop.preferences().markupWithoutVat);
    editing();
    m_article->setFloat(a::markup, markup);
}

double ArticleCard::finalPrice() const {
    return ArticlePricing::finalPrice(m_article->asFloat(a::salePrice),
                                      m_article->asFloat(a::discount));
}

QString ArticleCard::finalPriceText() const {
    return ArticlePricing::finalPriceText(m_article->asFloat(a::salePrice),
                                          m_article->asFloat(a::discount));
}

bool ArticleCard::discountFromFinalPrice(double price) {
    const std::optional<double> discount =
        ArticlePricing::discountFor(m_article->asFloat(a::salePrice), price);
    if (!discount)
        return false;
    editing();
    m_article->setFloat(a::discount, *discount);
    return true;
}

void ArticleCard::choose(ChoiceKind kind, const QVariant &key, const QString &name) {
    const Choice &c = choice(kind);
    editing();
    if (!c.keyField.isEmpty())
        m_article->setValue(c.keyField, key);
    m_article->setString(c.copyField, name);
}

QVariant ArticleCard::addEntry(ChoiceKind kind, const QString &name) {
    const Choice &c = choice(kind);
    Q_ASSERT(c.entries);
    const QString entry = name.toUpper();
    const qint64 number = ListEntries::add(m_shop, *c.entries, entry);
    editing();
    m_article->setString(c.copyField, entry);
    if (c.keyField.isEmpty())
        return entry;
    m_article->setInteger(c.keyField, number);
    return number;
}

void ArticleCard::setPhoto(const QByteArray &jpeg) {
    editing();
    m_article->setBlob(a::photo, jpeg);
}

std::optional<QByteArray> ArticleCard::blankPhoto() const {
    QFile blank(m_shop.folder().file(QStringLiteral("clear.jpg")));
    if (!blank.open(QIODevice::ReadOnly))
        return std::nullopt;
    return blank.readAll();
}

std::optional<QString> ArticleCard::codeRefusal(const QString &typed) {
    if (voucherCode::isReserved(typed.toUpper().trimmed()))
        return voucherCode::reservedText;
    return std::nullopt;
}

bool ArticleCard::addCode(const QString &typed) {
    const QString code = typed.toUpper().trimmed();
    if (code.isEmpty() || codeRefusal(code))
        return false;
    m_codes->append();
    m_codes->setString(codeField, code);
    m_codes->post();
    return true;
}

void ArticleCard::removeCode() {
    m_codes->remove();
}

QString ArticleCard::description() const {
    return m_article->asString(a::description);
}

void ArticleCard::save() {
    editing();
    if (m_new && !m_stored) {
        // The number is only foreseen until the record is stored, so a save
        // that fails uses up no number. Should another article have taken the
        // foreseen one meanwhile, the code follows the real number so that no
        // two articles share one.
        const qint64 key = m_shop.routines().NextCounter(counter, false);
        if (key != m_foreseen)
            m_article->setString(a::code, codeOf(key));
        m_article->setInteger(a::key, key);
        m_article->post();
        m_shop.routines().SetCounter(counter, key);
        m_key = key;
        // Stored and numbered: should the rest fail, saving again stores this
        // record again instead of numbering it anew.
        m_stored = true;
    } else {
        m_article->post();
    }
    // The price history keeps every change of the price the article sells at.
    PriceHistory(m_shop.database())
        .record(m_key, m_shop.clock().today(), m_article->asFloat(a::salePrice),
                m_article->asFloat(a::discount),
                m_new ? PriceHistory::newArticleCause() : PriceHistory::cardCause());
    QStringList codes;
    for (m_codes->first(); !m_codes->eof(); m_codes->next())
        codes << m_codes->asString(codeField);
    if (!m_new || !codes.isEmpty())
        ListEntries::replaceBarcodes(m_shop.database(), m_key, codes);
}

} // namespace corvale

#include "catalogue/ArticleListPrintout.h"

#include "catalogue/ArticleBrowser.h"
#include "catalogue/ArticleColumns.h"
#include "catalogue/FilterConditions.h"
#include "catalogue/SizeTitles.h"
#include "db/Table.h"
#include "platform/Formats.h"
#include "printing/PageCanvas.h"
#include "shell/Shop.h"

namespace corvale {

using namespace articleColumns;

ArticleListPrintout::ArticleListPrintout(Shop &shop)
    : m_shop(shop) {}

void ArticleListPrintout::load(const QString &filter, bool discounted, bool withDetail) {
    m_articles.clear();
    m_withDetail = withDetail;
    db::Table list(m_shop.database());
    list.setTableName(articles);
    list.setIndexName(description);
    FilterConditions::apply(list, filter);
    list.open();
    db::Table rows(m_shop.database());
    rows.setTableName(stock);
    rows.setIndexName(stockArticle);
    if (withDetail)
        rows.open();
    SizeTitles titles(m_shop.database());
    for (list.first(); !list.eof(); list.next()) {
        Article a;
        a.code = list.asString(code);
        a.description = list.asString(description);
        a.brand = list.asString(brand);
        a.category = list.asString(category);
        a.supplier = list.asString(supplier);
        a.purchasePrice = list.asFloat(purchasePrice);
        a.shownPrice =
            ArticleBrowser::shownPrice(list.asFloat(salePrice), list.asFloat(discount), discounted);
        if (withDetail) {
            titles.follow(list.asInteger(sizeType));
            a.sizeTitles = titles.titles();
            const qint64 article = list.asInteger(key);
            rows.setRange(article, article);
            for (rows.first(); !rows.eof(); rows.next()) {
                StockRow row;
                row.colour = rows.asString(colour);
                for (int n = 1; n <= sizeCount; ++n)
                    row.cells << rows.asString(sizeCell(n));
                a.rows << row;
            }
        }
        m_articles << a;
    }
}

void ArticleListPrintout::print(PageCanvas &canvas) const {
    const int W = canvas.pageWidth() - 100;
    const int x0 = 50;
    const int B = canvas.pageHeight() * 97 / 100;
    const int d = W / 23;
    const int e = W / 22;
    int y = 70;
    int page = 1;

    auto centred = [&](const QString &text, int at) { canvas.textOutCentred(W / 2, at, text); };
    auto rightAligned = [&](const QString &text, int end, int at) {
        canvas.textOutRight(end - 10, at, text);
    };
    auto ruleAcross = [&]() {
        canvas.moveTo(x0, y);
        canvas.lineTo(x0 + 23 * d, y);
    };
    CanvasFont headingFont;
    headingFont.name = QStringLiteral("Arial");
    headingFont.size = 8;
    headingFont.italic = true;
    CanvasFont bodyFont;
    bodyFont.name = QStringLiteral("Arial");
    bodyFont.size = 9;
    // Without the detail every page carries its number at the foot.
    auto pageNumber = [&]() {
        const CanvasFont current = canvas.font();
        canvas.setFont(headingFont);
        const int L = canvas.textHeight(QStringLiteral("X"));
        centred(QStringLiteral("- %1 -").arg(page), B + L);
        canvas.setFont(current);
    };
    auto newPage = [&]() {
        canvas.newPage();
        ++page;
        y = 70;
        if (!m_withDetail)
            pageNumber();
    };
    auto columnHeading = [&]() {
        canvas.setFont(headingFont);
        const int L = canvas.textHeight(QStringLiteral("X"));
        canvas.textOut(x0 + 10, y, QStringLiteral("Codice"));
        canvas.textOut(x0 + 3 * d + 10, y, QStringLiteral("Descrizione"));
        canvas.textOut(x0 + 9 * d + 10, y, QStringLiteral("Categoria"));
        canvas.textOut(x0 + 13 * d + 10, y, QStringLiteral("Acquisto"));
        canvas.textOut(x0 + 15 * d + 10, y, QStringLiteral("Vendita"));
        canvas.textOut(x0 + 17 * d + 10, y, QStringLiteral("Fornitore"));
        y += L + 5;
        ruleAcross();
        y += 10;
        canvas.setFont(bodyFont);
    };
    auto stockBlock = [&](const Article &a) {
        canvas.setFont(headingFont);
        int L = canvas.textHeight(QStringLiteral("X"));
        canvas.textOut(x0 + 10, y, QStringLiteral("Colore"));
        for (int k = 1; k <= a.sizeTitles.size(); ++k)
            canvas.textOut(x0 + 10 + 2 * e + (k - 1) * e, y, a.sizeTitles.at(k - 1));
        y += L + 5;
        ruleAcross();
        y += 10;
        canvas.setFont(bodyFont);
        L = canvas.textHeight(QStringLiteral("X"));
        for (const StockRow &row : a.rows) {
            canvas.textOut(x0 + 10, y, row.colour);
            for (int k = 1; k <= row.cells.size(); ++k)
                canvas.textOut(x0 + 10 + 2 * e + (k - 1) * e, y, row.cells.at(k - 1));
            y += L;
            if (y + L >= B)
                newPage();
        }
        y += 5;
        ruleAcross();
        y += 2 * L;
    };

    CanvasFont title;
    title.name = QStringLiteral("MS Sans Serif");
    title.size = 12;
    title.bold = true;
    title.italic = true;
    canvas.setFont(title);
    const int L0 = canvas.textHeight(QStringLiteral("X"));
    centred(m_shop.texts().nameLine1, y);
    y += L0;
    canvas.setFontSize(10);
    centred(m_shop.texts().nameLine2, y);
    y += L0;
    centred(QStringLiteral("ELENCO ARTICOLI - ") + Formats::formatDate(m_shop.clock().today()), y);
    CanvasFont listFont = canvas.font();
    listFont.size = 8;
    listFont.bold = false;
    canvas.setFont(listFont);
    y += 2 * L0;

    if (!m_withDetail) {
        columnHeading();
        pageNumber();
    }
    for (const Article &a : m_articles) {
        if (m_withDetail)
            columnHeading();
        canvas.textOut(x0 + 10, y, a.code);
        canvas.textOut(x0 + 3 * d + 10, y, a.description + u'/' + a.brand);
        canvas.textOut(x0 + 9 * d + 10, y, a.category);
        rightAligned(Formats::format(u"%10.2n", a.purchasePrice), x0 + 15 * d, y);
        rightAligned(Formats::format(u"%10.2n", a.shownPrice), x0 + 17 * d, y);
        canvas.textOut(x0 + 17 * d + 10, y, a.supplier);
        const int L = canvas.textHeight(QStringLiteral("X"));
        y += L;
        if (m_withDetail) {
            stockBlock(a);
        } else {
            ruleAcross();
            y += 7;
        }
        if (y + L >= B)
            newPage();
    }
}

} // namespace corvale

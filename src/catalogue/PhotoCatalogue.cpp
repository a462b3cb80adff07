#include "catalogue/PhotoCatalogue.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/FilterConditions.h"
#include "db/Table.h"
#include "platform/Formats.h"
#include "platform/Jpeg.h"
#include "printing/PageCanvas.h"
#include "shell/Shop.h"

#include <QImage>

namespace corvale {

using namespace articleColumns;

PhotoCatalogue::PhotoCatalogue(Shop &shop)
    : m_shop(shop) {}

std::optional<int> PhotoCatalogue::photosPerPage(const QString &answer) {
    const std::optional<qint64> n = Formats::parseInteger(answer);
    if (!n || *n < fewestPerPage || *n > mostPerPage)
        return std::nullopt;
    return int(*n);
}

void PhotoCatalogue::load(const QString &filter) {
    m_articles.clear();
    db::Table list(m_shop.database());
    list.setTableName(articles);
    list.setIndexName(description);
    FilterConditions::apply(list, filter);
    list.open();
    for (list.first(); !list.eof(); list.next()) {
        if (!list.asBool(inUse))
            continue;
        m_articles << Article{list.asString(brand), list.asString(description),
                              list.asString(category), list.asFloat(salePrice), list.asBlob(photo)};
    }
}

void PhotoCatalogue::print(PageCanvas &canvas, int perPage) const {
    const int W = canvas.pageWidth() - 100;
    const int h = (canvas.pageHeight() - canvas.pageHeight() / 7) / perPage;
    const int w = h * 4 / 3;
    const int x0 = 50;
    const int B = (canvas.pageHeight() / 100) * 97;
    int y = 70;

    auto centred = [&](const QString &text, int at) { canvas.textOutCentred(W / 2, at, text); };
    CanvasFont font;
    font.name = QStringLiteral("arial");
    font.size = 14;
    font.bold = true;
    canvas.setFont(font);
    int L = canvas.textHeight(QStringLiteral("X"));
    centred(m_shop.texts().nameLine1, y);
    y += L;
    centred(m_shop.texts().nameLine2, y);
    y += L;
    canvas.setFontSize(10);
    L = canvas.textHeight(QStringLiteral("X"));
    centred(QStringLiteral("Part. IVA ") + m_shop.texts().vatNumber, y);
    y += L;
    y += 3 * L;
    canvas.setFontSize(14);
    const QString heading =
        QStringLiteral("CATALOGO - ANNO ") + QString::number(m_shop.clock().today().year());
    canvas.textOutRight(x0 + W - 10, y, heading);
    y += 2 * L;

    // The values start after the widest label, measured in the labels' type.
    canvas.setFontSize(10);
    canvas.setBold(false);
    const int valueX = w + canvas.textWidth(QStringLiteral("Descrizione")) + 200;

    for (const Article &a : m_articles) {
        font.size = 14;
        font.bold = true;
        canvas.setFont(font);
        L = canvas.textHeight(QStringLiteral("X"));
        if (B < y + h + 20) {
            canvas.newPage();
            y = 150;
        } else {
            y += 20;
        }
        canvas.rectangle(x0, y, x0 + W, y + h + 10);
        canvas.rectangle(x0, y, x0 + w + 4, y + h + 10);
        if (!a.photo.isEmpty()) {
            const QImage picture = Jpeg::decode(a.photo, QSize(w, h));
            if (!picture.isNull())
                canvas.stretchDraw(QRect(x0 + 2, y + 3, w, h), picture);
        }
        canvas.setFontSize(10);
        canvas.setBold(false);
        const QString labels[] = {QStringLiteral("Marchio"), QStringLiteral("Articolo"),
                                  QStringLiteral("Categoria "), QStringLiteral("Prezzo (€) ")};
        for (int i = 0; i < 4; ++i)
            canvas.textOut(w + 100, y + (i + 1) * L, labels[i]);
        canvas.setFontSize(12);
        canvas.setBold(true);
        const QString values[] = {a.brand, a.description, a.category,
                                  Formats::format(u"%10.2n", a.salePrice).trimmed()};
        for (int i = 0; i < 4; ++i)
            canvas.textOut(valueX, y + (i + 1) * L, values[i]);
        y += h + L / 2;
    }
}

} // namespace corvale

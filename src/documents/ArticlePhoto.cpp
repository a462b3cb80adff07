#include "documents/ArticlePhoto.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/TFFoto.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"

namespace corvale {

ArticlePhoto::ArticlePhoto(Shop &shop, QWidget *window)
    : m_shop(shop)
    , m_window(window)
    , m_photo(new TFFoto(window)) {}

void ArticlePhoto::show(qint64 article) {
    if (!m_shop.preferences().showPhotos)
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        db::Table articles(m_shop.database());
        articles.setTableName(articleColumns::articles);
        articles.setIndexName(articleColumns::key);
        articles.open();
        m_photo->showPhoto(articles.findKey(article) ? articles.asBlob(articleColumns::photo)
                                                     : QByteArray());
    });
    if (!m_photo->isVisible()) {
        m_photo->move(m_window->mapToGlobal(QPoint(m_window->width() - m_photo->width() - 50,
                                                   m_window->height() - m_photo->height() - 50)));
        m_photo->show();
    }
}

void ArticlePhoto::hide() {
    m_photo->hide();
}

} // namespace corvale

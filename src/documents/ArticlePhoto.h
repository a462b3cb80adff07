#pragma once

#include <QtGlobal>

class QWidget;

namespace corvale {

class Shop;
class TFFoto;

// The stay-on-top "Foto" window of a document window: while the shop wants
// photos shown, it shows the photo of the article just entered, placed 50
// pixels in from the document window's bottom-right corner.
class ArticlePhoto {
public:
    ArticlePhoto(Shop &shop, QWidget *window);

    // Points the photo window at `article` (its NUMREG) and shows it, when
    // the photo setting is on; otherwise nothing happens.
    void show(qint64 article);
    void hide();
    TFFoto &photoWindow() { return *m_photo; }

private:
    Shop &m_shop;
    QWidget *m_window;
    TFFoto *m_photo;
};

} // namespace corvale

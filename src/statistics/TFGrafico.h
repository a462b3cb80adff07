#pragma once

#include "statistics/ArticleValues.h"
#include "statistics/ChartPeriod.h"

#include <QDialog>
#include <QImage>

#include <memory>

class QLabel;
class QLineEdit;

namespace corvale {

namespace db {
class Table;
}
class Shop;
class TrendBox;
class TableGrid;

// "GRAFICO DI VENDITA": the pieces of one article sold month by month over
// the current year or day by day over a month. The article is picked in the
// window's own list. Modal, opened from the article archive.
class TFGrafico : public QDialog {
    Q_OBJECT
public:
    explicit TFGrafico(Shop &shop, QWidget *parent = nullptr);
    ~TFGrafico() override;

    ChartPeriod period() const;
    const ArticleSales &sales() const { return m_sales; }
    const QImage &chart() const { return m_chart; }
    TableGrid &articleList() { return *m_list; }

protected:
    void showEvent(QShowEvent *event) override;
    // Leaving closes the tables.
    void done(int result) override;

private:
    void FormActivate();
    void Redraw();

    Shop &m_shop;
    std::unique_ptr<db::Table> m_articles;
    // Keeps the controls from redrawing while the window sets itself up or closes.
    bool m_busy = true;
    int m_year = 0;
    ArticleSales m_sales;
    QImage m_chart;
    TableGrid *m_list = nullptr;
    QLineEdit *m_code = nullptr;
    TrendBox *m_trend = nullptr;
    QLabel *m_description = nullptr;
    QLabel *m_area = nullptr;
};

} // namespace corvale

#pragma once

#include <QDialog>

#include <memory>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;

namespace corvale {

class ArticleHistory;
class Shop;
class TableGrid;

// "STORICO ARTICOLO": every movement of one article in the document lines,
// purchases or sales in a period, with the average price of the side shown
// and the total quantity of the lines in view. Modal; the article archive sets
// the article before showing it.
class TFStorico : public QDialog {
    Q_OBJECT
public:
    explicit TFStorico(Shop &shop, QWidget *parent = nullptr);
    ~TFStorico() override;

    void setArticle(qint64 key, const QString &code, const QString &description);

    ArticleHistory &history() { return *m_history; }
    TableGrid &grid() { return *m_grid; }

protected:
    void showEvent(QShowEvent *event) override;
    // Leaving closes the work tables.
    void done(int result) override;

private:
    void FormActivate();
    void applyView();

    Shop &m_shop;
    std::unique_ptr<ArticleHistory> m_history;
    qint64 m_article = 0;
    bool m_busy = true;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_description = nullptr;
    QLineEdit *m_average = nullptr;
    QComboBox *m_side = nullptr;
    QComboBox *m_period = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    TableGrid *m_grid = nullptr;
    QLabel *m_total = nullptr;
};

} // namespace corvale

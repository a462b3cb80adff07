#pragma once

#include "catalogue/Campaign.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace corvale {

class Shop;

// "SALDI E PROMOZIONI": the shop's campaigns. Each one has a name, a first
// and a last day, the articles it covers (a category, a brand, a supplier, a
// size type, a season, or articles by code) and a percentage off their list
// price or a fixed price. Saving refuses a campaign that would share a day
// with another on one article, and reports before it starts the articles
// whose announced percentage is not the one reckoned against their lowest
// price of the 30 days before.
class TFSaldi : public QDialog {
    Q_OBJECT
public:
    explicit TFSaldi(Shop &shop, QWidget *parent = nullptr);
    ~TFSaldi() override;

    // Prints the labels of the campaign's articles at its prices: handed the
    // campaign's first day once the label list is filled.
    void setLabelWindow(std::function<void(QDate)> window) { m_labels = std::move(window); }
    // "Dall'archivio": the filter of the article archive, whose listed
    // articles become the campaign's list.
    void setArchiveFilter(std::function<QString()> filter) { m_archiveFilter = std::move(filter); }
    // "Venduto per stagione": the sell-through report.
    void setReportWindow(std::function<void()> window) { m_report = std::move(window); }

    // The campaign as the boxes describe it.
    Campaign campaign() const;
    void BNuovoClick();
    void BSalvaClick();
    void BEliminaClick();
    void BAnteprimaClick();
    void BEtichetteClick();
    void BDallArchivioClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void reload();
    void showCampaign(const Campaign &campaign);
    void rowChosen();
    void fillChoices();
    // Article keys of the codes typed in "Articoli"; the codes not found.
    QSet<qint64> typedArticles(QStringList *unknown = nullptr) const;

    Shop &m_shop;
    QList<Campaign> m_campaigns;
    qint64 m_key = 0;
    QTableWidget *m_list;
    QLineEdit *m_name;
    QDateEdit *m_first;
    QDateEdit *m_last;
    QComboBox *m_kind;
    QComboBox *m_value;
    QComboBox *m_year;
    QLineEdit *m_codes;
    QLineEdit *m_percent;
    QLineEdit *m_price;
    QPushButton *m_labelsButton = nullptr;
    std::function<void(QDate)> m_labels;
    std::function<void()> m_report;
    std::function<QString()> m_archiveFilter;
};

} // namespace corvale

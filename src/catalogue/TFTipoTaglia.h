#pragma once

#include <QDialog>
#include <QList>

#include <memory>

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace corvale {

class Shop;

namespace db {
class Table;
}

// The size-type card "Taglia": a name and twenty size labels. The caller sets
// SizeTypeKey (0 = new) and shows the card modally; afterwards SizeTypeKey is
// the number saved (0 when cancelled) and SizeTypeName its name.
class TFTipoTaglia : public QDialog {
    Q_OBJECT
public:
    explicit TFTipoTaglia(Shop &shop, QWidget *parent = nullptr);
    ~TFTipoTaglia() override;

    qint64 SizeTypeKey = 0;
    QString SizeTypeName;

    void BSalvaClick();
    void BAnnullaClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void updateSaveEnabled();

    Shop &m_shop;
    std::unique_ptr<db::Table> m_table;
    bool m_new = true;
    QLineEdit *m_name;
    QList<QLineEdit *> m_labels;
    // The core sizes (positions, 0 = not chosen).
    QSpinBox *m_coreFrom;
    QSpinBox *m_coreTo;
    QPushButton *m_save;
};

} // namespace corvale

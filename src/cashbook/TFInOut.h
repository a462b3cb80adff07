#pragma once

#include "cashbook/BookMovements.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace corvale {

class Shop;
class TitleBand;

// The entry of one movement: date, amount and description under the title the
// caller gives ("Nuova Entrata", "Nuova Uscita"). An empty description after
// closing means the entry was cancelled.
class TFInOut : public QDialog {
    Q_OBJECT
public:
    explicit TFInOut(Shop &shop, QWidget *parent = nullptr);

    void setTitle(const QString &title);
    // The values shown at the next activation: a movement to change. Without
    // it the dialog opens on today, 0 and no description.
    void presetEntry(const BookMovements::Entry &entry);

    // The fields as the dialog closed.
    BookMovements::Entry entry() const;

    void BSalvaClick();
    void BAnnullaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void descriptionChanged();

    Shop &m_shop;
    TitleBand *m_band;
    QLineEdit *m_date;
    QLineEdit *m_amount;
    QLineEdit *m_description;
    QPushButton *m_save;
    std::optional<BookMovements::Entry> m_preset;
};

} // namespace corvale

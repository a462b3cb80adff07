#pragma once

#include "documents/SizeEntry.h"

#include <QFrame>
#include <QList>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvale {

class LookupCombo;

namespace db {
class Database;
class Table;
} // namespace db

// The size panel over a document grid: the chosen article's brand, typology,
// size type and material, a colour drop-down with "Nuovo", a quantity box
// under each size label (positions without a label are hidden) and "Carica" /
// "Annulla". A row of values beside the boxes (stock, in the counter sale) is
// shown only when a window gives one; the entry never reads it.
class SizePanel : public QFrame {
    Q_OBJECT
public:
    SizePanel(db::Database &database, QWidget *parent = nullptr);
    ~SizePanel() override;

    // Caption of the size type's name: "TIPO TAGLIA" or "TARGET".
    void setSizeTypeCaption(const QString &caption);
    // Opens COLORI; closeTables() closes it.
    void openTables();
    void closeTables();

    // Prepares the panel for an article: labels, quantities at 0, no colour.
    void begin(const QString &sizeTypeName, const QStringList &labels, const QString &brand,
               const QString &typology, const QString &material);
    // Values shown beside the quantity boxes (empty list hides them).
    void setCellValues(const QStringList &values);

    // Reads the boxes into the entry and gives it.
    const SizeEntry &entry();
    // Refills the colour list and selects `number` (0: none).
    void reloadColours(qint64 number = 0);

    QLineEdit *quantityBox(int position) const { return m_boxes[position - 1]; }
    // "Curva": offered where a window fills the quantities from a size curve.
    void offerCurve(bool on);
    // Writes the quantities of the labelled positions (0 leaves a box empty).
    void setQuantities(const std::array<qint64, SizeEntry::positions> &quantities);
    LookupCombo *colourBox() const { return m_colour; }

Q_SIGNALS:
    void loadClicked();
    void cancelClicked();
    void newColourClicked();
    void curveClicked();

private:
    void colourChanged();

    std::unique_ptr<db::Table> m_colours;
    SizeEntry m_entry;
    QLabel *m_brand;
    QLabel *m_typology;
    QLabel *m_sizeTypeCaption;
    QLabel *m_sizeType;
    QLabel *m_material;
    LookupCombo *m_colour;
    QPushButton *m_load;
    QPushButton *m_curve;
    QList<QLabel *> m_labels;
    QList<QLineEdit *> m_boxes;
    QList<QLabel *> m_values;
};

} // namespace corvale

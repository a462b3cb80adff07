#pragma once

#include <QDialog>

class QLabel;

namespace corvale {

class Shop;

// "Info su CORVALE QUIRA": who made the program and whose shop it runs.
class TFAboutr : public QDialog {
    Q_OBJECT
public:
    explicit TFAboutr(Shop &shop, QWidget *parent = nullptr);

    // Takes the shop's two name lines as they are now.
    void refresh();

private:
    Shop &m_shop;
    QLabel *m_name1;
    QLabel *m_name2;
};

} // namespace corvale

#pragma once

#include <QObject>

namespace corvale {

class Shop;

// The data module: created after the main window, it brings the data folder
// to the latest layout with the second upgrade list. No window opens a table
// before it exists.
class TFData : public QObject {
    Q_OBJECT
public:
    explicit TFData(Shop &shop, QObject *parent = nullptr);

    bool upgraded() const { return m_upgraded; }

private:
    bool m_upgraded = false;
};

} // namespace corvale

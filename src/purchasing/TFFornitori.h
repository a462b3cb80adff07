#pragma once

#include "purchasing/ContactArchiveFrame.h"

#include <memory>

class QLineEdit;

namespace corvale {

// "ARCHIVIO FORNITORI": the suppliers by name, searched by the start of the
// name, with the selected supplier's details; suppliers are added and edited
// through the contact card and deleted here. A borderless window its opener
// places in the main window's central panel.
class TFFornitori : public ContactArchiveFrame {
    Q_OBJECT
public:
    explicit TFFornitori(Shop &shop, QWidget *parent = nullptr);
    ~TFFornitori() override;

    void BEliminaClick() override;

protected:
    db::Table &listTable() override { return *m_table; }
    bool listOpen() const override;
    bool onContact() const override;
    void activate() override;
    void closeList() override;

private:
    void searchChanged(const QString &text);

    std::unique_ptr<db::Table> m_table;
    QLineEdit *m_search;
};

} // namespace corvale

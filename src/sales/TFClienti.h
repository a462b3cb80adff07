#pragma once

#include "purchasing/ContactArchiveFrame.h"

#include <memory>

class QLineEdit;

namespace corvale {

class CustomerList;

// "ARCHIVIO CLIENTI": the customers by name with what each has bought and the
// points left, searched by the start of the name and by the card number, with
// the selected customer's details. Customers are added and edited through the
// contact card in customer mode, deleted here, and spend points through
// "Scala punti". Shown modally by the archive hub.
class TFClienti : public ContactArchiveFrame {
    Q_OBJECT
public:
    explicit TFClienti(Shop &shop, QWidget *parent = nullptr);
    ~TFClienti() override;

    CustomerList &list() { return *m_list; }

    void BEliminaClick() override;
    void BScalaClick();

protected:
    db::Table &listTable() override;
    bool listOpen() const override;
    bool onContact() const override;
    void activate() override;
    void closeList() override;

private:
    void searchChanged();

    std::unique_ptr<CustomerList> m_list;
    QLineEdit *m_nameSearch;
    QLineEdit *m_cardSearch;
};

} // namespace corvale

#pragma once

#include "purchasing/SupplierArchiveFrame.h"

#include <QPointer>

namespace corvale {

class TFReso;

// "ARCHIVIO RESI FORNITORE": the returns to suppliers of a period with their
// lines; a new or stored return opens in the return window over this one, and
// deleting a return puts its goods back into the stock.
class TFArcResi : public SupplierArchiveFrame {
    Q_OBJECT
public:
    explicit TFArcResi(Shop &shop, QWidget *parent = nullptr);
    ~TFArcResi() override;

    // The return window opened last, while it exists.
    TFReso *documentWindow() const;

    void BNuovoClick() override;
    void BModificaClick() override;
    void BEliminaClick() override;

protected:
    TFArcResi(Shop &shop, Setup setup, QWidget *parent);
    // Opens the document window (one at a time) for a new document (key 0)
    // or a stored one.
    void openDocument(qint64 key);
    // The question before deleting.
    virtual QString deleteQuestion() const;

private:
    QPointer<TFReso> m_document;
};

} // namespace corvale

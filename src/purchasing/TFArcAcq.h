#pragma once

#include "purchasing/SupplierArchiveFrame.h"

#include <QPointer>

#include <functional>

namespace corvale {

class TFCarico;

// "ARCHIVIO ACQUISTI": the goods receipts of a period with their lines, the
// search of the receipts holding an article code, and the doors to a new or
// stored receipt (opened in the same panel as this window), to deleting one
// and to the printed list.
class TFArcAcq : public SupplierArchiveFrame {
    Q_OBJECT
public:
    explicit TFArcAcq(Shop &shop, QWidget *parent = nullptr);
    ~TFArcAcq() override;

    // The receipt window opened last, while it exists.
    TFCarico *receiptWindow() const;
    // Opens the receipt `key` (0: a new one) in this archive's panel, telling
    // `opener` (this archive when none) when it closes. There is one receipt
    // window at a time, whoever opens it: the previous one goes.
    void openReceipt(qint64 key, OpenerWindow *opener = nullptr);
    // The label window every receipt opened from here shows on "Etichette".
    void setLabelWindow(std::function<void()> window) { m_labels = std::move(window); }

    void BNuovoClick() override;
    void BModificaClick() override;
    void BEliminaClick() override;
    void BCercaClick();
    void BPagamentiClick();

protected:
    void opening() override;

private:
    QPointer<TFCarico> m_receipt;
    std::function<void()> m_labels;
};

} // namespace corvale

#include "sales/TFNotaCredito.h"

#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "shell/Shop.h"
#include "widgets/TitleBand.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace corvale {

namespace {

enum Column { Article, Colour, Size, Invoiced, Returned, ToReturn };

QString quantityText(double q) {
    return Formats::display(u"#", q);
}

} // namespace

TFNotaCredito::TFNotaCredito(Shop &shop, qint64 invoiceKey, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_invoice(invoiceKey) {
    setObjectName(QStringLiteral("TFNotaCredito"));
    setWindowTitle(QStringLiteral("Nota di credito"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    auto *band = new TitleBand(QStringLiteral("NOTA DI CREDITO"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);
    layout->addWidget(new QLabel(
        QStringLiteral("Indicare per ogni riga i pezzi resi; la merce resa torna in magazzino."),
        this));
    m_grid = new QTableWidget(0, 6, this);
    m_grid->setObjectName(QStringLiteral("Righe"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Articolo"), QStringLiteral("Colore"),
                                       QStringLiteral("Taglia"), QStringLiteral("Q.tà"),
                                       QStringLiteral("Già resa"), QStringLiteral("Da rendere")});
    m_grid->horizontalHeader()->setSectionResizeMode(Article, QHeaderView::Stretch);
    layout->addWidget(m_grid, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *save = new QPushButton(QStringLiteral("Salva"), this);
    save->setObjectName(QStringLiteral("BSalva"));
    auto *cancel = new QPushButton(QStringLiteral("Annulla"), this);
    cancel->setObjectName(QStringLiteral("BAnnulla"));
    save->setAutoDefault(false);
    cancel->setAutoDefault(false);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    buttons->addSpacing(8);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &TFNotaCredito::BSalvaClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(640, 360);
}

TFNotaCredito::~TFNotaCredito() = default;

bool TFNotaCredito::prepare() {
    if (!runReportingEngineErrors(m_shop.prompter(),
                                  [&] { m_lines = CreditNote::linesOf(m_shop, m_invoice); }))
        return false;
    bool any = false;
    m_grid->setRowCount(int(m_lines.size()));
    for (int r = 0; r < m_lines.size(); ++r) {
        const CreditNote::InvoiceLine &line = m_lines[r];
        auto item = [&](int column, const QString &text, bool editable = false) {
            auto *i = new QTableWidgetItem(text);
            if (!editable)
                i->setFlags(i->flags() & ~Qt::ItemIsEditable);
            if (column >= Invoiced)
                i->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(r, column, i);
        };
        item(Article, line.row.text(sheet::DESCRIZION));
        item(Colour, line.row.text(sheet::COLORE));
        item(Size, line.row.text(sheet::CTAGLIA));
        item(Invoiced, quantityText(line.row.number(sheet::QUANTITA)));
        item(Returned, quantityText(line.returned));
        const double left = std::max(0.0, line.returnable());
        item(ToReturn, quantityText(left), true);
        any = any || left > 0;
    }
    if (!any) {
        m_shop.prompter().error(QStringLiteral("Non c'è merce da rendere per questa fattura."));
        return false;
    }
    return true;
}

void TFNotaCredito::BSalvaClick() {
    QList<double> quantities;
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        const QString text = m_grid->item(r, ToReturn)->text().trimmed();
        const auto q = text.isEmpty() ? std::optional<double>(0) : Formats::parseNumber(text);
        if (!q) {
            m_shop.prompter().error(
                QStringLiteral("Riga %1: la quantità da rendere non è un numero.").arg(r + 1));
            return;
        }
        quantities << *q;
    }
    QString refusal;
    qint64 key = 0;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            key = CreditNote::create(m_shop, m_invoice, quantities, &refusal);
        }))
        return;
    if (key == 0) {
        m_shop.prompter().error(refusal);
        return;
    }
    CreatedKey = key;
    accept();
}

} // namespace corvale

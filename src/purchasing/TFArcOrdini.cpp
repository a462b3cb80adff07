#include "purchasing/TFArcOrdini.h"

#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "purchasing/OrderLoader.h"
#include "shell/Shop.h"

#include <QPushButton>

namespace corvale {

namespace {

SupplierArchiveFrame::Setup ordersArchive() {
    SupplierArchiveFrame::Setup s{QStringLiteral("ARCHIVIO ORDINI FORNITORE"),
                          QStringLiteral("DETTAGLIO ORDINE"), doc::NUMDOC, QStringLiteral("ORDINI"),
                          DocumentKind::supplierOrder()};
    s.numberCaption = QStringLiteral("Numero");
    s.articleCaption = QStringLiteral("Descrizione");
    return s;
}

} // namespace

TFArcOrdini::TFArcOrdini(Shop &shop, QWidget *parent)
    : TFArcResi(shop, ordersArchive(), parent) {
    setObjectName(QStringLiteral("TFArcOrdini"));
    setWindowTitle(QStringLiteral("Archivio Ordini Fornitore"));
    connect(addButton(QStringLiteral("Carica")), &QPushButton::clicked, this,
            &TFArcOrdini::BCaricaClick);
}

QString TFArcOrdini::deleteQuestion() const {
    return QStringLiteral("Eliminare l'Ordine selezionato?");
}

void TFArcOrdini::BCaricaClick() {
    const qint64 key = selectedKey();
    if (key == 0)
        return;
    if (!shop().prompter().confirm(QStringLiteral("Caricare l'Ordine in magazzino?")))
        return;
    OrderLoader::Result result;
    const bool done = runReportingEngineErrors(shop().prompter(), [&] {
        OrderLoader loader(shop().database(), shop().routines(), shop().clock().today());
        result = loader.load(key);
    });
    if (!done)
        return;
    if (result.outcome == OrderLoader::Outcome::AlreadyLoaded)
        shop().prompter().error(
            QStringLiteral("L'Ordine è già stato caricato in magazzino!\rPer caricarlo di "
                           "nuovo elimina prima il suo carico dall'archivio acquisti."));
    else if (result.outcome == OrderLoader::Outcome::NotFound)
        shop().prompter().error(QStringLiteral("Ordine non trovato!"));
    refreshList();
}

} // namespace corvale

#include "labels/LabelPrinting.h"

#include "labels/CampaignLabels.h"
#include "labels/LabelList.h"
#include "labels/SheetPlacement.h"
#include "printing/PrintService.h"
#include "shell/Shop.h"

namespace corvale {

const QString LabelPrinting::noLabelsMessage =
    QStringLiteral("Devi specificare il numero di etichette\r(prima colonna a destra)");
const QString LabelPrinting::jobTitle = QStringLiteral("Etichette");

LabelPrinting::LabelPrinting(Shop &shop)
    : m_shop(shop) {}

LabelPrinting::Outcome LabelPrinting::print(db::Table &list, const LabelOptions &options,
                                            const LabelLayout &requested,
                                            LabelPrintout::BarcodeDraw barcode) {
    Prompter &prompter = m_shop.prompter();
    QList<LabelRow> rows = LabelList::read(list);
    if (LabelList::total(rows) == 0) {
        prompter.error(noLabelsMessage);
        return Outcome::NoLabels;
    }
    CampaignLabels::apply(rows, m_shop.database(),
                          options.priceDay.isValid() ? options.priceDay : m_shop.clock().today());
    const LabelLayout layout = requested.clamped();
    int startRow = 0;
    int startColumn = 0;
    if (!options.labelPrinter) {
        const std::optional<QString> row =
            prompter.input(QStringLiteral("Riga di partenza"),
                           QStringLiteral("(1-%1)").arg(layout.rows), QStringLiteral("1"));
        if (!row)
            return Outcome::Cancelled;
        startRow = SheetPlacement::startIndex(*row, layout.rows);
        const std::optional<QString> column =
            prompter.input(QStringLiteral("Colonna di partenza"),
                           QStringLiteral("(1-%1)").arg(layout.columns), QStringLiteral("1"));
        if (!column)
            return Outcome::Cancelled;
        startColumn = SheetPlacement::startIndex(*column, layout.columns);
        // The sheet still prints: the layout is on screen and only its memory failed.
        if (!layout.write(m_shop.ini()))
            prompter.warning(
                QStringLiteral("Impossibile salvare il formato del foglio in Dati.ini:\r%1")
                    .arg(m_shop.ini().errorString()));
    }
    LabelPrintout printout(std::move(rows), options, layout, startRow, startColumn);
    if (barcode)
        printout.setBarcodeDraw(std::move(barcode));
    PrintService &service = m_shop.printService();
    if (service.print(jobTitle, [printout](PageCanvas &canvas) { printout.draw(canvas); }))
        return Outcome::Printed;
    if (!service.errorText().isEmpty())
        prompter.error(service.errorText());
    return Outcome::NotPrinted;
}

} // namespace corvale

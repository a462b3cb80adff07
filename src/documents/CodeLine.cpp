#include "documents/CodeLine.h"

#include "db/Table.h"
#include "documents/CodeDecoder.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"

namespace corvale {

namespace {

QString refusal(const DecodedCode &decoded) {
    if (const auto *unknown = std::get_if<UnknownCode>(&decoded)) {
        switch (unknown->reason) {
        case UnknownCode::Reason::SizeOutOfRange:
            return CodeDecoder::sizeMissingText;
        case UnknownCode::Reason::WrongCheckDigit:
            return CodeDecoder::checkDigitText;
        case UnknownCode::Reason::Empty:
        case UnknownCode::Reason::NoArticle:
            break;
        }
    }
    // A voucher sells nothing here either.
    return CodeDecoder::articleMissingText;
}

} // namespace

std::optional<QString> takeCodeLine(db::Database &database, LineSheet &sheet, const QString &code,
                                    qint64 *article) {
    CodeDecoder decoder(database);
    const DecodedCode decoded = decoder.decode(code, CodeDecoder::Search::ArticleCodes);
    const auto *line = std::get_if<CodedLine>(&decoded);
    if (!line)
        return refusal(decoded);

    db::Table &row = sheet.table();
    const bool suspended = sheet.TotalsSuspended;
    sheet.TotalsSuspended = true;
    sheet.takeArticle(decoder.article());
    // A colour or size label the code does not give stays empty rather than
    // keeping what the row held before.
    row.setString(sheet::BARCODE, line->code.text);
    row.setInteger(sheet::TAGLIA, line->code.position);
    row.setString(sheet::COLORE, line->colour);
    row.setString(sheet::CTAGLIA, line->sizeLabel);
    row.post();
    row.next();
    if (row.eof())
        sheet.appendBlankRows(1);
    sheet.TotalsSuspended = suspended;
    if (article)
        *article = line->article;
    return std::nullopt;
}

} // namespace corvale

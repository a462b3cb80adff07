#include "sales/SaleCodeLookup.h"

namespace corvale {

SaleCodeLookup::SaleCodeLookup(db::Database &database)
    : m_decoder(database) {}

SaleCodeLookup::Result SaleCodeLookup::find(const QString &code) {
    Result out;
    const DecodedCode decoded = m_decoder.decode(code, CodeDecoder::Search::ArticleAndExtraCodes);
    if (const auto *coded = std::get_if<CodedLine>(&decoded)) {
        if (coded->colourToChoose) {
            out.kind = Result::Kind::ChooseSize;
            out.article = coded->article;
            return out;
        }
        out.kind = Result::Kind::Line;
        out.line = SaleLine::ofArticle(m_decoder.article());
        out.line.barcode = coded->code.text;
        out.line.colour = coded->colour;
        out.line.position = coded->code.position;
        out.line.sizeLabel = coded->sizeLabel;
    } else if (const auto *extra = std::get_if<ExtraCode>(&decoded)) {
        out.kind = Result::Kind::ChooseSize;
        out.article = extra->article;
    } else if (const auto *unknown = std::get_if<UnknownCode>(&decoded)) {
        // A size outside the twenty says no more at the counter than an
        // unknown article; a failed check digit asks for the code again.
        if (unknown->reason == UnknownCode::Reason::WrongCheckDigit)
            out.refusal = CodeDecoder::checkDigitText;
    }
    // A voucher is spent in the payment, not sold as a line.
    return out;
}

} // namespace corvale

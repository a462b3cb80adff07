#include "documents/TypedCode.h"

#include "catalogue/ArticleColumns.h"
#include "shell/CommonRoutines.h"

namespace corvale {

namespace {

// Characters `from` (0-based) .. from + 2 as a number less 100; `otherwise`
// when they are missing or not a number.
qint64 codePart(const QString &code, int from, qint64 otherwise) {
    bool ok = false;
    const qint64 value = code.mid(from, 3).toLongLong(&ok);
    return ok ? value - 100 : otherwise;
}

bool allDigits(const QString &text) {
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

TypedCode TypedCode::read(const QString &code) {
    TypedCode out;
    out.text = code.trimmed();
    out.article = out.text.left(6);
    out.colourNumber = codePart(out.text, 6, 0);
    out.position = int(codePart(out.text, 9, 1));
    out.wrongCheckDigit =
        out.isThirteenDigits() && CommonRoutines::EanCheckDigit(out.text.left(12)) != out.text;
    return out;
}

bool TypedCode::isThirteenDigits() const {
    return text.size() == 13 && allDigits(text);
}

bool TypedCode::positionInRange() const {
    return position >= 1 && position <= articleColumns::sizeCount;
}

} // namespace corvale

#include "printing/CanvasFonts.h"

#include <QFontMetricsF>
#include <QHash>
#include <QMutex>
#include <cmath>

namespace corvale {

namespace {

const QString metricArial = QStringLiteral("Liberation Sans");

QFont baseFont(const CanvasFont &font) {
    QFont f(CanvasFonts::family(font.name));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

// Cell height of the face per pixel of em, measured once per face and style.
double cellRatio(const CanvasFont &font) {
    static QMutex mutex;
    static QHash<QString, double> ratios;
    const QString key =
        CanvasFonts::family(font.name) + (font.bold ? u'B' : u'-') + (font.italic ? u'I' : u'-');
    QMutexLocker lock(&mutex);
    auto it = ratios.constFind(key);
    if (it != ratios.constEnd())
        return *it;
    QFont f = baseFont(font);
    f.setPixelSize(1000);
    const double ratio = QFontMetricsF(f).height() / 1000.0;
    ratios.insert(key, ratio > 0 ? ratio : 1.0);
    return ratios.value(key);
}

} // namespace

QString CanvasFonts::family(const QString &name) {
    const QString n = name.trimmed();
    if (n.isEmpty() || n.compare(u"Arial", Qt::CaseInsensitive) == 0 ||
        n.compare(u"Ariel", Qt::CaseInsensitive) == 0 ||
        n.compare(u"MS Sans Serif", Qt::CaseInsensitive) == 0)
        return metricArial;
    return n;
}

int CanvasFonts::pixelSize(const CanvasFont &font, int dpi) {
    int px;
    if (font.height > 0)
        px = int(std::lround(font.height / cellRatio(font)));
    else
        px = int(std::lround(font.size * dpi / 72.0));
    return px < 1 ? 1 : px;
}

QFont CanvasFonts::toQFont(const CanvasFont &font, int dpi) {
    installSubstitutions();
    QFont f = baseFont(font);
    f.setPixelSize(pixelSize(font, dpi));
    return f;
}

void CanvasFonts::installSubstitutions() {
    static const bool done = [] {
        QFont::insertSubstitution(QStringLiteral("Arial"), metricArial);
        QFont::insertSubstitution(QStringLiteral("Ariel"), metricArial);
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), metricArial);
        return true;
    }();
    (void)done;
}

} // namespace corvale

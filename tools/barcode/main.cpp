// corvale-barcode: draws one symbol with the barcode control onto an image,
// to print a test code or to feed a decoder.
#include "BarcodeImage.h"

#include "labels/TPrintBarcode.h"

#include <QApplication>
#include <QTextStream>

using namespace corvale;

namespace {

int usage(const QString &why) {
    QTextStream err(stderr);
    if (!why.isEmpty())
        err << why << '\n';
    err << "uso: corvale-barcode TIPO TESTO USCITA.png [--dpi N] [--width W] [--height H]"
           " [--magnification M] [--fixed]\n"
           "TIPO: Code39 Interleaved2Of5 Code128 PostNet PostnetZip PostNetZipPlus4"
           " Postnet11 EAN EAN8 EAN13 ITF14 FIMA FIMB FIMC EAN128\n";
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);

    QStringList positional;
    int dpi = 300;
    int width = -1;
    int height = -1;
    double magnification = 1.0;
    bool fixed = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto number = [&](auto &target) {
            if (i + 1 >= args.size())
                return false;
            bool ok = false;
            const double v = args[++i].toDouble(&ok);
            // Bounds keep the picture to a size an image can hold.
            if (!ok || v <= 0 || v > 20000)
                return false;
            target = static_cast<std::remove_reference_t<decltype(target)>>(v);
            return true;
        };
        if (a == u"--dpi") {
            if (!number(dpi) || dpi < 5 || dpi > 2400)
                return usage(QStringLiteral("--dpi vuole un numero da 5 a 2400"));
        } else if (a == u"--width") {
            if (!number(width))
                return usage(QStringLiteral("--width vuole un numero da 1 a 20000"));
        } else if (a == u"--height") {
            if (!number(height))
                return usage(QStringLiteral("--height vuole un numero da 1 a 20000"));
        } else if (a == u"--magnification") {
            if (!number(magnification))
                return usage(QStringLiteral("--magnification vuole un numero da 0,2 a 4"));
        } else if (a == u"--fixed") {
            fixed = true;
        } else if (a.startsWith(u"--")) {
            return usage(QStringLiteral("opzione sconosciuta: ") + a);
        } else {
            positional.append(a);
        }
    }
    if (positional.size() != 3)
        return usage({});
    const std::optional<TBarCodeType> type = barCodeTypeFromName(positional[0]);
    if (!type)
        return usage(QStringLiteral("tipo sconosciuto: ") + positional[0]);

    TPrintBarcode control;
    control.setBarCodeType(*type);
    control.setAutoSizing(!fixed);
    control.setMagnification(magnification);
    control.setText(positional[1]);
    control.resize(width > 0 ? width : control.width(), height > 0 ? height : control.height());

    const QImage image = barcodeImage(control, dpi);
    if (image.isNull()) {
        QTextStream(stderr) << "il codice non entra nello spazio dato o il testo non è valido\n";
        return 1;
    }
    if (!image.save(positional[2], "PNG")) {
        QTextStream(stderr) << "impossibile scrivere " << positional[2] << '\n';
        return 1;
    }
    return 0;
}

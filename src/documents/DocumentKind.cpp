#include "documents/DocumentKind.h"

namespace corvale {

namespace {

DocumentKind purchase(const char *header, const char *lines, DocumentKind::Stock stock) {
    DocumentKind k;
    k.headerTable = QString::fromLatin1(header);
    k.lineTable = QString::fromLatin1(lines);
    k.lineKey = QStringLiteral("NUMCAR");
    k.counter = QStringLiteral("ACQUISTI");
    k.stock = stock;
    k.lines = DocumentKind::Lines::Purchase;
    k.purchasePrice = true;
    return k;
}

DocumentKind sale(const char *header) {
    DocumentKind k;
    k.headerTable = QString::fromLatin1(header);
    k.lineTable = QStringLiteral("ARCART_V");
    k.lineKey = QStringLiteral("NUMVEN");
    k.counter = QStringLiteral("VENDITE");
    k.stock = DocumentKind::Stock::Subtract;
    k.lines = DocumentKind::Lines::Sale;
    k.purchasePrice = false;
    return k;
}

} // namespace

DocumentKind DocumentKind::receipt() {
    DocumentKind k = purchase("CARICHI", "ARCART_A", Stock::Add);
    k.keepsSaleDiscount = true;
    return k;
}

DocumentKind DocumentKind::supplierReturn() {
    return purchase("RESI", "ARCART_R", Stock::Subtract);
}

DocumentKind DocumentKind::supplierOrder() {
    return purchase("ORDINI", "ARCART_O", Stock::None);
}

DocumentKind DocumentKind::counterSale() {
    return sale("VENDITE");
}

DocumentKind DocumentKind::invoice() {
    return sale("FATTURE");
}

} // namespace corvale

#pragma once

#include <QString>

namespace corvale {

// The shop's own texts, taken from its CONFIG record by LoadShopTexts and used
// by status bars, captions and printed headings.
struct ShopTexts {
    QString shopLine;         // RAGIONE + " " + RAGION2 + " " + CITTA
    QString shopCaptionLine;  // the shop line with its first "&" doubled
    QString nameLine1;        // RAGIONE
    QString nameLine2;        // RAGION2
    QString vatLine;          // "P.IVA " + PIVA
    QString phoneLine;        // "Tel " + TEL + " Fax " + FAX
    QString vatNumber;        // PIVA, for the main window's status bar
    double pointsPerEuro = 0; // EURO
    double vatPercent = 0;    // IMPOBOL
    QString privacyText;      // PRIVACY
    QString noteText;         // NEWANNOTA
};

} // namespace corvale

#pragma once

#include "catalogue/TFScheda.h"

namespace corvale {

class TFFornitore;

// The article card's "Inserisci un nuovo Fornitore" through the contact card:
// shows `card` for a new supplier and hands back what was saved.
TFScheda::SupplierCard supplierCardFor(TFFornitore &card);

} // namespace corvale

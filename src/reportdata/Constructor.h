#pragma once
// What the three builders share: the kinds of document, the years and the salesperson.
#include <QString>
#include <functional>
#include <optional>

#include "reportdata/Seleccion.h"

namespace reportdata {

struct RangoTipos {
    int primero;
    int ultimo;
};

// "Facturas" gives 0 to 0, "Remisiones" 1 to 1, "Ambas" 0 to 1; no selected kind is an error.
RangoTipos Tipos(const Seleccion& s);
// The lower-cased name of the document table of kind k.
QString Documento(const Seleccion& s, int k);
// The final year as a 16-bit integer, and the first (two years before).
int AñoFinal(const Seleccion& s);
int AñoInicial(const Seleccion& s);
// A salesperson was chosen: the box holds more than blanks.
bool HayVendedor(const Seleccion& s);
// A 16-bit year or fails as an overflow.
int Año16(double valor);

// The dates of the years primero to ultimo on a date column, as a range an index serves;
// empty when no date can fall in those years.
std::optional<QString> RangoDeAños(const QString& columna, int primero, int ultimo);

// Shows a progress message and waits until it is read.
using Aviso = std::function<void(const QString&)>;

}  // namespace reportdata

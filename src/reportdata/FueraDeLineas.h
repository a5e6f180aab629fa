#pragma once
// What the line report leaves out, in money, so that a reader can reconcile it with the others.
#include "reportdata/Resultado.h"
#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

namespace reportdata {

// The net sales, in the report's three years and for its kinds and salesperson, of the lines
// left without a slot (r.lineasSinLugar) and of the products without a line (none, or one that
// lineas lacks): r.ventasSinLugar and r.ventasSinLinea, for the row by row plan, on lectura (the
// session that reads the sales): one statement per document table and one for the returns. The
// grouped plan sums the same in its own pass, held equal to this by the plan comparison.
void VentasFueraDeLineas(const Seleccion& s, ado::Connection& lectura, Resultado& r);

}  // namespace reportdata

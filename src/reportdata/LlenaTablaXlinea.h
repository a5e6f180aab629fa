#pragma once
#include <QString>

#include "reportdata/Resultado.h"
#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

namespace reportdata {
// Up to twelve product lines into slots 0 to 11 of the captions, then three rows of their yearly
// net sales into an empty copy of ventasxlinea.
void LlenaTablaXlinea(const Seleccion& s, ado::Connection& conexion, const QString& cTabla,
                      Resultado& r);
}  // namespace reportdata

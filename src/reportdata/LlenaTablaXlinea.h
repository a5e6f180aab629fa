#pragma once
#include <QString>

#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

namespace reportdata {
// Up to twelve product lines into aEtiquetas, then three rows of their yearly net sales
// into an empty copy of ventasxlinea.
void LlenaTablaXlinea(const Seleccion& s, ado::Connection& conexion, const QString& cTabla);
}  // namespace reportdata

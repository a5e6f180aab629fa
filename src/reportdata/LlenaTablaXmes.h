#pragma once
#include <QString>

#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

namespace reportdata {
// Three rows of twelve months' net sales into an empty copy of ventasde3y.
void LlenaTablaXmes(const Seleccion& s, ado::Connection& conexion, const QString& cTabla);
}  // namespace reportdata

#pragma once
#include <QString>

#include "reportdata/Constructor.h"
#include "reportdata/Resultado.h"
#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

namespace reportdata {
// One row per salesperson with the net sales of three years into an empty copy of
// ventasde3yporvend; true when the table received a row. The three years go into slots 0 to 2
// of the captions whenever a row is added.
bool LlenaTablaXvend(const Seleccion& s, ado::Connection& conexion, const QString& cTabla,
                     const Aviso& avisa, Resultado& r);
}  // namespace reportdata

#pragma once
// The grouped plan: the same work tables as the builders of LlenaTablaX*.h, asked of the server
// in a handful of grouped statements over date ranges, whatever the number of months, lines,
// salespeople or returns.
#include <QString>

#include "reportdata/Constructor.h"
#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

namespace reportdata::agrupado {
void LlenaTablaXmes(const Seleccion& s, ado::Connection& conexion, const QString& cTabla);
void LlenaTablaXlinea(const Seleccion& s, ado::Connection& conexion, const QString& cTabla);
bool LlenaTablaXvend(const Seleccion& s, ado::Connection& conexion, const QString& cTabla,
                     const Aviso& avisa);
}  // namespace reportdata::agrupado
